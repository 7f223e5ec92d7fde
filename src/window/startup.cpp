#include "window/startup.h"

#include <cmath>

#include "drive/installed_state_scan.h"
#include "drive/launch_shortcuts.h"
#include "storage/staging.h"
#include "window/window_layout.h"

namespace {

constexpr Point kPanelOrigin{251, 19};

// Halves as a floating-point value; the window edge takes the nearest pixel,
// ties to even as the classic conversion does.
int Half(int value) { return static_cast<int>(std::nearbyint(value / 2.0)); }

}  // namespace

Point CentredOrigin(Size screen, Size window) {
    return {Half(screen.width - window.width), Half(screen.height - window.height)};
}

void CentreWindow(Form1& form, Size screen) {
    const Point origin = CentredOrigin(screen, {form.windowRect.width, form.windowRect.height});
    form.windowRect.left = origin.x;
    form.windowRect.top = origin.y;
}

// Left edges first, then top edges, in the panels' order.
void PlacePanels(Form1& form) {
    for (std::string_view panel : PanelsInPlacementOrder()) {
        form.SetPosition(panel, {kPanelOrigin.x, form.Get(panel).rect.top});
    }
    for (std::string_view panel : PanelsInPlacementOrder()) {
        form.SetPosition(panel, {form.Get(panel).rect.left, kPanelOrigin.y});
    }
}

void RunStartup(Form1& form, Size screen, Services& services, void (*mark)(const char* step)) {
    const auto done = [mark](const char* step) {
        if (mark != nullptr) mark(step);
    };
    CentreWindow(form, screen);
    // What an install or update cut short left behind is never counted.
    RemoveStaging(services.files, services.appFolder);
    done("staging checked");
    RefreshInstalledState(form, services.appFolder, services.files);
    done("drive scanned");
    PlacePanels(form);
}

bool RunStartupStepAfterFirstFrame(int step, Services& services) {
    const std::span<const LaunchShortcut> shortcuts = LaunchShortcutTable();
    if (step < 0 || static_cast<std::size_t>(step) >= shortcuts.size()) return false;
    // A shortcut that cannot be written (write-protected or removed drive, no
    // "system\" folder) costs only that shortcut.
    WriteLaunchShortcut(services.appFolder, services.shellLinks, shortcuts[static_cast<std::size_t>(step)]);
    return true;
}
