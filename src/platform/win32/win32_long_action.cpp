#include "platform/win32/win32_long_action.h"

#include <exception>

namespace {

// How often the window shows the figures anew.
constexpr DWORD kTickMilliseconds = 100;

}  // namespace

Win32LongAction::Win32LongAction() : finished_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

Win32LongAction::~Win32LongAction() {
    if (finished_) CloseHandle(finished_);
}

std::int64_t Win32LongAction::Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void Win32LongAction::Begin(Phase phase, std::uint64_t total) {
    phase_ = static_cast<int>(phase);
    total_ = total;
    done_ = 0;
    phaseStart_ = Ticks();
}

void Win32LongAction::Advance(std::uint64_t amount) { done_ += amount; }

Win32LongAction::Snapshot Win32LongAction::Now() const {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return {.running = running_.load(),
            .phase = static_cast<Phase>(phase_.load()),
            .done = done_.load(),
            .total = total_.load(),
            .seconds = static_cast<double>(Ticks() - phaseStart_.load()) / static_cast<double>(frequency.QuadPart)};
}

DWORD WINAPI Win32LongAction::Worker(void* self) {
    auto* action = static_cast<Win32LongAction*>(self);
    (*action->work_)();
    SetEvent(action->finished_);
    return 0;
}

void Win32LongAction::Run(const std::function<void()>& work) {
    // An exception must not cross the thread: it is carried back and raised here.
    std::exception_ptr failure;
    const std::function<void()> guarded = [&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    };
    cancelled_ = false;
    Begin(Phase::kDownload, 0);
    work_ = &guarded;
    ResetEvent(finished_);
    HANDLE thread = CreateThread(nullptr, 0, Worker, this, 0, nullptr);
    if (thread == nullptr) {
        // No thread to be had: the work runs here, as it always could.
        guarded();
        SetEvent(finished_);
    }
    running_ = true;
    if (tick_) tick_();

    bool quit = false;
    WPARAM quitCode = 0;
    DWORD lastTick = GetTickCount();
    while (thread != nullptr &&
           MsgWaitForMultipleObjectsEx(1, &finished_, kTickMilliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE) !=
               WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The main loop must still see it once the work is done.
                quit = true;
                quitCode = message.wParam;
                continue;
            }
            if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
                RequestCancel();
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (tick_ && GetTickCount() - lastTick >= kTickMilliseconds) {
            lastTick = GetTickCount();
            tick_();
        }
    }
    if (thread != nullptr) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    work_ = nullptr;
    running_ = false;
    if (tick_) tick_();
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    if (failure) std::rethrow_exception(failure);
}

void Win32LongAction::WaitForEnd(DWORD milliseconds) {
    if (running_) WaitForSingleObject(finished_, milliseconds);
}
