#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One file the launcher may fetch, as the publisher signed it.
struct CatalogueEntry {
    std::string path;  // the server path exactly as requested: "/logiciels/..."
    std::uint64_t size = 0;
    std::string sha256;  // 64 lower-case hex digits
    bool archive = false;
    std::string topFolder;  // archives: the one folder every entry lies in ("" when at the root)
    std::uint64_t unpackedSize = 0;
};

// The server's signed list of what it serves (logiciels/catalogue).
struct SignedCatalogue {
    std::uint64_t serial = 0;
    std::string published;
    std::string launcherVersion;  // the launcher version the server offers
    std::string keyId;            // the key that signed it
    // A key not built into the launcher, vouched for by one that is.
    std::string signingKeyBlob;  // raw public key blob; empty when the key is built in
    std::string endorserId;
    std::string endorsement;  // raw signature of the endorser over EndorsementStatement()
    std::vector<std::string> mirrors;
    std::vector<CatalogueEntry> entries;

    const CatalogueEntry* Find(std::string_view path) const;
};

inline constexpr std::size_t kCatalogueMaxBytes = 1 << 20;
inline constexpr std::size_t kSignatureMaxBytes = 1024;

// Reads a catalogue's text. Anything it does not understand, a record out of
// place, a duplicate path or a path outside "/logiciels/" refuses the whole
// catalogue: `why` then says what, for whoever reads a test or a log.
std::optional<SignedCatalogue> ParseCatalogue(std::string_view text, std::string* why = nullptr);

// What an endorsing key signs to vouch for a new one.
std::string EndorsementStatement(std::string_view keyId, std::string_view keyBlob);

// Lower-case hex of bytes, and back (nothing for an odd length or a non-digit).
std::string ToHex(std::string_view bytes);
std::optional<std::string> FromHex(std::string_view hex);
