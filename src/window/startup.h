#pragma once

#include "platform/services.h"
#include "window/form1.h"
#include "window/geometry.h"

// Left and top of a window of outer size `window` centred on a screen of size
// `screen`. Not clamped: a window larger than the screen gets a negative edge.
Point CentredOrigin(Size screen, Size window);

// The start-up sequence, run on the design state before the window is first
// shown. form.windowRect holds the window's outer size on entry. `mark`, when
// given, is told as each step ends.
void RunStartup(Form1& form, Size screen, Services& services, void (*mark)(const char* step) = nullptr);

// What start-up leaves until the window is shown, one small step each, so the
// window answers between them: the shortcuts, one at a time. Runs step
// `step` and says so; false once there is none left.
bool RunStartupStepAfterFirstFrame(int step, Services& services);

// Its placing steps alone: the window centred, the panels brought in.
void CentreWindow(Form1& form, Size screen);
void PlacePanels(Form1& form);
