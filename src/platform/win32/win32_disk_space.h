#pragma once

#include "platform/disk_space.h"

class Win32DiskSpace : public DiskSpaceQuery {
public:
    std::optional<DiskSpace> SpaceOf(std::string_view folder) override;
    std::string DecimalSeparator() override;
};
