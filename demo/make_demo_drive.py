#!/usr/bin/python3
"""Writes the demo portable drive: the folder tree that lies beside the launcher.

usage: make_demo_drive.py <dest-folder> [--standin path/to/standin.exe]
                          [--installed all|none|demo] [--force]

Every program on the drive is a copy of the stand-in program (or, without
--standin, a small placeholder file, so the tree can be made without a Windows
build). The launcher itself and unzip32.dll are not part of the tree: the run
command puts them beside it.

The destination must be empty or absent; with --force a drive made earlier by
this script is deleted and made again (a folder without our marker is never
deleted).
"""

from __future__ import annotations

import argparse
import os
import shutil
import struct
import sys
import zlib

import catalogue as cat

MARKER = ".cantarel-demo-drive"
FIRST_LEVEL = ["Cantarel", "Musique", "Util", "Windows", "system", "aide", "Mes documents"]
DOCUMENT_FOLDERS = ["Autres documents", "Images", "Musiques", "Papiers à musique",
                    "Partitions", "Vidéos"]
HELP_SCRIPTS = ["erreurs", "portable", "programmes", "versions"]


def placeholder(win_path: str) -> bytes:
    name = win_path.split("\\")[-1]
    return cat.text_file("Programme de démonstration (fichier de remplacement) : %s\n" % name)


class Drive:
    def __init__(self, root: str, standin: bytes | None):
        self.root = root
        self.standin = standin

    def path(self, win_path: str) -> str:
        return os.path.join(self.root, *cat.posix(win_path).split("/"))

    def folder(self, win_path: str) -> None:
        os.makedirs(self.path(win_path), exist_ok=True)

    def write(self, win_path: str, content) -> None:
        target = self.path(win_path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        if content is cat.STANDIN:
            content = self.standin if self.standin is not None else placeholder(win_path)
        with open(target, "wb") as f:
            f.write(content)


# --- system\ --------------------------------------------------------------

def suite_script(cid: str) -> bytes:
    c = cat.BY_ID[cid]
    folder = cat.posix(c.installed_folder).replace("/", "\\")
    program = c.programs[0]
    # The script starts the program from its own folder (as its shortcut
    # does), found from where the script lies, so the drive may move.
    # cmd reads batch files in the console's OEM code page: CP850 here.
    return cat.text_file(
        "@echo off\n"
        "rem %s : lance le programme depuis son dossier sur la clé.\n"
        "cd /d \"%%~dp0..\\%s\"\n"
        "start \"\" \"%s\"\n" % (c.name, folder, program), "cp850")


# --- aide\ ----------------------------------------------------------------

HELP_TEXTS = {
    "portable": """Utilisation de Cantarel Portable

Cantarel Portable fonctionne directement depuis la clé USB, sans installation
sur l'ordinateur.

1. Branchez la clé et lancez Cantarel Portable depuis le dossier de la clé.
2. Choisissez une catégorie dans le menu de gauche.
3. Cliquez sur l'image d'un programme pour le démarrer.

Les programmes absents de la clé se téléchargent depuis « Installer des
programmes ». « Supprimer des programmes » libère de la place sur la clé.
Vos documents sont rangés dans le dossier « Mes documents » de la clé.
""",
    "programmes": """Description des programmes

Apprentissage de la musique
- Bullaro : lecture de notes en clé de sol.
- Cantarel Solfège : clés de sol et de fa, signes de notation, tonalités.
- Clavira : position des notes sur un clavier de piano.
- Maestrel : jeu du pendu musical.
- Cantarel Quiz : questionnaires de culture musicale.

Création musicale : MuseScore, Aria Maestosa, Open Musicwriter, Tuxguitar.
Outils musique : Audacity, CDex, VLC, Infra Recorder, aTunes.
Autres outils : LibreOffice, Firefox, Thunderbird, 7-Zip, Sumatra PDF.
""",
    "versions": """Versions

Cantarel Portable 1.4
- Téléchargement des programmes depuis le serveur Cantarel.
- Vérification de la dernière version depuis le panneau d'aide.

Cantarel Portable 1.3
- Ajout des questionnaires du quiz.
""",
    "erreurs": """Que faire en cas d'erreur ?

Un programme ne démarre pas :
  ouvrez « Mises à jour de Windows » et installez ce qui manque
  (Framework .NET, SQL Server Compact, composants ActiveX).

Un téléchargement échoue :
  vérifiez la connexion à Internet et la place libre sur la clé,
  puis recommencez plus tard.

Une image de programme a disparu :
  le programme n'est plus sur la clé ; téléchargez-le de nouveau.
""",
}


def help_script(name: str) -> bytes:
    return cat.text_file(
        "@echo off\n"
        "rem Affiche l'aide \"%s\" de Cantarel Portable.\n"
        "start \"\" notepad.exe \"%%~dp0%s.txt\"\n" % (name, name), "cp850")


def help_text(name: str) -> bytes:
    # With a byte-order mark Notepad reads the accents right on every Windows.
    return b"\xef\xbb\xbf" + cat.text_file(HELP_TEXTS[name], "utf-8")


# --- Mes documents\ -------------------------------------------------------

def staff_png(width=240, height=80) -> bytes:
    """Five staff lines on white, as a tiny greyscale PNG."""
    lines = {20, 30, 40, 50, 60}
    raw = b"".join(b"\x00" + bytes(0 if y in lines and 8 <= x < width - 8 else 255
                                   for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + \
            struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0,
                                                               0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def staff_paper_pdf() -> bytes:
    """One A4 page of empty staves."""
    ops = ["0.6 w"]
    for s in range(10):
        top = 770 - s * 75
        for l in range(5):
            y = top - l * 7
            ops.append("50 %d m 545 %d l S" % (y, y))
    stream = "\n".join(ops).encode("ascii")
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R >>",
        b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream",
    ]
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for n, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % n + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for o in offsets:
        out += b"%010d 00000 n \n" % o
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
        len(objects) + 1, xref)
    return bytes(out)


ABC_TUNE = """X:1
T:Au clair de la lune
M:4/4
L:1/4
K:C
CCCD|E2D2|CEDD|C4|
CCCD|E2D2|CEDD|C4|
"""


def document_samples() -> dict:
    docs = "\\Mes documents\\"
    return {
        docs + "Musiques\\Gamme de do.wav": cat.tone_wav([262, 294, 330, 349, 392, 440, 494, 523]),
        docs + "Partitions\\Au clair de la lune.abc": cat.text_file(ABC_TUNE),
        docs + "Papiers à musique\\Portées vierges.pdf": staff_paper_pdf(),
        docs + "Images\\Portée.png": staff_png(),
        docs + "Autres documents\\Lisez-moi.txt": cat.text_file(
            "Rangez ici vos autres documents.\n"
            "Le dossier « Mes documents » de la clé vous suit sur chaque ordinateur.\n"),
    }


# --- the whole drive --------------------------------------------------------

def installed_set(mode: str) -> list:
    if mode == "all":
        return [c.cid for c in cat.COMPONENTS]
    if mode == "none":
        return []
    return list(cat.DEMO_INSTALLED)


def build(drive: Drive, installed_mode: str) -> None:
    with open(os.path.join(drive.root, MARKER), "w", encoding="utf-8") as f:
        f.write("Demo drive written by demo/make_demo_drive.py (--installed %s).\n"
                % installed_mode)
    for name in FIRST_LEVEL:
        drive.folder("\\" + name + "\\")

    drive.write("\\" + cat.PDF_READER, cat.STANDIN)

    for script, cid in cat.SUITE_SCRIPTS.items():
        drive.write("\\system\\%s.bat" % script, suite_script(cid))
    drive.write("\\" + cat.REGISTRATION_TOOL, cat.STANDIN)

    for name in HELP_SCRIPTS:
        drive.write("\\aide\\%s.bat" % name, help_script(name))
        drive.write("\\aide\\%s.txt" % name, help_text(name))

    for name in DOCUMENT_FOLDERS:
        drive.folder("\\Mes documents\\%s\\" % name)
    for path, data in document_samples().items():
        drive.write(path, data)

    for cid in installed_set(installed_mode):
        for path, data in cat.component_files(cid).items():
            drive.write(path, data)


def prepare_destination(dest: str, force: bool) -> None:
    if os.path.isdir(dest) and os.listdir(dest):
        if not force:
            sys.exit("make_demo_drive: %s is not empty (use --force to make it again)" % dest)
        if not os.path.isfile(os.path.join(dest, MARKER)):
            sys.exit("make_demo_drive: %s was not made by this script; not deleting it" % dest)
        shutil.rmtree(dest)
    os.makedirs(dest, exist_ok=True)


def main(argv=None) -> int:
    ap = argparse.ArgumentParser(description="Write the demo portable drive.")
    ap.add_argument("dest", help="folder to write (empty or absent)")
    ap.add_argument("--standin", help="the stand-in program (standin.exe) to copy")
    ap.add_argument("--installed", choices=["all", "none", "demo"], default="demo",
                    help="which components are on the drive (default: a realistic mix)")
    ap.add_argument("--force", action="store_true",
                    help="delete and remake a drive made earlier by this script")
    args = ap.parse_args(argv)

    standin = None
    if args.standin:
        with open(args.standin, "rb") as f:
            standin = f.read()
    prepare_destination(args.dest, args.force)
    build(Drive(args.dest, standin), args.installed)
    return 0


if __name__ == "__main__":
    sys.exit(main())
