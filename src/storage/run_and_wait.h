#pragma once

#include <cstdint>
#include <string_view>

#include "platform/event_pump.h"
#include "platform/processes.h"

// What RunAndWait returns when the shell cannot start the file; a program
// that really exits with 10 looks the same.
constexpr std::int32_t kRunAndWaitStartFailed = 10;

// Starts `file` through the shell ("open") and returns once the started
// program has ended, with its exit code; the window's pending events are
// processed every `interval` milliseconds meanwhile. 10 when the start
// fails; 0 when the shell gives no process to wait on, or when the user asks
// to quit meanwhile (the program is left running).
std::int32_t RunAndWait(Processes& processes, EventPump& events, std::string_view file,
                        std::string_view parameters, std::string_view folder, std::int32_t showCommand,
                        std::int32_t interval);
