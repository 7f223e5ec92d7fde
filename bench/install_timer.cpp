// Times what an install does with a component's archive: the download from
// the server through the launcher's own downloader, then the extraction
// through the unzip facade and the real unzip32.dll beside this program.
// Usage: install_timer.exe <url> <archive file> <extraction folder> [<size> <sha256>]
// With a size and a SHA-256 the download is checked as it streams, as every
// download of the launcher is. Prints "download_ms extract_ms" or an error,
// and ends with 0 on success.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "unzip/cg_unzip_files.h"
#include "unzip/unzip_error.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 && argc != 6) {
        std::fputs("usage: install_timer <url> <archive file> <extraction folder> [<size> <sha256>]\n", stderr);
        return 2;
    }
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    folder.resize(folder.find_last_of(L'\\'));
    Win32Platform platform(Narrow(folder));
    LARGE_INTEGER start, downloaded, extracted;
    QueryPerformanceCounter(&start);
    const ExpectedFile expected{argc == 6 ? std::wcstoull(argv[4], nullptr, 10) : 0,
                                argc == 6 ? Narrow(argv[5]) : std::string()};
    const int result = argc == 6 ? platform.Transfers().DownloadExpected(Narrow(argv[1]), Narrow(argv[2]), expected)
                                 : platform.services.downloader.Download(Narrow(argv[1]), Narrow(argv[2]));
    QueryPerformanceCounter(&downloaded);
    if (result != 0) {
        std::fprintf(stderr, "download failed: %d\n", result);
        return 3;
    }
    try {
        CGUnzipFiles unzip(platform.services);
        unzip.SetZipFileName(Narrow(argv[2]));
        unzip.SetExtractDir(Narrow(argv[3]));
        if (unzip.Unzip("", "") != 0) {
            std::fprintf(stderr, "extraction failed: %s\n", unzip.GetLastMessage().c_str());
            return 4;
        }
    } catch (const UnzipError& error) {
        std::fprintf(stderr, "extraction unavailable: %s\n", error.Description().c_str());
        return 5;
    }
    QueryPerformanceCounter(&extracted);
    std::printf("%.1f %.1f\n", Milliseconds(start, downloaded), Milliseconds(downloaded, extracted));
    return 0;
}
