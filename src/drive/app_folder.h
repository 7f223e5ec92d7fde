#pragma once

#include <string>
#include <string_view>

// AppFolder from the full path of the launcher's executable: its folder
// without a trailing backslash, except at a drive's root, where the root
// keeps its backslash ("E:\").
std::string AppFolderOf(std::string_view executablePath);
