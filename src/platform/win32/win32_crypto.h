#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <string>
#include <string_view>

#include "platform/signature_check.h"

// SHA-256 through CryptoAPI's AES provider (present from Windows XP SP3 on),
// fed piece by piece as a download arrives.
class Win32Sha256 {
public:
    Win32Sha256();
    ~Win32Sha256();
    Win32Sha256(const Win32Sha256&) = delete;
    Win32Sha256& operator=(const Win32Sha256&) = delete;

    // False when the system could not hash: nothing can then be verified.
    bool Ok() const { return hash_ != 0; }
    bool Add(std::string_view bytes);
    // 64 lower-case hex digits; empty when hashing failed.
    std::string HexDigest();

private:
    HCRYPTPROV provider_ = 0;
    HCRYPTHASH hash_ = 0;
};

class Win32SignatureCheck : public SignatureCheck {
public:
    bool Verify(std::string_view data, std::string_view signature, std::string_view publicKeyBlob) override;
};
