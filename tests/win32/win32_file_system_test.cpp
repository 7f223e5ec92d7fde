#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"

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

}  // namespace
