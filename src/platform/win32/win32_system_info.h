#pragma once

#include <windows.h>

#include "platform/system_info.h"

class Win32SystemInfo : public SystemInfo {
public:
    std::optional<OsVersion> Version() override;
    bool CanLoadLibrary(std::string_view name) override;
    std::optional<std::uint32_t> Attributes(std::string_view path) override;
    bool IsWindows64Bit() override;
};

// Whether `process` is a 32-bit process on a 64-bit Windows, asked through
// IsWow64Process as `kernel` exports it. False where the module lacks the
// call (Windows before XP SP2) or the call fails.
bool Wow64Flag(HMODULE kernel, HANDLE process);
