#include "app/common_controls.h"

#include <windows.h>
#include <commctrl.h>

bool LoadCommonControls() {
    static const bool loaded = [] {
        // The manifest's activation context makes this the version 6 library.
        HMODULE library = LoadLibraryW(L"comctl32.dll");
        if (library == nullptr) return false;
        using InitCall = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const auto init = reinterpret_cast<InitCall>(
            reinterpret_cast<void (*)()>(GetProcAddress(library, "InitCommonControlsEx")));
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        return init != nullptr && init(&controls) != FALSE;
    }();
    return loaded;
}
