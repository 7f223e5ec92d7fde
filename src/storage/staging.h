#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

// Installs and updates are prepared in a folder of AppFolder, so on the same
// drive as their destination: what is put in place arrives by rename, whole,
// and what a pulled key or a failure leaves behind lies only there.
inline constexpr std::string_view kStagingFolder = "\\Installation en cours\\";

// AppFolder's staging folder, followed by `name` (no leading backslash).
std::string StagingPath(std::string_view appFolder, std::string_view name = "");

// An empty staging folder for `name`: whatever an earlier attempt left there
// is deleted first. kDone, or why the drive refused.
FileResult PrepareStaging(FileSystem& files, std::string_view appFolder, std::string_view name);

// Deletes the staging folder with what it holds; a drive that refuses keeps
// it for the next start.
void RemoveStaging(FileSystem& files, std::string_view appFolder);

// Creates `folder` (absolute, ending with a backslash) and every missing
// level above it.
FileResult CreateFolderPath(FileSystem& files, std::string_view folder);

// Every file below `folder` (ending with a backslash), as paths relative to
// it with backslashes, sub-folders' files included. A link to a folder is
// listed as a file: it is never entered.
FileResult ListFilesBelow(FileSystem& files, const std::string& folder, std::vector<std::string>& relative);

// Puts the staged folder `staged` in place as `target` (both without a
// trailing backslash). Where `target` does not exist yet this is one rename.
// Where it does, the staged entries are moved in one by one: sub-folders
// before files at every level, so the files a scan tests for arrive last.
FileResult MoveIntoPlace(FileSystem& files, const std::string& staged, const std::string& target);
