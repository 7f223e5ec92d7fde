#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/unzip_library.h"

// The extraction library in memory: records each call's option record and,
// while "extracting", runs a script that plays the library's callbacks. The
// system's code page is Latin-1, so one byte is one character as with 1252.
class FakeUnzipLibrary : public UnzipLibrary {
public:
    Result SingleEntryUnzip(const UnzipOptions& options, UnzipCallbacks& callbacks) override {
        calls.push_back(options);
        if (failure != Failure::None) return {failure, 0, failureDetail};
        return {Failure::None, script ? script(callbacks) : 0, {}};
    }

    std::string ToSystemText(std::string_view utf8) override {
        std::string latin1;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(utf8[i]);
            if (c < 0x80) {
                latin1 += static_cast<char>(c);
            } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
                const unsigned code = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
                latin1 += code < 0x100 ? static_cast<char>(code) : '?';
            } else {
                latin1 += '?';
                while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) ++i;
            }
        }
        return latin1;
    }

    std::string FromSystemText(std::string_view ansi) override {
        std::string utf8;
        for (const char byte : ansi) {
            const unsigned char c = static_cast<unsigned char>(byte);
            if (c < 0x80) {
                utf8 += static_cast<char>(c);
            } else {
                utf8 += static_cast<char>(0xC0 | (c >> 6));
                utf8 += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return utf8;
    }

    std::function<int(UnzipCallbacks&)> script;  // the library's work; returns its result
    Failure failure = Failure::None;             // the library cannot be loaded or called
    std::string failureDetail;
    std::vector<UnzipOptions> calls;
};
