#include "storage/disk_space_report.h"

#include <array>
#include <cmath>

namespace {

struct Unit {
    double size;
    std::int64_t upTo;  // the largest count shown in this unit
    std::string_view name;
};
constexpr std::int64_t kKo = 1024;
constexpr std::int64_t kMo = kKo * 1024;
constexpr std::int64_t kGo = kMo * 1024;
constexpr std::int64_t kTo = kGo * 1024;
// Each unit takes over at 999 of the one below. Today's keys and disks pass
// 999 Go, so a unit of 1024 Go follows rather than an empty figure.
constexpr std::array<Unit, 4> kUnits{{
    {kKo, 999 * kKo, " Ko"},
    {kMo, 999 * kMo, " Mo"},
    {kGo, 999 * kGo, " Go"},
    {static_cast<double>(kTo), INT64_MAX, " To"},
}};
constexpr std::int64_t kLargestInBytes = 999;

// The pattern "0.00": at least one digit before the separator, exactly two
// after it, halves rounded away from zero.
std::string TwoDecimals(double value, std::string_view separator) {
    const bool negative = value < 0;
    const auto hundredths = static_cast<std::int64_t>(std::floor(std::fabs(value) * 100.0 + 0.5));
    const std::string cents = std::to_string(hundredths % 100);
    return (negative ? "-" : "") + std::to_string(hundredths / 100) + std::string(separator) +
           (cents.size() == 1 ? "0" + cents : cents);
}

}  // namespace

std::string FormatByteSize(std::int64_t bytes, std::string_view decimalSeparator) {
    if (bytes <= kLargestInBytes) {
        // The sign position: a space for a count that is not negative.
        return (bytes < 0 ? "-" : " ") + std::to_string(bytes < 0 ? -bytes : bytes) + " bytes";
    }
    for (const Unit& unit : kUnits) {
        if (bytes <= unit.upTo) {
            return TwoDecimals(static_cast<double>(bytes) / unit.size, decimalSeparator) + std::string(unit.name);
        }
    }
    return {};
}

std::string DiskSpaceReport(std::string_view appFolder, DiskSpaceQuery& disk) {
    const DiskSpace space = disk.SpaceOf(appFolder).value_or(DiskSpace{});
    const std::string separator = disk.DecimalSeparator();
    return "Espace Libre : " + FormatByteSize(space.freeBytes, separator) + "\r\n" +
           "Espace Total : " + FormatByteSize(space.totalBytes, separator) + "\r\n" +
           "Espace Utilisé : " + FormatByteSize(space.totalBytes - space.freeBytes, separator);
}
