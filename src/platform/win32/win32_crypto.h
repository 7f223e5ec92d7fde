#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/signature_check.h"
#include "platform/win32/sha256_ni.h"

// SHA-256 fed piece by piece as a download arrives: on the processor's SHA
// instructions where it has them, else through CryptoAPI's AES provider
// (present from Windows XP SP3 on).
class Win32Sha256 {
public:
    Win32Sha256();
    ~Win32Sha256();
    Win32Sha256(const Win32Sha256&) = delete;
    Win32Sha256& operator=(const Win32Sha256&) = delete;

    // False when the system could not hash: nothing can then be verified.
    bool Ok() const { return fast_.has_value() || hash_ != 0; }
    bool Add(std::string_view bytes);
    // 64 lower-case hex digits; empty when hashing failed.
    std::string HexDigest();

private:
    std::optional<Sha256Ni> fast_;
    HCRYPTPROV provider_ = 0;
    HCRYPTHASH hash_ = 0;
};

// SHA-256 on a thread of its own, so that hashing a download overlaps with
// receiving and writing it: the pieces are received straight into a ring of
// buffers that the hashing thread reads after them. Plain Win32 threads and
// semaphores, as on XP.
class BackgroundSha256 {
public:
    static constexpr std::size_t kBufferSize = 1024 * 1024;

    BackgroundSha256();
    ~BackgroundSha256();
    BackgroundSha256(const BackgroundSha256&) = delete;
    BackgroundSha256& operator=(const BackgroundSha256&) = delete;

    bool Ok() const { return thread_ != nullptr && hash_.Ok(); }
    // A buffer of kBufferSize bytes for the next piece; waits while every
    // buffer is still being hashed.
    char* NextBuffer();
    // The piece just received into that buffer goes to the hash. The caller
    // may go on reading the buffer until its next NextBuffer.
    void Hand(std::size_t length);
    // Waits for every piece handed, then gives the digest (64 lower-case hex
    // digits; empty when hashing failed).
    std::string Finish();

private:
    static DWORD WINAPI Run(void* self);
    void HashPieces();

    static constexpr std::size_t kBuffers = 4;
    static constexpr std::size_t kEnd = ~std::size_t{0};
    Win32Sha256 hash_;
    char* buffers_ = nullptr;
    std::size_t lengths_[kBuffers] = {};
    std::size_t next_ = 0;  // the buffer the receiving side fills next
    bool holding_ = false;  // it has taken that buffer and not handed it yet
    bool finished_ = false;
    bool failed_ = false;
    HANDLE free_ = nullptr;
    HANDLE filled_ = nullptr;
    HANDLE thread_ = nullptr;
};

class Win32SignatureCheck : public SignatureCheck {
public:
    bool Verify(std::string_view data, std::string_view signature, std::string_view publicKeyBlob) override;
};
