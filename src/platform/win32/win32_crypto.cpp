#include "platform/win32/win32_crypto.h"

#include <algorithm>
#include <vector>

namespace {

// CALG_SHA_256, which the headers declare only for newer targets than XP;
// XP SP3's AES provider knows it.
constexpr ALG_ID kSha256 = ALG_CLASS_HASH | ALG_TYPE_ANY | 12;

// No provider name: the AES provider is named differently on XP.
HCRYPTPROV AesProvider() {
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
        return 0;
    return provider;
}

bool HashData(HCRYPTHASH hash, std::string_view bytes) {
    // CryptHashData takes a 32-bit length: large pieces go in slices.
    constexpr std::size_t kSlice = 1 << 30;
    for (std::size_t at = 0; at < bytes.size(); at += kSlice) {
        const std::size_t length = std::min(kSlice, bytes.size() - at);
        if (!CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data() + at), static_cast<DWORD>(length), 0))
            return false;
    }
    return true;
}

}  // namespace

Win32Sha256::Win32Sha256() {
    if (Sha256Ni::Supported()) {
        fast_.emplace();
        return;
    }
    provider_ = AesProvider();
    if (provider_ != 0 && !CryptCreateHash(provider_, kSha256, 0, 0, &hash_)) hash_ = 0;
}

Win32Sha256::~Win32Sha256() {
    if (hash_ != 0) CryptDestroyHash(hash_);
    if (provider_ != 0) CryptReleaseContext(provider_, 0);
}

bool Win32Sha256::Add(std::string_view bytes) {
    if (fast_) {
        fast_->Add(bytes);
        return true;
    }
    return hash_ != 0 && HashData(hash_, bytes);
}

std::string Win32Sha256::HexDigest() {
    if (fast_) return fast_->HexDigest();
    BYTE digest[32] = {};
    DWORD size = sizeof digest;
    if (hash_ == 0 || !CryptGetHashParam(hash_, HP_HASHVAL, digest, &size, 0) || size != sizeof digest) return {};
    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const BYTE byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

BackgroundSha256::BackgroundSha256()
    : buffers_(static_cast<char*>(VirtualAlloc(nullptr, kBuffers * kBufferSize, MEM_COMMIT, PAGE_READWRITE))),
      free_(CreateSemaphoreW(nullptr, kBuffers, kBuffers, nullptr)),
      filled_(CreateSemaphoreW(nullptr, 0, kBuffers, nullptr)) {
    if (buffers_ != nullptr && free_ != nullptr && filled_ != nullptr)
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

BackgroundSha256::~BackgroundSha256() {
    if (thread_ != nullptr) Finish();
    for (HANDLE handle : {thread_, free_, filled_}) {
        if (handle != nullptr) CloseHandle(handle);
    }
    if (buffers_ != nullptr) VirtualFree(buffers_, 0, MEM_RELEASE);
}

char* BackgroundSha256::NextBuffer() {
    if (!holding_) {
        WaitForSingleObject(free_, INFINITE);
        holding_ = true;
    }
    return buffers_ + next_ * kBufferSize;
}

void BackgroundSha256::Hand(std::size_t length) {
    lengths_[next_] = length;
    next_ = (next_ + 1) % kBuffers;
    holding_ = false;
    ReleaseSemaphore(filled_, 1, nullptr);
}

std::string BackgroundSha256::Finish() {
    if (!finished_) {
        finished_ = true;
        NextBuffer();
        Hand(kEnd);
        WaitForSingleObject(thread_, INFINITE);
    }
    return failed_ ? std::string() : hash_.HexDigest();
}

DWORD WINAPI BackgroundSha256::Run(void* self) {
    static_cast<BackgroundSha256*>(self)->HashPieces();
    return 0;
}

void BackgroundSha256::HashPieces() {
    for (std::size_t at = 0;; at = (at + 1) % kBuffers) {
        WaitForSingleObject(filled_, INFINITE);
        const std::size_t length = lengths_[at];
        if (length == kEnd) return;
        if (!hash_.Add(std::string_view(buffers_ + at * kBufferSize, length))) failed_ = true;
        ReleaseSemaphore(free_, 1, nullptr);
    }
}

bool Win32SignatureCheck::Verify(std::string_view data, std::string_view signature, std::string_view publicKeyBlob) {
    if (signature.empty() || publicKeyBlob.empty()) return false;
    const HCRYPTPROV provider = AesProvider();
    if (provider == 0) return false;
    bool valid = false;
    HCRYPTKEY key = 0;
    HCRYPTHASH hash = 0;
    if (CryptImportKey(provider, reinterpret_cast<const BYTE*>(publicKeyBlob.data()),
                       static_cast<DWORD>(publicKeyBlob.size()), 0, 0, &key) &&
        CryptCreateHash(provider, kSha256, 0, 0, &hash) && HashData(hash, data)) {
        // CryptoAPI reads signatures least significant byte first.
        std::vector<BYTE> reversed(signature.rbegin(), signature.rend());
        valid = CryptVerifySignatureW(hash, reversed.data(), static_cast<DWORD>(reversed.size()), key, nullptr, 0);
    }
    if (hash != 0) CryptDestroyHash(hash);
    if (key != 0) CryptDestroyKey(key);
    CryptReleaseContext(provider, 0);
    return valid;
}
