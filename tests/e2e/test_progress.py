"""Long actions under way: the figures under the waiting bar, a window that
keeps answering, "Annuler" and Escape that leave the key as it was, a close
asked for during an action, and a second start of the launcher from the same
key."""

import os
import subprocess
import zipfile
from pathlib import Path

import pytest

import harness
import portable_tree
from download_server import DownloadServer, make_server_tree, sign
from journey import answer, controls, offered, snapshot, start_vlc_install

UNZIP32 = os.environ.get("CANTAREL_UNZIP32_DLL", "")
STANDIN = os.environ.get("CANTAREL_STANDIN_EXE", "")
VLC_ARCHIVE = Path("logiciels") / "portable1.4" / "Musique" / "VLC.zip"
SLOW = ["--slow", "*/VLC.zip", "--slow-seconds", "12"]




@pytest.fixture(scope="module")
def tree(tmp_path_factory):
    """The signed demo tree with a VLC archive of some 24 MB, worth watching."""
    tree = make_server_tree(tmp_path_factory.mktemp("server") / "tree", STANDIN)
    with zipfile.ZipFile(tree / VLC_ARCHIVE, "w", zipfile.ZIP_STORED) as z:
        z.writestr("VLC/vlc.exe", b"MZ")
        z.writestr("VLC/plugins/gros.bin", os.urandom(24 * 1024 * 1024))
    return sign(tree)


@pytest.fixture
def drive(new_drive):
    return new_drive(set(portable_tree.COMPONENTS) - {"vlc"})


@pytest.fixture
def launcher(e2e, run, drive):
    started = run(drive, extra_files=[UNZIP32])
    started.wait_window()
    return started


def strip(e2e) -> dict:
    """The progress control and the figures beside it, as on screen now."""
    children = e2e.probe("tree")["children"]
    bar = [c for c in children if c["class"] == "msctls_progress32" and c["visible"]]
    if not bar:
        return {}
    texts = [c["text"] for c in children if c["class"] == "Static" and c["visible"] and c["parent"] == bar[0]["parent"]]
    return {"position": bar[0]["position"], "text": texts[0] if texts else ""}


def test_a_slow_download_shows_its_figures_and_the_window_keeps_answering(e2e, launcher, drive, tree, tmp_path):
    with DownloadServer(tree, tmp_path / "server.log", SLOW):
        start_vlc_install(e2e)
        shown = e2e.wait_for(lambda: (s := strip(e2e)) and " Mo sur 24,0 Mo" in s["text"] and s["position"] > 0 and s,
                             timeout=30, what="the figures of the download")
        e2e.screenshot("progress-download.png")
        assert shown["text"].split(" % - ")[0].isdigit(), shown
        answers = e2e.probe("answers", "20", "100")
        (e2e.artifacts / "answers.txt").write_text(f"{answers}\n")
        assert answers["unanswered"] == 0 and answers["longestMs"] < 500, answers
        answer(e2e, "Installation d'un programme Cantarel", "Le programme 'VLC' a été installé!", harness.IDOK,
               timeout=60)
    assert (drive / "Musique" / "VLC" / "plugins" / "gros.bin").stat().st_size == 24 * 1024 * 1024
    assert not (drive / "Installation en cours").exists()
    assert strip(e2e) == {}


@pytest.mark.parametrize("stop", ["Annuler", "Escape"])
def test_a_stopped_download_leaves_the_key_as_it_was(e2e, launcher, drive, tree, tmp_path, stop):
    before = snapshot(drive)
    with DownloadServer(tree, tmp_path / "server.log", SLOW):
        start_vlc_install(e2e)
        e2e.wait_for(lambda: (s := strip(e2e)) and s["position"] > 0, timeout=30, what="the download under way")
        if stop == "Annuler":
            e2e.click_button("Annuler")
        else:
            e2e.key("Escape")
        e2e.wait_for(lambda: not controls(e2e)["Picture_barre_telecharger"]["visible"], timeout=5,
                     what="the action to stop within a second or so")
    assert not e2e.message_boxes()
    assert snapshot(drive) == before
    assert offered(e2e, "vlc") == (True, False)
    assert launcher.running


def test_closing_during_a_download_asks_and_yes_stops_it_and_quits(e2e, launcher, drive, tree, tmp_path):
    before = snapshot(drive)
    with DownloadServer(tree, tmp_path / "server.log", SLOW):
        start_vlc_install(e2e)
        e2e.wait_for(lambda: (s := strip(e2e)) and s["position"] > 0, timeout=30, what="the download under way")
        e2e.probe("close")
        answer(e2e, "Cantarel Portable",
               "Une action est en cours. Voulez-vous l'arrêter et quitter Cantarel Portable ?", harness.IDNO)
        assert launcher.running
        e2e.probe("close")
        answer(e2e, "Cantarel Portable",
               "Une action est en cours. Voulez-vous l'arrêter et quitter Cantarel Portable ?", harness.IDYES)
        assert launcher.wait_exit(timeout=30) == 0
    assert snapshot(drive) == before


def test_a_second_start_from_the_same_key_leaves_one_window(e2e, launcher, drive):
    second = subprocess.run([*e2e.loader, str(launcher.exe)], cwd=drive, env=e2e.prefix.env, timeout=120,
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    assert second.returncode == 0
    windows = e2e.probe("windows")["windows"]
    assert len([w for w in windows if w["title"] == harness.TITLE and w["visible"]]) == 1, windows
    assert launcher.running


def test_a_download_cut_by_the_network_resumes_where_it_stopped(e2e, launcher, drive, tree, tmp_path):
    with DownloadServer(tree, tmp_path / "server.log", ["--cut-once", "*/VLC.zip"]) as server:
        start_vlc_install(e2e)
        answer(e2e, "Installation d'un programme Cantarel", "Le programme 'VLC' a été installé!", harness.IDOK,
               timeout=60)
        statuses = [line.split("\t")[1] for line in server.log.read_text().splitlines() if "VLC.zip" in line]
    archive = tree / VLC_ARCHIVE
    assert statuses == ["200 cut", f"206 from {archive.stat().st_size // 2}"], statuses
    assert (drive / "Musique" / "VLC" / "plugins" / "gros.bin").stat().st_size == 24 * 1024 * 1024
    assert offered(e2e, "vlc") == (False, True)


def test_closing_during_a_removal_leaves_the_component_whole_or_gone(e2e, run, new_drive):
    drive = new_drive()  # every component installed
    vlc = drive / "Musique" / "VLC"
    for n in range(6000):
        sub = vlc / "plugins" / f"groupe {n // 50:03d}"
        sub.mkdir(parents=True, exist_ok=True)
        (sub / f"module {n:05d}.dll").write_bytes(b"x" * 64)
    before = snapshot(vlc)
    launcher = run(drive)
    launcher.wait_window()
    e2e.click("Picture_supprimer")
    e2e.wait_for(lambda: controls(e2e)["Picture_desinstall_grand"]["visible"], what="the removal panel")
    e2e.click("Label_supprimer_vlc")
    answer(e2e, "Suppression d'un logiciel de musique", "Voulez-vous effacer VLC ?", harness.IDYES)
    e2e.probe("close")
    # Yes to the question if the removal still ran; then the report, after
    # which the close goes through.
    seen = []
    while launcher.running:
        boxes = e2e.wait_for(lambda: e2e.message_boxes() or not launcher.running, timeout=60,
                             what="a box or the end")
        if boxes is True:
            break
        seen.append(boxes[0]["text"])
        e2e.press(harness.IDYES if boxes[0]["text"].startswith("Une action est en cours") else harness.IDOK)
        e2e.wait_for(lambda: not e2e.message_boxes() or not launcher.running, what="the box to go")
    assert launcher.wait_exit(timeout=60) == 0, seen
    (e2e.artifacts / "removal-close.txt").write_text("\n".join(seen) + "\n")
    # Whole in its place, or gone from it: never half a component.
    assert not vlc.exists() or snapshot(vlc) == before
    run(drive).wait_window()
    assert not (drive / "Installation en cours").exists()
    assert offered(e2e, "vlc") == (True, False) if not vlc.exists() else (False, True)
