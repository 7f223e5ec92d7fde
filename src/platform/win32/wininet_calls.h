#pragma once

#include <windows.h>
#include <wininet.h>

// WinINet's entry points, taken when the first download starts (see
// system_function.h): the launcher that only starts programs never loads it.
struct WinInetCalls {
    decltype(&InternetOpenW) open = nullptr;
    decltype(&InternetConnectW) connect = nullptr;
    decltype(&InternetSetOptionW) setOption = nullptr;
    decltype(&InternetReadFile) readFile = nullptr;
    decltype(&InternetCloseHandle) closeHandle = nullptr;
    decltype(&HttpOpenRequestA) openRequest = nullptr;
    decltype(&HttpSendRequestW) sendRequest = nullptr;
    decltype(&HttpQueryInfoW) queryInfo = nullptr;
    // False when WinINet lacks one of them: then none may be called.
    bool found = false;
};

const WinInetCalls& WinInet();
