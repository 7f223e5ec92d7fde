#pragma once

// For the start-up benchmark: when CANTAREL_STARTUP_TRACE names a file, each
// phase of the start is stamped with the performance counter and the stamps
// are written there once the last phase is reached, one
// "<phase>\t<counter>\t<frequency>" line each. Otherwise nothing is kept.
void MarkStartupPhase(const char* phase);
// Writes the stamps (the last phase); later marks are ignored.
void FinishStartupTrace(const char* lastPhase);
