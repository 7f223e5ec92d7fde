"""The catalogue of hostile and faulty conditions an install meets, one row
each: the condition, the expected outcome (installed, or the exact message),
and the key afterwards, compared file by file with its hashes: only the
component acted on may change, and a failure changes nothing. The run ends
with a summary line: cases run, cases held."""

import os
import shutil
import struct
import subprocess
import time
import zipfile
from pathlib import Path

import pytest

import harness
import portable_tree
from download_server import DownloadServer, make_server_tree, sign
from journey import answer, controls, offered, snapshot

SUPPORT = os.environ.get("CANTAREL_SUPPORT_ADDRESS", "")
UNZIP32 = os.environ.get("CANTAREL_UNZIP32_DLL", "")
STANDIN = os.environ.get("CANTAREL_STANDIN_EXE", "")
VLC = Path("logiciels") / "portable1.4" / "Musique" / "VLC.zip"

INSTALLED = "installed"
FAILED = "Le programme 'VLC' n'a pas pu être installé! Recommencez ultérieurement ou contactez {support}!"
NOT_VERIFIED = ("Le fichier de VLC reçu du serveur n'a pas pu être vérifié : il ne correspond pas au catalogue "
                "signé de Cantarel. Rien n'a été installé ni démarré. Recommencez ultérieurement ou contactez "
                "{support}!")
OUTSIDE = ("L'archive de VLC contient des fichiers destinés à un autre dossier que le sien : rien n'a été "
           "installé. Recommencez ultérieurement ou contactez {support}!")
DAMAGED = ("Le fichier de VLC a été téléchargé mais n'a pas pu être décompressé : l'archive est endommagée. Rien "
           "n'a été installé. Recommencez ultérieurement ou contactez {support}!")


def rezip(tree: Path, files: dict):
    with zipfile.ZipFile(tree / VLC, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in files.items():
            z.writestr(zipfile.ZipInfo(name), data)


def damage(tree: Path):
    # The entries' bytes only: the directory at the end stays readable, so
    # the archive can still be signed whatever its length (which varies by a
    # byte or two from one build of the tree to the next).
    data = bytearray((tree / VLC).read_bytes())
    end = data.rfind(b"PK\x05\x06")
    directory = struct.unpack_from("<I", data, end + 16)[0]
    for at in range(30, directory, 97):
        data[at] ^= 0x5A
    (tree / VLC).write_bytes(bytes(data))


def change_signature(tree: Path):
    sig = tree / "logiciels" / "catalogue.sig"
    data = bytearray(sig.read_bytes())
    data[10] ^= 1
    sig.write_bytes(bytes(data))


def sign_with_unknown_key(tree: Path):
    key = tree.parent / "inconnue.private.pem"
    tools = portable_tree.REPO / "tools"
    subprocess.run(["/usr/bin/python3", str(tools / "sign_tree.py"), "--new-key", str(key)], check=True,
                   stdout=subprocess.DEVNULL)
    sign(tree, 1, "--key", str(key))


# (case, group, server faults, change to the tree (signed again after, unless
# it breaks the signature itself), expected outcome)
CASES = [
    ("server-down", "network", None, None, FAILED),
    ("404", "network", ["--fail-404", "*/VLC.zip"], None, FAILED),
    ("500", "network", ["--fail-500", "*/VLC.zip"], None, FAILED),
    ("cut-short-every-time", "network", ["--truncate", "*/VLC.zip"], None, FAILED),
    ("cut-once-resumed", "network", ["--cut-once", "*/VLC.zip"], None, INSTALLED),
    ("cut-once-range-ignored", "network", ["--cut-once", "*/VLC.zip", "--no-range", "*/VLC.zip"], None, INSTALLED),
    ("slow", "network", ["--slow", "*/VLC.zip", "--slow-seconds", "3"], None, INSTALLED),
    ("redirect", "network", ["--redirect", "*/VLC.zip"], None, NOT_VERIFIED),
    ("captive-portal", "network", ["--portal", "*"], None, NOT_VERIFIED),
    ("catalogue-missing", "network", ["--fail-404", "/logiciels/catalogue"], None, FAILED),
    ("signature-changed", "trust", [], ("unsigned", change_signature), NOT_VERIFIED),
    ("archive-damaged", "archive", [], ("signed", damage), DAMAGED),
    ("zip-slip", "archive", [], ("signed", lambda t: rezip(t, {"VLC/vlc.exe": b"MZ", "../Audacity/a.dll": b"x"})),
     OUTSIDE),
    # The library strips the leading "/" with a warning: a warning is a failed extraction.
    ("absolute-path", "archive", [], ("signed", lambda t: rezip(t, {"VLC/vlc.exe": b"MZ", "/Audacity/a.dll": b"x"})),
     DAMAGED),
    ("file-at-the-root", "archive", [], ("signed", lambda t: rezip(t, {"vlc.exe": b"MZ"})), OUTSIDE),
    ("catalogue-500", "network", ["--fail-500", "/logiciels/catalogue"], None, FAILED),
    ("catalogue-slow", "network", ["--slow", "/logiciels/catalogue", "--slow-seconds", "3"], None, INSTALLED),
    ("catalogue-portal", "network", ["--portal", "/logiciels/catalogue"], None, NOT_VERIFIED),
    ("catalogue-redirect", "network", ["--redirect", "/logiciels/catalogue"], None, NOT_VERIFIED),
    ("signature-missing", "trust", ["--fail-404", "/logiciels/catalogue.sig"], None, FAILED),
    ("unknown-key", "trust", [], ("unsigned", sign_with_unknown_key), NOT_VERIFIED),
    ("another-components-folder", "archive", [], ("signed", lambda t: rezip(t, {"Audacity/audacity.exe": b"MZ"})),
     OUTSIDE),
    ("empty-top-folder", "archive", [], ("signed", lambda t: rezip(t, {"VLC/": b""})), FAILED),
    ("accents-in-names", "archive", [],
     ("signed", lambda t: rezip(t, {"VLC/vlc.exe": b"MZ", "VLC/Lisez-moi é à.txt": b"x"})), INSTALLED),
    ("many-small-files", "archive", [],
     ("signed", lambda t: rezip(t, {f"VLC/plugins/{n // 100:02d}/m{n:04d}.dll": b"x" * 10 for n in range(3000)}
                               | {"VLC/vlc.exe": b"MZ"})), INSTALLED),
]

RESULTS = []




@pytest.fixture(scope="module")
def server_tree(tmp_path_factory):
    return make_server_tree(tmp_path_factory.mktemp("server") / "tree", STANDIN)


@pytest.fixture(scope="module", autouse=True)
def summary(e2e):
    yield
    held = sum(1 for _, ok in RESULTS if ok)
    line = f"hostile cases: {len(RESULTS)} run, {held} held"
    (e2e.artifacts / "hostile-cases.txt").write_text(line + "\n" + "".join(f"{c}\t{'held' if ok else 'FAILED'}\n"
                                                                          for c, ok in RESULTS))


@pytest.mark.parametrize("case,group,faults,change,expected", CASES, ids=[c[0] for c in CASES])
def test_case(e2e, run, new_drive, server_tree, tmp_path, case, group, faults, change, expected):
    held = False
    try:
        tree = tmp_path / "arbre"
        shutil.copytree(server_tree, tree)
        if change:
            how, mutate = change
            if how == "signed":
                mutate(tree)
                sign(tree)
            else:
                mutate(tree)
        drive = new_drive(set(portable_tree.COMPONENTS) - {"vlc"})
        launcher = run(drive, extra_files=[UNZIP32])
        launcher.wait_window()
        before = snapshot(drive)
        e2e.click("Picture_installer")
        e2e.wait_for(lambda: controls(e2e)["Picture_installer_grand"]["visible"], what="the download panel")
        e2e.click("Label_telecharger_vlc")

        def install():
            box = e2e.wait_message_box(timeout=60)
            assert box["text"] == "Voulez-vous installer VLC ?"
            e2e.press(harness.IDYES)
            # The library may speak first, in a box of its own; the launcher's
            # report is the last, once the waiting bar has gone.
            texts = []
            box = e2e.wait_message_box(timeout=90)
            while box:
                texts.append(box["text"])
                e2e.press(harness.IDOK)
                e2e.wait_for(lambda: not e2e.message_boxes(), what="the box to go")
                box = None
                for _ in range(10):
                    box = (e2e.message_boxes() or [None])[0]
                    if box or not controls(e2e)["Picture_barre_telecharger"]["visible"]:
                        break
                    time.sleep(0.3)
            return texts

        if faults is None:
            texts = install()
        else:
            with DownloadServer(tree, tmp_path / "server.log", faults):
                texts = install()
        vlc = drive / "Musique" / "VLC"
        if expected == INSTALLED:
            assert texts[-1] == "Le programme 'VLC' a été installé!", texts
            assert (vlc / "vlc.exe").is_file()
            assert offered(e2e, "vlc") == (False, True)
            assert snapshot(drive, leave_out=vlc) == before, "only the component acted on may change"
        else:
            assert texts[-1].replace("\r\n", "\n") == expected.format(support=SUPPORT), texts
            assert offered(e2e, "vlc") == (True, False)
            assert snapshot(drive) == before, "a failure changes nothing on the key"
        assert launcher.running
        held = True
    finally:
        RESULTS.append((f"{group}/{case}", held))


def read_only(folder: Path):
    for p in folder.rglob("*"):
        if p.is_file():
            p.chmod(0o444)


def many_files(folder: Path, count: int):
    for n in range(count):
        sub = folder / "plugins" / f"groupe {n // 100:02d}"
        sub.mkdir(parents=True, exist_ok=True)
        (sub / f"module {n:05d}.dll").write_bytes(b"x" * 16)


def odd_names(folder: Path):
    for name in ("Musique&Son", "Cours(2026)", "Do^Ré", "100 %", "fin ", "point."):
        try:
            (folder / name).mkdir()
            (folder / name / "fichier.txt").write_bytes(b"x")
        except OSError:
            pass


def deep(folder: Path):
    sub = folder
    for level in range(14):
        sub = sub / f"dossier au nom assez long numéro {level}"
    sub.mkdir(parents=True)
    (sub / "au fond.txt").write_bytes(b"x")


# (case, what is done to VLC's folder before its removal)
REMOVALS = [
    ("read-only-files", read_only),
    ("four-thousand-files", lambda f: many_files(f, 4000)),
    ("odd-characters-in-names", odd_names),
    ("deeper-than-max-path", deep),
    ("empty-folders", lambda f: [(f / f"vide {n}" / "sous").mkdir(parents=True) for n in range(20)]),
    ("reserved-names", lambda f: [(f / name).write_bytes(b"x") for name in ("con", "aux.txt", "nul", "com1")]),
    ("longest-name", lambda f: (f / ("n" * 250 + ".txt")).write_bytes(b"x")),
]


@pytest.mark.parametrize("case,prepare", REMOVALS, ids=[c[0] for c in REMOVALS])
def test_removal_case(e2e, run, new_drive, case, prepare):
    held = False
    try:
        drive = new_drive()  # every component installed
        vlc = drive / "Musique" / "VLC"
        prepare(vlc)
        launcher = run(drive)
        launcher.wait_window()
        before = snapshot(drive, leave_out=vlc)
        e2e.click("Picture_supprimer")
        e2e.wait_for(lambda: controls(e2e)["Picture_desinstall_grand"]["visible"], what="the removal panel")
        e2e.click("Label_supprimer_vlc")
        answer(e2e, "Suppression d'un logiciel de musique", "Voulez-vous effacer VLC ?", harness.IDYES)
        answer(e2e, "Suppression d'un programme Cantarel", "Le programme 'VLC' a été supprimé!", harness.IDOK,
               timeout=120)
        assert not vlc.exists()
        assert not (drive / "Installation en cours").exists()
        assert snapshot(drive) == before, "only the component acted on may change"
        assert offered(e2e, "vlc") == (True, False)
        assert launcher.running
        held = True
    finally:
        RESULTS.append((f"drive/removal-{case}", held))


def package(files: dict):
    def change(tree: Path):
        with zipfile.ZipFile(tree / "logiciels" / "CantarelPortable.zip", "w", zipfile.ZIP_DEFLATED) as z:
            for name, data in files.items():
                z.writestr(name, data)
    return change


NOT_A_LAUNCHER = ("La mise à jour de Cantarel Portable contient d'autres fichiers que ceux du lanceur : elle n'a pas "
                  "été installée et la version actuelle reste en place. Recommencez ultérieurement ou contactez "
                  "{support}!")
PACKAGE_MISSING = ("La mise à jour de Cantarel Portable n'a pas pu être téléchargée! Recommencez ultérieurement ou "
                   "contactez {support}!")
UPDATED = "updated"
PACKAGE_NOT_VERIFIED = ("Le fichier de la mise à jour de Cantarel Portable reçu du serveur n'a pas pu être vérifié : "
                        "il ne correspond pas au catalogue signé de Cantarel. Rien n'a été installé ni démarré. "
                        "Recommencez ultérieurement ou contactez {support}!")

# (case, server faults, change to the package (signed again after), expected)
UPDATES = [
    ("package-404", ["--fail-404", "*/CantarelPortable.zip"], None, PACKAGE_MISSING),
    ("package-cut-every-time", ["--truncate", "*/CantarelPortable.zip"], None, PACKAGE_MISSING),
    ("package-cut-once", ["--cut-once", "*/CantarelPortable.zip"], None, UPDATED),
    ("package-with-a-script", [], package({"CantarelPortable.exe": b"MZ", "system/maestrel.bat": b"@echo"}),
     NOT_A_LAUNCHER),
    ("package-into-a-sub-folder", [], package({"Musique/VLC/vlc.exe": b"MZ", "CantarelPortable.exe": b"MZ"}),
     NOT_A_LAUNCHER),
    ("package-without-the-program", [], package({"unzip32.dll": b"MZ"}), NOT_A_LAUNCHER),
    ("package-changed-after-signing", [], "changed-after", PACKAGE_NOT_VERIFIED),
]


@pytest.mark.parametrize("case,faults,change,expected", UPDATES, ids=[c[0] for c in UPDATES])
def test_update_case(e2e, run, new_drive, server_tree, tmp_path, case, faults, change, expected):
    held = False
    try:
        tree = tmp_path / "arbre"
        shutil.copytree(server_tree, tree)
        (tree / "logiciels" / "version.txt").write_bytes(b"1.5\r\n")
        if callable(change):
            change(tree)
        sign(tree)
        if change == "changed-after":
            data = bytearray((tree / "logiciels" / "CantarelPortable.zip").read_bytes())
            data[-12] ^= 1
            (tree / "logiciels" / "CantarelPortable.zip").write_bytes(bytes(data))
        drive = new_drive()
        launcher = run(drive, extra_files=[UNZIP32], env={"CANTAREL_STANDIN_NO_WINDOW": "1"})
        launcher.wait_window()
        before = snapshot(drive)
        with DownloadServer(tree, tmp_path / "server.log", faults):
            e2e.click("Picture_aide")
            e2e.wait_for(lambda: controls(e2e)["Picture_aide_grand"]["visible"], what="the help panel")
            e2e.click("Picture_miseajour")
            answer(e2e, "Mise à jour de Cantarel Portable",
                   f"Voulez-vous mettre à jour Cantarel Portable de la version {harness.VERSION} vers la version "
                   "1.5 ?", harness.IDYES)
            if expected == UPDATED:
                assert launcher.wait_exit(timeout=90) == 0
            else:
                answer(e2e, "Mise à jour de Cantarel Portable", expected.format(support=SUPPORT), harness.IDOK,
                       timeout=90)
        if expected == UPDATED:
            assert (drive / "CantarelPortable.exe").is_file()
            assert snapshot(drive, leave_out=drive / "CantarelPortable.exe") == before
        else:
            assert snapshot(drive) == before, "a refused update changes no file"
            assert launcher.running
        held = True
    finally:
        RESULTS.append((f"update/{case}", held))


def test_clicks_during_an_action_start_nothing_else(e2e, run, new_drive, server_tree, tmp_path):
    held = False
    try:
        drive = new_drive(set(portable_tree.COMPONENTS) - {"vlc", "audacity"})
        launcher = run(drive, extra_files=[UNZIP32])
        launcher.wait_window()
        before = snapshot(drive, leave_out=drive / "Musique" / "VLC")
        with DownloadServer(server_tree, tmp_path / "server.log", ["--slow", "*/VLC.zip", "--slow-seconds", "4"]) \
                as server:
            e2e.click("Picture_installer")
            e2e.wait_for(lambda: controls(e2e)["Picture_installer_grand"]["visible"], what="the download panel")
            e2e.click("Label_telecharger_vlc")
            answer(e2e, "Installation d'un programme", "Voulez-vous installer VLC ?", harness.IDYES)
            for name in ("Label_telecharger_vlc", "Label_telecharger_audacity", "Picture_supprimer",
                         "Label_telecharger_vlc"):
                e2e.click(name)
            answer(e2e, "Installation d'un programme Cantarel", "Le programme 'VLC' a été installé!", harness.IDOK,
                   timeout=60)
            assert e2e.message_boxes() == []
            asked = [line for line in server.request_lines() if b".zip" in line]
        assert asked == [b"GET /logiciels/portable1.4/Musique/VLC.zip HTTP/1.1"], asked
        assert snapshot(drive, leave_out=drive / "Musique" / "VLC") == before
        held = True
    finally:
        RESULTS.append(("concurrency/clicks-during-an-action", held))
