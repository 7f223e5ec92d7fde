#include "storage/run_and_wait.h"

#include <string>

std::int32_t RunAndWait(Processes& processes, EventPump& events, std::string_view file,
                        std::string_view parameters, std::string_view folder, std::int32_t showCommand,
                        std::int32_t interval) {
    const std::optional<Processes::Handle> process =
        processes.StartThroughShell({std::string(file), std::string(parameters), std::string(folder), showCommand});
    if (!process) return kRunAndWaitStartFailed;
    if (*process == Processes::kNoProcess) return 0;

    // A negative interval would become an endless wait and freeze the window.
    const std::uint32_t slice = interval < 0 ? 0 : static_cast<std::uint32_t>(interval);
    while (processes.WaitForEnd(*process, slice) == Processes::Wait::kTimedOut) {
        events.ProcessPendingEvents();
        if (events.QuitAsked()) {
            // The program goes on by itself; the launcher stops waiting.
            processes.Close(*process);
            return 0;
        }
    }
    const std::uint32_t code = processes.ExitCode(*process).value_or(0);
    processes.Close(*process);
    return static_cast<std::int32_t>(code);
}
