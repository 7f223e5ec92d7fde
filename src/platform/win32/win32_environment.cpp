#include "platform/win32/win32_environment.h"

#include <windows.h>

#include <string>

#include "platform/win32/wide_text.h"

std::optional<std::string> Win32Environment::Variable(std::string_view name) {
    const std::wstring wideName = Widen(name);
    SetLastError(ERROR_SUCCESS);
    DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) {
        // Set but empty, or not set at all.
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        return std::string();
    }
    std::wstring value(size, L'\0');
    // The value may change between the two calls: ask until it fits.
    for (;;) {
        const DWORD written = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
        if (written == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        if (written < size) {
            value.resize(written);
            return Narrow(value);
        }
        size = written;
        value.assign(size, L'\0');
    }
}

std::string Win32Environment::Expand(std::string_view text) {
    const std::wstring wide = Widen(text);
    DWORD size = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    for (;;) {
        if (size == 0) return std::string(text);
        std::wstring expanded(size, L'\0');
        const DWORD needed = ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), size);
        if (needed == 0) return std::string(text);
        if (needed <= size) {
            expanded.resize(needed - 1);  // the count includes the terminating zero
            return Narrow(expanded);
        }
        size = needed;
    }
}
