#include "components/remove_flow.h"

#include <optional>
#include <string>

#include "components/component_catalogue.h"
#include "drive/installed_state_scan.h"
#include "storage/disk_space_report.h"
#include "storage/folder_tree_deletion.h"
#include "storage/staging.h"
#include "window/window_layout.h"

namespace {

// The first thing the deletions left on the drive, and why.
struct LeftBehind {
    FileResult why = FileResult::kFailed;
    std::string path;
};

class Deletions {
public:
    Deletions(Services& services, std::string_view id) : services_(services), id_(id) {}

    // The component's folder leaves its place in one rename, which Windows
    // refuses while any file inside is open: then nothing at all is deleted.
    // Once moved it no longer counts as installed; it is deleted from the
    // staging folder, and what cannot be deleted now goes at the next start.
    bool Retire(std::string_view relative) {
        std::string folder = AbsolutePath(services_.appFolder, relative);
        folder.pop_back();
        std::uint32_t attrs = 0;
        if (services_.files.Attributes(folder, attrs) == FileResult::kMissing) return true;
        const std::string retired = StagingPath(services_.appFolder, "suppression\\" + id_);
        FileResult moved = PrepareStaging(services_.files, services_.appFolder, "suppression");
        if (moved == FileResult::kDone) moved = services_.files.Rename(folder, retired);
        if (moved != FileResult::kDone) {
            RemoveStaging(services_.files, services_.appFolder);
            refused_ = moved;
            return false;
        }
        services_.action.Begin(LongAction::Phase::kRemoval, 0);
        if (DeleteFolderTreeExplained(services_.files, retired + "\\", &services_.action).Done()) {
            RemoveStaging(services_.files, services_.appFolder);
        } else {
            lingering_ = true;
        }
        return true;
    }

    // A read-only file is made writable first, as the folder deletion does.
    void File(std::string_view relative) {
        const std::string file = AbsolutePath(services_.appFolder, relative);
        FileResult result = services_.files.RemoveFile(file);
        if (result == FileResult::kDenied && services_.files.ClearAttributes(file) == FileResult::kDone) {
            result = services_.files.RemoveFile(file);
        }
        Check(file, result, file);
    }

    const std::optional<LeftBehind>& Left() const { return left_; }
    // Why the folder could not leave its place; nothing was deleted.
    const std::optional<FileResult>& Refused() const { return refused_; }
    bool Lingering() const { return lingering_; }

private:
    void Check(const std::string& path, FileResult result, const std::string& stoppedAt) {
        std::uint32_t attrs = 0;
        if (services_.files.Attributes(path, attrs) == FileResult::kMissing) return;
        if (left_) return;  // the first reason is the one to explain
        left_ = LeftBehind{result == FileResult::kDone || result == FileResult::kMissing ? FileResult::kFailed : result,
                           stoppedAt.empty() ? path : stoppedAt};
    }

    Services& services_;
    std::string id_;
    std::optional<LeftBehind> left_;
    std::optional<FileResult> refused_;
    bool lingering_ = false;
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

std::string NotDoneReport(const RemovalTexts& texts, FileResult why) {
    return "La suppression " + std::string(texts.subject) + " n'a pas été faite : " + Reason(why) +
           "\r\n\r\nRien n'a été effacé.";
}

constexpr std::string_view kLingering =
    "\r\n\r\nSes derniers fichiers seront effacés au prochain démarrage de Cantarel Portable.";

void DeleteFiles(const Component& c, Deletions& deletions) {
    // The component's folder first: while it cannot leave its place, nothing
    // else goes. A quiz topic then loses its questionnaires (as its archive
    // installs them) and the general questionnaire.
    if (!deletions.Retire(c.installedFolder)) return;
    if (c.family == Family::kQuizTopic) {
        const std::string folder = QuestionnaireFolder();
        for (std::string_view name : c.questionnaires) deletions.File(folder + std::string(name));
        for (std::string_view name : QuizProgram().questionnaires) deletions.File(folder + std::string(name));
    }
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
    // Away from the window's thread. Stopped by the user, the deletion leaves
    // the component removed: its folder left its place before anything went.
    Deletions deletions(services, c.id);
    services.action.Run([&] { DeleteFiles(c, deletions); });

    // 5. to 9.
    if (deletions.Refused()) {
        form.SetVisible(kRemovalBar, false);
        services.dialogs.Message(NotDoneReport(texts, *deletions.Refused()), texts.resultTitle,
                                 box::kOk | box::kExclamationIcon);
    } else if (!deletions.Left()) {
        ShowRemoved(form, c, services);
        form.SetVisible(kRemovalBar, false);
        services.dialogs.Message(std::string(texts.result) + (deletions.Lingering() ? std::string(kLingering) : ""),
                                 texts.resultTitle, box::kOk);
    } else {
        ShowWhatTheDriveHolds(form, c, services.appFolder, services.files);
        form.SetCaption(kRemovalSpaceCaption, DiskSpaceReport(services.appFolder, services.disk));
        form.SetVisible(kRemovalBar, false);
        services.dialogs.Message(IncompleteReport(texts, *deletions.Left()), texts.resultTitle,
                                 box::kOk | box::kExclamationIcon);
    }
}
