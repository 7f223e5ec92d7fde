#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The catalogue of components: one row per component holding every fact the
// window, the scan and the flows need about it. Everything else that names
// components (launch rows, shortcuts, panel layout, removal texts, the demo
// and test trees) is derived from these rows.

enum class CategoryFolder { Cantarel, Musique, Util, Windows };
enum class InstallKind { Archive, Installer };

// The five sections of the download and removal panels, under their headings.
enum class PanelSection { A, B, C, D, E };

// The picture panels that hold program pictures.
enum class ProgramPanel { kNone, kLecture, kPartitions, kMusique, kOutils, kWindows };

// How a program picture starts its program.
enum class StartKind {
    kShellOpen,  // a file relative to AppFolder handed to the shell's "open"
    kBatch,      // a batch file under system\ started as a hidden process
};

// The checks that run before a program starts; the first that does not let
// the launch through ends the click.
enum class Gate { kNone, kDotNet4, kDotNet35, kSqlCompact35, kRefuse64Bit, kLibraries };

// The quiz archive holds every questionnaire: installing or removing the quiz
// acts on its topics too, and its removal caption adds up what is installed.
enum class Family { kAlone, kQuiz, kQuizTopic };

// What a click on the removal label asks and reports. `subject` completes
// "La suppression ... est incomplète" when files are left behind.
struct RemovalTexts {
    std::string_view questionTitle;
    std::string_view question;
    std::string_view resultTitle;
    std::string_view result;
    std::string_view subject;
};

// How the component's picture starts its program; no name: the picture
// starts nothing of its own (the Windows panel's installers).
struct LaunchDetails {
    std::string_view name;  // the program's name in a message
    StartKind kind = StartKind::kShellOpen;
    // Shell open: relative, no leading backslash. Batch: appended to AppFolder.
    std::string_view target;
    // When set: the target is used if this file (leading backslash, appended
    // to AppFolder) is on the drive, `fallBack` if not.
    std::string_view probe;
    std::string_view fallBack;
    std::array<Gate, 3> gates{};
    // Batch programs: the shortcut beside the batch file ("x.bat", "x.lnk")
    // that start-up writes, in this order, to the program in its folder; the
    // icon is the program's unless given.
    int shortcutOrder = 0;
    std::string_view program;
    std::string_view workingFolder;
    std::string_view icon;
};

// One installable component. Relative paths begin with a backslash and are
// joined to AppFolder as they stand; an empty text means "none".
struct Component {
    std::string_view id;
    // Its line in the download and removal panels.
    PanelSection section;
    int row;  // 1-based row within the section
    int labelTop;
    std::string_view downloadCaption;
    std::string_view removalCaption;  // when it differs from the download caption
    std::string_view labelTooltip;
    // Its program picture, the picture's tooltip, panel and cell (row by row,
    // four to a row).
    std::string_view picture;
    std::string_view pictureTooltip;
    ProgramPanel panel = ProgramPanel::kNone;
    int cell = 0;
    // Where it comes from and where it goes.
    CategoryFolder folder;
    InstallKind kind;
    std::string_view archive;  // its file on the server, in the category's folder
    std::string_view localFile;
    std::string_view extractionFolder;  // archives only
    std::string_view folderToPrepare;   // installers: created before the download
    std::string_view installedFolder;
    std::string_view otherInstalledFolder;  // a second folder the scan tests
    int scanOrder;                          // its place in the start-up scan
    // Install messages: the name put into the fixed sentences, or, for the
    // Windows rows, the whole texts (the failure text stops before the address).
    std::string_view messageName;
    std::string_view question;
    std::string_view successReport;
    std::string_view failureReport;
    RemovalTexts removal;
    LaunchDetails launch;
    // The quiz and its topics: the size each adds to the quiz removal
    // caption, and the questionnaires each installs in the quiz's
    // questionnaire folder (the quiz: the general one).
    Family family = Family::kAlone;
    int megabytes = 0;
    std::span<const std::string_view> questionnaires;
    // A Windows component that is an archive of installers: the ones its
    // picture starts, one after the other.
    std::span<const std::string_view> installers;
};

// The 35 components in the order of the panels.
std::span<const Component> AllComponents();

// The row of `id`, or nullptr.
const Component* FindComponent(std::string_view id);
// The row of `id`; `id` must be a catalogue id.
const Component& ComponentById(std::string_view id);
// The row whose program picture this is, or nullptr.
const Component* ComponentOfPicture(std::string_view picture);

// The quiz and each of its topics.
bool InQuizFamily(const Component& component);
const Component& QuizProgram();
// What an install or removal of `component` acts on: the quiz brings its
// topics with it; any other component is alone.
std::vector<const Component*> ActedOnWith(const Component& component);

// The folder of every questionnaire, in the quiz's folder.
std::string QuestionnaireFolder();

// Whether an archive's file (its path under the extraction folder, with
// backslashes) lands where the component may write: in its own folder, or
// for a quiz topic, one of its questionnaires or the general one. Anything else would land in
// another component's folder.
bool LandsInComponent(const Component& component, std::string_view pathInExtractionFolder);

std::string_view RemovalCaption(const Component& component);
// The component as the install messages name it: its message name, or for
// the Windows rows, which have none, its download caption.
std::string_view NameInMessages(const Component& component);

std::string DownloadLabelName(const Component& component);
std::string RemovalLabelName(const Component& component);

// The path on the download server, and DownloadBase followed by it.
std::string ServerPath(const Component& component);
std::string DownloadUrl(const Component& component);

// AppFolder followed by a relative path that begins with a backslash. At a
// drive's root AppFolder keeps its backslash and the join doubles it, which
// the file system accepts.
std::string AbsolutePath(std::string_view appFolder, std::string_view relative);

// The heading texts of the five sections, the heading labels of each panel,
// and where the heading stands: the label column and the line's top.
struct SectionHeading {
    PanelSection section;
    std::string_view text;
    std::string_view downloadLabel;
    std::string_view removalLabel;
    int column;
    int top;
};
std::span<const SectionHeading> SectionHeadings();
