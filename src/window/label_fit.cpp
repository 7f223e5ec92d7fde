#include "window/label_fit.h"

#include <algorithm>

namespace {

// The narrowest a caption is ever drawn, against the face's own proportions.
constexpr int kNarrowestPercent = 40;
constexpr int kCondenseStep = 5;

}  // namespace

LabelFit FitCaption(int room, LabelFont design, const std::function<int(const LabelFont&)>& measure) {
    LabelFont font = design;
    int width = measure(font) + kLabelPadding;
    while (width > room && font.height > std::min(design.height, kSmallestLabelHeight)) {
        --font.height;
        width = measure(font) + kLabelPadding;
    }
    if (width > room) {
        // Start from the proportion that would fit if widths scaled exactly,
        // then narrow until the measure agrees: glyph widths round per size.
        const int text = std::max(1, width - kLabelPadding);
        font.widthPercent = std::clamp(font.widthPercent * (room - kLabelPadding) / text, kNarrowestPercent,
                                       font.widthPercent);
        width = measure(font) + kLabelPadding;
        while (width > room && font.widthPercent > kNarrowestPercent) {
            font.widthPercent = std::max(kNarrowestPercent, font.widthPercent - kCondenseStep);
            width = measure(font) + kLabelPadding;
        }
    }
    return {font, std::min(width, room)};
}
