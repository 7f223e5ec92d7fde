#pragma once

#include <string_view>

#include "platform/services.h"
#include "window/form1.h"

// A click on a program picture (the menu panels) or on a picture of the
// Windows panel.

// Whether `picture` is one of those pictures.
bool IsLaunchPicture(std::string_view picture);

// Whether its click can download or wait for an installer, and so is a long
// action of the window.
bool LaunchMayTakeLong(std::string_view picture);

// Runs the picture's gates, then starts its program; or runs the Windows
// panel picture's action. A program that cannot be started is named in a
// short report.
void ClickLaunchPicture(Form1& form, std::string_view picture, Services& services);
