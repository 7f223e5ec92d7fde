#include "platform/win32/wininet_calls.h"

#include "platform/win32/system_function.h"

const WinInetCalls& WinInet() {
    static const WinInetCalls calls = [] {
        const auto in = [](const char* name) { return FindSystemFunction(L"wininet.dll", name); };
        WinInetCalls found;
        found.found = PointAt(found.open, in("InternetOpenW")) && PointAt(found.connect, in("InternetConnectW")) &&
                      PointAt(found.setOption, in("InternetSetOptionW")) &&
                      PointAt(found.readFile, in("InternetReadFile")) &&
                      PointAt(found.closeHandle, in("InternetCloseHandle")) &&
                      PointAt(found.openRequest, in("HttpOpenRequestA")) &&
                      PointAt(found.sendRequest, in("HttpSendRequestW")) &&
                      PointAt(found.queryInfo, in("HttpQueryInfoW"));
        return found;
    }();
    return calls;
}
