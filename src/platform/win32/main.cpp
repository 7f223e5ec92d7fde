#include <windows.h>
#include <commctrl.h>

#include "platform/win32/window_host.h"
#include "ui/window_layout.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    Form1 form = BuildDesignForm1();
    int result = 1;
    {
        WindowHost host(instance, form);
        if (host.Create()) result = host.Run();
    }
    return result;
}
