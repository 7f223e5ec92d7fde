#pragma once

#include <windows.h>

#include <string>

// One launcher per key: two acting on the same folders would trip over each
// other's installs and removals. The first launcher started from a folder
// holds its claim for as long as it runs; a second one from the same folder
// brings the first one's window to the front and ends, unless the first one
// is on its way out (it hands over to an update's program).
class SingleInstance {
public:
    explicit SingleInstance(const std::string& appFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when another launcher runs from this folder and keeps running:
    // its window has been brought to the front.
    bool Taken() const { return taken_; }
    // Tells later launchers which window is this one's.
    void Publish(HWND window);

private:
    void ShowTheOther() const;

    HANDLE claim_ = nullptr;
    HANDLE shared_ = nullptr;
    void* view_ = nullptr;
    bool taken_ = false;
};
