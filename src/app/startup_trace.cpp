#include "app/startup_trace.h"

#include <windows.h>

#include <cstdio>
#include <iterator>

namespace {

struct Stamp {
    const char* phase;
    LONGLONG counter;
};

struct Trace {
    bool checked = false;
    bool on = false;
    bool done = false;
    wchar_t file[MAX_PATH] = {};
    Stamp stamps[16] = {};
    int count = 0;
};

Trace& TheTrace() {
    static Trace trace;
    if (!trace.checked) {
        trace.checked = true;
        const DWORD n = GetEnvironmentVariableW(L"CANTAREL_STARTUP_TRACE", trace.file, MAX_PATH);
        trace.on = n > 0 && n < MAX_PATH;
    }
    return trace;
}

}  // namespace

void MarkStartupPhase(const char* phase) {
    Trace& trace = TheTrace();
    if (!trace.on || trace.done || trace.count == static_cast<int>(std::size(trace.stamps))) return;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    trace.stamps[trace.count++] = {phase, now.QuadPart};
}

void FinishStartupTrace(const char* lastPhase) {
    Trace& trace = TheTrace();
    if (!trace.on || trace.done) return;
    MarkStartupPhase(lastPhase);
    trace.done = true;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    FILE* out = _wfopen(trace.file, L"w");
    if (out == nullptr) return;
    for (int i = 0; i < trace.count; ++i) {
        std::fprintf(out, "%s\t%lld\t%lld\n", trace.stamps[i].phase, static_cast<long long>(trace.stamps[i].counter),
                     static_cast<long long>(frequency.QuadPart));
    }
    std::fclose(out);
}
