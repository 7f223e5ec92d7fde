#pragma once

#include <array>
#include <span>
#include <string_view>

// How a program picture starts its program.
enum class StartKind {
    kShellOpen,  // a file relative to AppFolder handed to the shell's "open"
    kBatch,      // a batch file under system\ started as a hidden process
};

// The checks that run before a program starts; the first that does not let
// the launch through ends the click.
enum class Gate { kNone, kDotNet4, kDotNet35, kSqlCompact35, kRefuse64Bit, kLibraries };

// One program picture of the menu panels.
struct LaunchRow {
    std::string_view id;       // catalogue id; empty for the program outside the catalogue
    std::string_view picture;  // Picture_<suffix>; its normal image is Picture_<suffix>_blanc
    std::string_view name;     // the program's name in a message
    StartKind kind;
    // Shell open: relative, no leading backslash. Batch: appended to AppFolder.
    std::string_view target;
    // When set: the target is used if this file (leading backslash, appended
    // to AppFolder) is on the drive, `fallBack` if not.
    std::string_view probe;
    std::string_view fallBack;
    std::array<Gate, 3> gates;
};

// The 27 rows, in the order of the catalogue's folders.
std::span<const LaunchRow> LaunchRows();

// The row of a program picture, or nullptr.
const LaunchRow* FindLaunchRow(std::string_view picture);

// Whether a gate of the row can download or wait, so that the click is a
// long action.
bool MayTakeLong(const LaunchRow& row);
