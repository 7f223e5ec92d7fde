#include "platform/win32/win32_text_file_reader.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_processes.h"

namespace {

// A folder of its own under the temporary folder, with a space and an accent.
class UpdateFiles : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = Narrow(temp) + "Mise à jour " + std::to_string(GetCurrentProcessId());
        CreateDirectoryW(Widen(folder_).c_str(), nullptr);
    }
    void TearDown() override {
        for (const char* name : {"\\version.txt", "\\vide.txt", "\\grand.txt", "\\marque.txt", "\\ecrit.bat"}) {
            const std::wstring path = Widen(folder_ + name);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(Widen(folder_).c_str());
    }
    void Write(const std::string& name, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        const HANDLE file = CreateFileW(Widen(folder_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        attributes, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }

    std::string folder_;
    Win32TextFileReader reader_;
};

TEST_F(UpdateFiles, AVersionFileIsReadWholeWithItsLineEndsAndAnsiLetters) {
    Write("\\version.txt", "0.9\r\n1.4 \xE9t\xE9\r\n", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(reader_.ReadText(folder_ + "\\version.txt"), "0.9\r\n1.4 été\r\n");
    // Joined at a drive root, the backslash comes doubled.
    const std::string doubled = folder_.substr(0, 3) + "\\" + folder_.substr(3) + "\\version.txt";
    EXPECT_EQ(reader_.ReadText(doubled), "0.9\r\n1.4 été\r\n");
}

TEST_F(UpdateFiles, EmptyMissingOrOversizedFilesAreToldApart) {
    Write("\\vide.txt", "");
    EXPECT_EQ(reader_.ReadText(folder_ + "\\vide.txt"), "");
    EXPECT_EQ(reader_.ReadText(folder_ + "\\absent.txt"), std::nullopt);
    EXPECT_EQ(reader_.ReadText(folder_ + "\\dossier absent\\version.txt"), std::nullopt);
    Write("\\grand.txt", std::string(Win32TextFileReader::kLargestFile + 1, 'x'));
    EXPECT_EQ(reader_.ReadText(folder_ + "\\grand.txt"), std::nullopt);
}

TEST_F(UpdateFiles, AFileHeldOpenForWritingByAnotherIsStillRead) {
    Write("\\version.txt", "1.4\r\n");
    const HANDLE held = CreateFileW(Widen(folder_ + "\\version.txt").c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(reader_.ReadText(folder_ + "\\version.txt"), "1.4\r\n");
    CloseHandle(held);
}

// A batch file's full path, unquoted, in a folder with a space and an
// accent, hidden: it runs in the working folder it is given.
TEST_F(UpdateFiles, ABatchFileStartsHiddenInItsWorkingFolderAndAMissingOneIsRefused) {
    Write("\\ecrit.bat", "@echo off\r\necho lanc\xE9> marque.txt\r\n");
    Win32Processes processes;
    ASSERT_TRUE(processes.StartCommandLine(folder_ + "\\ecrit.bat", SW_HIDE, folder_));
    const std::wstring mark = Widen(folder_ + "\\marque.txt");
    // The batch runs on its own; poll for its mark rather than time it.
    for (int i = 0; i < 300 && GetFileAttributesW(mark.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
    EXPECT_NE(GetFileAttributesW(mark.c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_FALSE(processes.StartCommandLine(folder_ + "\\absent.bat", SW_HIDE, folder_));
    EXPECT_FALSE(processes.StartCommandLine("", SW_SHOWNORMAL, ""));
}

}  // namespace
