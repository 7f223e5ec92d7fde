#include "window/category_switch.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace {

class CategorySwitch : public testing::Test {
protected:
    void Click(std::string_view button) { SwitchCategory(form_, *CategoryOfButton(button), platform_.services); }
    std::vector<std::string> VisiblePanels() {
        std::vector<std::string> shown;
        for (std::string_view panel : PanelsInPlacementOrder()) {
            if (form_.Get(panel).visible) shown.emplace_back(panel);
        }
        return shown;
    }

    Form1 form_ = BuildDesignForm1();
    FakePlatform platform_;
};

TEST_F(CategorySwitch, EachButtonShowsExactlyItsPanelAndTurnsDark) {
    EXPECT_TRUE(VisiblePanels().empty());
    for (const MenuCategory& category : MenuCategories()) {
        Click(category.button);
        EXPECT_EQ(VisiblePanels(), std::vector<std::string>{std::string(category.panel)});
        EXPECT_EQ(form_.Get(category.button).image, "Picture_" + std::string(category.imageKey) + "_fonce");
    }
    EXPECT_EQ(form_.Get("Picture_supprimer").image, "Picture_supprimer_clair");
    EXPECT_EQ(form_.Get("Picture_desinstall_grand").visible, false);
}

// One button looks selected at a time, whether or not the pointer crosses the
// menu afterwards; nothing inside the panels changes.
TEST_F(CategorySwitch, OnlyTheClickedButtonLooksSelectedAndNothingElseChanges) {
    Click("Picture_musique");
    form_.TakeChanges();
    Click("Picture_outils");
    for (const MenuCategory& category : MenuCategories()) {
        const bool selected = category.button == "Picture_outils";
        EXPECT_EQ(form_.Get(category.button).image,
                  "Picture_" + std::string(category.imageKey) + (selected ? "_fonce" : "_clair"));
    }
    for (int index : form_.TakeChanges()) {
        const Control& changed = form_.At(index);
        EXPECT_TRUE(changed.kind == ControlKind::Panel || changed.kind == ControlKind::MenuButton) << changed.name;
        EXPECT_NE(changed.name, kQuitButton);
    }
    EXPECT_EQ(form_.Get(kHoverFlag).caption, "1");
    EXPECT_TRUE(platform_.disk.asked.empty());
}

TEST_F(CategorySwitch, DownloadAndRemovalPanelsReportTheDriveOnEveryClick) {
    platform_.disk.space = DiskSpace{1536, 8053063680};
    Click("Picture_installer");
    EXPECT_EQ(form_.Get(kDownloadSpaceCaption).caption,
              "Espace Libre : 1,50 Ko\r\nEspace Total : 7,50 Go\r\nEspace Utilisé : 7,50 Go");
    EXPECT_EQ(form_.Get(kRemovalSpaceCaption).caption, "Espace disponible sur la clé : 200 Mo");
    platform_.disk.space = DiskSpace{2048, 8053063680};
    Click("Picture_installer");
    EXPECT_EQ(form_.Get(kDownloadSpaceCaption).caption.substr(0, 22), "Espace Libre : 2,00 Ko");
    Click("Picture_supprimer");
    EXPECT_EQ(form_.Get(kRemovalSpaceCaption).caption.substr(0, 22), "Espace Libre : 2,00 Ko");
    EXPECT_EQ(platform_.disk.asked, std::vector<std::string>(3, "E:\\Clé USB\\Cantarel"));
}

}  // namespace
