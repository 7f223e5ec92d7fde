#include "drive/app_folder.h"

std::string AppFolderOf(std::string_view executablePath) {
    const std::size_t slash = executablePath.find_last_of("\\/");
    if (slash == std::string_view::npos) return std::string(executablePath);
    std::string folder(executablePath.substr(0, slash));
    // "E:" alone names the drive's current folder, not its root.
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}
