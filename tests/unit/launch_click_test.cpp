#include "components/launch_click.h"

#include <set>

#include <gtest/gtest.h>

#include "components/component_catalogue.h"
#include "components/launch_start.h"
#include "components/launch_table.h"
#include "fakes/fake_platform.h"
#include "window/form1_events.h"
#include "drive/installed_state_scan.h"
#include "window/hover_feedback.h"
#include "window/window_layout.h"

namespace {

constexpr const char* kApp = "E:\\Clé USB\\Cantarel";

class Launch : public testing::Test {
protected:
    void SetUp() override {
        // Every prerequisite present, so that only the start is seen.
        platform_.environment.Set("SystemRoot", "C:\\WINDOWS");
        platform_.environment.Set("ProgramFiles", "C:\\Program Files");
        platform_.system.attributes["C:\\WINDOWS\\Microsoft.NET\\Framework\\v4.0.30319"] = attributes::kDirectory;
        platform_.system.attributes["C:\\WINDOWS\\Microsoft.NET\\Framework\\v3.5"] = attributes::kDirectory;
        platform_.system.attributes
            ["C:\\Program Files\\Microsoft SQL Server Compact Edition\\v3.5\\sqlcecompact35.dll"] =
            attributes::kArchive;
        platform_.system.libraries = {"dx7vb.dll",    "dx8vb.dll",    "COMDLG32.OCX", "DBLIST32.OCX",
                                      "MSCOMCT2.OCX", "RICHTX32.OCX", "MSJINT35.DLL"};
        SetHoverArmed(form_, true);
    }
    void Click(std::string_view picture) { ClickLaunchPicture(form_, picture, platform_.services); }
    std::string File(const std::string& relative) { return std::string(kApp) + relative; }
    const std::vector<ShellStart>& Starts() { return platform_.processes.starts; }

    Form1 form_ = BuildDesignForm1();
    FakePlatform platform_{kApp};
};

TEST_F(Launch, TheTableHasOneRowPerProgramPictureOfTheMenuPanels) {
    std::set<std::string_view> pictures;
    for (const LaunchRow& row : LaunchRows()) {
        EXPECT_TRUE(form_.Has(row.picture)) << row.picture;
        EXPECT_TRUE(pictures.insert(row.picture).second) << row.picture;
        if (!row.id.empty()) {
            EXPECT_EQ(ComponentById(row.id).picture, row.picture);
        }
        if (row.kind == StartKind::kShellOpen) {
            EXPECT_NE(row.target.front(), '\\') << row.picture;
        } else {
            EXPECT_TRUE(row.target.starts_with("\\system\\") && row.target.ends_with(".bat")) << row.picture;
        }
        // The probe names the preferred target.
        if (!row.probe.empty()) {
            EXPECT_EQ(row.probe.substr(1), row.target);
        }
    }
    EXPECT_EQ(pictures.size(), 27u);
    for (std::string_view panel : {"Picture_lecture_grand", "Picture_partitions_grand", "Picture_musique_grand",
                                   "Picture_outils_grand"}) {
        for (std::string_view picture : PicturesOfPanel(panel)) EXPECT_TRUE(IsLaunchPicture(picture)) << picture;
    }
    for (std::string_view picture : PicturesOfPanel("Picture_windows_grand")) {
        EXPECT_TRUE(IsLaunchPicture(picture)) << picture;
    }
    EXPECT_FALSE(IsLaunchPicture("Picture_installer"));
    EXPECT_FALSE(IsLaunchPicture("Picture_miseajour"));
}

TEST_F(Launch, AFreeProgramIsOpenedRelativeToAppFolderAfterThePictureIsPutAtRest) {
    form_.SetImage("Picture_vlc", HighlightImageOf("Picture_vlc"));
    platform_.processes.onStart = [this](const ShellStart&) {
        EXPECT_FALSE(HoverArmed(form_));
        EXPECT_EQ(form_.Get("Picture_vlc").image, "Picture_vlc_blanc");
    };
    Click("Picture_vlc");
    ASSERT_EQ(Starts().size(), 1u);
    EXPECT_EQ(Starts()[0].file, "Musique\\VLC\\vlc.exe");
    EXPECT_EQ(Starts()[0].parameters, "");
    EXPECT_EQ(Starts()[0].folder, kApp);
    EXPECT_EQ(Starts()[0].showCommand, 1);
    EXPECT_EQ(Starts()[0].verb, "open");
    // Started, not kept.
    EXPECT_EQ(platform_.processes.closed, std::vector<Processes::Handle>{platform_.processes.handle});
    EXPECT_TRUE(platform_.processes.waits.empty());
    EXPECT_TRUE(platform_.dialogs.shown.empty());
    EXPECT_TRUE(platform_.processes.commandLines.empty());
}

TEST_F(Launch, EveryShellRowStartsItsTargetAndEveryBatchRowItsBatchFile) {
    for (const LaunchRow& row : LaunchRows()) {
        platform_.processes.starts.clear();
        platform_.processes.commandLines.clear();
        Click(row.picture);
        if (row.kind == StartKind::kShellOpen) {
            ASSERT_EQ(Starts().size(), 1u) << row.picture;
            // Nothing on the drive: the fall-back where there is one.
            EXPECT_EQ(Starts()[0].file, row.probe.empty() ? row.target : row.fallBack);
            EXPECT_TRUE(platform_.processes.commandLines.empty());
        } else {
            ASSERT_EQ(platform_.processes.commandLines.size(), 1u) << row.picture;
            EXPECT_EQ(platform_.processes.commandLines[0].commandLine,
                      "\"" + File(std::string(row.target)) + "\"");
            EXPECT_EQ(platform_.processes.commandLines[0].showCommand, 0);
            EXPECT_TRUE(Starts().empty());
        }
        EXPECT_EQ(form_.Get(row.picture).image, NormalImageOf(row.picture));
    }
    EXPECT_TRUE(platform_.dialogs.shown.empty());
}

// The fall-back choice of the three rows that have one.
struct FallBack {
    const char* picture;
    const char* probe;
    const char* preferred;
    const char* other;
};

class LaunchFallBack : public Launch, public testing::WithParamInterface<FallBack> {};

TEST_P(LaunchFallBack, APlainOrHiddenFileIsPreferredAFolderOrNothingIsNot) {
    const FallBack& f = GetParam();
    const std::string probe = File(f.probe);

    platform_.files.AddFile(probe);
    Click(f.picture);
    platform_.files.RemoveFile(probe);

    platform_.files.AddFileWithAttributes(probe, attributes::kHidden | attributes::kSystem | attributes::kReadOnly);
    Click(f.picture);
    platform_.files.ClearAttributes(probe);
    platform_.files.RemoveFile(probe);

    platform_.files.AddFolder(probe + "\\");
    Click(f.picture);
    platform_.files.RemoveFolder(probe + "\\");

    Click(f.picture);

    ASSERT_EQ(Starts().size(), 4u);
    EXPECT_EQ(Starts()[0].file, f.preferred);
    EXPECT_EQ(Starts()[1].file, f.preferred);
    EXPECT_EQ(Starts()[2].file, f.other);
    EXPECT_EQ(Starts()[3].file, f.other);
}

INSTANTIATE_TEST_SUITE_P(
    ThreeRows, LaunchFallBack,
    testing::Values(FallBack{"Picture_cdex", "\\Musique\\CDex\\CDexPortable.exe", "Musique\\CDex\\CDexPortable.exe",
                             "Musique\\CDex\\CDex.exe"},
                    FallBack{"Picture_musescore", "\\Musique\\MuseScore\\MuseScorePortable.exe",
                             "Musique\\MuseScore\\MuseScorePortable.exe", "Musique\\MuseScore\\bin\\mscore.exe"},
                    FallBack{"Picture_gnu_solfege", "\\Musique\\GNU Solfege\\GNU Solfege.cameyo.exe",
                             "Musique\\GNU Solfege\\GNU Solfege.cameyo.exe",
                             "Musique\\GNU Solfege\\X-Solfege.exe"}));

TEST_F(Launch, TheProbeLooksAtTheDriveOfThisStartEvenAtADriveRoot) {
    FakePlatform root{"E:\\"};
    root.files.AddFile("E:\\Musique\\CDex\\CDexPortable.exe");
    ClickLaunchPicture(form_, "Picture_cdex", root.services);
    ASSERT_EQ(root.processes.starts.size(), 1u);
    EXPECT_EQ(root.processes.starts[0].file, "Musique\\CDex\\CDexPortable.exe");
    EXPECT_EQ(root.processes.starts[0].folder, "E:\\");
}

TEST_F(Launch, ABatchCommandLineIsAppFolderAndTheTargetAlwaysQuoted) {
    EXPECT_EQ(BatchCommandLine("E:\\Clé USB\\Cantarel", "\\system\\solfege.bat"),
              "\"E:\\Clé USB\\Cantarel\\system\\solfege.bat\"");
    EXPECT_EQ(BatchCommandLine("E:\\Cantarel", "\\system\\solfege.bat"), "\"E:\\Cantarel\\system\\solfege.bat\"");
    EXPECT_EQ(BatchCommandLine("E:\\Musique&Son", "\\system\\solfege.bat"), "\"E:\\Musique&Son\\system\\solfege.bat\"");
    // At a drive's root the join doubles the backslash, which the system takes as one.
    EXPECT_EQ(BatchCommandLine("E:\\", "\\system\\miniquadrelo.bat"), "\"E:\\\\system\\miniquadrelo.bat\"");
}

TEST_F(Launch, AProgramThatCannotBeStartedIsNamedAndTheWindowGoesOn) {
    platform_.processes.commandLineSucceeds = false;
    form_.SetImage("Picture_solfege", HighlightImageOf("Picture_solfege"));
    Click("Picture_solfege");
    platform_.processes.startSucceeds = false;
    Click("Picture_vlc");
    Click("Picture_sumatra_pdf");
    ASSERT_EQ(platform_.dialogs.shown.size(), 3u);
    EXPECT_EQ(platform_.dialogs.shown[0].text, "Le programme 'Cantarel Solfège' n'a pas pu être démarré!");
    EXPECT_EQ(platform_.dialogs.shown[1].text, "Le programme 'VLC' n'a pas pu être démarré!");
    EXPECT_EQ(platform_.dialogs.shown[2].text, "Le programme 'Sumatra PDF' n'a pas pu être démarré!");
    for (const FakeDialogs::Shown& shown : platform_.dialogs.shown) {
        EXPECT_EQ(shown.title, "");
        EXPECT_EQ(shown.style, box::kOk);
    }
    // The picture was put at rest before the start.
    EXPECT_EQ(form_.Get("Picture_solfege").image, "Picture_solfege_blanc");
    EXPECT_FALSE(HoverArmed(form_));
    EXPECT_TRUE(platform_.processes.closed.empty());
}

TEST_F(Launch, LibreOfficeTakesItsNormalImageFromTheImageStore) {
    ASSERT_FALSE(form_.Has("Picture_libreoffice_blanc"));
    Click("Picture_libreoffice");
    EXPECT_EQ(form_.Get("Picture_libreoffice").image, "Picture_libreoffice_blanc");
    EXPECT_TRUE(form_.imageStore.opened);
}

TEST_F(Launch, TwoClicksStartTwoInstances) {
    Click("Picture_quadrelo");
    Click("Picture_quadrelo");
    ASSERT_EQ(platform_.processes.commandLines.size(), 2u);
    EXPECT_EQ(platform_.processes.commandLines[0].commandLine, platform_.processes.commandLines[1].commandLine);
}

struct FakeMainWindow : MainWindow {
    void Close() override {}
};

TEST_F(Launch, TheWindowRoutesPictureClicksAndIgnoresThemDuringALongOne) {
    FakeMainWindow window;
    Form1Events events(form_, platform_.services, window);
    RefreshInstalledState(form_, kApp, platform_.files);
    platform_.environment.variables.clear();  // .NET 4 cannot be found: the gate downloads
    platform_.downloader.during = [&](const FakeDownloader::Call&) {
        EXPECT_TRUE(events.Busy());
        events.Click(form_.IndexOf("Picture_vlc"));
    };
    events.Click(form_.IndexOf("Picture_bullaro"));
    EXPECT_FALSE(events.Busy());
    ASSERT_EQ(platform_.downloader.calls.size(), 1u);
    ASSERT_EQ(Starts().size(), 1u);  // the installer, not VLC
    EXPECT_EQ(Starts()[0].file, "Windows\\dotnet4\\dotNetFx40_Full_x86_x64.exe");

    // A plain start is not a long action.
    platform_.processes.onStart = [&](const ShellStart&) { EXPECT_FALSE(events.Busy()); };
    events.Click(form_.IndexOf("Picture_vlc"));
    EXPECT_EQ(Starts().size(), 2u);
    EXPECT_FALSE(LaunchMayTakeLong("Picture_vlc"));
    EXPECT_FALSE(LaunchMayTakeLong("Picture_maestrel"));
    EXPECT_TRUE(LaunchMayTakeLong("Picture_tonavel"));
    EXPECT_TRUE(LaunchMayTakeLong("Picture_voix"));
    EXPECT_FALSE(LaunchMayTakeLong("Picture_net4"));
}

}  // namespace
