"""The catalogue of hostile and faulty conditions an install meets, one row
each: the condition, the expected outcome (installed, or the exact message),
and the key afterwards, compared file by file with its hashes: only the
component acted on may change, and a failure changes nothing. The run ends
with a summary line: cases run, cases held."""

import os
import shutil
import time
import zipfile
from pathlib import Path

import pytest

import harness
import portable_tree
from download_server import DownloadServer, make_server_tree, sign
from journey import controls, offered, snapshot

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
    data = bytearray((tree / VLC).read_bytes())
    for at in range(30, len(data), 97):
        data[at] ^= 0x5A
    (tree / VLC).write_bytes(bytes(data))


def change_signature(tree: Path):
    sig = tree / "logiciels" / "catalogue.sig"
    data = bytearray(sig.read_bytes())
    data[10] ^= 1
    sig.write_bytes(bytes(data))


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
