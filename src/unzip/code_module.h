#pragma once

#include <cstdint>
#include <string>

#include "platform/dialogs.h"
#include "platform/unzip_library.h"

// The binding to the extraction library: runs one extraction, answers the
// library's callbacks (printed text, password, overwrite) and keeps the
// printed text of the most recent extraction of the process.
namespace CodeModule {

// The options as the facade passes them, 16-bit, in the order of the call.
struct VBUnzipOptions {
    std::int16_t extractNewer = 0;
    std::int16_t spaceToUnderScore = 0;
    std::int16_t promptOverwrite = 0;
    std::int16_t messageLevel = 0;
    std::int16_t writeToStdOut = 0;
    std::int16_t testZip = 0;
    std::int16_t extractList = 0;
    std::int16_t extractOnlyNewer = 0;
    std::int16_t displayComment = 0;
    std::int16_t honorDirectories = 0;
    std::int16_t overWriteFiles = 0;
    std::int16_t convertCRtoCRLF = 0;
    std::int16_t verbose = 0;
    std::int16_t caseSensitive = 0;
    std::int16_t privilege = 0;
};

// Extracts `zipFileName` into `extractDir` and returns the library's result,
// 0 for success. Raises UnzipError (source "CodeModule::VBUnzip") when the
// library cannot be loaded or called. Never writes outside `extractDir`.
std::int32_t VBUnzip(UnzipLibrary& library, Dialogs& dialogs, const std::string& zipFileName,
                     const std::string& extractDir, const VBUnzipOptions& options);

// All the text the library printed during the most recent extraction.
std::string PrintedText();

// What reaches the library's option record for these options (exposed for
// the tests of the mapping).
UnzipOptions OptionRecord(const std::string& zipFileName, const std::string& extractDir,
                          const VBUnzipOptions& options);

// The library's replies to the overwrite question.
constexpr int kReplaceNo = 100;
constexpr int kReplaceYes = 102;
constexpr int kReplaceNone = 104;

}  // namespace CodeModule
