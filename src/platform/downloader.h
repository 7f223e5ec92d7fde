#pragma once

#include <cstdint>
#include <string_view>

// What a download came to. Zero is the one success; the flows only test for
// it, the other values say why for tests and for whoever reads a report.
namespace download_result {
constexpr std::int32_t kDone = 0;
constexpr std::int32_t kBadUrl = 1;          // not "http://host[:port]/path", or a letter the code page lacks
constexpr std::int32_t kNoConnection = 2;    // refused, unreachable, unknown host, no network service
constexpr std::int32_t kTimedOut = 3;        // the server fell silent
constexpr std::int32_t kCutShort = 4;        // the body ended before its announced length, or broke off
constexpr std::int32_t kWriteFailed = 5;     // the file could not be created, written or put in place
constexpr std::int32_t kNotVerified = 6;     // not the file the server's signed catalogue names, or no such file
constexpr std::int32_t kCancelled = 7;       // the user stopped it
// Any value from 100 to 599 is the HTTP status the server answered instead of 200.
constexpr bool IsHttpStatus(std::int32_t result) { return result >= 100 && result <= 599; }
}  // namespace download_result

// The download server as the flows see it: one blocking call that fetches a
// whole file.
class Downloader {
public:
    virtual ~Downloader() = default;

    // Fetches `url` (UTF-8, "http://host[:port]/path", the path unescaped)
    // into `targetFile` (UTF-8, absolute, backslashes; a doubled backslash
    // after a drive root is taken as one). Returns download_result::kDone
    // once the whole file is in place under its name; any other value means
    // nothing new is there: neither `targetFile` nor a part of it, and a
    // `targetFile` that was there before is left as it was.
    virtual std::int32_t Download(std::string_view url, std::string_view targetFile) = 0;

    // What was learnt from the server (its signed catalogue) is asked again
    // at the next download.
    virtual void StartAfresh() {}

    // The room `url` needs on the drive, as the server vouches for it: the
    // file's size, and for an archive what it unpacks to. 0 when nobody
    // says (the download itself then tells).
    virtual std::uint64_t RoomNeeded(std::string_view /*url*/) { return 0; }
};
