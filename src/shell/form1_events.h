#pragma once

#include "platform/main_window.h"
#include "ui/form1.h"

// Routes the main window's mouse events to the handlers of its controls.
// Controls are given by their index in the form.
class Form1Events {
public:
    Form1Events(Form1& form, MainWindow& window) : form_(form), window_(window) {}

    void Click(int control);
    void MouseMove(int control);
    void MouseDown(int control);
    void MouseUp(int control);

private:
    Form1& form_;
    MainWindow& window_;
};
