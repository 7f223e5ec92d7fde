#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/downloader.h"

// What a downloaded file must be, from the signed catalogue.
struct ExpectedFile {
    std::uint64_t size = 0;
    std::string sha256;  // 64 lower-case hex digits
};

// The raw HTTP transfers under the verified downloads.
class HttpTransfer {
public:
    virtual ~HttpTransfer() = default;

    // As Downloader::Download, and checked while it streams: a body longer
    // than `expected.size` is cut off there; a body of another size or
    // SHA-256, or an answer that sends elsewhere, is download_result::kNotVerified.
    virtual std::int32_t DownloadExpected(std::string_view url, std::string_view targetFile,
                                          const ExpectedFile& expected) = 0;

    // A small file into memory: the whole body, at most `maxBytes` (more is
    // download_result::kNotVerified), into `body`.
    virtual std::int32_t Fetch(std::string_view url, std::size_t maxBytes, std::string& body) = 0;
};
