#include "shell/startup.h"

#include <gtest/gtest.h>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "ui/window_layout.h"

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
    FakeFileSystem drive;
    drive.AddFile("E:\\Musique\\VLC\\vlc.exe");
    FakeDialogs dialogs;
    Services services{"E:\\", drive, dialogs};
    RunStartup(form, {1280, 1024}, services);
    EXPECT_EQ(drive.patterns.size(), 36u);
    EXPECT_TRUE(form.Get("Picture_vlc").visible);
    EXPECT_FALSE(form.Get("Picture_audacity").visible);
    EXPECT_EQ(form.Get("Picture_lecture_grand").rect.left, 251);
    EXPECT_EQ(form.windowRect.left, 152);
}

}  // namespace
