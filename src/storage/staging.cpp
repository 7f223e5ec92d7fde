#include "storage/staging.h"

#include "storage/folder_tree_deletion.h"

namespace {

std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

bool IsFolder(std::uint32_t attrs) {
    return (attrs & attributes::kDirectory) != 0 && (attrs & attributes::kReparsePoint) == 0;
}

}  // namespace

std::string StagingPath(std::string_view appFolder, std::string_view name) {
    std::string path(appFolder);
    if (path.ends_with('\\')) path.pop_back();
    return path + std::string(kStagingFolder) + std::string(name);
}

FileResult PrepareStaging(FileSystem& files, std::string_view appFolder, std::string_view name) {
    const std::string folder = StagingPath(appFolder, name) + "\\";
    std::uint32_t attrs = 0;
    if (files.Attributes(folder, attrs) == FileResult::kDone) {
        const FolderTreeDeletion cleared = DeleteFolderTreeExplained(files, folder);
        if (!cleared.Done()) return cleared.result;
    }
    return CreateFolderPath(files, folder);
}

void RemoveStaging(FileSystem& files, std::string_view appFolder) {
    const std::string folder = StagingPath(appFolder);
    std::uint32_t attrs = 0;
    if (files.Attributes(folder, attrs) == FileResult::kDone) DeleteFolderTree(files, folder);
}

FileResult CreateFolderPath(FileSystem& files, std::string_view folder) {
    const std::string path = WithoutTrailingBackslash(std::string(folder));
    // A drive root, or a folder already there, is not created again.
    std::uint32_t attrs = 0;
    if (files.Attributes(path, attrs) == FileResult::kDone) {
        return IsFolder(attrs) ? FileResult::kDone : FileResult::kFailed;
    }
    const FileResult made = files.CreateFolder(path);
    if (made != FileResult::kMissing) return made;
    const std::size_t slash = path.rfind('\\');
    // The drive root itself, or a path with no parent, cannot be created.
    if (slash == std::string::npos || slash < 3) return made;
    const FileResult parent = CreateFolderPath(files, path.substr(0, slash));
    return parent == FileResult::kDone ? files.CreateFolder(path) : parent;
}

FileResult ListFilesBelow(FileSystem& files, const std::string& folder, std::vector<std::string>& relative) {
    std::vector<FolderEntry> entries;
    if (const FileResult listed = files.ListFolder(folder, entries); listed != FileResult::kDone) return listed;
    for (const FolderEntry& entry : entries) {
        if (entry.name.empty() || entry.name == "." || entry.name == "..") continue;
        if (!IsFolder(entry.attributes)) {
            relative.push_back(entry.name);
            continue;
        }
        std::vector<std::string> below;
        if (const FileResult inner = ListFilesBelow(files, folder + entry.name + "\\", below);
            inner != FileResult::kDone) {
            return inner;
        }
        // An empty folder is listed too, so that nothing staged goes unseen.
        if (below.empty()) relative.push_back(entry.name + "\\");
        for (const std::string& name : below) relative.push_back(entry.name + "\\" + name);
    }
    return FileResult::kDone;
}

FileResult MoveIntoPlace(FileSystem& files, const std::string& staged, const std::string& target) {
    std::uint32_t attrs = 0;
    const FileResult there = files.Attributes(target, attrs);
    if (there == FileResult::kMissing) return files.Rename(staged, target);
    if (there != FileResult::kDone) return there;
    if (!IsFolder(attrs)) return FileResult::kFailed;

    std::vector<FolderEntry> entries;
    if (const FileResult listed = files.ListFolder(staged + "\\", entries); listed != FileResult::kDone) return listed;
    for (const bool folders : {true, false}) {
        for (const FolderEntry& entry : entries) {
            if (entry.name.empty() || entry.name == "." || entry.name == "..") continue;
            if (IsFolder(entry.attributes) != folders) continue;
            const std::string from = staged + "\\" + entry.name;
            const std::string to = target + "\\" + entry.name;
            const FileResult moved = folders ? MoveIntoPlace(files, from, to) : files.Rename(from, to);
            if (moved != FileResult::kDone) return moved;
        }
    }
    return FileResult::kDone;
}
