#include "app/image_cache.h"

#include <objidl.h>
// GDI+ decodes JPEG on every Windows since XP.
#include <gdiplus.h>

#include "platform/win32/wide_text.h"

ImageCache::~ImageCache() {
    for (auto& [name, bitmap] : bitmaps_) {
        if (bitmap != nullptr) DeleteObject(bitmap);
    }
    if (gdiplusToken_ != 0) Gdiplus::GdiplusShutdown(gdiplusToken_);
}

HBITMAP ImageCache::Get(const std::string& name) {
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

    if (gdiplusToken_ == 0) {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr) != Gdiplus::Ok) return nullptr;
    }
    // The stream takes ownership of the copy and frees it when released.
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr) return nullptr;
    CopyMemory(GlobalLock(copy), bytes, size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        GlobalFree(copy);
        return nullptr;
    }
    HBITMAP bitmap = nullptr;
    {
        Gdiplus::Bitmap decoded(stream);
        if (decoded.GetLastStatus() == Gdiplus::Ok) decoded.GetHBITMAP(Gdiplus::Color(255, 255, 255), &bitmap);
    }
    stream->Release();
    return bitmap;
}
