#pragma once

#include "window/form1.h"

// What the pointer does to the picture buttons: category buttons light up,
// program pictures turn to their highlighted image while the hover flag is
// armed, and every picture button sinks by one pixel while pressed.

// The pointer moved over control `index`.
void HoverOver(Form1& form, int index);

// A mouse button went down on control `index`, or the last button held on it
// was released.
void PressDown(Form1& form, int index);
void PressUp(Form1& form, int index);

// The normal image on every program picture but the five that only their
// own panel resets.
void ResetProgramPictures(Form1& form);

// The hover flag: a click on a program picture disarms it, so that the
// picture does not light up again under a pointer at rest.
bool HoverArmed(const Form1& form);
void SetHoverArmed(Form1& form, bool armed);
