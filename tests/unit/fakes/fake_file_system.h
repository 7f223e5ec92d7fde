#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"

// A drive in memory: folders and the entries (files, sub-folders, links)
// they hold, in the order they were added. Names are compared without regard
// to (ASCII) case, as the file system does; a doubled backslash inside a path
// counts as one, and a trailing backslash names the folder itself.
class FakeFileSystem : public FileSystem {
public:
    // Adds a file; `path` is absolute with backslashes. Its folders exist.
    void AddFile(const std::string& path, bool system = false) {
        AddFileWithAttributes(path, system ? attributes::kSystem : attributes::kArchive);
    }
    void AddFileWithAttributes(const std::string& path, std::uint32_t attrs) {
        const std::string clean = Clean(path);
        const auto [parent, name] = Split(clean);
        EnsureFolder(parent);
        Put(parent, name, attrs & ~attributes::kDirectory);
    }
    void AddFolder(const std::string& folder) { EnsureFolder(Clean(folder)); }
    void AddFolderWithAttributes(const std::string& folder, std::uint32_t attrs) {
        const std::string clean = Clean(folder);
        EnsureFolder(clean);
        if (!IsRoot(clean)) Find(clean)->attributes = attrs | attributes::kDirectory;
    }
    // A junction: listed as a folder with the reparse-point attribute; it
    // cannot be listed itself, so a walk that enters it fails.
    void AddJunction(const std::string& path) {
        const std::string clean = Clean(path);
        const auto [parent, name] = Split(clean);
        EnsureFolder(parent);
        Put(parent, name, attributes::kDirectory | attributes::kReparsePoint);
    }

    // Every change to `path` fails with `result` (a file held open, ...).
    void FailOn(const std::string& path, FileResult result) { failures_[Key(Clean(path))] = result; }

    bool Exists(const std::string& path) const {
        const std::string clean = Clean(path);
        if (IsRoot(clean)) return folders_.count(Key(clean)) != 0;
        return Find(clean) != nullptr;
    }
    std::uint32_t AttributesOf(const std::string& path) const {
        const Entry* entry = Find(Clean(path));
        return entry ? entry->attributes : 0;
    }

    std::optional<std::string> FirstFile(std::string_view pattern) override {
        patterns.emplace_back(pattern);
        const std::string folder(pattern.substr(0, pattern.rfind('\\') + 1));
        const auto found = folders_.find(Key(Clean(folder)));
        if (found == folders_.end()) return std::nullopt;
        for (const Entry& entry : found->second) {
            if ((entry.attributes & (attributes::kDirectory | attributes::kSystem)) == 0) return entry.name;
        }
        return std::nullopt;
    }

    FileResult ListFolder(std::string_view folder, std::vector<FolderEntry>& entries) override {
        entries.clear();
        operations.push_back("list " + std::string(folder));
        const auto found = folders_.find(Key(Clean(std::string(folder))));
        if (found == folders_.end()) return FileResult::kMissing;
        for (const Entry& entry : found->second) entries.push_back({entry.name, entry.attributes});
        return FileResult::kDone;
    }

    FileResult Attributes(std::string_view path, std::uint32_t& attrs) override {
        const std::string clean = Clean(std::string(path));
        if (IsRoot(clean)) {
            if (folders_.count(Key(clean)) == 0) return FileResult::kMissing;
            attrs = attributes::kDirectory;
            return FileResult::kDone;
        }
        const Entry* entry = Find(clean);
        if (!entry) return FileResult::kMissing;
        attrs = entry->attributes;
        return FileResult::kDone;
    }

    FileResult ClearAttributes(std::string_view path) override {
        const std::string clean = Clean(std::string(path));
        operations.push_back("clear " + clean);
        if (const auto refused = Refusal(clean)) return *refused;
        Entry* entry = Find(clean);
        if (!entry) return FileResult::kMissing;
        const std::uint32_t kept = entry->attributes & (attributes::kDirectory | attributes::kReparsePoint);
        entry->attributes = kept ? kept : attributes::kNormal;
        return FileResult::kDone;
    }

    FileResult RemoveFile(std::string_view path) override {
        const std::string clean = Clean(std::string(path));
        operations.push_back("delete " + clean);
        if (const auto refused = Refusal(clean)) return *refused;
        Entry* entry = Find(clean);
        if (!entry) return FileResult::kMissing;
        if ((entry->attributes & (attributes::kDirectory | attributes::kReadOnly)) != 0) return FileResult::kDenied;
        Erase(clean);
        return FileResult::kDone;
    }

    FileResult RemoveFolder(std::string_view folder) override {
        const std::string clean = Clean(std::string(folder));
        operations.push_back("rmdir " + clean);
        if (const auto refused = Refusal(clean)) return *refused;
        Entry* entry = Find(clean);
        if (!entry) return FileResult::kMissing;
        if ((entry->attributes & attributes::kDirectory) == 0) return FileResult::kFailed;
        if ((entry->attributes & attributes::kReadOnly) != 0) return FileResult::kDenied;
        if ((entry->attributes & attributes::kReparsePoint) == 0) {
            const auto contents = folders_.find(Key(clean));
            if (contents != folders_.end() && !contents->second.empty()) return FileResult::kNotEmpty;
            folders_.erase(Key(clean));
        }
        Erase(clean);
        return FileResult::kDone;
    }

    FileResult CreateFolder(std::string_view folder) override {
        const std::string clean = Clean(std::string(folder));
        operations.push_back("mkdir " + clean);
        if (const auto refused = Refusal(clean)) return *refused;
        if (const Entry* entry = Find(clean)) {
            return (entry->attributes & attributes::kDirectory) ? FileResult::kDone : FileResult::kFailed;
        }
        const auto [parent, name] = Split(clean);
        if (folders_.count(Key(parent)) == 0) return FileResult::kMissing;
        EnsureFolder(clean);
        return FileResult::kDone;
    }

    FileResult Rename(std::string_view from, std::string_view to) override {
        const std::string source = Clean(std::string(from));
        const std::string target = Clean(std::string(to));
        operations.push_back("rename " + source + " -> " + target);
        if (const auto refused = Refusal(source)) return *refused;
        if (const auto refused = Refusal(target)) return *refused;
        const Entry* entry = Find(source);
        if (!entry) return FileResult::kMissing;
        // Windows refuses to move a folder while a file inside is open.
        for (const auto& [path, failure] : failures_) {
            if (path.starts_with(Key(source) + "\\") && (failure == FileResult::kInUse || failure == FileResult::kDenied)) {
                return failure;
            }
        }
        const auto [parent, name] = Split(target);
        if (folders_.count(Key(parent)) == 0) return FileResult::kMissing;
        const std::uint32_t attrs = entry->attributes;
        if (const Entry* there = Find(target)) {
            if ((there->attributes | attrs) & attributes::kDirectory) return FileResult::kFailed;
            Erase(target);
        }
        Erase(source);
        Put(parent, name, attrs);
        if (attrs & attributes::kDirectory) {
            // The folder's listing and those of every folder below it move along.
            const std::string prefix = Key(source);
            std::map<std::string, std::vector<Entry>> moved;
            for (auto it = folders_.begin(); it != folders_.end();) {
                if (it->first == prefix || it->first.starts_with(prefix + "\\")) {
                    moved[Key(target) + it->first.substr(prefix.size())] = std::move(it->second);
                    it = folders_.erase(it);
                } else {
                    ++it;
                }
            }
            for (auto& [key, entries] : moved) folders_[key] = std::move(entries);
        }
        return FileResult::kDone;
    }

    bool writeProtected = false;         // every change fails as on a protected key
    std::vector<std::string> patterns;    // every FirstFile listing asked for, in order
    std::vector<std::string> operations;  // every other call, in order ("list", "clear", "delete", "rmdir", "mkdir", "rename")

private:
    struct Entry {
        std::string name;
        std::uint32_t attributes;
    };

    // Doubled backslashes as one; no trailing backslash but at a root ("E:\").
    static std::string Clean(const std::string& path) {
        std::string clean;
        for (char c : path) {
            if (c == '\\' && clean.size() > 1 && clean.back() == '\\') continue;
            clean += c;
        }
        while (clean.size() > 3 && clean.back() == '\\') clean.pop_back();
        return clean;
    }
    static bool IsRoot(const std::string& clean) { return clean.size() == 3 && clean[1] == ':' && clean[2] == '\\'; }
    static std::string Key(const std::string& clean) {
        std::string key = clean;
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return key;
    }
    static std::pair<std::string, std::string> Split(const std::string& clean) {
        const std::size_t slash = clean.rfind('\\');
        std::string parent = clean.substr(0, slash);
        if (parent.size() == 2 && parent[1] == ':') parent += '\\';
        return {parent, clean.substr(slash + 1)};
    }

    const Entry* Find(const std::string& clean) const {
        if (IsRoot(clean) || clean.find('\\') == std::string::npos) return nullptr;
        const auto [parent, name] = Split(clean);
        const auto folder = folders_.find(Key(parent));
        if (folder == folders_.end()) return nullptr;
        for (const Entry& entry : folder->second) {
            if (Key(entry.name) == Key(name)) return &entry;
        }
        return nullptr;
    }
    Entry* Find(const std::string& clean) {
        return const_cast<Entry*>(static_cast<const FakeFileSystem*>(this)->Find(clean));
    }
    // Adds the folder and its parents where missing; keeps the attributes of
    // those already there.
    void EnsureFolder(const std::string& clean) {
        folders_[Key(clean)];
        if (IsRoot(clean) || clean.find('\\') == std::string::npos || Find(clean)) return;
        const auto [parent, name] = Split(clean);
        EnsureFolder(parent);
        Put(parent, name, attributes::kDirectory);
    }
    void Put(const std::string& parent, const std::string& name, std::uint32_t attrs) {
        const std::string path = IsRoot(parent) ? parent + name : parent + "\\" + name;
        if (Entry* entry = Find(path)) {
            entry->attributes = attrs;
            return;
        }
        folders_[Key(parent)].push_back({name, attrs});
    }
    void Erase(const std::string& clean) {
        const auto [parent, name] = Split(clean);
        std::vector<Entry>& entries = folders_[Key(parent)];
        std::erase_if(entries, [&](const Entry& entry) { return Key(entry.name) == Key(name); });
    }
    std::optional<FileResult> Refusal(const std::string& clean) const {
        if (writeProtected) return FileResult::kWriteProtected;
        const auto failure = failures_.find(Key(clean));
        if (failure == failures_.end()) return std::nullopt;
        return failure->second;
    }

    std::map<std::string, std::vector<Entry>> folders_;
    std::map<std::string, FileResult> failures_;
};
