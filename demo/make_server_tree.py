#!/usr/bin/python3
"""Writes the demo download server's tree: every file the launcher fetches.

usage: make_server_tree.py <dest-folder> [--standin path/to/standin.exe]
                           [--version TEXT] [--force] [--serial N]

- logiciels/version.txt: the current launcher version ("1.4": no update; give
  --version 1.5 to offer one);
- logiciels/CantarelPortable.zip: the update package, bringing
  "CantarelPortable.exe";
- logiciels/portable1.4/<category>/...: one file per catalogue component, an
  archive whose top folder is the component's installed folder, or an
  installer;
- logiciels/portable/Windows/...: the installers the prerequisite checks fetch;
- logiciels/catalogue and catalogue.sig: the tree's signed catalogue, signed
  with the demo key (tools/sign_tree.py), which demo and test builds trust.

File names are UTF-8 on disk ("Cantarel/Solfège.zip"); serve.py maps the
launcher's single-byte "è" onto them. Inside the archives, names are stored in
CP850 for a DOS host, which UnZip reads right (see demozip.py).
"""

from __future__ import annotations

import argparse
import os
import shutil
import sys
from pathlib import Path

import catalogue as cat
import demozip

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import sign_tree  # noqa: E402

MARKER = ".cantarel-demo-server"


def placeholder(name: str) -> bytes:
    return cat.text_file("Fichier de démonstration (remplacement) : %s\n" % name)


def program(name: str, standin: bytes | None) -> bytes:
    return standin if standin is not None else placeholder(name)


def resolve(files: dict, standin: bytes | None) -> dict:
    return {n: program(n.split("/")[-1], standin) if d is cat.STANDIN else d
            for n, d in files.items()}


def server_files(standin: bytes | None, version: str) -> dict:
    """Server path -> bytes, for every path the launcher may ask for."""
    files = {cat.VERSION_FILE: (version + "\r\n").encode("cp1252")}
    files[cat.UPDATE_PACKAGE] = demozip.zip_bytes(
        [(cat.UPDATE_PROGRAM, program(cat.UPDATE_PROGRAM, standin))])
    for c in cat.COMPONENTS:
        if c.archive:
            entries = demozip.with_folders(resolve(cat.archive_files(c.cid), standin))
            files[c.server_path] = demozip.zip_bytes(entries)
        else:
            files[c.server_path] = program(c.programs[0], standin) \
                if c.programs[0].lower().endswith(".exe") else placeholder(c.programs[0])
    for path in cat.GATE_INSTALLERS:
        name = path.rsplit("/", 1)[-1]
        files[path] = program(name, standin) if ".exe" in name.lower() else placeholder(name)
    return files


def main(argv=None) -> int:
    ap = argparse.ArgumentParser(description="Write the demo download server's tree.")
    ap.add_argument("dest")
    ap.add_argument("--standin", help="the stand-in program (standin.exe) to put in archives")
    ap.add_argument("--version", default=cat.VERSION, help="text of version.txt")
    ap.add_argument("--serial", type=int, default=1, help="the signed catalogue's serial")
    # A fixed date by default: the same tree, byte for byte, whenever it is made.
    ap.add_argument("--published", default="2026-12-01T00:00:00Z", help="the signed catalogue's date")
    ap.add_argument("--force", action="store_true",
                    help="delete and remake a tree made earlier by this script")
    args = ap.parse_args(argv)

    if os.path.isdir(args.dest) and os.listdir(args.dest):
        if not args.force:
            sys.exit("make_server_tree: %s is not empty (use --force)" % args.dest)
        if not os.path.isfile(os.path.join(args.dest, MARKER)):
            sys.exit("make_server_tree: %s was not made by this script; not deleting it"
                     % args.dest)
        shutil.rmtree(args.dest)
    os.makedirs(args.dest, exist_ok=True)

    standin = None
    if args.standin:
        with open(args.standin, "rb") as f:
            standin = f.read()
    with open(os.path.join(args.dest, MARKER), "w", encoding="utf-8") as f:
        f.write("Download server tree written by demo/make_server_tree.py.\n")
    for path, data in server_files(standin, args.version).items():
        target = os.path.join(args.dest, *path.strip("/").split("/"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
    sign_tree.sign_tree(Path(args.dest), sign_tree.DEMO_KEY, args.serial, args.published)
    return 0


if __name__ == "__main__":
    sys.exit(main())
