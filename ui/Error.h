// Errors that reach the user. A command that fails throws Error with the text
// the user is to read; the dispatch boundary (Application::Guard) shows it in
// the standard error box and the program goes on.
#pragma once

#include <exception>
#include <initializer_list>
#include <string>

namespace ui {

class Error : public std::exception {
public:
    explicit Error(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return "ui::Error"; }

private:
    std::wstring message_;
};

// Builds a message from a pattern whose %s markers take the arguments in turn,
// e.g. FormatMessageText(L"Unable to write to %s", {path}).
std::wstring FormatMessageText(const std::wstring& pattern, std::initializer_list<std::wstring> arguments);

// The system's text for a Win32 error code, without the trailing line break.
std::wstring SystemErrorText(unsigned long code);

// The text of the standard error box: the message with a full stop appended
// when its last character sorts after the full stop.
std::wstring ErrorBoxText(const std::wstring& message);

} // namespace ui
