#include "window/label_fit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A stand-in for a machine's font: every character as wide as `perPixel`
// times the font's height, scaled by its width, rounded up as glyphs are.
auto FontOfWidth(int characters, double perPixel) {
    return [=](const LabelFont& font) {
        return static_cast<int>(std::ceil(characters * font.height * perPixel * font.widthPercent / 100.0));
    };
}

constexpr LabelFont kDesign{11, false, 100};

TEST(FitCaption, ACaptionThatFitsKeepsTheDesignFontAndItsOwnWidth) {
    const LabelFit fit = FitCaption(209, kDesign, FontOfWidth(37, 0.45));  // 184 px
    EXPECT_EQ(fit.font, kDesign);
    EXPECT_EQ(fit.width, 184 + kLabelPadding);
}

TEST(FitCaption, AWiderFallbackFontIsMadeSmallerUntilItFits) {
    // 37 characters of a font 20 % wider than the design's: 224 px at 11 px.
    const LabelFit fit = FitCaption(209, kDesign, FontOfWidth(37, 0.55));
    EXPECT_LT(fit.font.height, 11);
    EXPECT_GE(fit.font.height, kSmallestLabelHeight);
    EXPECT_EQ(fit.font.widthPercent, 100);
    EXPECT_LE(fit.width, 209);
    EXPECT_EQ(fit.width, FontOfWidth(37, 0.55)(fit.font) + kLabelPadding);
}

TEST(FitCaption, AFontTooWideEvenAtTheSmallestHeightIsCondensedNeverCut) {
    for (double perPixel : {0.8, 1.0, 1.2}) {
        SCOPED_TRACE(perPixel);
        const auto measure = FontOfWidth(40, perPixel);
        const LabelFit fit = FitCaption(209, kDesign, measure);
        EXPECT_EQ(fit.font.height, kSmallestLabelHeight);
        EXPECT_LT(fit.font.widthPercent, 100);
        EXPECT_LE(measure(fit.font) + kLabelPadding, 209) << "the caption is drawn whole inside its room";
        EXPECT_EQ(fit.width, measure(fit.font) + kLabelPadding);
    }
}

TEST(FitCaption, ADeliberatelyWideTypefaceIsCondensedFromItsOwnScale) {
    const LabelFont wide{12, true, 160};
    const auto measure = FontOfWidth(22, 0.5);  // "Mise à jour de windows", bold and stretched
    const LabelFit fit = FitCaption(209, wide, measure);
    EXPECT_TRUE(fit.font.bold);
    EXPECT_LE(fit.width, 209);
    EXPECT_EQ(fit.width, measure(fit.font) + kLabelPadding);
}

TEST(FitCaption, TheWidthNeverExceedsTheRoomWhateverTheFontAnswers) {
    // A font that will not get narrower (a bitmap face) is clipped to its room.
    const LabelFit fit = FitCaption(150, kDesign, [](const LabelFont&) { return 400; });
    EXPECT_EQ(fit.width, 150);
}

TEST(FitCaption, AnEmptyCaptionIsJustItsPadding) {
    EXPECT_EQ(FitCaption(209, kDesign, [](const LabelFont&) { return 0; }).width, kLabelPadding);
}

}  // namespace
