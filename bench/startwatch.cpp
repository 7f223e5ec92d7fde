// Times a GUI program from process creation to its main window being shown,
// painted (no window of it waits for a repaint) and answering messages.
// Runs in the same Wine prefix as the target, so it sees the target's windows
// through the ordinary window API.
//
// Usage: startwatch.exe <exe> <exact window title> [file to wait for [hovers]]
// With a third argument, the target is closed only once that file exists (or
// after a few seconds): the launcher writes its phase stamps when its
// start-up is over, after the window is shown. With a hover count, the
// target's GDI and USER objects and its peak working set are read, the
// pointer is made to pass that many times over its first two pictures, and
// the objects are read again: a line
// "resources<TAB>gdi<TAB>user<TAB>gdi after<TAB>user after<TAB>peak bytes
// <TAB>windows<TAB>windows after".
// Prints the performance counter at the start on a line "start<TAB>N", then
// the elapsed milliseconds on one line; exit code 0 on success,
// 2 usage, 3 not started, 4 no window within the deadline, 5 target exited first.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

namespace {

constexpr double kDeadlineMs = 30000.0;
constexpr DWORD kCloseGraceMs = 5000;

double MsBetween(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER freq) {
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(freq.QuadPart);
}

// A Linux path given from the shell ("/work/...") names the same file on Z:.
std::wstring ToWindowsPath(const std::wstring& path) {
    std::wstring p = path;
    if (!p.empty() && p[0] == L'/') p = L"Z:" + p;
    for (auto& c : p)
        if (c == L'/') c = L'\\';
    wchar_t full[MAX_PATH * 4];
    DWORD n = GetFullPathNameW(p.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    return (n > 0 && n < std::size(full)) ? std::wstring(full, n) : p;
}

// Only a window of the process we started counts: a leftover of an earlier
// run with the same title must not end the timing.
HWND FindVisibleWindowOf(DWORD pid, const std::wstring& title) {
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, nullptr, title.c_str())) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

BOOL CALLBACK FindUnpainted(HWND child, LPARAM found) {
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

// What the user sees is whole: the window answers (its start-up is over) and
// neither it nor any visible child still has a region to paint.
bool IsPaintedAndReady(HWND window) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 50, &ignored)) return false;
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    bool unpainted = false;
    EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

void CloseTarget(const PROCESS_INFORMATION& pi, HWND window) {
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, window ? kCloseGraceMs : 0) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, kCloseGraceMs);
    }
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The process's windows, its main window's children included: what USER
// objects are made of, and countable where GetGuiResources is not (Wine).
int WindowsOf(HWND window) {
    int count = 1;
    EnumChildWindows(window, CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

void ReportResources(HANDLE process, HWND window, int hovers) {
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    const int windows = WindowsOf(window);
    // The launcher's first two pictures (the first controls' window ids).
    const HWND pictures[2] = {GetDlgItem(window, 1000), GetDlgItem(window, 1001)};
    for (int i = 0; i < hovers && pictures[0] && pictures[1]; ++i) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(pictures[i % 2], WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), SMTO_NORMAL, 1000, &ignored);
        // Let the repaints the hovers asked for happen now and then.
        if (i % 50 == 0) {
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored);
            Sleep(1);
        }
    }
    Sleep(200);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    std::printf("resources\t%lu\t%lu\t%lu\t%lu\t%llu\t%d\t%d\n", gdi, user, GetGuiResources(process, GR_GDIOBJECTS),
                GetGuiResources(process, GR_USEROBJECTS), static_cast<unsigned long long>(memory.PeakWorkingSetSize),
                windows, WindowsOf(window));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: startwatch.exe <exe> <exact window title> [file to wait for [hovers]]\n");
        return 2;
    }
    const std::wstring exe = ToWindowsPath(argv[1]);
    const std::wstring title = argv[2];
    std::wstring folder = exe;
    const auto slash = folder.find_last_of(L'\\');
    folder = slash == std::wstring::npos ? L"." : folder.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';

    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};

    LARGE_INTEGER freq, start, now;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi)) {
        std::fprintf(stderr, "startwatch: cannot start (error %lu)\n", GetLastError());
        return 3;
    }

    int result = 4;
    HWND window = nullptr;
    for (;;) {
        window = FindVisibleWindowOf(pi.dwProcessId, title);
        QueryPerformanceCounter(&now);
        const double elapsed = MsBetween(start, now, freq);
        if (window && IsPaintedAndReady(window)) {
            // The start's counter first: the launcher's phase stamps are read against it.
            std::printf("start\t%lld\n%.1f\n", static_cast<long long>(start.QuadPart), elapsed);
            result = 0;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "startwatch: target exited before its window was shown\n");
            result = 5;
            break;
        }
        if (elapsed > kDeadlineMs) {
            std::fprintf(stderr, "startwatch: no painted window within %.0f ms\n", kDeadlineMs);
            break;
        }
        Sleep(1);
    }
    std::fflush(stdout);
    if (argc >= 4 && result == 0) {
        const std::wstring awaited = ToWindowsPath(argv[3]);
        for (int waited = 0; waited < 5000 && GetFileAttributesW(awaited.c_str()) == INVALID_FILE_ATTRIBUTES;
             waited += 5) {
            Sleep(5);
        }
    }
    if (argc == 5 && result == 0) ReportResources(pi.hProcess, window, _wtoi(argv[4]));
    CloseTarget(pi, window);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}
