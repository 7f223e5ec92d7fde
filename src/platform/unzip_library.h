#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The extraction library, Info-ZIP's unzip32.dll, as the binding sees it: one
// call that runs a whole extraction and calls back while it runs.

// The option record, field for field in the library's order. Paths are UTF-8;
// the platform hands them to the library in the system's ANSI code page.
struct UnzipOptions {
    std::int32_t extractOnlyNewer = 0;
    std::int32_t spaceToUnderscore = 0;
    std::int32_t promptToOverwrite = 0;
    std::int32_t quiet = 0;           // 0 every message, 1 few, 2 errors only
    std::int32_t writeToStdOut = 0;
    std::int32_t testOnly = 0;
    std::int32_t listVerbose = 0;
    std::int32_t freshen = 0;
    std::int32_t displayComment = 0;
    std::int32_t directories = 0;     // 0 drops folders, 1 keeps them without "../"
    std::int32_t overwriteAll = 0;
    std::int32_t convertLineEnds = 0;
    std::int32_t zipInfo = 0;
    std::int32_t caseInsensitive = 0;
    std::int32_t privilege = 0;
    std::string zipFileName;
    std::string extractDir;
};

// What the library calls while an extraction runs, on the caller's thread.
// Texts arrive as the library's zero-terminated bytes in the system's ANSI
// code page; UnzipLibrary::FromSystemText turns them into UTF-8.
class UnzipCallbacks {
public:
    virtual ~UnzipCallbacks() = default;
    virtual int Print(const char* text, unsigned long length) = 0;
    // `name` is a buffer of `size` bytes holding the existing file's path.
    virtual int Replace(char* name, unsigned size) = 0;
    virtual int Password(char* buffer, int size, const char* prompt, const char* entry) = 0;
    virtual void Message(std::uint64_t size, std::uint64_t compressedSize, unsigned factor, unsigned month,
                         unsigned day, unsigned year, unsigned hour, unsigned minute, char flag, const char* name,
                         const char* method, unsigned long crc, char encrypted) = 0;
    virtual int Service(const char* entry, std::uint64_t size) = 0;
};

class UnzipLibrary {
public:
    enum class Failure {
        None,
        NotFound,            // the DLL could not be loaded; `detail` names it
        EntryPointMissing,   // `detail` names the missing entry point
        WrongLibrary,        // not UnZip 6.0's; `detail` is the version it reports
        PathNotRepresentable,// `detail` is the path the ANSI code page cannot carry
        Busy,                // an extraction is already running
    };
    struct Result {
        Failure failure = Failure::None;
        std::int32_t code = 0;  // the library's result when it ran
        std::string detail;
    };

    virtual ~UnzipLibrary() = default;

    // Loads the library (from the launcher's folder first), asks its version,
    // runs Wiz_SingleEntryUnzip with empty include and exclude lists and
    // returns its result. Only one extraction may run at a time.
    virtual Result SingleEntryUnzip(const UnzipOptions& options, UnzipCallbacks& callbacks) = 0;

    // The system's ANSI code page, both ways, for the texts of the callbacks.
    virtual std::string ToSystemText(std::string_view utf8) = 0;
    virtual std::string FromSystemText(std::string_view ansi) = 0;
};
