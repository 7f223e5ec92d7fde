#pragma once

// The fixed points where a long action lets the window breathe: repaints,
// clicks and every other pending window event are handled, then control
// comes back. A request to end the program is left pending for the main
// loop.
class EventPump {
public:
    virtual ~EventPump() = default;

    virtual void ProcessPendingEvents() = 0;
};
