#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The version the system reports of itself, as the platform numbers it.
struct OsVersion {
    std::uint32_t platformId = 0;  // 0 Win32s, 1 Windows 9x, 2 Windows NT
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

// Raw questions about the host system. Each is a pure query: it changes
// nothing and shows nothing.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // Nothing when the system does not answer.
    virtual std::optional<OsVersion> Version() = 0;

    // Whether the library `name` (no folder) loads by the platform's search
    // order; it is unloaded again at once.
    virtual bool CanLoadLibrary(std::string_view name) = 0;

    // The attributes of `path`, as the platform numbers them; nothing when
    // they cannot be read (missing, drive not ready, malformed path).
    virtual std::optional<std::uint32_t> Attributes(std::string_view path) = 0;

    // Whether the Windows that runs the launcher is a 64-bit one, whatever
    // the launcher's own build.
    virtual bool IsWindows64Bit() = 0;
};
