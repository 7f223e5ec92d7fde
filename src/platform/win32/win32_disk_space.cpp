#include "platform/win32/win32_disk_space.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

// The byte counts rather than the cluster geometry: they stay right on
// volumes whose cluster count overflows 32 bits, and the wide call takes
// every path whatever the code page.
std::optional<DiskSpace> Win32DiskSpace::SpaceOf(std::string_view folder) {
    std::wstring path = Widen(folder);
    if (path.empty() || path.back() != L'\\') path += L'\\';
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExW(path.c_str(), &available, &total, &free)) return std::nullopt;
    return DiskSpace{static_cast<std::int64_t>(free.QuadPart), static_cast<std::int64_t>(total.QuadPart)};
}

std::string Win32DiskSpace::DecimalSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 0) return ".";
    return Narrow(separator);
}
