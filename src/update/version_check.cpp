#include "update/version_check.h"

#include <cstdint>
#include <vector>

#include "config/build_settings.h"
#include "components/component_catalogue.h"
#include "trust/verification_report.h"
#include "storage/room_check.h"
#include "storage/staging.h"
#include "unzip/extract_archive.h"
#include "update/launcher_swap.h"
#include "window/bounded_text.h"
#include "window/window_layout.h"

namespace {

constexpr std::string_view kLocalVersionFile = "\\version.txt";
constexpr std::string_view kLocalPackage = "\\CantarelPortable.zip";

// The window-show value of a normal window.
constexpr int kShowNormal = 1;

struct Texts {
    std::string_view packageName = "la mise à jour de Cantarel Portable";
    std::string_view versionName = "la version de Cantarel Portable";
    std::string_view checkFailedTitle = "Installation d'un programme Cantarel";
    std::string_view checkFailed =
        "Il n'est pas possible de vérifier si vous avez la dernière version! Recommencez ultérieurement ou "
        "contactez ";
    std::string_view upToDateTitle = "Vérification de la version de Cantarel Portable";
    std::string_view upToDate = "Vous avez la dernière version!";
    std::string_view updateTitle = "Mise à jour de Cantarel Portable";
    std::string_view question = "Voulez-vous mettre à jour Cantarel Portable de la version ";
    std::string_view packageMissing =
        "La mise à jour de Cantarel Portable n'a pas pu être téléchargée! Recommencez ultérieurement ou "
        "contactez ";
    std::string_view packageUnusable =
        "La mise à jour de Cantarel Portable n'a pas pu être décompressée! Recommencez ultérieurement ou "
        "contactez ";
    std::string_view extractionUnavailable =
        "La mise à jour de Cantarel Portable a été téléchargée mais n'a pas pu être décompressée : la "
        "bibliothèque de décompression (unzip32.dll) est absente ou inutilisable. Recommencez ultérieurement "
        "ou contactez ";
    std::string_view notALauncherPackage =
        "La mise à jour de Cantarel Portable contient d'autres fichiers que ceux du lanceur : elle n'a pas été "
        "installée et la version actuelle reste en place. Recommencez ultérieurement ou contactez ";
    std::string_view notSwapped =
        "La mise à jour de Cantarel Portable n'a pas pu remplacer les fichiers du lanceur : la version actuelle "
        "reste en place. Recommencez ultérieurement ou contactez ";
    std::string_view notStarted =
        "La mise à jour de Cantarel Portable a été décompressée mais le programme CantarelPortable.exe n'a "
        "pas pu être démarré! Recommencez ultérieurement ou contactez ";
};
constexpr Texts kTexts;

std::string Url(std::string_view path) { return std::string(kDownloadBase) + std::string(path); }

// The update is prepared in its own staging folder: the package, what it
// unpacks to, and the launcher files it replaces.
constexpr std::string_view kStagingName = "mise-a-jour";

std::string Staged(const Services& services, std::string_view name) {
    return StagingPath(services.appFolder, std::string(kStagingName) + "\\" + std::string(name));
}

std::string AppFolderWithBackslash(const Services& services) {
    return services.appFolder.ends_with('\\') ? services.appFolder : services.appFolder + "\\";
}

// Says why the update stopped and clears what it prepared: the launcher's
// files have not been touched.
void Abandon(Services& services, std::string_view message) {
    RemoveStaging(services.files, services.appFolder);
    if (!message.empty()) services.dialogs.Message(WithSupportAddress(message), kTexts.updateTitle, box::kOk);
}

// How the update's work ended, before the new program is started.
enum class Prepared {
    kSwapped,
    kNoRoom,
    kDownloadFailed,
    kExtractionFailed,
    kUnavailable,
    kNotALauncher,
    kNotSwapped,
    kCancelled
};

// Away from the window's thread: the package is verified as it downloads,
// unpacked into staging, checked to hold only launcher files and swapped in
// by renames. Anything before the swap leaves every launcher file as it was.
Prepared PrepareUpdate(Services& services, std::int32_t& downloaded, std::string& librarySaid,
                       std::optional<NoRoom>& noRoom) {
    noRoom = LacksRoom(services.disk, services.appFolder, services.downloader.RoomNeeded(Url(kPackageUrlPath)));
    if (noRoom) return Prepared::kNoRoom;
    PrepareStaging(services.files, services.appFolder, kStagingName);
    const std::string package = Staged(services, kLocalPackage.substr(1));
    downloaded = services.downloader.Download(Url(kPackageUrlPath), package);
    if (downloaded == download_result::kCancelled) return Prepared::kCancelled;
    if (downloaded != download_result::kDone) return Prepared::kDownloadFailed;

    const std::string unpacked = Staged(services, "fichiers\\");
    services.files.CreateFolder(unpacked);
    switch (ExtractArchive(package, unpacked, services, librarySaid)) {
        case Extraction::kDone:
            break;
        case Extraction::kFailed:
            return Prepared::kExtractionFailed;
        case Extraction::kUnavailable:
            return Prepared::kUnavailable;
        case Extraction::kCancelled:
            return Prepared::kCancelled;
    }
    std::vector<std::string> packageFiles;
    if (ListFilesBelow(services.files, unpacked, packageFiles) != FileResult::kDone || !OnlyLauncherFiles(packageFiles)) {
        return Prepared::kNotALauncher;
    }
    const std::string retired = Staged(services, "ancien\\");
    services.files.CreateFolder(retired);
    if (SwapInLauncherFiles(services.files, unpacked, AppFolderWithBackslash(services), retired, packageFiles) !=
        FileResult::kDone) {
        return Prepared::kNotSwapped;
    }
    return Prepared::kSwapped;
}

// The update after Yes. The launcher closes only once the new program has
// started; any failed step is reported and the launcher keeps running.
void Update(Services& services, MainWindow& window) {
    // 1. to 4. The window catches up after the work.
    Prepared prepared = Prepared::kCancelled;
    std::int32_t downloaded = download_result::kCancelled;
    std::string librarySaid;
    std::optional<NoRoom> noRoom;
    services.action.Run([&] { prepared = PrepareUpdate(services, downloaded, librarySaid, noRoom); });
    services.events.ProcessPendingEvents();
    switch (prepared) {
        case Prepared::kSwapped:
            break;
        case Prepared::kCancelled:
            return Abandon(services, "");
        case Prepared::kNoRoom:
            services.dialogs.Message(NoRoomReport(kTexts.packageName, *noRoom), kTexts.updateTitle, box::kOk);
            return;
        case Prepared::kDownloadFailed:
            RemoveStaging(services.files, services.appFolder);
            services.dialogs.Message(ExplainedDownloadFailure(downloaded, kTexts.packageName)
                                         .value_or(WithSupportAddress(kTexts.packageMissing)),
                                     kTexts.updateTitle, box::kOk);
            return;
        case Prepared::kExtractionFailed:
            // When the library says nothing of a failure, the user still hears of it.
            services.dialogs.Message(librarySaid.empty() ? WithSupportAddress(kTexts.packageUnusable) : BoundedText(librarySaid),
                                     "", box::kOk);
            return Abandon(services, "");
        case Prepared::kUnavailable:
            return Abandon(services, kTexts.extractionUnavailable);
        case Prepared::kNotALauncher:
            return Abandon(services, kTexts.notALauncherPackage);
        case Prepared::kNotSwapped:
            return Abandon(services, kTexts.notSwapped);
    }

    // 5. The program the package brought, in AppFolder.
    const auto started = services.processes.StartThroughShell(
        {.file = std::string(kNewProgram), .parameters = "", .folder = services.appFolder, .showCommand = kShowNormal});
    if (started) services.processes.Close(*started);

    // 6. What the running launcher still holds stays for the next start.
    RemoveStaging(services.files, services.appFolder);

    // 7. Closing leaves the update to the new program; without it the user
    // would be left with neither.
    if (!started) {
        services.dialogs.Message(WithSupportAddress(kTexts.notStarted), kTexts.updateTitle, box::kOk);
        return;
    }
    window.Close();
}

}  // namespace

std::optional<std::string> VersionOfFile(std::string_view text) {
    std::string_view last;
    bool anyLine = false;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        anyLine = true;
        if (end == std::string_view::npos) {
            last = text.substr(start);
            break;
        }
        last = text.substr(start, end - start);
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    if (!anyLine || last.empty()) return std::nullopt;
    return std::string(last);
}

void CheckForUpdate(Form1& form, Services& services, MainWindow& window) {
    const std::string localCopy = AbsolutePath(services.appFolder, kLocalVersionFile);

    // 1. The version file, checked against a catalogue asked afresh: an
    // update is offered only from what the server signed today.
    services.downloader.StartAfresh();
    const std::int32_t downloaded = services.downloader.Download(Url(kVersionUrlPath), localCopy);
    services.events.ProcessPendingEvents();

    // 2. to 4. Read, then removed whatever was read. A file that names no
    // version is a failed check, not an offer of an empty or stale version.
    std::optional<std::string> version;
    if (downloaded == download_result::kDone) {
        if (const auto text = services.textFiles.ReadText(localCopy)) version = VersionOfFile(*text);
    }
    services.files.RemoveFile(localCopy);
    if (const auto explained = ExplainedDownloadFailure(downloaded, kTexts.versionName)) {
        services.dialogs.Message(*explained, kTexts.checkFailedTitle, box::kOk);
        return;
    }
    if (!version || !IsVersion(*version)) {
        services.dialogs.Message(WithSupportAddress(kTexts.checkFailed), kTexts.checkFailedTitle, box::kOk);
        return;
    }
    form.SetCaption(kServerVersion, *version);

    // 5. and 6. Only a later version is offered: a server that names the
    // running one, or an older one, cannot take the key back to it.
    if (!IsLaterVersion(*version, kRunningVersion)) {
        services.dialogs.Message(kTexts.upToDate, kTexts.upToDateTitle, box::kOk);
        return;
    }

    // 7. Any answer but Yes leaves everything as it was.
    const std::string question =
        std::string(kTexts.question) + std::string(kRunningVersion) + " vers la version " + *version + " ?";
    if (services.dialogs.Message(question, kTexts.updateTitle, box::kQuestion) != box::kAnswerYes) return;
    Update(services, window);
}
