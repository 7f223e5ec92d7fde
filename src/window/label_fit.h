#pragma once

#include <functional>

// The font a label's caption is drawn in: its pixel height, weight and a
// horizontal scale (100: the face's own proportions).
struct LabelFont {
    int height = 11;
    bool bold = false;
    int widthPercent = 100;
    bool operator==(const LabelFont&) const = default;
};

// What a label becomes: the font it is drawn in and its width in pixels.
struct LabelFit {
    LabelFont font;
    int width = 0;
};

// Pixels kept free after the caption.
inline constexpr int kLabelPadding = 4;
// Below this height a caption is condensed instead of made smaller.
inline constexpr int kSmallestLabelHeight = 9;

// Sizes a caption to the room its layout gives it, whatever the machine's
// fonts: the design font if the caption fits, else a smaller one, else the
// smallest one condensed until it fits. `measure` gives the caption's width in
// pixels drawn in a font. The width never exceeds `room`.
LabelFit FitCaption(int room, LabelFont design, const std::function<int(const LabelFont&)>& measure);
