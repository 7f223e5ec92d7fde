#include "storage/folder_tree_deletion.h"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"

namespace {

using attributes::kHidden;
using attributes::kReadOnly;
using attributes::kSystem;

int Count(const std::vector<std::string>& operations, std::string_view prefix) {
    return static_cast<int>(std::count_if(operations.begin(), operations.end(),
                                          [&](const std::string& op) { return op.starts_with(prefix); }));
}

class FolderTreeDeletionTest : public testing::Test {
protected:
    // A component folder as an archive leaves it, with the attributes users
    // and programs put on files.
    void FillVlc() {
        drive_.AddFile("E:\\Clé USB\\Musique\\VLC\\vlc.exe");
        drive_.AddFileWithAttributes("E:\\Clé USB\\Musique\\VLC\\lisez-moi.txt", kReadOnly);
        drive_.AddFileWithAttributes("E:\\Clé USB\\Musique\\VLC\\desktop.ini", kHidden | kSystem);
        drive_.AddFolderWithAttributes("E:\\Clé USB\\Musique\\VLC\\plugins", attributes::kDirectory | kReadOnly);
        drive_.AddFile("E:\\Clé USB\\Musique\\VLC\\plugins\\audio output\\libwaveout.dll");
        drive_.AddFileWithAttributes("E:\\Clé USB\\Musique\\VLC\\plugins\\Thumbs.db", kHidden);
        drive_.AddFile("E:\\Clé USB\\Musique\\VLC\\skins\\fond d'écran.png");
        drive_.AddFile("E:\\Clé USB\\Musique\\Audacity\\audacity.exe");
    }

    FakeFileSystem drive_;
};

TEST_F(FolderTreeDeletionTest, DeletesEverythingOfEveryAttributeAndTheFolder) {
    FillVlc();
    EXPECT_TRUE(DeleteFolderTree(drive_, "E:\\Clé USB\\Musique\\VLC\\"));
    EXPECT_FALSE(drive_.Exists("E:\\Clé USB\\Musique\\VLC"));
    EXPECT_FALSE(drive_.Exists("E:\\Clé USB\\Musique\\VLC\\plugins\\audio output\\libwaveout.dll"));
    EXPECT_TRUE(drive_.Exists("E:\\Clé USB\\Musique\\Audacity\\audacity.exe"));
    EXPECT_TRUE(drive_.Exists("E:\\Clé USB\\Musique"));
}

TEST_F(FolderTreeDeletionTest, ListsEachFolderOnceAndDeletesInListingOrderDepthFirst) {
    FillVlc();
    ASSERT_TRUE(DeleteFolderTree(drive_, "E:\\Clé USB\\Musique\\VLC\\"));
    const std::vector<std::string> expected{
        "list E:\\Clé USB\\Musique\\VLC\\",
        "delete E:\\Clé USB\\Musique\\VLC\\vlc.exe",
        "clear E:\\Clé USB\\Musique\\VLC\\lisez-moi.txt",
        "delete E:\\Clé USB\\Musique\\VLC\\lisez-moi.txt",
        "clear E:\\Clé USB\\Musique\\VLC\\desktop.ini",
        "delete E:\\Clé USB\\Musique\\VLC\\desktop.ini",
        "list E:\\Clé USB\\Musique\\VLC\\plugins\\",
        "list E:\\Clé USB\\Musique\\VLC\\plugins\\audio output\\",
        "delete E:\\Clé USB\\Musique\\VLC\\plugins\\audio output\\libwaveout.dll",
        "rmdir E:\\Clé USB\\Musique\\VLC\\plugins\\audio output",
        "clear E:\\Clé USB\\Musique\\VLC\\plugins\\Thumbs.db",
        "delete E:\\Clé USB\\Musique\\VLC\\plugins\\Thumbs.db",
        "clear E:\\Clé USB\\Musique\\VLC\\plugins",
        "rmdir E:\\Clé USB\\Musique\\VLC\\plugins",
        "list E:\\Clé USB\\Musique\\VLC\\skins\\",
        "delete E:\\Clé USB\\Musique\\VLC\\skins\\fond d'écran.png",
        "rmdir E:\\Clé USB\\Musique\\VLC\\skins",
        "rmdir E:\\Clé USB\\Musique\\VLC",
    };
    EXPECT_EQ(drive_.operations, expected);
}

TEST_F(FolderTreeDeletionTest, AWideFolderIsListedOnceNotOncePerEntry) {
    for (int i = 0; i < 2000; ++i) drive_.AddFile("E:\\Cantarel\\Quiz\\audio\\chopin\\piste " + std::to_string(i) + ".mp3");
    EXPECT_TRUE(DeleteFolderTree(drive_, "E:\\Cantarel\\Quiz\\audio\\chopin\\"));
    EXPECT_EQ(Count(drive_.operations, "list "), 1);
    EXPECT_EQ(Count(drive_.operations, "delete "), 2000);
    EXPECT_TRUE(drive_.Exists("E:\\Cantarel\\Quiz\\audio"));
}

TEST_F(FolderTreeDeletionTest, ADriveRootIsEmptiedAndKept) {
    drive_.AddFile("E:\\autorun.inf", true);
    drive_.AddFile("E:\\Musique\\VLC\\vlc.exe");
    drive_.AddFileWithAttributes("E:\\Mes documents\\partition.mscz", kReadOnly | kHidden);
    EXPECT_TRUE(DeleteFolderTree(drive_, "E:\\"));
    EXPECT_TRUE(drive_.Exists("E:\\"));
    std::vector<FolderEntry> left;
    EXPECT_EQ(drive_.ListFolder("E:\\", left), FileResult::kDone);
    EXPECT_TRUE(left.empty());
    EXPECT_TRUE(std::none_of(drive_.operations.begin(), drive_.operations.end(),
                             [](const std::string& op) { return op == "rmdir E:\\" || op == "clear E:\\"; }));
}

TEST_F(FolderTreeDeletionTest, AppFolderAtTheRootDoublesTheBackslashAndStillWorks) {
    FillVlc();
    // AppFolder "E:\" followed by "\Musique\VLC" and the closing backslash.
    EXPECT_TRUE(DeleteFolderTree(drive_, "E:\\Clé USB\\\\Musique\\VLC\\"));
    EXPECT_FALSE(drive_.Exists("E:\\Clé USB\\Musique\\VLC"));
    // And the root itself named that way is still only emptied.
    drive_.AddFile("F:\\a.txt");
    EXPECT_TRUE(DeleteFolderTree(drive_, "F:\\\\"));
    EXPECT_TRUE(drive_.Exists("F:\\"));
    EXPECT_FALSE(drive_.Exists("F:\\a.txt"));
}

TEST_F(FolderTreeDeletionTest, AFileInUseStopsEverythingAndKeepsWhatWasDeleted) {
    FillVlc();
    drive_.FailOn("E:\\Clé USB\\Musique\\VLC\\plugins\\audio output\\libwaveout.dll", FileResult::kInUse);
    const FolderTreeDeletion deletion = DeleteFolderTreeExplained(drive_, "E:\\Clé USB\\Musique\\VLC\\");
    EXPECT_FALSE(deletion.Done());
    EXPECT_EQ(deletion.result, FileResult::kInUse);
    EXPECT_EQ(deletion.stoppedAt, "E:\\Clé USB\\Musique\\VLC\\plugins\\audio output\\libwaveout.dll");
    // Listed before it: gone. After it, in the same folder and above: kept.
    EXPECT_FALSE(drive_.Exists("E:\\Clé USB\\Musique\\VLC\\vlc.exe"));
    EXPECT_FALSE(drive_.Exists("E:\\Clé USB\\Musique\\VLC\\desktop.ini"));
    EXPECT_TRUE(drive_.Exists("E:\\Clé USB\\Musique\\VLC\\plugins\\audio output\\libwaveout.dll"));
    EXPECT_TRUE(drive_.Exists("E:\\Clé USB\\Musique\\VLC\\plugins\\Thumbs.db"));
    EXPECT_EQ(drive_.AttributesOf("E:\\Clé USB\\Musique\\VLC\\plugins\\Thumbs.db"), kHidden);
    EXPECT_TRUE(drive_.Exists("E:\\Clé USB\\Musique\\VLC\\skins\\fond d'écran.png"));
    EXPECT_EQ(drive_.operations.back(), "delete E:\\Clé USB\\Musique\\VLC\\plugins\\audio output\\libwaveout.dll");
    EXPECT_FALSE(DeleteFolderTree(drive_, "E:\\Clé USB\\Musique\\VLC\\"));
}

TEST_F(FolderTreeDeletionTest, EveryKindOfStepFailureStopsWithFalse) {
    struct Case {
        const char* failing;
        FileResult why;
    };
    for (const Case& c : {Case{"E:\\Clé USB\\Musique\\VLC\\lisez-moi.txt", FileResult::kDenied},  // attributes cannot be cleared
                          Case{"E:\\Clé USB\\Musique\\VLC\\plugins", FileResult::kDenied},
                          Case{"E:\\Clé USB\\Musique\\VLC\\skins", FileResult::kNotEmpty},
                          Case{"E:\\Clé USB\\Musique\\VLC", FileResult::kInUse}}) {
        SCOPED_TRACE(c.failing);
        drive_ = FakeFileSystem{};
        FillVlc();
        drive_.FailOn(c.failing, c.why);
        const FolderTreeDeletion deletion = DeleteFolderTreeExplained(drive_, "E:\\Clé USB\\Musique\\VLC\\");
        EXPECT_EQ(deletion.result, c.why);
        EXPECT_EQ(deletion.stoppedAt, c.failing);
        EXPECT_TRUE(drive_.Exists(c.failing));
        EXPECT_TRUE(drive_.Exists("E:\\Clé USB\\Musique\\VLC"));
    }
}

TEST_F(FolderTreeDeletionTest, AWriteProtectedKeyChangesNothing) {
    FillVlc();
    drive_.writeProtected = true;
    const FolderTreeDeletion deletion = DeleteFolderTreeExplained(drive_, "E:\\Clé USB\\Musique\\VLC\\");
    EXPECT_EQ(deletion.result, FileResult::kWriteProtected);
    EXPECT_TRUE(drive_.Exists("E:\\Clé USB\\Musique\\VLC\\vlc.exe"));
}

TEST_F(FolderTreeDeletionTest, AMissingFolderGivesFalseAndTouchesNothing) {
    FillVlc();
    const FolderTreeDeletion deletion = DeleteFolderTreeExplained(drive_, "E:\\Clé USB\\Musique\\Absent\\");
    EXPECT_EQ(deletion.result, FileResult::kMissing);
    EXPECT_FALSE(DeleteFolderTree(drive_, "Q:\\Nulle part\\"));
    EXPECT_TRUE(drive_.operations.empty());
}

TEST_F(FolderTreeDeletionTest, AFileNamedLikeTheFolderIsLeftAlone) {
    drive_.AddFile("E:\\Musique\\VLC");
    EXPECT_FALSE(DeleteFolderTree(drive_, "E:\\Musique\\VLC\\"));
    EXPECT_TRUE(drive_.Exists("E:\\Musique\\VLC"));
}

TEST_F(FolderTreeDeletionTest, EmptyOrRelativePathsNeverReachTheDrive) {
    FillVlc();
    for (const char* path : {"", "\\", "Musique\\VLC\\", "\\Musique\\VLC\\", "E:", "E:Musique\\"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(DeleteFolderTree(drive_, path));
    }
    EXPECT_TRUE(drive_.operations.empty());
}

TEST_F(FolderTreeDeletionTest, AFolderWithoutItsClosingBackslashIsTheSameFolder) {
    FillVlc();
    EXPECT_TRUE(DeleteFolderTree(drive_, "E:\\Clé USB\\Musique\\VLC"));
    EXPECT_FALSE(drive_.Exists("E:\\Clé USB\\Musique\\VLC"));
}

TEST_F(FolderTreeDeletionTest, JunctionsAreRemovedAsLinksAndTheirTargetsSurvive) {
    drive_.AddFile("E:\\Mes documents\\Partitions\\Bach.mscz");
    drive_.AddFile("E:\\Musique\\MuseScore\\bin\\MuseScore.exe");
    drive_.AddJunction("E:\\Musique\\MuseScore\\Partitions");
    EXPECT_TRUE(DeleteFolderTree(drive_, "E:\\Musique\\MuseScore\\"));
    EXPECT_FALSE(drive_.Exists("E:\\Musique\\MuseScore"));
    EXPECT_EQ(Count(drive_.operations, "list E:\\Musique\\MuseScore\\Partitions"), 0);
    EXPECT_TRUE(drive_.Exists("E:\\Mes documents\\Partitions\\Bach.mscz"));

    // The folder handed over may itself be a link: only the link goes.
    drive_.AddJunction("E:\\Musique\\Lien");
    EXPECT_TRUE(DeleteFolderTree(drive_, "E:\\Musique\\Lien\\"));
    EXPECT_FALSE(drive_.Exists("E:\\Musique\\Lien"));
    EXPECT_EQ(Count(drive_.operations, "list E:\\Musique\\Lien"), 0);
}

}  // namespace
