#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/disk_space.h"

// Too little room on the drive for what an action would write.
struct NoRoom {
    std::uint64_t needed = 0;  // with the margin
    std::int64_t free = 0;
};

// Whether the drive that holds `folder` lacks room for `needed` bytes and a
// margin (file systems round files up, and the key must not end up full).
// Nothing when there is room, or when nobody knows how much is needed or free.
std::optional<NoRoom> LacksRoom(DiskSpaceQuery& disk, std::string_view folder, std::uint64_t needed);

// Said before anything is written: `what` is the component as the flow's
// messages name it.
std::string NoRoomReport(std::string_view what, const NoRoom& room);
