#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/main_window.h"
#include "platform/services.h"
#include "window/form1.h"

// Where the update check looks on the server, and the program the update
// package brings.
inline constexpr std::string_view kVersionUrlPath = "/logiciels/version.txt";
inline constexpr std::string_view kPackageUrlPath = "/logiciels/CantarelPortable.zip";
inline constexpr std::string_view kNewProgram = "CantarelPortable.exe";

// Picture_miseajour_Click: asks the download server which launcher version is
// current, says so when it is the running one, and otherwise offers the
// update; on Yes downloads and extracts the package into AppFolder, starts
// the program it brings and closes the main window.
void CheckForUpdate(Form1& form, Services& services, MainWindow& window);

// The version a version file names: its last line (CR LF, CR or LF ends a
// line; the last line may end with the file). Nothing when that line is empty
// or the file holds no line at all.
std::optional<std::string> VersionOfFile(std::string_view text);
