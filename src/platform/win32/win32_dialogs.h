#pragma once

#include <windows.h>

#include <functional>

#include "platform/dialogs.h"

// The platform's message boxes and a small input box of our own, owned by
// the main window once it exists.
class Win32Dialogs : public Dialogs {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    // Runs before every box: the window behind it shows what the action has
    // done so far (the labels an install changed, behind its report).
    void SetBeforeShowing(std::function<void()> hook) { before_ = std::move(hook); }

    int Message(std::string_view text, std::string_view title, unsigned style) override;
    std::optional<std::string> Input(std::string_view prompt, std::string_view title) override;

private:
    HWND owner_ = nullptr;
    std::function<void()> before_;
};
