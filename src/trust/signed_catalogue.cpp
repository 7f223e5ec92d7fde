#include "trust/signed_catalogue.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace {

constexpr std::string_view kMagic = "cantarel-catalogue";
constexpr std::string_view kFormat = "1";
constexpr std::string_view kServedRoot = "/logiciels/";
// Serials, sizes: far below what a 64-bit count holds, so sums never wrap.
constexpr std::uint64_t kLargestNumber = 1ULL << 50;

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::optional<std::uint64_t> Number(std::string_view text) {
    if (text.empty() || text.size() > 16 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > kLargestNumber) return std::nullopt;
    return value;
}

bool IsSha256(std::string_view hex) {
    return hex.size() == 64 &&
           std::all_of(hex.begin(), hex.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// A path the launcher may ask for: under the served root, no way out of it.
bool IsServedPath(std::string_view path) {
    if (!path.starts_with(kServedRoot) || path.size() == kServedRoot.size()) return false;
    if (HasControlCharacter(path) || path.find('\\') != std::string_view::npos) return false;
    std::size_t start = 1;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        const std::string_view part = path.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = slash + 1;
    }
    return true;
}

// The folder an archive unpacks into: one plain name.
bool IsFolderName(std::string_view name) {
    return name != "." && name != ".." && !HasControlCharacter(name) &&
           name.find_first_of("/\\:") == std::string_view::npos;
}

bool IsBase(std::string_view base) {
    return base.starts_with("http://") && base.size() > 7 && !HasControlCharacter(base) &&
           base.find_first_of(" /", 7) == std::string_view::npos;
}

struct Refusal {
    std::string* why;
    std::optional<SignedCatalogue> operator()(std::string text) const {
        if (why != nullptr) *why = std::move(text);
        return std::nullopt;
    }
};

}  // namespace

const CatalogueEntry* SignedCatalogue::Find(std::string_view path) const {
    for (const CatalogueEntry& entry : entries) {
        if (entry.path == path) return &entry;
    }
    return nullptr;
}

std::optional<SignedCatalogue> ParseCatalogue(std::string_view text, std::string* why) {
    const Refusal refuse{why};
    if (text.size() > kCatalogueMaxBytes) return refuse("larger than a catalogue may be");
    if (!text.ends_with("\nend\n")) return refuse("does not end with its end record: cut short");

    SignedCatalogue catalogue;
    std::set<std::string_view> paths;
    std::set<std::string_view> seen;  // records that may stand once
    std::size_t start = 0;
    int line = 0;
    bool ended = false;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string_view record = text.substr(start, end - start);
        start = end + 1;
        ++line;
        const std::string at = "line " + std::to_string(line) + ": ";
        if (ended) return refuse(at + "after the end record");
        if (record.find('\r') != std::string_view::npos) return refuse(at + "a carriage return");
        const std::vector<std::string_view> f = Fields(record);
        const std::string_view kind = f[0];
        if (line == 1) {
            if (f.size() != 2 || kind != kMagic) return refuse(at + "not a catalogue");
            if (f[1] != kFormat) return refuse(at + "a format this launcher does not know");
            continue;
        }
        const bool once = kind == "serial" || kind == "published" || kind == "launcher" || kind == "key" ||
                          kind == "signing-key" || kind == "endorsement";
        if (once && !seen.insert(kind).second) return refuse(at + "a second " + std::string(kind));
        if (kind == "serial" && f.size() == 2) {
            const auto serial = Number(f[1]);
            if (!serial || *serial == 0) return refuse(at + "not a serial");
            catalogue.serial = *serial;
        } else if (kind == "published" && f.size() == 2 && !HasControlCharacter(f[1])) {
            catalogue.published = f[1];
        } else if (kind == "launcher" && f.size() == 2 && !f[1].empty() && !HasControlCharacter(f[1])) {
            catalogue.launcherVersion = f[1];
        } else if (kind == "key" && f.size() == 2 && !f[1].empty() && !HasControlCharacter(f[1])) {
            catalogue.keyId = f[1];
        } else if (kind == "signing-key" && f.size() == 3) {
            const auto blob = FromHex(f[2]);
            if (!blob || blob->empty()) return refuse(at + "not a key");
            if (f[1] != catalogue.keyId) return refuse(at + "a key other than the signer's");
            catalogue.signingKeyBlob = *blob;
        } else if (kind == "endorsement" && f.size() == 3 && !f[1].empty()) {
            const auto signature = FromHex(f[2]);
            if (!signature || signature->empty() || signature->size() > kSignatureMaxBytes)
                return refuse(at + "not a signature");
            catalogue.endorserId = f[1];
            catalogue.endorsement = *signature;
        } else if (kind == "mirror" && f.size() == 2 && IsBase(f[1])) {
            catalogue.mirrors.emplace_back(f[1]);
        } else if ((kind == "file" && f.size() == 4) || (kind == "archive" && f.size() == 6)) {
            CatalogueEntry entry;
            entry.path = f[1];
            if (!IsServedPath(entry.path)) return refuse(at + "a path outside what the server may serve");
            if (!paths.insert(f[1]).second) return refuse(at + "a second entry for " + entry.path);
            const auto size = Number(f[2]);
            if (!size || !IsSha256(f[3])) return refuse(at + "not a size and a SHA-256");
            entry.size = *size;
            entry.sha256 = f[3];
            if (kind == "archive") {
                const auto unpacked = Number(f[5]);
                if (!unpacked || (!f[4].empty() && !IsFolderName(f[4]))) return refuse(at + "not a folder and a size");
                entry.archive = true;
                entry.topFolder = f[4];
                entry.unpackedSize = *unpacked;
            }
            catalogue.entries.push_back(std::move(entry));
        } else if (kind == "end" && f.size() == 1) {
            ended = true;
        } else {
            return refuse(at + "a record this launcher does not understand");
        }
    }
    if (!ended) return refuse("no end record");
    if (catalogue.serial == 0 || catalogue.keyId.empty() || catalogue.launcherVersion.empty())
        return refuse("the serial, the key or the launcher version is missing");
    if (catalogue.signingKeyBlob.empty() != catalogue.endorsement.empty())
        return refuse("a signing key goes with an endorsement");
    return catalogue;
}

std::string EndorsementStatement(std::string_view keyId, std::string_view keyBlob) {
    return "cantarel-key\t" + std::string(keyId) + "\t" + ToHex(keyBlob);
}

std::string ToHex(std::string_view bytes) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

std::optional<std::string> FromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]);
        const int low = digit(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}
