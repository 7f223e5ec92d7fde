#pragma once

#include <string_view>

#include "platform/main_window.h"
#include "platform/services.h"
#include "window/form1.h"

// The pictures of the help and documents panels, as the window's events see
// them: the update check, the help files, the about box, the folders.
bool IsUpdateOrHelpPicture(std::string_view picture);

// A click on one of them; other names do nothing.
void UpdateOrHelpClick(Form1& form, std::string_view picture, Services& services, MainWindow& window);
