#include "components/remove_flow.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "components/component_catalogue.h"
#include "drive/installed_state_scan.h"
#include "storage/disk_space_report.h"
#include "storage/folder_tree_deletion.h"
#include "window/window_layout.h"

namespace {

constexpr std::string_view kUtility = "Suppression d'un utilitaire";
constexpr std::string_view kMusic = "Suppression d'un logiciel de musique";
constexpr std::string_view kSoftware = "Suppression d'un logiciel";
constexpr std::string_view kCantarel = "Suppression d'un programme Cantarel";
constexpr std::string_view kWindowsUpdate = "Suppression d'un programme de mise à jour Windows";
constexpr std::string_view kProgram = "Suppression d'un programme";

// One removal row. What is deleted comes from the catalogue (the installed
// folder) or, for the quiz topics, from the topic table below. `subject`
// completes "La suppression ... est incomplète" when files are left behind.
struct RemovalRow {
    std::string_view id;
    std::string_view questionTitle;
    std::string_view question;
    std::string_view resultTitle;
    std::string_view result;
    std::string_view subject;
};

// clang-format off
constexpr std::array<RemovalRow, 35> kRows{{
    {"7zip", kUtility, "Voulez-vous effacer 7-Zip ?", kProgram, "Le programme '7-Zip' a été supprimé!", "de 7-Zip"},
    {"ariamaestosa", kMusic, "Voulez-vous effacer Aria Maestosa ?", kProgram, "Le programme 'Aria Maestosa' a été supprimé!", "d'Aria Maestosa"},
    {"atunes", kMusic, "Voulez-vous effacer aTunes ?", kProgram, "Le programme 'aTunes' a été supprimé!", "d'aTunes"},
    {"audacity", kMusic, "Voulez-vous effacer Audacity ?", kProgram, "Le programme 'Audacity' a été supprimé!", "d'Audacity"},
    {"bullaro", kCantarel, "Voulez-vous effacer Bullaro ?", kCantarel, "Le programme 'Bullaro' a été supprimé!", "de Bullaro"},
    {"cdex", kMusic, "Voulez-vous effacer CDex ?", kProgram, "Le programme 'CDex' a été supprimé!", "de CDex"},
    {"chopin", kCantarel, "Voulez-vous effacer le questionnaire sur Frédéric Chopin ? Le questionnaire 'Quizora' sera également supprimé!", kCantarel, "Le questionnaire sur Frédéric Chopin a été supprimé!", "du questionnaire sur Frédéric Chopin"},
    {"dao", kWindowsUpdate, "Voulez-vous effacer DAO 3.5 ?", kCantarel, "DAO 3.5 a été supprimé!", "de DAO 3.5"},
    {"firefox", kUtility, "Voulez-vous effacer Firefox ?", kProgram, "Le programme 'Firefox' a été supprimé!", "de Firefox"},
    {"framework_35", kWindowsUpdate, "Voulez-vous effacer le framework .net 3.5 ?", kProgram, "Le framework .net 3.5 a été supprimé!", "du framework .net 3.5"},
    {"framework_4", kWindowsUpdate, "Voulez-vous effacer le framework .net 4 ?", kProgram, "Le framework .net 4 a été supprimé!", "du framework .net 4"},
    {"gnusolfege", kMusic, "Voulez-vous effacer GNU Solfege ?", kProgram, "Le programme 'GNU Solfege' a été supprimé!", "de GNU Solfege"},
    {"hydrogen", kMusic, "Voulez-vous effacer Hydrogen ?", kProgram, "Le programme 'Hydrogen' a été supprimé!", "d'Hydrogen"},
    {"hymnes", kCantarel, "Voulez-vous effacer les questionnaires sur les hymnes nationaux ? Le questionnaire 'Quizora' sera également supprimé!", kCantarel, "Les questionnaires sur les hymnes nationaux ont été supprimés!", "des questionnaires sur les hymnes nationaux"},
    {"infrarecorder", kMusic, "Voulez-vous effacer Infra Recorder ?", kProgram, "Le programme 'Infra Recorder' a été supprimé!", "d'Infra Recorder"},
    {"symphalis", kCantarel, "Voulez-vous effacer Symphalis ?", kCantarel, "Le programme 'Symphalis' a été supprimé!", "de Symphalis"},
    {"java", kWindowsUpdate, "Voulez-vous effacer la machine virtuelle Java ?", kCantarel, "La machine virtuelle Java a été supprimée!", "de la machine virtuelle Java"},
    {"tonavel", kCantarel, "Voulez-vous effacer Tonavel ?", kCantarel, "Le programme 'Tonavel' a été supprimé!", "de Tonavel"},
    {"libreoffice", kUtility, "Voulez-vous effacer Libre Office ?", kProgram, "Le programme 'Libre Office' a été supprimé!", "de Libre Office"},
    {"maestrel", kCantarel, "Voulez-vous effacer Maestrel ?", kCantarel, "Le programme 'Maestrel' a été supprimé!", "de Maestrel"},
    {"metronome", kCantarel, "Voulez-vous effacer le métronome virtuel ?", kCantarel, "Le programme 'Métronome virtuel' a été supprimé!", "du métronome virtuel"},
    {"mini_quadrelo", kCantarel, "Voulez-vous effacer Mini Quadrelo ?", kCantarel, "Le programme 'Mini Quadrelo' a été supprimé!", "de Mini Quadrelo"},
    {"musescore", kMusic, "Voulez-vous effacer Muse Score ?", kCantarel, "Le programme 'Muse Score' a été supprimé!", "de Muse Score"},
    {"openmusicwriter", kMusic, "Voulez-vous effacer Open Musicwriter ?", kProgram, "Le programme 'Open Musicwriter' a été supprimé!", "d'Open Musicwriter"},
    {"clavira", kCantarel, "Voulez-vous effacer Clavira ?", kCantarel, "Le programme 'Clavira' a été supprimé!", "de Clavira"},
    {"quiz", kCantarel, "Voulez-vous effacer Cantarel Quiz ?", kCantarel, "Le programme 'Cantarel Quiz' a été supprimé!", "de Cantarel Quiz"},
    {"reconnaissance_vocale", kWindowsUpdate, "Voulez-vous effacer la voix française pour la reconnaissance vocale ?", kProgram, "La voix française pour la reconnaissance vocale a été supprimée!", "de la voix française pour la reconnaissance vocale"},
    {"pulsaro", kCantarel, "Voulez-vous effacer Pulsaro ?", kCantarel, "Le programme 'Pulsaro' a été supprimé!", "de Pulsaro"},
    {"solfege", kCantarel, "Voulez-vous effacer Cantarel Solfège ?", kCantarel, "Le programme 'Cantarel Solfège' a été supprimé!", "de Cantarel Solfège"},
    {"sql_35", kWindowsUpdate, "Voulez-vous effacer SQL Server Compact 3.5 ?", kCantarel, "SQL Server Compact 3.5 a été supprimé!", "de SQL Server Compact 3.5"},
    {"symphonique", kCantarel, "Voulez-vous effacer le questionnaire sur les oeuvres symphoniques ? Le questionnaire 'Quizora' sera également supprimé!", kCantarel, "Le questionnaire sur les oeuvres symphoniques a été supprimé!", "du questionnaire sur les oeuvres symphoniques"},
    {"quadrelo", kCantarel, "Voulez-vous effacer Quadrelo ?", kCantarel, "Le programme 'Quadrelo' a été supprimé!", "de Quadrelo"},
    {"thunderbird", kSoftware, "Voulez-vous effacer Thunderbird ?", kCantarel, "Le programme 'Thunderbird' a été supprimé!", "de Thunderbird"},
    {"tuxguitar", kMusic, "Voulez-vous effacer Tuxguitar ?", kProgram, "Le programme 'Tuxguitar' a été supprimé!", "de Tuxguitar"},
    {"vlc", kMusic, "Voulez-vous effacer VLC ?", kCantarel, "Le programme 'VLC' a été supprimé!", "de VLC"},
}};
// clang-format on

// The quiz topics: their questionnaires (as the topic archives install them),
// then the general questionnaire, then their audio folder.
constexpr std::string_view kQuizTexts = "\\Cantarel\\Quiz\\textes\\";
constexpr std::string_view kGeneralQuestionnaire = "\\Cantarel\\Quiz\\textes\\Quizora.txt";
constexpr std::array<std::string_view, 1> kChopinTexts{"Chopin.txt"};
constexpr std::array<std::string_view, 7> kHymnesTexts{"Hymnes1.txt", "Hymnes2.txt", "Hymnes3.txt", "Hymnes4.txt",
                                                       "Hymnes5.txt", "Hymnes6.txt", "Hymnes7.txt"};
constexpr std::array<std::string_view, 1> kSymphoniqueTexts{"Oeuvres symphoniques.txt"};

struct QuizTopic {
    std::string_view id;
    std::span<const std::string_view> texts;
    std::string_view audioFolder;
};
const std::array<QuizTopic, 3> kQuizTopics{{
    {"chopin", kChopinTexts, "\\Cantarel\\Quiz\\audio\\chopin\\"},
    {"symphonique", kSymphoniqueTexts, "\\Cantarel\\Quiz\\audio\\oeuvres symphoniques\\"},
    {"hymnes", kHymnesTexts, "\\Cantarel\\Quiz\\audio\\hymnes\\"},
}};

constexpr std::array<std::string_view, 4> kQuizFamily{"quiz", "chopin", "hymnes", "symphonique"};
constexpr std::string_view kFullQuizCaption = "Cantarel Quiz et tous les questionnaires (767 Mo)";

const RemovalRow* RowOf(std::string_view id) {
    const auto row = std::find_if(kRows.begin(), kRows.end(), [&](const RemovalRow& r) { return r.id == id; });
    return row == kRows.end() ? nullptr : &*row;
}

const QuizTopic* TopicOf(std::string_view id) {
    const auto topic =
        std::find_if(kQuizTopics.begin(), kQuizTopics.end(), [&](const QuizTopic& t) { return t.id == id; });
    return topic == kQuizTopics.end() ? nullptr : &*topic;
}

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

std::string IncompleteReport(const RemovalRow& row, const LeftBehind& left) {
    return "La suppression " + std::string(row.subject) + " est incomplète : " + Reason(left.why) +
           "\r\n\r\nFichier resté sur la clé : " + AsShown(left.path);
}

void DeleteFiles(const Component& c, Deletions& deletions) {
    if (const QuizTopic* topic = TopicOf(c.id)) {
        for (std::string_view name : topic->texts) deletions.File(std::string(kQuizTexts) + std::string(name));
        deletions.File(kGeneralQuestionnaire);
        deletions.Tree(topic->audioFolder);
    } else {
        deletions.Tree(c.installedFolder);
    }
}

// Steps 5 to 7 when everything is gone: the not-installed state.
void ShowRemoved(Form1& form, const Component& c, Services& services) {
    if (c.id == "quiz") {
        for (std::string_view id : kQuizFamily) form.SetEnabled(RemovalLabelName(ComponentById(id)), false);
        for (std::string_view id : kQuizFamily) form.SetEnabled(DownloadLabelName(ComponentById(id)), true);
        form.SetVisible(c.picture, false);
        form.SetCaption(RemovalLabelName(c), std::string(kFullQuizCaption));
    } else {
        form.SetEnabled(RemovalLabelName(c), false);
        form.SetEnabled(DownloadLabelName(c), true);
        if (TopicOf(c.id)) {
            RefreshQuizSizeCaption(form);
        } else if (!c.picture.empty()) {
            form.SetVisible(c.picture, false);
        }
    }
    form.SetCaption(kRemovalSpaceCaption, DiskSpaceReport(services.appFolder, services.disk));
}

// Steps 5 to 7 when something is left: the window shows what the drive
// still holds, as the next start-up would.
void ShowWhatTheDriveHolds(Form1& form, const Component& c, Services& services) {
    const auto show = [&](std::string_view id) {
        ShowInstalledState(form, id, IsComponentInstalled(id, services.appFolder, services.files));
    };
    if (c.id == "quiz") {
        for (std::string_view id : kQuizFamily) show(id);
        if (!form.Get(RemovalLabelName(c)).enabled) form.SetCaption(RemovalLabelName(c), std::string(kFullQuizCaption));
    } else {
        show(c.id);
    }
    if (c.id == "quiz" || TopicOf(c.id)) RefreshQuizSizeCaption(form);
    form.SetCaption(kRemovalSpaceCaption, DiskSpaceReport(services.appFolder, services.disk));
}

}  // namespace

std::span<const std::string_view> QuizTopicTexts(std::string_view id) {
    const QuizTopic* topic = TopicOf(id);
    return topic ? topic->texts : std::span<const std::string_view>{};
}

void RemoveComponent(Form1& form, std::string_view id, Services& services) {
    const RemovalRow* row = RowOf(id);
    if (!row) return;
    const Component& c = ComponentById(id);
    // A click queued before the label was greyed out offers nothing.
    if (!form.Get(RemovalLabelName(c)).enabled) return;

    // 1. and 2. Ask; any answer but Yes changes nothing.
    if (services.dialogs.Message(row->question, row->questionTitle, box::kQuestion) != box::kAnswerYes) return;

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
        services.dialogs.Message(row->result, row->resultTitle, box::kOk);
    } else {
        ShowWhatTheDriveHolds(form, c, services);
        form.SetVisible(kRemovalBar, false);
        services.dialogs.Message(IncompleteReport(*row, *deletions.Left()), row->resultTitle,
                                 box::kOk | box::kExclamationIcon);
    }
}
