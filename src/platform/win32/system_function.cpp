#include "platform/win32/system_function.h"

#include <string>

FARPROC FindSystemFunction(const wchar_t* library, const char* name) {
    // Loaded once already: no path to build, no second reference.
    HMODULE module = GetModuleHandleW(library);
    if (module == nullptr) {
        std::wstring path(MAX_PATH, L'\0');
        const UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
        if (length == 0 || length >= path.size()) return nullptr;
        path.resize(length);
        path += L'\\';
        path += library;
        // Stays loaded for the life of the process, as an import would.
        module = LoadLibraryW(path.c_str());
    }
    return module == nullptr ? nullptr : GetProcAddress(module, name);
}
