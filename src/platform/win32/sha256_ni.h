#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// SHA-256 on the processor's own SHA instructions (Intel since Goldmont and
// Ice Lake, AMD since Zen): several times the speed of the system's
// providers under Wine, so checking a download keeps up with the network.
// Only where Supported(); the caller falls back to the system's otherwise.
class Sha256Ni {
public:
    static bool Supported();

    void Add(std::string_view bytes);
    // 64 lower-case hex digits of everything added so far.
    std::string HexDigest() const;

private:
    std::array<std::uint32_t, 8> state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::array<unsigned char, 64> pending_{};  // the start of a block not yet whole
    std::size_t pendingLength_ = 0;
    std::uint64_t length_ = 0;  // bytes added
};
