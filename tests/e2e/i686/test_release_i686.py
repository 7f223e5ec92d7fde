"""The 32-bit release that users get, started end to end: Wine's 32-bit loader
runs it in the 64-bit prefix, so it is a 32-bit program on a 64-bit Windows,
with the 32-bit unzip32.dll beside it. A few journeys, each on a launcher of
its own: the window as first shown, an install, a removal, programs started,
and what the system probes answer a 32-bit process on a 64-bit Windows."""

import os
import re
import shutil
import subprocess
import sys
import time
import zipfile
from pathlib import Path

import pytest

import harness
import portable_tree
from download_server import DownloadServer, make_server_tree
from journey import answer, controls, offered
from test_launch import Starts, click_picture
from test_startup import INSTALLED, MENU, PANELS, assert_ends_cleanly, painted, rect
from window_state import assert_matches, children_by_name, expected_after_scan

REPO = Path(__file__).resolve().parents[3]
UNZIP32 = os.environ.get("CANTAREL_UNZIP32_DLL", "")
STANDIN = os.environ.get("CANTAREL_STANDIN_EXE", "")
I386 = 0x14C  # the PE machine of 32-bit x86 code
UNITS = {"Ko": 1 << 10, "Mo": 1 << 20, "Go": 1 << 30, "To": 1 << 40}


def pe_machine(path) -> int:
    head = Path(path).read_bytes()[:4096]
    pe = int.from_bytes(head[0x3C:0x40], "little")
    assert head[pe:pe + 4] == b"PE\0\0", f"{path} is no PE file"
    return int.from_bytes(head[pe + 4:pe + 6], "little")


def lower(text: str) -> str:
    return text.lower()


@pytest.fixture(scope="module")
def server_tree(tmp_path_factory):
    return make_server_tree(tmp_path_factory.mktemp("server") / "tree", STANDIN)


def test_the_window_is_shown_with_every_control_in_place(e2e, run, new_drive, capsys):
    assert pe_machine(e2e.launcher_exe) == I386, "the launcher under test is not the 32-bit build"
    drive = new_drive(INSTALLED)
    started = time.monotonic()
    launcher = run(drive)
    tree = launcher.wait_window(timeout=120)
    seconds = time.monotonic() - started
    figure = f"i686 release: window shown {seconds:.2f} s after start (qemu-user, 32-bit Wine)"
    (e2e.artifacts / "start-to-window.txt").write_text(figure + "\n")
    with capsys.disabled():
        print("\n" + figure)

    main = tree["main"]
    assert (main["title"], main["visible"], main["enabled"]) == (harness.TITLE, True, True)
    assert (main["client"]["width"], main["client"]["height"]) == (969, 542)
    children = children_by_name(tree)
    for name, y in MENU:
        button = children[name]
        assert (button["rect"]["x"], button["rect"]["y"], button["rect"]["height"]) == (4, y, 42), name
        assert button["visible"] and button["enabled"], name
    for name, (width, height) in PANELS.items():
        assert children[name]["rect"] == rect(251, 19, width, height), name
        assert not children[name]["visible"], name
    assert_matches(tree, expected_after_scan(e2e.probe("model"), INSTALLED))
    e2e.wait_for(lambda: painted(e2e, tree), timeout=30, what="a painted window")

    e2e.click("Picture_quitter")
    assert_ends_cleanly(e2e, launcher)


def total_space(caption: str) -> float:
    """The bytes of the caption's "Espace Total" line."""
    found = re.search(r"Espace Total : (\d+),(\d\d) (Ko|Mo|Go|To)", caption)
    assert found, f"no total in {caption!r}"
    return (int(found[1]) + int(found[2]) / 100) * UNITS[found[3]]


def test_solfege_is_downloaded_and_unpacked_by_the_32_bit_library(e2e, run, new_drive, server_tree, tmp_path):
    assert Path(UNZIP32).is_file(), f"the extraction library is missing: {UNZIP32!r}"
    assert pe_machine(UNZIP32) == I386, "unzip32.dll is not the 32-bit library"
    drive = new_drive(set(portable_tree.COMPONENTS) - {"solfege"})
    run(drive, extra_files=[UNZIP32]).wait_window()
    with DownloadServer(server_tree, tmp_path / "server.log") as server:
        e2e.click("Picture_installer")
        e2e.wait_for(lambda: controls(e2e)["Picture_installer_grand"]["visible"], what="the download panel")
        e2e.click("Label_telecharger_solfege")
        answer(e2e, "Installation d'un programme Cantarel", "Voulez-vous installer Cantarel Solfège ?", harness.IDYES)
        answer(e2e, "Installation d'un programme Cantarel", "Le programme 'Cantarel Solfège' a été installé!",
               harness.IDOK)
        # The path goes out in the ANSI code page, as from the 64-bit build.
        assert b"GET /logiciels/portable1.4/Cantarel/Solf\xe8ge.zip HTTP/1.1" in server.request_lines()

    with zipfile.ZipFile(server_tree / "logiciels" / "portable1.4" / "Cantarel" / "Solfège.zip") as archive:
        entries = archive.infolist()
        assert any(not entry.is_dir() for entry in entries)
        for entry in entries:
            target = drive / "Cantarel" / entry.filename
            if entry.is_dir():
                assert target.is_dir(), entry.filename
            else:
                assert target.read_bytes() == archive.read(entry), entry.filename
    assert not (drive / "Cantarel" / "Solfège.zip").exists()
    assert offered(e2e, "solfege") == (False, True)
    # Byte counts past 4 Go come through the 32-bit program whole.
    volume = os.statvfs(drive)
    real_total = volume.f_blocks * volume.f_frsize
    shown_total = total_space(controls(e2e)["Label_espace_disque_telecharger"]["text"])
    assert abs(shown_total - real_total) <= real_total / 100, (shown_total, real_total)


def test_solfege_is_removed_from_the_drive(e2e, run, new_drive):
    drive = new_drive()  # every component installed
    solfege = drive / "Cantarel" / "Solfège"
    (solfege / "leçons").mkdir()
    (solfege / "leçons" / "exercice é.txt").write_text("do ré mi\n", encoding="utf-8")
    run(drive).wait_window()
    e2e.click("Picture_supprimer")
    e2e.wait_for(lambda: controls(e2e)["Picture_desinstall_grand"]["visible"], what="the removal panel")
    e2e.click("Label_supprimer_solfege")
    answer(e2e, "Suppression d'un programme Cantarel", "Voulez-vous effacer Cantarel Solfège ?", harness.IDYES)
    answer(e2e, "Suppression d'un programme Cantarel", "Le programme 'Cantarel Solfège' a été supprimé!",
           harness.IDOK)
    assert not solfege.exists()
    assert (drive / "Cantarel" / "Quadrelo" / "quadrelo.txt").is_file()
    e2e.wait_for(lambda: not controls(e2e)["Picture_barre"]["styleVisible"], what="the end of the removal")
    assert offered(e2e, "solfege") == (True, False)
    assert not controls(e2e)["Picture_solfege"]["styleVisible"]


def test_a_suite_program_by_its_batch_file_and_a_free_program(e2e, run, tmp_path):
    """The batch file runs in the 32-bit cmd.exe, which Wine starts through
    the 32-bit loader too; the programs themselves are 64-bit stand-ins."""
    assert Path(STANDIN).is_file(), f"the stand-in program is missing: {STANDIN!r}"
    drive = tmp_path / "Clé USB" / "Cantarel Portable"
    subprocess.run([sys.executable, str(REPO / "demo" / "make_demo_drive.py"), str(drive), "--standin", STANDIN,
                    "--installed", "demo"], check=True, stdin=subprocess.DEVNULL, timeout=120)
    starts = Starts(e2e, tmp_path / "journal")
    run(drive, env=starts.env).wait_window()
    app = lower(e2e.prefix.windows_path(drive))

    click_picture(e2e, "Picture_solfege")
    [(exe, _, folder)] = starts.wait_for(1)
    assert lower(exe) == app + "\\cantarel\\solfège\\csolfege.exe"
    assert lower(folder.rstrip("\\")) == app + "\\cantarel\\solfège"

    click_picture(e2e, "Picture_vlc")
    lines = starts.wait_for(2)
    assert lower(lines[1][0]) == app + "\\musique\\vlc\\vlc.exe"
    assert len(lines) == 2 and not e2e.message_boxes()


@pytest.fixture
def sql_compact_for_32_bit_programs(e2e):
    """SQL Server Compact 3.5 where a 32-bit program looks for it: its
    %ProgramFiles% on a 64-bit Windows is "Program Files (x86)"."""
    drive_c = e2e.prefix.path / "drive_c"
    assert not (drive_c / "Program Files" / "Microsoft SQL Server Compact Edition").exists()
    folder = drive_c / "Program Files (x86)" / "Microsoft SQL Server Compact Edition"
    (folder / "v3.5").mkdir(parents=True, exist_ok=True)
    (folder / "v3.5" / "sqlcecompact35.dll").write_bytes(b"MZ")
    yield
    shutil.rmtree(folder)


def test_the_probes_answer_as_on_64_bit_windows(e2e, run, new_drive, sql_compact_for_32_bit_programs):
    """IsWow64Process says the 32-bit launcher runs on a 64-bit Windows: Tonavel,
    its SQL Server Compact found, is refused before its .NET 3.5 gate."""
    launcher = run(new_drive())
    launcher.wait_window()
    click_picture(e2e, "Picture_tonavel")
    answer(e2e, "Cantarel Portable", "Désolé. Ce programme ne peut pas fonctionner sur un système 64 bits",
           harness.IDOK)
    assert not e2e.message_boxes()
    assert launcher.running
