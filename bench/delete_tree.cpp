// Times DeleteFolderTree through the launcher's Win32 file system on one
// folder: delete_tree.exe <folder>. Prints "milliseconds" and ends with 0
// when the folder is gone, or prints why it stopped and ends with 1.
#include <windows.h>

#include <cstdio>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "storage/folder_tree_deletion.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: delete_tree <folder>\n", stderr);
        return 2;
    }
    std::string folder = Narrow(argv[1]);
    if (!folder.ends_with('\\')) folder += '\\';
    Win32FileSystem files;
    LARGE_INTEGER frequency, from, to;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&from);
    const FolderTreeDeletion outcome = DeleteFolderTreeExplained(files, folder);
    QueryPerformanceCounter(&to);
    const double ms = 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
    if (!outcome.Done()) {
        std::printf("stopped at %s (%d)\n", outcome.stoppedAt.c_str(), static_cast<int>(outcome.result));
        return 1;
    }
    std::printf("%.1f\n", ms);
    return 0;
}
