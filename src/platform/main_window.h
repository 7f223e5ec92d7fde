#pragma once

// What the behaviour may ask of the main window itself.
class MainWindow {
public:
    virtual ~MainWindow() = default;
    // Closes the main window the way the platform's close command does; the
    // program ends once it is closed.
    virtual void Close() = 0;
};
