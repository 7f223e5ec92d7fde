#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

// What an update package may bring: the launcher's own files, at the root of
// AppFolder. Anything else (a sub-folder, a script, another program's DLL)
// has no business in a launcher update.
bool OnlyLauncherFiles(const std::vector<std::string>& packageFiles);

// Puts each of `packageFiles` from `staged` into `appFolder`, the file it
// replaces first moved into `retired` (all three folders on the drive, with
// a trailing backslash). Renames only, so a running launcher's own file can
// be replaced. When a step is refused, every file already swapped is put
// back as it was and the refusal is returned.
FileResult SwapInLauncherFiles(FileSystem& files, const std::string& staged, const std::string& appFolder,
                               const std::string& retired, const std::vector<std::string>& packageFiles);
