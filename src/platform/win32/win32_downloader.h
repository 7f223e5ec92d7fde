#pragma once

#include <cstdint>

#include "platform/downloader.h"

// Downloads with WinINet, so that the proxy settings of the school's network
// apply. The file is written beside the target under a temporary name and put
// in place only when every announced byte has arrived.
class Win32Downloader : public Downloader {
public:
    // A server silent for `silenceMilliseconds` (while connecting, waiting
    // for its answer or between two pieces of the body) ends the download;
    // one that keeps sending, however slowly, is waited for.
    explicit Win32Downloader(std::uint32_t silenceMilliseconds = 30'000) : silence_(silenceMilliseconds) {}

    std::int32_t Download(std::string_view url, std::string_view targetFile) override;

    // The name the file has while it arrives.
    static constexpr const char* kPartialSuffix = ".partiel";

private:
    std::uint32_t silence_;
};
