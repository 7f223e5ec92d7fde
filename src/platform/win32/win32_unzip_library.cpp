#include "platform/win32/win32_unzip_library.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/win32/wide_text.h"

namespace {

// UnZip 6.0's option record (windll/structs.h, "DCL").
struct Dcl {
    unsigned StructVersID;
    int ExtractOnlyNewer;
    int SpaceToUnderscore;
    int PromptToOverwrite;
    int fQuiet;
    int ncflag;
    int ntflag;
    int nvflag;
    int nfflag;
    int nzflag;
    int ndflag;
    int noflag;
    int naflag;
    int nZIflag;
    int B_flag;
    int C_flag;
    int D_flag;
    int U_flag;
    int fPrivilege;
    LPSTR lpszZipFN;
    LPSTR lpszExtractDir;
};
constexpr unsigned kDclVersion = 0x600;  // any other value is refused

using PrintFunction = int(WINAPI*)(LPSTR, unsigned long);
using SoundFunction = void(WINAPI*)();
using ReplaceFunction = int(WINAPI*)(LPSTR, unsigned);
using PasswordFunction = int(WINAPI*)(LPSTR, int, LPCSTR, LPCSTR);
using MessageFunction = void(WINAPI*)(std::uint64_t, std::uint64_t, unsigned, unsigned, unsigned, unsigned, unsigned,
                                      unsigned, char, LPCSTR, LPCSTR, unsigned long, char);
using ServiceFunction = int(WINAPI*)(LPCSTR, std::uint64_t);

// UnZip 6.0's callback record ("USERFUNCTIONS"); the 32-bit-size variants
// of the message and service callbacks stay null.
struct UserFunctions {
    PrintFunction print;
    SoundFunction sound;
    ReplaceFunction replace;
    PasswordFunction password;
    MessageFunction SendApplicationMessage;
    ServiceFunction ServCallBk;
    void* SendApplicationMessage_i32;
    void* ServCallBk_i32;
    std::uint64_t TotalSizeComp;
    std::uint64_t TotalSize;
    std::uint64_t NumMembers;
    unsigned CompFactor;
    WORD cchComment;
};

struct VersionPart {
    unsigned char major, minor, patchlevel, not_used;
};
// "UzpVer2" of unzip.h.
struct UzpVer2 {
    ULONG structlen;
    ULONG flag;
    char betalevel[10];
    char date[20];
    char zlib_version[10];
    VersionPart unzip, zipinfo, os2dll, windll, dllapimin;
};

#ifdef _WIN64
static_assert(sizeof(Dcl) == 96, "UnZip 6.0 option record, 64-bit");
static_assert(sizeof(UserFunctions) == 96, "UnZip 6.0 callback record, 64-bit");
#else
static_assert(sizeof(Dcl) == 84, "UnZip 6.0 option record, 32-bit");
static_assert(sizeof(UserFunctions) == 64, "UnZip 6.0 callback record, 32-bit");
static_assert(offsetof(UserFunctions, cchComment) == 60, "the DLL writes the comment length here");
#endif
static_assert(sizeof(UzpVer2) == 68, "UnZip 6.0 version record");

using SingleEntryUnzipFunction = int(WINAPI*)(int, char**, int, char**, Dcl*, UserFunctions*);
using VersionFunction = unsigned(WINAPI*)(UzpVer2*);

constexpr wchar_t kLibraryName[] = L"unzip32.dll";
constexpr std::size_t kNameListLength = 100;

// The callbacks of the extraction that is running. The library's callbacks
// carry no context of their own, and the library runs one extraction at a
// time anyway.
UnzipCallbacks* running = nullptr;
// The long action the running extraction reports to, if any.
LongAction* reporting = nullptr;

// No exception may cross the library's C frames.
int WINAPI Print(LPSTR text, unsigned long length) {
    try {
        if (running) return running->Print(text, length);
    } catch (...) {
    }
    return 0;
}

int WINAPI Replace(LPSTR name, unsigned size) {
    try {
        if (running) return running->Replace(name, size);
    } catch (...) {
    }
    return 100;  // leave the existing file
}

int WINAPI Password(LPSTR buffer, int size, LPCSTR prompt, LPCSTR entry) {
    try {
        if (running) return running->Password(buffer, size, prompt, entry);
    } catch (...) {
    }
    return 1;
}

void WINAPI Message(std::uint64_t size, std::uint64_t compressed, unsigned factor, unsigned month, unsigned day,
                    unsigned year, unsigned hour, unsigned minute, char flag, LPCSTR name, LPCSTR method,
                    unsigned long crc, char encrypted) {
    try {
        if (running)
            running->Message(size, compressed, factor, month, day, year, hour, minute, flag, name, method, crc,
                             encrypted);
    } catch (...) {
    }
}

// Called once per entry: counts it, and a non-zero answer stops the library.
int WINAPI Service(LPCSTR entry, std::uint64_t size) {
    try {
        if (reporting) {
            reporting->Advance(1);
            if (reporting->Cancelled()) return 1;
        }
        if (running) return running->Service(entry, size);
    } catch (...) {
    }
    return 0;
}

// The path in the ANSI code page, exactly; else its short form, which the
// file system gives in plain characters; else nothing.
std::optional<std::string> AnsiPath(const std::string& utf8) {
    auto shortPath = [](const std::wstring& wide) -> std::wstring {
        const DWORD length = GetShortPathNameW(wide.c_str(), nullptr, 0);
        if (length == 0) return {};
        std::wstring result(length, L'\0');
        const DWORD written = GetShortPathNameW(wide.c_str(), result.data(), length);
        if (written == 0 || written >= length) return {};
        result.resize(written);
        return result;
    };
    const std::wstring wide = Widen(utf8);
    if (auto ansi = ToAnsiExactly(wide)) return ansi;
    if (auto ansi = ToAnsiExactly(shortPath(wide))) return ansi;
    // A target folder that does not exist yet: its parent in short form.
    std::wstring trimmed = wide;
    while (trimmed.size() > 1 && trimmed.back() == L'\\') trimmed.pop_back();
    const std::size_t slash = trimmed.rfind(L'\\');
    if (slash == std::wstring::npos) return std::nullopt;
    const std::wstring parent = shortPath(trimmed.substr(0, slash + 1));
    if (parent.empty()) return std::nullopt;
    return ToAnsiExactly(parent + (parent.back() == L'\\' ? L"" : L"\\") + trimmed.substr(slash + 1) +
                 wide.substr(trimmed.size()));
}

class LoadedLibrary {
public:
    // The launcher's own copy, by its full path, and no other: a DLL of that
    // name in the current folder or on PATH is somebody else's.
    explicit LoadedLibrary(const std::string& folder) {
        if (folder.empty()) return;
        // A launcher at the root of a drive has "E:\" as its folder.
        std::wstring path = Widen(folder);
        if (path.back() != L'\\') path += L'\\';
        path += kLibraryName;
        module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    ~LoadedLibrary() {
        if (module_) FreeLibrary(module_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    template <typename Function>
    Function Entry(const char* name) const {
        // Through the generic function type, which the compiler accepts for any signature.
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_ = nullptr;
};

}  // namespace

Win32UnzipLibrary::Win32UnzipLibrary() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    const std::size_t slash = path.rfind(L'\\');
    folder_ = Narrow(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
}

UnzipLibrary::Result Win32UnzipLibrary::SingleEntryUnzip(const UnzipOptions& options, UnzipCallbacks& callbacks) {
    if (running != nullptr) return {Failure::Busy, 0, {}};

    LoadedLibrary library(folder_);
    if (!library.Loaded()) return {Failure::NotFound, 0, "unzip32.dll"};
    const auto version = library.Entry<VersionFunction>("UzpVersion2");
    if (version == nullptr) return {Failure::EntryPointMissing, 0, "UzpVersion2"};
    const auto unzip = library.Entry<SingleEntryUnzipFunction>("Wiz_SingleEntryUnzip");
    if (unzip == nullptr) return {Failure::EntryPointMissing, 0, "Wiz_SingleEntryUnzip"};
    // The records below are UnZip 6.0's: another version would read them wrong.
    UzpVer2 versionRecord{};
    versionRecord.structlen = sizeof versionRecord;
    version(&versionRecord);
    if (versionRecord.unzip.major != 6 || versionRecord.unzip.minor != 0) {
        return {Failure::WrongLibrary, 0,
                std::to_string(versionRecord.unzip.major) + "." + std::to_string(versionRecord.unzip.minor)};
    }

    std::optional<std::string> zipFileName = AnsiPath(options.zipFileName);
    if (!zipFileName) return {Failure::PathNotRepresentable, 0, options.zipFileName};
    std::optional<std::string> extractDir = AnsiPath(options.extractDir);
    if (!extractDir) return {Failure::PathNotRepresentable, 0, options.extractDir};

    Dcl dcl{};
    dcl.StructVersID = kDclVersion;
    dcl.ExtractOnlyNewer = options.extractOnlyNewer;
    dcl.SpaceToUnderscore = options.spaceToUnderscore;
    dcl.PromptToOverwrite = options.promptToOverwrite;
    dcl.fQuiet = options.quiet;
    dcl.ncflag = options.writeToStdOut;
    dcl.ntflag = options.testOnly;
    dcl.nvflag = options.listVerbose;
    dcl.nfflag = options.freshen;
    dcl.nzflag = options.displayComment;
    // 2 would follow "../" out of the target folder.
    dcl.ndflag = options.directories != 0 ? 1 : 0;
    dcl.noflag = options.overwriteAll;
    dcl.naflag = options.convertLineEnds;
    dcl.nZIflag = options.zipInfo;
    dcl.C_flag = options.caseInsensitive;
    dcl.fPrivilege = options.privilege;
    dcl.lpszZipFN = zipFileName->data();
    dcl.lpszExtractDir = extractDir->data();

    UserFunctions functions{};
    functions.print = Print;
    functions.replace = Replace;
    functions.password = Password;
    functions.SendApplicationMessage = Message;
    functions.ServCallBk = Service;

    std::vector<char*> include(kNameListLength, nullptr);
    std::vector<char*> exclude(kNameListLength, nullptr);
    running = &callbacks;
    reporting = action_;
    if (reporting) reporting->Begin(LongAction::Phase::kExtraction, 0);
    const int code = unzip(0, include.data(), 0, exclude.data(), &dcl, &functions);
    running = nullptr;
    reporting = nullptr;
    return {Failure::None, code, {}};
}

std::string Win32UnzipLibrary::ToSystemText(std::string_view utf8) { return ToAnsi(Widen(utf8)); }

std::string Win32UnzipLibrary::FromSystemText(std::string_view ansi) { return Narrow(FromAnsi(ansi)); }
