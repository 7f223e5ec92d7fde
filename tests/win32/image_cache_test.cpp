#include "app/image_cache.h"

#include <gtest/gtest.h>

namespace {

SIZE SizeOf(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    return {info.bmWidth, info.bmHeight};
}

TEST(ImageCache, DecodesEmbeddedImagesOnceAtTheirDesignSize) {
    ImageCache cache;
    HBITMAP picture = cache.Get("Picture_vlc_blanc");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(SizeOf(picture).cx, 173);
    EXPECT_EQ(SizeOf(picture).cy, 166);
    EXPECT_EQ(cache.Get("Picture_vlc_blanc"), picture);
    HBITMAP background = cache.Get("Form1_fond");
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(SizeOf(background).cx, 970);
    EXPECT_EQ(SizeOf(background).cy, 550);
}

TEST(ImageCache, MissingOrDamagedImagesGiveNothingInsteadOfFailing) {
    ImageCache cache;
    EXPECT_EQ(cache.Get("Picture_nothing_blanc"), nullptr);
    EXPECT_EQ(cache.Get("Broken_image"), nullptr);
    EXPECT_NE(cache.Get("Picture_libreoffice_bleu"), nullptr);
}

}  // namespace
