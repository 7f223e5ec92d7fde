#include "components/remove_flow.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "components/component_catalogue.h"
#include "fakes/fake_platform.h"
#include "window/form1_events.h"
#include "drive/installed_state_scan.h"
#include "storage/disk_space_report.h"
#include "window/window_layout.h"

namespace {

constexpr const char* kApp = "E:\\Clé USB\\Cantarel";
constexpr std::uint32_t kAwkward = attributes::kReadOnly | attributes::kHidden | attributes::kSystem;
const std::string kQuiz = std::string(kApp) + "\\Cantarel\\Quiz\\";
const std::string kTexts = kQuiz + "textes\\";

struct NoWindow : MainWindow {
    void Close() override {}
};

class RemoveFlow : public testing::Test {
protected:
    explicit RemoveFlow(std::string appFolder = kApp) : app_(appFolder), platform_(appFolder) {}

    void SetUp() override {
        for (const char* folder : {"Cantarel", "Musique", "Util", "Windows"}) Add("\\" + std::string(folder) + "\\");
        // Every component on the drive, as installs leave them: the quiz
        // with all its topics' questionnaires.
        for (const Component& c : AllComponents()) Add(std::string(c.installedFolder) + "programme.exe");
        Add("\\Cantarel\\Quiz\\textes\\Quizora.txt");
        for (const char* topic : {"chopin", "hymnes", "symphonique"}) {
            for (std::string_view name : QuizTopicTexts(topic)) Add("\\Cantarel\\Quiz\\textes\\" + std::string(name));
        }
        Rescan();
        platform_.events.onPump = [this] {
            barWhilePumping_ = form_.Get(kRemovalBar).visible;
            operationsBeforePump_ = platform_.files.operations.size();
            form_.TakeChanges();
        };
    }
    void Add(const std::string& relative, std::uint32_t attrs = attributes::kArchive) {
        platform_.files.AddFileWithAttributes(AbsolutePath(app_, relative), attrs);
    }
    bool Exists(const std::string& relative) { return platform_.files.Exists(AbsolutePath(app_, relative)); }
    void Rescan() {
        form_ = BuildDesignForm1();
        RefreshInstalledState(form_, app_, platform_.files);
        form_.TakeChanges();
    }
    void Remove(std::string_view id) { RemoveComponent(form_, id, platform_.services); }
    bool Enabled(const std::string& label) { return form_.Get(label).enabled; }
    // (download label enabled, removal label enabled)
    std::pair<bool, bool> Offered(const std::string& id) {
        return {Enabled("Label_telecharger_" + id), Enabled("Label_supprimer_" + id)};
    }
    const std::vector<FakeDialogs::Shown>& Boxes() { return platform_.dialogs.shown; }
    // Names of the controls changed since the bar was painted, in order.
    std::vector<std::string> ChangedAfterPump() {
        std::vector<std::string> names;
        for (int index : form_.TakeChanges()) names.push_back(form_.At(index).name);
        return names;
    }

    std::string app_;
    Form1 form_ = BuildDesignForm1();
    FakePlatform platform_;
    bool barWhilePumping_ = false;
    std::size_t operationsBeforePump_ = 99;
};

TEST_F(RemoveFlow, VlcIsAskedDeletedAndShownRemoved) {
    Add("\\Musique\\VLC\\plugins\\audio\\libmp3.dll", kAwkward);
    Add("\\Musique\\VLC\\lisez-moi.txt", attributes::kReadOnly);
    Remove("vlc");

    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text, "Voulez-vous effacer VLC ?");
    EXPECT_EQ(Boxes()[0].title, "Suppression d'un logiciel de musique");
    EXPECT_EQ(Boxes()[0].style, 36u);
    EXPECT_EQ(Boxes()[1].text, "Le programme 'VLC' a été supprimé!");
    EXPECT_EQ(Boxes()[1].title, "Suppression d'un programme Cantarel");
    EXPECT_EQ(Boxes()[1].style, 0u);

    // The bar is painted once, before anything is deleted.
    EXPECT_EQ(platform_.events.pumped, 1);
    EXPECT_TRUE(barWhilePumping_);
    EXPECT_EQ(operationsBeforePump_, 0u);

    EXPECT_FALSE(Exists("\\Musique\\VLC\\"));
    EXPECT_TRUE(Exists("\\Musique\\"));
    EXPECT_TRUE(Exists("\\Musique\\Audacity\\programme.exe"));
    EXPECT_EQ(ChangedAfterPump(), (std::vector<std::string>{"Label_supprimer_vlc", "Label_telecharger_vlc",
                                                            "Picture_vlc", "Label_espace_disque", "Picture_barre"}));
    EXPECT_EQ(Offered("vlc"), std::make_pair(true, false));
    EXPECT_FALSE(form_.Get("Picture_vlc").visible);
    EXPECT_FALSE(form_.Get(kRemovalBar).visible);
    EXPECT_EQ(form_.Get(kRemovalSpaceCaption).caption, DiskSpaceReport(app_, platform_.disk));
    EXPECT_NE(form_.Get(kRemovalSpaceCaption).caption, kDesignSpaceText);
    EXPECT_EQ(form_.Get(kDownloadSpaceCaption).caption, kDesignSpaceText);
}

TEST_F(RemoveFlow, AnyAnswerButYesChangesNothing) {
    for (int answer : {box::kAnswerNo, box::kAnswerCancel}) {
        platform_.dialogs.answers = {answer};
        Remove("quiz");
        EXPECT_TRUE(form_.TakeChanges().empty());
    }
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(platform_.events.pumped, 0);
    EXPECT_TRUE(platform_.files.operations.empty());
    EXPECT_TRUE(Exists("\\Cantarel\\Quiz\\textes\\Quizora.txt"));
}

// Every row but the quiz family deletes its installed folder and nothing
// else, whatever the attributes inside, and only its own row changes.
TEST_F(RemoveFlow, EveryProgramRowDeletesItsOwnFolder) {
    const std::vector<std::string> family{"quiz", "chopin", "hymnes", "symphonique"};
    for (const Component& c : AllComponents()) {
        const std::string id(c.id);
        if (std::find(family.begin(), family.end(), id) != family.end()) continue;
        Add(std::string(c.installedFolder) + "sous-dossier\\config.ini", kAwkward);
        const std::size_t boxes = Boxes().size();
        Remove(id);
        ASSERT_EQ(Boxes().size(), boxes + 2) << id;
        EXPECT_TRUE(Boxes()[boxes].text.starts_with("Voulez-vous effacer ")) << id;
        EXPECT_TRUE(Boxes()[boxes].text.ends_with(" ?")) << id;
        EXPECT_TRUE(Boxes()[boxes].title.starts_with("Suppression d'un ")) << id;
        EXPECT_EQ(Boxes()[boxes + 1].style, 0u) << id << ": " << Boxes()[boxes + 1].text;
        EXPECT_TRUE(Boxes()[boxes + 1].text.ends_with("supprimé!") || Boxes()[boxes + 1].text.ends_with("supprimée!"))
            << id;
        EXPECT_FALSE(Exists(std::string(c.installedFolder))) << id;
        EXPECT_EQ(Offered(id), std::make_pair(true, false)) << id;
        if (!c.picture.empty()) {
            EXPECT_FALSE(form_.Get(c.picture).visible) << id;
        }
    }
    // The quiz family was left alone.
    for (const std::string& id : family) EXPECT_EQ(Offered(id), std::make_pair(false, true)) << id;
    EXPECT_TRUE(form_.Get("Picture_quiz").visible);
    EXPECT_TRUE(Exists("\\Cantarel\\Quiz\\audio\\chopin\\programme.exe"));
}

TEST_F(RemoveFlow, RowsKeepTheirOwnTexts) {
    struct Expected {
        const char* id;
        const char* questionTitle;
        const char* question;
        const char* resultTitle;
        const char* result;
    };
    const Expected rows[] = {
        {"thunderbird", "Suppression d'un logiciel", "Voulez-vous effacer Thunderbird ?",
         "Suppression d'un programme Cantarel", "Le programme 'Thunderbird' a été supprimé!"},
        {"7zip", "Suppression d'un utilitaire", "Voulez-vous effacer 7-Zip ?", "Suppression d'un programme",
         "Le programme '7-Zip' a été supprimé!"},
        {"java", "Suppression d'un programme de mise à jour Windows", "Voulez-vous effacer la machine virtuelle Java ?",
         "Suppression d'un programme Cantarel", "La machine virtuelle Java a été supprimée!"},
        {"framework_35", "Suppression d'un programme de mise à jour Windows",
         "Voulez-vous effacer le framework .net 3.5 ?", "Suppression d'un programme",
         "Le framework .net 3.5 a été supprimé!"},
        {"metronome", "Suppression d'un programme Cantarel", "Voulez-vous effacer le métronome virtuel ?",
         "Suppression d'un programme Cantarel", "Le programme 'Métronome virtuel' a été supprimé!"},
        {"solfege", "Suppression d'un programme Cantarel", "Voulez-vous effacer Cantarel Solfège ?",
         "Suppression d'un programme Cantarel", "Le programme 'Cantarel Solfège' a été supprimé!"},
        {"musescore", "Suppression d'un logiciel de musique", "Voulez-vous effacer Muse Score ?",
         "Suppression d'un programme Cantarel", "Le programme 'Muse Score' a été supprimé!"},
    };
    for (const Expected& row : rows) {
        platform_.dialogs.shown.clear();
        Remove(row.id);
        ASSERT_EQ(Boxes().size(), 2u) << row.id;
        EXPECT_EQ(Boxes()[0].title, row.questionTitle);
        EXPECT_EQ(Boxes()[0].text, row.question);
        EXPECT_EQ(Boxes()[1].title, row.resultTitle);
        EXPECT_EQ(Boxes()[1].text, row.result);
    }
    // The folders that installs fill and launches use.
    EXPECT_FALSE(Exists("\\Util\\Thunderbird\\"));
    EXPECT_FALSE(Exists("\\Cantarel\\Cantarel\\"));
    EXPECT_FALSE(Exists("\\Cantarel\\Solfège\\"));
}

TEST_F(RemoveFlow, MuseScoreWithItsFilesOnlyInBinIsRemovedWhole) {
    platform_.files.RemoveFile(AbsolutePath(app_, "\\Musique\\MuseScore\\programme.exe"));
    Add("\\Musique\\MuseScore\\bin\\mscore.exe");
    Rescan();
    ASSERT_EQ(Offered("musescore"), std::make_pair(false, true));
    Remove("musescore");
    EXPECT_FALSE(Exists("\\Musique\\MuseScore\\"));
    EXPECT_EQ(Offered("musescore"), std::make_pair(true, false));
}

TEST_F(RemoveFlow, ChopinTakesItsQuestionnaireTheGeneralOneAndItsAudio) {
    Add("\\Cantarel\\Quiz\\audio\\chopin\\Nocturne.wav", attributes::kReadOnly);
    Remove("chopin");

    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text,
              "Voulez-vous effacer le questionnaire sur Frédéric Chopin ? Le questionnaire 'Quizora' sera également "
              "supprimé!");
    EXPECT_EQ(Boxes()[0].title, "Suppression d'un programme Cantarel");
    EXPECT_EQ(Boxes()[1].text, "Le questionnaire sur Frédéric Chopin a été supprimé!");
    EXPECT_EQ(Boxes()[1].title, "Suppression d'un programme Cantarel");

    // In order: the audio folder leaves its place in one rename (nothing is
    // deleted while it cannot), then the topic's file, the general questionnaire.
    const auto& ops = platform_.files.operations;
    const auto at = [&](const std::string& op) { return std::find(ops.begin(), ops.end(), op) - ops.begin(); };
    EXPECT_LT(at("rename " + kQuiz + "audio\\chopin -> " + std::string(kApp) + "\\Installation en cours\\suppression\\chopin"),
              at("delete " + kTexts + "Chopin.txt"));
    EXPECT_LT(at("delete " + kTexts + "Chopin.txt"), at("delete " + kTexts + "Quizora.txt"));
    EXPECT_LT(at("delete " + kTexts + "Quizora.txt"), static_cast<long>(ops.size()));
    EXPECT_FALSE(Exists("\\Installation en cours\\"));

    EXPECT_FALSE(Exists("\\Cantarel\\Quiz\\textes\\Chopin.txt"));
    EXPECT_FALSE(Exists("\\Cantarel\\Quiz\\textes\\Quizora.txt"));
    EXPECT_FALSE(Exists("\\Cantarel\\Quiz\\audio\\chopin\\"));
    EXPECT_TRUE(Exists("\\Cantarel\\Quiz\\textes\\Hymnes1.txt"));
    EXPECT_TRUE(Exists("\\Cantarel\\Quiz\\textes\\Oeuvres symphoniques.txt"));
    EXPECT_TRUE(Exists("\\Cantarel\\Quiz\\audio\\hymnes\\programme.exe"));
    EXPECT_TRUE(Exists("\\Cantarel\\Quiz\\programme.exe"));

    // The quiz stays; its removal no longer frees the topic.
    EXPECT_EQ(ChangedAfterPump(), (std::vector<std::string>{"Label_supprimer_chopin", "Label_telecharger_chopin",
                                                            "Label_supprimer_quiz", "Label_espace_disque",
                                                            "Picture_barre"}));
    EXPECT_EQ(Offered("chopin"), std::make_pair(true, false));
    EXPECT_EQ(Offered("quiz"), std::make_pair(false, true));
    EXPECT_TRUE(form_.Get("Picture_quiz").visible);
    EXPECT_EQ(form_.Get("Label_supprimer_quiz").caption, "Cantarel Quiz et tous les questionnaires (543 Mo)");
}

TEST_F(RemoveFlow, HymnesTakesSevenFilesSymphoniqueOneAndAGoneQuizoraIsNoError) {
    Remove("hymnes");
    for (int n = 1; n <= 7; ++n) EXPECT_FALSE(Exists("\\Cantarel\\Quiz\\textes\\Hymnes" + std::to_string(n) + ".txt"));
    EXPECT_FALSE(Exists("\\Cantarel\\Quiz\\audio\\hymnes\\"));
    EXPECT_EQ(Boxes().back().text, "Les questionnaires sur les hymnes nationaux ont été supprimés!");
    EXPECT_EQ(form_.Get("Label_supprimer_quiz").caption, "Cantarel Quiz et tous les questionnaires (567 Mo)");

    // Quizora.txt went with the first topic.
    platform_.dialogs.shown.clear();
    Remove("symphonique");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, "Le questionnaire sur les oeuvres symphoniques a été supprimé!");
    EXPECT_EQ(Boxes()[1].style, 0u);
    EXPECT_FALSE(Exists("\\Cantarel\\Quiz\\textes\\Oeuvres symphoniques.txt"));
    EXPECT_FALSE(Exists("\\Cantarel\\Quiz\\audio\\oeuvres symphoniques\\"));
    EXPECT_TRUE(Exists("\\Cantarel\\Quiz\\textes\\Chopin.txt"));
    EXPECT_EQ(form_.Get("Label_supprimer_quiz").caption, "Cantarel Quiz et tous les questionnaires (276 Mo)");
}

TEST_F(RemoveFlow, TheQuizTakesItsWholeTreeAndEveryTopic) {
    Remove("quiz");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text, "Voulez-vous effacer Cantarel Quiz ?");
    EXPECT_EQ(Boxes()[1].text, "Le programme 'Cantarel Quiz' a été supprimé!");
    EXPECT_FALSE(Exists("\\Cantarel\\Quiz\\"));
    EXPECT_TRUE(Exists("\\Cantarel\\Bullaro\\programme.exe"));
    EXPECT_EQ(ChangedAfterPump(),
              (std::vector<std::string>{"Label_supprimer_quiz", "Label_supprimer_chopin", "Label_supprimer_hymnes",
                                        "Label_supprimer_symphonique", "Label_telecharger_quiz",
                                        "Label_telecharger_chopin", "Label_telecharger_hymnes",
                                        "Label_telecharger_symphonique", "Picture_quiz", "Label_espace_disque",
                                        "Picture_barre"}));
    for (const char* id : {"quiz", "chopin", "hymnes", "symphonique"}) {
        EXPECT_EQ(Offered(id), std::make_pair(true, false)) << id;
    }
    EXPECT_FALSE(form_.Get("Picture_quiz").visible);
    EXPECT_EQ(form_.Get("Label_supprimer_quiz").caption, "Cantarel Quiz et tous les questionnaires (767 Mo)");
}

TEST_F(RemoveFlow, AMissingFolderIsNoError) {
    platform_.files.RemoveFile(AbsolutePath(app_, "\\Util\\Firefox\\programme.exe"));
    platform_.files.RemoveFolder(AbsolutePath(app_, "\\Util\\Firefox\\"));
    Remove("firefox");  // the label still says installed: the drive changed since the start
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, "Le programme 'Firefox' a été supprimé!");
    EXPECT_EQ(Offered("firefox"), std::make_pair(true, false));
}

TEST_F(RemoveFlow, AGreyedOutLabelRemovesNothing) {
    form_.SetEnabled("Label_supprimer_cdex", false);
    Remove("cdex");
    Remove("no_such_component");
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(Exists("\\Musique\\CDex\\programme.exe"));
}

// While a program holds a file of the component open, Windows refuses to
// move its folder: nothing is deleted, the component stays whole and shown.
TEST_F(RemoveFlow, AProgramStillOpenRemovesNothingAndSaysWhy) {
    const std::vector<std::pair<std::string, FileResult>> held = {
        {"\\Musique\\VLC\\programme.exe", FileResult::kInUse},
        {"\\Musique\\VLC\\plugins\\audio.dll", FileResult::kDenied},
    };
    for (const auto& [file, why] : held) {
        SCOPED_TRACE(file);
        Add(file);
        platform_.files.FailOn(AbsolutePath(app_, file), why);
        platform_.dialogs.shown.clear();
        Remove("vlc");
        ASSERT_EQ(Boxes().size(), 2u);
        EXPECT_EQ(Boxes()[1].title, "Suppression d'un programme Cantarel");
        EXPECT_EQ(Boxes()[1].style, 48u);
        EXPECT_TRUE(Boxes()[1].text.starts_with("La suppression de VLC n'a pas été faite : un de ses fichiers "));
        EXPECT_TRUE(Boxes()[1].text.ends_with("recommencez la suppression.\r\n\r\nRien n'a été effacé."));
        EXPECT_TRUE(Exists("\\Musique\\VLC\\programme.exe"));
        EXPECT_TRUE(Exists(file));
        EXPECT_FALSE(Exists("\\Installation en cours\\"));
        EXPECT_EQ(Offered("vlc"), std::make_pair(false, true));
        EXPECT_TRUE(form_.Get("Picture_vlc").visible);
        EXPECT_FALSE(form_.Get(kRemovalBar).visible);
    }
    EXPECT_EQ(Boxes()[1].text,
              "La suppression de VLC n'a pas été faite : un de ses fichiers n'a pas pu être effacé (accès refusé) ; "
              "un programme encore ouvert l'utilise peut-être. Fermez-le, puis recommencez la suppression.\r\n\r\n"
              "Rien n'a été effacé.");
}

// Where the system lets the folder move anyway (Wine does), a file that
// still cannot be deleted waits in the staging folder for the next start:
// the component is removed and the user is told of the file.
TEST_F(RemoveFlow, AFileThatCannotBeDeletedAfterTheMoveWaitsForTheNextStart) {
    platform_.files.FailOn(AbsolutePath(app_, "\\Installation en cours\\suppression\\audacity\\programme.exe"),
                           FileResult::kFailed);
    Remove("audacity");
    EXPECT_FALSE(Exists("\\Musique\\Audacity\\"));
    EXPECT_TRUE(Exists("\\Installation en cours\\suppression\\audacity\\programme.exe"));
    EXPECT_EQ(Offered("audacity"), std::make_pair(true, false));
    EXPECT_EQ(Boxes()[1].style, 0u);
    EXPECT_EQ(Boxes()[1].text, "Le programme 'Audacity' a été supprimé!\r\n\r\nSes derniers fichiers seront effacés "
                               "au prochain démarrage de Cantarel Portable.");
}

TEST_F(RemoveFlow, AWriteProtectedKeyIsExplainedAndNothingChanges) {
    platform_.files.writeProtected = true;
    Remove("java");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text,
              "La suppression de la machine virtuelle Java n'a pas été faite : la clé USB est protégée en écriture. "
              "Retirez la protection, puis recommencez la suppression.\r\n\r\nRien n'a été effacé.");
    EXPECT_EQ(Offered("java"), std::make_pair(false, true));
    EXPECT_TRUE(form_.Get("Picture_java").visible);

    platform_.dialogs.shown.clear();
    Remove("hymnes");
    EXPECT_TRUE(Boxes()[1].text.starts_with(
        "La suppression des questionnaires sur les hymnes nationaux n'a pas été faite : la clé USB est protégée"));
    EXPECT_EQ(Offered("hymnes"), std::make_pair(false, true));
    EXPECT_EQ(form_.Get("Label_supprimer_quiz").caption, "Cantarel Quiz et tous les questionnaires (767 Mo)");
}

// A staging folder the drive will not create is a refusal, never a removal
// reported done with the component still in place.
TEST_F(RemoveFlow, AStagingFolderThatCannotBeMadeRemovesNothing) {
    platform_.files.FailOn(AbsolutePath(app_, "\\Installation en cours"), FileResult::kDenied);
    Remove("cdex");
    EXPECT_TRUE(Boxes()[1].text.starts_with("La suppression de CDex n'a pas été faite : "));
    EXPECT_TRUE(Exists("\\Musique\\CDex\\programme.exe"));
    EXPECT_EQ(Offered("cdex"), std::make_pair(false, true));
}

// Stopped by the user, a removal has already moved the folder out of its
// place: the component is removed, the rest goes at the next start.
TEST_F(RemoveFlow, StoppedDuringTheDeletionTheComponentIsRemovedNotHalf) {
    Add("\\Musique\\VLC\\vlc.exe");
    platform_.action.cancelAfter = 1;
    Remove("vlc");
    EXPECT_EQ(platform_.action.runs, 1);
    EXPECT_FALSE(Exists("\\Musique\\VLC\\"));
    EXPECT_TRUE(Exists("\\Installation en cours\\suppression\\vlc\\"));
    EXPECT_EQ(Offered("vlc"), std::make_pair(true, false));
    EXPECT_EQ(Boxes()[1].text, "Le programme 'VLC' a été supprimé!\r\n\r\nSes derniers fichiers seront effacés au "
                               "prochain démarrage de Cantarel Portable.");
}

// A read-only questionnaire is made writable and deleted, not reported.
TEST_F(RemoveFlow, AReadOnlyQuestionnaireIsDeletedToo) {
    platform_.files.AddFileWithAttributes(kTexts + "Chopin.txt", attributes::kReadOnly);
    Remove("chopin");
    EXPECT_FALSE(Exists("\\Cantarel\\Quiz\\textes\\Chopin.txt"));
    EXPECT_EQ(Boxes()[1].text, "Le questionnaire sur Frédéric Chopin a été supprimé!");
}

TEST_F(RemoveFlow, AQuestionnaireInUseByTheQuizStillRemovesTheTopicsAudio) {
    platform_.files.FailOn(kTexts + "Quizora.txt", FileResult::kInUse);
    Remove("chopin");
    EXPECT_FALSE(Exists("\\Cantarel\\Quiz\\textes\\Chopin.txt"));
    EXPECT_FALSE(Exists("\\Cantarel\\Quiz\\audio\\chopin\\"));
    EXPECT_TRUE(Exists("\\Cantarel\\Quiz\\textes\\Quizora.txt"));
    EXPECT_EQ(Boxes()[1].style, 48u);
    EXPECT_TRUE(Boxes()[1].text.starts_with(
        "La suppression du questionnaire sur Frédéric Chopin est incomplète : un de ses fichiers est encore ouvert"));
    EXPECT_TRUE(Boxes()[1].text.ends_with("\\Cantarel\\Quiz\\textes\\Quizora.txt"));
    EXPECT_EQ(Offered("chopin"), std::make_pair(true, false));
    EXPECT_EQ(form_.Get("Label_supprimer_quiz").caption, "Cantarel Quiz et tous les questionnaires (543 Mo)");
}

// A file open anywhere in the quiz's tree keeps the quiz and every topic.
TEST_F(RemoveFlow, TheQuizStillOpenKeepsEverything) {
    for (const std::string& file : {kQuiz + "programme.exe", kQuiz + "audio\\hymnes\\programme.exe"}) {
        platform_.files.FailOn(file, FileResult::kInUse);
        Remove("quiz");
        EXPECT_TRUE(Boxes().back().text.starts_with("La suppression de Cantarel Quiz n'a pas été faite : un de ses"));
        for (const char* id : {"quiz", "chopin", "hymnes", "symphonique"}) {
            EXPECT_EQ(Offered(id), std::make_pair(false, true)) << id;
        }
        EXPECT_TRUE(form_.Get("Picture_quiz").visible);
        EXPECT_EQ(form_.Get("Label_supprimer_quiz").caption, "Cantarel Quiz et tous les questionnaires (767 Mo)");
        EXPECT_TRUE(Exists("\\Cantarel\\Quiz\\textes\\Quizora.txt"));
        EXPECT_TRUE(Exists("\\Cantarel\\Quiz\\audio\\chopin\\programme.exe"));
    }
}

class RemoveFlowAtDriveRoot : public RemoveFlow {
protected:
    RemoveFlowAtDriveRoot() : RemoveFlow("E:\\") {}
};

TEST_F(RemoveFlowAtDriveRoot, DeletesUnderTheRootAndShowsPlainPaths) {
    Remove("tuxguitar");
    EXPECT_FALSE(platform_.files.Exists("E:\\Musique\\Tuxguitar\\"));
    EXPECT_TRUE(platform_.files.Exists("E:\\Musique\\"));
    EXPECT_EQ(Boxes()[1].text, "Le programme 'Tuxguitar' a été supprimé!");

    EXPECT_FALSE(platform_.files.Exists("E:\\Installation en cours\\"));
}

// A click that arrives while a removal runs starts nothing else.
TEST_F(RemoveFlow, ClicksDuringARemovalStartNoOtherAction) {
    NoWindow window;
    Form1Events events(form_, platform_.services, window);
    platform_.events.onPump = [&] {
        events.Click(form_.IndexOf("Label_supprimer_audacity"));
        events.Click(form_.IndexOf("Label_telecharger_vlc"));
        events.Click(form_.IndexOf("Picture_musique"));
    };
    events.Click(form_.IndexOf("Label_supprimer_vlc"));
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_FALSE(Exists("\\Musique\\VLC\\"));
    EXPECT_TRUE(Exists("\\Musique\\Audacity\\programme.exe"));
    EXPECT_TRUE(platform_.downloader.calls.empty());
    EXPECT_TRUE(form_.Get("Picture_musique_grand").visible);
    EXPECT_FALSE(events.Busy());
}

}  // namespace
