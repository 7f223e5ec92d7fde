#pragma once

#include <string>

#include "window/geometry.h"

// What a control is; the window host draws and routes input by kind.
enum class ControlKind {
    MenuButton,      // category buttons and the quit button of the menu column
    Panel,           // the nine category panels (containers)
    ProgramPicture,  // a picture that starts a program or an action
    ImageHolder,     // never shown: holds a program picture's normal or highlighted image
    Label,           // download and removal labels, headings, free-space captions
    Decoration,      // the decorative picture of the download and removal panels
    WaitingBar,      // the black bars shown during downloads and removals
    BarText,         // the text inside a waiting bar
    ValueHolder,     // never shown: a label used as a stored value
};

constexpr int kNoParent = -1;

struct Component;

// What a control stands for beyond its name, so that events and the host
// need not read it back out of the name: a component's download or removal
// label, a section heading of those panels.
enum class ControlRole { kOther, kDownloadLabel, kRemovalLabel, kHeading };

// One named control of the main window, as the handlers see it.
struct Control {
    std::string name;
    ControlKind kind = ControlKind::Label;
    Rect rect;
    int parent = kNoParent;  // index of the containing panel or bar
    bool visible = true;
    bool enabled = true;
    std::string caption;
    std::string tooltip;
    std::string image;  // name of the image shown, from the window's image set
    bool handCursor = false;
    bool pressed = false;  // drawn one pixel down and right while a mouse button is held on it
    // A label sized to its caption: the widest its place in the layout allows
    // (0: a control of fixed size).
    int widthLimit = 0;
    ControlRole role = ControlRole::kOther;
    const Component* component = nullptr;  // the component of a download or removal label
};

// Controls that the host shows as real child windows; holders are only values.
inline bool IsShownKind(ControlKind kind) {
    return kind != ControlKind::ImageHolder && kind != ControlKind::ValueHolder;
}
