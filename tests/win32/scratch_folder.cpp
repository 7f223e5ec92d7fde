#include "scratch_folder.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

std::string ScratchPath(const std::string& words) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return Narrow(temp) + words + " " + std::to_string(GetCurrentProcessId());
}

void WipeFolder(const std::string& folder) {
    const std::wstring wide = Widen(folder);
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((wide + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = wide + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                DeleteFileW(path.c_str());
                continue;
            }
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) WipeFolder(Narrow(path));
            RemoveDirectoryW(path.c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(wide.c_str());
}
