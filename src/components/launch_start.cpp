#include "components/launch_start.h"

#include "components/component_catalogue.h"
#include "platform/file_system.h"

bool OpenInAppFolder(Services& services, std::string_view relativeFile) {
    const std::optional<Processes::Handle> started = services.processes.StartThroughShell(
        {.file = std::string(relativeFile), .parameters = "", .folder = services.appFolder, .showCommand = 1});
    if (!started) return false;
    services.processes.Close(*started);
    return true;
}

bool FileOnDrive(Services& services, std::string_view relativePath) {
    std::uint32_t found = 0;
    if (services.files.Attributes(AbsolutePath(services.appFolder, relativePath), found) != FileResult::kDone) {
        return false;
    }
    return (found & attributes::kDirectory) == 0;
}

std::string_view FirstOnDrive(Services& services, std::initializer_list<std::string_view> relativeFiles) {
    for (std::string_view file : relativeFiles) {
        if (FileOnDrive(services, "\\" + std::string(file))) return file;
    }
    return *relativeFiles.begin();
}

// Always quoted: unquoted, a space lets Windows try a shorter path first, and
// "&", "^", "(" or ")" in a folder's name would end or change the command.
std::string BatchCommandLine(std::string_view appFolder, std::string_view target) {
    return "\"" + AbsolutePath(appFolder, target) + "\"";
}
