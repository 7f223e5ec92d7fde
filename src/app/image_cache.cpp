#include "app/image_cache.h"

#include <objidl.h>
// GDI+ decodes JPEG on every Windows since XP.
#include <gdiplus.h>

#include "platform/win32/com_calls.h"
#include "platform/win32/system_function.h"
#include "platform/win32/wide_text.h"

namespace {

// GDI+ is taken when the first image is decoded, on the prefetch thread: the
// main thread goes on creating the window meanwhile.
struct GdiplusCalls {
    decltype(&Gdiplus::GdiplusStartup) startup = nullptr;
    decltype(&Gdiplus::GdiplusShutdown) shutdown = nullptr;
    decltype(&Gdiplus::DllExports::GdipCreateBitmapFromStream) bitmapFromStream = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImageWidth) width = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImageHeight) height = nullptr;
    decltype(&Gdiplus::DllExports::GdipBitmapLockBits) lockBits = nullptr;
    decltype(&Gdiplus::DllExports::GdipBitmapUnlockBits) unlockBits = nullptr;
    decltype(&Gdiplus::DllExports::GdipDisposeImage) disposeImage = nullptr;
    bool found = false;
};

const GdiplusCalls& GdiplusFunctions() {
    static const GdiplusCalls calls = [] {
        const auto in = [](const char* name) { return FindSystemOrSideBySideFunction(L"gdiplus.dll", name); };
        GdiplusCalls found;
        found.found = PointAt(found.startup, in("GdiplusStartup")) && PointAt(found.shutdown, in("GdiplusShutdown")) &&
                      PointAt(found.bitmapFromStream, in("GdipCreateBitmapFromStream")) &&
                      PointAt(found.width, in("GdipGetImageWidth")) && PointAt(found.height, in("GdipGetImageHeight")) &&
                      PointAt(found.lockBits, in("GdipBitmapLockBits")) &&
                      PointAt(found.unlockBits, in("GdipBitmapUnlockBits")) &&
                      PointAt(found.disposeImage, in("GdipDisposeImage"));
        return found;
    }();
    return calls;
}

// The pixels straight into a 24-bit DIB section: a JPEG has no alpha, and
// the 32-bit bitmap GDI+ would make, through a copy of its own, costs a
// third more memory for nothing.
HBITMAP ToBitmap(const GdiplusCalls& gdiplus, Gdiplus::GpBitmap* decoded) {
    UINT width = 0;
    UINT height = 0;
    if (gdiplus.width(decoded, &width) != Gdiplus::Ok || gdiplus.height(decoded, &height) != Gdiplus::Ok ||
        width == 0 || height == 0) {
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top row first, as GDI+ gives them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    Gdiplus::BitmapData data{};
    data.Width = width;
    data.Height = height;
    data.Stride = static_cast<INT>((width * 3 + 3) & ~3u);  // a DIB's rows end on 4 bytes
    data.PixelFormat = PixelFormat24bppRGB;
    data.Scan0 = bits;
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    if (gdiplus.lockBits(decoded, &all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                         PixelFormat24bppRGB, &data) != Gdiplus::Ok) {
        DeleteObject(bitmap);
        return nullptr;
    }
    gdiplus.unlockBits(decoded, &data);
    return bitmap;
}

}  // namespace

ImageCache::~ImageCache() {
    TakePrefetched();
    for (auto& [name, bitmap] : bitmaps_) {
        if (bitmap != nullptr) DeleteObject(bitmap);
    }
    if (gdiplusToken_ != 0) GdiplusFunctions().shutdown(gdiplusToken_);
}

void ImageCache::Prefetch(std::vector<std::string> names) {
    if (prefetch_ != nullptr || !prefetchNames_.empty()) return;
    prefetchNames_ = std::move(names);
    prefetch_ = CreateThread(nullptr, 0, PrefetchThread, this, 0, nullptr);
    // Without a thread the images are decoded when first painted.
    if (prefetch_ == nullptr) prefetchNames_.clear();
}

DWORD WINAPI ImageCache::PrefetchThread(void* cache) {
    auto* self = static_cast<ImageCache*>(cache);
    for (const std::string& name : self->prefetchNames_) {
        if (!self->prefetched_.contains(name)) self->prefetched_.emplace(name, self->Decode(name));
    }
    return 0;
}

void ImageCache::TakePrefetched() {
    if (prefetch_ == nullptr) return;
    WaitForSingleObject(prefetch_, INFINITE);
    CloseHandle(prefetch_);
    prefetch_ = nullptr;
    bitmaps_.merge(prefetched_);
    // A name decoded twice (already there) keeps one bitmap.
    for (auto& [name, bitmap] : prefetched_) {
        if (bitmap != nullptr) DeleteObject(bitmap);
    }
    prefetched_.clear();
}

HBITMAP ImageCache::Get(const std::string& name) {
    TakePrefetched();
    const auto found = bitmaps_.find(name);
    if (found != bitmaps_.end()) return found->second;
    HBITMAP bitmap = Decode(name);
    bitmaps_.emplace(name, bitmap);
    return bitmap;
}

HBITMAP ImageCache::Decode(const std::string& name) {
    HMODULE module = GetModuleHandleW(nullptr);
    const std::wstring resourceName = Widen(name);
    HRSRC resource = FindResourceW(module, resourceName.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (resource == nullptr) return nullptr;
    const DWORD size = SizeofResource(module, resource);
    const void* bytes = LockResource(LoadResource(module, resource));
    if (bytes == nullptr || size == 0) return nullptr;

    const GdiplusCalls& gdiplus = GdiplusFunctions();
    if (!gdiplus.found || !Com().found) return nullptr;
    if (gdiplusToken_ == 0) {
        Gdiplus::GdiplusStartupInput input;
        if (gdiplus.startup(&gdiplusToken_, &input, nullptr) != Gdiplus::Ok) return nullptr;
    }
    // The stream takes ownership of the copy and frees it when released.
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr) return nullptr;
    CopyMemory(GlobalLock(copy), bytes, size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (FAILED(Com().streamOnMemory(copy, TRUE, &stream))) {
        GlobalFree(copy);
        return nullptr;
    }
    HBITMAP bitmap = nullptr;
    Gdiplus::GpBitmap* decoded = nullptr;
    if (gdiplus.bitmapFromStream(stream, &decoded) == Gdiplus::Ok) {
        bitmap = ToBitmap(gdiplus, decoded);
        gdiplus.disposeImage(decoded);
    }
    stream->Release();
    return bitmap;
}
