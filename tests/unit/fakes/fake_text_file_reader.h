#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/text_file_reader.h"

// Files with a content, by exact path; any other path cannot be opened.
class FakeTextFileReader : public TextFileReader {
public:
    std::optional<std::string> ReadText(std::string_view path) override {
        reads.emplace_back(path);
        const auto found = contents.find(std::string(path));
        if (found == contents.end()) return std::nullopt;
        return found->second;
    }

    std::map<std::string, std::string> contents;
    std::vector<std::string> reads;
};
