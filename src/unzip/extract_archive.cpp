#include "unzip/extract_archive.h"

#include "platform/services.h"
#include "unzip/cg_unzip_files.h"
#include "unzip/unzip_error.h"

Extraction ExtractArchive(const std::string& archive, const std::string& folder, Services& services,
                          std::string_view whenSilent) {
    CGUnzipFiles unzip(services);
    unzip.SetZipFileName(archive);
    unzip.SetExtractDir(folder);
    unzip.SetHonorDirectories(true);
    try {
        if (unzip.Unzip("", "") == 0) return Extraction::kDone;
    } catch (const UnzipError&) {
        return Extraction::kUnavailable;
    }
    const std::string said = unzip.GetLastMessage();
    services.dialogs.Message(said.empty() ? std::string(whenSilent) : said, "", box::kOk);
    return Extraction::kFailed;
}
