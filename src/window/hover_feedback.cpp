#include "window/hover_feedback.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string>

#include "window/window_layout.h"

namespace {

constexpr std::string_view kHelpButton = "Picture_aide";

// Pictures whose images only their own panel resets.
constexpr std::array<std::string_view, 5> kOutsideResetSet{
    "Picture_utilisation_portable", "Picture_description_programmes", "Picture_miseajour", "Picture_dao35",
    "Picture_dll",
};

// Every button whose panel is hidden goes back to light, or to its hover
// image if it is the one under the pointer; the selected one stays dark.
void MenuPass(Form1& form, std::optional<std::string_view> under) {
    for (const MenuCategory& category : MenuCategories()) {
        if (form.Get(category.panel).visible) continue;
        const MenuLook look = under == category.button ? MenuLook::kHover : MenuLook::kLight;
        form.SetImage(category.button, MenuImageOf(category, look));
    }
}

void NormalImages(Form1& form, std::string_view panel) {
    for (std::string_view picture : PicturesOfPanel(panel)) form.SetImage(picture, NormalImageOf(picture));
}

bool IsPicturePanel(std::string_view name) { return !PicturesOfPanel(name).empty(); }

// The 57 picture buttons: the menu column and the program pictures.
bool IsPictureButton(const Control& control) {
    return control.kind == ControlKind::MenuButton || control.kind == ControlKind::ProgramPicture;
}

}  // namespace

bool HoverArmed(const Form1& form) {
    // The flag is stored as text and read as a number.
    return std::atoi(form.Get(kHoverFlag).caption.c_str()) == 1;
}

void SetHoverArmed(Form1& form, bool armed) { form.SetCaption(kHoverFlag, armed ? "1" : "0"); }

void ResetProgramPictures(Form1& form) {
    for (const Control& control : form.Controls()) {
        if (control.kind != ControlKind::ProgramPicture) continue;
        if (std::find(kOutsideResetSet.begin(), kOutsideResetSet.end(), control.name) != kOutsideResetSet.end()) {
            continue;
        }
        form.SetImage(control.name, NormalImageOf(control.name));
    }
}

void HoverOver(Form1& form, int index) {
    const Control& control = form.At(index);
    const std::string name = control.name;
    if (control.kind == ControlKind::MenuButton) {
        SetHoverArmed(form, true);
        if (name == kQuitButton) {
            MenuPass(form, std::nullopt);
            ResetProgramPictures(form);
            form.SetImage(kQuitButton, std::string(kQuitHoverImage));
        } else if (name == kHelpButton) {
            MenuPass(form, name);
            form.SetImage(kQuitButton, std::string(kQuitLightImage));
        } else {
            MenuPass(form, name);
            ResetProgramPictures(form);
        }
    } else if (control.kind == ControlKind::Panel && IsPicturePanel(name)) {
        SetHoverArmed(form, true);
        NormalImages(form, name);
    } else if (control.kind == ControlKind::ProgramPicture && HoverArmed(form)) {
        const std::string panel = form.At(control.parent).name;
        for (std::string_view picture : PicturesOfPanel(panel)) {
            form.SetImage(picture, picture == name ? HighlightImageOf(picture) : NormalImageOf(picture));
        }
    }
}

// A second button pressed on the same picture does not sink it further.
void PressDown(Form1& form, int index) {
    const Control& control = form.At(index);
    if (!IsPictureButton(control) || control.pressed) return;
    form.SetPressed(control.name, true);
    form.SetPosition(control.name, {control.rect.left + 1, control.rect.top + 1});
}

void PressUp(Form1& form, int index) {
    const Control& control = form.At(index);
    if (!IsPictureButton(control) || !control.pressed) return;
    form.SetPressed(control.name, false);
    form.SetPosition(control.name, {control.rect.left - 1, control.rect.top - 1});
}
