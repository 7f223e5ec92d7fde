#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/long_action.h"

// Runs the work at once, on the test's thread, and records what it reported.
// A test stops it by setting `cancelAfter` (that many Advance calls) or
// `cancelled`.
class FakeLongAction : public LongAction {
public:
    void Run(const std::function<void()>& work) override {
        ++runs;
        running = true;
        work();
        running = false;
    }
    void Begin(Phase phase, std::uint64_t total) override { phases.push_back({phase, total}); }
    void Advance(std::uint64_t amount) override {
        advanced += amount;
        if (cancelAfter > 0 && ++advances >= cancelAfter) cancelled = true;
    }
    bool Cancelled() const override { return cancelled; }

    struct Started {
        Phase phase;
        std::uint64_t total;
    };
    int runs = 0;
    bool running = false;
    bool cancelled = false;
    int cancelAfter = 0;
    int advances = 0;
    std::uint64_t advanced = 0;
    std::vector<Started> phases;
};
