#pragma once

#include <span>
#include <string>
#include <string_view>

enum class CategoryFolder { Cantarel, Musique, Util, Windows };
enum class InstallKind { Archive, Installer };

// The five sections of the download and removal panels, under their headings.
enum class PanelSection { A, B, C, D, E };

// One installable component. Relative paths begin with a backslash and are
// joined to AppFolder as they stand; an empty text means "none".
struct Component {
    std::string_view id;
    PanelSection section;
    int row;  // 1-based row within the section
    std::string_view downloadCaption;
    std::string_view removalCaption;
    std::string_view labelTooltip;
    std::string_view picture;  // program picture control
    std::string_view pictureTooltip;
    CategoryFolder folder;
    InstallKind kind;
    std::string_view serverPath;
    std::string_view localFile;
    std::string_view extractionFolder;  // archives only
    std::string_view folderToPrepare;   // created before the download
    std::string_view prepareProbe;      // when set, the folder is created only if this holds no file
    std::string_view installedFolder;
    // Install messages: the name put into the fixed sentences, or, for the
    // Windows rows, the whole texts (the failure text stops before the address).
    std::string_view messageName;
    std::string_view question;
    std::string_view successReport;
    std::string_view failureReport;
};

// The 35 components in the order of the panels.
std::span<const Component> AllComponents();

// The row of `id`, or nullptr.
const Component* FindComponent(std::string_view id);
// The row of `id`; `id` must be a catalogue id.
const Component& ComponentById(std::string_view id);

std::string DownloadLabelName(const Component& component);
std::string RemovalLabelName(const Component& component);

// DownloadBase followed by the server path.
std::string DownloadUrl(const Component& component);

// AppFolder followed by a relative path that begins with a backslash. At a
// drive's root AppFolder keeps its backslash and the join doubles it, which
// the file system accepts.
std::string AbsolutePath(std::string_view appFolder, std::string_view relative);

// The heading texts of the five sections, and the heading labels of each panel.
struct SectionHeading {
    PanelSection section;
    std::string_view text;
    std::string_view downloadLabel;
    std::string_view removalLabel;
};
std::span<const SectionHeading> SectionHeadings();
