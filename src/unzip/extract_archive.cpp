#include "unzip/extract_archive.h"

#include "platform/services.h"
#include "unzip/cg_unzip_files.h"
#include "unzip/unzip_error.h"

namespace {

// The library's results (UnZip's PK_ and IZ_ codes) that say more than
// "damaged".
constexpr std::int32_t kDiskFull = 50;
constexpr std::int32_t kUnsupported = 81;
constexpr std::int32_t kBadPassword = 82;

}  // namespace

std::string_view ExtractionFailureReason(std::int32_t libraryResult) {
    switch (libraryResult) {
        case kDiskFull:
            return "la clé USB est pleine";
        case kUnsupported:
        case kBadPassword:
            return "l'archive est protégée par un mot de passe ou d'un format que la bibliothèque ne connaît pas";
        default:
            return "l'archive est endommagée";
    }
}

Extraction ExtractArchive(const std::string& archive, const std::string& folder, Services& services,
                          std::string& said, std::int32_t* libraryResult) {
    said.clear();
    CGUnzipFiles unzip(services);
    unzip.SetZipFileName(archive);
    unzip.SetExtractDir(folder);
    unzip.SetHonorDirectories(true);
    std::int32_t result = 0;
    try {
        result = unzip.Unzip("", "");
        if (libraryResult) *libraryResult = result;
    } catch (const UnzipError&) {
        return Extraction::kUnavailable;
    }
    if (services.action.Cancelled()) return Extraction::kCancelled;
    if (result == 0) return Extraction::kDone;
    said = unzip.GetLastMessage();
    return Extraction::kFailed;
}
