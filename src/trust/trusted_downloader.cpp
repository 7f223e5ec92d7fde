#include "trust/trusted_downloader.h"

#include <charconv>

namespace result = download_result;

namespace {

// AppFolder followed by a relative path that begins with a backslash.
std::string Under(const std::string& appFolder, std::string_view relative) {
    return appFolder + std::string(relative);
}

// The server path of a URL of this server: what the catalogue names it by.
std::optional<std::string_view> PathOnServer(std::string_view url, std::string_view base) {
    if (!url.starts_with(base)) return std::nullopt;
    return url.substr(base.size());
}

// A failure that another server serving the same tree may not share.
bool MirrorMayHelp(std::int32_t outcome) {
    return outcome == result::kNoConnection || outcome == result::kTimedOut || outcome == result::kCutShort ||
           result::IsHttpStatus(outcome);
}

const TrustedKey* KeyNamed(std::span<const TrustedKey> keys, std::string_view id) {
    for (const TrustedKey& key : keys) {
        if (key.id == id) return &key;
    }
    return nullptr;
}

}  // namespace

AcceptedSerials ParseAcceptedSerials(std::string_view text) {
    AcceptedSerials serials;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || tab == 0) continue;
        std::uint64_t serial = 0;
        const std::string_view digits = line.substr(tab + 1);
        const auto [at, error] = std::from_chars(digits.data(), digits.data() + digits.size(), serial);
        if (error != std::errc() || at != digits.data() + digits.size()) continue;
        std::uint64_t& kept = serials[std::string(line.substr(0, tab))];
        if (serial > kept) kept = serial;
    }
    return serials;
}

std::string FormatAcceptedSerials(const AcceptedSerials& serials) {
    std::string text;
    for (const auto& [key, serial] : serials) text += key + "\t" + std::to_string(serial) + "\r\n";
    return text;
}

CatalogueVerdict CheckCatalogue(std::string_view text, std::string_view signature, std::span<const TrustedKey> trusted,
                                const AcceptedSerials& accepted, SignatureCheck& signatures,
                                std::optional<SignedCatalogue>& catalogue) {
    catalogue.reset();
    if (signature.empty() || signature.size() > kSignatureMaxBytes) return CatalogueVerdict::kBadSignature;
    std::optional<SignedCatalogue> parsed = ParseCatalogue(text);
    if (!parsed) return CatalogueVerdict::kMalformed;

    // The key that signed: one built in, or a new one that a built-in key vouches for.
    std::string_view signer;
    if (const TrustedKey* key = KeyNamed(trusted, parsed->keyId)) {
        signer = key->blob;
    } else if (!parsed->signingKeyBlob.empty()) {
        const TrustedKey* endorser = KeyNamed(trusted, parsed->endorserId);
        if (endorser == nullptr) return CatalogueVerdict::kUnknownKey;
        if (!signatures.Verify(EndorsementStatement(parsed->keyId, parsed->signingKeyBlob), parsed->endorsement,
                               endorser->blob)) {
            return CatalogueVerdict::kBadSignature;
        }
        signer = parsed->signingKeyBlob;
    } else {
        return CatalogueVerdict::kUnknownKey;
    }
    if (!signatures.Verify(text, signature, signer)) return CatalogueVerdict::kBadSignature;

    if (const auto seen = accepted.find(parsed->keyId); seen != accepted.end() && parsed->serial < seen->second) {
        return CatalogueVerdict::kOlderSerial;
    }
    catalogue = std::move(parsed);
    return CatalogueVerdict::kAccepted;
}

TrustedDownloader::TrustedDownloader(HttpTransfer& transfer, SignatureCheck& signatures, TextFileReader& textFiles, std::string appFolder, std::string downloadBase,
                                     std::vector<TrustedKey> trusted)
    : transfer_(transfer),
      signatures_(signatures),
      textFiles_(textFiles),
      appFolder_(std::move(appFolder)),
      downloadBase_(std::move(downloadBase)),
      trusted_(std::move(trusted)) {}

std::int32_t TrustedDownloader::LoadCatalogueFrom(std::string_view base) {
    std::string text;
    std::string signature;
    const std::string root(base);
    std::int32_t outcome = transfer_.Fetch(root + std::string(kCataloguePath), kCatalogueMaxBytes, text);
    if (outcome != result::kDone) return outcome;
    outcome = transfer_.Fetch(root + std::string(kSignaturePath), kSignatureMaxBytes, signature);
    if (outcome != result::kDone) return outcome;

    const std::string serialsFile = Under(appFolder_, kAcceptedSerialsFile);
    const AcceptedSerials accepted = ParseAcceptedSerials(textFiles_.ReadText(serialsFile).value_or(""));
    std::optional<SignedCatalogue> catalogue;
    if (CheckCatalogue(text, signature, trusted_, accepted, signatures_, catalogue) != CatalogueVerdict::kAccepted) {
        return result::kNotVerified;
    }
    RecordSerial(*catalogue);
    catalogue_ = std::move(catalogue);
    return result::kDone;
}

// A drive that cannot be written keeps no record: the catalogue is still
// checked against what it holds.
void TrustedDownloader::RecordSerial(const SignedCatalogue& catalogue) {
    const std::string serialsFile = Under(appFolder_, kAcceptedSerialsFile);
    AcceptedSerials accepted = ParseAcceptedSerials(textFiles_.ReadText(serialsFile).value_or(""));
    std::uint64_t& kept = accepted[catalogue.keyId];
    if (catalogue.serial <= kept) return;
    kept = catalogue.serial;
    textFiles_.WriteText(serialsFile, FormatAcceptedSerials(accepted));
}

// The main server first; a catalogue no server serves is a failed download,
// one that fails its checks anywhere a refused one. Mirrors a catalogue
// names are used only once that catalogue is trusted.
std::int32_t TrustedDownloader::LoadCatalogue() {
    if (catalogue_) return result::kDone;
    return LoadCatalogueFrom(downloadBase_);
}

std::int32_t TrustedDownloader::Download(std::string_view url, std::string_view targetFile) {
    const auto path = PathOnServer(url, downloadBase_);
    if (!path) return result::kNotVerified;
    // A catalogue kept from earlier in the session may predate a publication
    // made since: what it refuses is asked again against a fresh one.
    const bool kept = catalogue_.has_value();
    std::int32_t outcome = DownloadChecked(*path, url, targetFile);
    if (kept && outcome == result::kNotVerified) {
        catalogue_.reset();
        outcome = DownloadChecked(*path, url, targetFile);
    }
    return outcome;
}

std::uint64_t TrustedDownloader::RoomNeeded(std::string_view url) {
    const auto path = PathOnServer(url, downloadBase_);
    if (!path || LoadCatalogue() != result::kDone) return 0;
    const CatalogueEntry* entry = catalogue_->Find(*path);
    if (entry == nullptr) return 0;
    return entry->size + (entry->archive ? entry->unpackedSize : 0);
}

std::int32_t TrustedDownloader::DownloadChecked(std::string_view path, std::string_view url,
                                                std::string_view targetFile) {
    const std::int32_t loaded = LoadCatalogue();
    if (loaded != result::kDone) return loaded;
    const CatalogueEntry* entry = catalogue_->Find(path);
    if (entry == nullptr) return result::kNotVerified;

    const ExpectedFile expected{.size = entry->size, .sha256 = entry->sha256};
    std::int32_t outcome = transfer_.DownloadExpected(url, targetFile, expected);
    for (const std::string& mirror : catalogue_->mirrors) {
        if (!MirrorMayHelp(outcome)) break;
        outcome = transfer_.DownloadExpected(mirror + std::string(path), targetFile, expected);
    }
    return outcome;
}
