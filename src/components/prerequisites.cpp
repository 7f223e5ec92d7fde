#include "components/prerequisites.h"

#include <array>
#include <initializer_list>
#include <string>

#include "components/component_catalogue.h"
#include "components/launch_start.h"
#include "config/build_settings.h"
#include "drive/system_probes.h"
#include "storage/disk_space_report.h"
#include "storage/room_check.h"
#include "storage/run_and_wait.h"
#include "trust/verification_report.h"
#include "window/hover_feedback.h"
#include "window/window_layout.h"

namespace {

constexpr std::string_view kUpdateQuestion =
    "Ce programme a besoin de mettre à jour votre système pour fonctionner. Voulez-vous continuer?";
constexpr std::string_view kFailureTitle = "Téléchargement d'un programme";
constexpr std::string_view kLibrariesTitle = "Mise à jour de windows";
constexpr std::string_view kRefusal64Bit = "Désolé. Ce programme ne peut pas fonctionner sur un système 64 bits";
constexpr std::string_view kRegistrationTool = "system\\Enregistrement_dll_ocx.exe";

constexpr std::array<std::string_view, 7> kLibraries{"dx7vb.dll",    "dx8vb.dll",    "COMDLG32.OCX", "DBLIST32.OCX",
                                                     "MSCOMCT2.OCX", "RICHTX32.OCX", "MSJINT35.DLL"};

enum class Presence {
    kWindowsFolderName,  // a folder or file of that name under %SystemRoot%
    kProgramFilesFile,   // a file under %ProgramFiles%
};

struct InstallerGate {
    Gate gate;
    std::string_view id;  // catalogue row of the prerequisite
    Presence presence;
    std::string_view presencePath;
    std::string_view firstTitle;
    std::string_view secondTitle;
    std::string_view secondText;
    std::string_view failureText;  // up to the support address
    // Where the gate saves the installer when not where the download panel
    // does: the .NET 3.5 gate as "dotnetfx35.exe.exe", beside the panel's
    // "dotnetfx35.exe". The gates fetch it from their own server folder,
    // under the same name.
    std::string_view localFile;
};

constexpr std::string_view kGateServerFolder = "/logiciels/portable/Windows/";

constexpr InstallerGate kInstallerGates[] = {
    {.gate = Gate::kDotNet4,
     .id = "framework_4",
     .presence = Presence::kWindowsFolderName,
     .presencePath = "\\Microsoft.NET\\Framework\\v4.0.30319",
     .firstTitle = "Installation du Framework.net Version 4",
     .secondTitle = "Téléchargement du Framework.net Version 4",
     .secondText = "Le Framework.net Version 4 doit être téléchargé. Voulez-vous le télécharger (taille du fichier : "
                   "48 Mo)?",
     .failureText = "Le framework .NET 4 n'a pas pu être téléchargé sur votre disque! Recommencez ultérieurement ou "
                    "contactez "},
    {.gate = Gate::kDotNet35,
     .id = "framework_35",
     .presence = Presence::kWindowsFolderName,
     .presencePath = "\\Microsoft.NET\\Framework\\v3.5",
     .firstTitle = "Installation du Framework.net Version 3.5",
     .secondTitle = "Téléchargement du Framework.net Version 3.5",
     .secondText = "Le Framework.net Version 3.5 doit être téléchargé. Voulez-vous le télécharger (taille du fichier "
                   ": 237 Mo)?",
     .failureText = "Le framework .NET 35 n'a pas pu être téléchargé sur votre disque! Recommencez ultérieurement ou "
                    "contactez ",
     .localFile = "\\Windows\\dotnet35\\dotnetfx35.exe.exe"},
    {.gate = Gate::kSqlCompact35,
     .id = "sql_35",
     .presence = Presence::kProgramFilesFile,
     .presencePath = "\\Microsoft SQL Server Compact Edition\\v3.5\\sqlcecompact35.dll",
     .firstTitle = "Installation du SQL Compact Server 3.5",
     .secondTitle = "Téléchargement du SQL Compact Server 3.5",
     .secondText = "SQL Compact Server 3.5 doit être téléchargé. Voulez-vous le télécharger (taille du fichier : 3 "
                   "Mo)?",
     .failureText = "SQL Compact Server 3.5 n'a pas pu être téléchargé sur votre disque! Recommencez ultérieurement "
                    "ou contactez "},
};

// Where the gate saves the installer, and where it fetches it.
std::string_view LocalFileOf(const InstallerGate& row) {
    return row.localFile.empty() ? ComponentById(row.id).localFile : row.localFile;
}

std::string ServerPathOf(const InstallerGate& row) {
    const std::string_view local = LocalFileOf(row);
    return std::string(kGateServerFolder) + std::string(local.substr(local.rfind('\\') + 1));
}

const InstallerGate* FindInstallerGate(Gate gate) {
    for (const InstallerGate& row : kInstallerGates) {
        if (row.gate == gate) return &row;
    }
    return nullptr;
}

bool PrerequisitePresent(const InstallerGate& row, Services& services) {
    if (row.presence == Presence::kWindowsFolderName) {
        // Without the variable the folder cannot be found: the prerequisite
        // counts as missing.
        const std::optional<std::string> windows = services.environment.Variable("systemroot");
        if (!windows) return false;
        return services.system.Attributes(*windows + std::string(row.presencePath)).has_value();
    }
    return FileExists(services.system, services.environment.Expand("%programFiles%") + std::string(row.presencePath));
}

const InstallerGate* GateOf(const Component& component) {
    for (const InstallerGate& row : kInstallerGates) {
        if (row.id == component.id) return &row;
    }
    return nullptr;
}

// The Windows panel: the catalogue's Windows pictures start the installer on
// the drive (the one their gate saves first, where it names it otherwise),
// the speech archive's two installers one after the other; and the
// registration tool's picture.
constexpr std::string_view kRegistrationPicture = "Picture_dll";

const Component* WindowsPanelComponent(std::string_view picture) {
    const Component* component = ComponentOfPicture(picture);
    return component && component->panel == ProgramPanel::kWindows ? component : nullptr;
}

// A program that did not start is said so, named, with where it should be.
void SayNotStarted(Services& services, std::string_view what, std::string_view file) {
    services.dialogs.Message(WithSupportAddress(std::string(what) + " n'a pas pu être démarré (" + std::string(file) +
                                                ") : le fichier manque sur la clé USB, ou Windows a refusé de "
                                                "l'ouvrir. Recommencez, ou contactez "),
                             "", box::kOk);
}

void OpenOrSay(Services& services, std::string_view file, std::string_view what) {
    if (!OpenInAppFolder(services, file)) SayNotStarted(services, what, file);
}

std::string InstallerOf(const Component& component) {
    return "Le programme d'installation de " + std::string(NameInMessages(component));
}

// The installer on the drive: under its real name, as the download panel
// saves it, first; then under the name the gate saves it by, where that
// differs (.NET 3.5's "dotnetfx35.exe.exe").
void StartInstaller(const Component& component, Services& services) {
    const std::string_view panelInstaller = component.localFile.substr(1);
    const InstallerGate* gate = GateOf(component);
    const std::string_view gateInstaller = gate ? LocalFileOf(*gate).substr(1) : panelInstaller;
    if (gateInstaller == panelInstaller) {
        OpenOrSay(services, panelInstaller, InstallerOf(component));
    } else {
        OpenOrSay(services, FirstOnDrive(services, {panelInstaller, gateInstaller}), InstallerOf(component));
    }
}

void CreateFolders(std::string_view relativeFolder, Services& services) {
    // Every level from the category folder down: a folder already there is
    // no reason to stop, and a download into a folder that could not be
    // made fails and is reported as such.
    for (std::size_t at = relativeFolder.find('\\', 1); at != std::string_view::npos;
         at = relativeFolder.find('\\', at + 1)) {
        services.files.CreateFolder(AbsolutePath(services.appFolder, relativeFolder.substr(0, at + 1)));
    }
}

GateOutcome RunInstallerGate(const InstallerGate& row, Form1& form, Services& services) {
    // 1. Present: the launch goes on.
    if (PrerequisitePresent(row, services)) return GateOutcome::kGoOn;

    // 2. The first question.
    if (services.dialogs.Message(kUpdateQuestion, row.firstTitle, box::kWarning) != box::kAnswerYes) {
        return GateOutcome::kEndClick;
    }

    // 3. The installer already on the drive starts at once.
    const Component& component = ComponentById(row.id);
    if (!form.Get(DownloadLabelName(component)).enabled) {
        StartInstaller(component, services);
        return GateOutcome::kEndClick;
    }

    // 4. The second question, with the size of the download.
    if (services.dialogs.Message(row.secondText, row.secondTitle, box::kWarning) != box::kAnswerYes) {
        return GateOutcome::kEndClick;
    }

    // 5. The waiting bar is painted before the blocking download.
    form.SetVisible(kDownloadBar, true);
    services.events.ProcessPendingEvents();

    // 6. and 7.
    const std::string_view localFile = LocalFileOf(row);
    const std::string url = std::string(kDownloadBase) + ServerPathOf(row);
    std::int32_t downloaded = download_result::kCancelled;
    std::optional<NoRoom> noRoom;
    services.action.Run([&] {
        noRoom = LacksRoom(services.disk, services.appFolder, services.downloader.RoomNeeded(url));
        if (noRoom) return;
        CreateFolders(localFile.substr(0, localFile.rfind('\\') + 1), services);
        downloaded = services.downloader.Download(url, AbsolutePath(services.appFolder, localFile));
    });

    if (noRoom) {
        services.dialogs.Message(NoRoomReport(NameInMessages(component), *noRoom), kFailureTitle, box::kOk);
        form.SetVisible(kDownloadBar, false);
        return GateOutcome::kEndClick;
    }

    // 8. A failed download changes nothing else; one stopped by the user says nothing.
    if (downloaded == download_result::kCancelled) {
        form.SetVisible(kDownloadBar, false);
        return GateOutcome::kEndClick;
    }
    if (downloaded != download_result::kDone) {
        services.dialogs.Message(ExplainedDownloadFailure(downloaded, NameInMessages(component))
                                     .value_or(WithSupportAddress(row.failureText)),
                                 kFailureTitle, box::kOk);
        form.SetVisible(kDownloadBar, false);
        return GateOutcome::kEndClick;
    }

    // 9. The window as after a download from the panel; the installer runs
    // instead of the program.
    form.SetCaption(kDownloadSpaceCaption, DiskSpaceReport(services.appFolder, services.disk));
    form.SetEnabled(DownloadLabelName(component), false);
    form.SetEnabled(RemovalLabelName(component), true);
    form.SetVisible(component.picture, true);
    form.SetVisible(kDownloadBar, false);
    SetHoverArmed(form, false);
    form.SetImage(component.picture, NormalImageOf(component.picture));
    StartInstaller(component, services);
    return GateOutcome::kEndClick;
}

GateOutcome RunLibraryGate(Services& services) {
    // Every library is loaded once, even after one is found missing.
    bool allLoad = true;
    for (std::string_view library : kLibraries) {
        if (!IsDLLAvailable(services.system, library)) allLoad = false;
    }
    if (allLoad) return GateOutcome::kGoOn;
    if (services.dialogs.Message(kUpdateQuestion, kLibrariesTitle, box::kWarning) == box::kAnswerYes) {
        StartRegistrationTool(services);
    }
    return GateOutcome::kEndClick;
}

}  // namespace

GateOutcome RunGate(Gate gate, Form1& form, Services& services) {
    switch (gate) {
        case Gate::kNone:
            return GateOutcome::kGoOn;
        case Gate::kRefuse64Bit:
            if (!Is64BitSystem(services.system)) return GateOutcome::kGoOn;
            services.dialogs.Message(kRefusal64Bit, "", box::kOk);
            return GateOutcome::kEndClick;
        case Gate::kLibraries:
            return RunLibraryGate(services);
        default:
            return RunInstallerGate(*FindInstallerGate(gate), form, services);
    }
}

std::vector<std::string> GateServerPaths() {
    std::vector<std::string> paths;
    for (const InstallerGate& row : kInstallerGates) paths.push_back(ServerPathOf(row));
    return paths;
}

std::string_view RegistrationTool() { return kRegistrationTool; }

constexpr std::string_view kRegistrationToolName = "L'outil d'enregistrement des composants";

void StartRegistrationTool(Services& services) {
    if (GetWindowsVersion(services.system) == "Windows XP") {
        OpenOrSay(services, kRegistrationTool, kRegistrationToolName);
        return;
    }
    // "runas" asks for administrator rights. The tool is named relative to
    // AppFolder, so AppFolder is its working folder too: the launcher's own
    // working folder need not be the drive's.
    const std::optional<Processes::Handle> started = services.processes.StartThroughShell(
        {.file = std::string(kRegistrationTool),
         .parameters = "",
         .folder = services.appFolder,
         .showCommand = 1,
         .verb = "runas"});
    if (started) {
        services.processes.Close(*started);
    } else {
        SayNotStarted(services, kRegistrationToolName, kRegistrationTool);
    }
}

bool IsWindowsPanelPicture(std::string_view picture) {
    return picture == kRegistrationPicture || WindowsPanelComponent(picture) != nullptr;
}

bool WindowsPanelPictureMayTakeLong(std::string_view picture) {
    const Component* component = WindowsPanelComponent(picture);
    return component != nullptr && component->kind == InstallKind::Archive;
}

void ClickWindowsPanelPicture(Form1& form, std::string_view picture, Services& services) {
    if (!IsWindowsPanelPicture(picture)) return;
    SetHoverArmed(form, false);
    form.SetImage(picture, NormalImageOf(picture));
    const Component* component = WindowsPanelComponent(picture);
    if (component == nullptr) {
        StartRegistrationTool(services);
    } else if (component->kind == InstallKind::Installer) {
        StartInstaller(*component, services);
    } else {
        // The second installer follows whatever became of the first.
        const std::string_view first = component->installers[0].substr(1);
        if (RunAndWait(services.processes, services.events, AbsolutePath(services.appFolder, component->installers[0]),
                       "", "", 5, 200) == kRunAndWaitStartFailed) {
            SayNotStarted(services, InstallerOf(*component), first);
        }
        if (services.events.QuitAsked()) return;
        const std::string_view second = component->installers[1].substr(1);
        OpenOrSay(services, second, InstallerOf(*component));
    }
}
