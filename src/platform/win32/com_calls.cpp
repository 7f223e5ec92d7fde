#include "platform/win32/com_calls.h"

#include "platform/win32/system_function.h"

const ComCalls& Com() {
    static const ComCalls calls = [] {
        const auto in = [](const char* name) { return FindSystemFunction(L"ole32.dll", name); };
        ComCalls found;
        found.found = PointAt(found.initialize, in("CoInitializeEx")) &&
                      PointAt(found.uninitialize, in("CoUninitialize")) &&
                      PointAt(found.createInstance, in("CoCreateInstance")) &&
                      PointAt(found.streamOnMemory, in("CreateStreamOnHGlobal"));
        return found;
    }();
    return calls;
}
