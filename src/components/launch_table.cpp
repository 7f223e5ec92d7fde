#include "components/launch_table.h"

#include <algorithm>

namespace {

using enum StartKind;
using enum Gate;

constexpr std::array<Gate, 3> kNoGate{kNone, kNone, kNone};

constexpr LaunchRow kRows[] = {
    {"7zip", "Picture_7zip", "7-Zip", kShellOpen, "Util\\7-zip\\7zFM.exe", "", "", kNoGate},
    {"firefox", "Picture_firefox", "Firefox", kShellOpen, "Util\\Firefox\\FirefoxPortable.exe", "", "", kNoGate},
    {"thunderbird", "Picture_thunderbird", "Thunderbird", kShellOpen, "Util\\Thunderbird\\ThunderbirdPortable.exe",
     "", "", kNoGate},
    {"libreoffice", "Picture_libreoffice", "Libre Office", kShellOpen, "Util\\LibreOffice\\LibreOfficePortable.exe",
     "", "", kNoGate},
    {"", "Picture_sumatra_pdf", "Sumatra PDF", kShellOpen, "Util\\sumatrapdf\\SumatraPDF.exe", "", "", kNoGate},
    {"ariamaestosa", "Picture_ariamaestosa", "Aria Maestosa", kShellOpen, "Musique\\AriaMaestosa\\Aria.exe", "", "",
     kNoGate},
    {"atunes", "Picture_atunes", "aTunes", kShellOpen, "Musique\\aTunes\\aTunes.exe", "", "", kNoGate},
    {"audacity", "Picture_audacity", "Audacity", kShellOpen, "Musique\\Audacity\\audacity.exe", "", "", kNoGate},
    {"cdex", "Picture_cdex", "CDex", kShellOpen, "Musique\\CDex\\CDexPortable.exe",
     "\\Musique\\CDex\\CDexPortable.exe", "Musique\\CDex\\CDex.exe", kNoGate},
    {"gnusolfege", "Picture_gnu_solfege", "GNU Solfège", kShellOpen, "Musique\\GNU Solfege\\GNU Solfege.cameyo.exe",
     "\\Musique\\GNU Solfege\\GNU Solfege.cameyo.exe", "Musique\\GNU Solfege\\X-Solfege.exe", kNoGate},
    {"hydrogen", "Picture_hydrogen", "Hydrogen", kShellOpen, "Musique\\Hydrogen\\Hydrogen.exe", "", "", kNoGate},
    {"infrarecorder", "Picture_infrarecorder", "Infra Recorder", kShellOpen, "Musique\\Infrarecorder\\infrarecorder.exe",
     "", "", kNoGate},
    {"musescore", "Picture_musescore", "Muse Score", kShellOpen, "Musique\\MuseScore\\MuseScorePortable.exe",
     "\\Musique\\MuseScore\\MuseScorePortable.exe", "Musique\\MuseScore\\bin\\mscore.exe", kNoGate},
    {"openmusicwriter", "Picture_openmusicwriter", "Open Musicwriter", kShellOpen,
     "Musique\\openmusicwriter\\dist\\musicwriter.jar", "", "", kNoGate},
    {"tuxguitar", "Picture_tuxguitar", "Tuxguitar", kShellOpen, "Musique\\Tuxguitar\\bin-win-x86\\TuxGuitar.exe", "",
     "", kNoGate},
    {"vlc", "Picture_vlc", "VLC", kShellOpen, "Musique\\VLC\\vlc.exe", "", "", kNoGate},
    {"solfege", "Picture_solfege", "Cantarel Solfège", kBatch, "\\system\\solfege.bat", "", "", kNoGate},
    {"quadrelo", "Picture_quadrelo", "Quadrelo", kBatch, "\\system\\quadrelo.bat", "", "", kNoGate},
    {"mini_quadrelo", "Picture_mini_quadrelo", "Mini Quadrelo", kBatch, "\\system\\miniquadrelo.bat", "", "",
     kNoGate},
    {"symphalis", "Picture_symphalis", "Symphalis", kBatch, "\\system\\symphalis.bat", "", "", kNoGate},
    {"bullaro", "Picture_bullaro", "Bullaro", kBatch, "\\system\\bullaro.bat", "", "", {kDotNet4, kNone, kNone}},
    {"metronome", "Picture_metronome", "Cantarel", kBatch, "\\system\\metronome.bat", "", "",
     {kDotNet35, kNone, kNone}},
    {"tonavel", "Picture_tonavel", "Tonavel", kBatch, "\\system\\tonavel.bat", "", "",
     {kSqlCompact35, kRefuse64Bit, kDotNet35}},
    {"maestrel", "Picture_maestrel", "Maestrel", kBatch, "\\system\\maestrel.bat", "", "", {kLibraries, kNone, kNone}},
    {"clavira", "Picture_clavira", "Clavira", kBatch, "\\system\\clavira.bat", "", "", {kLibraries, kNone, kNone}},
    {"quiz", "Picture_quiz", "Cantarel Quiz", kBatch, "\\system\\quiz.bat", "", "", {kLibraries, kNone, kNone}},
    {"pulsaro", "Picture_pulsaro", "Pulsaro", kBatch, "\\system\\pulsaro.bat", "", "", {kLibraries, kNone, kNone}},
};

}  // namespace

std::span<const LaunchRow> LaunchRows() { return kRows; }

const LaunchRow* FindLaunchRow(std::string_view picture) {
    for (const LaunchRow& row : kRows) {
        if (row.picture == picture) return &row;
    }
    return nullptr;
}

bool MayTakeLong(const LaunchRow& row) {
    // The installer gates may download; the others only ask and start.
    return std::any_of(row.gates.begin(), row.gates.end(),
                       [](Gate gate) { return gate == kDotNet4 || gate == kDotNet35 || gate == kSqlCompact35; });
}
