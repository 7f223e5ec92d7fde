#include "window/hover_feedback.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "window/category_switch.h"
#include "window/window_layout.h"

namespace {

class HoverFeedback : public testing::Test {
protected:
    void Over(std::string_view name) { HoverOver(form_, form_.IndexOf(name)); }
    void Click(std::string_view button) { SwitchCategory(form_, *CategoryOfButton(button), platform_.services); }
    const std::string& Image(std::string_view name) { return form_.Get(name).image; }
    // What a program picture's click does before its own action.
    void ClickPicture(std::string_view picture) {
        SetHoverArmed(form_, false);
        form_.SetImage(picture, NormalImageOf(picture));
    }

    Form1 form_ = BuildDesignForm1();
    FakePlatform platform_;
};

TEST_F(HoverFeedback, MenuPassLightsTheButtonUnderThePointerAndKeepsTheSelectedOneDark) {
    Over("Picture_musique");
    EXPECT_EQ(Image("Picture_musique"), "Picture_musique_move");
    EXPECT_EQ(Image("Picture_lecture"), "Picture_lecture_clair");
    Click("Picture_musique");
    Over("Picture_musique");
    EXPECT_EQ(Image("Picture_musique"), "Picture_musique_fonce");
    // Another category takes the dark image from it at once.
    Click("Picture_outils");
    EXPECT_EQ(Image("Picture_musique"), "Picture_musique_clair");
    Over("Picture_lecture");
    EXPECT_EQ(Image("Picture_musique"), "Picture_musique_clair");
    EXPECT_EQ(Image("Picture_outils"), "Picture_outils_fonce");
    EXPECT_EQ(Image("Picture_lecture"), "Picture_lecture_move");
    EXPECT_TRUE(form_.imageStore.opened);
}

TEST_F(HoverFeedback, QuitButtonLightsUntilThePointerReachesTheHelpButton) {
    Over("Picture_quitter");
    EXPECT_EQ(Image("Picture_quitter"), "Picture_quitter_move");
    Over("Picture_windows");
    EXPECT_EQ(Image("Picture_quitter"), "Picture_quitter_move");
    Over("Picture_aide");
    EXPECT_EQ(Image("Picture_quitter"), "Picture_quitter_clair");
    EXPECT_EQ(Image("Picture_aide"), "Picture_aide_move");
}

TEST_F(HoverFeedback, ProgramPicturesLightUpOnlyWhileTheFlagIsArmed) {
    Click("Picture_musique");
    Over("Picture_vlc");
    EXPECT_EQ(Image("Picture_vlc"), "Picture_vlc_bleu");
    Over("Picture_cdex");
    EXPECT_EQ(Image("Picture_cdex"), "Picture_cdex_bleu");
    EXPECT_EQ(Image("Picture_vlc"), "Picture_vlc_blanc");
    // A click disarms: resting on the picture or jumping to a neighbour
    // lights nothing until the panel's background re-arms the flag.
    ClickPicture("Picture_cdex");
    Over("Picture_cdex");
    Over("Picture_vlc");
    EXPECT_EQ(Image("Picture_cdex"), "Picture_cdex_blanc");
    EXPECT_EQ(Image("Picture_vlc"), "Picture_vlc_blanc");
    EXPECT_FALSE(HoverArmed(form_));
    Over("Picture_musique_grand");
    EXPECT_TRUE(HoverArmed(form_));
    Over("Picture_cdex");
    EXPECT_EQ(Image("Picture_cdex"), "Picture_cdex_bleu");
}

TEST_F(HoverFeedback, MenuButtonsRearmTheFlagLikeThePanelBackground) {
    ClickPicture("Picture_vlc");
    Over("Picture_aide");
    EXPECT_TRUE(HoverArmed(form_));
    ClickPicture("Picture_vlc");
    Over("Picture_quitter");
    EXPECT_TRUE(HoverArmed(form_));
}

TEST_F(HoverFeedback, ResetsLeaveTheFivePicturesThatOnlyTheirPanelResets) {
    const char* all[] = {"Picture_vlc", "Picture_libreoffice", "Picture_quiz", "Picture_dll", "Picture_dao35",
                         "Picture_miseajour", "Picture_utilisation_portable", "Picture_description_programmes",
                         "Picture_documents_videos", "Picture_net4"};
    for (const char* picture : all) form_.SetImage(picture, HighlightImageOf(picture));
    Over("Picture_aide");  // the help button resets no picture
    for (const char* picture : all) EXPECT_EQ(Image(picture), HighlightImageOf(picture)) << picture;
    Over("Picture_lecture");
    for (const char* picture : all) {
        const bool outside = std::string_view(picture) == "Picture_dll" || std::string_view(picture) == "Picture_dao35" ||
                             std::string_view(picture) == "Picture_miseajour" ||
                             std::string_view(picture) == "Picture_utilisation_portable" ||
                             std::string_view(picture) == "Picture_description_programmes";
        EXPECT_EQ(Image(picture), outside ? HighlightImageOf(picture) : NormalImageOf(picture)) << picture;
    }
    Over("Picture_windows_grand");
    EXPECT_EQ(Image("Picture_dll"), "Picture_dll_blanc");
    EXPECT_EQ(Image("Picture_dao35"), "Picture_dao35_blanc");
    Over("Picture_aide_grand");
    EXPECT_EQ(Image("Picture_miseajour"), "Picture_miseajour_blanc");
}

TEST_F(HoverFeedback, LibreOfficeTakesBothImagesFromTheImageStore) {
    ASSERT_FALSE(form_.Has("Picture_libreoffice_bleu"));
    Over("Picture_libreoffice");
    EXPECT_EQ(Image("Picture_libreoffice"), "Picture_libreoffice_bleu");
    EXPECT_TRUE(form_.imageStore.opened);
    Over("Picture_outils_grand");
    EXPECT_EQ(Image("Picture_libreoffice"), "Picture_libreoffice_blanc");
}

TEST_F(HoverFeedback, LabelPanelsAndLabelsHaveNoHoverEffect) {
    form_.SetImage("Picture_vlc", "Picture_vlc_bleu");
    SetHoverArmed(form_, false);
    form_.TakeChanges();
    Over("Picture_installer_grand");
    Over("Label_telecharger_vlc");
    EXPECT_TRUE(form_.TakeChanges().empty());
}

TEST_F(HoverFeedback, APressSinksAPictureByOnePixelAndTheReleaseRestoresIt) {
    const int vlc = form_.IndexOf("Picture_vlc");
    const Rect home = form_.At(vlc).rect;
    PressDown(form_, vlc);
    EXPECT_EQ(form_.At(vlc).rect, (Rect{home.left + 1, home.top + 1, home.width, home.height}));
    PressDown(form_, vlc);  // a second button held as well
    EXPECT_EQ(form_.At(vlc).rect.left, home.left + 1);
    PressUp(form_, vlc);
    EXPECT_EQ(form_.At(vlc).rect, home);
    PressUp(form_, vlc);
    EXPECT_EQ(form_.At(vlc).rect, home);

    const int quit = form_.IndexOf(kQuitButton);
    PressDown(form_, quit);
    EXPECT_EQ(form_.At(quit).rect.top, 489);
    PressUp(form_, quit);
    EXPECT_EQ(form_.At(quit).rect.top, 488);

    const int label = form_.IndexOf("Label_telecharger_vlc");
    PressDown(form_, label);
    EXPECT_EQ(form_.At(label).rect.left, 320);
}

}  // namespace
