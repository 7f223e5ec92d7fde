#include "platform/win32/sha256_ni.h"

#include <cpuid.h>
#include <immintrin.h>

#include <cstring>

namespace {

alignas(16) constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// Hashes whole 64-byte blocks into `state`. The instructions keep the state
// as the pairs ABEF and CDGH; the message words are big-endian. 32-bit
// Windows aligns the stack to 4 bytes only: the function realigns it for the
// 16-byte values it keeps there.
__attribute__((target("sha,sse4.1,ssse3"), force_align_arg_pointer)) void HashBlocks(std::uint32_t* state, const unsigned char* data,
                                                           std::size_t blocks) {
    const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
    __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
    const __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
    const __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);

    for (; blocks > 0; --blocks, data += 64) {
        const __m128i abefBefore = abef;
        const __m128i cdghBefore = cdgh;
        __m128i words[16];  // four message words per group of four rounds
        for (int group = 0; group < 16; ++group) {
            if (group < 4) {
                words[group] = _mm_shuffle_epi8(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * group)), byteOrder);
            } else {
                const __m128i sum =
                    _mm_add_epi32(_mm_sha256msg1_epu32(words[group - 4], words[group - 3]),
                                  _mm_alignr_epi8(words[group - 1], words[group - 2], 4));
                words[group] = _mm_sha256msg2_epu32(sum, words[group - 1]);
            }
            __m128i message = _mm_add_epi32(words[group],
                                            _mm_load_si128(reinterpret_cast<const __m128i*>(kRound + 4 * group)));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
            message = _mm_shuffle_epi32(message, 0x0E);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, message);
        }
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }

    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

}  // namespace

bool Sha256Ni::Supported() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    const bool ssse3 = (c & bit_SSSE3) != 0;
    const bool sse41 = (c & bit_SSE4_1) != 0;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
    return ssse3 && sse41 && (b & bit_SHA) != 0;
}

void Sha256Ni::Add(std::string_view bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t size = bytes.size();
    length_ += size;
    if (pendingLength_ > 0) {
        const std::size_t taken = std::min(size, pending_.size() - pendingLength_);
        std::memcpy(pending_.data() + pendingLength_, data, taken);
        pendingLength_ += taken;
        data += taken;
        size -= taken;
        if (pendingLength_ < pending_.size()) return;
        HashBlocks(state_.data(), pending_.data(), 1);
        pendingLength_ = 0;
    }
    HashBlocks(state_.data(), data, size / 64);
    pendingLength_ = size % 64;
    std::memcpy(pending_.data(), data + size - pendingLength_, pendingLength_);
}

std::string Sha256Ni::HexDigest() const {
    // The padding, on a copy: one 1 bit, zeros, then the length in bits, big-endian.
    Sha256Ni last = *this;
    const std::uint64_t bits = length_ * 8;
    unsigned char tail[72] = {0x80};
    const std::size_t zeros = (pendingLength_ < 56 ? 56 : 120) - pendingLength_;
    for (int i = 0; i < 8; ++i) tail[zeros + i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    last.Add(std::string_view(reinterpret_cast<const char*>(tail), zeros + 8));

    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint32_t word : last.state_) {
        for (int shift = 28; shift >= 0; shift -= 4) hex += kDigits[(word >> shift) & 15];
    }
    return hex;
}
