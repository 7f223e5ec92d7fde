#pragma once

#include <span>
#include <string_view>

#include "window/form1.h"

// A category of the menu column: its button, its panel and the key that
// names the button's three images.
struct MenuCategory {
    std::string_view button;
    std::string_view imageKey;  // Picture_<key>_clair, _move, _fonce
    std::string_view panel;
    int y;
};

// The nine categories, top to bottom.
std::span<const MenuCategory> MenuCategories();

// The nine panels in the order start-up places them.
std::span<const std::string_view> PanelsInPlacementOrder();

// The program pictures of one picture panel, row by row.
std::span<const std::string_view> PicturesOfPanel(std::string_view panel);

inline constexpr std::string_view kQuitButton = "Picture_quitter";
inline constexpr std::string_view kQuitLightImage = "Picture_quitter_clair";
inline constexpr std::string_view kQuitHoverImage = "Picture_quitter_move";
inline constexpr std::string_view kHoverFlag = "Label_mousemove";
inline constexpr std::string_view kServerVersion = "Label_version_cantarelportableweb";
inline constexpr std::string_view kDownloadSpaceCaption = "Label_espace_disque_telecharger";
inline constexpr std::string_view kRemovalSpaceCaption = "Label_espace_disque";
inline constexpr std::string_view kDownloadBar = "Picture_barre_telecharger";
inline constexpr std::string_view kRemovalBar = "Picture_barre";
inline constexpr std::string_view kDesignSpaceText = "Espace disponible sur la clé : 200 Mo";
inline constexpr std::string_view kBackgroundImage = "Form1_fond";
inline constexpr std::string_view kDecorationImage = "Image_decor";

// The three looks of a menu button, and the image that shows a category's
// button in one of them (Picture_<key>_clair, _move, _fonce).
enum class MenuLook { kLight, kHover, kDark };
std::string MenuImageOf(const MenuCategory& category, MenuLook look);

// Image names of a program picture: its normal and highlighted holders.
std::string NormalImageOf(std::string_view picture);
std::string HighlightImageOf(std::string_view picture);

// The main window in its design state, before start-up.
Form1 BuildDesignForm1();
