#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/http_transfer.h"
#include "platform/signature_check.h"

// A server in memory: bodies by URL. A checked download succeeds only when
// the body is the expected size and "hash"; here a body's hash is its text
// when it is 64 characters long, which lets a test name both at once.
class FakeHttpTransfer : public HttpTransfer {
public:
    std::int32_t DownloadExpected(std::string_view url, std::string_view targetFile,
                                  const ExpectedFile& expected) override {
        downloads.push_back({std::string(url), std::string(targetFile), expected});
        const auto found = bodies.find(std::string(url));
        if (found == bodies.end()) return missing;
        if (found->second.size() != expected.size || found->second != expected.sha256)
            return download_result::kNotVerified;
        return download_result::kDone;
    }

    std::int32_t Fetch(std::string_view url, std::size_t maxBytes, std::string& body) override {
        fetches.emplace_back(url);
        const auto found = bodies.find(std::string(url));
        if (found == bodies.end()) return missing;
        if (found->second.size() > maxBytes) return download_result::kNotVerified;
        body = found->second;
        return download_result::kDone;
    }

    struct Download {
        std::string url;
        std::string target;
        ExpectedFile expected;
    };
    std::map<std::string, std::string> bodies;
    std::int32_t missing = download_result::kNoConnection;
    std::vector<Download> downloads;
    std::vector<std::string> fetches;
};

// Signatures a test can make: a key's "signature" of data names both.
class FakeSignatures : public SignatureCheck {
public:
    static std::string Sign(std::string_view data, std::string_view keyBlob) {
        return "signed by " + std::string(keyBlob) + " #" + std::to_string(std::hash<std::string_view>{}(data));
    }
    bool Verify(std::string_view data, std::string_view signature, std::string_view publicKeyBlob) override {
        ++checks;
        return signature == Sign(data, publicKeyBlob);
    }
    int checks = 0;
};
