#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// File attributes, numbered as the platform numbers them.
namespace attributes {
constexpr std::uint32_t kReadOnly = 0x1;
constexpr std::uint32_t kHidden = 0x2;
constexpr std::uint32_t kSystem = 0x4;
constexpr std::uint32_t kDirectory = 0x10;
constexpr std::uint32_t kArchive = 0x20;
constexpr std::uint32_t kNormal = 0x80;
// A junction or a symbolic link: removing it removes the link, not what it
// points at.
constexpr std::uint32_t kReparsePoint = 0x400;
}  // namespace attributes

// What became of one step on the drive. Callers that must explain a failure
// to the user (a program still holds a file, the key is write-protected) can
// tell these apart; most only test for kDone.
enum class FileResult {
    kDone,
    kMissing,         // no such file or folder
    kInUse,           // another program holds it open
    kWriteProtected,  // the medium refuses every write
    kDenied,          // read-only, or the user may not change it
    kNotEmpty,        // a folder that still holds entries
    kFailed,          // anything else
    kCancelled,       // the user stopped the action before this step
};

// One entry of a folder's listing.
struct FolderEntry {
    std::string name;
    std::uint32_t attributes = 0;
};

// The drive as the behaviour sees it. Paths are absolute, UTF-8, with
// backslashes, as the launcher builds them from AppFolder (a doubled
// backslash after a drive root is taken as one).
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The first entry matching `pattern` (a folder followed by a wildcard
    // name, such as "E:\Cantarel\Bullaro\*.*") that is a file and does not
    // carry the system attribute; hidden, read-only and archived files count.
    // Nothing when there is none, when the folder does not exist or when the
    // drive cannot be read. Asks for no more of the listing than it needs.
    virtual std::optional<std::string> FirstFile(std::string_view pattern) = 0;

    // Every entry of `folder` (files and sub-folders of every attribute, in
    // the order the drive lists them, without "." and ".."), read in one
    // pass into `entries`. An empty folder or an empty drive root gives
    // kDone and no entry.
    virtual FileResult ListFolder(std::string_view folder, std::vector<FolderEntry>& entries) = 0;

    // The attributes of a file or folder.
    virtual FileResult Attributes(std::string_view path, std::uint32_t& attributes) = 0;

    // Clears read-only, hidden, system and archived on a file or folder.
    virtual FileResult ClearAttributes(std::string_view path) = 0;

    // Deletes one file (or a symbolic link to a file); it must not be
    // read-only.
    virtual FileResult RemoveFile(std::string_view path) = 0;

    // Removes one empty folder, or a junction or symbolic link to a folder
    // (the link only); it must not be read-only.
    virtual FileResult RemoveFolder(std::string_view folder) = 0;

    // Creates one folder level; its parent must exist. kDone also when the
    // folder is already there.
    virtual FileResult CreateFolder(std::string_view folder) = 0;

    // Gives a file or folder another path on the same drive, in one step: it
    // is then wholly at `to`, or still wholly at `from`. A file already at
    // `to` is replaced; a folder there is not (kFailed). A folder that holds
    // a file in use cannot be renamed (kInUse or kDenied).
    virtual FileResult Rename(std::string_view from, std::string_view to) = 0;
};
