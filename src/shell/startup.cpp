#include "shell/startup.h"

#include <cmath>

#include "ui/window_layout.h"

namespace {

constexpr Point kPanelOrigin{251, 19};

// Halves as a floating-point value; the window edge takes the nearest pixel,
// ties to even as the classic conversion does.
int Half(int value) { return static_cast<int>(std::nearbyint(value / 2.0)); }

}  // namespace

Point CentredOrigin(Size screen, Size window) {
    return {Half(screen.width - window.width), Half(screen.height - window.height)};
}

void RunStartup(Form1& form, Size screen) {
    // 1. Centre the window on the whole screen.
    const Point origin = CentredOrigin(screen, {form.windowRect.width, form.windowRect.height});
    form.windowRect.left = origin.x;
    form.windowRect.top = origin.y;

    // 2. and 3. (the installed-state scan and the launch shortcuts) run here.

    // 4. Bring the nine panels in: left edges first, then top edges.
    for (std::string_view panel : PanelsInPlacementOrder()) {
        form.SetPosition(panel, {kPanelOrigin.x, form.Get(panel).rect.top});
    }
    for (std::string_view panel : PanelsInPlacementOrder()) {
        form.SetPosition(panel, {form.Get(panel).rect.left, kPanelOrigin.y});
    }
}
