#include "window/category_switch.h"

#include "storage/disk_space_report.h"

namespace {

// The panels whose free-space caption a click refreshes.
struct SpaceCaption {
    std::string_view button;
    std::string_view caption;
};
constexpr SpaceCaption kSpaceCaptions[] = {
    {"Picture_installer", kDownloadSpaceCaption},
    {"Picture_supprimer", kRemovalSpaceCaption},
};

}  // namespace

const MenuCategory* CategoryOfButton(std::string_view button) {
    for (const MenuCategory& category : MenuCategories()) {
        if (category.button == button) return &category;
    }
    return nullptr;
}

void SwitchCategory(Form1& form, const MenuCategory& category, Services& services) {
    // 1. The selected button turns dark, and only it: the one selected before
    // goes back to light at once rather than waiting for the pointer to cross
    // the menu, which it may never do.
    for (const MenuCategory& other : MenuCategories()) {
        form.SetImage(other.button,
                      MenuImageOf(other, other.button == category.button ? MenuLook::kDark : MenuLook::kLight));
    }
    // 2. Its panel is shown and the eight others hidden, in the panels' order.
    for (std::string_view panel : PanelsInPlacementOrder()) form.SetVisible(panel, panel == category.panel);
    // 3. The download and removal panels show the drive's space as it is now.
    for (const SpaceCaption& space : kSpaceCaptions) {
        if (space.button == category.button) {
            form.SetCaption(space.caption, DiskSpaceReport(services.appFolder, services.disk));
        }
    }
}
