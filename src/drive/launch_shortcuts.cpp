#include "drive/launch_shortcuts.h"

const std::array<LaunchShortcut, 11>& LaunchShortcutTable() {
    // Paths exactly as the suite has always written them: the file system
    // ignores case, so "maestrel" and "Maestrel" are the same folder.
    static const std::array<LaunchShortcut, 11> table{{
        {"\\system\\maestrel.lnk", "\\Cantarel\\maestrel\\maestrel.exe", "\\Cantarel\\Maestrel",
         "\\Cantarel\\Maestrel\\maestrel.exe"},
        {"\\system\\miniquadrelo.lnk", "\\Cantarel\\Mini Quadrelo\\MQuadFr.exe", "\\Cantarel\\Mini Quadrelo",
         "\\Cantarel\\Mini Quadrelo\\MQuadFr.exe"},
        {"\\system\\quadrelo.lnk", "\\Cantarel\\Quadrelo\\quadrelo.exe", "\\Cantarel\\Quadrelo",
         "\\Cantarel\\Quadrelo\\quadrelo.exe"},
        {"\\system\\pulsaro.lnk", "\\Cantarel\\Pulsaro\\pulsaro.exe", "\\Cantarel\\Pulsaro",
         "\\Cantarel\\Pulsaro\\pulsaro.exe"},
        {"\\system\\solfege.lnk", "\\Cantarel\\Solfège\\Csolfege.exe", "\\Cantarel\\Solfège",
         "\\Cantarel\\Solfège\\Csolfege.exe"},
        {"\\system\\quiz.lnk", "\\Cantarel\\Quiz\\Cquiz3.exe", "\\Cantarel\\Quiz", "\\Cantarel\\Quiz\\Cquiz3.exe"},
        {"\\system\\tonavel.lnk", "\\Cantarel\\Tonavel\\Tonavel.exe", "\\Cantarel\\Tonavel",
         "\\Cantarel\\Tonavel\\Tonavel.exe"},
        // The metronome's shortcut is named after the component, its program
        // after the suite.
        {"\\system\\metronome.lnk", "\\Cantarel\\Cantarel\\Cantarel.exe", "\\Cantarel\\Cantarel",
         "\\Cantarel\\Cantarel\\Cantarel.exe"},
        {"\\system\\symphalis.lnk", "\\Cantarel\\Symphalis\\CInstr.exe", "\\Cantarel\\Symphalis",
         "\\Cantarel\\Symphalis\\CInstr.exe"},
        {"\\system\\bullaro.lnk", "\\Cantarel\\Bullaro\\Bullaro.exe", "\\Cantarel\\Bullaro",
         "\\Cantarel\\Bullaro\\Bullaro.exe"},
        {"\\system\\clavira.lnk", "\\Cantarel\\Clavira\\Clavira.exe", "\\Cantarel\\Clavira",
         "\\Cantarel\\Clavira\\Clavira.exe"},
    }};
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

int WriteLaunchShortcuts(std::string_view appFolder, ShellLinks& links) {
    int written = 0;
    for (const LaunchShortcut& row : LaunchShortcutTable()) {
        // Nothing is checked first: a missing program still gets its
        // shortcut, and every start rewrites all eleven.
        if (links.Write(JoinToAppFolder(appFolder, row.file), LinkFor(row, appFolder))) ++written;
    }
    return written;
}
