#include "storage/folder_tree_deletion.h"

#include <windows.h>
#include <winioctl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "scratch_folder.h"

namespace {

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()); }
bool Exists(const std::string& path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

// The names of a folder's entries in the order the drive lists them.
std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(Widen(folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = Narrow(entry.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

// A scratch key with an accent and a space in its name.
class Win32FolderTreeTest : public testing::Test {
protected:
    void SetUp() override {
        root_ = ScratchPath("Clé USB arbre") + "\\";
        WipeFolder(root_.substr(0, root_.size() - 1));
        ASSERT_TRUE(CreateDirectoryW(Widen(root_).c_str(), nullptr));
    }
    void TearDown() override { WipeFolder(root_.substr(0, root_.size() - 1)); }

    void Folder(const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        for (std::size_t at = 0; at <= relative.size();) {
            const std::size_t next = relative.find('\\', at);
            CreateDirectoryW(Widen(root_ + relative.substr(0, next)).c_str(), nullptr);
            if (next == std::string::npos) break;
            at = next + 1;
        }
        SetFileAttributesW(Widen(root_ + relative).c_str(), attributes);
    }
    void File(const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        const std::size_t slash = relative.rfind('\\');
        if (slash != std::string::npos) Folder(relative.substr(0, slash));
        HANDLE file = CreateFileW(Widen(root_ + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << relative;
        DWORD written = 0;
        WriteFile(file, "la", 2, &written, nullptr);
        CloseHandle(file);
        ASSERT_TRUE(SetFileAttributesW(Widen(root_ + relative).c_str(), attributes)) << relative;
    }

    std::string root_;
    Win32FileSystem files_;
};

TEST_F(Win32FolderTreeTest, ANestedTreeOfEveryAttributeGoesCompletely) {
    File("Musique\\VLC\\vlc.exe");
    File("Musique\\VLC\\Lisez-moi en français.txt", FILE_ATTRIBUTE_READONLY);
    File("Musique\\VLC\\desktop.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    File("Musique\\VLC\\plugins\\Thumbs.db", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    Folder("Musique\\VLC\\plugins", FILE_ATTRIBUTE_READONLY);
    Folder("Musique\\VLC\\caché", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    File("Musique\\VLC\\caché\\réglages.xml", FILE_ATTRIBUTE_ARCHIVE);
    Folder("Musique\\VLC\\vide");
    std::string deep = "Musique\\VLC\\skins";
    for (int level = 1; level <= 20; ++level) deep += "\\niveau " + std::to_string(level);
    File(deep + "\\fond d'écran.png", FILE_ATTRIBUTE_READONLY);
    File("Musique\\Audacity\\audacity.exe");
    ASSERT_TRUE(AttributesOf(root_ + "Musique\\VLC\\plugins\\Thumbs.db") & FILE_ATTRIBUTE_SYSTEM);

    EXPECT_TRUE(DeleteFolderTree(files_, root_ + "Musique\\VLC\\"));
    EXPECT_FALSE(Exists(root_ + "Musique\\VLC"));
    EXPECT_TRUE(Exists(root_ + "Musique\\Audacity\\audacity.exe"));
}

TEST_F(Win32FolderTreeTest, ADoubledBackslashAfterTheFolderOfTheKeyIsAccepted) {
    File("Musique\\VLC\\vlc.exe");
    const std::string doubled = root_.substr(0, root_.size() - 1) + "\\\\Musique\\VLC\\";
    EXPECT_TRUE(DeleteFolderTree(files_, doubled));
    EXPECT_FALSE(Exists(root_ + "Musique\\VLC"));
}

TEST_F(Win32FolderTreeTest, AMissingFolderGivesFalseAndChangesNothing) {
    File("Musique\\VLC\\vlc.exe");
    EXPECT_EQ(DeleteFolderTreeExplained(files_, root_ + "Musique\\Absent\\").result, FileResult::kMissing);
    EXPECT_FALSE(DeleteFolderTree(files_, root_ + "Absent\\Musique\\VLC\\"));
    EXPECT_FALSE(DeleteFolderTree(files_, "Q:\\Nulle part\\"));
    EXPECT_TRUE(Exists(root_ + "Musique\\VLC\\vlc.exe"));
}

TEST_F(Win32FolderTreeTest, AFileHeldOpenStopsTheDeletionWhereItLies) {
    // A flat folder, so that the listing order decides what goes and what
    // stays; the file in use sits in the middle of it.
    const std::string folder = root_ + "Util\\Audacity\\";
    for (const char* name : {"a.dll", "b.dll", "c.dll", "d.dll", "en cours d'écoute.wav", "f.dll", "g.dll", "h.dll"}) {
        File(std::string("Util\\Audacity\\") + name);
    }
    File("Util\\Audacity\\Modules\\mod.dll");
    const std::vector<std::string> order = Listing(folder);
    const std::string held = folder + "en cours d'écoute.wav";
    HANDLE open = CreateFileW(Widen(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);

    const FolderTreeDeletion deletion = DeleteFolderTreeExplained(files_, folder);
    CloseHandle(open);

    EXPECT_FALSE(deletion.Done());
    EXPECT_EQ(deletion.stoppedAt, held);
    EXPECT_TRUE(deletion.result == FileResult::kInUse || deletion.result == FileResult::kDenied)
        << static_cast<int>(deletion.result);
    bool before = true;
    for (const std::string& name : order) {
        if (name == "en cours d'écoute.wav") before = false;
        EXPECT_EQ(Exists(folder + name), !before) << name;
    }
    EXPECT_TRUE(Exists(held));
    EXPECT_TRUE(Exists(root_ + "Util\\Audacity"));

    // Once the program has let go, the rest goes too.
    EXPECT_TRUE(DeleteFolderTree(files_, folder));
    EXPECT_FALSE(Exists(root_ + "Util\\Audacity"));
}

TEST_F(Win32FolderTreeTest, AFileHeldOpenDeepDownStopsEveryLevelAbove) {
    File("Cantarel\\Quiz\\audio\\chopin\\nocturne.mp3");
    File("Cantarel\\Quiz\\audio\\hymnes\\hymne.mp3");
    const std::string held = root_ + "Cantarel\\Quiz\\audio\\chopin\\nocturne.mp3";
    HANDLE open = CreateFileW(Widen(held).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    const bool deleted = DeleteFolderTree(files_, root_ + "Cantarel\\Quiz\\");
    CloseHandle(open);
    EXPECT_FALSE(deleted);
    EXPECT_TRUE(Exists(held));
    EXPECT_TRUE(Exists(root_ + "Cantarel\\Quiz\\audio"));
}

// A drive letter of our own on a scratch folder stands in for a key. Wine
// resolves drive letters through its own mount manager, Windows through
// DOS device names.
struct WineUnixDrive {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6d, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

bool DefineWineDrive(wchar_t letter, const char* unixPath, ULONG type) {
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    const std::size_t pathBytes = unixPath ? strlen(unixPath) + 1 : 0;
    std::vector<BYTE> buffer(sizeof(WineUnixDrive) + pathBytes, 0);
    auto* drive = reinterpret_cast<WineUnixDrive*>(buffer.data());
    drive->size = static_cast<ULONG>(buffer.size());
    drive->type = type;
    drive->letter = letter;
    if (unixPath) {
        drive->mountPointOffset = sizeof(WineUnixDrive);
        memcpy(buffer.data() + sizeof(WineUnixDrive), unixPath, pathBytes);
    }
    DWORD returned = 0;
    const BOOL done = DeviceIoControl(manager, kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()),
                                      nullptr, 0, &returned, nullptr);
    CloseHandle(manager);
    return done != FALSE;
}

class ScratchDrive {
public:
    ScratchDrive(const std::wstring& folder) : folder_(folder) {
        for (wchar_t letter = L'R'; letter <= L'Y'; ++letter) {
            const wchar_t root[] = {letter, L':', L'\\', 0};
            if (GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR) {
                name_[0] = letter;
                break;
            }
        }
        using UnixName = char*(CDECL*)(const wchar_t*);
        const auto unixName = reinterpret_cast<UnixName>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        if (unixName) {
            char* path = unixName(folder.c_str());
            wine_ = path && DefineWineDrive(name_[0], path, DRIVE_REMOVABLE);
            if (path) HeapFree(GetProcessHeap(), 0, path);
        } else {
            dos_ = DefineDosDeviceW(0, name_, folder.c_str()) != FALSE;
        }
    }
    ~ScratchDrive() {
        if (wine_) DefineWineDrive(name_[0], nullptr, DRIVE_NO_ROOT_DIR);
        if (dos_) DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, name_, folder_.c_str());
    }
    bool Mapped() const { return wine_ || dos_; }
    std::string Root() const { return Narrow(name_) + "\\"; }

private:
    std::wstring folder_;
    wchar_t name_[3] = {L'R', L':', 0};
    bool wine_ = false;
    bool dos_ = false;
};

TEST_F(Win32FolderTreeTest, ADriveRootIsEmptiedAndKept) {
    Folder("Lecteur");
    File("Lecteur\\autorun.inf", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    File("Lecteur\\Musique\\VLC\\vlc.exe");
    File("Lecteur\\Musique\\VLC\\plugins\\libmp3.dll", FILE_ATTRIBUTE_READONLY);
    File("Lecteur\\Mes documents\\Mes partitions\\Sonate é.mscz", FILE_ATTRIBUTE_READONLY);
    bool component = false, keptMusique = false, whole = false, rootKept = false, emptyAgain = false;
    {
        ScratchDrive drive(Widen(root_ + "Lecteur"));
        if (!drive.Mapped() || !Exists(drive.Root() + "Musique\\VLC\\vlc.exe")) {
            GTEST_SKIP() << "no drive letter reaches the scratch folder";
        }
        // AppFolder "R:\" + "\Musique\VLC" + "\": the doubled backslash is taken.
        component = DeleteFolderTree(files_, drive.Root() + "\\Musique\\VLC\\");
        keptMusique = Exists(drive.Root() + "Musique");
        whole = DeleteFolderTree(files_, drive.Root());
        rootKept = Exists(drive.Root());
        // An empty root lists nothing at all, not even ".": still a success.
        emptyAgain = DeleteFolderTree(files_, drive.Root());
    }
    EXPECT_TRUE(component);
    EXPECT_TRUE(keptMusique);
    EXPECT_TRUE(whole);
    EXPECT_TRUE(rootKept);
    EXPECT_TRUE(emptyAgain);
    EXPECT_TRUE(Exists(root_ + "Lecteur"));
    EXPECT_TRUE(Listing(root_ + "Lecteur\\").empty());
}

// A junction to a folder outside the component, made as Windows' mklink /J
// makes it.
bool MakeJunction(const std::wstring& link, const std::wstring& target) {
    if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
    HANDLE folder = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return false;
    const std::wstring substitute = L"\\??\\" + target;
    const USHORT substituteBytes = static_cast<USHORT>(substitute.size() * sizeof(wchar_t));
    const USHORT printBytes = static_cast<USHORT>(target.size() * sizeof(wchar_t));
    std::vector<BYTE> buffer(8 + 8 + substituteBytes + 2 + printBytes + 2, 0);
    auto* words = reinterpret_cast<USHORT*>(buffer.data());
    *reinterpret_cast<DWORD*>(buffer.data()) = IO_REPARSE_TAG_MOUNT_POINT;
    words[2] = static_cast<USHORT>(buffer.size() - 8);  // ReparseDataLength
    words[4] = 0;                                          // SubstituteNameOffset
    words[5] = substituteBytes;                            // SubstituteNameLength
    words[6] = static_cast<USHORT>(substituteBytes + 2);   // PrintNameOffset
    words[7] = printBytes;                                 // PrintNameLength
    memcpy(buffer.data() + 16, substitute.c_str(), substituteBytes);
    memcpy(buffer.data() + 16 + substituteBytes + 2, target.c_str(), printBytes);
    DWORD returned = 0;
    const BOOL done = DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                                      nullptr, 0, &returned, nullptr);
    CloseHandle(folder);
    if (!done) RemoveDirectoryW(link.c_str());
    return done && (GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

TEST_F(Win32FolderTreeTest, AJunctionGoesAsALinkAndItsTargetSurvives) {
    File("Mes documents\\Partitions\\Bach é.mscz");
    File("Musique\\MuseScore\\bin\\MuseScore.exe");
    const std::wstring target = Widen(root_ + "Mes documents\\Partitions");
    if (!MakeJunction(Widen(root_ + "Musique\\MuseScore\\Partitions"), target)) {
        GTEST_SKIP() << "this system makes no junctions";
    }
    ASSERT_TRUE(Exists(root_ + "Musique\\MuseScore\\Partitions\\Bach é.mscz"));
    ASSERT_TRUE(MakeJunction(Widen(root_ + "Musique\\Lien"), target));

    EXPECT_TRUE(DeleteFolderTree(files_, root_ + "Musique\\MuseScore\\"));
    EXPECT_FALSE(Exists(root_ + "Musique\\MuseScore"));
    EXPECT_TRUE(DeleteFolderTree(files_, root_ + "Musique\\Lien\\"));
    EXPECT_FALSE(Exists(root_ + "Musique\\Lien"));
    EXPECT_TRUE(Exists(root_ + "Mes documents\\Partitions\\Bach é.mscz"));
}

// The steps one by one, as the install and remove flows use them.
TEST_F(Win32FolderTreeTest, ListingGivesEveryEntryWithItsAttributesOnce) {
    File("Solfège\\caché.txt", FILE_ATTRIBUTE_HIDDEN);
    File("Solfège\\desktop.ini", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    File("Solfège\\protégé.txt", FILE_ATTRIBUTE_READONLY);
    Folder("Solfège\\Sous dossier");
    std::vector<FolderEntry> entries{{"reste d'avant", 0}};
    ASSERT_EQ(files_.ListFolder(root_ + "Solfège\\", entries), FileResult::kDone);
    ASSERT_EQ(entries.size(), 4u);
    for (const FolderEntry& entry : entries) {
        SCOPED_TRACE(entry.name);
        if (entry.name == "caché.txt") EXPECT_TRUE(entry.attributes & attributes::kHidden);
        else if (entry.name == "desktop.ini") EXPECT_TRUE(entry.attributes & attributes::kSystem);
        else if (entry.name == "protégé.txt") EXPECT_TRUE(entry.attributes & attributes::kReadOnly);
        else if (entry.name == "Sous dossier") EXPECT_TRUE(entry.attributes & attributes::kDirectory);
        else ADD_FAILURE() << "unexpected entry";
    }
    EXPECT_EQ(files_.ListFolder(root_ + "Solfège\\Sous dossier", entries), FileResult::kDone);
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(files_.ListFolder(root_ + "Absent\\", entries), FileResult::kMissing);
}

TEST_F(Win32FolderTreeTest, ReadOnlyStandsInTheWayUntilCleared) {
    File("Solfège\\protégé.txt", FILE_ATTRIBUTE_READONLY);
    Folder("Solfège\\Gardé", FILE_ATTRIBUTE_READONLY);
    const std::string file = root_ + "Solfège\\protégé.txt";
    EXPECT_EQ(files_.RemoveFile(file), FileResult::kDenied);
    EXPECT_EQ(files_.ClearAttributes(file), FileResult::kDone);
    std::uint32_t found = 0;
    EXPECT_EQ(files_.Attributes(file, found), FileResult::kDone);
    EXPECT_EQ(found & (attributes::kReadOnly | attributes::kHidden | attributes::kSystem), 0u);
    EXPECT_EQ(files_.RemoveFile(file), FileResult::kDone);
    EXPECT_EQ(files_.RemoveFile(file), FileResult::kMissing);
    EXPECT_EQ(files_.Attributes(file, found), FileResult::kMissing);

    EXPECT_EQ(files_.ClearAttributes(root_ + "Solfège\\Gardé\\"), FileResult::kDone);
    EXPECT_EQ(files_.RemoveFolder(root_ + "Solfège\\Gardé\\"), FileResult::kDone);
    File("Solfège\\dernier.txt");
    EXPECT_EQ(files_.RemoveFolder(root_ + "Solfège"), FileResult::kNotEmpty);
}

TEST_F(Win32FolderTreeTest, CreatingAFolderMakesOneLevel) {
    EXPECT_EQ(files_.CreateFolder(root_ + "Windows\\"), FileResult::kDone);
    EXPECT_EQ(files_.CreateFolder(root_ + "Windows\\Speech\\"), FileResult::kDone);
    EXPECT_EQ(files_.CreateFolder(root_ + "Windows\\Speech"), FileResult::kDone);  // already there
    EXPECT_EQ(files_.CreateFolder(root_ + "Cantarel\\Quiz\\"), FileResult::kMissing);
    File("Windows\\java");
    EXPECT_EQ(files_.CreateFolder(root_ + "Windows\\java\\"), FileResult::kFailed);
    EXPECT_TRUE(AttributesOf(root_ + "Windows\\Speech") & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(Exists(root_ + "Cantarel"));
}

}  // namespace
