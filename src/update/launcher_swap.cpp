#include "update/launcher_swap.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

constexpr std::array<std::string_view, 2> kLauncherFiles = {"CantarelPortable.exe", "unzip32.dll"};

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsLauncherFile(std::string_view name) {
    return std::any_of(kLauncherFiles.begin(), kLauncherFiles.end(),
                       [&](std::string_view file) { return SameName(file, name); });
}

// One file swapped: where the new one came from, and whether an old one was retired.
struct Swapped {
    std::string name;
    bool retired = false;
};

}  // namespace

bool OnlyLauncherFiles(const std::vector<std::string>& packageFiles) {
    const bool bringsTheProgram = std::any_of(packageFiles.begin(), packageFiles.end(),
                                              [](const std::string& f) { return SameName(f, kLauncherFiles[0]); });
    return bringsTheProgram && std::all_of(packageFiles.begin(), packageFiles.end(), IsLauncherFile);
}

FileResult SwapInLauncherFiles(FileSystem& files, const std::string& staged, const std::string& appFolder,
                               const std::string& retired, const std::vector<std::string>& packageFiles) {
    std::vector<Swapped> done;
    const auto putBack = [&] {
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            files.Rename(appFolder + it->name, staged + it->name);
            if (it->retired) files.Rename(retired + it->name, appFolder + it->name);
        }
    };
    for (const std::string& name : packageFiles) {
        Swapped step{name};
        std::uint32_t attrs = 0;
        if (files.Attributes(appFolder + name, attrs) == FileResult::kDone) {
            if (const FileResult moved = files.Rename(appFolder + name, retired + name); moved != FileResult::kDone) {
                putBack();
                return moved;
            }
            step.retired = true;
        }
        if (const FileResult moved = files.Rename(staged + name, appFolder + name); moved != FileResult::kDone) {
            if (step.retired) files.Rename(retired + name, appFolder + name);
            putBack();
            return moved;
        }
        done.push_back(step);
    }
    return FileResult::kDone;
}
