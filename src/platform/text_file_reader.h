#pragma once

#include <optional>
#include <string>
#include <string_view>

// Reads small text files that the launcher itself wrote (the version file of
// an update check).
class TextFileReader {
public:
    virtual ~TextFileReader() = default;

    // The whole content of `path` (absolute, UTF-8, backslashes; a doubled
    // backslash after a drive root is taken as one), its bytes taken in the
    // system's ANSI code page and returned as UTF-8, line ends untouched.
    // Nothing when the file cannot be opened or read.
    virtual std::optional<std::string> ReadText(std::string_view path) = 0;
};
