#include "platform/win32/system_function.h"

#include <string>

namespace {

// Loaded once already: no path to build, no second reference. Else from the
// system folder; it stays loaded for the life of the process, as an import would.
HMODULE SystemModule(const wchar_t* library) {
    HMODULE module = GetModuleHandleW(library);
    if (module != nullptr) return module;
    std::wstring path(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
    if (length == 0 || length >= path.size()) return nullptr;
    path.resize(length);
    path += L'\\';
    path += library;
    return LoadLibraryW(path.c_str());
}

}  // namespace

FARPROC FindSystemFunction(const wchar_t* library, const char* name) {
    HMODULE module = SystemModule(library);
    return module == nullptr ? nullptr : GetProcAddress(module, name);
}

FARPROC FindSystemOrSideBySideFunction(const wchar_t* library, const char* name) {
    HMODULE module = SystemModule(library);
    if (module == nullptr) module = LoadLibraryW(library);
    return module == nullptr ? nullptr : GetProcAddress(module, name);
}
