#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

// A drive in memory: folders and the files they hold directly. Names are
// compared without regard to (ASCII) case, as the file system does.
class FakeFileSystem : public FileSystem {
public:
    // Adds a file; `path` is absolute with backslashes. Its folder exists.
    void AddFile(const std::string& path, bool system = false) {
        const std::size_t slash = path.rfind('\\');
        files_[Key(path.substr(0, slash + 1))].push_back({path.substr(slash + 1), system});
    }
    void AddFolder(const std::string& folder) { files_[Key(folder)]; }

    std::optional<std::string> FirstFile(std::string_view pattern) override {
        patterns.emplace_back(pattern);
        const std::string folder(pattern.substr(0, pattern.rfind('\\') + 1));
        const auto found = files_.find(Key(folder));
        if (found == files_.end()) return std::nullopt;
        for (const Entry& entry : found->second) {
            if (!entry.system) return entry.name;
        }
        return std::nullopt;
    }

    std::vector<std::string> patterns;  // every listing asked for, in order

private:
    struct Entry {
        std::string name;
        bool system;
    };
    // The file system also takes a doubled backslash inside a path as one.
    static std::string Key(const std::string& path) {
        std::string key;
        for (char c : path) {
            if (c == '\\' && key.size() > 1 && key.back() == '\\') continue;
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return key;
    }
    std::map<std::string, std::vector<Entry>> files_;
};
