#include "storage/room_check.h"

#include <cstdio>

namespace {

constexpr std::uint64_t kMegabyte = 1024 * 1024;
constexpr std::uint64_t kFixedMargin = 4 * kMegabyte;

std::string Megabytes(double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", bytes / kMegabyte);
    std::string result(text);
    for (char& c : result) {
        if (c == '.') c = ',';
    }
    return result + " Mo";
}

}  // namespace

std::optional<NoRoom> LacksRoom(DiskSpaceQuery& disk, std::string_view folder, std::uint64_t needed) {
    if (needed == 0) return std::nullopt;
    const std::optional<DiskSpace> space = disk.SpaceOf(folder);
    if (!space) return std::nullopt;
    const std::uint64_t withMargin = needed + needed / 20 + kFixedMargin;
    if (space->freeBytes >= 0 && static_cast<std::uint64_t>(space->freeBytes) >= withMargin) return std::nullopt;
    return NoRoom{withMargin, space->freeBytes};
}

std::string NoRoomReport(std::string_view what, const NoRoom& room) {
    return "La clé USB n'a pas assez de place pour " + std::string(what) + " : il faut " +
           Megabytes(static_cast<double>(room.needed)) + " libres, il en reste " +
           Megabytes(static_cast<double>(room.free < 0 ? 0 : room.free)) +
           ". Rien n'a été écrit. Libérez de la place sur la clé, puis recommencez.";
}
