#pragma once

#include <optional>
#include <string>
#include <string_view>

// Reads and writes small text files that the launcher itself keeps (the
// version file of an update check, the serials of the catalogues it accepted).
class TextFileReader {
public:
    virtual ~TextFileReader() = default;

    // The whole content of `path` (absolute, UTF-8, backslashes; a doubled
    // backslash after a drive root is taken as one), its bytes taken in the
    // system's ANSI code page and returned as UTF-8, line ends untouched.
    // Nothing when the file cannot be opened or read.
    virtual std::optional<std::string> ReadText(std::string_view path) = 0;

    // Replaces `path` with `text` (UTF-8, written in the ANSI code page) in
    // one step: a cut in the middle leaves the old content. False when it
    // could not be written.
    virtual bool WriteText(std::string_view path, std::string_view text) = 0;
};
