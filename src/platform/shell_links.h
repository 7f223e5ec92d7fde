#pragma once

#include <string>
#include <string_view>

// The fields of a shell link (".lnk") that the launcher sets; every other
// field keeps what the platform gives a new link.
struct ShellLink {
    std::string targetPath;     // absolute
    std::string workingFolder;  // absolute, no trailing backslash
    int windowStyle = 1;        // as the platform numbers show commands: 1 is a normal window
    std::string iconPath;       // absolute; with iconIndex, the link's icon location
    int iconIndex = 0;
    std::string arguments;
};

// Writes shell links on the drive.
class ShellLinks {
public:
    virtual ~ShellLinks() = default;

    // Writes `link` into the file `linkPath` (absolute), creating it or
    // replacing an existing one. False when the link could not be written
    // (folder missing, drive write-protected, full or gone); never throws.
    virtual bool Write(std::string_view linkPath, const ShellLink& link) = 0;
};
