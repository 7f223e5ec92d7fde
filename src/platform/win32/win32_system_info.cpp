#include "platform/win32/win32_system_info.h"

#include "platform/win32/wide_text.h"

std::optional<OsVersion> Win32SystemInfo::Version() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(&info)) return std::nullopt;
    return OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

bool Win32SystemInfo::CanLoadLibrary(std::string_view name) {
    // Any module handle is a success: reading it as a small signed number
    // would call a library loaded above 2 GB (or high in a 64-bit process)
    // missing. Its initialisation runs; nothing stays loaded.
    HMODULE module = LoadLibraryW(Widen(name).c_str());
    if (module == nullptr) return false;
    FreeLibrary(module);
    return true;
}

std::optional<std::uint32_t> Win32SystemInfo::Attributes(std::string_view path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

bool Wow64Flag(HMODULE kernel, HANDLE process) {
    if (kernel == nullptr) return false;
    using IsWow64ProcessCall = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64Process =
        reinterpret_cast<IsWow64ProcessCall>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    if (isWow64Process == nullptr) return false;
    BOOL flag = FALSE;
    isWow64Process(process, &flag);  // a failing call leaves the flag clear
    return flag != FALSE;
}

bool Win32SystemInfo::IsWindows64Bit() {
    // A 64-bit program runs only on a 64-bit Windows; a 32-bit one asks
    // whether it runs under WOW64.
    if constexpr (sizeof(void*) == 8) {
        return true;
    } else {
        return Wow64Flag(GetModuleHandleW(L"kernel32.dll"), GetCurrentProcess());
    }
}
