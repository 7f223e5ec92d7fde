#include "window/form1_events.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "window/window_layout.h"

namespace {

struct FakeMainWindow : MainWindow {
    int closes = 0;
    void Close() override { ++closes; }
};

TEST(Form1Events, OnlyTheQuitButtonClosesTheWindow) {
    Form1 form = BuildDesignForm1();
    FakePlatform platform;
    FakeMainWindow window;
    Form1Events events(form, platform.services, window);
    for (const MenuCategory& category : MenuCategories()) events.Click(form.IndexOf(category.button));
    EXPECT_EQ(window.closes, 0);
    events.Click(form.IndexOf(kQuitButton));
    EXPECT_EQ(window.closes, 1);
}

}  // namespace
