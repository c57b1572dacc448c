#include "ui/Error.h"

#include <windows.h>

namespace ui {

std::wstring FormatMessageText(const std::wstring& pattern, std::initializer_list<std::wstring> arguments) {
    std::wstring text;
    size_t from = 0;
    for (const std::wstring& argument : arguments) {
        const size_t at = pattern.find(L"%s", from);
        if (at == std::wstring::npos) break;
        text.append(pattern, from, at - from).append(argument);
        from = at + 2;
    }
    return text.append(pattern, from, std::wstring::npos);
}

std::wstring SystemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer) text.assign(buffer, length);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) text = L"System error " + std::to_wstring(code);
    return text;
}

std::wstring ErrorBoxText(const std::wstring& message) {
    if (!message.empty() && message.back() > L'.') return message + L".";
    return message;
}

} // namespace ui
