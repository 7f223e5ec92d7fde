#include "update/help_actions.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "fakes/fake_platform.h"
#include "window/form1_events.h"
#include "window/hover_feedback.h"
#include "window/window_layout.h"
#include "update/update_help_click.h"

namespace {

constexpr const char* kApp = "E:\\Clé USB\\Cantarel";
constexpr int kHidden = 0;
constexpr int kNormal = 1;

class NoWindow : public MainWindow {
public:
    void Close() override { ++closes; }
    int closes = 0;
};

class HelpActions : public testing::Test {
protected:
    void Click(std::string_view picture) { HelpOrDocumentClick(form_, picture, platform_.services); }
    // The picture lit as under the pointer, the flag armed: as a click finds them.
    void Light(std::string_view picture) {
        SetHoverArmed(form_, true);
        form_.SetImage(picture, HighlightImageOf(picture));
    }
    void ExpectReset(std::string_view picture) {
        EXPECT_FALSE(HoverArmed(form_)) << picture;
        EXPECT_EQ(form_.Get(picture).image, NormalImageOf(picture)) << picture;
    }
    // Each picture, clicked lit, resets itself and runs exactly its command
    // line in AppFolder with the given window state.
    void ExpectEachRuns(std::initializer_list<std::pair<const char*, const char*>> table, int showCommand) {
        for (const auto& [picture, commandLine] : table) {
            SCOPED_TRACE(picture);
            platform_.processes.commandLines.clear();
            Light(picture);
            Click(picture);
            ExpectReset(picture);
            ASSERT_EQ(platform_.processes.commandLines.size(), 1u);
            EXPECT_EQ(platform_.processes.commandLines[0].commandLine, commandLine);
            EXPECT_EQ(platform_.processes.commandLines[0].showCommand, showCommand);
            EXPECT_EQ(platform_.processes.commandLines[0].workingFolder, kApp);
        }
    }

    Form1 form_ = BuildDesignForm1();
    FakePlatform platform_{kApp};
};

// Quoted: unquoted, "E:\Clé" would be tried first, and a file of that name run.
TEST_F(HelpActions, EachHelpPictureStartsItsBatchFileHiddenAndQuoted) {
    ExpectEachRuns({
        {"Picture_utilisation_portable", "\"E:\\Clé USB\\Cantarel\\aide\\portable.bat\""},
        {"Picture_description_programmes", "\"E:\\Clé USB\\Cantarel\\aide\\programmes.bat\""},
        {"Picture_version", "\"E:\\Clé USB\\Cantarel\\aide\\versions.bat\""},
        {"Picture_erreurs", "\"E:\\Clé USB\\Cantarel\\aide\\erreurs.bat\""},
    }, kHidden);
    EXPECT_TRUE(platform_.dialogs.shown.empty());
}

TEST_F(HelpActions, EachDocumentPictureOpensItsFolderInExplorerInANormalWindow) {
    ExpectEachRuns({
        {"Picture_documents_accueil", "C:\\WINDOWS\\EXPLORER.EXE \"E:\\Clé USB\\Cantarel\\Mes documents\""},
        {"Picture_documents_musiques", "C:\\WINDOWS\\EXPLORER.EXE \"E:\\Clé USB\\Cantarel\\Mes documents\\Musiques\""},
        {"Picture_documents_partitions", "C:\\WINDOWS\\EXPLORER.EXE \"E:\\Clé USB\\Cantarel\\Mes documents\\Partitions\""},
        {"Picture_documents_papiers", "C:\\WINDOWS\\EXPLORER.EXE \"E:\\Clé USB\\Cantarel\\Mes documents\\Papiers à musique\""},
        {"Picture_documents_images", "C:\\WINDOWS\\EXPLORER.EXE \"E:\\Clé USB\\Cantarel\\Mes documents\\Images\""},
        {"Picture_documents_videos", "C:\\WINDOWS\\EXPLORER.EXE \"E:\\Clé USB\\Cantarel\\Mes documents\\Vidéos\""},
        {"Picture_documents_autres", "C:\\WINDOWS\\EXPLORER.EXE \"E:\\Clé USB\\Cantarel\\Mes documents\\Autres documents\""},
    }, kNormal);
    EXPECT_TRUE(platform_.processes.starts.empty());
    EXPECT_TRUE(platform_.dialogs.shown.empty());
}

TEST_F(HelpActions, WithoutExplorerAtItsClassicPlaceTheShellOpensTheFolder) {
    platform_.processes.commandLineSucceeds = false;
    Click("Picture_documents_papiers");
    ASSERT_EQ(platform_.processes.starts.size(), 1u);
    EXPECT_EQ(platform_.processes.starts[0].file, "E:\\Clé USB\\Cantarel\\Mes documents\\Papiers à musique\\");
    EXPECT_EQ(platform_.processes.starts[0].showCommand, kNormal);
    EXPECT_EQ(platform_.processes.closed, std::vector<Processes::Handle>{platform_.processes.handle});
    EXPECT_TRUE(platform_.dialogs.shown.empty());
}

TEST_F(HelpActions, WhatCannotBeStartedIsSaidAndNothingElseHappens) {
    platform_.processes.commandLineSucceeds = false;
    platform_.processes.startSucceeds = false;
    Click("Picture_erreurs");
    Click("Picture_documents_videos");
    ASSERT_EQ(platform_.dialogs.shown.size(), 2u);
    EXPECT_EQ(platform_.dialogs.shown[0].text,
              "Le fichier d'aide E:\\Clé USB\\Cantarel\\aide\\erreurs.bat n'a pas pu être ouvert!");
    EXPECT_EQ(platform_.dialogs.shown[1].text,
              "Le dossier E:\\Clé USB\\Cantarel\\Mes documents\\Vidéos\\ n'a pas pu être ouvert!");
    for (const auto& shown : platform_.dialogs.shown) EXPECT_EQ(shown.style, box::kOk);
    EXPECT_TRUE(platform_.processes.closed.empty());
}

TEST_F(HelpActions, TheAboutBoxHasThreeLinesTheFirstWithTheWindowsVersion) {
    Light("Picture_apropos");
    Click("Picture_apropos");
    ExpectReset("Picture_apropos");
    ASSERT_EQ(platform_.dialogs.shown.size(), 1u);
    const auto& about = platform_.dialogs.shown[0];
    EXPECT_EQ(about.title, "A propos de Cantarel Portable");
    EXPECT_EQ(about.style, box::kOk);
    EXPECT_TRUE(about.text.starts_with(std::string(Form1::kCaption) + "\r\n"));
    const std::size_t second = about.text.find("\r\n") + 2;
    const std::size_t third = about.text.find("\r\n", second);
    ASSERT_NE(third, std::string::npos);
    EXPECT_GT(third, second);                                          // a credits line
    EXPECT_GT(about.text.size(), third + 2);                           // a copyright line
    EXPECT_EQ(about.text.find("\r\n", third + 2), std::string::npos);  // and no fourth
    EXPECT_TRUE(platform_.processes.commandLines.empty());
}

TEST(HelpActionsAtDriveRoot, TheBatchFileIsJoinedToTheRootAsItStands) {
    FakePlatform platform("E:\\");
    Form1 form = BuildDesignForm1();
    HelpOrDocumentClick(form, "Picture_version", platform.services);
    ASSERT_EQ(platform.processes.commandLines.size(), 1u);
    EXPECT_EQ(platform.processes.commandLines[0].commandLine, "\"E:\\\\aide\\versions.bat\"");
    EXPECT_EQ(platform.processes.commandLines[0].workingFolder, "E:\\");
}

// The window's events route the two panels' pictures here, and only those.
TEST(HelpActionsEvents, ThePanelsPicturesAreRoutedHereAndOtherPicturesAreNot) {
    const Form1 form = BuildDesignForm1();
    for (std::string_view panel : {"Picture_aide_grand", "Picture_documents_grand"}) {
        for (std::string_view picture : PicturesOfPanel(panel)) {
            EXPECT_TRUE(IsUpdateOrHelpPicture(picture)) << picture;
            EXPECT_TRUE(form.Has(picture)) << picture;
        }
    }
    for (const char* other : {"Picture_vlc", "Picture_quitter", "Picture_aide", "Label_telecharger_vlc", ""}) {
        EXPECT_FALSE(IsUpdateOrHelpPicture(other)) << other;
    }
}

TEST(HelpActionsEvents, AClickThroughTheWindowsEventsStartsTheHelpFile) {
    FakePlatform platform(kApp);
    Form1 form = BuildDesignForm1();
    NoWindow window;
    Form1Events events(form, platform.services, window);
    events.Click(form.IndexOf("Picture_utilisation_portable"));
    ASSERT_EQ(platform.processes.commandLines.size(), 1u);
    EXPECT_EQ(platform.processes.commandLines[0].commandLine, "\"E:\\Clé USB\\Cantarel\\aide\\portable.bat\"");
    EXPECT_FALSE(events.Busy());
    EXPECT_EQ(window.closes, 0);
}

}  // namespace
