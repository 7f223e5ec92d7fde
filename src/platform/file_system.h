#pragma once

#include <optional>
#include <string>
#include <string_view>

// The drive as the behaviour sees it. Paths are absolute, UTF-8, with
// backslashes, as the launcher builds them from AppFolder.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The first entry matching `pattern` (a folder followed by a wildcard
    // name, such as "E:\Cantarel\Bullaro\*.*") that is a file and does not
    // carry the system attribute; hidden, read-only and archived files count.
    // Nothing when there is none, when the folder does not exist or when the
    // drive cannot be read. Asks for no more of the listing than it needs.
    virtual std::optional<std::string> FirstFile(std::string_view pattern) = 0;
};
