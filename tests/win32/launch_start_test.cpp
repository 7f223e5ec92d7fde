#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "components/launch_start.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_processes.h"

namespace {

// A drive folder with an accent and spaces in its name, like a real key,
// holding system\ and a batch file that leaves a mark where it lies.
class LaunchStartTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        app_ = Narrow(temp) + "Clé USB " + std::to_string(GetCurrentProcessId()) + "\\Cantarel Portable";
        CreateDirectoryW(Widen(app_.substr(0, app_.rfind('\\'))).c_str(), nullptr);
        CreateDirectoryW(Widen(app_).c_str(), nullptr);
        CreateDirectoryW(Widen(app_ + "\\system").c_str(), nullptr);
        Write("\\system\\essai.bat", "@echo off\r\necho %* > \"%~dp0lance.txt\"\r\n");
    }
    void TearDown() override {
        for (const char* file : {"\\system\\essai.bat", "\\system\\lance.txt", "\\system\\outil.txt"}) {
            DeleteFileW(Widen(app_ + file).c_str());
        }
        RemoveDirectoryW(Widen(app_ + "\\system").c_str());
        RemoveDirectoryW(Widen(app_).c_str());
        RemoveDirectoryW(Widen(app_.substr(0, app_.rfind('\\'))).c_str());
    }
    void Write(const std::string& relative, const std::string& text) {
        HANDLE file = CreateFileW(Widen(app_ + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    // The started program runs on its own: its mark is waited for, up to a
    // generous bound, so that a start that did nothing fails the test.
    bool MarkAppears(const std::string& relative) {
        for (int i = 0; i < 300; ++i) {
            if (GetFileAttributesW(Widen(app_ + relative).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
            Sleep(100);
        }
        return false;
    }

    std::string app_;
    Win32Processes processes_;
};

TEST_F(LaunchStartTest, ABatchFileUnderAFolderWithSpacesAndAccentsRunsHidden) {
    ASSERT_TRUE(processes_.StartCommandLine(BatchCommandLine(app_, "\\system\\essai.bat"), SW_HIDE));
    EXPECT_TRUE(MarkAppears("\\system\\lance.txt"));
}

// Characters that end or change a command in cmd, in the key's folder name.
// ("%" is left out: Wine's cmd cannot find a batch file under a folder that
// holds one, quoted or not.)
TEST_F(LaunchStartTest, ABatchFileRunsWhateverCharactersItsFolderHolds) {
    // A parent without a space: the name alone must be reason enough to quote.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string parent = Narrow(temp) + "cle" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(Widen(parent).c_str(), nullptr);
    for (const char* name : {"Musique&Son", "Cours(2026)", "Do^Re", "Cantarel"}) {
        SCOPED_TRACE(name);
        const std::string folder = parent + "\\" + name;
        ASSERT_TRUE(CreateDirectoryW(Widen(folder).c_str(), nullptr));
        CreateDirectoryW(Widen(folder + "\\system").c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(Widen(app_ + "\\system\\essai.bat").c_str(),
                              Widen(folder + "\\system\\essai.bat").c_str(), FALSE));
        ASSERT_TRUE(processes_.StartCommandLine(BatchCommandLine(folder, "\\system\\essai.bat"), SW_HIDE));
        bool marked = false;
        for (int i = 0; i < 300 && !marked; ++i, Sleep(100)) {
            marked = GetFileAttributesW(Widen(folder + "\\system\\lance.txt").c_str()) != INVALID_FILE_ATTRIBUTES;
        }
        EXPECT_TRUE(marked) << "the batch file under " << folder << " did not run";
        for (const char* file : {"\\system\\essai.bat", "\\system\\lance.txt"}) DeleteFileW(Widen(folder + file).c_str());
        RemoveDirectoryW(Widen(folder + "\\system").c_str());
        RemoveDirectoryW(Widen(folder).c_str());
    }
    RemoveDirectoryW(Widen(parent).c_str());
}

TEST_F(LaunchStartTest, AMissingBatchFileStartsNothingAndSaysSo) {
    EXPECT_FALSE(processes_.StartCommandLine(BatchCommandLine(app_, "\\system\\absent.bat"), SW_HIDE));
    EXPECT_FALSE(processes_.StartCommandLine(BatchCommandLine("Q:\\Nulle part", "\\system\\essai.bat"), SW_HIDE));
}

TEST_F(LaunchStartTest, ARelativeFileIsOpenedFromTheWorkingFolderGiven) {
    const std::optional<Processes::Handle> started =
        processes_.StartThroughShell({.file = "system\\essai.bat", .parameters = "", .folder = app_, .showCommand = 0});
    ASSERT_TRUE(started.has_value());
    processes_.Close(*started);
    EXPECT_TRUE(MarkAppears("\\system\\lance.txt"));
    EXPECT_FALSE(processes_.StartThroughShell({.file = "system\\absent.exe", .folder = app_}).has_value());
}

TEST_F(LaunchStartTest, TheRunasVerbStartsAProgramNamedRelativeToTheWorkingFolder) {
    // The registration tool is started this way outside Windows XP.
    const std::optional<Processes::Handle> started = processes_.StartThroughShell(
        {.file = "system\\essai.bat", .parameters = "", .folder = app_, .showCommand = 0, .verb = "runas"});
    ASSERT_TRUE(started.has_value());
    processes_.Close(*started);
    EXPECT_TRUE(MarkAppears("\\system\\lance.txt"));
}

TEST(Win32EnvironmentTest, ReadsAndExpandsTheLaunchersVariables) {
    Win32Environment environment;
    const std::optional<std::string> windows = environment.Variable("systemroot");
    ASSERT_TRUE(windows.has_value());
    EXPECT_NE(GetFileAttributesW(Widen(*windows).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(environment.Variable("SYSTEMROOT"), windows);

    SetEnvironmentVariableW(L"CANTAREL_ESSAI", L"D:\\Clé USB\\Programmes");
    EXPECT_EQ(environment.Variable("cantarel_essai"), "D:\\Clé USB\\Programmes");
    EXPECT_EQ(environment.Expand("%cantarel_essai%\\v3.5\\a.dll"), "D:\\Clé USB\\Programmes\\v3.5\\a.dll");
    SetEnvironmentVariableW(L"CANTAREL_ESSAI", L"");
    EXPECT_EQ(environment.Variable("CANTAREL_ESSAI"), "");
    SetEnvironmentVariableW(L"CANTAREL_ESSAI", nullptr);
    EXPECT_EQ(environment.Variable("CANTAREL_ESSAI"), std::nullopt);
    // An unset variable stays as written, and so names no file.
    EXPECT_EQ(environment.Expand("%CANTAREL_ESSAI%\\v3.5"), "%CANTAREL_ESSAI%\\v3.5");

    const std::optional<std::string> programFiles = environment.Variable("ProgramFiles");
    ASSERT_TRUE(programFiles.has_value());
    EXPECT_EQ(environment.Expand("%programFiles%\\Microsoft SQL Server Compact Edition"),
              *programFiles + "\\Microsoft SQL Server Compact Edition");
    const std::string longValue(5000, 'x');
    SetEnvironmentVariableW(L"CANTAREL_ESSAI", Widen(longValue).c_str());
    EXPECT_EQ(environment.Variable("CANTAREL_ESSAI"), longValue);
    EXPECT_EQ(environment.Expand("<%CANTAREL_ESSAI%>"), "<" + longValue + ">");
    SetEnvironmentVariableW(L"CANTAREL_ESSAI", nullptr);
}

}  // namespace
