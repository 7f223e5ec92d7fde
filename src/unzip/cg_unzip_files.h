#pragma once

#include <cstdint>
#include <string>

#include "platform/dialogs.h"
#include "platform/unzip_library.h"

struct Services;

// One ZIP extraction: its options, then Unzip. Create one per archive.
// Booleans are kept as 1 or 0, which is what reaches the library.
class CGUnzipFiles {
public:
    CGUnzipFiles(UnzipLibrary& library, Dialogs& dialogs) : library_(library), dialogs_(dialogs) {}
    explicit CGUnzipFiles(Services& services);

    bool ExtractNewer() const { return extractNewer_ == 1; }
    void SetExtractNewer(bool value) { extractNewer_ = value ? 1 : 0; }
    bool SpaceToUnderScore() const { return spaceToUnderScore_ == 1; }
    void SetSpaceToUnderScore(bool value) { spaceToUnderScore_ = value ? 1 : 0; }
    bool PromptOverwrite() const { return promptOverwrite_ == 1; }
    void SetPromptOverwrite(bool value) { promptOverwrite_ = value ? 1 : 0; }
    std::int32_t MessageLevel() const { return messageLevel_; }
    void SetMessageLevel(std::int32_t value) { messageLevel_ = value; }
    bool WriteToStdOut() const { return writeToStdOut_ == 1; }
    void SetWriteToStdOut(bool value) { writeToStdOut_ = value ? 1 : 0; }
    bool TestZip() const { return testZip_ == 1; }
    void SetTestZip(bool value) { testZip_ = value ? 1 : 0; }
    std::int32_t ExtractList() const { return extractList_; }
    void SetExtractList(std::int32_t value) { extractList_ = value; }
    bool ExtractOnlyNewer() const { return extractOnlyNewer_ == 1; }
    void SetExtractOnlyNewer(bool value) { extractOnlyNewer_ = value ? 1 : 0; }
    bool DisplayComment() const { return displayComment_ == 1; }
    void SetDisplayComment(bool value) { displayComment_ = value ? 1 : 0; }
    bool HonorDirectories() const { return honorDirectories_ == 1; }
    void SetHonorDirectories(bool value) { honorDirectories_ = value ? 1 : 0; }
    bool OverWriteFiles() const { return overWriteFiles_ == 1; }
    void SetOverWriteFiles(bool value) { overWriteFiles_ = value ? 1 : 0; }
    bool ConvertCRtoCRLF() const { return convertCRtoCRLF_ == 1; }
    void SetConvertCRtoCRLF(bool value) { convertCRtoCRLF_ = value ? 1 : 0; }
    bool Verbose() const { return verbose_ == 1; }
    void SetVerbose(bool value) { verbose_ = value ? 1 : 0; }
    bool CaseSensitive() const { return caseSensitive_ == 1; }
    void SetCaseSensitive(bool value) { caseSensitive_ = value ? 1 : 0; }
    std::int32_t Privilege() const { return privilege_; }
    void SetPrivilege(std::int32_t value) { privilege_ = value; }
    const std::string& ZipFileName() const { return zipFileName_; }
    void SetZipFileName(std::string value) { zipFileName_ = std::move(value); }
    // With or without a trailing backslash.
    const std::string& ExtractDir() const { return extractDir_; }
    void SetExtractDir(std::string value) { extractDir_ = std::move(value); }

    // Extracts ZipFileName into ExtractDir; a non-empty argument first
    // replaces the property of the same meaning. Returns the library's
    // result, 0 for success; raises UnzipError (source
    // "CGUnZipFiles::Unzip") when the extraction cannot be run at all.
    std::int32_t Unzip(const std::string& sZipFileName, const std::string& sExtractDir);

    // The text the library printed during the most recent extraction of the
    // process, whichever object ran it.
    std::string GetLastMessage() const;

private:
    UnzipLibrary& library_;
    Dialogs& dialogs_;
    std::int16_t extractNewer_ = 0;
    std::int16_t spaceToUnderScore_ = 0;
    std::int16_t promptOverwrite_ = 0;
    std::int32_t messageLevel_ = 2;
    std::int16_t writeToStdOut_ = 0;
    std::int16_t testZip_ = 0;
    std::int32_t extractList_ = 0;
    std::int16_t extractOnlyNewer_ = 0;
    std::int16_t displayComment_ = 0;
    std::int16_t honorDirectories_ = 1;
    std::int16_t overWriteFiles_ = 1;
    std::int16_t convertCRtoCRLF_ = 0;
    std::int16_t verbose_ = 0;
    std::int16_t caseSensitive_ = 1;
    std::int32_t privilege_ = 0;
    std::string zipFileName_;
    std::string extractDir_;
};
