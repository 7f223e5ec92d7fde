"""What the demo drive and the demo download server hold, in one table.

Every row is one component of the launcher's catalogue: where its file lies on
the server, where it is written and extracted on the drive, the folder it
occupies once installed and the program in that folder that the launcher
starts. Paths are written the Windows way, exactly as the launcher spells
them; `posix()` turns them into paths for this side.

Both generators (drive and server) take a component's files from
`component_files()`, so that an installed component on the demo drive is
exactly what its archive extracts to.
"""

from __future__ import annotations

import io
import math
import wave
from dataclasses import dataclass
from typing import Optional, Union

SERVER_ROOT = "/logiciels/portable1.4/"
VERSION = "1.4"


@dataclass(frozen=True)
class Component:
    cid: str
    category: str                 # first-level folder: Cantarel, Musique, Util, Windows
    archive: bool                 # False: an installer kept as downloaded
    server_path: str              # after the server's address
    local_file: str               # where the download is written, after AppFolder
    extraction_folder: Optional[str]   # archives only, after AppFolder
    installed_folder: str         # after AppFolder
    # Files of the installed component, relative to the installed folder. The
    # first is the program the launcher starts (a stand-in copy), if any.
    programs: tuple = ()
    # Where the read-me of the component goes, relative to the installed
    # folder; None for none. MuseScore keeps its files in "bin\" only, so that
    # the drive shows the case where the installed folder's own level is empty.
    readme_in: Optional[str] = ""
    name: str = ""


def _a(cid, category, server_name, local_file, extraction_folder, installed_folder,
       programs, name, readme_in=""):
    return Component(cid, category, True, SERVER_ROOT + category + "/" + server_name,
                     local_file, extraction_folder, installed_folder, tuple(programs),
                     readme_in, name)


def _i(cid, server_name, installed_folder, name):
    local = installed_folder + server_name
    return Component(cid, "Windows", False, SERVER_ROOT + "Windows/" + server_name, local,
                     None, installed_folder, (server_name,), None, name)


# In the order of the launcher's download panel.
COMPONENTS = [
    _a("bullaro", "Cantarel", "Bullaro.zip", "\\Cantarel\\Bullaro.zip", "\\Cantarel\\",
       "\\Cantarel\\Bullaro\\", ["Bullaro.exe"], "Bullaro"),
    _a("gnusolfege", "Musique", "GNUSolfege.zip", "\\Musique\\GNUSolfege.zip", "\\Musique\\",
       "\\Musique\\GNU Solfege\\", ["GNU Solfege.cameyo.exe"], "GNU Solfège"),
    _a("symphalis", "Cantarel", "Symphalis.zip", "\\Cantarel\\Symphalis.zip", "\\Cantarel\\",
       "\\Cantarel\\Symphalis\\", ["CInstr.exe"], "Symphalis"),
    _a("tonavel", "Cantarel", "Tonavel.zip", "\\Cantarel\\Tonavel.zip", "\\Cantarel\\",
       "\\Cantarel\\Tonavel\\", ["Tonavel.exe"], "Tonavel"),
    _a("maestrel", "Cantarel", "Maestrel.zip", "\\Cantarel\\Maestrel.zip", "\\Cantarel\\",
       "\\Cantarel\\Maestrel\\", ["maestrel.exe"], "Maestrel"),
    _a("metronome", "Cantarel", "Cantarel.zip", "\\Cantarel\\Cantarel.zip", "\\Cantarel\\",
       "\\Cantarel\\Cantarel\\", ["Cantarel.exe"], "Cantarel"),
    _a("solfege", "Cantarel", "Solfège.zip", "\\Cantarel\\Solfège.zip", "\\Cantarel\\",
       "\\Cantarel\\Solfège\\", ["Csolfege.exe"], "Cantarel Solfège"),
    _a("clavira", "Cantarel", "Clavira.zip", "\\Cantarel\\Clavira.zip", "\\Cantarel\\",
       "\\Cantarel\\Clavira\\", ["Clavira.exe"], "Clavira"),
    _a("quiz", "Cantarel", "Quiz.zip", "\\Cantarel\\Quiz\\Quiz.zip", "\\Cantarel\\Quiz\\",
       "\\Cantarel\\Quiz\\", ["Cquiz3.exe"], "Cantarel Quiz"),
    _a("chopin", "Cantarel", "QuizChopin.zip", "\\Cantarel\\Quiz\\QuizChopin.zip",
       "\\Cantarel\\Quiz\\", "\\Cantarel\\Quiz\\audio\\chopin\\", [],
       "Questionnaire sur Frédéric Chopin", None),
    _a("hymnes", "Cantarel", "QuizHymnes.zip", "\\Cantarel\\Quiz\\QuizHymnes.zip",
       "\\Cantarel\\Quiz\\", "\\Cantarel\\Quiz\\audio\\hymnes\\", [],
       "Questionnaire sur les hymnes nationaux", None),
    _a("symphonique", "Cantarel", "QuizSymphonique.zip",
       "\\Cantarel\\Quiz\\QuizSymphonique.zip", "\\Cantarel\\Quiz\\",
       "\\Cantarel\\Quiz\\audio\\oeuvres symphoniques\\", [],
       "Questionnaire sur les oeuvres symphoniques", None),
    _a("pulsaro", "Cantarel", "Pulsaro.zip", "\\Cantarel\\Pulsaro.zip", "\\Cantarel\\",
       "\\Cantarel\\Pulsaro\\", ["pulsaro.exe"], "Pulsaro"),
    _a("mini_quadrelo", "Cantarel", "MiniQuadrelo.zip", "\\Cantarel\\MiniQuadrelo.zip",
       "\\Cantarel\\", "\\Cantarel\\Mini Quadrelo\\", ["MQuadFr.exe"], "Mini Quadrelo"),
    _a("quadrelo", "Cantarel", "Quadrelo.zip", "\\Cantarel\\Quadrelo.zip", "\\Cantarel\\",
       "\\Cantarel\\Quadrelo\\", ["quadrelo.exe"], "Quadrelo"),
    _a("ariamaestosa", "Musique", "AriaMaestosa.zip", "\\Musique\\AriaMaestosa.zip",
       "\\Musique\\", "\\Musique\\AriaMaestosa\\", ["Aria.exe"], "Aria Maestosa"),
    _a("hydrogen", "Musique", "Hydrogen.zip", "\\Musique\\Hydrogen.zip", "\\Musique\\",
       "\\Musique\\Hydrogen\\", ["Hydrogen.exe"], "Hydrogen"),
    _a("musescore", "Musique", "MuseScore.zip", "\\Musique\\MuseScore.zip", "\\Musique\\",
       "\\Musique\\MuseScore\\", ["bin\\mscore.exe"], "Muse Score", "bin\\"),
    _a("openmusicwriter", "Musique", "openmusicwriter.zip", "\\Musique\\openmusicwriter.zip",
       "\\Musique\\", "\\Musique\\openmusicwriter\\", ["dist\\musicwriter.jar"],
       "Open Musicwriter"),
    _a("tuxguitar", "Musique", "Tuxguitar.zip", "\\Musique\\Tuxguitar.zip", "\\Musique\\",
       "\\Musique\\Tuxguitar\\", ["bin-win-x86\\TuxGuitar.exe"], "Tuxguitar"),
    _a("audacity", "Musique", "Audacity.zip", "\\Musique\\Audacity.zip", "\\Musique\\",
       "\\Musique\\Audacity\\", ["audacity.exe"], "Audacity"),
    _a("cdex", "Musique", "CDex.zip", "\\Musique\\CDex.zip", "\\Musique\\",
       "\\Musique\\CDex\\", ["CDexPortable.exe"], "CDex"),
    _a("vlc", "Musique", "VLC.zip", "\\Musique\\VLC.zip", "\\Musique\\",
       "\\Musique\\VLC\\", ["vlc.exe"], "VLC"),
    _a("infrarecorder", "Musique", "infrarecorder.zip", "\\Musique\\infrarecorder.zip",
       "\\Musique\\", "\\Musique\\Infrarecorder\\", ["infrarecorder.exe"], "Infra Recorder"),
    _a("atunes", "Musique", "aTunes.zip", "\\Musique\\aTunes.zip", "\\Musique\\",
       "\\Musique\\aTunes\\", ["aTunes.exe"], "aTunes"),
    _a("libreoffice", "Util", "LibreOffice.zip", "\\Util\\LibreOffice.zip", "\\Util\\",
       "\\Util\\LibreOffice\\", ["LibreOfficePortable.exe"], "Libre Office"),
    _a("firefox", "Util", "Firefox.zip", "\\Util\\Firefox.zip", "\\Util\\",
       "\\Util\\Firefox\\", ["FirefoxPortable.exe"], "Firefox"),
    _a("thunderbird", "Util", "Thunderbird.zip", "\\Util\\Thunderbird.zip", "\\Util\\",
       "\\Util\\Thunderbird\\", ["ThunderbirdPortable.exe"], "Thunderbird"),
    _a("7zip", "Util", "7zip.zip", "\\Util\\7zip.zip", "\\Util\\",
       "\\Util\\7-zip\\", ["7zFM.exe"], "7-Zip"),
    _i("framework_35", "dotnetfx35.exe", "\\Windows\\dotnet35\\", "Framework .NET 3.5"),
    _i("framework_4", "dotNetFx40_Full_x86_x64.exe", "\\Windows\\dotnet4\\", "Framework .NET 4"),
    _i("sql_35", "SSCERuntimex86FRA.msi", "\\Windows\\sqlservercompact35\\",
       "SQL Server Compact 3.5"),
    _a("reconnaissance_vocale", "Windows", "Speech.zip", "\\Windows\\Speech\\Speech.zip",
       "\\Windows\\Speech\\", "\\Windows\\Speech\\",
       ["MSReaderSetupFRA.exe", "ReaderTTSInstallFRA.exe"], "Reconnaissance vocale", None),
    _i("java", "java.exe", "\\Windows\\java\\", "Java"),
    _i("dao", "dao35.exe", "\\Windows\\dao35\\", "DAO 3.5"),
]

BY_ID = {c.cid: c for c in COMPONENTS}

# Installers that the prerequisite checks fetch from their own server folder
# (one of them under a doubled extension), beside those of the download panel.
GATE_INSTALLERS = [
    "/logiciels/portable/Windows/dotNetFx40_Full_x86_x64.exe",
    "/logiciels/portable/Windows/dotnetfx35.exe.exe",
    "/logiciels/portable/Windows/SSCERuntimex86FRA.msi",
]
VERSION_FILE = "/logiciels/version.txt"
UPDATE_PACKAGE = "/logiciels/CantarelPortable.zip"
UPDATE_PROGRAM = "CantarelPortable.exe"

# The quiz: its own files, and what each topic adds. The topic questionnaire
# file names are ours to choose; the launcher's removal of a topic deletes
# exactly these names from "Cantarel\Quiz\textes\".
QUIZ_GENERAL = "textes\\Quizora.txt"
QUIZ_TOPIC_TEXTS = {
    "chopin": ["Chopin.txt"],
    "hymnes": ["Hymnes%d.txt" % n for n in range(1, 8)],
    "symphonique": ["Oeuvres symphoniques.txt"],
}
QUIZ_TOPIC_AUDIO = {
    "chopin": "Nocturne.wav",
    "hymnes": "Hymne.wav",
    "symphonique": "Symphonie.wav",
}

# The suite's launch scripts under "system\": script name -> component whose
# program it starts.
SUITE_SCRIPTS = {
    "solfege": "solfege",
    "quadrelo": "quadrelo",
    "miniquadrelo": "mini_quadrelo",
    "symphalis": "symphalis",
    "bullaro": "bullaro",
    "metronome": "metronome",
    "tonavel": "tonavel",
    "maestrel": "maestrel",
    "clavira": "clavira",
    "quiz": "quiz",
    "pulsaro": "pulsaro",
}

REGISTRATION_TOOL = "system\\Enregistrement_dll_ocx.exe"
PDF_READER = "Util\\sumatrapdf\\SumatraPDF.exe"

# A realistic drive: some of everything installed, the rest to download.
DEMO_INSTALLED = [
    "bullaro", "metronome", "solfege", "clavira", "quiz", "chopin",
    "musescore", "audacity", "cdex", "vlc", "firefox", "7zip", "framework_4",
]


def posix(win_path: str) -> str:
    """"\\Cantarel\\Solfège\\" -> "Cantarel/Solfège" (relative, no slashes at the ends)."""
    return "/".join(p for p in win_path.split("\\") if p)


def relative(folder: str, path: str) -> str:
    """Path of `path` inside `folder`, both Windows-style after AppFolder."""
    f, p = posix(folder), posix(path)
    if f and not (p == f or p.startswith(f + "/")):
        raise ValueError("%s is not inside %s" % (path, folder))
    return p[len(f):].lstrip("/")


class StandIn:
    """Marks a file that is a copy of the stand-in program."""

    def __repr__(self):
        return "STANDIN"


STANDIN = StandIn()
Content = Union[bytes, StandIn]


def text_file(text: str, encoding: str = "cp1252") -> bytes:
    """Windows text: CRLF line ends, the ANSI code page unless told."""
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode(encoding)


def tone_wav(notes, seconds_each=0.18, rate=8000) -> bytes:
    """A tiny 8-bit mono WAV playing the given frequencies one after another."""
    frames = bytearray()
    for f in notes:
        n = int(rate * seconds_each)
        for i in range(n):
            fade = min(1.0, i / 200, (n - i) / 200)
            frames.append(128 + int(60 * fade * math.sin(2 * math.pi * f * i / rate)))
    buf = io.BytesIO()
    with wave.open(buf, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(bytes(frames))
    return buf.getvalue()


def readme(c: Component) -> bytes:
    return text_file(
        "%s\n\n"
        "Version de démonstration de Cantarel Portable.\n"
        "Le programme de ce dossier est un programme de remplacement : il affiche\n"
        "seulement le nom du logiciel qu'il représente.\n" % c.name)


def component_files(cid: str) -> dict:
    """Files of an installed component: Windows path after AppFolder -> content."""
    c = BY_ID[cid]
    files: dict = {}
    for p in c.programs:
        files[c.installed_folder + p] = STANDIN if p.lower().endswith(".exe") else \
            text_file("Fichier de démonstration : %s\n" % p)
    if c.readme_in is not None:
        files[c.installed_folder + c.readme_in + "Lisez-moi.txt"] = readme(c)
    if cid == "quiz":
        files[c.installed_folder + QUIZ_GENERAL] = _questionnaire("Quizora", 5)
    if cid in QUIZ_TOPIC_TEXTS:
        quiz = BY_ID["quiz"].installed_folder
        for name in QUIZ_TOPIC_TEXTS[cid]:
            files[quiz + "textes\\" + name] = _questionnaire(name[:-4], 3)
        files[c.installed_folder + QUIZ_TOPIC_AUDIO[cid]] = tone_wav([262, 330, 392, 523])
    return files


def archive_files(cid: str) -> dict:
    """What a component's archive holds: entry name (with "/") -> content.

    Names are relative to the extraction folder, so the archive's top folder
    is the installed folder. The quiz archive brings every topic with it; a
    topic archive brings the general questionnaire back too (removing a topic
    deletes it)."""
    c = BY_ID[cid]
    if not c.archive:
        raise ValueError(cid + " is an installer")
    files = dict(component_files(cid))
    if cid == "quiz":
        for topic in QUIZ_TOPIC_TEXTS:
            files.update(component_files(topic))
    elif cid in QUIZ_TOPIC_TEXTS:
        quiz = BY_ID["quiz"]
        files[quiz.installed_folder + QUIZ_GENERAL] = component_files("quiz")[
            quiz.installed_folder + QUIZ_GENERAL]
    return {relative(c.extraction_folder, p): data for p, data in files.items()}


def _questionnaire(title: str, count: int) -> bytes:
    lines = ["[%s]" % title]
    for n in range(1, count + 1):
        lines.append("Question %d : Combien de temps vaut une blanche ?;1;2;4;2" % n)
    return text_file("\n".join(lines) + "\n")
