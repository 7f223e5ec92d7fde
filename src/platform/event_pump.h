#pragma once

// The fixed points where a long action lets the window breathe: repaints,
// clicks and every other pending window event are handled, then control
// comes back. A request to end the program is left pending for the main
// loop.
class EventPump {
public:
    virtual ~EventPump() = default;

    virtual void ProcessPendingEvents() = 0;

    // The user asked to quit while an action waited on another program: the
    // wait stops there and nothing more is started.
    void AskToQuit() { quitAsked_ = true; }
    bool QuitAsked() const { return quitAsked_; }

private:
    bool quitAsked_ = false;
};
