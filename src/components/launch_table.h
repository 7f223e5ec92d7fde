#pragma once

#include <array>
#include <span>
#include <string_view>

#include "components/component_catalogue.h"

// One program picture of the menu panels: a catalogue row's launch details,
// or the one program outside the catalogue.
struct LaunchRow {
    std::string_view id;       // catalogue id; empty for the program outside the catalogue
    std::string_view picture;  // Picture_<suffix>; its normal image is Picture_<suffix>_blanc
    std::string_view name;     // the program's name in a message
    StartKind kind;
    std::string_view target;
    std::string_view probe;
    std::string_view fallBack;
    std::array<Gate, 3> gates;
};

// The 27 rows: the catalogue's programs, then the one outside it.
std::span<const LaunchRow> LaunchRows();

// The row of a program picture, or nullptr.
const LaunchRow* FindLaunchRow(std::string_view picture);

// Whether a gate of the row can download or wait, so that the click is a
// long action.
bool MayTakeLong(const LaunchRow& row);
