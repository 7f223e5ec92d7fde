#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "window/control.h"
#include "window/geometry.h"

// The image store: a form that is never shown and only holds images. It is
// opened the first time one of its images is needed and stays open until the
// main window closes.
struct ImageStore {
    std::vector<std::string> images;
    bool opened = false;
    bool Holds(std::string_view image) const;
};

// The main window as a model of named controls. Handlers change the model
// through the setters; the window host mirrors every change it is told of.
class Form1 {
public:
    static constexpr std::string_view kCaption = "Cantarel Portable - Version " CANTAREL_VERSION;
    static constexpr Size kClientSize{969, 542};

    int Add(Control control);

    // Index of the named control, or -1.
    int IndexOf(std::string_view name) const;
    bool Has(std::string_view name) const { return IndexOf(name) >= 0; }
    const Control& Get(std::string_view name) const;
    const Control& At(int index) const { return controls_[index]; }
    const std::vector<Control>& Controls() const { return controls_; }
    int Count() const { return static_cast<int>(controls_.size()); }

    void SetVisible(std::string_view name, bool visible);
    void SetEnabled(std::string_view name, bool enabled);
    void SetCaption(std::string_view name, std::string caption);
    void SetPosition(std::string_view name, Point topLeft);
    void SetWidth(int index, int width);
    void SetPressed(std::string_view name, bool pressed);
    // Shows the image that a holder holds: a holder control of this form, or
    // an image of the image store (which opens the store).
    void SetImage(std::string_view name, std::string_view holder);

    // Visible on screen: the control and every container above it.
    bool IsShown(int index) const;

    // Outer rectangle of the window on the screen (frame included).
    Rect windowRect;

    ImageStore imageStore;

    // Indexes of the controls changed since the last call, each once.
    std::vector<int> TakeChanges();

private:
    Control& Mutable(std::string_view name);
    void Touch(int index);

    std::vector<Control> controls_;
    std::unordered_map<std::string, int> byName_;
    std::vector<int> changed_;
    std::vector<bool> isChanged_;
};

// Window identifiers of the host's child windows: tests and the host map a
// child window back to its control with these.
constexpr int kFirstControlWindowId = 1000;
inline int ControlWindowId(int index) { return kFirstControlWindowId + index; }
inline int ControlIndexFromWindowId(int id) { return id - kFirstControlWindowId; }
