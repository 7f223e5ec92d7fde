#include "components/install_flow.h"

#include <gtest/gtest.h>

#include "components/component_catalogue.h"
#include "config/build_settings.h"
#include "fakes/fake_platform.h"
#include "window/form1_events.h"
#include "drive/installed_state_scan.h"
#include "window/window_layout.h"

namespace {

constexpr const char* kApp = "E:\\Clé USB\\Cantarel";
const std::string kSupport = std::string(kSupportAddress) + "!";

class InstallFlow : public testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"Cantarel", "Musique", "Util", "Windows"}) {
            platform_.files.AddFolder(std::string(kApp) + "\\" + folder + "\\");
        }
        RefreshInstalledState(form_, kApp, platform_.files);
        form_.TakeChanges();
        // A download writes its file; the library extracts the component's
        // folder with one program in it.
        platform_.downloader.during = [this](const FakeDownloader::Call& call) {
            barDuringDownload_ = form_.Get(kDownloadBar).visible;
            pumpsBeforeDownload_ = platform_.events.pumped;
            platform_.files.AddFile(call.targetFile);
        };
        // The library unpacks the archive's files where it is told.
        platform_.unzip.script = [this](UnzipCallbacks&) {
            std::string folder = platform_.unzip.calls.back().extractDir;
            if (!folder.ends_with('\\')) folder += '\\';
            for (const std::string& file : archive_) platform_.files.AddFile(folder + file);
            return 0;
        };
    }
    // By default an archive holds one program in the component's folder.
    void Install(std::string_view id) {
        const Component& c = ComponentById(id);
        if (archive_.empty()) {
            archive_ = {std::string(c.installedFolder.substr(c.extractionFolder.size())) + "programme.exe"};
        }
        InstallComponent(form_, id, platform_.services);
    }
    bool StagingLeft() { return platform_.files.Exists("E:\\Clé USB\\Cantarel\\Installation en cours\\"); }
    bool Enabled(const std::string& label) { return form_.Get(label).enabled; }
    const std::vector<FakeDialogs::Shown>& Boxes() { return platform_.dialogs.shown; }

    Form1 form_ = BuildDesignForm1();
    FakePlatform platform_{kApp};
    std::vector<std::string> archive_;
    bool barDuringDownload_ = false;
    int pumpsBeforeDownload_ = -1;
};

TEST_F(InstallFlow, AnArchiveIsDownloadedExtractedDeletedAndShown) {
    Install("vlc");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text, "Voulez-vous installer VLC ?");
    EXPECT_EQ(Boxes()[0].title, "Installation d'un programme");
    EXPECT_EQ(Boxes()[0].style, 36u);
    EXPECT_EQ(Boxes()[1].text, "Le programme 'VLC' a été installé!");
    EXPECT_EQ(Boxes()[1].title, "Installation d'un programme Cantarel");
    EXPECT_EQ(Boxes()[1].style, 0u);

    ASSERT_EQ(platform_.downloader.calls.size(), 1u);
    EXPECT_EQ(platform_.downloader.calls[0].url, std::string(kDownloadBase) + "/logiciels/portable1.4/Musique/VLC.zip");
    EXPECT_EQ(platform_.downloader.calls[0].targetFile, "E:\\Clé USB\\Cantarel\\Installation en cours\\vlc\\VLC.zip");
    EXPECT_TRUE(barDuringDownload_);
    EXPECT_EQ(pumpsBeforeDownload_, 1);
    EXPECT_EQ(platform_.events.pumped, 2);

    ASSERT_EQ(platform_.unzip.calls.size(), 1u);
    EXPECT_TRUE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Musique\\VLC\\programme.exe"));
    EXPECT_FALSE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Musique\\VLC.zip"));
    EXPECT_FALSE(StagingLeft());
    EXPECT_FALSE(Enabled("Label_telecharger_vlc"));
    EXPECT_TRUE(Enabled("Label_supprimer_vlc"));
    EXPECT_TRUE(form_.Get("Picture_vlc").visible);
    EXPECT_EQ(form_.Get(kDownloadSpaceCaption).caption.substr(0, 15), "Espace Libre : ");
    EXPECT_FALSE(form_.Get(kDownloadBar).visible);
}

TEST_F(InstallFlow, AnyAnswerButYesChangesNothing) {
    for (int answer : {box::kAnswerNo, box::kAnswerCancel}) {
        platform_.dialogs.answers = {answer};
        Install("java");
        EXPECT_TRUE(form_.TakeChanges().empty());
    }
    EXPECT_TRUE(platform_.downloader.calls.empty());
    EXPECT_EQ(platform_.events.pumped, 0);
    EXPECT_FALSE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Windows\\java\\"));
}

TEST_F(InstallFlow, AFailedDownloadIsReportedAndChangesNoControl) {
    platform_.downloader.result = download_result::kNoConnection;
    Install("java");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text, "Voulez-vous télécharger JAVA ?");
    EXPECT_EQ(Boxes()[1].title, "Téléchargement d'un programme");
    EXPECT_EQ(Boxes()[1].text,
              "JAVA n'a pas pu être téléchargé sur votre disque! Recommencez ultérieurement ou contactez " + kSupport);
    // The installer rows prepare their folder and do not pump after the download.
    EXPECT_TRUE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Windows\\java\\"));
    EXPECT_EQ(platform_.events.pumped, 1);
    EXPECT_TRUE(Enabled("Label_telecharger_java"));
    EXPECT_FALSE(Enabled("Label_supprimer_java"));
    EXPECT_FALSE(form_.Get("Picture_java").visible);
    EXPECT_EQ(form_.Get(kDownloadSpaceCaption).caption, kDesignSpaceText);
    EXPECT_FALSE(form_.Get(kDownloadBar).visible);

    platform_.downloader.result = 404;
    Install("7zip");
    EXPECT_EQ(Boxes().back().title, "Installation d'un programme");
    EXPECT_EQ(Boxes().back().text,
              "Le programme '7-Zip' n'a pas pu être installé! Recommencez ultérieurement ou contactez " + kSupport);
    EXPECT_TRUE(platform_.unzip.calls.empty());

    // A file the server's signed catalogue does not vouch for: said so,
    // named, and nothing unpacked.
    platform_.downloader.result = download_result::kNotVerified;
    Install("7zip");
    EXPECT_EQ(Boxes().back().text, "Le fichier de 7-Zip reçu du serveur n'a pas pu être vérifié : il ne correspond "
                                   "pas au catalogue signé de Cantarel. Rien n'a été installé ni démarré. "
                                   "Recommencez ultérieurement ou contactez " + kSupport);
    EXPECT_TRUE(platform_.unzip.calls.empty());
    EXPECT_TRUE(Enabled("Label_telecharger_7zip"));

    // A proxy that wants an identification Windows did not give.
    platform_.downloader.result = 407;
    Install("7zip");
    EXPECT_EQ(Boxes().back().text, "Le serveur mandataire (proxy) de ce réseau a refusé le téléchargement de 7-Zip : "
                                   "il demande une identification que Windows ne lui a pas fournie. Demandez "
                                   "l'accès à l'administrateur du réseau, ou contactez " + kSupport);
}

TEST_F(InstallFlow, AnInstallerStaysOnTheDrive) {
    Install("framework_35");
    EXPECT_TRUE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Windows\\dotnet35\\dotnetfx35.exe"));
    EXPECT_TRUE(platform_.unzip.calls.empty());
    EXPECT_EQ(Boxes()[1].text,
              "Le framework .NET 3.5 a été téléchargé sur votre disque! Vous pouvez mettre votre système à jour en "
              "cliquant sur le bouton 'Mises à jour de Windows'");
    EXPECT_TRUE(form_.Get("Picture_net35").visible);
    EXPECT_TRUE(Enabled("Label_supprimer_framework_35"));
}

TEST_F(InstallFlow, AFailedExtractionIsReportedAsAFailure) {
    platform_.unzip.script = [](UnzipCallbacks& library) {
        const char text[] = "End-of-central-directory signature not found.\n";
        library.Print(text, sizeof text - 1);
        return 9;
    };
    Install("audacity");
    ASSERT_EQ(Boxes().size(), 3u);
    EXPECT_EQ(Boxes()[1].text, "End-of-central-directory signature not found.\n");
    EXPECT_EQ(Boxes()[1].title, "");
    EXPECT_EQ(Boxes()[2].text, "Le fichier de Audacity a été téléchargé mais n'a pas pu être décompressé : l'archive "
                               "est endommagée. Rien n'a été installé. Recommencez ultérieurement ou contactez " +
                                   kSupport);
    EXPECT_FALSE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Musique\\Audacity\\"));
    EXPECT_FALSE(StagingLeft());
    EXPECT_TRUE(Enabled("Label_telecharger_audacity"));
    EXPECT_FALSE(form_.Get("Picture_audacity").visible);
}

// Too little room for the archive and what it unpacks to: said before
// anything is written or fetched.
TEST_F(InstallFlow, TooLittleRoomIsSaidBeforeAnythingIsWritten) {
    platform_.disk.space = DiskSpace{100 * 1024 * 1024, 8'053'063'680};
    platform_.downloader.room = 300 * 1024 * 1024;
    Install("vlc");
    EXPECT_TRUE(platform_.downloader.calls.empty());
    EXPECT_EQ(Boxes().back().text, "La clé USB n'a pas assez de place pour VLC : il faut 319,0 Mo libres, il en "
                                   "reste 100,0 Mo. Rien n'a été écrit. Libérez de la place sur la clé, puis "
                                   "recommencez.");
    EXPECT_FALSE(StagingLeft());
    EXPECT_TRUE(Enabled("Label_telecharger_vlc"));
    EXPECT_FALSE(form_.Get(kDownloadBar).visible);
    // Enough room, or nobody knowing, lets the install go on.
    platform_.disk.space = DiskSpace{400 * 1024 * 1024, 8'053'063'680};
    Install("vlc");
    EXPECT_EQ(Boxes().back().text, "Le programme 'VLC' a été installé!");
}

TEST_F(InstallFlow, AWriteProtectedKeyIsSaidOnceAndNothingIsFetched) {
    platform_.files.writeProtected = true;
    Install("vlc");
    EXPECT_TRUE(platform_.downloader.calls.empty());
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, "Cantarel Portable ne peut pas écrire sur la clé USB (elle est protégée en écriture, "
                               "ou l'accès est refusé) : rien n'a été installé. Retirez la protection, puis "
                               "recommencez.");
    EXPECT_TRUE(Enabled("Label_telecharger_vlc"));
}

// What the library's result says is said: a full key, a password.
TEST_F(InstallFlow, AFailedExtractionSaysWhy) {
    for (const auto& [result, why] : {std::pair{50, "la clé USB est pleine"},
                                      std::pair{82, "l'archive est protégée par un mot de passe ou d'un format que la "
                                                    "bibliothèque ne connaît pas"}}) {
        platform_.unzip.script = [result = result](UnzipCallbacks&) { return result; };
        Install("cdex");
        EXPECT_EQ(Boxes().back().text, "Le fichier de CDex a été téléchargé mais n'a pas pu être décompressé : " +
                                           std::string(why) +
                                           ". Rien n'a été installé. Recommencez ultérieurement ou contactez " +
                                           kSupport);
    }
}

TEST_F(InstallFlow, AMissingLibraryIsExplainedAndNothingIsMarkedInstalled) {
    platform_.unzip.failure = UnzipLibrary::Failure::NotFound;
    platform_.unzip.failureDetail = "unzip32.dll";
    Install("reconnaissance_vocale");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].title, "Téléchargement d'un programme");
    EXPECT_NE(Boxes()[1].text.find("unzip32.dll"), std::string::npos);
    EXPECT_TRUE(Boxes()[1].text.ends_with(kSupport));
    EXPECT_FALSE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Windows\\Speech\\"));
    EXPECT_FALSE(StagingLeft());
    EXPECT_TRUE(Enabled("Label_telecharger_reconnaissance_vocale"));
    EXPECT_FALSE(form_.Get("Picture_voix").visible);
    EXPECT_FALSE(form_.Get(kDownloadBar).visible);
}

TEST_F(InstallFlow, TheQuizBringsItsTopics) {
    archive_ = {"Quiz.exe", "audio\\chopin\\1.mp3", "textes\\Chopin.txt"};
    Install("quiz");
    EXPECT_EQ(platform_.downloader.calls[0].targetFile, "E:\\Clé USB\\Cantarel\\Installation en cours\\quiz\\Quiz.zip");
    EXPECT_TRUE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Cantarel\\Quiz\\audio\\chopin\\1.mp3"));
    for (const char* id : {"quiz", "chopin", "hymnes", "symphonique"}) {
        EXPECT_FALSE(Enabled("Label_telecharger_" + std::string(id))) << id;
        EXPECT_TRUE(Enabled("Label_supprimer_" + std::string(id))) << id;
    }
    EXPECT_TRUE(form_.Get("Picture_quiz").visible);
    EXPECT_EQ(form_.Get("Label_supprimer_quiz").caption, "Cantarel Quiz et tous les questionnaires (767 Mo)");
}

// A topic joins the quiz's folder file by file and folder by folder; the
// quiz and the other topics are left as they were.
TEST_F(InstallFlow, ATopicJoinsTheQuizFolderLeavingTheRestAlone) {
    const std::string quiz = "E:\\Clé USB\\Cantarel\\Cantarel\\Quiz\\";
    for (const char* file : {"Quiz.exe", "audio\\hymnes\\1.mp3", "textes\\Hymnes1.txt"}) {
        platform_.files.AddFile(quiz + file);
    }
    archive_ = {"audio\\chopin\\1.mp3", "audio\\chopin\\2.mp3", "textes\\Chopin.txt"};
    Install("chopin");
    for (const char* file : {"Quiz.exe", "audio\\hymnes\\1.mp3", "textes\\Hymnes1.txt", "audio\\chopin\\2.mp3",
                             "textes\\Chopin.txt"}) {
        EXPECT_TRUE(platform_.files.Exists(quiz + file)) << file;
    }
    EXPECT_FALSE(Enabled("Label_telecharger_chopin"));
    EXPECT_FALSE(StagingLeft());
}

// What an archive holds outside its component's folder would overwrite
// another component: nothing of it reaches the drive.
TEST_F(InstallFlow, AnArchiveReachingIntoAnotherFolderInstallsNothing) {
    const std::vector<std::vector<std::string>> hostile = {
        {"VLC\\vlc.exe", "Audacity\\audacity.exe"},
        {"VLC\\vlc.exe", "autorun.inf"},
        {"vlc.exe"},
    };
    for (const auto& files : hostile) {
        archive_ = files;
        Install("vlc");
        EXPECT_EQ(Boxes().back().text, "L'archive de VLC contient des fichiers destinés à un autre dossier que le "
                                       "sien : rien n'a été installé. Recommencez ultérieurement ou contactez " +
                                           kSupport);
        EXPECT_FALSE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Musique\\VLC\\"));
        EXPECT_FALSE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Musique\\Audacity\\"));
        EXPECT_FALSE(StagingLeft());
        EXPECT_TRUE(Enabled("Label_telecharger_vlc"));
    }
    // A topic may bring its own questionnaires, not another topic's.
    archive_ = {"audio\\chopin\\1.mp3", "textes\\Chopin.txt", "textes\\Hymnes1.txt"};
    Install("chopin");
    EXPECT_FALSE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Cantarel\\Quiz\\textes\\Chopin.txt"));
    EXPECT_TRUE(Enabled("Label_telecharger_chopin"));
}

// Put in place or not at all: a refused rename, or an archive that brought
// nothing the scan counts, is a failure and never shown as installed.
TEST_F(InstallFlow, APlacementThatFailsIsAFailure) {
    platform_.files.FailOn("E:\\Clé USB\\Cantarel\\Musique\\VLC", FileResult::kWriteProtected);
    Install("vlc");
    EXPECT_EQ(Boxes().back().text,
              "Le programme 'VLC' n'a pas pu être installé! Recommencez ultérieurement ou contactez " + kSupport);
    EXPECT_FALSE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Musique\\VLC\\"));
    EXPECT_TRUE(Enabled("Label_telecharger_vlc"));
    EXPECT_FALSE(StagingLeft());

    archive_ = {"Audacity\\lib\\core.dll"};
    Install("audacity");
    EXPECT_EQ(Boxes().back().text,
              "Le programme 'Audacity' n'a pas pu être installé! Recommencez ultérieurement ou contactez " + kSupport);
    EXPECT_TRUE(Enabled("Label_telecharger_audacity"));
    EXPECT_FALSE(form_.Get("Picture_audacity").visible);
    // What it brought does not stay behind.
    EXPECT_FALSE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Musique\\Audacity\\"));
    EXPECT_FALSE(StagingLeft());
}

TEST_F(InstallFlow, AnInstalledTopicCountsInTheQuizRemovalCaption) {
    platform_.files.AddFile("E:\\Clé USB\\Cantarel\\Cantarel\\Quiz\\Quiz.exe");
    form_.SetEnabled("Label_supprimer_quiz", true);
    RefreshQuizSizeCaption(form_);
    EXPECT_EQ(form_.Get("Label_supprimer_quiz").caption, "Cantarel Quiz et tous les questionnaires (52 Mo)");
    Install("hymnes");
    EXPECT_EQ(form_.Get("Label_supprimer_quiz").caption, "Cantarel Quiz et tous les questionnaires (252 Mo)");
}

// Stopped by the user while it downloads or while it unpacks: the key and the
// window are as before the click, and nothing more is said.
TEST_F(InstallFlow, StoppedAtAnyStepLeavesTheKeyAndTheWindowAsTheyWere) {
    platform_.downloader.result = download_result::kCancelled;
    Install("vlc");
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(platform_.action.runs, 1);
    EXPECT_TRUE(platform_.unzip.calls.empty());
    EXPECT_FALSE(StagingLeft());
    EXPECT_TRUE(Enabled("Label_telecharger_vlc"));
    EXPECT_FALSE(form_.Get(kDownloadBar).visible);

    platform_.downloader.result = download_result::kDone;
    platform_.unzip.script = [this](UnzipCallbacks&) {
        std::string folder = platform_.unzip.calls.back().extractDir;
        platform_.files.AddFile(folder + "Audacity\\audacity.exe");
        platform_.action.cancelled = true;  // the library then stops, with its own error
        return 80;
    };
    Install("audacity");
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_FALSE(platform_.files.Exists("E:\\Clé USB\\Cantarel\\Musique\\Audacity\\"));
    EXPECT_FALSE(StagingLeft());
    EXPECT_TRUE(Enabled("Label_telecharger_audacity"));
}

struct NoWindow : MainWindow {
    void Close() override {}
};

// A click that arrives while an install runs starts nothing else.
TEST_F(InstallFlow, ClicksDuringAnInstallStartNoOtherAction) {
    NoWindow window;
    Form1Events events(form_, platform_.services, window);
    platform_.events.onPump = [&] {
        events.Click(form_.IndexOf("Label_telecharger_audacity"));
        events.Click(form_.IndexOf("Picture_musique"));
    };
    events.Click(form_.IndexOf("Label_telecharger_vlc"));
    EXPECT_EQ(platform_.downloader.calls.size(), 1u);
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_TRUE(form_.Get("Picture_musique_grand").visible);
    EXPECT_FALSE(events.Busy());
}

}  // namespace
