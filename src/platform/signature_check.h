#pragma once

#include <string_view>

// The system's own cryptography: the launcher carries none of its own.
class SignatureCheck {
public:
    virtual ~SignatureCheck() = default;

    // True when `signature` (RSA PKCS#1 v1.5 over SHA-256, big-endian bytes as
    // the signing tool writes them) signs `data` with the public key
    // `publicKeyBlob` (a CryptoAPI PUBLICKEYBLOB).
    virtual bool Verify(std::string_view data, std::string_view signature, std::string_view publicKeyBlob) = 0;
};
