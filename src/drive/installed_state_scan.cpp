#include "drive/installed_state_scan.h"

#include <array>
#include <stdexcept>
#include <string>

#include "components/component_catalogue.h"

namespace {

// The order of the scan; the quiz caption is computed right after the topics.
struct ScanRow {
    std::string_view id;
    std::string_view otherFolder;  // a second tested folder, after AppFolder
};
constexpr std::array<ScanRow, 35> kScanOrder{{
    {"symphalis", ""},   {"bullaro", ""},      {"tonavel", ""},       {"maestrel", ""},
    {"metronome", ""},   {"mini_quadrelo", ""}, {"clavira", ""},      {"pulsaro", ""},
    {"solfege", ""},     {"quadrelo", ""},     {"quiz", ""},          {"chopin", ""},
    {"hymnes", ""},      {"symphonique", ""},  {"atunes", ""},        {"audacity", ""},
    {"cdex", ""},        {"gnusolfege", ""},   {"infrarecorder", ""},
    {"musescore", "\\Musique\\MuseScore\\bin\\"},
    {"tuxguitar", ""},   {"vlc", ""},          {"ariamaestosa", ""},  {"openmusicwriter", ""},
    {"hydrogen", ""},    {"7zip", ""},         {"firefox", ""},       {"thunderbird", ""},
    {"libreoffice", ""}, {"framework_35", ""}, {"framework_4", ""},   {"java", ""},
    {"reconnaissance_vocale", ""}, {"sql_35", ""}, {"dao", ""},
}};
constexpr std::string_view kLastQuizTopic = "symphonique";

struct QuizPart {
    std::string_view id;
    int megabytes;
};
constexpr int kQuizProgramMegabytes = 52;
constexpr std::array<QuizPart, 3> kQuizTopics{{{"chopin", 224}, {"hymnes", 200}, {"symphonique", 291}}};

bool HoldsFile(FileSystem& files, std::string_view appFolder, std::string_view folder) {
    return files.FirstFile(AbsolutePath(appFolder, folder) + "*.*").has_value();
}

const ScanRow& RowOf(std::string_view id) {
    for (const ScanRow& row : kScanOrder) {
        if (row.id == id) return row;
    }
    throw std::out_of_range("no component " + std::string(id));
}

}  // namespace

bool IsComponentInstalled(std::string_view id, std::string_view appFolder, FileSystem& files) {
    const ScanRow& row = RowOf(id);
    return HoldsFile(files, appFolder, ComponentById(id).installedFolder) ||
           (!row.otherFolder.empty() && HoldsFile(files, appFolder, row.otherFolder));
}

void ShowInstalledState(Form1& form, std::string_view id, bool installed) {
    const Component& component = ComponentById(id);
    form.SetEnabled(DownloadLabelName(component), !installed);
    form.SetEnabled(RemovalLabelName(component), installed);
    if (!component.picture.empty()) form.SetVisible(component.picture, installed);
}

void RefreshInstalledState(Form1& form, std::string_view appFolder, FileSystem& files) {
    for (const ScanRow& row : kScanOrder) {
        const Component& component = ComponentById(row.id);
        const bool installed = IsComponentInstalled(row.id, appFolder, files);
        if (installed) {
            form.SetEnabled(RemovalLabelName(component), true);
        } else if (component.id == "quiz") {
            form.SetVisible(component.picture, false);
            form.SetEnabled(DownloadLabelName(component), true);
        } else {
            form.SetEnabled(DownloadLabelName(component), true);
            if (!component.picture.empty()) form.SetVisible(component.picture, false);
        }
        if (row.id == kLastQuizTopic) RefreshQuizSizeCaption(form);
    }
}

void RefreshQuizSizeCaption(Form1& form) {
    const Component& quiz = ComponentById("quiz");
    if (!form.Get(RemovalLabelName(quiz)).enabled) return;
    int megabytes = kQuizProgramMegabytes;
    for (const QuizPart& topic : kQuizTopics) {
        if (form.Get(RemovalLabelName(ComponentById(topic.id))).enabled) megabytes += topic.megabytes;
    }
    form.SetCaption(RemovalLabelName(quiz),
                    "Cantarel Quiz et tous les questionnaires (" + std::to_string(megabytes) + " Mo)");
}
