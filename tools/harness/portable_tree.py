"""Portable trees for end-to-end runs, and what the launcher should make of them.

A tree is the folder the launcher's executable is copied into: the drive root
it works on. make_minimal_tree() builds a small one for tests; the demo
generator (demo/make_demo_drive.py) builds the full one when it is there.
installed_components() reads a tree from the Linux side and says which
components the launcher must find installed, so tests can predict the window.
"""

from __future__ import annotations

import os
import subprocess
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
DEMO_GENERATOR = REPO / "demo" / "make_demo_drive.py"

# Component id -> (folders tested for an installed component, relative to the
# drive root; picture hidden while the component is missing, or None).
COMPONENTS = {
    "symphalis": (["Cantarel/Symphalis"], "Picture_symphalis"),
    "bullaro": (["Cantarel/Bullaro"], "Picture_bullaro"),
    "tonavel": (["Cantarel/Tonavel"], "Picture_tonavel"),
    "maestrel": (["Cantarel/Maestrel"], "Picture_maestrel"),
    "metronome": (["Cantarel/Cantarel"], "Picture_metronome"),
    "mini_quadrelo": (["Cantarel/Mini Quadrelo"], "Picture_mini_quadrelo"),
    "clavira": (["Cantarel/Clavira"], "Picture_clavira"),
    "pulsaro": (["Cantarel/Pulsaro"], "Picture_pulsaro"),
    "solfege": (["Cantarel/Solfège"], "Picture_solfege"),
    "quadrelo": (["Cantarel/Quadrelo"], "Picture_quadrelo"),
    "quiz": (["Cantarel/Quiz"], "Picture_quiz"),
    "chopin": (["Cantarel/Quiz/audio/chopin"], None),
    "hymnes": (["Cantarel/Quiz/audio/hymnes"], None),
    "symphonique": (["Cantarel/Quiz/audio/oeuvres symphoniques"], None),
    "atunes": (["Musique/aTunes"], "Picture_atunes"),
    "audacity": (["Musique/Audacity"], "Picture_audacity"),
    "cdex": (["Musique/CDex"], "Picture_cdex"),
    "gnusolfege": (["Musique/GNU Solfege"], "Picture_gnu_solfege"),
    "infrarecorder": (["Musique/Infrarecorder"], "Picture_infrarecorder"),
    "musescore": (["Musique/MuseScore", "Musique/MuseScore/bin"], "Picture_musescore"),
    "tuxguitar": (["Musique/Tuxguitar"], "Picture_tuxguitar"),
    "vlc": (["Musique/VLC"], "Picture_vlc"),
    "ariamaestosa": (["Musique/AriaMaestosa"], "Picture_ariamaestosa"),
    "openmusicwriter": (["Musique/openmusicwriter"], "Picture_openmusicwriter"),
    "hydrogen": (["Musique/Hydrogen"], "Picture_hydrogen"),
    "7zip": (["Util/7-zip"], "Picture_7zip"),
    "firefox": (["Util/Firefox"], "Picture_firefox"),
    "thunderbird": (["Util/Thunderbird"], "Picture_thunderbird"),
    "libreoffice": (["Util/LibreOffice"], "Picture_libreoffice"),
    "framework_35": (["Windows/dotnet35"], "Picture_net35"),
    "framework_4": (["Windows/dotnet4"], "Picture_net4"),
    "java": (["Windows/java"], "Picture_java"),
    "reconnaissance_vocale": (["Windows/Speech"], "Picture_voix"),
    "sql_35": (["Windows/sqlservercompact35"], "Picture_sql35"),
    "dao": (["Windows/dao35"], "Picture_dao35"),
}

# Sizes the quiz removal caption adds up, in Mo.
QUIZ_SIZES = {"quiz": 52, "chopin": 224, "hymnes": 200, "symphonique": 291}


def quiz_removal_caption(installed: set) -> str:
    total = QUIZ_SIZES["quiz"] + sum(QUIZ_SIZES[t] for t in ("chopin", "hymnes", "symphonique")
                                     if t in installed)
    return f"Cantarel Quiz et tous les questionnaires ({total} Mo)"


def make_minimal_tree(dest: Path, installed=None) -> Path:
    """A small drive: the fixed folders, and one file in the installed folder of
    each component in `installed` (all of them when None)."""
    dest = Path(dest)
    for folder in ("Cantarel", "Musique", "Util", "Windows", "system", "aide",
                   "Mes documents/Musiques", "Mes documents/Partitions", "Mes documents/Papiers",
                   "Mes documents/Images", "Mes documents/Vidéos", "Mes documents/Autres"):
        (dest / folder).mkdir(parents=True, exist_ok=True)
    for component in (COMPONENTS if installed is None else installed):
        folder = dest / COMPONENTS[component][0][0]
        folder.mkdir(parents=True, exist_ok=True)
        (folder / f"{component}.txt").write_text(f"{component}\n", encoding="utf-8")
    return dest


def make_tree(dest: Path, installed=None, prefer_demo=True) -> Path:
    """The demo drive when its generator exists (and no particular set of
    components is asked for), else the minimal tree."""
    dest = Path(dest)
    if prefer_demo and installed is None and DEMO_GENERATOR.exists():
        dest.mkdir(parents=True, exist_ok=True)
        subprocess.run(["/usr/bin/python3", str(DEMO_GENERATOR), str(dest)], check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, timeout=300)
        return dest
    return make_minimal_tree(dest, installed)


def _child_casefold(folder: Path, name: str) -> Path | None:
    # Windows names are compared without regard to case.
    try:
        for entry in os.scandir(folder):
            if entry.name.casefold() == name.casefold() and entry.is_dir():
                return Path(entry.path)
    except (FileNotFoundError, NotADirectoryError):
        pass
    return None


def _is_system(path: str) -> bool:
    # Wine keeps DOS attributes in this extended attribute (hex text).
    try:
        raw = os.getxattr(path, "user.DOSATTRIB").decode(errors="replace").split("\0")[0]
        return bool(int(raw, 0) & 0x4)
    except (OSError, ValueError):
        return False


def _holds_file(folder: Path | None) -> bool:
    if folder is None:
        return False
    return any(e.is_file() and not _is_system(e.path) for e in os.scandir(folder))


def resolve(tree: Path, relative: str) -> Path | None:
    folder = Path(tree)
    for part in relative.split("/"):
        folder = _child_casefold(folder, part)
        if folder is None:
            return None
    return folder


def installed_components(tree: Path) -> set:
    """Components whose tested folder directly holds a file that is not a system file."""
    return {c for c, (folders, _) in COMPONENTS.items()
            if any(_holds_file(resolve(tree, f)) for f in folders)}
