#pragma once

#include <string>

#include "platform/file_system.h"
#include "ui/form1.h"
#include "ui/geometry.h"

// Left and top of a window of outer size `window` centred on a screen of size
// `screen`. Not clamped: a window larger than the screen gets a negative edge.
Point CentredOrigin(Size screen, Size window);

// What start-up reads: the screen and the drive.
struct StartupContext {
    Size screen;
    std::string appFolder;
    FileSystem& files;
};

// The start-up sequence, run on the design state before the window is first
// shown. form.windowRect holds the window's outer size on entry.
void RunStartup(Form1& form, StartupContext& context);

// Its placing steps alone: the window centred, the panels brought in.
void CentreWindow(Form1& form, Size screen);
void PlacePanels(Form1& form);
