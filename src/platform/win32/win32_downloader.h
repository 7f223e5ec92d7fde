#pragma once

#include <cstdint>

#include "platform/downloader.h"
#include "platform/http_transfer.h"
#include "platform/long_action.h"

// Downloads with WinINet, so that the proxy settings of the school's network
// apply. The file is written beside the target under a temporary name and put
// in place only when every announced byte has arrived.
class Win32Downloader : public Downloader, public HttpTransfer {
public:
    // A server silent for `silenceMilliseconds` (while connecting, waiting
    // for its answer or between two pieces of the body) ends the download;
    // one that keeps sending, however slowly, is waited for.
    explicit Win32Downloader(std::uint32_t silenceMilliseconds = 30'000) : silence_(silenceMilliseconds) {}

    // Unchecked: whatever the server sends, whole. The launcher's flows go
    // through the verified downloads instead.
    std::int32_t Download(std::string_view url, std::string_view targetFile) override;
    // Downloads to a file then report their bytes there, and stop when asked
    // (download_result::kCancelled).
    void ReportTo(LongAction& action) { action_ = &action; }
    std::int32_t DownloadExpected(std::string_view url, std::string_view targetFile,
                                  const ExpectedFile& expected) override;
    std::int32_t Fetch(std::string_view url, std::size_t maxBytes, std::string& body) override;

    // What a body may be: `limit` bytes at most; with an expected file,
    // exactly its size and hash.
    struct BodyRules {
        unsigned long long limit = ~0ULL;
        const ExpectedFile* expected = nullptr;
        LongAction* action = nullptr;
    };

    // The name the file has while it arrives.
    static constexpr const char* kPartialSuffix = ".partiel";

private:
    std::int32_t ToFile(std::string_view url, std::string_view targetFile, const BodyRules& rules);

    std::uint32_t silence_;
    LongAction* action_ = nullptr;
};
