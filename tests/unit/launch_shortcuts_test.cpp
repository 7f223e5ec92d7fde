#include "drive/launch_shortcuts.h"

#include <gtest/gtest.h>

#include "fakes/fake_shell_links.h"

namespace {

struct Expected {
    const char* file;
    const char* target;
    const char* folder;
    const char* icon;
};

// The eleven rows as the suite's shortcuts must hold them, for a tree at
// "E:\Clé USB\Cantarel".
const Expected kExpected[] = {
    {"E:\\Clé USB\\Cantarel\\system\\maestrel.lnk", "E:\\Clé USB\\Cantarel\\Cantarel\\maestrel\\maestrel.exe",
     "E:\\Clé USB\\Cantarel\\Cantarel\\Maestrel", "E:\\Clé USB\\Cantarel\\Cantarel\\Maestrel\\maestrel.exe"},
    {"E:\\Clé USB\\Cantarel\\system\\miniquadrelo.lnk",
     "E:\\Clé USB\\Cantarel\\Cantarel\\Mini Quadrelo\\MQuadFr.exe", "E:\\Clé USB\\Cantarel\\Cantarel\\Mini Quadrelo",
     "E:\\Clé USB\\Cantarel\\Cantarel\\Mini Quadrelo\\MQuadFr.exe"},
    {"E:\\Clé USB\\Cantarel\\system\\quadrelo.lnk", "E:\\Clé USB\\Cantarel\\Cantarel\\Quadrelo\\quadrelo.exe",
     "E:\\Clé USB\\Cantarel\\Cantarel\\Quadrelo", "E:\\Clé USB\\Cantarel\\Cantarel\\Quadrelo\\quadrelo.exe"},
    {"E:\\Clé USB\\Cantarel\\system\\pulsaro.lnk", "E:\\Clé USB\\Cantarel\\Cantarel\\Pulsaro\\pulsaro.exe",
     "E:\\Clé USB\\Cantarel\\Cantarel\\Pulsaro", "E:\\Clé USB\\Cantarel\\Cantarel\\Pulsaro\\pulsaro.exe"},
    {"E:\\Clé USB\\Cantarel\\system\\solfege.lnk", "E:\\Clé USB\\Cantarel\\Cantarel\\Solfège\\Csolfege.exe",
     "E:\\Clé USB\\Cantarel\\Cantarel\\Solfège", "E:\\Clé USB\\Cantarel\\Cantarel\\Solfège\\Csolfege.exe"},
    {"E:\\Clé USB\\Cantarel\\system\\quiz.lnk", "E:\\Clé USB\\Cantarel\\Cantarel\\Quiz\\Cquiz3.exe",
     "E:\\Clé USB\\Cantarel\\Cantarel\\Quiz", "E:\\Clé USB\\Cantarel\\Cantarel\\Quiz\\Cquiz3.exe"},
    {"E:\\Clé USB\\Cantarel\\system\\tonavel.lnk", "E:\\Clé USB\\Cantarel\\Cantarel\\Tonavel\\Tonavel.exe",
     "E:\\Clé USB\\Cantarel\\Cantarel\\Tonavel", "E:\\Clé USB\\Cantarel\\Cantarel\\Tonavel\\Tonavel.exe"},
    {"E:\\Clé USB\\Cantarel\\system\\metronome.lnk", "E:\\Clé USB\\Cantarel\\Cantarel\\Cantarel\\Cantarel.exe",
     "E:\\Clé USB\\Cantarel\\Cantarel\\Cantarel", "E:\\Clé USB\\Cantarel\\Cantarel\\Cantarel\\Cantarel.exe"},
    {"E:\\Clé USB\\Cantarel\\system\\symphalis.lnk", "E:\\Clé USB\\Cantarel\\Cantarel\\Symphalis\\CInstr.exe",
     "E:\\Clé USB\\Cantarel\\Cantarel\\Symphalis", "E:\\Clé USB\\Cantarel\\Cantarel\\Symphalis\\CInstr.exe"},
    {"E:\\Clé USB\\Cantarel\\system\\bullaro.lnk", "E:\\Clé USB\\Cantarel\\Cantarel\\Bullaro\\Bullaro.exe",
     "E:\\Clé USB\\Cantarel\\Cantarel\\Bullaro", "E:\\Clé USB\\Cantarel\\Cantarel\\Bullaro\\Bullaro.exe"},
    {"E:\\Clé USB\\Cantarel\\system\\clavira.lnk", "E:\\Clé USB\\Cantarel\\Cantarel\\Clavira\\Clavira.exe",
     "E:\\Clé USB\\Cantarel\\Cantarel\\Clavira", "E:\\Clé USB\\Cantarel\\Cantarel\\Clavira\\Clavira.exe"},
};

TEST(LaunchShortcuts, WritesTheElevenInOrderWithTheirFiveFields) {
    FakeShellLinks links;
    EXPECT_EQ(WriteLaunchShortcuts("E:\\Clé USB\\Cantarel", links), 11);
    ASSERT_EQ(links.written.size(), std::size(kExpected));
    for (std::size_t i = 0; i < std::size(kExpected); ++i) {
        SCOPED_TRACE(kExpected[i].file);
        const FakeShellLinks::Written& got = links.written[i];
        EXPECT_EQ(got.path, kExpected[i].file);
        EXPECT_EQ(got.link.targetPath, kExpected[i].target);
        EXPECT_EQ(got.link.workingFolder, kExpected[i].folder);
        EXPECT_EQ(got.link.windowStyle, 1);
        EXPECT_EQ(got.link.iconPath, kExpected[i].icon);
        EXPECT_EQ(got.link.iconIndex, 0);
        EXPECT_EQ(got.link.arguments, "");
    }
}

TEST(LaunchShortcuts, EachShortcutSitsBesideTheBatchFileOfItsProgram) {
    for (const LaunchShortcut& row : LaunchShortcutTable()) {
        SCOPED_TRACE(row.file);
        EXPECT_TRUE(row.file.starts_with("\\system\\"));
        EXPECT_TRUE(row.file.ends_with(".lnk"));
        // Working folder without a trailing backslash, holding the icon's file.
        EXPECT_NE(row.workingFolder.back(), '\\');
        EXPECT_TRUE(row.icon.starts_with(std::string(row.workingFolder) + "\\"));
    }
}

TEST(LaunchShortcuts, ADriveRootJoinsWithASingleBackslash) {
    EXPECT_EQ(JoinToAppFolder("E:\\", "\\system\\quiz.lnk"), "E:\\system\\quiz.lnk");
    EXPECT_EQ(JoinToAppFolder("E:\\Cantarel", "\\system\\quiz.lnk"), "E:\\Cantarel\\system\\quiz.lnk");
    FakeShellLinks links;
    WriteLaunchShortcuts("F:\\", links);
    ASSERT_EQ(links.written.size(), 11u);
    EXPECT_EQ(links.written[4].path, "F:\\system\\solfege.lnk");
    EXPECT_EQ(links.written[4].link.targetPath, "F:\\Cantarel\\Solfège\\Csolfege.exe");
    EXPECT_EQ(links.written[4].link.workingFolder, "F:\\Cantarel\\Solfège");
    EXPECT_EQ(links.written[4].link.iconPath, "F:\\Cantarel\\Solfège\\Csolfege.exe");
    for (const auto& written : links.written) EXPECT_EQ(written.path.find("\\\\"), std::string::npos) << written.path;
}

TEST(LaunchShortcuts, AFailingShortcutDoesNotStopTheOthers) {
    FakeShellLinks links;
    links.failing = {"E:\\Cantarel\\system\\maestrel.lnk", "E:\\Cantarel\\system\\quiz.lnk",
                     "E:\\Cantarel\\system\\clavira.lnk"};
    EXPECT_EQ(WriteLaunchShortcuts("E:\\Cantarel", links), 8);
    EXPECT_EQ(links.attempts.size(), 11u);
    ASSERT_EQ(links.written.size(), 8u);
    EXPECT_EQ(links.written.front().path, "E:\\Cantarel\\system\\miniquadrelo.lnk");
    EXPECT_EQ(links.written.back().path, "E:\\Cantarel\\system\\bullaro.lnk");

    // A write-protected or removed drive: every write refused, every one tried.
    FakeShellLinks refused;
    refused.refuseAll = true;
    EXPECT_EQ(WriteLaunchShortcuts("E:\\Cantarel", refused), 0);
    EXPECT_EQ(refused.attempts.size(), 11u);
}

TEST(LaunchShortcuts, EveryStartRewritesAllElevenForTheTreesCurrentPlace) {
    FakeShellLinks links;
    WriteLaunchShortcuts("E:\\Cantarel", links);
    WriteLaunchShortcuts("E:\\Cantarel", links);
    ASSERT_EQ(links.written.size(), 22u);
    for (std::size_t i = 0; i < 11; ++i) EXPECT_EQ(links.written[i + 11].link.targetPath, links.written[i].link.targetPath);

    // The tree moved to another drive and folder.
    FakeShellLinks moved;
    WriteLaunchShortcuts("G:\\École\\Musique", moved);
    ASSERT_EQ(moved.written.size(), 11u);
    for (const auto& written : moved.written) {
        SCOPED_TRACE(written.path);
        EXPECT_TRUE(written.path.starts_with("G:\\École\\Musique\\system\\"));
        EXPECT_TRUE(written.link.targetPath.starts_with("G:\\École\\Musique\\Cantarel\\"));
        EXPECT_TRUE(written.link.workingFolder.starts_with("G:\\École\\Musique\\Cantarel\\"));
        EXPECT_TRUE(written.link.iconPath.starts_with("G:\\École\\Musique\\Cantarel\\"));
    }
}

}  // namespace
