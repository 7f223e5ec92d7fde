#include "drive/launch_shortcuts.h"

#include <algorithm>
#include <vector>

#include "components/component_catalogue.h"

namespace {

// The shortcut sits beside the batch file that starts its program.
std::string ShortcutBeside(std::string_view batchFile) {
    return std::string(batchFile.substr(0, batchFile.rfind('.'))) + ".lnk";
}

std::vector<LaunchShortcut> BuildTable() {
    std::vector<const Component*> batch;
    for (const Component& c : AllComponents()) {
        if (c.launch.shortcutOrder > 0) batch.push_back(&c);
    }
    std::sort(batch.begin(), batch.end(),
              [](const Component* a, const Component* b) { return a->launch.shortcutOrder < b->launch.shortcutOrder; });
    std::vector<LaunchShortcut> table;
    for (const Component* c : batch) {
        const LaunchDetails& launch = c->launch;
        table.push_back({ShortcutBeside(launch.target), std::string(launch.program), std::string(launch.workingFolder),
                         std::string(launch.icon.empty() ? launch.program : launch.icon)});
    }
    return table;
}

}  // namespace

std::span<const LaunchShortcut> LaunchShortcutTable() {
    static const std::vector<LaunchShortcut> table = BuildTable();
    return table;
}

std::string JoinToAppFolder(std::string_view appFolder, std::string_view relative) {
    std::string path(appFolder);
    if (!path.empty() && path.back() == '\\' && !relative.empty() && relative.front() == '\\') {
        relative.remove_prefix(1);
    }
    path += relative;
    return path;
}

ShellLink LinkFor(const LaunchShortcut& row, std::string_view appFolder) {
    ShellLink link;
    link.targetPath = JoinToAppFolder(appFolder, row.target);
    link.workingFolder = JoinToAppFolder(appFolder, row.workingFolder);
    link.windowStyle = 1;
    link.iconPath = JoinToAppFolder(appFolder, row.icon);
    link.iconIndex = 0;
    link.arguments.clear();
    return link;
}

// Nothing is checked first: a missing program still gets its shortcut, and
// every start rewrites all eleven.
bool WriteLaunchShortcut(std::string_view appFolder, ShellLinks& links, const LaunchShortcut& row) {
    return links.Write(JoinToAppFolder(appFolder, row.file), LinkFor(row, appFolder));
}

int WriteLaunchShortcuts(std::string_view appFolder, ShellLinks& links) {
    int written = 0;
    for (const LaunchShortcut& row : LaunchShortcutTable()) {
        if (WriteLaunchShortcut(appFolder, links, row)) ++written;
    }
    return written;
}
