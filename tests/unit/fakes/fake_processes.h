#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/processes.h"

// A program that runs for `runningWaits` waits and then ends (or whose wait
// fails), as scripted; records what was asked.
class FakeProcesses : public Processes {
public:
    std::optional<Handle> StartThroughShell(const ShellStart& start) override {
        starts.push_back(start);
        if (onStart) onStart(start);
        bool succeeds = startSucceeds;
        if (!startResults.empty()) {
            succeeds = startResults.front();
            startResults.pop_front();
        }
        if (!succeeds) return std::nullopt;
        return handle;
    }

    Wait WaitForEnd(Handle process, std::uint32_t milliseconds) override {
        waits.push_back({process, milliseconds});
        if (static_cast<int>(waits.size()) <= runningWaits) return Wait::kTimedOut;
        return lastWait;
    }

    std::optional<std::uint32_t> ExitCode(Handle process) override {
        exitCodeReadFor.push_back(process);
        return exitCode;
    }

    void Close(Handle process) override { closed.push_back(process); }

    bool StartCommandLine(std::string_view commandLine, int showCommand, std::string_view workingFolder) override {
        commandLines.push_back({std::string(commandLine), showCommand, std::string(workingFolder)});
        return commandLineSucceeds;
    }

    // The script.
    bool startSucceeds = true;
    std::deque<bool> startResults;  // per start, before startSucceeds applies
    std::function<void(const ShellStart&)> onStart;
    Handle handle = 0x5a4;
    int runningWaits = 0;
    Wait lastWait = Wait::kEnded;
    std::optional<std::uint32_t> exitCode = 0;
    bool commandLineSucceeds = true;

    // What was asked.
    struct WaitCall {
        Handle process;
        std::uint32_t milliseconds;
    };
    std::vector<ShellStart> starts;
    std::vector<WaitCall> waits;
    std::vector<Handle> exitCodeReadFor;
    std::vector<Handle> closed;

    // Command lines asked to start (commandLineSucceeds scripts the answer).
    struct CommandLine {
        std::string commandLine;
        int showCommand;
        std::string workingFolder;
    };
    std::vector<CommandLine> commandLines;
};
