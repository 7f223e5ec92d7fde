// The smallest window program built like the launcher: the floor against
// which the launcher's start-up time is compared.
#include <windows.h>

#include "app/startup_trace.h"

namespace {

constexpr wchar_t kClassName[] = L"BareWindowBench";
constexpr wchar_t kTitle[] = L"Bare window";
constexpr int kClientWidth = 969;
constexpr int kClientHeight = 542;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    MarkStartupPhase("entry");
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassW(&wc)) return 1;
    MarkStartupPhase("window classes registered");

    // Same client size as the launcher's main window.
    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&r, kStyle, FALSE);
    HWND hwnd = CreateWindowExW(0, kClassName, kTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance,
                                nullptr);
    if (!hwnd) return 1;
    MarkStartupPhase("window created");
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
    FinishStartupTrace("first frame painted");

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
