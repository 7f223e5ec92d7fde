#include "app/image_cache.h"

#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

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

// Every pixel of a bitmap as 32-bit BGRX, top row first.
std::vector<DWORD> PixelsOf(HBITMAP bitmap) {
    const SIZE size = SizeOf(bitmap);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<std::size_t>(size.cx * size.cy));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (DWORD& pixel : pixels) pixel &= 0x00FFFFFF;
    return pixels;
}

// The same image as GDI+ itself hands it out, for comparison.
HBITMAP DecodedByGdiplus(const wchar_t* name) {
    HRSRC resource = FindResourceW(nullptr, name, MAKEINTRESOURCEW(10));
    const DWORD size = SizeofResource(nullptr, resource);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    CopyMemory(GlobalLock(copy), LockResource(LoadResource(nullptr, resource)), size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(copy, TRUE, &stream);
    HBITMAP bitmap = nullptr;
    {
        Gdiplus::Bitmap decoded(stream);
        decoded.GetHBITMAP(Gdiplus::Color(255, 255, 255), &bitmap);
    }
    stream->Release();
    return bitmap;
}

TEST(ImageCache, PixelsAreTheDecodersOwnRowForRow) {
    ImageCache cache;  // starts GDI+ for the reference too
    for (const char* name : {"Form1_fond", "Picture_vlc_bleu", "Picture_lecture_move"}) {
        HBITMAP ours = cache.Get(name);
        ASSERT_NE(ours, nullptr) << name;
        HBITMAP reference = DecodedByGdiplus(std::wstring(name, name + std::char_traits<char>::length(name)).c_str());
        ASSERT_NE(reference, nullptr) << name;
        EXPECT_EQ(SizeOf(ours).cx, SizeOf(reference).cx) << name;
        EXPECT_EQ(SizeOf(ours).cy, SizeOf(reference).cy) << name;
        EXPECT_TRUE(PixelsOf(ours) == PixelsOf(reference)) << name << ": pixels differ";
        DeleteObject(reference);
    }
}

TEST(ImageCache, MissingOrDamagedImagesGiveNothingInsteadOfFailing) {
    ImageCache cache;
    EXPECT_EQ(cache.Get("Picture_nothing_blanc"), nullptr);
    EXPECT_EQ(cache.Get("Broken_image"), nullptr);
    EXPECT_NE(cache.Get("Picture_libreoffice_bleu"), nullptr);
}

}  // namespace
