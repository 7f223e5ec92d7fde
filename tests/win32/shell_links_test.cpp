#include "platform/win32/win32_shell_links.h"

#include <windows.h>
#include <objidl.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/wide_text.h"
#include "scratch_folder.h"
#include "drive/launch_shortcuts.h"

namespace {

constexpr CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// What a shortcut holds, read back through the shell's own link object.
struct ReadBack {
    bool loaded = false;
    std::string target, folder, icon, arguments;
    int iconIndex = -1;
    int showCommand = -1;
};

ReadBack Read(const std::string& path) {
    ReadBack back;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW),
                                reinterpret_cast<void**>(&link)))) {
        return back;
    }
    IPersistFile* file = nullptr;
    link->QueryInterface(__uuidof(IPersistFile), reinterpret_cast<void**>(&file));
    if (file && SUCCEEDED(file->Load(Widen(path).c_str(), STGM_READ))) {
        back.loaded = true;
        wchar_t text[MAX_PATH] = L"";
        link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        back.target = Narrow(text);
        text[0] = 0;
        link->GetWorkingDirectory(text, MAX_PATH);
        back.folder = Narrow(text);
        text[0] = 0;
        link->GetIconLocation(text, MAX_PATH, &back.iconIndex);
        back.icon = Narrow(text);
        text[0] = 0;
        link->GetArguments(text, MAX_PATH);
        back.arguments = Narrow(text);
        link->GetShowCmd(&back.showCommand);
    }
    if (file) file->Release();
    link->Release();
    return back;
}

// A portable tree at a path with an accent and spaces, with its "system\"
// folder and one program actually there.
class ShellLinksTest : public testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        base_ = ScratchPath("Raccourcis");
        CreateDirectoryW(Widen(base_).c_str(), nullptr);
        app_ = base_ + "\\Clé USB Cantarel";
        CreateDirectoryW(Widen(app_).c_str(), nullptr);
        CreateDirectoryW(Widen(app_ + "\\system").c_str(), nullptr);
        CreateDirectoryW(Widen(app_ + "\\Cantarel").c_str(), nullptr);
        CreateDirectoryW(Widen(app_ + "\\Cantarel\\Solfège").c_str(), nullptr);
        CloseHandle(CreateFileW(Widen(app_ + "\\Cantarel\\Solfège\\Csolfege.exe").c_str(), GENERIC_WRITE, 0,
                                nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    void TearDown() override {
        WipeFolder(base_);
        CoUninitialize();
    }

    // Every shortcut holds the five fields of its row for the tree at `app`.
    void ExpectAllEleven(const std::string& app) {
        for (const LaunchShortcut& row : LaunchShortcutTable()) {
            SCOPED_TRACE(row.file);
            const ReadBack back = Read(app + std::string(row.file));
            ASSERT_TRUE(back.loaded);
            EXPECT_EQ(back.target, app + std::string(row.target));
            EXPECT_EQ(back.folder, app + std::string(row.workingFolder));
            EXPECT_EQ(back.icon, app + std::string(row.icon));
            EXPECT_EQ(back.iconIndex, 0);
            EXPECT_EQ(back.arguments, "");
            EXPECT_EQ(back.showCommand, SW_SHOWNORMAL);
        }
    }

    std::string base_;
    std::string app_;
    Win32ShellLinks links_;
};

TEST_F(ShellLinksTest, WritesTheElevenWithTheirFieldsPresentOrMissingProgram) {
    EXPECT_EQ(WriteLaunchShortcuts(app_, links_), 11);
    ExpectAllEleven(app_);
}

TEST_F(ShellLinksTest, RewritesEveryStartAndFollowsTheTreeWhenItMoves) {
    ASSERT_EQ(WriteLaunchShortcuts(app_, links_), 11);
    // The user edits one shortcut; the next start puts the table's values back.
    ShellLink edited = LinkFor(LaunchShortcutTable()[5], app_);
    edited.arguments = "/demo";
    edited.windowStyle = SW_SHOWMINNOACTIVE;
    ASSERT_TRUE(links_.Write(app_ + "\\system\\quiz.lnk", edited));
    EXPECT_EQ(Read(app_ + "\\system\\quiz.lnk").arguments, "/demo");
    EXPECT_EQ(WriteLaunchShortcuts(app_, links_), 11);
    ExpectAllEleven(app_);

    // The key now lives elsewhere: every shortcut gets the new paths.
    const std::string moved = base_ + "\\École de musique";
    ASSERT_TRUE(MoveFileW(Widen(app_).c_str(), Widen(moved).c_str()));
    EXPECT_EQ(WriteLaunchShortcuts(moved, links_), 11);
    ExpectAllEleven(moved);
}

TEST_F(ShellLinksTest, AShortcutThatCannotBeWrittenDoesNotStopTheOthers) {
    // A folder in the way of one shortcut; another open in a program that
    // shares it with no one.
    CreateDirectoryW(Widen(app_ + "\\system\\quiz.lnk").c_str(), nullptr);
    HANDLE inUse = CreateFileW(Widen(app_ + "\\system\\maestrel.lnk").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                               nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WriteLaunchShortcuts(app_, links_), 9);
    CloseHandle(inUse);
    for (const LaunchShortcut& row : LaunchShortcutTable()) {
        if (row.file == "\\system\\quiz.lnk" || row.file == "\\system\\maestrel.lnk") continue;
        EXPECT_TRUE(Read(app_ + std::string(row.file)).loaded) << row.file;
    }
    EXPECT_FALSE(Read(app_ + "\\system\\quiz.lnk").loaded);
    EXPECT_FALSE(Read(app_ + "\\system\\maestrel.lnk").loaded);  // still the empty file
    // The next start, with the way clear, writes it.
    EXPECT_EQ(WriteLaunchShortcuts(app_, links_), 10);
    EXPECT_TRUE(Read(app_ + "\\system\\maestrel.lnk").loaded);
}

TEST_F(ShellLinksTest, AReadOnlySystemFolderStillTakesTheShortcuts) {
    // On Windows the read-only mark of a folder does not protect its files.
    ASSERT_TRUE(SetFileAttributesW(Widen(app_ + "\\system").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(WriteLaunchShortcuts(app_, links_), 11);
    ExpectAllEleven(app_);
}

TEST_F(ShellLinksTest, NoSystemFolderOrNoDriveWritesNothingAndFailsQuietly) {
    RemoveDirectoryW(Widen(app_ + "\\system").c_str());
    EXPECT_EQ(WriteLaunchShortcuts(app_, links_), 0);
    EXPECT_EQ(GetFileAttributesW(Widen(app_ + "\\system").c_str()), INVALID_FILE_ATTRIBUTES);

    // A file named "system" where the folder should be.
    CloseHandle(CreateFileW(Widen(app_ + "\\system").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_EQ(WriteLaunchShortcuts(app_, links_), 0);

    // A key pulled out: its drive letter names nothing.
    EXPECT_EQ(WriteLaunchShortcuts("Q:\\Cantarel", links_), 0);
}

TEST_F(ShellLinksTest, WritesWhateverComStateTheCallingThreadIsIn) {
    const LaunchShortcut& quiz = LaunchShortcutTable()[5];
    const std::string path = app_ + std::string(quiz.file);
    bool written = false;
    // A thread where COM runs in the other mode, then one where it was never started.
    std::thread multithreaded([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        written = links_.Write(path, LinkFor(quiz, app_));
        CoUninitialize();
    });
    multithreaded.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(Read(path).target, app_ + std::string(quiz.target));
    ASSERT_TRUE(DeleteFileW(Widen(path).c_str()));

    written = false;
    std::thread bare([&] { written = links_.Write(path, LinkFor(quiz, app_)); });
    bare.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(Read(path).target, app_ + std::string(quiz.target));
}

}  // namespace
