#pragma once

#include <functional>

#include "platform/event_pump.h"

// Counts the fixed points; `onPump` stands for the handlers that run there.
class FakeEventPump : public EventPump {
public:
    void ProcessPendingEvents() override {
        ++pumped;
        if (onPump) onPump();
    }

    int pumped = 0;
    std::function<void()> onPump;
};
