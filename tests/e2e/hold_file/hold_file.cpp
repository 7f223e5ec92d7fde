// Holds one file open with no sharing, as a running program holds its own
// files, until told to let go: hold_file <file> <signal folder>. Once the
// file is held it writes "held" into the signal folder; it lets go and ends
// when a file named "release" appears there (or when it is killed).
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const HANDLE file = CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    const std::wstring folder = std::wstring(argv[2]) + L"\\";
    const HANDLE held = CreateFileW((folder + L"held").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) return 4;
    CloseHandle(held);
    const std::wstring release = folder + L"release";
    while (GetFileAttributesW(release.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(100);
    CloseHandle(file);
    return 0;
}
