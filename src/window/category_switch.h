#pragma once

#include "platform/services.h"
#include "window/form1.h"
#include "window/window_layout.h"

// A click on a category button: its dark image, its panel the only one
// shown, and for the download and removal panels a fresh free-space caption.
void SwitchCategory(Form1& form, const MenuCategory& category, Services& services);

// The category whose button this is, or nullptr (the quit button, any other control).
const MenuCategory* CategoryOfButton(std::string_view button);
