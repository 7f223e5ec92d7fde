#pragma once

#include <functional>

#include "platform/event_pump.h"

// Dispatches the thread's pending window messages, then returns.
class Win32EventPump : public EventPump {
public:
    // Runs first at every fixed point: the window shows what the action has
    // changed so far (the waiting bar) before the pending paints go through.
    void SetBeforeEachPass(std::function<void()> hook) { before_ = std::move(hook); }

    void ProcessPendingEvents() override;

private:
    std::function<void()> before_;
};
