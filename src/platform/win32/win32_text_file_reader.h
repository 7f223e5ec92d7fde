#pragma once

#include "platform/text_file_reader.h"

// CreateFile and ReadFile; the bytes converted from the ANSI code page.
class Win32TextFileReader : public TextFileReader {
public:
    // Larger files are refused: the launcher reads only a version file of a
    // line or two, and a server that sends something else must not fill the
    // memory.
    static constexpr unsigned long kLargestFile = 64 * 1024;

    std::optional<std::string> ReadText(std::string_view path) override;
    bool WriteText(std::string_view path, std::string_view text) override;
};
