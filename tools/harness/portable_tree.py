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
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
DEMO_GENERATOR = REPO / "demo" / "make_demo_drive.py"

# The launcher's exported catalogue (demo/catalogue.py reads it).
sys.path.insert(0, str(REPO / "demo"))
import catalogue  # noqa: E402

_ROWS = catalogue.EXPORT["components"]


def _posix_folder(win_path: str) -> str:
    return "/".join(p for p in win_path.split("\\") if p)


# Component id -> (folders tested for an installed component, relative to the
# drive root; picture hidden while the component is missing, or None), in the
# catalogue's order.
COMPONENTS = {
    row["id"]: ([_posix_folder(f) for f in (row["installed_folder"], row["other_installed_folder"]) if f],
                row["picture"] or None)
    for row in _ROWS
}

# Sizes the quiz removal caption adds up, in Mo.
QUIZ_SIZES = {row["id"]: row["megabytes"] for row in _ROWS if row["family"]}
_QUIZ = next(row["id"] for row in _ROWS if row["family"] == "quiz")


def quiz_removal_caption(installed: set) -> str:
    total = QUIZ_SIZES[_QUIZ] + sum(size for part, size in QUIZ_SIZES.items()
                                    if part != _QUIZ and part in installed)
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
