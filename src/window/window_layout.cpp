#include "window/window_layout.h"

#include <array>
#include <string>
#include <vector>

#include "components/component_catalogue.h"

namespace {

constexpr std::array<MenuCategory, 9> kMenu{{
    {"Picture_lecture", "lecture", "Picture_lecture_grand", 6},
    {"Picture_partition", "partition", "Picture_partitions_grand", 60},
    {"Picture_musique", "musique", "Picture_musique_grand", 113},
    {"Picture_outils", "outils", "Picture_outils_grand", 167},
    {"Picture_documents", "documents", "Picture_documents_grand", 220},
    {"Picture_installer", "installer", "Picture_installer_grand", 274},
    {"Picture_supprimer", "supprimer", "Picture_desinstall_grand", 327},
    {"Picture_windows", "windows", "Picture_windows_grand", 381},
    {"Picture_aide", "aide", "Picture_aide_grand", 434},
}};
constexpr int kMenuX = 4;
constexpr int kMenuHeight = 42;
constexpr int kFirstMenuWidth = 218;
constexpr int kMenuWidth = 217;
constexpr int kQuitY = 488;

struct PanelDesign {
    std::string_view name;
    Size size;
};
// Design sizes; in the design every panel lies outside the client area and
// start-up brings it in.
constexpr std::array<PanelDesign, 9> kPanels{{
    {"Picture_lecture_grand", {705, 505}},
    {"Picture_partitions_grand", {705, 493}},
    {"Picture_musique_grand", {701, 501}},
    {"Picture_outils_grand", {701, 501}},
    {"Picture_installer_grand", {705, 505}},
    {"Picture_desinstall_grand", {705, 505}},
    {"Picture_windows_grand", {701, 501}},
    {"Picture_documents_grand", {701, 505}},
    {"Picture_aide_grand", {701, 493}},
}};
constexpr Point kPanelDesignOrigin{1008, 19};

constexpr std::array<std::string_view, 9> kPanelOrder{
    "Picture_lecture_grand",    "Picture_partitions_grand", "Picture_musique_grand",
    "Picture_outils_grand",     "Picture_installer_grand",  "Picture_desinstall_grand",
    "Picture_windows_grand",    "Picture_documents_grand",  "Picture_aide_grand",
};

// The pictures of each panel that are not the catalogue's, row by row, four
// to a row; the catalogue's rows place their own pictures.
constexpr std::array<std::string_view, 1> kOutils{"Picture_sumatra_pdf"};
constexpr std::array<std::string_view, 7> kDocuments{
    "Picture_documents_accueil", "Picture_documents_musiques", "Picture_documents_partitions",
    "Picture_documents_papiers", "Picture_documents_images",   "Picture_documents_videos",
    "Picture_documents_autres",
};
constexpr std::array<std::string_view, 1> kWindows{"Picture_dll"};
constexpr std::array<std::string_view, 6> kAide{
    "Picture_utilisation_portable", "Picture_description_programmes", "Picture_version",
    "Picture_erreurs", "Picture_apropos", "Picture_miseajour",
};

struct PicturePanel {
    std::string_view panel;
    ProgramPanel programs;  // the catalogue's pictures it holds
    std::span<const std::string_view> others;
    bool withTooltips;
};
const std::array<PicturePanel, 7> kPicturePanels{{
    {"Picture_lecture_grand", ProgramPanel::kLecture, {}, true},
    {"Picture_partitions_grand", ProgramPanel::kPartitions, {}, true},
    {"Picture_musique_grand", ProgramPanel::kMusique, {}, true},
    {"Picture_outils_grand", ProgramPanel::kOutils, kOutils, true},
    {"Picture_documents_grand", ProgramPanel::kNone, kDocuments, false},
    {"Picture_windows_grand", ProgramPanel::kWindows, kWindows, false},
    {"Picture_aide_grand", ProgramPanel::kNone, kAide, false},
}};

// A panel's pictures cell by cell: its own first, then the catalogue's at
// their cells.
std::vector<std::string_view> CellsOf(const PicturePanel& panel) {
    std::vector<std::string_view> cells(panel.others.begin(), panel.others.end());
    if (panel.programs == ProgramPanel::kNone) return cells;
    for (const Component& component : AllComponents()) {
        if (component.panel != panel.programs) continue;
        if (cells.size() <= static_cast<std::size_t>(component.cell)) cells.resize(component.cell + 1);
        cells[component.cell] = component.picture;
    }
    return cells;
}

const std::vector<std::vector<std::string_view>>& PanelCells() {
    static const std::vector<std::vector<std::string_view>> cells = [] {
        std::vector<std::vector<std::string_view>> all;
        for (const PicturePanel& panel : kPicturePanels) all.push_back(CellsOf(panel));
        return all;
    }();
    return cells;
}
constexpr std::array<int, 4> kGridX{0, 176, 352, 528};
constexpr std::array<int, 3> kGridY{0, 168, 336};
constexpr Size kPictureSize{173, 166};

// Pictures whose images the image store holds instead of holders on the form.
constexpr std::string_view kStoredPicture = "Picture_libreoffice";
constexpr std::string_view kSumatra = "Picture_sumatra_pdf";
constexpr std::string_view kSumatraTooltip = "Sumatra PDF";

// The label columns of the download and removal panels; each section's
// heading names its column, and each component's row its line.
constexpr std::array<int, 3> kColumnX{12, 320, 488};
constexpr int kLabelHeight = 17;
// Free pixels between a column's widest label and the next column or the panel's edge.
constexpr int kColumnGap = 8;

constexpr Rect kSpaceCaptionRect{512, 416, 161, 53};
constexpr Rect kDecorationRect{400, 384, 300, 110};
constexpr Rect kRemovalBarRect{168, 264, 381, 45};
constexpr Rect kDownloadBarRect{400, 216, 381, 45};
constexpr Rect kBarTextRect{0, 14, 381, 17};
// Holders and value labels lie beyond the client area and are never seen.
constexpr Point kHiddenOrigin{1100, 600};

std::string_view PictureTooltip(std::string_view picture) {
    if (picture == kSumatra) return kSumatraTooltip;
    const Component* component = ComponentOfPicture(picture);
    return component ? component->pictureTooltip : std::string_view{};
}

void AddMenu(Form1& form) {
    for (std::size_t i = 0; i < kMenu.size(); ++i) {
        const MenuCategory& category = kMenu[i];
        const int width = i == 0 ? kFirstMenuWidth : kMenuWidth;
        form.Add({.name = std::string(category.button),
                  .kind = ControlKind::MenuButton,
                  .rect = {kMenuX, category.y, width, kMenuHeight},
                  .image = MenuImageOf(category, MenuLook::kLight),
                  .handCursor = true});
    }
    form.Add({.name = std::string(kQuitButton),
              .kind = ControlKind::MenuButton,
              .rect = {kMenuX, kQuitY, kMenuWidth, kMenuHeight},
              .image = std::string(kQuitLightImage),
              .handCursor = true});
}

void AddPanels(Form1& form) {
    for (const PanelDesign& panel : kPanels) {
        form.Add({.name = std::string(panel.name),
                  .kind = ControlKind::Panel,
                  .rect = {kPanelDesignOrigin.x, kPanelDesignOrigin.y, panel.size.width, panel.size.height},
                  .visible = false});
    }
}

void AddHolders(Form1& form, std::string_view picture) {
    for (const std::string& holder : {NormalImageOf(picture), HighlightImageOf(picture)}) {
        form.Add({.name = holder,
                  .kind = ControlKind::ImageHolder,
                  .rect = {kHiddenOrigin.x, kHiddenOrigin.y, kPictureSize.width, kPictureSize.height},
                  .visible = false,
                  .image = holder});
    }
}

void AddPictures(Form1& form) {
    for (std::size_t p = 0; p < kPicturePanels.size(); ++p) {
        const PicturePanel& panel = kPicturePanels[p];
        const std::vector<std::string_view>& pictures = PanelCells()[p];
        const int parent = form.IndexOf(panel.panel);
        for (std::size_t cell = 0; cell < pictures.size(); ++cell) {
            const std::string_view picture = pictures[cell];
            if (picture.empty()) continue;
            form.Add({.name = std::string(picture),
                      .kind = ControlKind::ProgramPicture,
                      .rect = {kGridX[cell % 4], kGridY[cell / 4], kPictureSize.width, kPictureSize.height},
                      .parent = parent,
                      .tooltip = panel.withTooltips ? std::string(PictureTooltip(picture)) : std::string(),
                      .image = NormalImageOf(picture),
                      .handCursor = true});
            if (picture != kStoredPicture) AddHolders(form, picture);
        }
    }
}

Control HeadingLabel(const SectionHeading& heading, bool download) {
    return {.name = std::string(download ? heading.downloadLabel : heading.removalLabel),
            .rect = {0, heading.top, 0, kLabelHeight},
            .caption = std::string(heading.text),
            .role = ControlRole::kHeading};
}

Control ComponentLabel(const Component& component, bool download) {
    return {.name = download ? DownloadLabelName(component) : RemovalLabelName(component),
            .rect = {0, component.labelTop, 0, kLabelHeight},
            .enabled = false,
            .caption = std::string(download ? component.downloadCaption : RemovalCaption(component)),
            .tooltip = std::string(component.labelTooltip),
            .handCursor = true,
            .role = download ? ControlRole::kDownloadLabel : ControlRole::kRemovalLabel,
            .component = &component};
}

// The download and removal panels hold the same lines at the same places:
// column by column, each section's heading, then its components.
void AddLabelPanel(Form1& form, std::string_view panel, bool download) {
    const int parent = form.IndexOf(panel);
    for (std::size_t c = 0; c < kColumnX.size(); ++c) {
        const int x = kColumnX[c];
        const int end = c + 1 < kColumnX.size() ? kColumnX[c + 1] : form.At(parent).rect.width;
        const auto place = [&](Control label) {
            label.kind = ControlKind::Label;
            label.rect.left = x;
            label.parent = parent;
            label.widthLimit = end - kColumnGap - x;
            form.Add(std::move(label));
        };
        for (const SectionHeading& heading : SectionHeadings()) {
            if (heading.column != static_cast<int>(c)) continue;
            place(HeadingLabel(heading, download));
            for (const Component& component : AllComponents()) {
                if (component.section == heading.section) place(ComponentLabel(component, download));
            }
        }
    }
    form.Add({.name = std::string(download ? kDownloadSpaceCaption : kRemovalSpaceCaption),
              .kind = ControlKind::Label,
              .rect = kSpaceCaptionRect,
              .parent = parent,
              .caption = std::string(kDesignSpaceText)});
    form.Add({.name = download ? "Image2" : "Image1",
              .kind = ControlKind::Decoration,
              .rect = kDecorationRect,
              .parent = parent,
              .image = std::string(kDecorationImage)});
}

void AddWaitingBar(Form1& form, std::string_view bar, std::string_view text, std::string_view textLabel,
                   Rect rect, int parent) {
    const int index = form.Add({.name = std::string(bar),
                                .kind = ControlKind::WaitingBar,
                                .rect = rect,
                                .parent = parent,
                                .visible = false});
    form.Add({.name = std::string(textLabel),
              .kind = ControlKind::BarText,
              .rect = kBarTextRect,
              .parent = index,
              .caption = std::string(text)});
}

void AddValueHolders(Form1& form) {
    form.Add({.name = std::string(kHoverFlag),
              .kind = ControlKind::ValueHolder,
              .rect = {kHiddenOrigin.x, kHiddenOrigin.y, 0, 0},
              .visible = false,
              .caption = "1"});
    form.Add({.name = std::string(kServerVersion),
              .kind = ControlKind::ValueHolder,
              .rect = {kHiddenOrigin.x, kHiddenOrigin.y, 0, 0},
              .visible = false});
}

std::vector<std::string> StoreImages() {
    std::vector<std::string> images;
    for (const MenuCategory& category : kMenu) {
        for (MenuLook look : {MenuLook::kLight, MenuLook::kHover, MenuLook::kDark}) {
            images.push_back(MenuImageOf(category, look));
        }
    }
    images.push_back(std::string(kQuitLightImage));
    images.push_back(std::string(kQuitHoverImage));
    images.push_back(NormalImageOf(kStoredPicture));
    images.push_back(HighlightImageOf(kStoredPicture));
    return images;
}

}  // namespace

std::span<const MenuCategory> MenuCategories() { return kMenu; }

std::span<const std::string_view> PanelsInPlacementOrder() { return kPanelOrder; }

std::span<const std::string_view> PicturesOfPanel(std::string_view panel) {
    for (std::size_t p = 0; p < kPicturePanels.size(); ++p) {
        if (kPicturePanels[p].panel == panel) return PanelCells()[p];
    }
    return {};
}

std::string MenuImageOf(const MenuCategory& category, MenuLook look) {
    const char* suffix = look == MenuLook::kLight ? "_clair" : look == MenuLook::kHover ? "_move" : "_fonce";
    return "Picture_" + std::string(category.imageKey) + suffix;
}

std::string NormalImageOf(std::string_view picture) { return std::string(picture) + "_blanc"; }
std::string HighlightImageOf(std::string_view picture) { return std::string(picture) + "_bleu"; }

Form1 BuildDesignForm1() {
    Form1 form;
    AddMenu(form);
    AddPanels(form);
    AddPictures(form);
    AddLabelPanel(form, "Picture_installer_grand", true);
    AddLabelPanel(form, "Picture_desinstall_grand", false);
    AddWaitingBar(form, kRemovalBar, "Suppression des données. Veuillez patienter!", "Label4", kRemovalBarRect,
                  form.IndexOf("Picture_desinstall_grand"));
    AddWaitingBar(form, kDownloadBar, "Téléchargement des données. Veuillez patienter!", "Label1",
                  kDownloadBarRect, kNoParent);
    AddValueHolders(form);
    form.imageStore.images = StoreImages();
    form.TakeChanges();
    return form;
}
