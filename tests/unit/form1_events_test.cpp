#include "shell/form1_events.h"

#include <gtest/gtest.h>

#include "ui/window_layout.h"

namespace {

struct FakeMainWindow : MainWindow {
    int closes = 0;
    void Close() override { ++closes; }
};

TEST(Form1Events, OnlyTheQuitButtonClosesTheWindow) {
    Form1 form = BuildDesignForm1();
    FakeMainWindow window;
    Form1Events events(form, window);
    for (int i = 0; i < form.Count(); ++i) {
        if (form.At(i).name != kQuitButton) events.Click(i);
    }
    EXPECT_EQ(window.closes, 0);
    events.Click(form.IndexOf(kQuitButton));
    EXPECT_EQ(window.closes, 1);
}

}  // namespace
