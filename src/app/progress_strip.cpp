#include "app/progress_strip.h"

#include <commctrl.h>

#include <string>

#include "app/common_controls.h"
#include "platform/win32/wide_text.h"

namespace {

constexpr wchar_t kStripClass[] = L"CantarelPortableProgress";
constexpr int kHeight = 58;
constexpr int kButtonWidth = 84;
constexpr int kCancelId = 1;

}  // namespace

ProgressStrip::ProgressStrip(HINSTANCE instance, std::function<void()> onCancel)
    : instance_(instance), onCancel_(std::move(onCancel)) {}

ProgressStrip::~ProgressStrip() {
    if (strip_ != nullptr && IsWindow(strip_)) DestroyWindow(strip_);
}

void ProgressStrip::Create(HWND main, HFONT font) {
    LoadCommonControls();
    WNDCLASSEXW stripClass{sizeof(stripClass)};
    stripClass.lpfnWndProc = Proc;
    stripClass.hInstance = instance_;
    stripClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    stripClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    stripClass.lpszClassName = kStripClass;
    RegisterClassExW(&stripClass);
    strip_ = CreateWindowExW(0, kStripClass, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, kHeight, main, nullptr,
                             instance_, nullptr);
    SetWindowLongPtrW(strip_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    progress_ = CreateWindowExW(0, PROGRESS_CLASSW, L"Progression", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 0, 0, 0, 0,
                                strip_, nullptr, instance_, nullptr);
    SendMessageW(progress_, PBM_SETRANGE32, 0, 1000);
    text_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, strip_,
                            nullptr, instance_, nullptr);
    button_ = CreateWindowExW(0, L"BUTTON", L"Annuler", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0, strip_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelId)), instance_, nullptr);
    for (HWND child : {text_, button_}) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void ProgressStrip::Show(HWND main, RECT above, const ProgressFigures& figures, HFONT font) {
    if (strip_ == nullptr) Create(main, font);
    const int width = above.right - above.left;
    if (!IsWindowVisible(strip_)) {
        cancelling_ = false;
        shownText_.clear();
        shownPermille_ = -1;
        EnableWindow(button_, TRUE);
        // The children are placed first: the strip then paints them whole as it appears.
        MoveWindow(progress_, 10, 10, width - kButtonWidth - 30, 16, FALSE);
        MoveWindow(button_, width - kButtonWidth - 10, 6, kButtonWidth, 24, FALSE);
        MoveWindow(text_, 10, 34, width - 20, 18, FALSE);
        SetWindowPos(strip_, HWND_TOP, above.left, above.bottom, width, kHeight, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        RedrawWindow(strip_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    const int permille = ProgressPermille(figures);
    if (permille != shownPermille_) {
        SendMessageW(progress_, PBM_SETPOS, permille, 0);
        shownPermille_ = permille;
    }
    const std::wstring text = cancelling_ ? L"Arrêt en cours…" : Widen(ProgressText(figures));
    if (text != shownText_) {
        SetWindowTextW(text_, text.c_str());
        shownText_ = text;
    }
}

void ProgressStrip::Hide() {
    if (strip_ != nullptr) ShowWindow(strip_, SW_HIDE);
}

LRESULT CALLBACK ProgressStrip::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* strip = reinterpret_cast<ProgressStrip*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_CTLCOLORSTATIC: {
            // White on the bar's black.
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(255, 255, 255));
            SetBkColor(dc, RGB(0, 0, 0));
            return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
        }
        case WM_COMMAND:
            if (strip != nullptr && LOWORD(wParam) == kCancelId && HIWORD(wParam) == BN_CLICKED) {
                strip->cancelling_ = true;
                EnableWindow(strip->button_, FALSE);
                SetWindowTextW(strip->text_, L"Arrêt en cours…");
                strip->shownText_ = L"Arrêt en cours…";
                if (strip->onCancel_) strip->onCancel_();
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}
