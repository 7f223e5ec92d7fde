#include "components/remove_flow.h"

#include <optional>
#include <string>

#include "components/component_catalogue.h"
#include "drive/installed_state_scan.h"
#include "storage/disk_space_report.h"
#include "storage/folder_tree_deletion.h"
#include "window/window_layout.h"

namespace {

// The first thing the deletions left on the drive, and why.
struct LeftBehind {
    FileResult why = FileResult::kFailed;
    std::string path;
};

class Deletions {
public:
    explicit Deletions(Services& services) : services_(services) {}

    void Tree(std::string_view relative) {
        const std::string folder = AbsolutePath(services_.appFolder, relative);
        const FolderTreeDeletion outcome = DeleteFolderTreeExplained(services_.files, folder);
        // A missing folder is no error; judged by what is left, not by the
        // step's own report, so a deletion that claimed success but left
        // the folder is caught too.
        Check(folder.substr(0, folder.size() - 1), outcome.result, outcome.stoppedAt);
    }

    void File(std::string_view relative) {
        const std::string file = AbsolutePath(services_.appFolder, relative);
        Check(file, services_.files.RemoveFile(file), file);
    }

    const std::optional<LeftBehind>& Left() const { return left_; }

private:
    void Check(const std::string& path, FileResult result, const std::string& stoppedAt) {
        std::uint32_t attrs = 0;
        if (services_.files.Attributes(path, attrs) == FileResult::kMissing) return;
        if (left_) return;  // the first reason is the one to explain
        left_ = LeftBehind{result == FileResult::kDone || result == FileResult::kMissing ? FileResult::kFailed : result,
                           stoppedAt.empty() ? path : stoppedAt};
    }

    Services& services_;
    std::optional<LeftBehind> left_;
};

// At a drive's root the joined paths carry a doubled backslash; the user
// reads the path as the file manager shows it.
std::string AsShown(std::string_view path) {
    std::string shown;
    for (char c : path) {
        if (c == '\\' && shown.size() > 1 && shown.back() == '\\') continue;
        shown += c;
    }
    return shown;
}

std::string Reason(FileResult why) {
    switch (why) {
        case FileResult::kInUse:
            return "un de ses fichiers est encore ouvert par un programme. Fermez ce programme, puis recommencez "
                   "la suppression.";
        case FileResult::kDenied:
            return "un de ses fichiers n'a pas pu être effacé (accès refusé) ; un programme encore ouvert "
                   "l'utilise peut-être. Fermez-le, puis recommencez la suppression.";
        case FileResult::kWriteProtected:
            return "la clé USB est protégée en écriture. Retirez la protection, puis recommencez la suppression.";
        default:
            return "un de ses fichiers n'a pas pu être effacé. Recommencez la suppression.";
    }
}

std::string IncompleteReport(const RemovalTexts& texts, const LeftBehind& left) {
    return "La suppression " + std::string(texts.subject) + " est incomplète : " + Reason(left.why) +
           "\r\n\r\nFichier resté sur la clé : " + AsShown(left.path);
}

void DeleteFiles(const Component& c, Deletions& deletions) {
    // A quiz topic: its questionnaires (as its archive installs them), then
    // the general questionnaire, then its audio folder.
    if (c.family == Family::kQuizTopic) {
        const std::string folder = QuestionnaireFolder();
        for (std::string_view name : c.questionnaires) deletions.File(folder + std::string(name));
        for (std::string_view name : QuizProgram().questionnaires) deletions.File(folder + std::string(name));
    }
    deletions.Tree(c.installedFolder);
}

// Steps 5 to 7 when everything is gone: the not-installed state.
void ShowRemoved(Form1& form, const Component& c, Services& services) {
    const std::vector<const Component*> parts = ActedOnWith(c);
    for (const Component* part : parts) form.SetEnabled(RemovalLabelName(*part), false);
    for (const Component* part : parts) form.SetEnabled(DownloadLabelName(*part), true);
    if (!c.picture.empty()) form.SetVisible(c.picture, false);
    if (c.family == Family::kQuiz) form.SetCaption(RemovalLabelName(c), std::string(RemovalCaption(c)));
    if (c.family == Family::kQuizTopic) RefreshQuizSizeCaption(form);
    form.SetCaption(kRemovalSpaceCaption, DiskSpaceReport(services.appFolder, services.disk));
}

}  // namespace

std::span<const std::string_view> QuizTopicTexts(std::string_view id) {
    const Component* component = FindComponent(id);
    if (component == nullptr || component->family != Family::kQuizTopic) return {};
    return component->questionnaires;
}

void RemoveComponent(Form1& form, std::string_view id, Services& services) {
    const Component* component = FindComponent(id);
    if (!component) return;
    const Component& c = *component;
    const RemovalTexts& texts = c.removal;
    // A click queued before the label was greyed out offers nothing.
    if (!form.Get(RemovalLabelName(c)).enabled) return;

    // 1. and 2. Ask; any answer but Yes changes nothing.
    if (services.dialogs.Message(texts.question, texts.questionTitle, box::kQuestion) != box::kAnswerYes) return;

    // 3. The waiting bar is painted before the deletion blocks the window.
    form.SetVisible(kRemovalBar, true);
    services.events.ProcessPendingEvents();

    // 4. The row's deletions, in order; each goes on whatever the one before left.
    Deletions deletions(services);
    DeleteFiles(c, deletions);

    // 5. to 9.
    if (!deletions.Left()) {
        ShowRemoved(form, c, services);
        form.SetVisible(kRemovalBar, false);
        services.dialogs.Message(texts.result, texts.resultTitle, box::kOk);
    } else {
        ShowWhatTheDriveHolds(form, c, services.appFolder, services.files);
        form.SetCaption(kRemovalSpaceCaption, DiskSpaceReport(services.appFolder, services.disk));
        form.SetVisible(kRemovalBar, false);
        services.dialogs.Message(IncompleteReport(texts, *deletions.Left()), texts.resultTitle,
                                 box::kOk | box::kExclamationIcon);
    }
}
