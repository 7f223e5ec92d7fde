#include "storage/staging.h"

#include <gtest/gtest.h>

#include "components/component_catalogue.h"
#include "fakes/fake_file_system.h"
#include "update/launcher_swap.h"

namespace {

constexpr const char* kApp = "E:\\Clé USB";

std::vector<std::string> Renames(const FakeFileSystem& files) {
    std::vector<std::string> renames;
    for (const std::string& op : files.operations) {
        if (op.starts_with("rename ")) renames.push_back(op.substr(7));
    }
    return renames;
}

TEST(Staging, AFolderNotYetThereArrivesInOneRename) {
    FakeFileSystem files;
    files.AddFile("E:\\Clé USB\\Installation en cours\\vlc\\fichiers\\VLC\\plugins\\a.dll");
    files.AddFile("E:\\Clé USB\\Installation en cours\\vlc\\fichiers\\VLC\\vlc.exe");
    files.AddFolder("E:\\Clé USB\\Musique\\");
    ASSERT_EQ(MoveIntoPlace(files, "E:\\Clé USB\\Installation en cours\\vlc\\fichiers", "E:\\Clé USB\\Musique"),
              FileResult::kDone);
    EXPECT_EQ(Renames(files), std::vector<std::string>{"E:\\Clé USB\\Installation en cours\\vlc\\fichiers\\VLC -> "
                                                       "E:\\Clé USB\\Musique\\VLC"});
    EXPECT_TRUE(files.Exists("E:\\Clé USB\\Musique\\VLC\\plugins\\a.dll"));
    EXPECT_FALSE(files.Exists("E:\\Clé USB\\Installation en cours\\vlc\\fichiers\\VLC\\"));
}

// Into a folder already there, folders go before files at every level, so
// the files a scan tests for are the last to arrive.
TEST(Staging, AFolderAlreadyThereIsJoinedFoldersFirst) {
    FakeFileSystem files;
    const std::string staged = "E:\\Installation en cours\\quiz\\fichiers";
    files.AddFile(staged + "\\Quiz.exe");
    files.AddFile(staged + "\\audio\\chopin\\1.mp3");
    files.AddFile(staged + "\\textes\\Chopin.txt");
    files.AddFile("E:\\Quiz\\textes\\Hymnes1.txt");
    files.AddFile("E:\\Quiz\\Quiz.exe");
    ASSERT_EQ(MoveIntoPlace(files, staged, "E:\\Quiz"), FileResult::kDone);
    EXPECT_EQ(Renames(files), (std::vector<std::string>{staged + "\\audio -> E:\\Quiz\\audio",
                                                        staged + "\\textes\\Chopin.txt -> E:\\Quiz\\textes\\Chopin.txt",
                                                        staged + "\\Quiz.exe -> E:\\Quiz\\Quiz.exe"}));
    EXPECT_TRUE(files.Exists("E:\\Quiz\\textes\\Hymnes1.txt"));
}

TEST(Staging, TheFirstRefusedStepStopsTheMoveAndSaysWhy) {
    FakeFileSystem files;
    files.AddFile("E:\\s\\a\\1.txt");
    files.AddFile("E:\\s\\b.txt");
    files.AddFile("E:\\t\\b.txt");
    files.FailOn("E:\\t\\a", FileResult::kInUse);
    EXPECT_EQ(MoveIntoPlace(files, "E:\\s", "E:\\t"), FileResult::kInUse);
    EXPECT_FALSE(files.Exists("E:\\t\\a\\"));
    EXPECT_TRUE(files.Exists("E:\\s\\b.txt"));
    // A file where a folder must go cannot be merged into.
    FakeFileSystem other;
    other.AddFile("E:\\s\\a\\1.txt");
    other.AddFile("E:\\t\\a");
    EXPECT_EQ(MoveIntoPlace(other, "E:\\s", "E:\\t"), FileResult::kFailed);
}

TEST(Staging, FoldersArePreparedLevelByLevelAndLeftoversCleared) {
    FakeFileSystem files;
    files.AddFolder("E:\\");
    EXPECT_EQ(CreateFolderPath(files, "E:\\"), FileResult::kDone);
    EXPECT_EQ(CreateFolderPath(files, "E:\\Clé USB\\Util\\Firefox\\"), FileResult::kDone);
    EXPECT_TRUE(files.Exists("E:\\Clé USB\\Util\\Firefox\\"));
    files.AddFile("E:\\Clé USB\\fichier");
    EXPECT_EQ(CreateFolderPath(files, "E:\\Clé USB\\fichier\\sous\\"), FileResult::kFailed);

    files.AddFile("E:\\Clé USB\\Installation en cours\\vlc\\VLC.zip.partiel");
    files.AddFile("E:\\Clé USB\\Installation en cours\\vlc\\fichiers\\VLC\\vlc.exe");
    ASSERT_EQ(PrepareStaging(files, kApp, "vlc"), FileResult::kDone);
    std::vector<FolderEntry> entries;
    EXPECT_EQ(files.ListFolder("E:\\Clé USB\\Installation en cours\\vlc\\", entries), FileResult::kDone);
    EXPECT_TRUE(entries.empty());
    RemoveStaging(files, kApp);
    EXPECT_FALSE(files.Exists("E:\\Clé USB\\Installation en cours\\"));
    // At a drive's root the staging folder is still one level down.
    EXPECT_EQ(StagingPath("E:\\", "vlc"), "E:\\Installation en cours\\vlc");
}

TEST(Staging, EveryStagedFileAndEmptyFolderIsListed) {
    FakeFileSystem files;
    files.AddFile("E:\\s\\VLC\\vlc.exe");
    files.AddFolder("E:\\s\\VLC\\vide\\");
    files.AddJunction("E:\\s\\VLC\\lien");
    std::vector<std::string> listed;
    ASSERT_EQ(ListFilesBelow(files, "E:\\s\\", listed), FileResult::kDone);
    EXPECT_EQ(listed, (std::vector<std::string>{"VLC\\vlc.exe", "VLC\\vide\\", "VLC\\lien"}));
}

TEST(Staging, AnArchiveFileLandsOnlyInItsComponentsFolder) {
    const Component& vlc = ComponentById("vlc");
    EXPECT_TRUE(LandsInComponent(vlc, "VLC\\vlc.exe"));
    EXPECT_TRUE(LandsInComponent(vlc, "vlc\\plugins\\"));
    EXPECT_FALSE(LandsInComponent(vlc, "VLC2\\vlc.exe"));
    EXPECT_FALSE(LandsInComponent(vlc, "vlc.exe"));
    EXPECT_FALSE(LandsInComponent(vlc, "VLC\\..\\Audacity\\a.exe"));
    EXPECT_FALSE(LandsInComponent(vlc, "VLC\\\\a.exe"));

    const Component& chopin = ComponentById("chopin");
    EXPECT_TRUE(LandsInComponent(chopin, "audio\\chopin\\1.mp3"));
    EXPECT_TRUE(LandsInComponent(chopin, "textes\\Chopin.txt"));
    EXPECT_TRUE(LandsInComponent(chopin, "textes\\Quizora.txt"));
    EXPECT_FALSE(LandsInComponent(chopin, "textes\\Hymnes1.txt"));
    EXPECT_FALSE(LandsInComponent(chopin, "audio\\hymnes\\1.mp3"));
    EXPECT_FALSE(LandsInComponent(chopin, "Cquiz3.exe"));

    // The quiz and the speech installers own their whole folder.
    EXPECT_TRUE(LandsInComponent(QuizProgram(), "audio\\hymnes\\1.mp3"));
    EXPECT_TRUE(LandsInComponent(ComponentById("reconnaissance_vocale"), "MSReaderSetupFRA.exe"));
}

}  // namespace

namespace {

// Every step of the swap refused in turn: the launcher's files are as they were.
TEST(LauncherSwap, ARefusalAtAnyStepPutsEveryFileBack) {
    const std::string app = "E:\\Clé USB\\";
    const std::string staged = app + "Installation en cours\\mise-a-jour\\fichiers\\";
    const std::string retired = app + "Installation en cours\\mise-a-jour\\ancien\\";
    const std::vector<std::string> package = {"CantarelPortable.exe", "unzip32.dll"};
    const std::vector<std::string> refused = {app + "CantarelPortable.exe", retired + "CantarelPortable.exe",
                                              app + "unzip32.dll", retired + "unzip32.dll"};
    for (const std::string& step : refused) {
        SCOPED_TRACE(step);
        FakeFileSystem files;
        files.AddFileWithAttributes(app + "CantarelPortable.exe", attributes::kHidden);
        files.AddFileWithAttributes(app + "unzip32.dll", attributes::kSystem);
        files.AddFolder(retired);
        for (const std::string& name : package) files.AddFile(staged + name);
        files.FailOn(step, FileResult::kInUse);
        EXPECT_EQ(SwapInLauncherFiles(files, staged, app, retired, package), FileResult::kInUse);
        EXPECT_EQ(files.AttributesOf(app + "CantarelPortable.exe"), attributes::kHidden);
        EXPECT_EQ(files.AttributesOf(app + "unzip32.dll"), attributes::kSystem);
    }
    FakeFileSystem files;
    files.AddFileWithAttributes(app + "unzip32.dll", attributes::kSystem);
    files.AddFolder(retired);
    for (const std::string& name : package) files.AddFile(staged + name);
    ASSERT_EQ(SwapInLauncherFiles(files, staged, app, retired, package), FileResult::kDone);
    EXPECT_EQ(files.AttributesOf(app + "unzip32.dll"), attributes::kArchive);
    EXPECT_EQ(files.AttributesOf(retired + "unzip32.dll"), attributes::kSystem);
    EXPECT_TRUE(files.Exists(app + "CantarelPortable.exe"));
}

TEST(LauncherSwap, APackageHoldsTheLaunchersProgramAndOnlyLauncherFiles) {
    EXPECT_TRUE(OnlyLauncherFiles({"CantarelPortable.exe"}));
    EXPECT_TRUE(OnlyLauncherFiles({"cantarelportable.EXE", "UNZIP32.dll"}));
    EXPECT_FALSE(OnlyLauncherFiles({}));
    EXPECT_FALSE(OnlyLauncherFiles({"unzip32.dll"}));
    EXPECT_FALSE(OnlyLauncherFiles({"CantarelPortable.exe", "system\\maestrel.bat"}));
    EXPECT_FALSE(OnlyLauncherFiles({"CantarelPortable.exe", "sous\\CantarelPortable.exe"}));
    EXPECT_FALSE(OnlyLauncherFiles({"CantarelPortable.exe", "vide\\"}));
}

}  // namespace
