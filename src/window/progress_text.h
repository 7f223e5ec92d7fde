#pragma once

#include <cstdint>
#include <string>

#include "platform/long_action.h"

// How far a long action is, as the waiting bar shows it.
struct ProgressFigures {
    LongAction::Phase phase = LongAction::Phase::kDownload;
    std::uint64_t done = 0;   // bytes or files
    std::uint64_t total = 0;  // 0 when unknown
    double seconds = 0;       // since the phase began
};

// The bar's position, 0 to 1000; nothing to show when the total is unknown.
int ProgressPermille(const ProgressFigures& figures);

// The line beside the bar, in French: for a download the percentage, the
// megabytes done and in all, the speed and the time left ("12 % - 12,4 Mo
// sur 310,0 Mo - 1,2 Mo/s - encore 4 min"); for an extraction and a
// removal the files done so far.
std::string ProgressText(const ProgressFigures& figures);
