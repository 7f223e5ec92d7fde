"""Starting programs from their pictures on the demo drive: the free programs
through the shell, the suite's programs through their hidden batch files, the
fall-back of CDex, the .NET 4 check of Bullaro with its download, and the two
installers of the French voice. The stand-in program writes one line per start
into standin.log, which is what these tests read."""

import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

import pytest

import harness
from download_server import DownloadServer, make_server_tree
from journey import answer, controls, offered

REPO = Path(__file__).resolve().parents[2]
STANDIN = os.environ.get("CANTAREL_STANDIN_EXE", "")
SUPPORT = os.environ.get("CANTAREL_SUPPORT_ADDRESS", "")


@pytest.fixture(scope="module")
def server_tree(tmp_path_factory):
    return make_server_tree(tmp_path_factory.mktemp("server") / "tree", STANDIN)


@pytest.fixture
def drive(tmp_path):
    """The demo drive, with the French voice's installers added."""
    if not Path(STANDIN).is_file():
        pytest.fail(f"the stand-in program is missing: {STANDIN!r}")
    root = tmp_path / "Clé USB" / "Cantarel Portable"
    subprocess.run([sys.executable, str(REPO / "demo" / "make_demo_drive.py"), str(root), "--standin", STANDIN,
                    "--installed", "demo"], check=True, stdin=subprocess.DEVNULL, timeout=120)
    speech = root / "Windows" / "Speech"
    speech.mkdir(parents=True, exist_ok=True)
    for name in ("MSReaderSetupFRA.exe", "ReaderTTSInstallFRA.exe"):
        shutil.copy2(STANDIN, speech / name)
    return root


class Starts:
    """What the stand-ins wrote: (exe path, command line, working folder)."""

    def __init__(self, e2e, folder: Path):
        self.e2e, self.folder = e2e, folder
        folder.mkdir(parents=True, exist_ok=True)
        self.env = {"CANTAREL_STANDIN_LOG": e2e.prefix.windows_path(folder), "CANTAREL_STANDIN_NO_WINDOW": "1"}

    def lines(self) -> list:
        log = self.folder / "standin.log"
        if not log.exists():
            return []
        text = log.read_bytes().decode("utf-8", errors="replace")
        return [tuple(line.split("\t")) for line in text.split("\r\n") if line]

    def wait_for(self, count: int) -> list:
        self.e2e.wait_for(lambda: len(self.lines()) >= count, timeout=60, what=f"{count} program start(s)")
        return self.lines()

    def by_clicking(self, picture: str) -> list:
        """Clicks the picture and waits for its program. A click the window
        did not take under load (nothing at all started within 20 s) is made
        once more."""
        click_picture(self.e2e, picture)
        try:
            self.e2e.wait_for(lambda: self.lines(), timeout=20, what="a start")
        except harness.HarnessError:
            click_picture(self.e2e, picture)
        return self.wait_for(1)


@pytest.fixture
def starts(e2e, tmp_path):
    return Starts(e2e, tmp_path / "journal")


# The category button of each panel that holds program pictures.
PANEL_BUTTONS = {"Picture_lecture_grand": "Picture_lecture", "Picture_partitions_grand": "Picture_partition",
                 "Picture_musique_grand": "Picture_musique", "Picture_outils_grand": "Picture_outils",
                 "Picture_windows_grand": "Picture_windows"}


def show(e2e, picture: str):
    """Opens the panel that holds `picture`; a click the launcher was too busy
    to take (the 32-bit one under emulation is slow) is made again."""
    c = controls(e2e)
    panel = next(name for name, window in c.items() if window["id"] == c[picture]["parentId"])
    for _ in range(3):
        e2e.click(PANEL_BUTTONS[panel])
        try:
            e2e.wait_for(lambda: controls(e2e)[picture]["visible"], timeout=10, what=f"{picture} shown")
            return
        except harness.HarnessError:
            continue
    raise AssertionError(f"{panel} does not show {picture}")


def click_picture(e2e, picture: str):
    show(e2e, picture)
    e2e.click(picture)


def windows_name(path: Path, drive: Path, e2e) -> str:
    return e2e.prefix.windows_path(drive) + "\\" + str(path)


def start_on(run, drive, starts):
    launcher = run(drive, env=starts.env)
    launcher.wait_window()
    return launcher


def lower(text: str) -> str:
    return text.lower()


def test_an_installed_free_program_is_opened_from_the_drive(e2e, run, drive, starts):
    start_on(run, drive, starts)
    app = e2e.prefix.windows_path(drive)
    [(exe, _, folder)] = starts.by_clicking("Picture_vlc")
    assert lower(exe) == lower(app + "\\Musique\\VLC\\vlc.exe")
    assert lower(folder.rstrip("\\")) == lower(app)
    c = controls(e2e)
    assert c["Picture_vlc"]["visible"]
    assert not e2e.message_boxes()


def test_a_suite_program_runs_its_batch_file_hidden(e2e, run, drive, starts):
    start_on(run, drive, starts)
    app = e2e.prefix.windows_path(drive)
    [(exe, _, folder)] = starts.by_clicking("Picture_solfege")
    # The batch file starts the program from its own folder.
    assert lower(exe) == lower(app + "\\Cantarel\\Solfège\\Csolfege.exe")
    assert lower(folder.rstrip("\\")) == lower(app + "\\Cantarel\\Solfège")
    # No console window shows on the screen.
    visible = [w for w in e2e.probe("windows").get("windows", []) if w.get("visible")]
    assert not [w for w in visible if "cmd" in w.get("title", "").lower() or "Console" in w.get("class", "")]
    assert not e2e.message_boxes()


def test_cdex_starts_the_portable_program_when_it_is_there_and_cdex_otherwise(e2e, run, drive, starts):
    cdex = drive / "Musique" / "CDex"
    shutil.copy2(STANDIN, cdex / "CDex.exe")
    start_on(run, drive, starts)
    app = e2e.prefix.windows_path(drive)
    click_picture(e2e, "Picture_cdex")
    starts.wait_for(1)
    (cdex / "CDexPortable.exe").unlink()
    e2e.click("Picture_cdex")
    lines = starts.wait_for(2)
    assert [lower(line[0]) for line in lines] == [lower(app + "\\Musique\\CDex\\CDexPortable.exe"),
                                                   lower(app + "\\Musique\\CDex\\CDex.exe")]


def test_a_missing_batch_file_is_named_and_the_window_goes_on(e2e, run, drive, starts):
    (drive / "system" / "quadrelo.bat").unlink()
    (drive / "Cantarel" / "Quadrelo").mkdir(parents=True, exist_ok=True)
    shutil.copy2(STANDIN, drive / "Cantarel" / "Quadrelo" / "quadrelo.exe")
    launcher = start_on(run, drive, starts)
    click_picture(e2e, "Picture_quadrelo")
    box = e2e.wait_message_box(timeout=30)
    assert (box["title"], box["text"]) == ("Cantarel Portable", "Le programme 'Quadrelo' n'a pas pu être démarré!")
    e2e.press(harness.IDOK)
    e2e.wait_for(lambda: not e2e.message_boxes(), what="the report closed")
    assert launcher.running
    click_picture(e2e, "Picture_vlc")
    starts.wait_for(1)


@pytest.fixture
def without_dotnet4(e2e):
    """The prefix's Windows without the .NET Framework 4 folder, for one test."""
    framework = e2e.prefix.path / "drive_c" / "windows" / "Microsoft.NET" / "Framework"
    present = framework / "v4.0.30319"
    aside = framework / "v4.0.30319.mis-de-cote"
    if present.exists():
        present.rename(aside)
    yield
    if aside.exists():
        aside.rename(present)


def test_bullaro_without_dotnet4_downloads_and_starts_its_installer(e2e, run, drive, starts, server_tree, tmp_path,
                                                                      without_dotnet4):
    # The installer is not on this drive: the gate downloads it.
    shutil.rmtree(drive / "Windows" / "dotnet4")
    start_on(run, drive, starts)
    app = e2e.prefix.windows_path(drive)
    with DownloadServer(server_tree, tmp_path / "server.log") as server:
        click_picture(e2e, "Picture_bullaro")
        box = answer(e2e, "Installation du Framework.net Version 4",
                     "Ce programme a besoin de mettre à jour votre système pour fonctionner. Voulez-vous continuer?",
                     harness.IDYES)
        assert {b["id"] for b in box["buttons"]} == {harness.IDYES, harness.IDNO} and box["icon"]
        answer(e2e, "Téléchargement du Framework.net Version 4",
               "Le Framework.net Version 4 doit être téléchargé. Voulez-vous le télécharger (taille du fichier : "
               "48 Mo)?", harness.IDYES)
        [(exe, _, folder)] = starts.wait_for(1)
        assert any(line.startswith(b"GET /logiciels/portable/Windows/dotNetFx40_Full_x86_x64.exe ")
                   for line in server.request_lines())
    assert lower(exe) == lower(app + "\\Windows\\dotnet4\\dotNetFx40_Full_x86_x64.exe")
    assert (drive / "Windows" / "dotnet4" / "dotNetFx40_Full_x86_x64.exe").is_file()
    e2e.wait_for(lambda: not controls(e2e)["Picture_barre_telecharger"]["visible"], what="the bar hidden")
    c = controls(e2e)
    assert not c["Label_telecharger_framework_4"]["enabled"] and c["Label_supprimer_framework_4"]["enabled"]
    assert not e2e.message_boxes()  # no report of the success
    show(e2e, "Picture_net4")
    assert controls(e2e)["Picture_net4"]["visible"]
    # Bullaro itself waits for the next click.
    assert len(starts.lines()) == 1


def test_a_changed_installer_is_never_started(e2e, run, drive, starts, server_tree, tmp_path, without_dotnet4):
    shutil.rmtree(drive / "Windows" / "dotnet4")
    tree = tmp_path / "arbre"
    shutil.copytree(server_tree, tree)
    installer = tree / "logiciels" / "portable" / "Windows" / "dotNetFx40_Full_x86_x64.exe"
    data = bytearray(installer.read_bytes())
    data[len(data) // 2] ^= 0x01
    installer.write_bytes(bytes(data))
    start_on(run, drive, starts)
    with DownloadServer(tree, tmp_path / "server.log"):
        click_picture(e2e, "Picture_bullaro")
        answer(e2e, "Installation du Framework.net Version 4",
               "Ce programme a besoin de mettre à jour votre système pour fonctionner. Voulez-vous continuer?",
               harness.IDYES)
        answer(e2e, "Téléchargement du Framework.net Version 4",
               "Le Framework.net Version 4 doit être téléchargé. Voulez-vous le télécharger (taille du fichier : "
               "48 Mo)?", harness.IDYES)
        box = e2e.wait_message_box(timeout=60)
        assert "n'a pas pu être vérifié" in box["text"] and box["text"].endswith(f"{SUPPORT}!"), box["text"]
        answer(e2e, box["title"], box["text"], harness.IDOK)
    assert list((drive / "Windows" / "dotnet4").glob("*")) == []
    assert starts.lines() == [], "an unverified installer must never start"
    assert offered(e2e, "framework_4") == (True, False)


def test_the_voice_runs_its_two_installers_in_order(e2e, run, drive, starts):
    start_on(run, drive, starts)
    app = e2e.prefix.windows_path(drive)
    click_picture(e2e, "Picture_voix")
    lines = starts.wait_for(2)
    assert [lower(line[0]) for line in lines] == [lower(app + "\\Windows\\Speech\\MSReaderSetupFRA.exe"),
                                                   lower(app + "\\Windows\\Speech\\ReaderTTSInstallFRA.exe")]


def test_quitting_while_the_first_voice_installer_runs_quits_and_starts_no_second(e2e, run, drive, starts):
    # The stand-in shows its box and stays, as a real installer would.
    del starts.env["CANTAREL_STANDIN_NO_WINDOW"]
    launcher = start_on(run, drive, starts)
    click_picture(e2e, "Picture_voix")
    [(first, _, _)] = starts.wait_for(1)
    assert first.lower().endswith("\\windows\\speech\\msreadersetupfra.exe")
    e2e.probe("close")
    assert launcher.wait_exit(timeout=30) == 0
    # The installer keeps running on its own; once it ends nothing follows it.
    box = e2e.wait_message_box(timeout=30)
    assert "Microsoft Reader" in box["text"], box
    e2e.press(harness.IDOK)
    e2e.wait_for(lambda: not e2e.message_boxes(), what="the installer to end")
    time.sleep(2)
    assert len(starts.lines()) == 1
