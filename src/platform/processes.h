#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the shell is asked to start: a program or a document opened with the
// "open" verb; environment variables ("%SystemRoot%") in the file and the
// folder are expanded.
struct ShellStart {
    std::string file;
    std::string parameters;  // may be empty
    std::string folder;      // working folder; empty: the launcher's own
    int showCommand = 1;     // the platform's window-show value
    std::string verb = "open";  // "runas" asks for administrator rights
};

// Starting a program through the shell and waiting for its end.
class Processes {
public:
    // A started process; kNoProcess when the shell started the file without
    // a process of its own to wait on (a document handed to a program that
    // was already running).
    using Handle = std::uintptr_t;
    static constexpr Handle kNoProcess = 0;

    enum class Wait { kEnded, kTimedOut, kFailed };

    virtual ~Processes() = default;

    // Nothing when the shell could not start the file (missing file, no
    // program for its type); it shows no message of its own.
    virtual std::optional<Handle> StartThroughShell(const ShellStart& start) = 0;

    // Waits at most `milliseconds` for the process to end.
    virtual Wait WaitForEnd(Handle process, std::uint32_t milliseconds) = 0;

    // The exit code; nothing when it cannot be read.
    virtual std::optional<std::uint32_t> ExitCode(Handle process) = 0;

    // Lets go of a handle returned by StartThroughShell.
    virtual void Close(Handle process) = 0;

    // Starts `commandLine` (the program's path, unquoted, then its
    // arguments) as a new process with the window-show value `showCommand`
    // (0 hidden, 1 normal with the focus), in `workingFolder` (empty: the
    // launcher's own); does not wait for it. False when it could not be
    // started; it shows no message of its own.
    virtual bool StartCommandLine(std::string_view commandLine, int showCommand,
                                  std::string_view workingFolder = {}) = 0;
};
