#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/disk_space.h"

// A byte count as the report shows it: up to 999 in bytes with a sign
// position, then in the next unit of 1024 from 999 of the smaller one, with
// two decimals and the given decimal separator.
std::string FormatByteSize(std::int64_t bytes, std::string_view decimalSeparator);

// The three lines "Espace Libre", "Espace Total", "Espace Utilisé" of the
// volume that holds `appFolder`, joined by CR LF; all zero when the volume
// cannot be asked.
std::string DiskSpaceReport(std::string_view appFolder, DiskSpaceQuery& disk);
