#include "platform/win32/win32_system_info.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"
#include "drive/system_probes.h"

namespace {

TEST(Win32SystemInfo, ReportsTheVersionTheSystemGivesAndNamesIt) {
    Win32SystemInfo system;
    const std::optional<OsVersion> version = system.Version();
    ASSERT_TRUE(version.has_value());
    // The same numbers as the system's older, independent version call.
    const DWORD packed = GetVersion();
    EXPECT_EQ(version->platformId, 2u);
    EXPECT_EQ(version->major, LOBYTE(LOWORD(packed)));
    EXPECT_EQ(version->minor, HIBYTE(LOWORD(packed)));
    EXPECT_EQ(GetWindowsVersion(system), WindowsVersionName(version));
    EXPECT_EQ(GetWindowsVersion(system).rfind("Windows", 0), 0u) << GetWindowsVersion(system);
}

TEST(Win32SystemInfo, ALibraryIsAvailableWhenItLoadsAndIsNotKeptLoaded) {
    Win32SystemInfo system;
    EXPECT_TRUE(IsDLLAvailable(system, "kernel32.dll"));
    EXPECT_FALSE(IsDLLAvailable(system, "pas_de_bibliotheque_ici.dll"));
    EXPECT_FALSE(IsDLLAvailable(system, "pas de contrôle.ocx"));
    EXPECT_FALSE(IsDLLAvailable(system, ""));
    // An ActiveX control the test has not loaded: loaded, then let go.
    ASSERT_EQ(GetModuleHandleW(L"wshom.ocx"), nullptr);
    EXPECT_TRUE(IsDLLAvailable(system, "wshom.ocx"));
    EXPECT_EQ(GetModuleHandleW(L"wshom.ocx"), nullptr);
}

// Real files under a folder with an accent and a space.
class FileExistsTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = Narrow(temp) + "Sondes clé " + std::to_string(GetCurrentProcessId());
        CreateDirectoryW(Widen(root_).c_str(), nullptr);
        CreateDirectoryW(Widen(root_ + "\\Dossier caché").c_str(), nullptr);
        SetFileAttributesW(Widen(root_ + "\\Dossier caché").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    void TearDown() override {
        for (const char* name : files_) {
            SetFileAttributesW(Widen(root_ + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(Widen(root_ + "\\" + name).c_str());
        }
        SetFileAttributesW(Widen(root_ + "\\Dossier caché").c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(Widen(root_ + "\\Dossier caché").c_str());
        RemoveDirectoryW(Widen(root_).c_str());
    }
    void File(const char* name, DWORD attributes) {
        const std::wstring path = Widen(root_ + "\\" + name);
        CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        SetFileAttributesW(path.c_str(), attributes);
    }

    std::string root_;
    const char* files_[4] = {"sqlcecompact35.dll", "caché système.dll", "lecture seule.txt", "ouvert.txt"};
    Win32SystemInfo system_;
};

TEST_F(FileExistsTest, AnyFileCountsAFolderDoesNot) {
    File(files_[0], FILE_ATTRIBUTE_ARCHIVE);
    File(files_[1], FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    File(files_[2], FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(FileExists(system_, root_ + "\\sqlcecompact35.dll"));
    EXPECT_TRUE(FileExists(system_, root_ + "\\SQLCECOMPACT35.DLL"));
    EXPECT_TRUE(FileExists(system_, root_ + "\\caché système.dll"));
    EXPECT_TRUE(FileExists(system_, root_ + "\\lecture seule.txt"));
    EXPECT_FALSE(FileExists(system_, root_));
    EXPECT_FALSE(FileExists(system_, root_ + "\\Dossier caché"));
}

TEST_F(FileExistsTest, AFileInUseStillExists) {
    File(files_[3], FILE_ATTRIBUTE_NORMAL);
    HANDLE open = CreateFileW(Widen(root_ + "\\ouvert.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FileExists(system_, root_ + "\\ouvert.txt"));
    CloseHandle(open);
}

TEST_F(FileExistsTest, WhatCannotBeReadIsNotThere) {
    EXPECT_FALSE(FileExists(system_, root_ + "\\absent.dll"));
    EXPECT_FALSE(FileExists(system_, root_ + "\\Absent\\sqlcecompact35.dll"));
    EXPECT_FALSE(FileExists(system_, "Q:\\Program Files\\sqlcecompact35.dll"));  // no such drive
    EXPECT_FALSE(FileExists(system_, "C:\\mal<formé>.dll"));
    EXPECT_FALSE(FileExists(system_, ""));
}

TEST(Win32SystemInfo, ThisWindowsIsA64BitOne) {
    Win32SystemInfo system;
    // The build that runs here is 64-bit, which only a 64-bit Windows runs.
    static_assert(sizeof(void*) == 8 || sizeof(void*) == 4);
    if (sizeof(void*) == 8) {
        EXPECT_TRUE(Is64BitSystem(system));
    }
}

TEST(Win32SystemInfo, TheWow64QuestionIsFalseWhereItCannotBeAsked) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    ASSERT_NE(GetProcAddress(kernel, "IsWow64Process"), nullptr);
    // A 64-bit process is not under WOW64 (a 32-bit one on this system would be).
    EXPECT_EQ(Wow64Flag(kernel, GetCurrentProcess()), sizeof(void*) == 4);
    // A system without the call: a module that lacks it, or none at all.
    EXPECT_FALSE(Wow64Flag(GetModuleHandleW(nullptr), GetCurrentProcess()));
    EXPECT_FALSE(Wow64Flag(nullptr, GetCurrentProcess()));
    // A failing call leaves the answer false.
    EXPECT_FALSE(Wow64Flag(kernel, nullptr));
}

}  // namespace
