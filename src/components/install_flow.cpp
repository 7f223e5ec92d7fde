#include "components/install_flow.h"

#include <optional>
#include <string>
#include <vector>

#include "components/component_catalogue.h"
#include "config/build_settings.h"
#include "drive/installed_state_scan.h"
#include "storage/disk_space_report.h"
#include "storage/room_check.h"
#include "storage/staging.h"
#include "trust/verification_report.h"
#include "unzip/extract_archive.h"
#include "window/bounded_text.h"
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

// A file the server's signed catalogue does not vouch for, or a proxy that
// refuses, is said to be so.
std::string DownloadFailure(const Component& c, std::int32_t downloaded) {
    return ExplainedDownloadFailure(downloaded, NameInMessages(c)).value_or(FailureReport(c));
}

std::string ExtractionUnavailable(const Component& c) {
    return WithSupportAddress("Le fichier de " + std::string(NameInMessages(c)) +
                              " a été téléchargé mais n'a pas pu être décompressé : la bibliothèque de "
                              "décompression (unzip32.dll) est absente ou inutilisable. Recommencez "
                              "ultérieurement ou contactez ");
}

constexpr std::string_view kUnwritable =
    "Cantarel Portable ne peut pas écrire sur la clé USB (elle est protégée en écriture, ou l'accès est refusé) : "
    "rien n'a été installé. Retirez la protection, puis recommencez.";

// Downloaded, not unpacked: said so, and why.
std::string NotUnpacked(const Component& c, std::int32_t libraryResult) {
    return WithSupportAddress("Le fichier de " + std::string(NameInMessages(c)) +
                              " a été téléchargé mais n'a pas pu être décompressé : " +
                              std::string(ExtractionFailureReason(libraryResult)) +
                              ". Rien n'a été installé. Recommencez ultérieurement ou contactez ");
}

std::string OutsideItsFolder(const Component& c) {
    return WithSupportAddress("L'archive de " + std::string(NameInMessages(c)) +
                              " contient des fichiers destinés à un autre dossier que le sien : rien n'a été "
                              "installé. Recommencez ultérieurement ou contactez ");
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
    // A folder already there, or a missing parent, is no reason to stop: a
    // download into a missing folder fails and is reported as such.
    services.files.CreateFolder(AbsolutePath(services.appFolder, c.folderToPrepare));
}

// What became of an archive between its download and the component's folder.
enum class Placement { kDone, kFailed, kNotUnpacked, kOutsideItsFolder, kUnavailable, kCancelled };

std::string FileName(std::string_view path) { return std::string(path.substr(path.rfind('\\') + 1)); }

// The archive is unpacked beside it in the staging folder; nothing reaches
// the component's folder unless every file lands inside it, and then it
// arrives by rename: a failure or a pulled key leaves the drive as it was.
Placement UnpackIntoPlace(const Component& c, const std::string& archive, Services& services, std::string& said,
                          std::int32_t& libraryResult) {
    const std::string unpacked = StagingPath(services.appFolder, std::string(c.id) + "\\fichiers\\");
    services.files.CreateFolder(unpacked);
    switch (ExtractArchive(archive, unpacked, services, said, &libraryResult)) {
        case Extraction::kDone:
            break;
        case Extraction::kFailed:
            return Placement::kNotUnpacked;
        case Extraction::kUnavailable:
            return Placement::kUnavailable;
        case Extraction::kCancelled:
            return Placement::kCancelled;
    }
    std::vector<std::string> files;
    if (ListFilesBelow(services.files, unpacked, files) != FileResult::kDone) return Placement::kFailed;
    for (const std::string& file : files) {
        if (!LandsInComponent(c, file)) return Placement::kOutsideItsFolder;
    }
    // Where the component's folder does not exist yet, it arrives in one rename.
    std::string into = AbsolutePath(services.appFolder, c.extractionFolder);
    while (into.ends_with('\\')) into.pop_back();
    if (CreateFolderPath(services.files, into.substr(0, into.rfind('\\') + 1)) != FileResult::kDone) {
        return Placement::kFailed;
    }
    // What the move creates, to take back if the install does not count.
    const std::string staged = unpacked.substr(0, unpacked.size() - 1);
    std::vector<std::string> created;
    std::uint32_t attrs = 0;
    if (services.files.Attributes(into, attrs) == FileResult::kMissing) {
        created.push_back("");
    } else {
        std::vector<FolderEntry> entries;
        services.files.ListFolder(unpacked, entries);
        for (const FolderEntry& entry : entries) {
            if (services.files.Attributes(into + "\\" + entry.name, attrs) == FileResult::kMissing) {
                created.push_back("\\" + entry.name);
            }
        }
    }
    if (MoveIntoPlace(services.files, staged, into) != FileResult::kDone) return Placement::kFailed;
    // The drive decides: an archive that brought nothing the scan counts has
    // not installed the component, and what it brought goes back to staging.
    if (IsComponentInstalled(c.id, services.appFolder, services.files)) return Placement::kDone;
    for (const std::string& entry : created) services.files.Rename(into + entry, staged + entry);
    return Placement::kFailed;
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

    // 3. to 7. Away from the window's thread: the download, and for an
    // archive its unpacking in the staging folder and its move into place.
    // An installer is fetched into its own folder.
    const bool archive = c.kind == InstallKind::Archive;
    std::int32_t downloaded = download_result::kCancelled;
    Placement placement = Placement::kDone;
    std::string librarySaid;
    std::int32_t libraryResult = 0;
    std::optional<NoRoom> noRoom;
    bool unwritable = false;
    services.action.Run([&] {
        // Room for the file and what it unpacks to, before anything is written.
        noRoom = LacksRoom(services.disk, services.appFolder, services.downloader.RoomNeeded(DownloadUrl(c)));
        if (noRoom) return;
        std::string target;
        if (archive) {
            // A key that takes no write is said so once, before anything is fetched.
            unwritable = PrepareStaging(services.files, services.appFolder, c.id) != FileResult::kDone;
            if (unwritable) return;
            target = StagingPath(services.appFolder, std::string(c.id) + "\\" + FileName(c.localFile));
        } else {
            PrepareFolder(c, services);
            target = AbsolutePath(services.appFolder, c.localFile);
        }
        downloaded = services.downloader.Download(DownloadUrl(c), target);
        if (archive && downloaded == download_result::kDone) {
            placement = UnpackIntoPlace(c, target, services, librarySaid, libraryResult);
        }
        if (archive) RemoveStaging(services.files, services.appFolder);
    });
    if (archive) services.events.ProcessPendingEvents();
    if (noRoom || unwritable) {
        services.dialogs.Message(noRoom ? NoRoomReport(NameInMessages(c), *noRoom) : std::string(kUnwritable),
                                 titles.failure, box::kOk);
        form.SetVisible(kDownloadBar, false);
        return;
    }

    // Stopped by the user: the key is as it was, the window too.
    if (downloaded == download_result::kCancelled || placement == Placement::kCancelled) {
        form.SetVisible(kDownloadBar, false);
        return;
    }

    // 6. A failed download leaves the window, and the drive, as they were.
    if (downloaded != 0) {
        services.dialogs.Message(DownloadFailure(c, downloaded), titles.failure, box::kOk);
        form.SetVisible(kDownloadBar, false);
        return;
    }
    // What the library said of a failed extraction comes first, in its own box.
    if (placement == Placement::kNotUnpacked && !librarySaid.empty()) {
        services.dialogs.Message(BoundedText(librarySaid), "", box::kOk);
    }

    // 8. The drive's space and the component's state as they are now.
    form.SetCaption(kDownloadSpaceCaption, DiskSpaceReport(services.appFolder, services.disk));
    switch (placement) {
        case Placement::kDone:
            ShowInstalled(form, c);
            services.dialogs.Message(SuccessReport(c), titles.success, box::kOk);
            break;
        case Placement::kFailed:
            ShowWhatTheDriveHolds(form, c, services.appFolder, services.files);
            services.dialogs.Message(FailureReport(c), titles.failure, box::kOk);
            break;
        case Placement::kNotUnpacked:
            ShowWhatTheDriveHolds(form, c, services.appFolder, services.files);
            services.dialogs.Message(NotUnpacked(c, libraryResult), titles.failure, box::kOk);
            break;
        case Placement::kOutsideItsFolder:
            services.dialogs.Message(OutsideItsFolder(c), titles.failure, box::kOk);
            break;
        case Placement::kUnavailable:
            services.dialogs.Message(ExtractionUnavailable(c), titles.failure, box::kOk);
            break;
        case Placement::kCancelled:
            break;
    }

    // 9.
    form.SetVisible(kDownloadBar, false);
}
