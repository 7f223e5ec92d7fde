#pragma once

#include "platform/processes.h"

// ShellExecuteEx, and the process handle it gives back.
class Win32Processes : public Processes {
public:
    std::optional<Handle> StartThroughShell(const ShellStart& start) override;
    Wait WaitForEnd(Handle process, std::uint32_t milliseconds) override;
    std::optional<std::uint32_t> ExitCode(Handle process) override;
    void Close(Handle process) override;
};
