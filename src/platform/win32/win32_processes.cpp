#include "platform/win32/win32_processes.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/system_function.h"
#include "platform/win32/wide_text.h"

namespace {

HANDLE AsHandle(Processes::Handle process) { return reinterpret_cast<HANDLE>(process); }

}  // namespace

std::optional<Processes::Handle> Win32Processes::StartThroughShell(const ShellStart& start) {
    const std::wstring file = Widen(start.file);
    const std::wstring parameters = Widen(start.parameters);
    const std::wstring folder = Widen(start.folder);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // Keep the process handle and expand environment variables in the file
    // and folder. SEE_MASK_IDLIST is left out: no identifier list is given,
    // and with none Wine's shell never returns. Without SEE_MASK_FLAG_NO_UI
    // a failed start would stop the launcher behind a box of the shell's
    // own; the caller alone reports it.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_DOENVSUBST | SEE_MASK_FLAG_NO_UI;
    info.hwnd = nullptr;
    const std::wstring verb = Widen(start.verb.empty() ? std::string("open") : start.verb);
    info.lpVerb = verb.c_str();
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    info.nShow = start.showCommand;
    static const auto shellExecute = SystemFunction<decltype(ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
    if (shellExecute == nullptr || !shellExecute(&info)) return std::nullopt;
    return reinterpret_cast<Handle>(info.hProcess);
}

Processes::Wait Win32Processes::WaitForEnd(Handle process, std::uint32_t milliseconds) {
    switch (WaitForSingleObject(AsHandle(process), milliseconds)) {
    case WAIT_OBJECT_0:
        return Wait::kEnded;
    case WAIT_TIMEOUT:
        return Wait::kTimedOut;
    default:
        return Wait::kFailed;
    }
}

std::optional<std::uint32_t> Win32Processes::ExitCode(Handle process) {
    DWORD code = 0;
    if (!GetExitCodeProcess(AsHandle(process), &code)) return std::nullopt;
    return code;
}

void Win32Processes::Close(Handle process) {
    if (process != kNoProcess) CloseHandle(AsHandle(process));
}

bool Win32Processes::StartCommandLine(std::string_view commandLine, int showCommand,
                                      std::string_view workingFolder) {
    // CreateProcessW may write into the command line: it needs its own copy.
    std::wstring line = Widen(commandLine);
    const std::wstring folder = Widen(workingFolder);
    if (line.empty()) return false;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    // A batch file gets a console of its own, hidden with the show value;
    // the launcher's handles are not inherited.
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
