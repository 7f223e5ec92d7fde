#pragma once

#include "platform/processes.h"

// ShellExecuteEx, and the process handle it gives back; CreateProcess for
// command lines.
class Win32Processes : public Processes {
public:
    std::optional<Handle> StartThroughShell(const ShellStart& start) override;
    Wait WaitForEnd(Handle process, std::uint32_t milliseconds) override;
    std::optional<std::uint32_t> ExitCode(Handle process) override;
    void Close(Handle process) override;
    // CreateProcess with the show value in its start-up information; the
    // handles are let go at once.
    bool StartCommandLine(std::string_view commandLine, int showCommand,
                          std::string_view workingFolder = {}) override;
};
