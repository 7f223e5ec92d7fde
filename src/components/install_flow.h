#pragma once

#include <string_view>

#include "platform/services.h"
#include "window/form1.h"

// A click on a component's download label: asks, downloads the component
// from the download server onto the drive, extracts it when it is an
// archive, updates the window and reports the outcome.
void InstallComponent(Form1& form, std::string_view id, Services& services);
