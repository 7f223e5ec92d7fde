#include "drive/installed_state_scan.h"

#include <algorithm>
#include <string>
#include <vector>

#include "components/component_catalogue.h"

namespace {

bool HoldsFile(FileSystem& files, std::string_view appFolder, std::string_view folder) {
    return files.FirstFile(AbsolutePath(appFolder, folder) + "*.*").has_value();
}

// The catalogue in the order of the scan.
std::vector<const Component*> ScanOrder() {
    std::vector<const Component*> order;
    for (const Component& c : AllComponents()) order.push_back(&c);
    std::sort(order.begin(), order.end(),
              [](const Component* a, const Component* b) { return a->scanOrder < b->scanOrder; });
    return order;
}

}  // namespace

bool IsComponentInstalled(std::string_view id, std::string_view appFolder, FileSystem& files) {
    const Component& component = ComponentById(id);
    return HoldsFile(files, appFolder, component.installedFolder) ||
           (!component.otherInstalledFolder.empty() && HoldsFile(files, appFolder, component.otherInstalledFolder));
}

void ShowInstalledState(Form1& form, std::string_view id, bool installed) {
    const Component& component = ComponentById(id);
    form.SetEnabled(DownloadLabelName(component), !installed);
    form.SetEnabled(RemovalLabelName(component), installed);
    if (!component.picture.empty()) form.SetVisible(component.picture, installed);
}

void RefreshInstalledState(Form1& form, std::string_view appFolder, FileSystem& files) {
    static const std::vector<const Component*> order = ScanOrder();
    for (const Component* component : order) {
        if (IsComponentInstalled(component->id, appFolder, files)) {
            form.SetEnabled(RemovalLabelName(*component), true);
        } else if (component->family == Family::kQuiz) {
            // The quiz picture goes before its download is offered.
            form.SetVisible(component->picture, false);
            form.SetEnabled(DownloadLabelName(*component), true);
        } else {
            form.SetEnabled(DownloadLabelName(*component), true);
            if (!component->picture.empty()) form.SetVisible(component->picture, false);
        }
    }
    // The design state disables every removal label: the quiz caption can
    // only be added up once the whole family is scanned.
    RefreshQuizSizeCaption(form);
}

void ShowWhatTheDriveHolds(Form1& form, const Component& component, std::string_view appFolder, FileSystem& files) {
    for (const Component* c : ActedOnWith(component)) {
        ShowInstalledState(form, c->id, IsComponentInstalled(c->id, appFolder, files));
    }
    if (!InQuizFamily(component)) return;
    // A quiz no longer installed offers the whole family again.
    const Component& quiz = QuizProgram();
    if (!form.Get(RemovalLabelName(quiz)).enabled) form.SetCaption(RemovalLabelName(quiz), std::string(RemovalCaption(quiz)));
    RefreshQuizSizeCaption(form);
}

void RefreshQuizSizeCaption(Form1& form) {
    const Component& quiz = QuizProgram();
    if (!form.Get(RemovalLabelName(quiz)).enabled) return;
    int megabytes = 0;
    for (const Component& part : AllComponents()) {
        if (part.family == Family::kQuizTopic && !form.Get(RemovalLabelName(part)).enabled) continue;
        megabytes += part.megabytes;
    }
    form.SetCaption(RemovalLabelName(quiz),
                    "Cantarel Quiz et tous les questionnaires (" + std::to_string(megabytes) + " Mo)");
}
