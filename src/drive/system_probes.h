#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/system_info.h"

// The Windows version's name as the prerequisite checks compare it ("Windows
// XP"); "Unable to identify your version of Windows." when the system gave no
// version, the empty text for a platform it does not know.
std::string WindowsVersionName(const std::optional<OsVersion>& version);

// The four questions the prerequisite checks ask. None reports anything or
// fails: a question that cannot be answered gets the neutral answer.
std::string GetWindowsVersion(SystemInfo& system);
bool IsDLLAvailable(SystemInfo& system, std::string_view name);
bool FileExists(SystemInfo& system, std::string_view path);
bool Is64BitSystem(SystemInfo& system);
