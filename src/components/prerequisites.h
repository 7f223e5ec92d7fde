#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "components/launch_table.h"
#include "platform/services.h"
#include "window/form1.h"

// The Windows components some of the suite's programs need, checked before
// they start, and the Windows panel that installs them.

enum class GateOutcome { kGoOn, kEndClick };

// Runs one gate of a program picture's click: lets the launch go on when the
// prerequisite is present; otherwise asks, and may download and start its
// installer or start the registration tool, and ends the click.
GateOutcome RunGate(Gate gate, Form1& form, Services& services);

// The registration tool of the ActiveX controls and DLLs, with the verb the
// Windows version calls for.
void StartRegistrationTool(Services& services);

// What the gates download from the server, and the registration tool
// (relative to AppFolder), for the demo and test trees.
std::vector<std::string> GateServerPaths();
std::string_view RegistrationTool();

// The pictures of the Windows panel: the installers on the drive, the
// registration tool and the two installers of the French voice.
bool IsWindowsPanelPicture(std::string_view picture);
bool WindowsPanelPictureMayTakeLong(std::string_view picture);
void ClickWindowsPanelPicture(Form1& form, std::string_view picture, Services& services);
