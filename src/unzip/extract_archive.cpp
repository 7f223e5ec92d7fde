#include "unzip/extract_archive.h"

#include "platform/services.h"
#include "unzip/cg_unzip_files.h"
#include "unzip/unzip_error.h"

Extraction ExtractArchive(const std::string& archive, const std::string& folder, Services& services,
                          std::string& said) {
    said.clear();
    CGUnzipFiles unzip(services);
    unzip.SetZipFileName(archive);
    unzip.SetExtractDir(folder);
    unzip.SetHonorDirectories(true);
    std::int32_t result = 0;
    try {
        result = unzip.Unzip("", "");
    } catch (const UnzipError&) {
        return Extraction::kUnavailable;
    }
    if (services.action.Cancelled()) return Extraction::kCancelled;
    if (result == 0) return Extraction::kDone;
    said = unzip.GetLastMessage();
    return Extraction::kFailed;
}
