#include "unzip/cg_unzip_files.h"

#include <limits>

#include "platform/services.h"
#include "unzip/code_module.h"
#include "unzip/unzip_error.h"

namespace {

constexpr const char* kSource = "CGUnZipFiles::Unzip";

std::int16_t To16Bit(std::int32_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
        throw UnzipError(unzip_error::kOverflow, "Dépassement de capacité", kSource);
    }
    return static_cast<std::int16_t>(value);
}

}  // namespace

CGUnzipFiles::CGUnzipFiles(Services& services) : CGUnzipFiles(services.unzip, services.dialogs) {}

std::int32_t CGUnzipFiles::Unzip(const std::string& sZipFileName, const std::string& sExtractDir) {
    if (!sZipFileName.empty()) zipFileName_ = sZipFileName;
    if (!sExtractDir.empty()) extractDir_ = sExtractDir;
    const CodeModule::VBUnzipOptions options{
        .extractNewer = extractNewer_,
        .spaceToUnderScore = spaceToUnderScore_,
        .promptOverwrite = promptOverwrite_,
        .messageLevel = To16Bit(messageLevel_),
        .writeToStdOut = writeToStdOut_,
        .testZip = testZip_,
        .extractList = To16Bit(extractList_),
        .extractOnlyNewer = extractOnlyNewer_,
        .displayComment = displayComment_,
        .honorDirectories = honorDirectories_,
        .overWriteFiles = overWriteFiles_,
        .convertCRtoCRLF = convertCRtoCRLF_,
        .verbose = verbose_,
        .caseSensitive = caseSensitive_,
        .privilege = To16Bit(privilege_),
    };
    try {
        return CodeModule::VBUnzip(library_, dialogs_, zipFileName_, extractDir_, options);
    } catch (const UnzipError& error) {
        throw error.RaisedBy(kSource);
    }
}

std::string CGUnzipFiles::GetLastMessage() const { return CodeModule::PrintedText(); }
