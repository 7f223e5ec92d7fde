#pragma once

#include <string_view>

#include "components/component_catalogue.h"
#include "platform/file_system.h"
#include "window/form1.h"

// Sets every component's labels and picture from what the drive holds. Run
// once, by start-up, on the design state: it only enables labels and hides
// pictures.
void RefreshInstalledState(Form1& form, std::string_view appFolder, FileSystem& files);

// The installed test: the component's folder (either of MuseScore's two)
// directly holds a file that is not a system file.
bool IsComponentInstalled(std::string_view id, std::string_view appFolder, FileSystem& files);

// Labels and picture as the drive says the component is: on the drive, only
// its removal is offered and its picture shown; else the reverse.
void ShowInstalledState(Form1& form, std::string_view id, bool installed);

// After an install or a removal that did not complete: the component (the
// quiz with its topics) as the drive says it is, as the next start-up would
// show it, with the quiz removal caption to match.
void ShowWhatTheDriveHolds(Form1& form, const Component& component, std::string_view appFolder, FileSystem& files);

// Sets the quiz removal caption to what removing the quiz would free: the
// program and each topic whose removal label is enabled.
void RefreshQuizSizeCaption(Form1& form);
