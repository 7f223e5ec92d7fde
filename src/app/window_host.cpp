#include "app/window_host.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <utility>

#include "app/common_controls.h"
#include "app/resource_ids.h"
#include "app/startup_trace.h"
#include "config/build_settings.h"
#include "platform/win32/wide_text.h"
#include "window/bounded_text.h"
#include "window/startup.h"
#include "window/window_layout.h"

namespace {

constexpr wchar_t kMainClass[] = L"CantarelPortableWindow";
constexpr wchar_t kControlClass[] = L"CantarelPortableControl";
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLabelText = RGB(24, 52, 102);
constexpr COLORREF kDisabledText = RGB(160, 166, 176);
constexpr COLORREF kHeadingText = RGB(176, 92, 24);
constexpr COLORREF kCaptionText = RGB(60, 64, 72);
constexpr LabelFont kLabelFont{11, false, 100};
constexpr LabelFont kHeadingFont{12, true, 100};

bool IsHeading(const Control& control) { return control.role == ControlRole::kHeading; }


bool IsContainer(ControlKind kind) { return kind == ControlKind::Panel || kind == ControlKind::WaitingBar; }

// Start-up goes on after the first frame through this message, one small
// step each, so the window answers between the steps; input waits behind it.
constexpr UINT kContinueStartup = WM_APP + 1;
// Set on the main window once start-up is over: every panel exists.
constexpr wchar_t kReadyProperty[] = L"CantarelPortable.Ready";
constexpr int kWindowsPerStep = 24;

// Whether a control is seen in the first frame: it and all that hold it shown.
bool InFirstFrame(const Form1& form, int index) {
    for (int i = index; i != kNoParent; i = form.At(i).parent) {
        if (!form.At(i).visible) return false;
    }
    return true;
}

WindowHost* HostOf(HWND window) {
    return reinterpret_cast<WindowHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

// No exception may cross a Windows callback: it is told, and the window goes
// on with what the model holds.
template <typename Handler>
LRESULT WindowHost::Guarded(Handler handler) {
    std::string what;
    try {
        return handler();
    } catch (const std::exception& error) {
        what = error.what();
    } catch (...) {
        what = "erreur inconnue";
    }
    services_.dialogs.Message(WithSupportAddress("Une erreur inattendue s'est produite (" + BoundedText(what) +
                                                 "). Cantarel Portable continue de fonctionner. Si le problème "
                                                 "revient, contactez "),
                              "", box::kOk);
    Mirror();
    return 0;
}

WindowHost::WindowHost(HINSTANCE instance, Form1& form, Services& services, LabelTypeface typeface)
    : instance_(instance),
      form_(form),
      services_(services),
      events_(form, services, *this),
      typeface_(std::move(typeface)) {}

WindowHost::~WindowHost() {
    if (main_ != nullptr) DestroyWindow(main_);
    for (const auto& [font, handle] : fonts_) DeleteObject(handle);
}

bool WindowHost::Create() {
    hand_ = LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_HAND_POINTER));
    WNDCLASSEXW mainClass{sizeof(mainClass)};
    mainClass.lpfnWndProc = MainProc;
    mainClass.hInstance = instance_;
    mainClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_CANTAREL));
    mainClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    mainClass.lpszClassName = kMainClass;
    WNDCLASSEXW controlClass{sizeof(controlClass)};
    controlClass.lpfnWndProc = ControlProc;
    controlClass.hInstance = instance_;
    controlClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    controlClass.lpszClassName = kControlClass;
    for (const WNDCLASSEXW* windowClass : {&mainClass, &controlClass}) {
        if (RegisterClassExW(windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    }
    // Under Wine the first call that needs the display (the cursor, the
    // icon) loads its driver: this phase carries it.
    MarkStartupPhase("window classes registered");

    // The first frame's pictures are decoded meanwhile on a thread of their own.
    std::vector<std::string> firstImages{std::string(kBackgroundImage)};
    for (int i = 0; i < form_.Count(); ++i) {
        if (!form_.At(i).image.empty() && InFirstFrame(form_, i)) firstImages.push_back(form_.At(i).image);
    }
    images_.Prefetch(std::move(firstImages));

    RECT outer{0, 0, Form1::kClientSize.width, Form1::kClientSize.height};
    AdjustWindowRectEx(&outer, kMainStyle, FALSE, 0);
    form_.windowRect = {0, 0, outer.right - outer.left, outer.bottom - outer.top};
    RunStartup(form_, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, services_, MarkStartupPhase);

    const Rect& rect = form_.windowRect;
    main_ = CreateWindowExW(0, kMainClass, Widen(Form1::kCaption).c_str(), kMainStyle, rect.left, rect.top,
                            rect.width, rect.height, nullptr, nullptr, instance_, this);
    if (main_ == nullptr) return false;
    MarkStartupPhase("window created");
    labelFonts_.resize(form_.Count());
    windows_.assign(form_.Count(), nullptr);
    applied_ = form_.Controls();
    // What the first frame shows; the hidden panels follow it.
    for (int i = 0; i < form_.Count(); ++i) {
        if (InFirstFrame(form_, i)) CreateControlWindow(i);
    }
    MarkStartupPhase("first frame's windows created");
    form_.TakeChanges();
    ShowWindow(main_, SW_SHOWNORMAL);
    MarkStartupPhase("window shown");
    UpdateWindow(main_);
    MarkStartupPhase("first frame painted");
    PostMessageW(main_, kContinueStartup, 0, 0);
    return true;
}

int WindowHost::Run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

void WindowHost::Close() {
    if (main_ != nullptr) PostMessageW(main_, WM_CLOSE, 0, 0);
}

void WindowHost::AttachAction(Win32LongAction& action) {
    action_ = &action;
    strip_ = std::make_unique<ProgressStrip>(instance_, [&action] { action.RequestCancel(); });
    action.SetOnTick([this] { ShowActionProgress(); });
}

// Under the waiting bar on show, or where the download bar stands when the
// action has none (the update).
void WindowHost::ShowActionProgress() {
    if (main_ == nullptr || !strip_) return;
    const Win32LongAction::Snapshot now = action_->Now();
    if (!now.running) {
        strip_->Hide();
        return;
    }
    Mirror();
    HWND bar = nullptr;
    for (std::string_view name : {kDownloadBar, kRemovalBar}) {
        const int index = form_.IndexOf(name);
        if (form_.At(index).visible && windows_[index] != nullptr) bar = windows_[index];
    }
    RECT above{};
    if (bar != nullptr) {
        GetWindowRect(bar, &above);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&above), 2);
    } else {
        const Rect& r = form_.Get(kDownloadBar).rect;
        above = {r.left, r.top, r.left + r.width, r.top + r.height};
    }
    strip_->Show(main_, above, {now.phase, now.done, now.total, now.seconds}, Font(kLabelFont));
}

bool WindowHost::AskToStopAction() {
    const int answer = services_.dialogs.Message(
        "Une action est en cours. Voulez-vous l'arrêter et quitter Cantarel Portable ?", "", box::kQuestion);
    if (answer != box::kAnswerYes) return false;
    action_->RequestCancel();
    return true;
}

LabelFont WindowHost::DesignFont(int index) const {
    LabelFont font = IsHeading(form_.At(index)) ? kHeadingFont : kLabelFont;
    font.widthPercent = typeface_.widthPercent;
    return font;
}

HFONT WindowHost::Font(const LabelFont& font) {
    for (const auto& [made, handle] : fonts_) {
        if (made == font) return handle;
    }
    const auto make = [&](int width) {
        return CreateFontW(-font.height, width, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, typeface_.face.c_str());
    };
    HFONT handle = make(0);
    if (font.widthPercent != 100) {
        // A font's width is given as its average character width: scale the face's own.
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, handle);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        DeleteObject(handle);
        handle = make(std::max(1L, metrics.tmAveCharWidth * font.widthPercent / 100));
    }
    fonts_.emplace_back(font, handle);
    return handle;
}

// A label's font comes from the machine: it is measured in the font it will
// be drawn in and made smaller, then narrower, until it fits its room.
void WindowHost::FitLabel(int index) {
    const Control& control = form_.At(index);
    labelFonts_[index] = DesignFont(index);
    if (control.kind != ControlKind::Label || control.widthLimit == 0) return;
    const std::wstring text = Widen(control.caption);
    HDC dc = GetDC(nullptr);
    const LabelFit fit = FitCaption(control.widthLimit, DesignFont(index), [&](const LabelFont& font) {
        HGDIOBJ old = SelectObject(dc, Font(font));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        return static_cast<int>(extent.cx);
    });
    ReleaseDC(nullptr, dc);
    labelFonts_[index] = fit.font;
    if (control.rect.width != fit.width) form_.SetWidth(index, fit.width);
}

void WindowHost::CreateControlWindow(int index) {
    if (windows_[index] != nullptr) return;
    FitLabel(index);
    const Control& control = form_.At(index);
    applied_[index] = control;
    if (!IsShownKind(control.kind)) return;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (control.visible) style |= WS_VISIBLE;
    if (!control.enabled) style |= WS_DISABLED;
    if (IsContainer(control.kind)) style |= WS_CLIPCHILDREN;
    // The model lists containers before what they hold.
    HWND parent = control.parent == kNoParent ? main_ : windows_[control.parent];
    const Rect& r = control.rect;
    HWND window = CreateWindowExW(0, kControlClass, Widen(control.caption).c_str(), style, r.left, r.top, r.width,
                                  r.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlWindowId(index))),
                                  instance_, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    windows_[index] = window;
}

// One step of what the first frame did not need: the hidden panels' windows
// a few at a time, then the start-up's own steps, then ready.
void WindowHost::ContinueStartup() {
    if (nextWindow_ < form_.Count()) {
        for (int made = 0; nextWindow_ < form_.Count() && made < kWindowsPerStep; ++nextWindow_) {
            if (windows_[nextWindow_] != nullptr) continue;
            CreateControlWindow(nextWindow_);
            ++made;
        }
        if (nextWindow_ == form_.Count()) OrderControlWindows();
    } else if (!tooltipsAdded_) {
        tooltipsAdded_ = true;
        // The tips window is a window of its own: the first frame does without it.
        LoadCommonControls();
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, main_, nullptr, instance_, nullptr);
        for (int i = 0; i < form_.Count(); ++i) {
            if (windows_[i] != nullptr && !form_.At(i).tooltip.empty()) AddTooltip(i);
        }
        MarkStartupPhase("all panels ready");
    } else if (!RunStartupStepAfterFirstFrame(nextStartupStep_++, services_)) {
        SetPropW(main_, kReadyProperty, reinterpret_cast<HANDLE>(1));
        FinishStartupTrace("start-up over");
        return;
    }
    PostMessageW(main_, kContinueStartup, 0, 0);
}

// The waiting bars cover whatever lies under them; the decorative picture
// lies under the free-space caption.
void WindowHost::OrderControlWindows() {
    for (int i = 0; i < form_.Count(); ++i) {
        const ControlKind kind = form_.At(i).kind;
        if (windows_[i] == nullptr) continue;
        if (kind == ControlKind::WaitingBar) SetWindowPos(windows_[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        if (kind == ControlKind::Decoration) {
            SetWindowPos(windows_[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        }
    }
}

void WindowHost::AddTooltip(int index) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    // Transparent: a tip still shown under the pointer must not swallow the
    // click meant for the label or picture beneath it.
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
    tool.hwnd = GetParent(windows_[index]);
    tool.uId = reinterpret_cast<UINT_PTR>(windows_[index]);
    std::wstring text = Widen(form_.At(index).tooltip);
    tool.lpszText = text.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void WindowHost::Mirror() {
    for (int index : form_.TakeChanges()) {
        HWND window = windows_[index];
        const Control& now = form_.At(index);
        Control& shown = applied_[index];
        if (window == nullptr) {
            shown = now;
            continue;
        }
        if (now.caption != shown.caption) FitLabel(index);
        if (now.rect != shown.rect) {
            SetWindowPos(window, nullptr, now.rect.left, now.rect.top, now.rect.width, now.rect.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (now.enabled != shown.enabled) {
            EnableWindow(window, now.enabled);
            InvalidateRect(window, nullptr, FALSE);
        }
        if (now.caption != shown.caption) {
            SetWindowTextW(window, Widen(now.caption).c_str());
            InvalidateRect(window, nullptr, FALSE);
        }
        if (now.image != shown.image) InvalidateRect(window, nullptr, FALSE);
        if (now.visible != shown.visible) ShowWindow(window, now.visible ? SW_SHOWNA : SW_HIDE);
        shown = now;
    }
}

LRESULT CALLBACK WindowHost::MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* host = static_cast<WindowHost*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        host->main_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
    }
    WindowHost* host = HostOf(window);
    if (host == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return host->Guarded([&] { return host->OnMainMessage(message, wParam, lParam); });
}

LRESULT WindowHost::OnMainMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case kContinueStartup:
            ContinueStartup();
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(main_, &paint);
            PaintMain(dc);
            EndPaint(main_, &paint);
            return 0;
        }
        case WM_CLOSE:
            // An action under way finishes, or is stopped if the user says
            // so; the close follows its end.
            if (events_.Busy()) {
                if (action_ != nullptr && action_->Running() && !closePending_ && !AskToStopAction()) return 0;
                closePending_ = true;
                services_.events.AskToQuit();
                return 0;
            }
            DestroyWindow(main_);
            return 0;
        case WM_QUERYENDSESSION:
            // Logging off or shutting down: the action stops, whatever it wrote
            // lies in the staging folder, which never counts as installed.
            if (action_ != nullptr && action_->Running()) action_->RequestCancel();
            return TRUE;
        case WM_ENDSESSION:
            if (wParam && action_ != nullptr && action_->Running()) {
                action_->RequestCancel();
                action_->WaitForEnd(5000);
            }
            return 0;
        case WM_DESTROY:
            // Nothing else keeps the program alive once the main window is gone.
            main_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(main_, message, wParam, lParam);
    }
}

LRESULT CALLBACK WindowHost::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowHost* host = HostOf(window);
    if (host == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    const int index = ControlIndexFromWindowId(GetDlgCtrlID(window));
    return host->Guarded([&] { return host->OnControlMessage(index, window, message, wParam, lParam); });
}

LRESULT WindowHost::OnControlMessage(int index, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            // Drawn off screen and copied in one go: no flicker.
            HDC memory = CreateCompatibleDC(dc);
            HBITMAP canvas = CreateCompatibleBitmap(dc, client.right, client.bottom);
            HGDIOBJ old = SelectObject(memory, canvas);
            PaintControl(index, memory, {client.right, client.bottom});
            BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteObject(canvas);
            DeleteDC(memory);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_SETCURSOR:
            if (form_.At(index).handCursor && hand_ != nullptr) {
                SetCursor(hand_);
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE:
            events_.MouseMove(index);
            Mirror();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            SetCapture(window);
            events_.MouseDown(index);
            Mirror();
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            OnButtonUp(index, window, message, wParam, lParam);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A click is a left release over the control that was pressed; its handler
// runs after the release has put the control back in place.
void WindowHost::OnButtonUp(int index, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool captured = GetCapture() == window;
    if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
        ReleaseCapture();
        events_.MouseUp(index);
        Mirror();
    }
    if (message != WM_LBUTTONUP || !captured) return;
    RECT client;
    GetClientRect(window, &client);
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (!PtInRect(&client, at)) return;
    events_.Click(index);
    Mirror();
    if (closePending_ && !events_.Busy()) PostMessageW(main_, WM_CLOSE, 0, 0);
}

void WindowHost::PaintMain(HDC dc) {
    RECT client;
    GetClientRect(main_, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PaintImage(dc, std::string(kBackgroundImage), 0, 0, 970, 550);
}

void WindowHost::PaintImage(HDC dc, const std::string& image, int x, int y, int width, int height) {
    HBITMAP bitmap = images_.Get(image);
    if (bitmap == nullptr) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

void WindowHost::PaintControl(int index, HDC dc, SIZE size) {
    const Control& control = form_.At(index);
    RECT all{0, 0, size.cx, size.cy};
    switch (control.kind) {
        case ControlKind::WaitingBar:
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            break;
        case ControlKind::Label:
        case ControlKind::BarText:
            PaintText(index, dc, size);
            break;
        default:
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            if (!control.image.empty()) PaintImage(dc, control.image, 0, 0, size.cx, size.cy);
            break;
    }
}

// A label is transparent over the decorative picture that lies under it.
void WindowHost::PaintDecorationBehind(int index, HDC dc) {
    const Control& label = form_.At(index);
    for (int i = 0; i < form_.Count(); ++i) {
        const Control& other = form_.At(i);
        if (other.kind != ControlKind::Decoration || other.parent != label.parent) continue;
        PaintImage(dc, other.image, other.rect.left - label.rect.left, other.rect.top - label.rect.top,
                   other.rect.width, other.rect.height);
    }
}

void WindowHost::PaintText(int index, HDC dc, SIZE size) {
    const Control& control = form_.At(index);
    RECT all{0, 0, size.cx, size.cy};
    const bool onBar = control.kind == ControlKind::BarText;
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(onBar ? BLACK_BRUSH : WHITE_BRUSH)));
    if (!onBar) PaintDecorationBehind(index, dc);
    COLORREF color = kLabelText;
    if (onBar) color = kWhite;
    else if (!control.enabled) color = kDisabledText;
    else if (IsHeading(control)) color = kHeadingText;
    else if (!control.handCursor) color = kCaptionText;
    SetTextColor(dc, color);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, Font(labelFonts_[index]));
    const std::wstring text = Widen(control.caption);
    // A label sized to its caption is one line; the free-space caption wraps.
    UINT format = DT_NOPREFIX | (control.widthLimit > 0 ? DT_SINGLELINE : DT_WORDBREAK);
    if (onBar) format |= DT_CENTER;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &all, format);
    SelectObject(dc, old);
}
