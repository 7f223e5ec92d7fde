#pragma once

#include <string>
#include <string_view>

// Values fixed when the launcher is built; it reads no settings at run time.
inline constexpr std::string_view kDownloadBase = CANTAREL_DOWNLOAD_BASE;
inline constexpr std::string_view kSupportAddress = CANTAREL_SUPPORT_ADDRESS;
// The project version of the build (CMake's project VERSION).
inline constexpr std::string_view kRunningVersion = CANTAREL_VERSION;

// A failure report that ends "... ou contactez " completed with the support
// address.
inline std::string WithSupportAddress(std::string_view report) {
    return std::string(report) + std::string(kSupportAddress) + "!";
}
