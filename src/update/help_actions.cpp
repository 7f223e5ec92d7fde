#include "update/help_actions.h"

#include <algorithm>
#include <array>

#include "config/build_settings.h"
#include "components/component_catalogue.h"
#include "components/launch_start.h"
#include "window/hover_feedback.h"
#include "window/window_layout.h"

namespace {

// The window-show values of the platform.
constexpr int kHidden = 0;
constexpr int kNormal = 1;

struct HelpFile {
    std::string_view picture;
    std::string_view batchFile;  // under AppFolder
};

constexpr std::array<HelpFile, 4> kHelpFiles{{
    {"Picture_utilisation_portable", "\\aide\\portable.bat"},
    {"Picture_description_programmes", "\\aide\\programmes.bat"},
    {"Picture_version", "\\aide\\versions.bat"},
    {"Picture_erreurs", "\\aide\\erreurs.bat"},
}};

constexpr std::string_view kAboutPicture = "Picture_apropos";
constexpr std::string_view kAboutTitle = "A propos de Cantarel Portable";

struct DocumentFolder {
    std::string_view picture;
    std::string_view folder;  // relative to the working folder
};

constexpr std::array<DocumentFolder, 7> kDocumentFolders{{
    {"Picture_documents_accueil", "Mes documents\\"},
    {"Picture_documents_musiques", "Mes documents\\Musiques\\"},
    {"Picture_documents_partitions", "Mes documents\\Partitions\\"},
    {"Picture_documents_papiers", "Mes documents\\Papiers à musique\\"},
    {"Picture_documents_images", "Mes documents\\Images\\"},
    {"Picture_documents_videos", "Mes documents\\Vidéos\\"},
    {"Picture_documents_autres", "Mes documents\\Autres documents\\"},
}};

constexpr std::string_view kExplorer = "C:\\WINDOWS\\EXPLORER.EXE ";

const HelpFile* HelpFileOf(std::string_view picture) {
    const auto found = std::find_if(kHelpFiles.begin(), kHelpFiles.end(),
                                    [&](const HelpFile& h) { return h.picture == picture; });
    return found == kHelpFiles.end() ? nullptr : &*found;
}

const DocumentFolder* DocumentFolderOf(std::string_view picture) {
    const auto found = std::find_if(kDocumentFolders.begin(), kDocumentFolders.end(),
                                    [&](const DocumentFolder& d) { return d.picture == picture; });
    return found == kDocumentFolders.end() ? nullptr : &*found;
}

// The batch file's full path and nothing else, unquoted even with spaces in
// AppFolder; started hidden, so its console is never seen.
void OpenHelpFile(const HelpFile& help, Services& services) {
    const std::string path = AbsolutePath(services.appFolder, help.batchFile);
    if (services.processes.StartCommandLine(BatchCommandLine(services.appFolder, help.batchFile), kHidden,
                                            services.appFolder)) {
        return;
    }
    services.dialogs.Message("Le fichier d'aide " + path + " n'a pas pu être ouvert!", "", box::kOk);
}

// Explorer is given the folder's full path, quoted, and nothing else: a
// relative one would depend on how Explorer resolves it, and the "/n,/e,"
// switches are not read alike by every Explorer (Wine's opens the desktop).
// A folder alone opens in a new window everywhere. The trailing backslash
// goes, or it would escape the closing quote. Where Explorer is not at its
// classic place (a Windows installed elsewhere than C:\WINDOWS), the shell
// opens the same folder.
void OpenDocumentFolder(const DocumentFolder& documents, Services& services) {
    const std::string folder = AbsolutePath(services.appFolder, "\\" + std::string(documents.folder));
    std::string quoted = folder;
    while (quoted.size() > 3 && quoted.back() == '\\') quoted.pop_back();
    const std::string commandLine = std::string(kExplorer) + "\"" + quoted + "\"";
    if (services.processes.StartCommandLine(commandLine, kNormal, services.appFolder)) return;
    const auto started = services.processes.StartThroughShell(
        {.file = folder, .parameters = "", .folder = services.appFolder, .showCommand = kNormal});
    if (started) {
        services.processes.Close(*started);
        return;
    }
    services.dialogs.Message("Le dossier " + folder + " n'a pas pu être ouvert!", "", box::kOk);
}

}  // namespace

std::string AboutText() {
    return "Cantarel Portable - Version " + std::string(kRunningVersion) +
           "\r\nUne suite d'éducation musicale pour les écoles de musique, les professeurs et leurs élèves."
           "\r\nCopyright © 2008-2026 Cantarel Musique. Tous droits réservés.";
}

bool IsHelpOrDocumentPicture(std::string_view picture) {
    return HelpFileOf(picture) || DocumentFolderOf(picture) || picture == kAboutPicture;
}

void HelpOrDocumentClick(Form1& form, std::string_view picture, Services& services) {
    if (!IsHelpOrDocumentPicture(picture)) return;

    // 1. and 2. The picture must not light up again under a pointer at rest.
    SetHoverArmed(form, false);
    form.SetImage(picture, NormalImageOf(picture));

    // 3.
    if (const HelpFile* help = HelpFileOf(picture)) {
        OpenHelpFile(*help, services);
    } else if (const DocumentFolder* documents = DocumentFolderOf(picture)) {
        OpenDocumentFolder(*documents, services);
    } else {
        services.dialogs.Message(AboutText(), kAboutTitle, box::kOk);
    }
}
