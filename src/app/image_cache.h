#pragma once

#include <windows.h>

#include <map>
#include <string>

// The window's JPEG images, embedded as resources named after the image and
// decoded on first use, so start-up decodes only what the first paint shows.
class ImageCache {
public:
    ImageCache() = default;
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;
    ~ImageCache();

    // The decoded image, or nullptr when the executable has no such image.
    HBITMAP Get(const std::string& name);

private:
    HBITMAP Decode(const std::string& name);

    std::map<std::string, HBITMAP> bitmaps_;
    ULONG_PTR gdiplusToken_ = 0;
};
