#include "components/launch_click.h"

#include <string>

#include "components/launch_start.h"
#include "components/launch_table.h"
#include "components/prerequisites.h"
#include "window/hover_feedback.h"
#include "window/window_layout.h"

namespace {

std::string NotStarted(const LaunchRow& row) {
    return "Le programme '" + std::string(row.name) + "' n'a pas pu être démarré!";
}

bool Start(const LaunchRow& row, Services& services) {
    if (row.kind == StartKind::kBatch) {
        return services.processes.StartCommandLine(BatchCommandLine(services.appFolder, row.target), 0);
    }
    const bool preferred = row.probe.empty() || FileOnDrive(services, row.probe);
    return OpenInAppFolder(services, preferred ? row.target : row.fallBack);
}

}  // namespace

bool IsLaunchPicture(std::string_view picture) {
    return FindLaunchRow(picture) != nullptr || IsWindowsPanelPicture(picture);
}

bool LaunchMayTakeLong(std::string_view picture) {
    if (const LaunchRow* row = FindLaunchRow(picture)) return MayTakeLong(*row);
    return WindowsPanelPictureMayTakeLong(picture);
}

void ClickLaunchPicture(Form1& form, std::string_view picture, Services& services) {
    const LaunchRow* row = FindLaunchRow(picture);
    if (row == nullptr) {
        ClickWindowsPanelPicture(form, picture, services);
        return;
    }

    // 1. The gates, in order; the first that does not let the launch
    // through ends the click.
    for (Gate gate : row->gates) {
        if (RunGate(gate, form, services) == GateOutcome::kEndClick) return;
    }

    // 2. and 3. The picture at rest, even when the start fails.
    SetHoverArmed(form, false);
    form.SetImage(row->picture, NormalImageOf(row->picture));

    // 4. The start; the window goes on whatever becomes of it.
    if (!Start(*row, services)) services.dialogs.Message(NotStarted(*row), "", box::kOk);
}
