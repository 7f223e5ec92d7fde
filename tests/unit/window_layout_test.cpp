#include "window/window_layout.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "components/component_catalogue.h"

namespace {

const Form1& Design() {
    static const Form1 form = BuildDesignForm1();
    return form;
}

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= 0 && inner.top >= 0 && inner.left + inner.width <= outer.width &&
           inner.top + inner.height <= outer.height;
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

TEST(WindowLayout, MenuColumnIsTenButtonsDownTheLeftEdge) {
    const int ys[] = {6, 60, 113, 167, 220, 274, 327, 381, 434};
    ASSERT_EQ(MenuCategories().size(), 9u);
    for (std::size_t i = 0; i < MenuCategories().size(); ++i) {
        const Control& button = Design().Get(MenuCategories()[i].button);
        EXPECT_EQ(button.rect, (Rect{4, ys[i], i == 0 ? 218 : 217, 42})) << button.name;
        EXPECT_EQ(button.image, "Picture_" + std::string(MenuCategories()[i].imageKey) + "_clair");
        EXPECT_TRUE(button.handCursor);
    }
    EXPECT_EQ(Design().Get("Picture_quitter").rect, (Rect{4, 488, 217, 42}));
    EXPECT_EQ(Design().Get("Picture_quitter").image, "Picture_quitter_clair");
    EXPECT_EQ(Design().Get("Picture_partition").name, "Picture_partition");
    EXPECT_EQ(MenuCategories()[6].panel, "Picture_desinstall_grand");
}

TEST(WindowLayout, PanelsStartHiddenOutsideTheClientArea) {
    for (std::string_view name : PanelsInPlacementOrder()) {
        const Control& panel = Design().Get(name);
        EXPECT_FALSE(panel.visible) << name;
        EXPECT_GE(panel.rect.left, Form1::kClientSize.width) << name;
    }
    EXPECT_EQ(Design().Get("Picture_partitions_grand").rect.height, 493);
    EXPECT_EQ(Design().Get("Picture_documents_grand").rect.width, 701);
    EXPECT_EQ(Design().Get("Picture_aide_grand").rect.height, 493);
}

// Every program picture of the catalogue stands in exactly one panel cell,
// inside its panel and clear of its neighbours.
TEST(WindowLayout, ProgramPicturesFillTheirGridCells) {
    std::set<std::string> pictures;
    int count = 0;
    for (const Control& control : Design().Controls()) {
        if (control.kind != ControlKind::ProgramPicture) continue;
        ++count;
        EXPECT_TRUE(pictures.insert(control.name).second) << control.name;
        const Control& panel = Design().At(control.parent);
        EXPECT_TRUE(Inside(control.rect, panel.rect)) << control.name;
        EXPECT_EQ(control.image, control.name + "_blanc");
        EXPECT_TRUE(control.visible);
        for (const Control& other : Design().Controls()) {
            if (&other != &control && other.parent == control.parent && other.kind == ControlKind::ProgramPicture) {
                EXPECT_FALSE(Overlap(control.rect, other.rect)) << control.name << " / " << other.name;
            }
        }
    }
    EXPECT_EQ(count, 47);
    for (const Component& component : AllComponents()) {
        if (!component.picture.empty()) {
            EXPECT_TRUE(pictures.count(std::string(component.picture))) << component.id;
        }
    }
    EXPECT_EQ(Design().Get("Picture_quiz").rect, (Rect{0, 336, 173, 166}));
    EXPECT_EQ(Design().Get("Picture_tonavel").rect, (Rect{528, 336, 173, 166}));
    EXPECT_EQ(Design().Get("Picture_libreoffice").rect, (Rect{0, 168, 173, 166}));
}

TEST(WindowLayout, PictureTooltipsOnlyInTheProgramPanels) {
    EXPECT_EQ(Design().Get("Picture_metronome").tooltip, "Cantarel");
    EXPECT_EQ(Design().Get("Picture_sumatra_pdf").tooltip, "Sumatra PDF");
    EXPECT_EQ(Design().Get("Picture_gnu_solfege").tooltip, "GNU Solfege");
    EXPECT_EQ(Design().Get("Picture_net35").tooltip, "");
    EXPECT_EQ(Design().Get("Picture_documents_accueil").tooltip, "");
}

TEST(WindowLayout, EveryShownImageHasAHolder) {
    for (const Control& control : Design().Controls()) {
        if (control.kind != ControlKind::ProgramPicture) continue;
        for (const std::string& image : {NormalImageOf(control.name), HighlightImageOf(control.name)}) {
            const bool onForm = Design().Has(image);
            EXPECT_NE(onForm, Design().imageStore.Holds(image)) << image;
        }
    }
    EXPECT_TRUE(Design().imageStore.Holds("Picture_libreoffice_blanc"));
    EXPECT_TRUE(Design().imageStore.Holds("Picture_aide_fonce"));
    EXPECT_TRUE(Design().imageStore.Holds("Picture_quitter_move"));
    EXPECT_EQ(Design().imageStore.images.size(), 31u);
    EXPECT_FALSE(Design().imageStore.opened);
}

// The two label panels show the same lines at the same places.
TEST(WindowLayout, DownloadAndRemovalPanelsMirrorEachOther) {
    const int download = Design().IndexOf("Picture_installer_grand");
    const int removal = Design().IndexOf("Picture_desinstall_grand");
    for (const Component& component : AllComponents()) {
        SCOPED_TRACE(std::string(component.id));
        const Control& get = Design().Get(DownloadLabelName(component));
        const Control& remove = Design().Get(RemovalLabelName(component));
        EXPECT_EQ(get.parent, download);
        EXPECT_EQ(remove.parent, removal);
        EXPECT_EQ(get.rect, remove.rect);
        EXPECT_EQ(get.rect.height, 17);
        EXPECT_FALSE(get.enabled);
        EXPECT_FALSE(remove.enabled);
        EXPECT_EQ(get.caption, component.downloadCaption);
        EXPECT_EQ(remove.caption, RemovalCaption(component));
        EXPECT_EQ(get.tooltip, component.labelTooltip);
    }
    EXPECT_EQ(Design().Get("Label_telecharger_bullaro").rect, (Rect{12, 30, 0, 17}));
    EXPECT_EQ(Design().Get("Label_supprimer_7zip").rect, (Rect{320, 232, 0, 17}));
    EXPECT_EQ(Design().Get("Label_telecharger_reconnaissance_vocale").rect, (Rect{488, 96, 0, 17}));
    EXPECT_EQ(Design().Get("Label7").caption, "Logiciels d'aide à la création musicale");
    EXPECT_EQ(Design().Get("Label7").rect.top, 367);
    EXPECT_EQ(Design().Get("Label11").caption, "Mise à jour de windows");
    EXPECT_EQ(Design().Get("Label11").parent, removal);
}

TEST(WindowLayout, DesignStateOfCaptionsBarsAndValues) {
    for (std::string_view caption : {kDownloadSpaceCaption, kRemovalSpaceCaption}) {
        EXPECT_EQ(Design().Get(caption).caption, "Espace disponible sur la clé : 200 Mo");
        EXPECT_EQ(Design().Get(caption).rect, (Rect{512, 416, 161, 53}));
    }
    EXPECT_EQ(Design().Get("Image1").rect, (Rect{400, 384, 300, 110}));
    EXPECT_EQ(Design().Get("Image1").image, Design().Get("Image2").image);
    const Control& bar = Design().Get(kDownloadBar);
    EXPECT_EQ(bar.parent, kNoParent);
    EXPECT_EQ(bar.rect, (Rect{400, 216, 381, 45}));
    EXPECT_FALSE(bar.visible);
    EXPECT_EQ(Design().Get("Label1").caption, "Téléchargement des données. Veuillez patienter!");
    EXPECT_EQ(Design().At(Design().Get(kRemovalBar).parent).name, "Picture_desinstall_grand");
    EXPECT_FALSE(Design().Get(kRemovalBar).visible);
    EXPECT_EQ(Design().Get("Label4").caption, "Suppression des données. Veuillez patienter!");
    EXPECT_EQ(Design().Get(kHoverFlag).caption, "1");
    EXPECT_EQ(Design().Get(kServerVersion).caption, "");
}

TEST(Form1Model, ChangesAreReportedOnceAndStoreImagesOpenTheStore) {
    Form1 form = BuildDesignForm1();
    EXPECT_TRUE(form.TakeChanges().empty());
    form.SetVisible("Picture_musique_grand", true);
    form.SetImage("Picture_vlc", "Picture_vlc_bleu");
    form.SetImage("Picture_vlc", "Picture_vlc_blanc");
    EXPECT_FALSE(form.imageStore.opened);
    form.SetImage("Picture_musique", "Picture_musique_fonce");
    EXPECT_TRUE(form.imageStore.opened);
    const std::vector<int> changes = form.TakeChanges();
    EXPECT_EQ(changes.size(), 3u);
    EXPECT_TRUE(form.TakeChanges().empty());
    EXPECT_THROW(form.SetImage("Picture_vlc", "Picture_nothing"), std::out_of_range);
    EXPECT_THROW(form.SetVisible("Picture_nothing", true), std::out_of_range);
}

TEST(Form1Model, AControlIsShownOnlyWhenItsContainersAre) {
    Form1 form = BuildDesignForm1();
    const int vlc = form.IndexOf("Picture_vlc");
    EXPECT_FALSE(form.IsShown(vlc));
    form.SetVisible("Picture_musique_grand", true);
    EXPECT_TRUE(form.IsShown(vlc));
    form.SetVisible("Picture_vlc", false);
    EXPECT_FALSE(form.IsShown(vlc));
    form.SetVisible("Picture_desinstall_grand", true);
    EXPECT_FALSE(form.IsShown(form.IndexOf("Label4")));
}

}  // namespace
