#pragma once

#include "platform/main_window.h"
#include "platform/services.h"
#include "window/form1.h"

// Routes the main window's mouse events to the handlers of its controls.
// Controls are given by their index in the form.
class Form1Events {
public:
    Form1Events(Form1& form, Services& services, MainWindow& window)
        : form_(form), services_(services), window_(window) {}

    void Click(int control);
    void MouseMove(int control);
    void MouseDown(int control);
    // The last mouse button held on the control was released.
    void MouseUp(int control);

    // A long action (an install, a removal) is under way: the window keeps
    // painting, lighting and switching panels, but starts no other action,
    // and a close request waits for its end.
    bool Busy() const { return busy_; }

private:
    Form1& form_;
    Services& services_;
    MainWindow& window_;
    bool busy_ = false;
};
