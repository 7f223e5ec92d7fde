#include "update/version_check.h"

#include <gtest/gtest.h>

#include "config/build_settings.h"
#include "fakes/fake_platform.h"
#include "window/form1_events.h"
#include "window/hover_feedback.h"
#include "window/window_layout.h"

namespace {

constexpr const char* kApp = "E:\\Clé USB\\Cantarel";
const std::string kSupport = std::string(kSupportAddress) + "!";
const std::string kCheckFailed =
    "Il n'est pas possible de vérifier si vous avez la dernière version! Recommencez ultérieurement ou contactez " +
    kSupport;
// The version the launcher is built as, the project's.
const std::string kRunning(kRunningVersion);
const std::string kQuestionStart =
    "Voulez-vous mettre à jour Cantarel Portable de la version " + kRunning + " vers la version ";

class RecordingWindow : public MainWindow {
public:
    void Close() override { ++closes; }
    int closes = 0;
};

// A server that answers with `versionFile` and a package that extracts
// CantarelPortable.exe into AppFolder.
class UpdateCheck : public testing::Test {
protected:
    explicit UpdateCheck(std::string app = kApp) : app_(app), platform_(app) {}

    void SetUp() override {
        platform_.files.AddFolder(app_);
        platform_.downloader.during = [this](const FakeDownloader::Call& call) {
            platform_.files.AddFile(call.targetFile);
            if (call.url.ends_with("version.txt")) platform_.textFiles.contents[call.targetFile] = versionFile_;
        };
        // The package unpacks where it is told.
        platform_.unzip.script = [this](UnzipCallbacks&) {
            std::string folder = platform_.unzip.calls.back().extractDir;
            if (!folder.ends_with('\\')) folder += '\\';
            for (const std::string& file : package_) platform_.files.AddFile(folder + file);
            return 0;
        };
    }

    std::string Path(std::string_view relative) const {
        return app_ + std::string(relative);
    }
    void Check(std::string versionFile) {
        versionFile_ = std::move(versionFile);
        CheckForUpdate(form_, platform_.services, window_);
    }
    const std::vector<FakeDialogs::Shown>& Boxes() { return platform_.dialogs.shown; }
    // The drive holds only what the test put there, plus what an update brings.
    bool NothingLeftBehind() {
        return !platform_.files.Exists(Path("\\version.txt")) && !platform_.files.Exists(Path("\\CantarelPortable.zip")) &&
               !platform_.files.Exists(Path("\\Installation en cours\\"));
    }

    std::string app_;
    Form1 form_ = BuildDesignForm1();
    FakePlatform platform_;
    RecordingWindow window_;
    std::string versionFile_;
    std::vector<std::string> package_ = {"CantarelPortable.exe"};
};

TEST_F(UpdateCheck, TheRunningVersionIsUpToDateWithOrWithoutTheLastLineEnd) {
    for (const std::string& file :
         {kRunning + "\r\n", kRunning, "0.9\r\n" + kRunning + "\r\n", "ancienne version\r\n" + kRunning}) {
        SCOPED_TRACE(file);
        platform_.dialogs.shown.clear();
        Check(file);
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].text, "Vous avez la dernière version!");
        EXPECT_EQ(Boxes()[0].title, "Vérification de la version de Cantarel Portable");
        EXPECT_EQ(Boxes()[0].style, box::kOk);
        EXPECT_EQ(form_.Get(kServerVersion).caption, kRunning);
        EXPECT_TRUE(NothingLeftBehind());
    }
    EXPECT_EQ(window_.closes, 0);
    EXPECT_TRUE(platform_.processes.starts.empty());
}

TEST_F(UpdateCheck, AsksTheServerItsVersionFileIntoAppFolderAndLetsTheWindowBreathe) {
    Check(kRunning + "\r\n");
    ASSERT_EQ(platform_.downloader.calls.size(), 1u);
    EXPECT_EQ(platform_.downloader.calls[0].url, std::string(kDownloadBase) + "/logiciels/version.txt");
    EXPECT_EQ(platform_.downloader.calls[0].targetFile, "E:\\Clé USB\\Cantarel\\version.txt");
    EXPECT_EQ(platform_.textFiles.reads, std::vector<std::string>{"E:\\Clé USB\\Cantarel\\version.txt"});
    EXPECT_EQ(platform_.events.pumped, 1);
}

TEST_F(UpdateCheck, ALaterVersionIsOfferedAsItStandsAndNoLeavesNothingBehind) {
    // The last line wins; Unix and old Mac line ends end a line too.
    const std::pair<const char*, const char*> cases[] = {
        {"1.5\r\n", "1.5"}, {"1.40", "1.40"}, {"1.4\r\n1.5\r\n", "1.5"}, {"1.5\n", "1.5"},
        {"1.5\r", "1.5"},   {"2", "2"},       {"1.4.1", "1.4.1"},
    };
    for (const auto& [file, version] : cases) {
        SCOPED_TRACE(file);
        platform_.dialogs.shown.clear();
        platform_.dialogs.answers = {box::kAnswerNo};
        Check(file);
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].text, kQuestionStart + version + " ?");
        EXPECT_EQ(Boxes()[0].title, "Mise à jour de Cantarel Portable");
        EXPECT_EQ(Boxes()[0].style, box::kQuestion);
        EXPECT_EQ(form_.Get(kServerVersion).caption, version);
        EXPECT_TRUE(NothingLeftBehind());
    }
    // No: one download per check, nothing extracted, started or closed.
    EXPECT_EQ(platform_.downloader.calls.size(), std::size(cases));
    EXPECT_TRUE(platform_.unzip.calls.empty());
    EXPECT_TRUE(platform_.processes.starts.empty());
    EXPECT_EQ(window_.closes, 0);
}

// A server cannot take the key back to an older launcher, nor offer the
// running one again under another spelling.
TEST_F(UpdateCheck, AnEarlierOrTheSameVersionIsNeverOffered) {
    for (const char* file : {"1.3\r\n", "0.9", "1.4.0", "1.3.99"}) {
        SCOPED_TRACE(file);
        platform_.dialogs.shown.clear();
        Check(file);
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].text, "Vous avez la dernière version!");
        EXPECT_TRUE(NothingLeftBehind());
    }
    EXPECT_EQ(platform_.downloader.calls.size(), 4u);
}

TEST_F(UpdateCheck, AFileThatNamesNoVersionIsAFailedCheckEvenAfterAnEarlierOne) {
    platform_.dialogs.answers = {box::kAnswerNo};
    Check("1.5\r\n");
    for (const char* file : {"", "\r\n", "\r\n\r\n", "1.5\r\n\r\n", "1.5 ", "v1.5", "Écho 2", "1..5"}) {
        SCOPED_TRACE(testing::PrintToString(file));
        platform_.dialogs.shown.clear();
        Check(file);
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].text, kCheckFailed);
        EXPECT_EQ(Boxes()[0].title, "Installation d'un programme Cantarel");
        EXPECT_EQ(Boxes()[0].style, box::kOk);
        EXPECT_TRUE(NothingLeftBehind());
    }
    EXPECT_EQ(platform_.downloader.calls.size(), 9u);
}

// Every check asks the server's catalogue afresh; a file it does not vouch
// for is said to be unverified, and an update package too.
TEST_F(UpdateCheck, WhatTheSignedCatalogueDoesNotVouchForIsSaidSo) {
    platform_.downloader.result = download_result::kNotVerified;
    platform_.downloader.during = nullptr;
    Check("1.5");
    EXPECT_EQ(platform_.downloader.freshStarts, 1);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Le fichier de la version de Cantarel Portable reçu du serveur n'a pas pu être "
                               "vérifié : il ne correspond pas au catalogue signé de Cantarel. Rien n'a été installé "
                               "ni démarré. Recommencez ultérieurement ou contactez " + kSupport);

    platform_.dialogs.shown.clear();
    platform_.downloader.results = {download_result::kDone, download_result::kNotVerified};
    platform_.downloader.during = [this](const FakeDownloader::Call& call) {
        if (call.url.ends_with("version.txt")) {
            platform_.files.AddFile(call.targetFile);
            platform_.textFiles.contents[call.targetFile] = "1.5";
        }
    };
    platform_.dialogs.answers = {box::kAnswerYes};
    Check("1.5");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_TRUE(Boxes()[1].text.starts_with("Le fichier de la mise à jour de Cantarel Portable reçu du serveur n'a "
                                            "pas pu être vérifié"));
    EXPECT_TRUE(platform_.unzip.calls.empty());
    EXPECT_TRUE(platform_.processes.starts.empty());
    EXPECT_EQ(window_.closes, 0);
    EXPECT_TRUE(NothingLeftBehind());
}

TEST_F(UpdateCheck, AFailedOrUnreadableDownloadIsAFailedCheck) {
    for (std::int32_t result : {download_result::kNoConnection, 404, 500, download_result::kCutShort}) {
        SCOPED_TRACE(result);
        platform_.dialogs.shown.clear();
        platform_.downloader.result = result;
        platform_.downloader.during = nullptr;
        Check("1.5");
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].text, kCheckFailed);
    }
    EXPECT_TRUE(platform_.textFiles.reads.empty());

    // Downloaded but gone or locked when read.
    platform_.dialogs.shown.clear();
    platform_.downloader.result = download_result::kDone;
    platform_.downloader.during = [this](const FakeDownloader::Call& call) { platform_.files.AddFile(call.targetFile); };
    Check("1.5");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kCheckFailed);
    EXPECT_TRUE(NothingLeftBehind());
    EXPECT_EQ(window_.closes, 0);
}

TEST_F(UpdateCheck, ALocalCopyThatCannotBeDeletedDoesNotStopTheCheck) {
    platform_.files.FailOn(Path("\\version.txt"), FileResult::kInUse);
    Check(kRunning + "\r\n");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Vous avez la dernière version!");
}

TEST_F(UpdateCheck, YesUnpacksThePackageInStagingSwapsItInStartsItsProgramAndCloses) {
    platform_.files.AddFile(Path("\\CantarelPortable.exe"));
    platform_.files.AddFile(Path("\\unzip32.dll"));
    package_ = {"CantarelPortable.exe", "unzip32.dll"};
    Check("1.5\r\n");
    ASSERT_EQ(Boxes().size(), 1u);  // only the question: the launcher is closing
    ASSERT_EQ(platform_.downloader.calls.size(), 2u);
    EXPECT_EQ(platform_.downloader.calls[1].url, std::string(kDownloadBase) + "/logiciels/CantarelPortable.zip");
    const std::string staging = "E:\\Clé USB\\Cantarel\\Installation en cours\\mise-a-jour\\";
    EXPECT_EQ(platform_.downloader.calls[1].targetFile, staging + "CantarelPortable.zip");
    EXPECT_EQ(platform_.events.pumped, 2);

    ASSERT_EQ(platform_.unzip.calls.size(), 1u);
    EXPECT_EQ(platform_.unzip.calls[0].zipFileName, staging + "CantarelPortable.zip");
    EXPECT_EQ(platform_.unzip.calls[0].extractDir, staging + "fichiers\\");
    EXPECT_EQ(platform_.unzip.calls[0].directories, 1);
    EXPECT_EQ(platform_.unzip.calls[0].overwriteAll, 1);
    EXPECT_EQ(platform_.unzip.calls[0].promptToOverwrite, 0);

    ASSERT_EQ(platform_.processes.starts.size(), 1u);
    EXPECT_EQ(platform_.processes.starts[0].file, "CantarelPortable.exe");
    EXPECT_EQ(platform_.processes.starts[0].parameters, "");
    EXPECT_EQ(platform_.processes.starts[0].folder, kApp);
    EXPECT_EQ(platform_.processes.starts[0].showCommand, 1);
    EXPECT_EQ(platform_.processes.closed, std::vector<Processes::Handle>{platform_.processes.handle});

    EXPECT_TRUE(NothingLeftBehind());
    EXPECT_TRUE(platform_.files.Exists(Path("\\CantarelPortable.exe")));
    EXPECT_EQ(window_.closes, 1);
}

TEST_F(UpdateCheck, AMissingPackageIsReportedDeletedAndNothingStarts) {
    platform_.downloader.results = {download_result::kDone, 404};
    Check("1.5\r\n");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text,
              "La mise à jour de Cantarel Portable n'a pas pu être téléchargée! Recommencez ultérieurement ou "
              "contactez " + kSupport);
    EXPECT_EQ(Boxes()[1].title, "Mise à jour de Cantarel Portable");
    EXPECT_EQ(Boxes()[1].style, box::kOk);
    EXPECT_TRUE(platform_.unzip.calls.empty());
    EXPECT_TRUE(platform_.processes.starts.empty());
    EXPECT_TRUE(NothingLeftBehind());
    EXPECT_EQ(window_.closes, 0);
}

TEST_F(UpdateCheck, AFailedExtractionShowsTheLibrarysTextAndTheLauncherKeepsRunning) {
    platform_.unzip.script = [](UnzipCallbacks& callbacks) {
        const char said[] = "error:  invalid zip file with overlapped components\n";
        callbacks.Print(said, sizeof said - 1);
        return 3;
    };
    Check("1.5\r\n");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_NE(Boxes()[1].text.find("invalid zip file"), std::string::npos);
    EXPECT_EQ(Boxes()[1].title, "");
    EXPECT_EQ(Boxes()[1].style, box::kOk);
    EXPECT_TRUE(platform_.processes.starts.empty());
    EXPECT_TRUE(NothingLeftBehind());
    EXPECT_EQ(window_.closes, 0);
}

TEST_F(UpdateCheck, AnExtractionThatSaysNothingStillNamesTheSupport) {
    platform_.unzip.script = [](UnzipCallbacks&) { return 9; };
    Check("1.5\r\n");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text,
              "La mise à jour de Cantarel Portable n'a pas pu être décompressée! Recommencez ultérieurement ou "
              "contactez " + kSupport);
    EXPECT_TRUE(platform_.processes.starts.empty());
    EXPECT_TRUE(NothingLeftBehind());
    EXPECT_EQ(window_.closes, 0);
}

TEST_F(UpdateCheck, AMissingExtractionLibraryIsReportedAndNothingStarts) {
    platform_.unzip.failure = UnzipLibrary::Failure::NotFound;
    platform_.unzip.failureDetail = "unzip32.dll";
    Check("1.5\r\n");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_NE(Boxes()[1].text.find("unzip32.dll"), std::string::npos);
    EXPECT_TRUE(Boxes()[1].text.ends_with(kSupport));
    EXPECT_EQ(Boxes()[1].title, "Mise à jour de Cantarel Portable");
    EXPECT_TRUE(platform_.processes.starts.empty());
    EXPECT_TRUE(NothingLeftBehind());
    EXPECT_EQ(window_.closes, 0);
}

TEST_F(UpdateCheck, AProgramThatCannotStartIsReportedAndTheLauncherStays) {
    platform_.processes.startSucceeds = false;
    Check("1.5\r\n");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_NE(Boxes()[1].text.find("CantarelPortable.exe"), std::string::npos);
    EXPECT_TRUE(Boxes()[1].text.ends_with(kSupport));
    EXPECT_TRUE(platform_.processes.closed.empty());
    EXPECT_TRUE(NothingLeftBehind());
    EXPECT_EQ(window_.closes, 0);
}

// A package that brings more than the launcher's files, or that cannot be
// swapped in whole, leaves every launcher file as it was.
TEST_F(UpdateCheck, APackageThatIsNotALaunchersOrCannotBeSwappedChangesNoLauncherFile) {
    platform_.files.AddFileWithAttributes(Path("\\CantarelPortable.exe"), attributes::kHidden);
    platform_.files.AddFileWithAttributes(Path("\\unzip32.dll"), attributes::kSystem);
    const std::string refused = "La mise à jour de Cantarel Portable contient d'autres fichiers que ceux du lanceur : "
                                "elle n'a pas été installée et la version actuelle reste en place. Recommencez "
                                "ultérieurement ou contactez " + kSupport;
    for (const std::vector<std::string>& package :
         {std::vector<std::string>{"CantarelPortable.exe", "system\\maestrel.bat"},
          std::vector<std::string>{"CantarelPortable.exe", "Musique\\VLC\\vlc.exe"},
          std::vector<std::string>{"unzip32.dll"}}) {
        package_ = package;
        Check("1.5\r\n");
        EXPECT_EQ(Boxes().back().text, refused);
        EXPECT_FALSE(platform_.files.Exists(Path("\\system\\maestrel.bat")));
        EXPECT_FALSE(platform_.files.Exists(Path("\\Musique\\")));
    }
    // The second file refused: the first is put back.
    package_ = {"CantarelPortable.exe", "unzip32.dll"};
    platform_.files.FailOn(Path("\\Installation en cours\\mise-a-jour\\ancien\\unzip32.dll"), FileResult::kInUse);
    Check("1.5\r\n");
    EXPECT_EQ(Boxes().back().text, "La mise à jour de Cantarel Portable n'a pas pu remplacer les fichiers du lanceur : "
                                   "la version actuelle reste en place. Recommencez ultérieurement ou contactez " +
                                       kSupport);
    EXPECT_EQ(platform_.files.AttributesOf(Path("\\CantarelPortable.exe")), attributes::kHidden);
    EXPECT_EQ(platform_.files.AttributesOf(Path("\\unzip32.dll")), attributes::kSystem);
    EXPECT_TRUE(platform_.processes.starts.empty());
    EXPECT_TRUE(NothingLeftBehind());
    EXPECT_EQ(window_.closes, 0);
}

TEST_F(UpdateCheck, AnUpdateStoppedByTheUserChangesNothingAndSaysNothing) {
    platform_.files.AddFileWithAttributes(Path("\\CantarelPortable.exe"), attributes::kHidden);
    platform_.downloader.results = {download_result::kDone, download_result::kCancelled};
    Check("1.5\r\n");
    EXPECT_EQ(Boxes().size(), 1u);
    platform_.unzip.script = [this](UnzipCallbacks&) {
        platform_.action.cancelled = true;
        return 80;
    };
    Check("1.5\r\n");
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(platform_.files.AttributesOf(Path("\\CantarelPortable.exe")), attributes::kHidden);
    EXPECT_TRUE(platform_.processes.starts.empty());
    EXPECT_TRUE(NothingLeftBehind());
    EXPECT_EQ(window_.closes, 0);
}

TEST_F(UpdateCheck, ThePictureKeepsItsImageAndTheHoverFlag) {
    form_.SetImage("Picture_miseajour", HighlightImageOf("Picture_miseajour"));
    SetHoverArmed(form_, true);
    Check(kRunning);
    EXPECT_EQ(form_.Get("Picture_miseajour").image, HighlightImageOf("Picture_miseajour"));
    EXPECT_TRUE(HoverArmed(form_));
}

class UpdateCheckAtDriveRoot : public UpdateCheck {
protected:
    UpdateCheckAtDriveRoot() : UpdateCheck("E:\\") {}
};

TEST_F(UpdateCheckAtDriveRoot, FilesAreJoinedToTheRootAndTheRootKeepsItsBackslash) {
    Check("1.5");
    ASSERT_EQ(platform_.downloader.calls.size(), 2u);
    EXPECT_EQ(platform_.downloader.calls[0].targetFile, "E:\\\\version.txt");
    EXPECT_EQ(platform_.downloader.calls[1].targetFile, "E:\\Installation en cours\\mise-a-jour\\CantarelPortable.zip");
    ASSERT_EQ(platform_.unzip.calls.size(), 1u);
    EXPECT_TRUE(platform_.files.Exists("E:\\CantarelPortable.exe"));
    EXPECT_EQ(platform_.processes.starts.at(0).folder, "E:\\");
    EXPECT_TRUE(NothingLeftBehind());
    EXPECT_EQ(window_.closes, 1);
}

// While a check lets the window breathe, a second click on the picture is
// ignored: only one version file is asked for.
TEST(UpdateCheckEvents, ASecondClickDuringTheCheckStartsNothing) {
    FakePlatform platform(kApp);
    Form1 form = BuildDesignForm1();
    RecordingWindow window;
    Form1Events events(form, platform.services, window);
    const int picture = form.IndexOf("Picture_miseajour");
    platform.downloader.during = [&](const FakeDownloader::Call& call) {
        platform.textFiles.contents[call.targetFile] = kRunning + "\r\n";
    };
    platform.events.onPump = [&] {
        EXPECT_TRUE(events.Busy());
        events.Click(picture);
    };
    events.Click(picture);
    EXPECT_EQ(platform.downloader.calls.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_FALSE(events.Busy());
}

TEST(VersionOfFile, TheLastLineWinsAndAnEmptyOneNamesNoVersion) {
    EXPECT_EQ(VersionOfFile("1.4\r\n"), "1.4");
    EXPECT_EQ(VersionOfFile("a\r\nb\r\nc"), "c");
    EXPECT_EQ(VersionOfFile("  1.4\t"), "  1.4\t");
    EXPECT_EQ(VersionOfFile("1.4\r\r\n"), std::nullopt);
    EXPECT_EQ(VersionOfFile(""), std::nullopt);
    EXPECT_EQ(VersionOfFile("\n"), std::nullopt);
}

}  // namespace
