#pragma once

#include <windows.h>
#include <objbase.h>

// COM's entry points, taken from ole32 when first used (see system_function.h).
struct ComCalls {
    decltype(&CoInitializeEx) initialize = nullptr;
    decltype(&CoUninitialize) uninitialize = nullptr;
    decltype(&CoCreateInstance) createInstance = nullptr;
    decltype(&CreateStreamOnHGlobal) streamOnMemory = nullptr;
    // False when ole32 lacks one of them: then none may be called.
    bool found = false;
};

const ComCalls& Com();
