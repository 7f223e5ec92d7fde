#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/downloader.h"
#include "platform/http_transfer.h"
#include "platform/signature_check.h"
#include "platform/text_file_reader.h"
#include "trust/signed_catalogue.h"

// A public key the launcher was built to trust.
struct TrustedKey {
    std::string id;
    std::string blob;  // CryptoAPI PUBLICKEYBLOB
};

// Why a catalogue was refused, or that it was accepted.
enum class CatalogueVerdict { kAccepted, kMalformed, kUnknownKey, kBadSignature, kOlderSerial };

// The highest serial each key has had accepted on this drive: a catalogue
// older than one already seen is a replay.
using AcceptedSerials = std::map<std::string, std::uint64_t, std::less<>>;
AcceptedSerials ParseAcceptedSerials(std::string_view text);
std::string FormatAcceptedSerials(const AcceptedSerials& serials);

// Checks a catalogue's text and detached signature against the trusted keys
// (or a key one of them endorses) and the serials seen before.
CatalogueVerdict CheckCatalogue(std::string_view text, std::string_view signature, std::span<const TrustedKey> trusted,
                                const AcceptedSerials& accepted, SignatureCheck& signatures,
                                std::optional<SignedCatalogue>& catalogue);

// Every download of the flows goes through here: the server's signed
// catalogue is fetched and verified before the first one, and nothing the
// catalogue does not name, or that differs from what it names, ever lands.
class TrustedDownloader : public Downloader {
public:
    TrustedDownloader(HttpTransfer& transfer, SignatureCheck& signatures, TextFileReader& textFiles,
                      std::string appFolder, std::string downloadBase,
                      std::vector<TrustedKey> trusted);

    std::int32_t Download(std::string_view url, std::string_view targetFile) override;
    void StartAfresh() override { catalogue_.reset(); }
    std::uint64_t RoomNeeded(std::string_view url) override;

    // The catalogue of this session, once one was accepted.
    const SignedCatalogue* Catalogue() const { return catalogue_ ? &*catalogue_ : nullptr; }

    // Where the drive keeps the serials it has accepted, under AppFolder.
    static constexpr std::string_view kAcceptedSerialsFile = "\\catalogue-serie.txt";
    static constexpr std::string_view kCataloguePath = "/logiciels/catalogue";
    static constexpr std::string_view kSignaturePath = "/logiciels/catalogue.sig";

private:
    // kDone with catalogue_ set, or why not.
    std::int32_t LoadCatalogue();
    std::int32_t LoadCatalogueFrom(std::string_view base);
    std::int32_t DownloadChecked(std::string_view path, std::string_view url, std::string_view targetFile);
    void RecordSerial(const SignedCatalogue& catalogue);

    HttpTransfer& transfer_;
    SignatureCheck& signatures_;
    TextFileReader& textFiles_;
    std::string appFolder_;
    std::string downloadBase_;
    std::vector<TrustedKey> trusted_;
    std::optional<SignedCatalogue> catalogue_;
};
