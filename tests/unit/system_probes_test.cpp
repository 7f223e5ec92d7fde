#include "drive/system_probes.h"

#include <gtest/gtest.h>

#include "fakes/fake_system_info.h"

namespace {

struct VersionRow {
    std::uint32_t platformId, major, minor;
    const char* name;
};

// Every row of the version table, with the "any" cells tried at several values.
const VersionRow kVersions[] = {
    {0, 0, 0, "Win32s on Windows 3.1"},
    {0, 3, 10, "Win32s on Windows 3.1"},
    {0, 6, 1, "Win32s on Windows 3.1"},
    {1, 4, 0, "Windows 95"},
    {1, 9, 0, "Windows 95"},
    {1, 4, 90, "Windows Me"},
    {1, 0, 90, "Windows Me"},
    {1, 4, 10, "Windows 98"},
    {1, 4, 1, "Windows 98"},
    {1, 4, 91, "Windows 98"},
    {2, 3, 51, "Windows NT 3.5"},
    {2, 3, 0, "Windows NT 3.5"},
    {2, 4, 0, "Windows NT 4.0"},
    {2, 4, 7, "Windows NT 4.0"},
    {2, 5, 0, "Windows 2000"},
    {2, 5, 1, "Windows XP"},
    {2, 5, 2, "Windows XP"},
    {2, 5, 3, "Windows NT"},
    {2, 6, 0, "Windows Vista/Server 2008"},
    {2, 6, 1, "Windows 7/Server 2008 R2"},
    {2, 6, 2, "Windows 8/Server 2008 R2"},
    {2, 6, 3, "Windows NT"},
    {2, 6, 4, "Windows NT"},
    {2, 10, 0, "Windows NT"},
    {2, 2, 0, "Windows NT"},
    {2, 0, 0, "Windows NT"},
    {3, 5, 1, ""},
    {3, 10, 0, ""},
    {0xFFFFFFFFu, 6, 1, ""},
};

TEST(GetWindowsVersion, NamesEveryRowOfTheTable) {
    for (const VersionRow& row : kVersions) {
        SCOPED_TRACE(testing::Message() << row.platformId << "." << row.major << "." << row.minor);
        EXPECT_EQ(WindowsVersionName(OsVersion{row.platformId, row.major, row.minor}), row.name);
        FakeSystemInfo system;
        system.version = OsVersion{row.platformId, row.major, row.minor};
        EXPECT_EQ(GetWindowsVersion(system), row.name);
    }
}

TEST(GetWindowsVersion, ASystemThatDoesNotAnswerIsNamedSo) {
    FakeSystemInfo system;
    system.version = std::nullopt;
    EXPECT_EQ(GetWindowsVersion(system), "Unable to identify your version of Windows.");
}

TEST(IsDLLAvailable, AsksForEachNameAndAnswersWhetherItLoads) {
    FakeSystemInfo system;
    system.libraries = {"dx7vb.dll", "COMDLG32.OCX"};
    EXPECT_TRUE(IsDLLAvailable(system, "dx7vb.dll"));
    EXPECT_TRUE(IsDLLAvailable(system, "COMDLG32.OCX"));
    EXPECT_FALSE(IsDLLAvailable(system, "MSJINT35.DLL"));
    EXPECT_EQ(system.librariesAsked, (std::vector<std::string>{"dx7vb.dll", "COMDLG32.OCX", "MSJINT35.DLL"}));
    // No name names no library; the system is not asked.
    EXPECT_FALSE(IsDLLAvailable(system, ""));
    EXPECT_EQ(system.librariesAsked.size(), 3u);
}

TEST(FileExists, IsTrueForFilesOfAnyAttributeAndFalseForFoldersAndFailures) {
    FakeSystemInfo system;
    const std::string dll = "C:\\Program Files\\Microsoft SQL Server Compact Edition\\v3.5\\sqlcecompact35.dll";
    system.attributes = {
        {dll, 0x20},                      // archive
        {"E:\\Clé\\caché.txt", 0x02},     // hidden
        {"E:\\Clé\\système.sys", 0x04},   // system
        {"E:\\Clé\\lecture.txt", 0x01},   // read-only
        {"E:\\Clé\\normal.txt", 0x80},    // normal
        {"E:\\Clé", 0x10},                // folder
        {"E:\\Clé\\Caché", 0x12},         // hidden folder
    };
    EXPECT_TRUE(FileExists(system, dll));
    EXPECT_TRUE(FileExists(system, "E:\\Clé\\caché.txt"));
    EXPECT_TRUE(FileExists(system, "E:\\Clé\\système.sys"));
    EXPECT_TRUE(FileExists(system, "E:\\Clé\\lecture.txt"));
    EXPECT_TRUE(FileExists(system, "E:\\Clé\\normal.txt"));
    EXPECT_FALSE(FileExists(system, "E:\\Clé"));
    EXPECT_FALSE(FileExists(system, "E:\\Clé\\Caché"));
    EXPECT_FALSE(FileExists(system, "E:\\Clé\\absent.txt"));  // missing, or drive not ready
    EXPECT_FALSE(FileExists(system, ""));
}

TEST(Is64BitSystem, IsWhatTheSystemSays) {
    FakeSystemInfo system;
    system.windows64Bit = true;
    EXPECT_TRUE(Is64BitSystem(system));
    system.windows64Bit = false;
    EXPECT_FALSE(Is64BitSystem(system));
}

}  // namespace
