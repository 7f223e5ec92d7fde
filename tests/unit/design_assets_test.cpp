// Every image the window shows must be in the committed design assets, as a
// JPEG of the size its control has: a renamed control or a forgotten image
// would otherwise show as a blank rectangle only at run time.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "window/window_layout.h"

namespace {

std::optional<Size> JpegSize(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) return std::nullopt;
    for (std::size_t at = 2; at + 9 < data.size();) {
        if (data[at] != 0xFF) return std::nullopt;
        const int marker = data[at + 1];
        const std::size_t length = data[at + 2] << 8 | data[at + 3];
        if (marker >= 0xC0 && marker <= 0xC2) {
            return Size{data[at + 7] << 8 | data[at + 8], data[at + 5] << 8 | data[at + 6]};
        }
        at += 2 + length;
    }
    return std::nullopt;
}

void ExpectAsset(const std::string& image, Size size) {
    const std::optional<Size> found = JpegSize(std::string(CANTAREL_ASSETS_DIR) + "/" + image + ".jpg");
    ASSERT_TRUE(found.has_value()) << image;
    EXPECT_EQ(*found, size) << image;
}

TEST(DesignAssets, EveryImageOfTheWindowExistsAtItsControlsSize) {
    const Form1 form = BuildDesignForm1();
    ExpectAsset(std::string(kBackgroundImage), {970, 550});
    ExpectAsset(std::string(kDecorationImage), {300, 110});
    for (const Control& control : form.Controls()) {
        const Size size{control.rect.width, control.rect.height};
        if (control.kind == ControlKind::ProgramPicture) {
            ExpectAsset(NormalImageOf(control.name), size);
            ExpectAsset(HighlightImageOf(control.name), size);
        }
        if (control.kind == ControlKind::MenuButton) {
            const std::string key = control.image.substr(0, control.image.rfind('_'));
            ExpectAsset(key + "_clair", size);
            ExpectAsset(key + "_move", size);
            if (control.name != kQuitButton) ExpectAsset(key + "_fonce", size);
        }
    }
    for (const std::string& image : form.imageStore.images) {
        const Control& holder = form.Get(image.substr(0, image.rfind('_')));
        ExpectAsset(image, {holder.rect.width, holder.rect.height});
    }
}

}  // namespace
