#include "drive/installed_state_scan.h"

#include <gtest/gtest.h>

#include "components/component_catalogue.h"
#include "fakes/fake_file_system.h"
#include "window/window_layout.h"

namespace {

constexpr const char* kApp = "E:\\Clé USB\\Cantarel";

class InstalledStateScan : public testing::Test {
protected:
    void Install(std::string_view id) {
        drive_.AddFile(AbsolutePath(kApp, ComponentById(id).installedFolder) + "program.exe");
    }
    void Scan() { RefreshInstalledState(form_, kApp, drive_); }
    bool Installed(std::string_view id) {
        const Component& component = ComponentById(id);
        const bool remove = form_.Get(RemovalLabelName(component)).enabled;
        const bool download = form_.Get(DownloadLabelName(component)).enabled;
        EXPECT_NE(remove, download) << id << ": exactly one of its labels is offered";
        if (!component.picture.empty()) {
            EXPECT_EQ(form_.Get(component.picture).visible, remove) << id;
        }
        return remove;
    }
    std::string QuizCaption() { return form_.Get("Label_supprimer_quiz").caption; }

    Form1 form_ = BuildDesignForm1();
    FakeFileSystem drive_;
};

TEST_F(InstalledStateScan, EachComponentTakesTheStateOfItsFolder) {
    for (std::string_view id : {"bullaro", "solfege", "vlc", "7zip", "thunderbird", "java", "reconnaissance_vocale"}) {
        Install(id);
    }
    Scan();
    for (const Component& component : AllComponents()) {
        const bool expected = component.id == "bullaro" || component.id == "solfege" || component.id == "vlc" ||
                              component.id == "7zip" || component.id == "thunderbird" || component.id == "java" ||
                              component.id == "reconnaissance_vocale";
        EXPECT_EQ(Installed(component.id), expected) << component.id;
    }
    EXPECT_TRUE(form_.Get("Picture_sumatra_pdf").visible);
}

// 36 first-match look-ups, one per tested folder, and no other listing.
TEST_F(InstalledStateScan, AsksOnlyForTheFirstFileOfEachTestedFolder) {
    Scan();
    ASSERT_EQ(drive_.patterns.size(), 36u);
    EXPECT_EQ(drive_.patterns.front(), "E:\\Clé USB\\Cantarel\\Cantarel\\Symphalis\\*.*");
    EXPECT_EQ(drive_.patterns.back(), "E:\\Clé USB\\Cantarel\\Windows\\dao35\\*.*");
    EXPECT_NE(std::find(drive_.patterns.begin(), drive_.patterns.end(),
                        "E:\\Clé USB\\Cantarel\\Musique\\MuseScore\\bin\\*.*"),
              drive_.patterns.end());
}

TEST_F(InstalledStateScan, FoldersWithoutAFileOfTheirOwnAreNotInstalled) {
    drive_.AddFolder("E:\\Clé USB\\Cantarel\\Musique\\VLC\\");                       // empty
    drive_.AddFile("E:\\Clé USB\\Cantarel\\Musique\\Audacity\\plugins\\x.dll");      // only a sub-folder
    drive_.AddFile("E:\\Clé USB\\Cantarel\\Util\\Firefox\\desktop.ini", true);       // only a system file
    drive_.AddFile("E:\\Clé USB\\Cantarel\\Musique\\MuseScore\\bin\\mscore.exe");   // the second folder
    drive_.AddFile("E:\\Clé USB\\Cantarel\\cantarel\\bullaro\\bullaro.exe");        // other case
    Scan();
    EXPECT_FALSE(Installed("vlc"));
    EXPECT_FALSE(Installed("audacity"));
    EXPECT_FALSE(Installed("firefox"));
    EXPECT_TRUE(Installed("musescore"));
    EXPECT_TRUE(Installed("bullaro"));
}

TEST_F(InstalledStateScan, QuizTopicsAreTestedApartFromTheProgram) {
    Install("chopin");
    Scan();
    EXPECT_FALSE(Installed("quiz"));
    EXPECT_TRUE(Installed("chopin"));
    EXPECT_FALSE(form_.Get("Picture_quiz").visible);
    // The quiz cannot be removed, so its caption keeps the design size.
    EXPECT_EQ(QuizCaption(), "Cantarel Quiz et tous les questionnaires (767 Mo)");
}

TEST_F(InstalledStateScan, QuizPictureIsHiddenBeforeItsDownloadLabelIsOffered) {
    Scan();
    const std::vector<int> changes = form_.TakeChanges();
    const auto at = [&](std::string_view name) {
        return std::find(changes.begin(), changes.end(), form_.IndexOf(name)) - changes.begin();
    };
    EXPECT_LT(at("Picture_quiz"), at("Label_telecharger_quiz"));
    EXPECT_LT(at("Label_telecharger_vlc"), at("Picture_vlc"));
}

TEST(QuizSizeCaption, AddsTheTopicsWhoseRemovalIsOffered) {
    const struct {
        bool chopin, hymnes, symphonique;
        const char* size;
    } cases[] = {{true, true, true, "767"},   {true, true, false, "476"}, {true, false, true, "567"},
                 {true, false, false, "276"}, {false, true, true, "543"}, {false, true, false, "252"},
                 {false, false, true, "343"}, {false, false, false, "52"}};
    for (const auto& c : cases) {
        Form1 form = BuildDesignForm1();
        form.SetEnabled("Label_supprimer_quiz", true);
        form.SetEnabled("Label_supprimer_chopin", c.chopin);
        form.SetEnabled("Label_supprimer_hymnes", c.hymnes);
        form.SetEnabled("Label_supprimer_symphonique", c.symphonique);
        RefreshQuizSizeCaption(form);
        EXPECT_EQ(form.Get("Label_supprimer_quiz").caption,
                  std::string("Cantarel Quiz et tous les questionnaires (") + c.size + " Mo)");
        EXPECT_EQ(form.Get("Label_telecharger_quiz").caption, "Cantarel Quiz et tous les questionnaires (767 Mo)");
    }
}

TEST_F(InstalledStateScan, QuizWithOnlyTheAnthemsFreesTheirSize) {
    Install("quiz");
    Install("hymnes");
    Scan();
    EXPECT_EQ(QuizCaption(), "Cantarel Quiz et tous les questionnaires (252 Mo)");
}

}  // namespace
