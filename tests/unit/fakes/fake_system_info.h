#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/system_info.h"

// A host system described by the test; records the questions asked.
class FakeSystemInfo : public SystemInfo {
public:
    std::optional<OsVersion> Version() override { return version; }
    bool CanLoadLibrary(std::string_view name) override {
        librariesAsked.emplace_back(name);
        return libraries.count(std::string(name)) > 0;
    }
    std::optional<std::uint32_t> Attributes(std::string_view path) override {
        pathsAsked.emplace_back(path);
        const auto found = attributes.find(std::string(path));
        if (found == attributes.end()) return std::nullopt;
        return found->second;
    }
    bool IsWindows64Bit() override { return windows64Bit; }

    std::optional<OsVersion> version = OsVersion{2, 5, 1};
    std::set<std::string> libraries;
    std::map<std::string, std::uint32_t> attributes;
    bool windows64Bit = false;
    std::vector<std::string> librariesAsked;
    std::vector<std::string> pathsAsked;
};
