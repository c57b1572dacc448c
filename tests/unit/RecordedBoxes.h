// Message and error boxes recorded instead of shown, for tests of windows
// that report to the user: the texts are kept, every message box is answered OK.
#pragma once

#include "ui/Application.h"

#include <string>
#include <vector>

struct RecordedBoxes {
    RecordedBoxes() {
        ui::App().MessageHandler = [this](const std::wstring& text, UINT) {
            messages.push_back(text);
            return IDOK;
        };
        ui::App().ErrorHandler = [this](const std::wstring& text) { errors.push_back(text); };
    }
    ~RecordedBoxes() {
        ui::App().MessageHandler = nullptr;
        ui::App().ErrorHandler = nullptr;
    }
    RecordedBoxes(const RecordedBoxes&) = delete;
    RecordedBoxes& operator=(const RecordedBoxes&) = delete;

    std::vector<std::wstring> messages;
    std::vector<std::wstring> errors;
};
