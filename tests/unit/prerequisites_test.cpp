#include "components/prerequisites.h"

#include <gtest/gtest.h>

#include "components/component_catalogue.h"
#include "components/launch_click.h"
#include "config/build_settings.h"
#include "fakes/fake_platform.h"
#include "drive/installed_state_scan.h"
#include "storage/disk_space_report.h"
#include "window/hover_feedback.h"
#include "window/window_layout.h"

namespace {

constexpr const char* kApp = "E:\\Clé USB\\Cantarel";
constexpr const char* kQuestion =
    "Ce programme a besoin de mettre à jour votre système pour fonctionner. Voulez-vous continuer?";
constexpr const char* kSqlDll = "C:\\Program Files\\Microsoft SQL Server Compact Edition\\v3.5\\sqlcecompact35.dll";
constexpr const char* kNet4 = "C:\\WINDOWS\\Microsoft.NET\\Framework\\v4.0.30319";
constexpr const char* kNet35 = "C:\\WINDOWS\\Microsoft.NET\\Framework\\v3.5";

// One installer gate as the user meets it.
struct GateCase {
    const char* program;  // the picture clicked
    const char* batch;
    const char* present;  // what the presence test looks for
    const char* id;
    const char* firstTitle;
    const char* secondTitle;
    const char* secondText;
    const char* url;
    const char* localFile;
    const char* installer;
    const char* picture;
    const char* failureText;
};

const GateCase kDotNet4{"Picture_bullaro",
                        "\\system\\bullaro.bat",
                        kNet4,
                        "framework_4",
                        "Installation du Framework.net Version 4",
                        "Téléchargement du Framework.net Version 4",
                        "Le Framework.net Version 4 doit être téléchargé. Voulez-vous le télécharger (taille du "
                        "fichier : 48 Mo)?",
                        "/logiciels/portable/Windows/dotNetFx40_Full_x86_x64.exe",
                        "\\Windows\\dotnet4\\dotNetFx40_Full_x86_x64.exe",
                        "Windows\\dotnet4\\dotNetFx40_Full_x86_x64.exe",
                        "Picture_net4",
                        "Le framework .NET 4 n'a pas pu être téléchargé sur votre disque! Recommencez "
                        "ultérieurement ou contactez "};
const GateCase kDotNet35{"Picture_metronome",
                         "\\system\\metronome.bat",
                         kNet35,
                         "framework_35",
                         "Installation du Framework.net Version 3.5",
                         "Téléchargement du Framework.net Version 3.5",
                         "Le Framework.net Version 3.5 doit être téléchargé. Voulez-vous le télécharger (taille du "
                         "fichier : 237 Mo)?",
                         "/logiciels/portable/Windows/dotnetfx35.exe.exe",
                         "\\Windows\\dotnet35\\dotnetfx35.exe.exe",
                         "Windows\\dotnet35\\dotnetfx35.exe.exe",
                         "Picture_net35",
                         "Le framework .NET 35 n'a pas pu être téléchargé sur votre disque! Recommencez "
                         "ultérieurement ou contactez "};
const GateCase kSql35{"Picture_tonavel",
                      "\\system\\tonavel.bat",
                      kSqlDll,
                      "sql_35",
                      "Installation du SQL Compact Server 3.5",
                      "Téléchargement du SQL Compact Server 3.5",
                      "SQL Compact Server 3.5 doit être téléchargé. Voulez-vous le télécharger (taille du fichier : "
                      "3 Mo)?",
                      "/logiciels/portable/Windows/SSCERuntimex86FRA.msi",
                      "\\Windows\\sqlservercompact35\\SSCERuntimex86FRA.msi",
                      "Windows\\sqlservercompact35\\SSCERuntimex86FRA.msi",
                      "Picture_sql35",
                      "SQL Compact Server 3.5 n'a pas pu être téléchargé sur votre disque! Recommencez "
                      "ultérieurement ou contactez "};

class Prerequisites : public testing::Test {
protected:
    void SetUp() override {
        platform_.environment.Set("SystemRoot", "C:\\WINDOWS");
        platform_.environment.Set("ProgramFiles", "C:\\Program Files");
        platform_.system.windows64Bit = false;
        for (const char* folder : {"Cantarel", "Musique", "Util", "Windows"}) {
            platform_.files.AddFolder(std::string(kApp) + "\\" + folder + "\\");
        }
        RefreshInstalledState(form_, kApp, platform_.files);
        SetHoverArmed(form_, true);
        form_.TakeChanges();
    }
    void Present(const char* path, std::uint32_t attrs = attributes::kArchive) {
        platform_.system.attributes[path] = attrs;
    }
    void AllLibraries() {
        platform_.system.libraries = {"dx7vb.dll",    "dx8vb.dll",    "COMDLG32.OCX", "DBLIST32.OCX",
                                      "MSCOMCT2.OCX", "RICHTX32.OCX", "MSJINT35.DLL"};
    }
    void Click(std::string_view picture) { ClickLaunchPicture(form_, picture, platform_.services); }
    std::vector<std::string> ChangedNames() {
        std::vector<std::string> names;
        for (int index : form_.TakeChanges()) names.push_back(form_.At(index).name);
        return names;
    }
    const std::vector<FakeDialogs::Shown>& Boxes() { return platform_.dialogs.shown; }
    const std::vector<ShellStart>& Starts() { return platform_.processes.starts; }
    const auto& CommandLines() { return platform_.processes.commandLines; }

    Form1 form_ = BuildDesignForm1();
    FakePlatform platform_{kApp};
};

class InstallerGate : public Prerequisites, public testing::WithParamInterface<GateCase> {
protected:
    void SetUp() override {
        Prerequisites::SetUp();
        // tonavel's other gates let it through.
        if (GetParam().present != std::string(kSqlDll)) Present(kSqlDll);
        Present(kNet35, attributes::kDirectory);
    }
    void Missing() { platform_.system.attributes.erase(GetParam().present); }
};

TEST_P(InstallerGate, APresentPrerequisiteLetsTheProgramStartWithNoQuestion) {
    const GateCase& g = GetParam();
    Present(g.present, g.present == std::string(kSqlDll) ? attributes::kArchive : attributes::kDirectory);
    Click(g.program);
    EXPECT_TRUE(Boxes().empty());
    ASSERT_EQ(CommandLines().size(), 1u);
    EXPECT_EQ(CommandLines()[0].commandLine, "\"" + std::string(kApp) + g.batch + "\"");
    EXPECT_TRUE(platform_.downloader.calls.empty());
}

TEST_P(InstallerGate, NoToTheFirstQuestionChangesNothing) {
    const GateCase& g = GetParam();
    Missing();
    platform_.dialogs.answers = {box::kAnswerNo};
    Click(g.program);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kQuestion);
    EXPECT_EQ(Boxes()[0].title, g.firstTitle);
    EXPECT_EQ(Boxes()[0].style, 52u);
    EXPECT_TRUE(Starts().empty());
    EXPECT_TRUE(CommandLines().empty());
    EXPECT_TRUE(platform_.downloader.calls.empty());
    EXPECT_TRUE(ChangedNames().empty());
}

TEST_P(InstallerGate, NoToTheSecondQuestionChangesNothing) {
    const GateCase& g = GetParam();
    Missing();
    platform_.dialogs.answers = {box::kAnswerYes, box::kAnswerNo};
    Click(g.program);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, g.secondText);
    EXPECT_EQ(Boxes()[1].title, g.secondTitle);
    EXPECT_EQ(Boxes()[1].style, 52u);
    EXPECT_TRUE(Starts().empty());
    EXPECT_TRUE(CommandLines().empty());
    EXPECT_TRUE(platform_.downloader.calls.empty());
    EXPECT_TRUE(ChangedNames().empty());
}

TEST_P(InstallerGate, AnInstallerOnTheDriveStartsAtOnce) {
    const GateCase& g = GetParam();
    Missing();
    platform_.files.AddFile(std::string(kApp) + g.localFile);
    form_.SetEnabled(DownloadLabelName(ComponentById(g.id)), false);
    form_.TakeChanges();
    Click(g.program);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, g.firstTitle);
    ASSERT_EQ(Starts().size(), 1u);
    EXPECT_EQ(Starts()[0].file, g.installer);
    EXPECT_EQ(Starts()[0].parameters, "");
    EXPECT_EQ(Starts()[0].folder, kApp);
    EXPECT_EQ(Starts()[0].showCommand, 1);
    EXPECT_EQ(Starts()[0].verb, "open");
    EXPECT_TRUE(platform_.downloader.calls.empty());
    EXPECT_TRUE(CommandLines().empty());  // the program waits for the next click
    EXPECT_TRUE(ChangedNames().empty());  // not even the hover flag
}

TEST_P(InstallerGate, AFailedDownloadIsReportedAndChangesNothingElse) {
    const GateCase& g = GetParam();
    Missing();
    platform_.downloader.result = 404;
    std::vector<std::string> beforeDownload;
    platform_.downloader.during = [&](const FakeDownloader::Call&) {
        EXPECT_EQ(platform_.events.pumped, 1);
        beforeDownload = ChangedNames();
    };
    platform_.dialogs.answers = {box::kAnswerYes, box::kAnswerYes};
    Click(g.program);
    EXPECT_EQ(beforeDownload, std::vector<std::string>{"Picture_barre_telecharger"});
    ASSERT_EQ(platform_.downloader.calls.size(), 1u);
    EXPECT_EQ(platform_.downloader.calls[0].url, std::string(kDownloadBase) + g.url);
    EXPECT_EQ(platform_.downloader.calls[0].targetFile, std::string(kApp) + g.localFile);
    ASSERT_EQ(Boxes().size(), 3u);
    EXPECT_EQ(Boxes()[2].text, std::string(g.failureText) + std::string(kSupportAddress) + "!");
    EXPECT_EQ(Boxes()[2].title, "Téléchargement d'un programme");
    EXPECT_EQ(Boxes()[2].style, 0u);
    EXPECT_EQ(ChangedNames(), std::vector<std::string>{"Picture_barre_telecharger"});
    EXPECT_FALSE(form_.Get(kDownloadBar).visible);
    EXPECT_TRUE(form_.Get(DownloadLabelName(ComponentById(g.id))).enabled);
    EXPECT_TRUE(HoverArmed(form_));
    EXPECT_TRUE(Starts().empty());
    EXPECT_TRUE(CommandLines().empty());
}

// An installer the signed catalogue does not vouch for is never started.
TEST_P(InstallerGate, AnUnverifiedInstallerIsSaidSoAndNeverStarted) {
    const GateCase& g = GetParam();
    Missing();
    platform_.downloader.result = download_result::kNotVerified;
    platform_.dialogs.answers = {box::kAnswerYes, box::kAnswerYes};
    Click(g.program);
    ASSERT_EQ(Boxes().size(), 3u);
    EXPECT_TRUE(Boxes()[2].text.starts_with("Le fichier de ")) << Boxes()[2].text;
    EXPECT_NE(Boxes()[2].text.find("n'a pas pu être vérifié"), std::string::npos);
    EXPECT_TRUE(Boxes()[2].text.ends_with(std::string(kSupportAddress) + "!"));
    EXPECT_TRUE(Starts().empty());
    EXPECT_TRUE(CommandLines().empty());
}

TEST_P(InstallerGate, ADownloadShowsThePrerequisiteAndStartsItsInstallerNotTheProgram) {
    const GateCase& g = GetParam();
    Missing();
    const Component& c = ComponentById(g.id);
    form_.SetVisible(g.picture, false);
    form_.SetImage(g.picture, HighlightImageOf(g.picture));
    form_.SetImage(g.program, HighlightImageOf(g.program));
    form_.TakeChanges();
    platform_.downloader.during = [&](const FakeDownloader::Call& call) {
        EXPECT_TRUE(platform_.files.Exists(call.targetFile.substr(0, call.targetFile.rfind('\\') + 1)));
        ChangedNames();
        platform_.files.AddFile(call.targetFile);
    };
    platform_.processes.onStart = [&](const ShellStart&) {
        EXPECT_EQ(ChangedNames(), (std::vector<std::string>{"Label_espace_disque_telecharger", DownloadLabelName(c),
                                                            RemovalLabelName(c), g.picture, "Picture_barre_telecharger",
                                                            "Label_mousemove"}));
    };
    platform_.dialogs.answers = {box::kAnswerYes, box::kAnswerYes};
    Click(g.program);
    ASSERT_EQ(Boxes().size(), 2u);  // no report of the success
    ASSERT_EQ(Starts().size(), 1u);
    EXPECT_EQ(Starts()[0].file, g.installer);
    EXPECT_EQ(Starts()[0].folder, kApp);
    EXPECT_TRUE(CommandLines().empty());
    EXPECT_EQ(form_.Get(kDownloadSpaceCaption).caption, DiskSpaceReport(kApp, platform_.disk));
    EXPECT_FALSE(form_.Get(DownloadLabelName(c)).enabled);
    EXPECT_TRUE(form_.Get(RemovalLabelName(c)).enabled);
    EXPECT_TRUE(form_.Get(g.picture).visible);
    EXPECT_EQ(form_.Get(g.picture).image, NormalImageOf(g.picture));
    EXPECT_EQ(form_.Get(g.program).image, HighlightImageOf(g.program));  // the program's picture is left alone
    EXPECT_FALSE(form_.Get(kDownloadBar).visible);
    EXPECT_FALSE(HoverArmed(form_));
}

INSTANTIATE_TEST_SUITE_P(ThreeInstallers, InstallerGate, testing::Values(kDotNet4, kDotNet35, kSql35),
                         [](const testing::TestParamInfo<GateCase>& info) {
                             return std::string(info.param.id);
                         });

TEST_F(Prerequisites, TheDotNetTestsFindAFileOfTheNameAndNothingWithoutSystemRoot) {
    Present(kNet4, attributes::kArchive);
    Click("Picture_bullaro");
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(CommandLines().size(), 1u);

    platform_.environment.variables.erase("SYSTEMROOT");
    platform_.dialogs.answers = {box::kAnswerNo};
    Click("Picture_bullaro");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, "Installation du Framework.net Version 4");
    EXPECT_EQ(CommandLines().size(), 1u);
}

TEST_F(Prerequisites, TheSqlCompactTestWantsAFileUnderTheExpandedProgramFiles) {
    Present(kNet35, attributes::kDirectory);
    Present(kSqlDll, attributes::kDirectory);
    platform_.dialogs.answers = {box::kAnswerNo};
    Click("Picture_tonavel");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, "Installation du SQL Compact Server 3.5");

    // Without the variable the text stays unexpanded and names nothing.
    platform_.environment.variables.erase("PROGRAMFILES");
    Present("%programFiles%\\Microsoft SQL Server Compact Edition\\v3.5\\sqlcecompact35.dll",
            attributes::kDirectory);
    platform_.dialogs.answers = {box::kAnswerNo};
    Click("Picture_tonavel");
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_TRUE(CommandLines().empty());
}

TEST_F(Prerequisites, TonavelIsRefusedOn64BitWindowsOnlyOnceSqlCompactIsThere) {
    platform_.system.windows64Bit = true;
    platform_.dialogs.answers = {box::kAnswerNo};
    Click("Picture_tonavel");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, "Installation du SQL Compact Server 3.5");

    Present(kSqlDll);
    platform_.system.pathsAsked.clear();
    Click("Picture_tonavel");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, "Désolé. Ce programme ne peut pas fonctionner sur un système 64 bits");
    EXPECT_EQ(Boxes()[1].title, "");
    EXPECT_EQ(Boxes()[1].style, 0u);
    // The .NET 3.5 test is not made.
    EXPECT_EQ(platform_.system.pathsAsked, std::vector<std::string>{kSqlDll});
    EXPECT_TRUE(CommandLines().empty());
    EXPECT_TRUE(ChangedNames().empty());

    platform_.system.windows64Bit = false;
    Present(kNet35, attributes::kDirectory);
    Click("Picture_tonavel");
    EXPECT_EQ(Boxes().size(), 2u);
    ASSERT_EQ(CommandLines().size(), 1u);
    EXPECT_EQ(CommandLines()[0].commandLine, "\"" + std::string(kApp) + "\\system\\tonavel.bat\"");
}

TEST_F(Prerequisites, TheDotNet35InstallerIsStartedUnderWhicheverNameIsOnTheDrive) {
    const std::string folder = std::string(kApp) + "\\Windows\\dotnet35\\";
    form_.SetEnabled("Label_telecharger_framework_35", false);  // counted as on the drive
    platform_.files.AddFile(folder + "dotnetfx35.exe");  // as the download panel saves it
    Click("Picture_metronome");
    platform_.files.AddFile(folder + "dotnetfx35.exe.exe");  // as a gate saves it
    Click("Picture_metronome");
    Click("Picture_net35");
    platform_.files.RemoveFile(folder + "dotnetfx35.exe.exe");
    Click("Picture_net35");
    platform_.files.RemoveFile(folder + "dotnetfx35.exe");
    Click("Picture_net35");
    platform_.files.AddFile(folder + "dotnetfx35.exe.exe");
    Click("Picture_net35");
    // The real name first; the gate's only when it alone is there.
    ASSERT_EQ(Starts().size(), 6u);
    EXPECT_EQ(Starts()[0].file, "Windows\\dotnet35\\dotnetfx35.exe");
    EXPECT_EQ(Starts()[1].file, "Windows\\dotnet35\\dotnetfx35.exe");
    EXPECT_EQ(Starts()[2].file, "Windows\\dotnet35\\dotnetfx35.exe");
    EXPECT_EQ(Starts()[3].file, "Windows\\dotnet35\\dotnetfx35.exe");
    EXPECT_EQ(Starts()[4].file, "Windows\\dotnet35\\dotnetfx35.exe");
    EXPECT_EQ(Starts()[5].file, "Windows\\dotnet35\\dotnetfx35.exe.exe");
}

TEST_F(Prerequisites, AGateDownloadMakesTheMissingWindowsFolderAndKeepsAnExistingOne) {
    FakePlatform root{"E:\\"};
    root.environment.Set("SystemRoot", "C:\\WINDOWS");
    root.files.AddFolder("E:\\");
    Form1 form = BuildDesignForm1();
    RefreshInstalledState(form, "E:\\", root.files);
    root.downloader.during = [&](const FakeDownloader::Call& call) {
        EXPECT_TRUE(root.files.Exists("E:\\Windows\\dotnet4\\"));
        EXPECT_EQ(call.targetFile, "E:\\\\Windows\\dotnet4\\dotNetFx40_Full_x86_x64.exe");
        root.files.AddFile(call.targetFile);
    };
    ClickLaunchPicture(form, "Picture_bullaro", root.services);
    ASSERT_EQ(root.processes.starts.size(), 1u);
    EXPECT_EQ(root.processes.starts[0].folder, "E:\\");

    // An empty folder left by a removal is no obstacle either.
    platform_.files.AddFolder(std::string(kApp) + "\\Windows\\dotnet4\\");
    platform_.downloader.during = [&](const FakeDownloader::Call& call) { platform_.files.AddFile(call.targetFile); };
    Click("Picture_bullaro");
    EXPECT_EQ(Starts().size(), 1u);
}

TEST_F(Prerequisites, OneMissingLibraryOfSevenAsksAfterAllSevenAreProbed) {
    AllLibraries();
    Click("Picture_maestrel");
    EXPECT_TRUE(Boxes().empty());
    ASSERT_EQ(CommandLines().size(), 1u);
    const std::vector<std::string> seven{"dx7vb.dll",    "dx8vb.dll",    "COMDLG32.OCX", "DBLIST32.OCX",
                                         "MSCOMCT2.OCX", "RICHTX32.OCX", "MSJINT35.DLL"};
    EXPECT_EQ(platform_.system.librariesAsked, seven);

    platform_.system.libraries.erase("dx7vb.dll");
    platform_.system.librariesAsked.clear();
    platform_.dialogs.answers = {box::kAnswerNo};
    for (const char* picture : {"Picture_maestrel", "Picture_clavira", "Picture_quiz", "Picture_pulsaro"}) {
        platform_.dialogs.answers = {box::kAnswerNo};
        Click(picture);
    }
    ASSERT_EQ(Boxes().size(), 4u);
    for (const FakeDialogs::Shown& shown : Boxes()) {
        EXPECT_EQ(shown.text, kQuestion);
        EXPECT_EQ(shown.title, "Mise à jour de windows");
        EXPECT_EQ(shown.style, 52u);
    }
    EXPECT_EQ(platform_.system.librariesAsked.size(), 28u);
    EXPECT_EQ(CommandLines().size(), 1u);
    EXPECT_TRUE(Starts().empty());
    EXPECT_TRUE(ChangedNames().size() == 2u);  // the first click's hover flag and picture
}

TEST_F(Prerequisites, TheRegistrationToolOpensOnXpAndAsksForRightsElsewhere) {
    platform_.system.version = OsVersion{2, 5, 1};
    Click("Picture_quiz");
    platform_.system.version = OsVersion{2, 6, 1};
    Click("Picture_quiz");
    platform_.system.version = std::nullopt;
    Click("Picture_dll");
    ASSERT_EQ(Starts().size(), 3u);
    EXPECT_EQ(Starts()[0].file, "system\\Enregistrement_dll_ocx.exe");
    EXPECT_EQ(Starts()[0].verb, "open");
    EXPECT_EQ(Starts()[0].folder, kApp);
    EXPECT_EQ(Starts()[0].parameters, "");
    for (int i : {1, 2}) {
        EXPECT_EQ(Starts()[i].file, "system\\Enregistrement_dll_ocx.exe");
        EXPECT_EQ(Starts()[i].verb, "runas");
        EXPECT_EQ(Starts()[i].parameters, "");
        // The tool is named relative to the drive, whatever the launcher's
        // working folder.
        EXPECT_EQ(Starts()[i].folder, kApp);
    }
    EXPECT_EQ(Boxes().size(), 2u);  // the panel's picture asks nothing
    EXPECT_TRUE(CommandLines().empty());
}

TEST_F(Prerequisites, TheWindowsPanelPicturesStartTheirInstallersAtRest) {
    const std::pair<const char*, const char*> rows[] = {
        {"Picture_net4", "Windows\\dotnet4\\dotNetFx40_Full_x86_x64.exe"},
        {"Picture_sql35", "Windows\\sqlservercompact35\\SSCERuntimex86FRA.msi"},
        {"Picture_java", "Windows\\java\\java.exe"},
        {"Picture_dao35", "Windows\\dao35\\dao35.exe"},
    };
    for (const auto& [picture, installer] : rows) {
        form_.SetImage(picture, HighlightImageOf(picture));
        SetHoverArmed(form_, true);
        platform_.processes.starts.clear();
        Click(picture);
        ASSERT_EQ(Starts().size(), 1u);
        EXPECT_EQ(Starts()[0].file, installer);
        EXPECT_EQ(Starts()[0].folder, kApp);
        EXPECT_EQ(Starts()[0].showCommand, 1);
        EXPECT_EQ(form_.Get(picture).image, NormalImageOf(picture));
        EXPECT_FALSE(HoverArmed(form_));
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Prerequisites, TheVoiceRunsTheSecondInstallerAfterTheFirstHasEnded) {
    platform_.processes.runningWaits = 3;
    platform_.processes.onStart = [&](const ShellStart& start) {
        if (start.file.ends_with("ReaderTTSInstallFRA.exe")) {
            EXPECT_EQ(platform_.processes.closed.size(), 1u);  // the first one is over
        }
    };
    Click("Picture_voix");
    ASSERT_EQ(Starts().size(), 2u);
    EXPECT_EQ(Starts()[0].file, std::string(kApp) + "\\Windows\\speech\\MSReaderSetupFRA.exe");
    EXPECT_EQ(Starts()[0].parameters, "");
    EXPECT_EQ(Starts()[0].folder, "");
    EXPECT_EQ(Starts()[0].showCommand, 5);
    EXPECT_EQ(platform_.processes.waits.size(), 4u);
    EXPECT_EQ(platform_.processes.waits[0].milliseconds, 200u);
    EXPECT_EQ(platform_.events.pumped, 3);
    EXPECT_EQ(Starts()[1].file, "Windows\\speech\\ReaderTTSInstallFRA.exe");
    EXPECT_EQ(Starts()[1].folder, kApp);
    EXPECT_EQ(Starts()[1].showCommand, 1);

    // The first one failing to start is said so, and does not stop the second.
    platform_.processes.starts.clear();
    platform_.processes.onStart = nullptr;
    platform_.processes.startResults = {false, true};
    Click("Picture_voix");
    ASSERT_EQ(Starts().size(), 2u);
    EXPECT_EQ(Starts()[1].file, "Windows\\speech\\ReaderTTSInstallFRA.exe");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Le programme d'installation de Reconnaissance vocale (9 Mo) n'a pas pu être démarré "
                               "(Windows\\speech\\MSReaderSetupFRA.exe) : le fichier manque sur la clé USB, ou "
                               "Windows a refusé de l'ouvrir. Recommencez, ou contactez " +
                                   std::string(kSupportAddress) + "!");
}

TEST_F(Prerequisites, QuittingWhileTheFirstVoiceInstallerRunsStartsNothingMore) {
    platform_.processes.runningWaits = 50;
    platform_.events.onPump = [&] { platform_.events.AskToQuit(); };
    Click("Picture_voix");
    ASSERT_EQ(Starts().size(), 1u);
    EXPECT_EQ(platform_.processes.waits.size(), 1u);
    EXPECT_TRUE(Boxes().empty());
}

// An installer or the registration tool that does not start is said so, named.
TEST_F(Prerequisites, AnInstallerOrTheRegistrationToolThatDoesNotStartIsSaidSo) {
    platform_.processes.startSucceeds = false;
    Click("Picture_java");
    Click("Picture_dll");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_TRUE(Boxes()[0].text.starts_with("Le programme d'installation de Machine Virtuelle Java (28 Mo) n'a pas pu "
                                            "être démarré (Windows\\java\\java.exe)"));
    EXPECT_TRUE(Boxes()[1].text.starts_with("L'outil d'enregistrement des composants n'a pas pu être démarré "
                                            "(system\\Enregistrement_dll_ocx.exe)"));
}

}  // namespace
