#include "window/form1_events.h"

#include <optional>
#include <string>

#include "components/component_catalogue.h"
#include "components/install_flow.h"
#include "components/launch_click.h"
#include "components/remove_flow.h"
#include "window/category_switch.h"
#include "window/hover_feedback.h"
#include "window/window_layout.h"
#include "update/update_help_click.h"

namespace {

// Marks the events busy for the length of one action, whatever way it ends.
class BusyWhile {
public:
    explicit BusyWhile(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyWhile() { busy_ = false; }
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;

private:
    bool& busy_;
};

}  // namespace

void Form1Events::Click(int control) {
    const Control& clicked = form_.At(control);
    const std::string& name = clicked.name;
    if (const MenuCategory* category = CategoryOfButton(name)) {
        SwitchCategory(form_, *category, services_);
        return;
    }
    // A close asked for during an action waits for its end (the window's host
    // sees to that).
    if (name == kQuitButton) {
        window_.Close();
        return;
    }
    if (busy_) return;
    // A plain start is not a long action; downloads, extractions, deletions
    // and waits for an installer are.
    std::optional<BusyWhile> busy;
    if (!IsLaunchPicture(name) || LaunchMayTakeLong(name)) busy.emplace(busy_);
    if (IsUpdateOrHelpPicture(name)) {
        UpdateOrHelpClick(form_, name, services_, window_);
    } else if (IsLaunchPicture(name)) {
        ClickLaunchPicture(form_, name, services_);
    } else if (clicked.role == ControlRole::kDownloadLabel) {
        InstallComponent(form_, clicked.component->id, services_);
    } else if (clicked.role == ControlRole::kRemovalLabel) {
        RemoveComponent(form_, clicked.component->id, services_);
    }
}

void Form1Events::MouseMove(int control) { HoverOver(form_, control); }

void Form1Events::MouseDown(int control) { PressDown(form_, control); }

void Form1Events::MouseUp(int control) { PressUp(form_, control); }
