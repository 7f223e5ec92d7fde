#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/long_action.h"

// How a folder-tree deletion ended: kDone, or why it stopped and at which
// entry (what was deleted before that stays deleted).
struct FolderTreeDeletion {
    FileResult result = FileResult::kDone;
    std::string stoppedAt;

    bool Done() const { return result == FileResult::kDone; }
};

// Deletes `folder` (an absolute path ending with a backslash) with
// everything in it, whatever the attributes; a drive root ("E:\") is
// emptied and kept. Stops at the first entry that cannot be deleted. A
// junction or symbolic link in the tree is removed as a link; what it points
// at is never entered. With `action`, each file deleted is reported to it,
// and a request to stop ends the deletion between two entries (kCancelled).
FolderTreeDeletion DeleteFolderTreeExplained(FileSystem& files, std::string_view folder,
                                             LongAction* action = nullptr);

// The same, true when everything is gone.
bool DeleteFolderTree(FileSystem& files, std::string_view folder);
