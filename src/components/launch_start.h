#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/services.h"

// The ways the launcher starts a program of the drive. None waits for the
// program or keeps a handle on it.

// The shell's "open" of `relativeFile` (no leading backslash), resolved
// against AppFolder, which is also its working folder; normal window. False
// when the shell started nothing.
bool OpenInAppFolder(Services& services, std::string_view relativeFile);

// Whether a file (hidden and system files included, not a folder) lies at
// AppFolder + `relativePath` (leading backslash).
bool FileOnDrive(Services& services, std::string_view relativePath);

// The first of `relativeFiles` (no leading backslash) that is on the drive;
// the first one when none is.
std::string_view FirstOnDrive(Services& services, std::initializer_list<std::string_view> relativeFiles);

// The command line that starts AppFolder + `target` (leading backslash):
// that path as it stands, in quotes when it holds a space so that it is not
// cut at the space into a program and its arguments.
std::string BatchCommandLine(std::string_view appFolder, std::string_view target);
