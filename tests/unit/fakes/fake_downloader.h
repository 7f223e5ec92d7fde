#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/downloader.h"

// Records every download asked for and answers with scripted results: the
// next of `results` while there are any, `result` after that. `during` runs
// inside the call, where the real one blocks (to put a file in the fake
// file system, or to play events that arrive meanwhile).
class FakeDownloader : public Downloader {
public:
    struct Call {
        std::string url;
        std::string targetFile;
    };

    std::int32_t Download(std::string_view url, std::string_view targetFile) override {
        calls.push_back({std::string(url), std::string(targetFile)});
        if (during) during(calls.back());
        if (results.empty()) return result;
        const std::int32_t next = results.front();
        results.pop_front();
        return next;
    }

    void StartAfresh() override { ++freshStarts; }
    std::uint64_t RoomNeeded(std::string_view) override { return room; }

    std::vector<Call> calls;
    int freshStarts = 0;
    std::uint64_t room = 0;  // what the server vouches each file needs
    std::deque<std::int32_t> results;
    std::int32_t result = download_result::kDone;
    std::function<void(const Call&)> during;
};
