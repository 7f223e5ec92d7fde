#include "window/startup.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "window/window_layout.h"

namespace {

TEST(Startup, CentresOnTheWholeScreenWithoutClamping) {
    EXPECT_EQ(CentredOrigin({1280, 1024}, {975, 571}), (Point{152, 226}));
    EXPECT_EQ(CentredOrigin({1920, 1080}, {975, 571}), (Point{472, 254}));  // 472.5 and 254.5 go to even
    EXPECT_EQ(CentredOrigin({800, 600}, {975, 571}), (Point{-88, 14}));     // -87.5 goes to even
    EXPECT_EQ(CentredOrigin({640, 480}, {975, 571}), (Point{-168, -46}));
}

TEST(Startup, PlacesTheWindowAndPanelsAndChangesNothingElse) {
    const Form1 design = BuildDesignForm1();
    Form1 form = BuildDesignForm1();
    form.windowRect = {0, 0, 975, 571};
    CentreWindow(form, {1280, 1024});
    PlacePanels(form);
    EXPECT_EQ(form.windowRect, (Rect{152, 226, 975, 571}));
    for (int i = 0; i < form.Count(); ++i) {
        const Control& before = design.At(i);
        const Control& after = form.At(i);
        SCOPED_TRACE(after.name);
        if (after.kind == ControlKind::Panel) {
            EXPECT_EQ(after.rect, (Rect{251, 19, before.rect.width, before.rect.height}));
        } else {
            EXPECT_EQ(after.rect, before.rect);
        }
        EXPECT_EQ(after.visible, before.visible);
        EXPECT_EQ(after.enabled, before.enabled);
        EXPECT_EQ(after.caption, before.caption);
        EXPECT_EQ(after.image, before.image);
    }
    EXPECT_FALSE(form.imageStore.opened);
}

TEST(Startup, ScansTheDriveBeforeTheWindowIsShown) {
    Form1 form = BuildDesignForm1();
    form.windowRect = {0, 0, 975, 571};
    FakePlatform platform("E:\\");
    platform.files.AddFile("E:\\Musique\\VLC\\vlc.exe");
    RunStartup(form, {1280, 1024}, platform.services);
    EXPECT_EQ(platform.files.patterns.size(), 36u);
    EXPECT_TRUE(form.Get("Picture_vlc").visible);
    EXPECT_FALSE(form.Get("Picture_audacity").visible);
    EXPECT_EQ(form.Get("Picture_lecture_grand").rect.left, 251);
    EXPECT_EQ(form.windowRect.left, 152);
}

}  // namespace

namespace {

// What an install cut short left in the staging folder is cleared and never
// counted.
TEST(Startup, ClearsWhatAnInterruptedInstallLeft) {
    Form1 form = BuildDesignForm1();
    FakePlatform platform("E:\\");
    platform.files.AddFile("E:\\Installation en cours\\vlc\\fichiers\\VLC\\vlc.exe");
    RunStartup(form, {1280, 1024}, platform.services);
    EXPECT_FALSE(platform.files.Exists("E:\\Installation en cours\\"));
    EXPECT_FALSE(form.Get("Picture_vlc").visible);
}

void RunWholeStartup(Form1& form, FakePlatform& platform) {
    RunStartup(form, {1280, 1024}, platform.services);
    int step = 0;
    while (RunStartupStepAfterFirstFrame(step, platform.services)) ++step;
}

TEST(Startup, WritesTheShortcutsAfterTheScanAndNotBeforeTheFirstFrame) {
    Form1 form = BuildDesignForm1();
    form.windowRect = {0, 0, 975, 571};
    FakePlatform platform("E:\\Clé USB");
    std::vector<std::size_t> scannedBeforeWrite;
    platform.shellLinks.onWrite = [&] { scannedBeforeWrite.push_back(platform.files.patterns.size()); };
    RunStartup(form, {1280, 1024}, platform.services);
    EXPECT_TRUE(platform.shellLinks.attempts.empty());
    int step = 0;
    while (RunStartupStepAfterFirstFrame(step, platform.services)) ++step;
    EXPECT_EQ(step, 11);
    ASSERT_EQ(platform.shellLinks.written.size(), 11u);
    EXPECT_EQ(platform.shellLinks.written.front().path, "E:\\Clé USB\\system\\maestrel.lnk");
    EXPECT_EQ(scannedBeforeWrite, std::vector<std::size_t>(11, 36u));
}

TEST(Startup, ADriveThatRefusesTheShortcutsStillGetsItsWindowReady) {
    Form1 form = BuildDesignForm1();
    form.windowRect = {0, 0, 975, 571};
    FakePlatform platform("E:\\");  // write-protected, or gone: nothing can be read or written
    platform.shellLinks.refuseAll = true;
    RunWholeStartup(form, platform);
    EXPECT_EQ(platform.shellLinks.attempts.size(), 11u);
    EXPECT_FALSE(form.Get("Picture_vlc").visible);
    for (std::string_view panel : PanelsInPlacementOrder()) {
        EXPECT_EQ(form.Get(panel).rect.left, 251) << panel;
        EXPECT_EQ(form.Get(panel).rect.top, 19) << panel;
    }
    EXPECT_EQ(form.windowRect.left, 152);
}

}  // namespace
