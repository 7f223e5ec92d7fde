#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// The window's JPEG images, embedded as resources named after the image and
// decoded on first use, so start-up decodes only what the first paint shows.
class ImageCache {
public:
    ImageCache() = default;
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;
    ~ImageCache();

    // Decodes `names` on a thread of their own while the caller goes on
    // (creating the windows); the first Get waits for it. Once only.
    void Prefetch(std::vector<std::string> names);

    // The decoded image, or nullptr when the executable has no such image.
    HBITMAP Get(const std::string& name);

private:
    static DWORD WINAPI PrefetchThread(void* cache);
    void TakePrefetched();
    HBITMAP Decode(const std::string& name);

    std::map<std::string, HBITMAP> bitmaps_;
    ULONG_PTR gdiplusToken_ = 0;
    // Touched by the prefetch thread alone until it has ended.
    HANDLE prefetch_ = nullptr;
    std::vector<std::string> prefetchNames_;
    std::map<std::string, HBITMAP> prefetched_;
};
