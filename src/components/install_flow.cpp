#include "components/install_flow.h"

#include <string>

#include "components/component_catalogue.h"
#include "config/build_settings.h"
#include "drive/installed_state_scan.h"
#include "storage/disk_space_report.h"
#include "trust/verification_report.h"
#include "unzip/extract_archive.h"
#include "window/window_layout.h"

namespace {

struct Titles {
    std::string_view question;
    std::string_view success;
    std::string_view failure;
};

Titles TitlesOf(CategoryFolder folder) {
    switch (folder) {
        case CategoryFolder::Cantarel:
            return {"Installation d'un programme Cantarel", "Installation d'un programme Cantarel",
                    "Installation d'un programme Cantarel"};
        case CategoryFolder::Windows:
            return {"Téléchargement d'un programme", "Téléchargement d'un programme", "Téléchargement d'un programme"};
        default:
            return {"Installation d'un programme", "Installation d'un programme Cantarel",
                    "Installation d'un programme"};
    }
}

std::string Question(const Component& c) {
    if (!c.question.empty()) return std::string(c.question);
    return "Voulez-vous installer " + std::string(c.messageName) + " ?";
}

std::string SuccessReport(const Component& c) {
    if (!c.successReport.empty()) return std::string(c.successReport);
    return "Le programme '" + std::string(c.messageName) + "' a été installé!";
}

std::string FailureReport(const Component& c) {
    if (!c.failureReport.empty()) return WithSupportAddress(c.failureReport);
    return WithSupportAddress("Le programme '" + std::string(c.messageName) +
                              "' n'a pas pu être installé! Recommencez ultérieurement ou contactez ");
}

// A file the server's signed catalogue does not vouch for is said to be so.
std::string DownloadFailure(const Component& c, std::int32_t downloaded) {
    return downloaded == download_result::kNotVerified ? NotVerifiedReport(NameInMessages(c)) : FailureReport(c);
}

std::string ExtractionUnavailable(const Component& c) {
    return WithSupportAddress("Le fichier de " + std::string(NameInMessages(c)) +
                              " a été téléchargé mais n'a pas pu être décompressé : la bibliothèque de "
                              "décompression (unzip32.dll) est absente ou inutilisable. Recommencez "
                              "ultérieurement ou contactez ");
}

void ShowInstalled(Form1& form, const Component& c) {
    // The quiz archive holds every questionnaire, so installing it sets the
    // topics' labels too.
    const std::vector<const Component*> parts = ActedOnWith(c);
    for (const Component* part : parts) form.SetEnabled(DownloadLabelName(*part), false);
    for (const Component* part : parts) form.SetEnabled(RemovalLabelName(*part), true);
    if (!c.picture.empty()) form.SetVisible(c.picture, true);
    if (InQuizFamily(c)) RefreshQuizSizeCaption(form);
}

void PrepareFolder(const Component& c, Services& services) {
    if (c.folderToPrepare.empty()) return;
    if (!c.prepareProbe.empty() &&
        services.files.FirstFile(AbsolutePath(services.appFolder, c.prepareProbe) + "*.*").has_value()) {
        return;
    }
    // A folder already there, or a missing parent, is no reason to stop: a
    // download into a missing folder fails and is reported as such.
    services.files.CreateFolder(AbsolutePath(services.appFolder, c.folderToPrepare));
}

}  // namespace

void InstallComponent(Form1& form, std::string_view id, Services& services) {
    const Component& c = ComponentById(id);
    const Titles titles = TitlesOf(c.folder);

    // 1. Ask; any answer but Yes changes nothing.
    if (services.dialogs.Message(Question(c), titles.question, box::kQuestion) != box::kAnswerYes) return;

    // 2. The waiting bar is painted before the blocking work.
    form.SetVisible(kDownloadBar, true);
    services.events.ProcessPendingEvents();

    // 3. The folder the download goes into.
    PrepareFolder(c, services);

    // 4. and 5. The download; the window catches up after it.
    const std::string target = AbsolutePath(services.appFolder, c.localFile);
    const std::int32_t downloaded = services.downloader.Download(DownloadUrl(c), target);
    if (c.kind == InstallKind::Archive) services.events.ProcessPendingEvents();

    // 6. A failed download leaves the window as it was.
    if (downloaded != 0) {
        services.dialogs.Message(DownloadFailure(c, downloaded), titles.failure, box::kOk);
        form.SetVisible(kDownloadBar, false);
        return;
    }

    // 7. An archive is extracted next to where it was written, then deleted.
    Extraction extraction = Extraction::kDone;
    if (c.kind == InstallKind::Archive) {
        extraction = ExtractArchive(target, AbsolutePath(services.appFolder, c.extractionFolder), services, "");
        services.files.RemoveFile(target);
    }

    // 8. The drive's space and the component's state as they are now.
    form.SetCaption(kDownloadSpaceCaption, DiskSpaceReport(services.appFolder, services.disk));
    switch (extraction) {
        case Extraction::kDone:
            ShowInstalled(form, c);
            services.dialogs.Message(SuccessReport(c), titles.success, box::kOk);
            break;
        case Extraction::kFailed:
            ShowWhatTheDriveHolds(form, c, services.appFolder, services.files);
            services.dialogs.Message(FailureReport(c), titles.failure, box::kOk);
            break;
        case Extraction::kUnavailable:
            services.dialogs.Message(ExtractionUnavailable(c), titles.failure, box::kOk);
            break;
    }

    // 9.
    form.SetVisible(kDownloadBar, false);
}
