#pragma once

#include <windows.h>

// A function of a Windows DLL found when first needed, not imported: every
// import is loaded before the program's first line, and the shell, COM,
// WinINet and GDI+ have no part in what the window shows first. The DLL is
// taken from the system folder only, never from the folder of the launcher.
FARPROC FindSystemFunction(const wchar_t* library, const char* name);

// The same for GDI+, which Windows XP keeps among its side-by-side assemblies
// only: when the system folder lacks the DLL, the loader finds it by name,
// and its side-by-side redirection comes before any folder.
FARPROC FindSystemOrSideBySideFunction(const wchar_t* library, const char* name);

// `Function` is the function's own type: SystemFunction<decltype(CoInitializeEx)>.
// Null when the DLL or the function is missing.
template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* name) {
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(FindSystemFunction(library, name)));
}

// Points `function` at what a lookup found; false when it found nothing.
template <typename Pointer>
bool PointAt(Pointer& function, FARPROC found) {
    function = reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(found));
    return function != nullptr;
}
