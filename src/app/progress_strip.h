#pragma once

#include <windows.h>

#include <functional>

#include "window/progress_text.h"

// The strip under the waiting bar while a long action runs: the standard
// progress control (which screen readers announce), the figures in French and
// an "Annuler" button.
class ProgressStrip {
public:
    ProgressStrip(HINSTANCE instance, std::function<void()> onCancel);
    ~ProgressStrip();
    ProgressStrip(const ProgressStrip&) = delete;
    ProgressStrip& operator=(const ProgressStrip&) = delete;

    // Shows the strip in `main` under `above` (a rectangle in its client
    // area), with `figures`.
    void Show(HWND main, RECT above, const ProgressFigures& figures, HFONT font);
    void Hide();
    HWND Handle() const { return strip_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Create(HWND main, HFONT font);

    HINSTANCE instance_;
    std::function<void()> onCancel_;
    HWND strip_ = nullptr;
    HWND progress_ = nullptr;
    HWND text_ = nullptr;
    HWND button_ = nullptr;
    std::wstring shownText_;
    int shownPermille_ = -1;
    bool cancelling_ = false;
};
