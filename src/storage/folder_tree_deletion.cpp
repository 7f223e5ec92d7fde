#include "storage/folder_tree_deletion.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace {

// Attributes that stand in the way of a deletion, or that the deletion
// clears on its way, as the file manager does.
constexpr std::uint32_t kClearable = attributes::kReadOnly | attributes::kHidden | attributes::kSystem;

bool IsAbsolute(std::string_view path) {
    const bool drive = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && path[2] == '\\';
    return drive || path.starts_with("\\\\");
}

class TreeDeleter {
public:
    TreeDeleter(FileSystem& files, LongAction* action) : files_(files), action_(action) {}

    // `folder` ends with one backslash. Every entry is listed once, then
    // deleted in listing order, sub-folders first emptied.
    bool Empty(const std::string& folder) {
        std::vector<FolderEntry> entries;
        if (!Step(files_.ListFolder(folder, entries), folder)) return false;
        for (const FolderEntry& entry : entries) {
            // A listing that hands back these (or nothing) must not send the
            // deletion up the tree.
            if (entry.name.empty() || entry.name == "." || entry.name == "..") continue;
            const std::string path = folder + entry.name;
            // Stopped between two entries: what is deleted stays deleted.
            if (action_ && action_->Cancelled()) return Fail(FileResult::kCancelled, path);
            const bool isFolder = (entry.attributes & attributes::kDirectory) != 0;
            const bool isLink = (entry.attributes & attributes::kReparsePoint) != 0;
            if (isFolder && !isLink && !Empty(path + "\\")) return false;
            if (!Unlink(path, entry.attributes)) return false;
            if (action_ && !isFolder) action_->Advance(1);
        }
        return true;
    }

    // Removes one emptied folder, file or link.
    bool Unlink(const std::string& path, std::uint32_t attrs) {
        if ((attrs & kClearable) != 0 && !Step(files_.ClearAttributes(path), path)) return false;
        const bool isFolder = (attrs & attributes::kDirectory) != 0;
        return Step(isFolder ? files_.RemoveFolder(path) : files_.RemoveFile(path), path);
    }

    bool Fail(FileResult result, std::string path) {
        outcome.result = result;
        outcome.stoppedAt = std::move(path);
        return false;
    }

    FolderTreeDeletion outcome;

private:
    bool Step(FileResult result, const std::string& path) { return result == FileResult::kDone || Fail(result, path); }

    FileSystem& files_;
    LongAction* action_;
};

}  // namespace

FolderTreeDeletion DeleteFolderTreeExplained(FileSystem& files, std::string_view folderPath, LongAction* action) {
    TreeDeleter deleter(files, action);
    std::string folder(folderPath);
    // An empty or relative path would be taken from the current folder:
    // never delete what the caller did not name.
    if (!IsAbsolute(folder)) {
        deleter.Fail(FileResult::kFailed, folder);
        return deleter.outcome;
    }
    // "E:\" + "\" is still the root.
    while (folder.size() > 3 && folder.ends_with("\\\\")) folder.pop_back();
    if (!folder.ends_with('\\')) folder += '\\';

    if (folder.ends_with(":\\")) {
        deleter.Empty(folder);
        return deleter.outcome;
    }

    const std::string self = folder.substr(0, folder.size() - 1);
    std::uint32_t attrs = 0;
    const FileResult read = files.Attributes(self, attrs);
    if (read != FileResult::kDone) {
        deleter.Fail(read, self);
    } else if ((attrs & attributes::kDirectory) == 0) {
        deleter.Fail(FileResult::kFailed, self);  // a file, not a folder: left alone
    } else if ((attrs & attributes::kReparsePoint) != 0) {
        deleter.Unlink(self, attrs);  // the link goes, its target stays
    } else if (deleter.Empty(folder)) {
        deleter.Unlink(self, attrs);
    }
    return deleter.outcome;
}

bool DeleteFolderTree(FileSystem& files, std::string_view folder) {
    return DeleteFolderTreeExplained(files, folder).Done();
}
