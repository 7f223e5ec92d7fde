#include "platform/win32/com_calls.h"

#include "platform/win32/system_function.h"

const ComCalls& Com() {
    static const ComCalls calls = [] {
        constexpr const wchar_t* kOle = L"ole32.dll";
        ComCalls found;
        found.initialize = SystemFunction<decltype(CoInitializeEx)>(kOle, "CoInitializeEx");
        found.uninitialize = SystemFunction<decltype(CoUninitialize)>(kOle, "CoUninitialize");
        found.createInstance = SystemFunction<decltype(CoCreateInstance)>(kOle, "CoCreateInstance");
        found.streamOnMemory = SystemFunction<decltype(CreateStreamOnHGlobal)>(kOle, "CreateStreamOnHGlobal");
        found.found = found.initialize && found.uninitialize && found.createInstance && found.streamOnMemory;
        return found;
    }();
    return calls;
}
