#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/shell_links.h"

// One of the suite's programs as its shortcut names it. Paths are relative
// to AppFolder and begin with a backslash.
struct LaunchShortcut {
    std::string file;
    std::string target;
    std::string workingFolder;
    std::string icon;  // the icon is the first of this file
};

// The eleven shortcuts of the catalogue's batch programs, in the order they
// are written.
std::span<const LaunchShortcut> LaunchShortcutTable();

// AppFolder followed by `relative` (which begins with a backslash). At a
// drive's root ("E:\") the doubled backslash is written once: the same file,
// and a clean path inside the links.
std::string JoinToAppFolder(std::string_view appFolder, std::string_view relative);

// The link written for one row, for the tree at `appFolder`.
ShellLink LinkFor(const LaunchShortcut& row, std::string_view appFolder);

// Writes one row's shortcut file under "system\", replacing the old one.
bool WriteLaunchShortcut(std::string_view appFolder, ShellLinks& links, const LaunchShortcut& row);

// Writes the eleven shortcut files under "system\", replacing the old ones,
// so they match the drive's current place. A shortcut that cannot be written
// does not stop the others. Returns how many were written.
int WriteLaunchShortcuts(std::string_view appFolder, ShellLinks& links);
