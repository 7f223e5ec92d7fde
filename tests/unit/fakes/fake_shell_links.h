#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/shell_links.h"

// Records every link written; refuses the files named in `failing`.
class FakeShellLinks : public ShellLinks {
public:
    struct Written {
        std::string path;
        ShellLink link;
    };

    bool Write(std::string_view linkPath, const ShellLink& link) override {
        attempts.emplace_back(linkPath);
        if (onWrite) onWrite();
        if (refuseAll || failing.count(std::string(linkPath))) return false;
        written.push_back({std::string(linkPath), link});
        return true;
    }

    std::vector<std::string> attempts;  // every write asked for, in order
    std::vector<Written> written;       // the ones that succeeded
    std::set<std::string> failing;
    bool refuseAll = false;             // a write-protected or removed drive
    std::function<void()> onWrite;
};
