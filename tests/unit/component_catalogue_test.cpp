#include "components/component_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "config/build_settings.h"

namespace {

std::string FolderName(CategoryFolder folder) {
    switch (folder) {
        case CategoryFolder::Cantarel: return "Cantarel";
        case CategoryFolder::Musique: return "Musique";
        case CategoryFolder::Util: return "Util";
        case CategoryFolder::Windows: return "Windows";
    }
    return "";
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string_view Directory(std::string_view path) { return path.substr(0, path.rfind('\\') + 1); }

TEST(ComponentCatalogue, HoldsThirtyFiveDistinctRowsInPanelOrder) {
    ASSERT_EQ(AllComponents().size(), 35u);
    std::set<std::string_view> ids;
    PanelSection section = PanelSection::A;
    int row = 0;
    for (const Component& component : AllComponents()) {
        EXPECT_TRUE(ids.insert(component.id).second) << component.id;
        if (component.section != section) {
            EXPECT_GT(component.section, section) << component.id;
            section = component.section;
            row = 0;
        }
        EXPECT_EQ(component.row, ++row) << component.id;
    }
    EXPECT_EQ(AllComponents().front().id, "bullaro");
    EXPECT_EQ(AllComponents().back().id, "dao");
}

// The server, the drive and the scan must agree on where each file lives; a
// typo in one column shows up as a broken relation between columns.
TEST(ComponentCatalogue, PathsOfEveryRowAgree) {
    for (const Component& c : AllComponents()) {
        SCOPED_TRACE(std::string(c.id));
        const std::string folder = FolderName(c.folder);
        EXPECT_TRUE(StartsWith(ServerPath(c), "/logiciels/portable1.4/" + folder + "/"));
        EXPECT_TRUE(StartsWith(c.localFile, "\\" + folder + "\\"));
        EXPECT_TRUE(StartsWith(c.installedFolder, "\\" + folder + "\\"));
        EXPECT_EQ(c.installedFolder.back(), '\\');
        // The local file keeps the server's file name.
        EXPECT_EQ(ServerPath(c).substr(ServerPath(c).rfind('/') + 1), c.localFile.substr(c.localFile.rfind('\\') + 1));
        if (c.kind == InstallKind::Archive) {
            EXPECT_EQ(Directory(c.localFile), c.extractionFolder);
            EXPECT_TRUE(StartsWith(c.installedFolder, c.extractionFolder));
        } else {
            EXPECT_TRUE(c.extractionFolder.empty());
            EXPECT_EQ(Directory(c.localFile), c.installedFolder);
        }
        // An archive is unpacked into staging; only an installer needs its folder first.
        EXPECT_EQ(c.folderToPrepare.empty(), c.kind == InstallKind::Archive);
    }
}

TEST(ComponentCatalogue, ControlNamesAndMessagesFollowTheRowKind) {
    for (const Component& c : AllComponents()) {
        SCOPED_TRACE(std::string(c.id));
        EXPECT_EQ(DownloadLabelName(c), "Label_telecharger_" + std::string(c.id));
        EXPECT_EQ(RemovalLabelName(c), "Label_supprimer_" + std::string(c.id));
        EXPECT_FALSE(c.downloadCaption.empty());
        if (c.folder == CategoryFolder::Windows) {
            EXPECT_TRUE(c.messageName.empty());
            EXPECT_TRUE(StartsWith(c.question, "Voulez-vous télécharger "));
            EXPECT_NE(c.successReport.find("'Mises à jour de Windows'"), std::string_view::npos);
            EXPECT_TRUE(c.failureReport.ends_with("Recommencez ultérieurement ou contactez "));
            EXPECT_TRUE(c.labelTooltip.empty());
            if (c.kind == InstallKind::Installer) EXPECT_TRUE(c.folderToPrepare == c.installedFolder);
        } else {
            EXPECT_FALSE(c.messageName.empty());
            EXPECT_TRUE(c.question.empty() && c.successReport.empty() && c.failureReport.empty());
        }
    }
}

TEST(ComponentCatalogue, RowsThatDifferFromThePattern) {
    EXPECT_EQ(ComponentById("clavira").downloadCaption, "Clavira (12 Mo)");
    EXPECT_EQ(ComponentById("clavira").removalCaption, "Clavira (12,1 Mo)");
    EXPECT_EQ(ComponentById("framework_4").downloadCaption, "Framework .NET - Version 4 (49 Mo)");
    EXPECT_EQ(ComponentById("framework_4").removalCaption, "Framework .NET - Version 4 (48 Mo)");
    EXPECT_EQ(ComponentById("reconnaissance_vocale").question, "Voulez-vous télécharger la reconnaissance vocale?");
    EXPECT_EQ(ComponentById("thunderbird").installedFolder, "\\Util\\Thunderbird\\");
    EXPECT_EQ(ComponentById("gnusolfege").section, PanelSection::A);
    EXPECT_EQ(ComponentById("gnusolfege").installedFolder, "\\Musique\\GNU Solfege\\");
    EXPECT_EQ(ComponentById("7zip").installedFolder, "\\Util\\7-zip\\");
    EXPECT_EQ(ComponentById("mini_quadrelo").installedFolder, "\\Cantarel\\Mini Quadrelo\\");
    EXPECT_EQ(ComponentById("infrarecorder").installedFolder, "\\Musique\\Infrarecorder\\");
    EXPECT_EQ(ComponentById("reconnaissance_vocale").kind, InstallKind::Archive);
    EXPECT_EQ(ComponentById("reconnaissance_vocale").installedFolder, "\\Windows\\Speech\\");
    EXPECT_TRUE(ComponentById("chopin").picture.empty());
    EXPECT_EQ(ComponentById("metronome").pictureTooltip, "Cantarel");
}

TEST(ComponentCatalogue, LookupByIdRejectsUnknownIds) {
    EXPECT_EQ(FindComponent("vlc")->picture, "Picture_vlc");
    EXPECT_EQ(FindComponent("VLC"), nullptr);
    EXPECT_EQ(FindComponent(""), nullptr);
    EXPECT_THROW(ComponentById("sumatra"), std::out_of_range);
}

TEST(ComponentCatalogue, UrlKeepsTheAccentedPathAsItStands) {
    const Component& solfege = ComponentById("solfege");
    EXPECT_EQ(DownloadUrl(solfege), std::string(kDownloadBase) + "/logiciels/portable1.4/Cantarel/Solfège.zip");
    EXPECT_EQ(DownloadUrl(ComponentById("7zip")), std::string(kDownloadBase) + "/logiciels/portable1.4/Util/7zip.zip");
}

TEST(ComponentCatalogue, AbsolutePathJoinsAppFolderAsItIs) {
    EXPECT_EQ(AbsolutePath("E:\\Clé USB\\Cantarel", "\\Musique\\VLC\\"), "E:\\Clé USB\\Cantarel\\Musique\\VLC\\");
    // At a drive's root AppFolder keeps its backslash and the join doubles it.
    EXPECT_EQ(AbsolutePath("E:\\", "\\Musique\\VLC\\"), "E:\\\\Musique\\VLC\\");
}

}  // namespace
