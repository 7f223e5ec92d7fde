"""What the demo drive and the demo download server hold, from the launcher's
own catalogue.

The launcher's build exports its component catalogue (tools/list_catalogue,
written to build/native/catalogue.json by the native build): where each
component's file lies on the server, where it is written and extracted on
the drive, the folder it occupies once installed and the program in that
folder the launcher starts. This module reads that export and adds only what
is the demo's own (the files that stand for each program). Paths are written
the Windows way, exactly as the launcher spells them; `posix()` turns them
into paths for this side.

Both generators (drive and server) take a component's files from
`component_files()`, so that an installed component on the demo drive is
exactly what its archive extracts to.
"""

from __future__ import annotations

import io
import json
import math
import os
import subprocess
import wave
from dataclasses import dataclass
from pathlib import Path
from typing import Optional, Union

REPO = Path(__file__).resolve().parents[1]
DEFAULT_EXPORT = REPO / "build" / "native" / "catalogue.json"


def load_export() -> dict:
    """The launcher's catalogue: from the tool CANTAREL_LIST_CATALOGUE names,
    or the file CANTAREL_CATALOGUE_JSON names, or the native build's export."""
    tool = os.environ.get("CANTAREL_LIST_CATALOGUE")
    if tool:
        return json.loads(subprocess.run([tool], check=True, capture_output=True, text=True).stdout)
    path = Path(os.environ.get("CANTAREL_CATALOGUE_JSON") or DEFAULT_EXPORT)
    if not path.exists():
        raise SystemExit(f"{path}: the launcher's catalogue is exported by its native build "
                         "(bash scripts/build.sh)")
    return json.loads(path.read_text(encoding="utf-8"))


EXPORT = load_export()
VERSION = EXPORT["version"]


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
    # folder; None for none.
    readme_in: Optional[str] = ""
    name: str = ""


def _inside(folder: str, path: str) -> str:
    """`path` relative to `folder` (both after AppFolder), compared without
    regard to case as Windows does; a path without its leading backslash
    (the shell's targets) is taken the same way."""
    path = "\\" + path.lstrip("\\")
    if not path.lower().startswith(folder.lower()):
        raise ValueError("%s is not inside %s" % (path, folder))
    return path[len(folder):]


def _component(row: dict) -> Component:
    installed = row["installed_folder"]
    launch = row["launch"]
    readme_in: Optional[str] = ""
    if not row["archive"]:
        # An installer, kept as downloaded.
        programs, readme_in = [row["local_file"].rsplit("\\", 1)[1]], None
    elif row["installers"]:
        programs, readme_in = [_inside(installed, i) for i in row["installers"]], None
    elif row["family"] == "quiz_topic":
        # A topic brings questionnaires and audio (component_files).
        programs, readme_in = [], None
    elif row["other_installed_folder"]:
        # Installed in its second tested folder only, with the program the
        # launcher falls back to: the drive shows a first folder that holds
        # no file of its own.
        programs = [_inside(installed, launch["fall_back"])]
        readme_in = _inside(installed, row["other_installed_folder"])
    elif launch["kind"] == "batch":
        programs = [_inside(installed, launch["program"])]
    else:
        programs = [_inside(installed, launch["target"])]
    return Component(row["id"], row["folder"], row["archive"], row["server_path"], row["local_file"],
                     row["extraction_folder"] or None, installed, tuple(programs), readme_in,
                     row["message_name"] or (launch or {}).get("name", ""))


# In the order of the launcher's download panel.
COMPONENTS = [_component(row) for row in EXPORT["components"]]
BY_ID = {c.cid: c for c in COMPONENTS}
_ROWS = {row["id"]: row for row in EXPORT["components"]}

# Installers that the prerequisite checks fetch from their own server folder
# (one of them under a doubled extension), beside those of the download panel.
GATE_INSTALLERS = EXPORT["gate_installers"]
VERSION_FILE = EXPORT["version_file"]
UPDATE_PACKAGE = EXPORT["update_package"]
UPDATE_PROGRAM = EXPORT["update_program"]

# The quiz: its own files, and what each topic adds. A topic's removal
# deletes exactly its questionnaires from the questionnaire folder.
_QUIZ = next(row for row in EXPORT["components"] if row["family"] == "quiz")
_QUESTIONNAIRES = _inside(_QUIZ["installed_folder"], EXPORT["questionnaire_folder"])
QUIZ_GENERAL = _QUESTIONNAIRES + _QUIZ["questionnaires"][0]
QUIZ_TOPIC_TEXTS = {row["id"]: row["questionnaires"] for row in EXPORT["components"]
                    if row["family"] == "quiz_topic"}
# The demo's own sound for each topic.
QUIZ_TOPIC_AUDIO = {
    "chopin": "Nocturne.wav",
    "hymnes": "Hymne.wav",
    "symphonique": "Symphonie.wav",
}

# The suite's launch scripts under "system\": script name -> component whose
# program it starts.
SUITE_SCRIPTS = {row["launch"]["target"].rsplit("\\", 1)[1][:-len(".bat")]: row["id"]
                 for row in EXPORT["components"] if row["launch"] and row["launch"]["kind"] == "batch"}

REGISTRATION_TOOL = EXPORT["registration_tool"]
PDF_READER = EXPORT["programs_outside"][0]

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
    if _ROWS[cid]["family"] == "quiz":
        files[c.installed_folder + QUIZ_GENERAL] = _questionnaire("Quizora", 5)
    if cid in QUIZ_TOPIC_TEXTS:
        quiz = BY_ID[_QUIZ["id"]].installed_folder
        for name in QUIZ_TOPIC_TEXTS[cid]:
            files[quiz + _QUESTIONNAIRES + name] = _questionnaire(name[:-4], 3)
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
    if _ROWS[cid]["family"] == "quiz":
        for topic in QUIZ_TOPIC_TEXTS:
            files.update(component_files(topic))
    elif cid in QUIZ_TOPIC_TEXTS:
        quiz = BY_ID[_QUIZ["id"]]
        files[quiz.installed_folder + QUIZ_GENERAL] = component_files(quiz.cid)[
            quiz.installed_folder + QUIZ_GENERAL]
    return {relative(c.extraction_folder, p): data for p, data in files.items()}


def _questionnaire(title: str, count: int) -> bytes:
    lines = ["[%s]" % title]
    for n in range(1, count + 1):
        lines.append("Question %d : Combien de temps vaut une blanche ?;1;2;4;2" % n)
    return text_file("\n".join(lines) + "\n")
