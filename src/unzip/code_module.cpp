#include "unzip/code_module.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "unzip/unzip_error.h"

namespace CodeModule {
namespace {

constexpr std::string_view kSource = "CodeModule::VBUnzip";
constexpr std::size_t kPrintLimit = 32801;
constexpr std::size_t kReplaceNameLimit = 256;
constexpr int kPasswordBufferLimit = 257;

// The state of the current extraction, shared by every facade object; the
// library runs one extraction at a time.
struct ModuleState {
    std::string printed;
    std::int16_t passwordRefused = 0;
};
ModuleState state;

// Bytes of a zero-terminated library text, at most `limit`.
std::string_view Bytes(const char* text, std::size_t limit) {
    if (text == nullptr) return {};
    const void* zero = std::memchr(text, '\0', limit);
    return std::string_view(text, zero ? static_cast<const char*>(zero) - text : limit);
}

class Callbacks : public UnzipCallbacks {
public:
    Callbacks(UnzipLibrary& library, Dialogs& dialogs) : library_(library), dialogs_(dialogs) {}

    int Print(const char* text, unsigned long length) override {
        if (text == nullptr) return 0;
        std::string_view bytes = Bytes(text, std::min<std::size_t>(length, kPrintLimit));
        // The library ends its lines with a bare line feed; a text that starts
        // with one stands for the end of a line.
        if (!bytes.empty() && bytes.front() == '\n') {
            state.printed += "\r\n";
        } else {
            state.printed += library_.FromSystemText(bytes);
        }
        return 0;
    }

    int Replace(char* name, unsigned size) override {
        const std::string file =
            library_.FromSystemText(Bytes(name, std::min<std::size_t>(size, kReplaceNameLimit)));
        const int answer = dialogs_.Message("Overwrite " + file + "?", "VBUnZip32 - File Already Exists!",
                                            box::kYesNoCancel | box::kExclamationIcon);
        switch (answer) {
            case box::kAnswerYes: return kReplaceYes;
            case box::kAnswerCancel: return kReplaceNone;
            // No, or a box that could not be shown: the existing file stays.
            default: return kReplaceNo;
        }
    }

    int Password(char* buffer, int size, const char*, const char*) override {
        if (state.passwordRefused == 1) return 1;
        const std::optional<std::string> answer = dialogs_.Input("Please Enter The Password!", "");
        if (!answer || answer->empty()) {
            state.passwordRefused = 1;
            return 1;
        }
        const int room = std::min(size, kPasswordBufferLimit);
        // No room even for the terminating zero: this entry cannot be tried.
        if (buffer == nullptr || room < 1) return 1;
        const std::string password = library_.ToSystemText(*answer);
        std::memset(buffer, 0, static_cast<std::size_t>(room));
        std::memcpy(buffer, password.data(), std::min<std::size_t>(password.size(), room - 1));
        return 0;
    }

    void Message(std::uint64_t, std::uint64_t, unsigned, unsigned, unsigned, unsigned, unsigned, unsigned, char,
                 const char*, const char*, unsigned long, char) override {}

    int Service(const char*, std::uint64_t) override { return 0; }

private:
    UnzipLibrary& library_;
    Dialogs& dialogs_;
};

}  // namespace

UnzipOptions OptionRecord(const std::string& zipFileName, const std::string& extractDir,
                          const VBUnzipOptions& options) {
    UnzipOptions record;
    record.extractOnlyNewer = options.extractOnlyNewer;
    record.spaceToUnderscore = options.spaceToUnderScore;
    record.promptToOverwrite = options.promptOverwrite;
    record.quiet = options.messageLevel;
    record.writeToStdOut = options.writeToStdOut;
    record.testOnly = options.testZip;
    record.listVerbose = options.extractList;
    record.freshen = options.extractNewer;
    record.displayComment = options.displayComment;
    // Folders are kept with "../" dropped, or dropped: never the library's
    // mode that follows "../" out of the target folder.
    record.directories = options.honorDirectories != 0 ? 1 : 0;
    record.overwriteAll = options.overWriteFiles;
    record.convertLineEnds = options.convertCRtoCRLF;
    record.zipInfo = options.verbose;
    record.caseInsensitive = options.caseSensitive;
    record.privilege = options.privilege;
    record.zipFileName = zipFileName;
    record.extractDir = extractDir;
    return record;
}

std::int32_t VBUnzip(UnzipLibrary& library, Dialogs& dialogs, const std::string& zipFileName,
                     const std::string& extractDir, const VBUnzipOptions& options) {
    state = ModuleState{};
    Callbacks callbacks(library, dialogs);
    const UnzipLibrary::Result result =
        library.SingleEntryUnzip(OptionRecord(zipFileName, extractDir, options), callbacks);
    switch (result.failure) {
        case UnzipLibrary::Failure::None:
            return result.code;
        case UnzipLibrary::Failure::NotFound:
            throw UnzipError(unzip_error::kFileNotFound, "Fichier introuvable : " + result.detail,
                             std::string(kSource));
        case UnzipLibrary::Failure::EntryPointMissing:
            throw UnzipError(unzip_error::kEntryPointMissing,
                             "Point d'entrée " + result.detail + " introuvable dans unzip32.dll",
                             std::string(kSource));
        case UnzipLibrary::Failure::WrongLibrary:
            throw UnzipError(unzip_error::kEntryPointMissing,
                             "unzip32.dll n'est pas la bibliothèque attendue (UnZip " + result.detail +
                                 " au lieu de 6.0)",
                             std::string(kSource));
        case UnzipLibrary::Failure::PathNotRepresentable:
            throw UnzipError(unzip_error::kBadFileName, "Nom de fichier incorrect : " + result.detail,
                             std::string(kSource));
        case UnzipLibrary::Failure::Busy:
            throw UnzipError(unzip_error::kInvalidCall, "Une extraction est déjà en cours", std::string(kSource));
    }
    return result.code;
}

std::string PrintedText() { return state.printed; }

}  // namespace CodeModule
