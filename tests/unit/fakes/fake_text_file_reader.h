#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/text_file_reader.h"

// Files with a content, by exact path; any other path cannot be opened.
// Writes land in `contents` unless the drive is made read-only.
class FakeTextFileReader : public TextFileReader {
public:
    std::optional<std::string> ReadText(std::string_view path) override {
        reads.emplace_back(path);
        const auto found = contents.find(std::string(path));
        if (found == contents.end()) return std::nullopt;
        return found->second;
    }

    bool WriteText(std::string_view path, std::string_view text) override {
        if (!writable) return false;
        contents[std::string(path)] = std::string(text);
        return true;
    }

    bool writable = true;

    std::map<std::string, std::string> contents;
    std::vector<std::string> reads;
};
