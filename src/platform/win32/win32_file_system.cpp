#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

std::optional<std::string> Win32FileSystem::FirstFile(std::string_view pattern) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(Widen(pattern).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::string> found;
    do {
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM)) == 0) {
            found = Narrow(entry.cFileName);
            break;
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return found;
}
