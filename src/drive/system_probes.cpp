#include "drive/system_probes.h"

namespace {

constexpr std::uint32_t kWin32s = 0;
constexpr std::uint32_t kWindows9x = 1;
constexpr std::uint32_t kWindowsNt = 2;
constexpr std::uint32_t kDirectoryAttribute = 16;

std::string NtName(std::uint32_t major, std::uint32_t minor) {
    switch (major) {
        case 3: return "Windows NT 3.5";
        case 4: return "Windows NT 4.0";
        case 5:
            if (minor == 0) return "Windows 2000";
            if (minor == 1 || minor == 2) return "Windows XP";
            return "Windows NT";
        case 6:
            if (minor == 0) return "Windows Vista/Server 2008";
            if (minor == 1) return "Windows 7/Server 2008 R2";
            // The name the suite has always shown for 6.2; later versions,
            // 6.3 and 10.0 included, are plain "Windows NT".
            if (minor == 2) return "Windows 8/Server 2008 R2";
            return "Windows NT";
        default: return "Windows NT";
    }
}

}  // namespace

std::string WindowsVersionName(const std::optional<OsVersion>& version) {
    if (!version) return "Unable to identify your version of Windows.";
    switch (version->platformId) {
        case kWin32s: return "Win32s on Windows 3.1";
        case kWindows9x:
            if (version->minor == 0) return "Windows 95";
            if (version->minor == 90) return "Windows Me";
            return "Windows 98";
        case kWindowsNt: return NtName(version->major, version->minor);
        default: return "";
    }
}

std::string GetWindowsVersion(SystemInfo& system) { return WindowsVersionName(system.Version()); }

bool IsDLLAvailable(SystemInfo& system, std::string_view name) {
    // An empty name names no library; the system is not asked.
    if (name.empty()) return false;
    return system.CanLoadLibrary(name);
}

bool FileExists(SystemInfo& system, std::string_view path) {
    if (path.empty()) return false;
    const std::optional<std::uint32_t> attributes = system.Attributes(path);
    return attributes && (*attributes & kDirectoryAttribute) == 0;
}

bool Is64BitSystem(SystemInfo& system) { return system.IsWindows64Bit(); }
