#include "platform/win32/wininet_calls.h"

#include "platform/win32/system_function.h"

const WinInetCalls& WinInet() {
    static const WinInetCalls calls = [] {
        constexpr const wchar_t* kWinInet = L"wininet.dll";
        WinInetCalls found;
        found.open = SystemFunction<decltype(InternetOpenW)>(kWinInet, "InternetOpenW");
        found.connect = SystemFunction<decltype(InternetConnectW)>(kWinInet, "InternetConnectW");
        found.setOption = SystemFunction<decltype(InternetSetOptionW)>(kWinInet, "InternetSetOptionW");
        found.readFile = SystemFunction<decltype(InternetReadFile)>(kWinInet, "InternetReadFile");
        found.closeHandle = SystemFunction<decltype(InternetCloseHandle)>(kWinInet, "InternetCloseHandle");
        found.openRequest = SystemFunction<decltype(HttpOpenRequestA)>(kWinInet, "HttpOpenRequestA");
        found.sendRequest = SystemFunction<decltype(HttpSendRequestW)>(kWinInet, "HttpSendRequestW");
        found.queryInfo = SystemFunction<decltype(HttpQueryInfoW)>(kWinInet, "HttpQueryInfoW");
        found.found = found.open && found.connect && found.setOption && found.readFile && found.closeHandle &&
                      found.openRequest && found.sendRequest && found.queryInfo;
        return found;
    }();
    return calls;
}
