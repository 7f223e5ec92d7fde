#include "platform/win32/win32_downloader.h"

#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_crypto.h"
#include "platform/win32/wininet_calls.h"

namespace {

namespace result = download_result;

struct Address {
    std::wstring host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
    bool secure = false;
    std::string path;  // the request target as it goes on the wire
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

// The path in the system's ANSI code page, unescaped, as the publisher's
// server expects it ("è" is the single byte 0xE8 under 1252). Only what would
// break the request line itself (spaces, control characters) is escaped, as
// the URL moniker does. Nothing when a letter has no place in the code page:
// a "?" in its stead would ask for another file.
bool ToWirePath(std::string_view utf8, std::string& wire) {
    const std::optional<std::string> ansi = ToAnsiExactly(Widen(utf8));
    if (!ansi) return false;
    wire.clear();
    for (const char c : *ansi) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            wire += escaped;
        } else {
            wire += c;
        }
    }
    return true;
}

// "http://host[:port]/path"; "https://" too. No credentials in the address.
bool ParseUrl(std::string_view url, Address& address) {
    std::string_view rest;
    if (StartsWithNoCase(url, "http://")) {
        rest = url.substr(7);
    } else if (StartsWithNoCase(url, "https://")) {
        rest = url.substr(8);
        address.secure = true;
        address.port = INTERNET_DEFAULT_HTTPS_PORT;
    } else {
        return false;
    }
    const std::size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    std::string_view path = slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);
    if (const std::size_t fragment = path.find('#'); fragment != std::string_view::npos) path = path.substr(0, fragment);
    if (authority.empty() || authority.find('@') != std::string_view::npos) return false;

    const std::size_t bracket = authority.rfind(']');
    const std::size_t colon = authority.rfind(':');
    if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
        const std::string_view digits = authority.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) return false;
        unsigned port = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9') return false;
            port = port * 10 + static_cast<unsigned>(c - '0');
        }
        if (port == 0 || port > 65535) return false;
        address.port = static_cast<INTERNET_PORT>(port);
        authority = authority.substr(0, colon);
    }
    if (authority.size() >= 2 && authority.front() == '[' && authority.back() == ']')
        authority = authority.substr(1, authority.size() - 2);
    if (authority.empty()) return false;
    address.host = Widen(authority);
    return ToWirePath(path, address.path);
}

// Closes a WinINet handle when it goes out of scope.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    ~InternetHandle() {
        if (handle_) WinInet().closeHandle(handle_);
    }
    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HINTERNET handle_;
};

std::int32_t FailureOfLastError() {
    switch (GetLastError()) {
    case ERROR_INTERNET_TIMEOUT:
    case WSAETIMEDOUT:  // what Wine's WinINet hands on from the socket
        return result::kTimedOut;
    default:
        return result::kNoConnection;
    }
}

// The announced length of the body; nothing when the server did not say.
bool ContentLength(HINTERNET request, unsigned long long& length) {
    wchar_t text[32] = {};
    DWORD size = sizeof text;
    if (!WinInet().queryInfo(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return false;
    length = 0;
    const wchar_t* c = text;
    while (*c == L' ') ++c;
    if (*c < L'0' || *c > L'9') return false;
    for (; *c >= L'0' && *c <= L'9'; ++c) length = length * 10 + static_cast<unsigned>(*c - L'0');
    return true;
}

using BodyRules = Win32Downloader::BodyRules;

// One transfer's state across its requests: what arrived so far, and the
// hash running over it.
struct Received {
    unsigned long long bytes = 0;
    std::optional<BackgroundSha256> hash;
};

// Reads one answer's body into `take`, piece by piece, on top of what
// `received` already holds. Returns kDone when this answer all arrived and was
// taken.
template <typename Take>
std::int32_t ReadBody(HINTERNET request, bool lengthKnown, unsigned long long announced, const BodyRules& rules,
                      Received& received, Take take) {
    if (lengthKnown && received.bytes + announced > rules.limit) return result::kNotVerified;
    // Hashed beside the transfer, on a thread of its own.
    if (rules.expected != nullptr && !received.hash && !received.hash.emplace().Ok()) return result::kNotVerified;
    BackgroundSha256* hash = received.hash ? &*received.hash : nullptr;
    std::vector<char> plain(hash ? 0 : BackgroundSha256::kBufferSize);
    unsigned long long arrived = 0;
    for (;;) {
        char* buffer = hash ? hash->NextBuffer() : plain.data();
        DWORD read = 0;
        if (!WinInet().readFile(request, buffer, static_cast<DWORD>(BackgroundSha256::kBufferSize), &read)) {
            const std::int32_t failure = FailureOfLastError();
            return failure == result::kNoConnection ? result::kCutShort : failure;
        }
        if (read == 0) break;
        // Stopped between two pieces: the part written so far is deleted.
        if (rules.action && rules.action->Cancelled()) return result::kCancelled;
        // Past what the signed file holds, the rest is not read at all.
        if (received.bytes + read > rules.limit) return result::kNotVerified;
        const std::string_view piece(buffer, read);
        if (hash) hash->Hand(read);
        if (!take(piece)) return result::kWriteFailed;
        received.bytes += read;
        arrived += read;
        if (rules.action) rules.action->Advance(read);
    }
    if (lengthKnown && arrived != announced) return result::kCutShort;
    return result::kDone;
}

// The whole file arrived: it is the one the catalogue names, or it is not.
std::int32_t CheckWhole(const BodyRules& rules, Received& received) {
    if (rules.expected == nullptr) return result::kDone;
    if (!received.hash || received.bytes != rules.expected->size || received.hash->Finish() != rules.expected->sha256) {
        return result::kNotVerified;
    }
    return result::kDone;
}

// Every wait of `handle` ends after `silence` without a byte. Wine reads
// them from the request handle only; Windows from any level: all three get them.
void LimitSilence(HINTERNET handle, DWORD silence) {
    for (const DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        WinInet().setOption(handle, option, &silence, sizeof silence);
    }
}

// A header of the answer, or nothing.
std::wstring Header(HINTERNET request, DWORD which) {
    wchar_t text[256] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (!WinInet().queryInfo(request, which, text, &size, nullptr)) return {};
    return text;
}

// What identifies this version of the file, for a resumed request to ask for
// the same one: a strong ETag, else the date it was last changed.
std::wstring Validator(HINTERNET request) {
    const std::wstring etag = Header(request, HTTP_QUERY_ETAG);
    if (!etag.empty() && etag.rfind(L"W/", 0) != 0) return etag;
    return Header(request, HTTP_QUERY_LAST_MODIFIED);
}

// A request for the rest of a file: from `from` on, and only if it is still
// the version `validator` names.
struct Resume {
    unsigned long long from = 0;
    std::wstring validator;
};

// Sends the request and, on a 200 (or, resuming, a 206 for the right range),
// hands the open request to `body`. A checked transfer follows no
// redirection: the signed file is at its own path.
template <typename Body>
std::int32_t Request(const Address& address, DWORD silence, bool checked, const Resume& resume, Body body) {
    if (!WinInet().found) return result::kNoConnection;
    InternetHandle session(WinInet().open(Widen("CantarelPortable/" CANTAREL_VERSION).c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return result::kNoConnection;
    LimitSilence(session.get(), silence);
    InternetHandle connection(WinInet().connect(session.get(), address.host.c_str(), address.port, nullptr, nullptr,
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return FailureOfLastError();
    LimitSilence(connection.get(), silence);

    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    if (address.secure) flags |= INTERNET_FLAG_SECURE;
    if (checked) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    // The A call with bytes of our own making: the W call would leave the
    // path's conversion (ANSI, UTF-8, escaped or not) to WinINet's version.
    const char* accept[] = {"*/*", nullptr};
    InternetHandle request(
        WinInet().openRequest(connection.get(), "GET", address.path.c_str(), nullptr, nullptr, accept, flags, 0));
    if (!request) return FailureOfLastError();
    LimitSilence(request.get(), silence);
    std::wstring headers;
    if (resume.from > 0) {
        headers = L"Range: bytes=" + std::to_wstring(resume.from) + L"-\r\nIf-Range: " + resume.validator + L"\r\n";
    }
    if (!WinInet().sendRequest(request.get(), headers.empty() ? nullptr : headers.c_str(),
                          static_cast<DWORD>(headers.size()), nullptr, 0)) {
        return FailureOfLastError();
    }

    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinInet().queryInfo(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return result::kCutShort;
    if (checked && status >= 300 && status < 400) return result::kNotVerified;
    // The rest only if it starts where asked; anything else is read again whole.
    const bool rest =
        resume.from > 0 && status == 206 &&
        Header(request.get(), HTTP_QUERY_CONTENT_RANGE).rfind(L"bytes " + std::to_wstring(resume.from) + L"-", 0) == 0;
    if (status != 200 && !rest) {
        const std::int32_t code = static_cast<std::int32_t>(status);
        return result::IsHttpStatus(code) ? code : result::kCutShort;
    }
    unsigned long long announced = 0;
    const bool lengthKnown = ContentLength(request.get(), announced);
    return body(request.get(), lengthKnown, announced, rest);
}

// How often a body cut by the network is asked again from where it stopped.
constexpr int kResumes = 5;

// Everything from the first request to the file put in place. A body the
// network cuts is asked again from where it stopped, if the server can say
// it is the same file; the whole is checked all the same. A stall is not
// resumed: a silent server has already had its time.
std::int32_t FetchToFile(const Address& address, const std::wstring& target, const std::wstring& partial,
                         DWORD silence, const BodyRules& rules) {
    HANDLE file =
        CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return result::kWriteFailed;
    const auto write = [file](std::string_view piece) {
        DWORD written = 0;
        return WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr) &&
               written == piece.size();
    };
    Received received;
    Resume resume;
    std::int32_t outcome = result::kCutShort;
    for (int attempt = 0; attempt <= kResumes; ++attempt) {
        outcome = Request(address, silence, rules.expected != nullptr, resume,
                          [&](HINTERNET request, bool lengthKnown, unsigned long long announced, bool rest) {
            if (!rest) {
                // The whole file, from its first byte: what was kept goes.
                if (received.bytes > 0) {
                    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
                    if (!SetEndOfFile(file)) return result::kWriteFailed;
                    received.bytes = 0;
                    received.hash.reset();
                }
                resume.validator = Validator(request);
                if (rules.action) {
                    rules.action->Begin(LongAction::Phase::kDownload,
                                        rules.expected ? rules.expected->size : lengthKnown ? announced : 0);
                }
            }
            return ReadBody(request, lengthKnown, announced, rules, received, write);
        });
        if (outcome != result::kCutShort || received.bytes == 0 || resume.validator.empty()) break;
        resume.from = received.bytes;
    }
    if (outcome == result::kDone) outcome = CheckWhole(rules, received);
    // The key may be pulled out right after the report: the bytes must be
    // on it, and a late write error still counts.
    if (outcome == result::kDone && !FlushFileBuffers(file)) outcome = result::kWriteFailed;
    if (!CloseHandle(file) && outcome == result::kDone) outcome = result::kWriteFailed;
    if (outcome == result::kDone && !MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        outcome = result::kWriteFailed;
    return outcome;
}

}  // namespace

std::int32_t Win32Downloader::Download(std::string_view url, std::string_view targetFile) {
    return ToFile(url, targetFile, {.action = action_});
}

std::int32_t Win32Downloader::DownloadExpected(std::string_view url, std::string_view targetFile,
                                               const ExpectedFile& expected) {
    return ToFile(url, targetFile, {.limit = expected.size, .expected = &expected, .action = action_});
}

std::int32_t Win32Downloader::Fetch(std::string_view url, std::size_t maxBytes, std::string& body) {
    body.clear();
    Address address;
    if (!ParseUrl(url, address)) return result::kBadUrl;
    Received received;
    const std::int32_t outcome =
        Request(address, silence_, true, {}, [&](HINTERNET request, bool lengthKnown, unsigned long long announced, bool) {
            return ReadBody(request, lengthKnown, announced, {.limit = maxBytes}, received, [&](std::string_view piece) {
                body.append(piece);
                return true;
            });
        });
    if (outcome != result::kDone) body.clear();
    return outcome;
}

std::int32_t Win32Downloader::ToFile(std::string_view url, std::string_view targetFile, const BodyRules& rules) {
    Address address;
    if (!ParseUrl(url, address)) return result::kBadUrl;
    const std::wstring target = Widen(targetFile);
    if (target.empty()) return result::kWriteFailed;
    const std::wstring partial = Widen(std::string(targetFile) + kPartialSuffix);
    // A read-only file or a folder under that name is not ours to replace
    // (Wine would replace a read-only file where Windows refuses): nothing
    // is fetched for nothing.
    const DWORD existing = GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES &&
        (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return result::kWriteFailed;

    // A part left by an earlier run that was cut off (the key pulled, the
    // program killed) would count as a file on the drive: it goes first.
    DeleteFileW(partial.c_str());
    const std::int32_t outcome = FetchToFile(address, target, partial, silence_, rules);
    if (outcome != result::kDone) DeleteFileW(partial.c_str());
    return outcome;
}
