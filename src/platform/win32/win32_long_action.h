#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/long_action.h"

// Runs an action's work on a thread of its own while the window's thread
// keeps dispatching messages, so the window paints, moves and answers, and
// Windows never calls it "not responding". Escape asks the work to stop.
class Win32LongAction : public LongAction {
public:
    // What the window shows of it, read on the window's thread.
    struct Snapshot {
        bool running = false;
        Phase phase = Phase::kDownload;
        std::uint64_t done = 0;
        std::uint64_t total = 0;
        double seconds = 0;  // since the phase began
    };

    Win32LongAction();
    ~Win32LongAction() override;
    Win32LongAction(const Win32LongAction&) = delete;
    Win32LongAction& operator=(const Win32LongAction&) = delete;

    void Run(const std::function<void()>& work) override;
    void Begin(Phase phase, std::uint64_t total) override;
    void Advance(std::uint64_t amount) override;
    bool Cancelled() const override { return cancelled_.load(); }

    // From the window's thread.
    void RequestCancel() { cancelled_ = true; }
    bool Running() const { return running_.load(); }
    Snapshot Now() const;
    // Waits, without dispatching, for the work to end (at most `milliseconds`);
    // for the end of a Windows session, when nothing else may run.
    void WaitForEnd(DWORD milliseconds);
    // Called on the window's thread when the work starts, every tenth of a
    // second while it runs, and when it has ended.
    void SetOnTick(std::function<void()> tick) { tick_ = std::move(tick); }

private:
    static DWORD WINAPI Worker(void* self);
    static std::int64_t Ticks();

    std::atomic<bool> running_{false};
    std::atomic<bool> cancelled_{false};
    std::atomic<int> phase_{0};
    std::atomic<std::uint64_t> done_{0};
    std::atomic<std::uint64_t> total_{0};
    std::atomic<std::int64_t> phaseStart_{0};
    const std::function<void()>* work_ = nullptr;
    HANDLE finished_ = nullptr;
    std::function<void()> tick_;
};
