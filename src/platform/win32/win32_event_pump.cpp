#include "platform/win32/win32_event_pump.h"

#include <windows.h>

void Win32EventPump::ProcessPendingEvents() {
    if (before_) before_();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The main loop must still see it and end the program.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
