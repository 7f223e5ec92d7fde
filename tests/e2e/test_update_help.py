"""The help panel and the documents panel against the local download server:
the version check in its three outcomes, the update that hands over to the
package's program and closes the launcher, the help batch files started
hidden, the about box and a document folder opened in Explorer."""

import os
import shutil
from pathlib import Path

import pytest

import harness
from download_server import CATALOGUE_REQUESTS, DownloadServer, make_server_tree, sign
from journey import answer, controls

SUPPORT = os.environ.get("CANTAREL_SUPPORT_ADDRESS", "")
UNZIP32 = os.environ.get("CANTAREL_UNZIP32_DLL", "")
STANDIN = os.environ.get("CANTAREL_STANDIN_EXE", "")

CHECK_FAILED = ("Il n'est pas possible de vérifier si vous avez la dernière version! "
                f"Recommencez ultérieurement ou contactez {SUPPORT}!")


@pytest.fixture(scope="module")
def server_tree(tmp_path_factory):
    return make_server_tree(tmp_path_factory.mktemp("server") / "tree", STANDIN)


@pytest.fixture(scope="module")
def newer_server_tree(server_tree, tmp_path_factory):
    """The same server, announcing version 1.5."""
    tree = tmp_path_factory.mktemp("server-1.5") / "tree"
    shutil.copytree(server_tree, tree)
    (tree / "logiciels" / "version.txt").write_bytes(b"1.5\r\n")
    return sign(tree)


@pytest.fixture
def standin_log(tmp_path):
    folder = tmp_path / "standin-log"
    folder.mkdir()
    return folder


@pytest.fixture
def launcher(e2e, run, new_drive, standin_log):
    for needed in (UNZIP32, STANDIN):
        if not Path(needed).is_file():
            pytest.fail(f"missing: {needed!r}")
    drive = new_drive()
    started = run(drive, extra_files=[UNZIP32],
                  env={"CANTAREL_STANDIN_LOG": e2e.prefix.windows_path(standin_log),
                       "CANTAREL_STANDIN_NO_WINDOW": "1"})
    started.wait_window()
    started.drive = drive
    return started


def open_panel(e2e, button: str, panel: str):
    e2e.click(button)
    e2e.wait_for(lambda: controls(e2e)[panel]["visible"], what=f"the panel {panel}")


def standin_runs(folder: Path) -> list:
    """(executable, command line, working folder) of every stand-in started."""
    log = folder / "standin.log"
    if not log.exists():
        return []
    return [tuple(line.split("\t")) for line in log.read_text(encoding="utf-8").splitlines() if line]


def left_behind(drive: Path) -> list:
    return [name for name in ("version.txt", "CantarelPortable.zip") if (drive / name).exists()]


def check_for_update(e2e):
    open_panel(e2e, "Picture_aide", "Picture_aide_grand")
    e2e.click("Picture_miseajour")


def test_the_running_version_is_up_to_date(e2e, launcher, server_tree, tmp_path):
    with DownloadServer(server_tree, tmp_path / "server.log") as server:
        check_for_update(e2e)
        answer(e2e, "Vérification de la version de Cantarel Portable", "Vous avez la dernière version!",
               harness.IDOK)
        assert server.request_lines() == CATALOGUE_REQUESTS + [b"GET /logiciels/version.txt HTTP/1.1"]
    assert left_behind(launcher.drive) == []
    assert launcher.running


def drive_listing(drive: Path) -> list:
    """Every path on the drive but the record of accepted catalogues, which a check may write."""
    return sorted(p.relative_to(drive) for p in drive.rglob("*") if p.name != "catalogue-serie.txt")


def test_a_newer_version_refused_leaves_nothing(e2e, launcher, newer_server_tree, tmp_path):
    before = drive_listing(launcher.drive)
    with DownloadServer(newer_server_tree, tmp_path / "server.log") as server:
        check_for_update(e2e)
        box = answer(e2e, "Mise à jour de Cantarel Portable",
                     f"Voulez-vous mettre à jour Cantarel Portable de la version {harness.VERSION} vers la version 1.5 ?",
                     harness.IDNO)
        assert {b["id"] for b in box["buttons"]} == {harness.IDYES, harness.IDNO} and box["icon"]
        assert server.request_lines() == CATALOGUE_REQUESTS + [b"GET /logiciels/version.txt HTTP/1.1"]
    assert drive_listing(launcher.drive) == before
    assert launcher.running


def test_the_update_hands_over_to_the_packages_program_and_closes(e2e, launcher, newer_server_tree, tmp_path,
                                                                   standin_log):
    with DownloadServer(newer_server_tree, tmp_path / "server.log") as server:
        check_for_update(e2e)
        answer(e2e, "Mise à jour de Cantarel Portable",
               f"Voulez-vous mettre à jour Cantarel Portable de la version {harness.VERSION} vers la version 1.5 ?",
               harness.IDYES)
        assert launcher.wait_exit(timeout=60) == 0, "the launcher closes after the update"
        assert b"GET /logiciels/CantarelPortable.zip HTTP/1.1" in server.request_lines()
    drive = launcher.drive
    assert (drive / "CantarelPortable.exe").is_file()
    assert left_behind(drive) == []
    runs = e2e.wait_for(lambda: standin_runs(standin_log), what="the package's program to start")
    exe, _, folder = runs[0]
    assert exe.lower() == e2e.prefix.windows_path(drive / "CantarelPortable.exe").lower()
    assert folder.rstrip("\\").lower() == e2e.prefix.windows_path(drive).lower()


def test_the_server_down_is_a_failed_check(e2e, launcher):
    check_for_update(e2e)
    answer(e2e, "Installation d'un programme Cantarel", CHECK_FAILED, harness.IDOK)
    assert left_behind(launcher.drive) == []
    assert launcher.running


def test_an_empty_version_file_is_a_failed_check(e2e, launcher, server_tree, tmp_path_factory, tmp_path):
    tree = tmp_path_factory.mktemp("server-empty") / "tree"
    shutil.copytree(server_tree, tree)
    (tree / "logiciels" / "version.txt").write_bytes(b"\r\n")
    sign(tree, 1, "--launcher", "1.4")
    with DownloadServer(tree, tmp_path / "server.log"):
        check_for_update(e2e)
        answer(e2e, "Installation d'un programme Cantarel", CHECK_FAILED, harness.IDOK)
    assert left_behind(launcher.drive) == []


def test_a_broken_package_is_reported_and_the_launcher_stays(e2e, launcher, newer_server_tree, tmp_path,
                                                             standin_log):
    with DownloadServer(newer_server_tree, tmp_path / "server.log", ["--truncate", "*/CantarelPortable.zip"]):
        check_for_update(e2e)
        answer(e2e, "Mise à jour de Cantarel Portable",
               f"Voulez-vous mettre à jour Cantarel Portable de la version {harness.VERSION} vers la version 1.5 ?",
               harness.IDYES)
        answer(e2e, "Mise à jour de Cantarel Portable",
               "La mise à jour de Cantarel Portable n'a pas pu être téléchargée! Recommencez ultérieurement ou "
               f"contactez {SUPPORT}!", harness.IDOK)
    assert launcher.running
    assert not (launcher.drive / "CantarelPortable.exe").exists()
    assert left_behind(launcher.drive) == []
    assert standin_runs(standin_log) == []


def test_a_help_picture_starts_its_batch_file_hidden(e2e, launcher, standin_log):
    drive = launcher.drive
    # The help file starts a stand-in (which logs and ends), then keeps its
    # console busy for a while so that a visible console would be seen.
    shutil.copy2(STANDIN, drive / "aide" / "Guide.exe")
    (drive / "aide" / "portable.bat").write_bytes(
        b"@echo off\r\n\"%~dp0Guide.exe\" portable\r\nfor /L %%i in (1,1,30000) do rem\r\n")
    open_panel(e2e, "Picture_aide", "Picture_aide_grand")
    e2e.click("Picture_utilisation_portable")
    runs = e2e.wait_for(lambda: standin_runs(standin_log), what="the help file to run")
    exe, command_line, folder = runs[0]
    assert exe.lower().endswith("\\aide\\guide.exe")
    assert folder.rstrip("\\").lower() == e2e.prefix.windows_path(drive).lower()
    main_pid = e2e.probe("windows")["mainPid"]
    shown = [w for w in e2e.probe("windows")["windows"]
             if w["visible"] and w["pid"] != main_pid and w["rect"]["w"] > 0]
    assert [w for w in shown if "console" in w["class"].lower() or "cmd" in w["title"].lower()] == [], shown
    c = controls(e2e)
    assert launcher.running and c["Picture_aide_grand"]["visible"]


def test_a_missing_help_file_is_said_and_the_launcher_stays(e2e, launcher):
    open_panel(e2e, "Picture_aide", "Picture_aide_grand")
    e2e.click("Picture_erreurs")
    box = e2e.wait_message_box(timeout=30)
    assert box["text"].endswith("\\aide\\erreurs.bat n'a pas pu être ouvert!")
    e2e.press(harness.IDOK)
    assert launcher.running


def test_the_about_box_has_its_three_lines(e2e, launcher):
    open_panel(e2e, "Picture_aide", "Picture_aide_grand")
    e2e.click("Picture_apropos")
    box = e2e.wait_message_box(timeout=30)
    assert box["title"] == "A propos de Cantarel Portable"
    lines = box["text"].replace("\r\n", "\n").split("\n")
    assert len(lines) == 3 and lines[0] == "Cantarel Portable - Version " + harness.VERSION and all(lines), lines
    assert {b["id"] for b in box["buttons"]} == {harness.IDOK}
    e2e.screenshot("about-box.png")
    e2e.press(harness.IDOK)
    e2e.wait_for(lambda: not e2e.message_boxes(), what="the about box to close")
    assert launcher.running


def test_a_document_picture_opens_its_folder_in_explorer(e2e, launcher):
    def shown():
        return {w["hwnd"]: w for w in e2e.probe("windows")["windows"] if w["visible"]}

    before = shown()
    open_panel(e2e, "Picture_documents", "Picture_documents_grand")
    e2e.click("Picture_documents_musiques")
    new = e2e.wait_for(lambda: [w for h, w in shown().items() if h not in before and w["class"] == "ExplorerWClass"],
                       timeout=60, what="a new Explorer window")
    assert new[0]["pid"] != launcher.pid
    assert new[0]["title"] == "Musiques", new
    e2e.screenshot("documents-explorer.png")
    assert e2e.message_boxes() == []
    assert launcher.running
    c = controls(e2e)
    assert c["Picture_documents_musiques"]["visible"]
