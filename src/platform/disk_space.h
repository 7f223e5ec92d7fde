#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct DiskSpace {
    std::int64_t freeBytes = 0;
    std::int64_t totalBytes = 0;
};

// The volume and regional facts the free-space report shows.
class DiskSpaceQuery {
public:
    virtual ~DiskSpaceQuery() = default;
    // Free and total bytes of the volume that holds `folder`; nothing when
    // the volume cannot be asked (a removed key, a drive not ready).
    virtual std::optional<DiskSpace> SpaceOf(std::string_view folder) = 0;
    // The decimal separator of the user's regional settings.
    virtual std::string DecimalSeparator() = 0;
};
