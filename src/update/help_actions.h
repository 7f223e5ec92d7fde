#pragma once

#include <string>
#include <string_view>

#include "platform/services.h"
#include "window/form1.h"

// The help panel's help and about pictures and the documents panel's
// pictures: each starts one command, or shows the about box, and returns.

// Whether `picture` is one of them.
bool IsHelpOrDocumentPicture(std::string_view picture);

// A click on one of them: disarms the hover flag, gives the picture its
// normal image, then does its action.
void HelpOrDocumentClick(Form1& form, std::string_view picture, Services& services);

// The about box's text: three lines, the first naming the running version.
std::string AboutText();
