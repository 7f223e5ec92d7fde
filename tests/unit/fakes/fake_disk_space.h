#pragma once

#include <string>
#include <vector>

#include "platform/disk_space.h"

// A volume of fixed size, or none when `space` is empty.
class FakeDiskSpace : public DiskSpaceQuery {
public:
    std::optional<DiskSpace> space = DiskSpace{2'147'483'648, 8'053'063'680};
    std::string separator = ",";
    std::vector<std::string> asked;

    std::optional<DiskSpace> SpaceOf(std::string_view folder) override {
        asked.emplace_back(folder);
        return space;
    }
    std::string DecimalSeparator() override { return separator; }
};
