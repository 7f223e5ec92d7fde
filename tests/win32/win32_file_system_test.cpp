#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"
#include "storage/folder_tree_deletion.h"

namespace {

// A scratch folder with an accent and a space in its name, like a real key.
class Win32FileSystemTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = Narrow(temp) + "Clé USB " + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryW(Widen(root_).c_str(), nullptr);
    }
    void TearDown() override {
        for (const char* file : {"Solfège\\a.txt", "Vide\\Sous\\b.txt", "Systeme\\desktop.ini", "Cache\\c.txt",
                                 "Installé\\Sous\\b.txt", "Installé\\a.txt"}) {
            const std::wstring path = Widen(root_ + file);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
        for (const char* folder :
             {"Vide\\Sous", "Vide", "Installé\\Sous", "Installé", "Solfège", "Systeme", "Cache", ""}) {
            RemoveDirectoryW(Widen(root_ + folder).c_str());
        }
    }
    void File(const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        const std::string folder = relative.substr(0, relative.rfind('\\'));
        for (std::size_t at = 0; at != std::string::npos;) {
            const std::size_t next = folder.find('\\', at);
            CreateDirectoryW(Widen(root_ + folder.substr(0, next)).c_str(), nullptr);
            at = next == std::string::npos ? next : next + 1;
        }
        HANDLE file = CreateFileW(Widen(root_ + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  attributes, nullptr);
        CloseHandle(file);
        SetFileAttributesW(Widen(root_ + relative).c_str(), attributes);
    }

    std::string root_;
    Win32FileSystem files_;
};

TEST_F(Win32FileSystemTest, FindsOnlyFilesOfTheFolderItself) {
    File("Solfège\\a.txt");
    File("Vide\\Sous\\b.txt");
    EXPECT_EQ(files_.FirstFile(root_ + "Solfège\\*.*"), "a.txt");
    EXPECT_EQ(files_.FirstFile(root_ + "Vide\\*.*"), std::nullopt);
    EXPECT_EQ(files_.FirstFile(root_ + "Absent\\*.*"), std::nullopt);
    EXPECT_EQ(files_.FirstFile("Q:\\Nulle part\\*.*"), std::nullopt);
}

TEST_F(Win32FileSystemTest, SystemFilesDoNotCountHiddenOnesDo) {
    File("Systeme\\desktop.ini", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    File("Cache\\c.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(files_.FirstFile(root_ + "Systeme\\*.*"), std::nullopt);
    EXPECT_EQ(files_.FirstFile(root_ + "Cache\\*.*"), "c.txt");
}

TEST_F(Win32FileSystemTest, CaseAndADoubledBackslashDoNotMatter) {
    File("Solfège\\a.txt");
    const std::string doubled = root_.substr(0, root_.size() - 1) + "\\\\";
    EXPECT_EQ(files_.FirstFile(doubled + "SOLFÈGE\\*.*"), "a.txt");
}

TEST_F(Win32FileSystemTest, ARenameMovesAWholeTreeReplacesAFileButNeverAFolder) {
    File("Vide\\Sous\\b.txt");
    EXPECT_EQ(files_.Rename(root_ + "Vide\\Sous\\", root_ + "Absent\\Sous"), FileResult::kMissing);
    ASSERT_EQ(files_.CreateFolder(root_ + "Installé\\"), FileResult::kDone);
    EXPECT_EQ(files_.Rename(root_ + "Vide\\Sous\\", root_ + "Installé\\Sous\\"), FileResult::kDone);
    EXPECT_EQ(files_.FirstFile(root_ + "Installé\\Sous\\*.*"), "b.txt");
    EXPECT_EQ(files_.FirstFile(root_ + "Vide\\Sous\\*.*"), std::nullopt);

    File("Vide\\Sous\\b.txt");
    EXPECT_NE(files_.Rename(root_ + "Vide\\Sous", root_ + "Installé\\Sous"), FileResult::kDone);
    EXPECT_EQ(files_.FirstFile(root_ + "Vide\\Sous\\*.*"), "b.txt");

    File("Solfège\\a.txt");
    File("Installé\\a.txt");
    EXPECT_EQ(files_.Rename(root_ + "Solfège\\a.txt", root_ + "Installé\\a.txt"), FileResult::kDone);
    EXPECT_EQ(files_.FirstFile(root_ + "Solfège\\*.*"), std::nullopt);
}

// Trees archives can carry: deeper than MAX_PATH, names Windows reserves or
// would trim. They are listed, scanned and removed like any other.
TEST_F(Win32FileSystemTest, LongPathsAndReservedNamesAreRemovedWhole) {
    const std::wstring top = L"\\\\?\\" + Widen(root_) + L"Profond";
    std::wstring folder = top;
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int level = 0; level < 12; ++level) {
        folder += L"\\dossier-au-nom-assez-long-" + std::to_wstring(level);
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    }
    ASSERT_GT(folder.size(), static_cast<std::size_t>(MAX_PATH));
    for (const wchar_t* name : {L"con", L"aux.txt", L"fin.", L"espace ", L"profond.txt"}) {
        HANDLE file = CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_READONLY, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << Narrow(name);
        CloseHandle(file);
    }
    const std::string deepest = Narrow(folder.substr(4)) + "\\";
    std::vector<FolderEntry> entries;
    ASSERT_EQ(files_.ListFolder(deepest, entries), FileResult::kDone);
    EXPECT_EQ(entries.size(), 5u);
    EXPECT_TRUE(files_.FirstFile(deepest + "*.*").has_value());

    EXPECT_TRUE(DeleteFolderTree(files_, root_ + "Profond\\"));
    EXPECT_EQ(GetFileAttributesW(top.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
