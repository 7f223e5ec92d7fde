// The real unzip32.dll on archives written here, through the facade.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_unzip_library.h"
#include "scratch_folder.h"
#include "unzip/cg_unzip_files.h"
#include "unzip/unzip_error.h"

namespace {

// --- archives ----------------------------------------------------------

std::uint32_t Crc32(const std::string& data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// The classic ZIP encryption, enough to make password archives.
class ZipCrypto {
public:
    explicit ZipCrypto(const std::string& password) {
        for (const char c : password) Update(static_cast<unsigned char>(c));
    }
    std::string Encrypt(const std::string& plain) {
        std::string out;
        for (const char c : plain) {
            const std::uint16_t temp = static_cast<std::uint16_t>(keys_[2] | 2);
            const unsigned char stream = static_cast<unsigned char>((temp * (temp ^ 1)) >> 8);
            out += static_cast<char>(static_cast<unsigned char>(c) ^ stream);
            Update(static_cast<unsigned char>(c));
        }
        return out;
    }

private:
    static std::uint32_t CrcByte(std::uint32_t crc, unsigned char byte) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        return crc;
    }
    void Update(unsigned char c) {
        keys_[0] = CrcByte(keys_[0], c);
        keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
        keys_[2] = CrcByte(keys_[2], static_cast<unsigned char>(keys_[1] >> 24));
    }
    std::uint32_t keys_[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

struct Entry {
    std::string name;  // the stored bytes
    std::string data;
    std::uint8_t host = 0;  // 0 DOS, 3 Unix
    std::uint32_t unixMode = 0;
    bool utf8 = false;
    std::string unicodePath;  // the UTF-8 name in the Unicode path extra field
    std::string password;
};

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Stored (uncompressed) entries, each with its folder entries left out.
std::string Zip(const std::vector<Entry>& entries) {
    std::string archive;
    std::string directory;
    for (const Entry& e : entries) {
        const std::uint32_t crc = Crc32(e.data);
        std::string data = e.data;
        std::uint16_t flags = e.utf8 ? 0x0800 : 0;
        if (!e.password.empty()) {
            flags |= 1;
            ZipCrypto crypto(e.password);
            std::string header(11, '\x5A');
            header += static_cast<char>(crc >> 24);
            data = crypto.Encrypt(header + e.data);
        }
        std::string extra;
        if (!e.unicodePath.empty()) {
            Put16(extra, 0x7075);
            Put16(extra, static_cast<std::uint32_t>(5 + e.unicodePath.size()));
            extra += '\x01';
            Put32(extra, Crc32(e.name));
            extra += e.unicodePath;
        }
        const std::uint32_t offset = static_cast<std::uint32_t>(archive.size());
        std::string common;
        Put16(common, 20);  // version needed
        Put16(common, flags);
        Put16(common, 0);  // stored
        Put16(common, 0x6000);  // 12:00
        Put16(common, 0x5B8C);  // 2025-12-12
        Put32(common, crc);
        Put32(common, static_cast<std::uint32_t>(data.size()));
        Put32(common, static_cast<std::uint32_t>(e.data.size()));
        Put16(common, static_cast<std::uint32_t>(e.name.size()));
        Put16(common, static_cast<std::uint32_t>(extra.size()));

        Put32(archive, 0x04034B50);
        archive += common + e.name + extra + data;

        Put32(directory, 0x02014B50);
        Put16(directory, (static_cast<std::uint32_t>(e.host) << 8) | 20);
        directory += common;
        Put16(directory, 0);  // comment
        Put16(directory, 0);  // disk
        Put16(directory, 0);  // internal attributes
        Put32(directory, e.unixMode << 16);
        Put32(directory, offset);
        directory += e.name + extra;
    }
    const std::uint32_t directoryOffset = static_cast<std::uint32_t>(archive.size());
    archive += directory;
    Put32(archive, 0x06054B50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<std::uint32_t>(entries.size()));
    Put16(archive, static_cast<std::uint32_t>(entries.size()));
    Put32(archive, static_cast<std::uint32_t>(directory.size()));
    Put32(archive, directoryOffset);
    Put16(archive, 0);
    return archive;
}

// --- files -------------------------------------------------------------

bool WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size();
}

std::optional<std::string> ReadBytes(const std::string& path) {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every name under `folder`, relative, folders ending with a backslash.
void List(const std::string& folder, const std::string& prefix, std::vector<std::string>& names) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(Widen(folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = Narrow(entry.cFileName);
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            names.push_back(prefix + name + "\\");
            List(folder + name + "\\", prefix + name + "\\", names);
        } else {
            names.push_back(prefix + name);
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

// The DLL the setup built, as a Windows path.
std::string BuiltLibrary() {
    const char* unix = std::getenv("CANTAREL_UNZIP32_DLL");
    if (unix == nullptr) return {};
    std::string path = unix;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Answers the library's questions from a script and records them.
class ScriptedDialogs : public Dialogs {
public:
    int Message(std::string_view text, std::string_view title, unsigned style) override {
        messages.push_back(std::string(title) + "|" + std::string(text) + "|" + std::to_string(style));
        if (answers.empty()) return box::kAnswerNo;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> Input(std::string_view prompt, std::string_view title) override {
        inputsAsked.push_back(std::string(title) + "|" + std::string(prompt));
        if (passwords.empty()) return std::nullopt;
        std::optional<std::string> answer = passwords.front();
        passwords.pop_front();
        return answer;
    }
    std::deque<int> answers;
    std::deque<std::optional<std::string>> passwords;
    std::vector<std::string> messages;
    std::vector<std::string> inputsAsked;
};

// A key in a folder with an accent and a space, the DLL beside the launcher.
class UnzipLibraryTest : public testing::Test {
protected:
    static std::string KeyFolder() {
        return ScratchPath("Clé USB unzip");
    }
    void SetUp() override {
        WipeFolder(key_);
        ASSERT_TRUE(CreateDirectoryW(Widen(key_).c_str(), nullptr));
        const std::string dll = BuiltLibrary();
        ASSERT_FALSE(dll.empty()) << "CANTAREL_UNZIP32_DLL is not set";
        ASSERT_TRUE(CopyFileW(Widen(dll).c_str(), Widen(key_ + "\\unzip32.dll").c_str(), FALSE))
            << dll << " (scripts/build-unzip32.sh builds it)";
        CreateDirectoryW(Widen(key_ + "\\Musique").c_str(), nullptr);
    }
    void TearDown() override { WipeFolder(key_); }

    std::string Archive(const std::vector<Entry>& entries, const std::string& name = "Solfège.zip") {
        const std::string path = key_ + "\\Musique\\" + name;
        EXPECT_TRUE(WriteBytes(path, Zip(entries)));
        return path;
    }

    std::int32_t Unzip(const std::string& archive, const std::string& target) {
        CGUnzipFiles unzip(library_, dialogs_);
        unzip.SetZipFileName(archive);
        unzip.SetExtractDir(target);
        unzip.SetHonorDirectories(true);
        const std::int32_t result = unzip.Unzip("", "");
        printed_ = unzip.GetLastMessage();
        return result;
    }

    std::vector<std::string> Listing(const std::string& folder) {
        std::vector<std::string> names;
        List(folder + "\\", "", names);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string key_ = KeyFolder();  // the launcher's folder
    Win32UnzipLibrary library_{key_};
    std::string printed_;
    ScriptedDialogs dialogs_;
};

// The name "Solfège" as a DOS host stores it (code page 850).
const std::string kSolfegeCp850 = "Solf\x8Age";

TEST_F(UnzipLibraryTest, ExtractsFoldersAndAccentedNamesIntoBothFormsOfTheTarget) {
    const std::string archive = Archive({
        {.name = kSolfegeCp850 + "/lisez-moi.txt", .data = "bonjour"},
        {.name = kSolfegeCp850 + "/Le\x87ons/niveau 1/exercice.txt", .data = "do ré mi"},
        {.name = "Solf\xC3\xA8ge/th\xC3\xA9orie.txt", .data = "utf-8", .utf8 = true,
         .unicodePath = "Solf\xC3\xA8ge/th\xC3\xA9orie.txt"},
    });
    // The install flow passes a trailing backslash, the self-update none.
    for (const std::string& target : {key_ + "\\Musique\\", key_ + "\\Autre"}) {
        EXPECT_EQ(Unzip(archive, target), 0) << target << "\n" << printed_;
        const std::string root = target.back() == '\\' ? target : target + "\\";
        EXPECT_EQ(ReadBytes(root + "Solfège\\lisez-moi.txt"), "bonjour") << target;
        EXPECT_EQ(ReadBytes(root + "Solfège\\Leçons\\niveau 1\\exercice.txt"), "do ré mi") << target;
        EXPECT_EQ(ReadBytes(root + "Solfège\\théorie.txt"), "utf-8") << target;
    }
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(UnzipLibraryTest, ExistingFilesAreReplacedWithoutAQuestion) {
    const std::string target = key_ + "\\Musique\\";
    CreateDirectoryW(Widen(target + "Solfège").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(target + "Solfège\\lisez-moi.txt", "ancienne version, plus longue"));
    const std::string archive = Archive({{.name = kSolfegeCp850 + "/lisez-moi.txt", .data = "neuve"}});
    EXPECT_EQ(Unzip(archive, target), 0) << printed_;
    EXPECT_EQ(ReadBytes(target + "Solfège\\lisez-moi.txt"), "neuve");
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(UnzipLibraryTest, OverwriteQuestionGetsTheFullPathAndNoKeepsTheFile) {
    const std::string target = key_ + "\\Musique\\";
    ASSERT_TRUE(WriteBytes(target + "a.txt", "gardé"));
    ASSERT_TRUE(WriteBytes(target + "b.txt", "remplacé"));
    const std::string archive = Archive({{.name = "a.txt", .data = "A"}, {.name = "b.txt", .data = "B"}});
    dialogs_.answers = {box::kAnswerNo, box::kAnswerYes};
    CGUnzipFiles unzip(library_, dialogs_);
    unzip.SetPromptOverwrite(true);
    unzip.SetOverWriteFiles(false);
    EXPECT_EQ(unzip.Unzip(archive, target), 0) << unzip.GetLastMessage();
    EXPECT_EQ(ReadBytes(target + "a.txt"), "gardé");
    EXPECT_EQ(ReadBytes(target + "b.txt"), "B");
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    // The library joins the target and the entry with its own separator.
    std::string asked = dialogs_.messages[0];
    std::replace(asked.begin(), asked.end(), '/', '\\');
    EXPECT_EQ(asked, "VBUnZip32 - File Already Exists!|Overwrite " + target + "a.txt?|51");
}

TEST_F(UnzipLibraryTest, PasswordArchiveRightWrongAndCancelled) {
    const std::string target = key_ + "\\Musique\\Secret";
    // The password reaches the library in the system's code page (1252).
    const std::string archive = Archive({
        {.name = "un.txt", .data = "premier", .password = "cl\xE9"},
        {.name = "deux.txt", .data = "second", .password = "cl\xE9"},
    });

    dialogs_.passwords = {std::string("clé"), std::string("clé")};
    EXPECT_EQ(Unzip(archive, target), 0) << printed_;
    EXPECT_EQ(ReadBytes(target + "\\un.txt"), "premier");
    EXPECT_EQ(ReadBytes(target + "\\deux.txt"), "second");
    // The library tries the last password on the next entry before asking.
    ASSERT_GE(dialogs_.inputsAsked.size(), 1u);
    EXPECT_EQ(dialogs_.inputsAsked[0], "|Please Enter The Password!");

    // A wrong answer is asked again by the library, a few times per entry.
    WipeFolder(target);
    dialogs_.inputsAsked.clear();
    dialogs_.passwords = std::deque<std::optional<std::string>>(8, std::string("faux"));
    EXPECT_NE(Unzip(archive, target), 0);
    EXPECT_NE(ReadBytes(target + "\\un.txt"), "premier");
    EXPECT_GE(dialogs_.inputsAsked.size(), 2u);

    // Cancelled: one question for the whole extraction, nothing extracted.
    WipeFolder(target);
    dialogs_.inputsAsked.clear();
    dialogs_.passwords = {std::nullopt, std::string("clé"), std::string("clé")};
    EXPECT_NE(Unzip(archive, target), 0);
    EXPECT_EQ(dialogs_.inputsAsked.size(), 1u);
    EXPECT_NE(ReadBytes(target + "\\un.txt"), "premier");
    EXPECT_NE(ReadBytes(target + "\\deux.txt"), "second");
}

TEST_F(UnzipLibraryTest, DamagedArchivesFailWithTheLibrarysText) {
    const std::string whole = Zip({{.name = "a.txt", .data = "contenu intact"}});
    const std::string target = key_ + "\\Musique\\Cible";

    const std::string cut = key_ + "\\Musique\\coupé.zip";
    ASSERT_TRUE(WriteBytes(cut, whole.substr(0, whole.size() / 2)));
    EXPECT_NE(Unzip(cut, target), 0);
    EXPECT_NE(printed_.find("End-of-central-directory"), std::string::npos) << printed_;

    std::string damaged = whole;
    damaged[30 + 5 + 3] ^= 0x55;  // a byte of the stored data
    const std::string bad = key_ + "\\Musique\\abîmé.zip";
    ASSERT_TRUE(WriteBytes(bad, damaged));
    EXPECT_NE(Unzip(bad, target), 0);
    EXPECT_FALSE(printed_.empty());

    EXPECT_NE(Unzip(key_ + "\\Musique\\absent.zip", target), 0);
    EXPECT_FALSE(printed_.empty());
}

TEST_F(UnzipLibraryTest, HostileArchiveWritesNothingOutsideTheTarget) {
    const std::string target = key_ + "\\Musique\\Cible\\";
    CreateDirectoryW(Widen(target).c_str(), nullptr);
    const std::string archive = Archive({
        {.name = "../dehors1.txt", .data = "x"},
        {.name = "..\\dehors2.txt", .data = "x"},
        {.name = "sous/../../dehors3.txt", .data = "x"},
        {.name = "sous\\..\\..\\..\\dehors4.txt", .data = "x"},
        {.name = "/dehors5.txt", .data = "x"},
        {.name = "\\dehors6.txt", .data = "x"},
        {.name = "C:/dehors7.txt", .data = "x"},
        {.name = "C:dehors8.txt", .data = "x"},
        {.name = "C:\\dehors9.txt", .data = "x"},
        {.name = "//serveur/partage/dehors10.txt", .data = "x"},
        {.name = ".../dehors11.txt", .data = "x"},
        {.name = "../" + std::string("Cible2") + "/dehors12.txt", .data = "x"},
        {.name = "lien", .data = "../..", .host = 3, .unixMode = 0120777},
        {.name = "lien/dehors13.txt", .data = "x", .host = 3, .unixMode = 0100644},
    });
    Unzip(archive, target);

    // Everything the library kept landed inside the target, and a link
    // became no link.
    for (const std::string& name : Listing(key_)) {
        const bool inside = name.rfind("Musique\\Cible\\", 0) == 0;
        EXPECT_TRUE(inside || name == "Musique\\" || name == "Musique\\Solfège.zip" || name == "unzip32.dll")
            << name;
        if (inside) {
            const DWORD attributes = GetFileAttributesW(Widen(key_ + "\\" + name).c_str());
            EXPECT_EQ(attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u) << name;
        }
    }
    EXPECT_FALSE(Exists(target + "lien\\dehors13.txt"));
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (const std::string& folder : {Narrow(temp), std::string("C:\\"), std::string("C:\\serveur\\partage\\")}) {
        for (int i = 1; i <= 13; ++i) {
            const std::string outside = folder + "dehors" + std::to_string(i) + ".txt";
            EXPECT_FALSE(Exists(outside)) << outside;
            DeleteFileW(Widen(outside).c_str());
        }
    }
}

TEST_F(UnzipLibraryTest, MissingLibraryRaisesUnderTheFacadesSource) {
    ASSERT_TRUE(DeleteFileW(Widen(key_ + "\\unzip32.dll").c_str()));
    const std::string archive = Archive({{.name = "a.txt", .data = "x"}});
    try {
        Unzip(archive, key_ + "\\Musique\\");
        ADD_FAILURE() << "no error";
    } catch (const UnzipError& error) {
        EXPECT_EQ(error.Source(), "CGUnZipFiles::Unzip");
        EXPECT_EQ(error.Number(), unzip_error::kFileNotFound);
        EXPECT_EQ(error.Description(), "Fichier introuvable : unzip32.dll");
    }
    EXPECT_FALSE(Exists(key_ + "\\Musique\\a.txt"));
}

// A copy in the current folder or on PATH is not the launcher's own.
TEST_F(UnzipLibraryTest, ALibraryPlantedElsewhereIsNeverLoaded) {
    ASSERT_TRUE(DeleteFileW(Widen(key_ + "\\unzip32.dll").c_str()));
    const std::string planted = key_ + "\\ailleurs";
    ASSERT_TRUE(CreateDirectoryW(Widen(planted).c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(Widen(BuiltLibrary()).c_str(), Widen(planted + "\\unzip32.dll").c_str(), FALSE));
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    SetCurrentDirectoryW(Widen(planted).c_str());
    const std::string archive = Archive({{.name = "a.txt", .data = "x"}});
    try {
        Unzip(archive, key_ + "\\Musique\\");
        ADD_FAILURE() << "the planted library was loaded";
    } catch (const UnzipError& error) {
        EXPECT_EQ(error.Number(), unzip_error::kFileNotFound);
    }
    SetCurrentDirectoryW(current);
    EXPECT_FALSE(Exists(key_ + "\\Musique\\a.txt"));
}

TEST_F(UnzipLibraryTest, LibraryWithoutTheEntryPointRaises) {
    // Any DLL that is not the extraction library.
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_TRUE(CopyFileW((std::wstring(system) + L"\\version.dll").c_str(), Widen(key_ + "\\unzip32.dll").c_str(),
                          FALSE));
    try {
        Unzip(Archive({{.name = "a.txt", .data = "x"}}), key_ + "\\Musique\\");
        ADD_FAILURE() << "no error";
    } catch (const UnzipError& error) {
        EXPECT_EQ(error.Source(), "CGUnZipFiles::Unzip");
        EXPECT_EQ(error.Number(), unzip_error::kEntryPointMissing);
    }
}

// A launcher at the root of a drive has "E:\" as its folder, and the paths
// built from it carry a doubled backslash ("E:\\Musique\Solfège.zip"). A
// drive cannot be mapped to a folder under Wine, so the folder stands in
// with the same trailing backslash.
TEST_F(UnzipLibraryTest, FolderWithTrailingBackslashAndDoubledBackslashes) {
    Win32UnzipLibrary library(key_ + "\\");
    CGUnzipFiles unzip(library, dialogs_);
    Archive({{.name = kSolfegeCp850 + "/a.txt", .data = "racine"}});
    unzip.SetZipFileName(key_ + "\\\\Musique\\Solfège.zip");
    const std::int32_t result = unzip.Unzip("", key_ + "\\\\Musique\\");
    EXPECT_EQ(result, 0) << unzip.GetLastMessage();
    EXPECT_EQ(ReadBytes(key_ + "\\Musique\\Solfège\\a.txt"), "racine");
}

}  // namespace
