"""Nothing from the network lands on the key or starts unless the server's
signed catalogue vouches for it: a changed archive, a captive portal, a replayed
older catalogue, a changed update package, and signed archives or packages that
would write outside their own files are refused with the message and
leave the key as it was; a tree re-signed with a new key that the built-in one
endorses is accepted."""

import os
import shutil
import subprocess
import zipfile
from pathlib import Path

import pytest

import harness
import portable_tree
from download_server import DownloadServer, make_server_tree, sign
from journey import ACCEPTED_SERIALS as RECORD, answer, controls, offered, snapshot, start_vlc_install

SUPPORT = os.environ.get("CANTAREL_SUPPORT_ADDRESS", "")
UNZIP32 = os.environ.get("CANTAREL_UNZIP32_DLL", "")
STANDIN = os.environ.get("CANTAREL_STANDIN_EXE", "")
VLC_ARCHIVE = Path("logiciels") / "portable1.4" / "Musique" / "VLC.zip"


def not_verified(name: str) -> str:
    return (f"Le fichier de {name} reçu du serveur n'a pas pu être vérifié : il ne correspond pas au catalogue "
            "signé de Cantarel. Rien n'a été installé ni démarré. Recommencez ultérieurement ou contactez "
            f"{SUPPORT}!")




@pytest.fixture(scope="module")
def server_tree(tmp_path_factory):
    return make_server_tree(tmp_path_factory.mktemp("server") / "tree", STANDIN)


@pytest.fixture
def tree(server_tree, tmp_path):
    """A copy of the signed tree that a test may tamper with."""
    copy = tmp_path / "arbre"
    shutil.copytree(server_tree, copy)
    return copy


@pytest.fixture
def drive(new_drive):
    return new_drive(set(portable_tree.COMPONENTS) - {"vlc"})


@pytest.fixture
def launcher(e2e, run, drive):
    started = run(drive, extra_files=[UNZIP32])
    started.wait_window()
    return started


def refused_vlc(e2e, drive, tree, tmp_path, faults=()):
    before = snapshot(drive)
    with DownloadServer(tree, tmp_path / "server.log", list(faults)):
        start_vlc_install(e2e)
        answer(e2e, "Installation d'un programme", not_verified("VLC"), harness.IDOK)
    assert snapshot(drive) == before, "nothing may land on the key"
    assert offered(e2e, "vlc") == (True, False)


def test_an_archive_changed_by_one_byte_is_refused(e2e, launcher, drive, tree, tmp_path):
    archive = tree / VLC_ARCHIVE
    data = bytearray(archive.read_bytes())
    data[len(data) // 2] ^= 0x20
    archive.write_bytes(bytes(data))
    refused_vlc(e2e, drive, tree, tmp_path)


def test_a_portal_that_answers_every_path_with_a_page_installs_nothing(e2e, launcher, drive, tree, tmp_path):
    refused_vlc(e2e, drive, tree, tmp_path, ["--portal", "*"])


def test_an_older_catalogue_is_a_refused_replay(e2e, run, drive, tree, tmp_path):
    (drive / RECORD).write_bytes(b"demo\t5\r\n")
    run(drive, extra_files=[UNZIP32]).wait_window()
    refused_vlc(e2e, drive, sign(tree, 4), tmp_path)
    assert (drive / RECORD).read_bytes() == b"demo\t5\r\n"


def test_a_tree_signed_with_a_new_key_the_old_one_endorses_is_accepted(e2e, launcher, drive, tree, tmp_path):
    tools = portable_tree.REPO / "tools"
    new_key = tmp_path / "suivante.private.pem"
    subprocess.run(["/usr/bin/python3", str(tools / "sign_tree.py"), "--new-key", str(new_key)], check=True)
    sign(tree, 2, "--key", str(new_key), "--endorse-with", str(tools / "keys" / "demo.private.pem"))
    with DownloadServer(tree, tmp_path / "server.log"):
        start_vlc_install(e2e)
        answer(e2e, "Installation d'un programme Cantarel", "Le programme 'VLC' a été installé!", harness.IDOK)
    assert (drive / "Musique" / "VLC" / "vlc.exe").is_file()
    assert "suivante\t2" in (drive / RECORD).read_text()


def accept_the_update(e2e):
    e2e.click("Picture_aide")
    e2e.wait_for(lambda: controls(e2e)["Picture_aide_grand"]["visible"], what="the help panel")
    e2e.click("Picture_miseajour")
    answer(e2e, "Mise à jour de Cantarel Portable",
           "Voulez-vous mettre à jour Cantarel Portable de la version 1.4 vers la version 1.5 ?", harness.IDYES)


def test_a_changed_update_package_leaves_every_launcher_file_as_it_was(e2e, launcher, drive, tree, tmp_path):
    (tree / "logiciels" / "version.txt").write_bytes(b"1.5\r\n")
    sign(tree, 3)
    package = tree / "logiciels" / "CantarelPortable.zip"
    data = bytearray(package.read_bytes())
    data[-10] ^= 0x01
    package.write_bytes(bytes(data))
    before = snapshot(drive)
    with DownloadServer(tree, tmp_path / "server.log"):
        accept_the_update(e2e)
        answer(e2e, "Mise à jour de Cantarel Portable", not_verified("la mise à jour de Cantarel Portable"),
               harness.IDOK)
    assert snapshot(drive) == before
    assert launcher.running


def rezip(archive: Path, files: dict):
    """Replaces `archive` with one holding `files` (name: bytes)."""
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in files.items():
            z.writestr(name, data)


def test_a_signed_archive_reaching_into_another_folder_installs_nothing(e2e, launcher, drive, tree, tmp_path):
    rezip(tree / VLC_ARCHIVE, {"VLC/vlc.exe": b"MZ", "Audacity/audacity.exe": b"MZ remplace"})
    sign(tree)
    before = snapshot(drive)
    with DownloadServer(tree, tmp_path / "server.log"):
        start_vlc_install(e2e)
        answer(e2e, "Installation d'un programme",
               "L'archive de VLC contient des fichiers destinés à un autre dossier que le sien : rien n'a été "
               f"installé. Recommencez ultérieurement ou contactez {SUPPORT}!", harness.IDOK)
    assert snapshot(drive) == before, "nothing may land on the key"
    assert offered(e2e, "vlc") == (True, False)


def test_a_signed_update_package_with_more_than_the_launcher_changes_no_file(e2e, launcher, drive, tree, tmp_path):
    (tree / "logiciels" / "version.txt").write_bytes(b"1.5\r\n")
    rezip(tree / "logiciels" / "CantarelPortable.zip",
          {"CantarelPortable.exe": b"MZ", "system/maestrel.bat": b"@echo off\r\n"})
    sign(tree, 3)
    before = snapshot(drive)
    with DownloadServer(tree, tmp_path / "server.log"):
        accept_the_update(e2e)
        answer(e2e, "Mise à jour de Cantarel Portable",
               "La mise à jour de Cantarel Portable contient d'autres fichiers que ceux du lanceur : elle n'a pas "
               "été installée et la version actuelle reste en place. Recommencez ultérieurement ou contactez "
               f"{SUPPORT}!", harness.IDOK)
    assert snapshot(drive) == before
    assert launcher.running


def test_what_an_interrupted_install_left_is_cleared_at_the_next_start(e2e, run, drive):
    leftover = drive / "Installation en cours" / "vlc"
    (leftover / "fichiers" / "VLC").mkdir(parents=True)
    (leftover / "fichiers" / "VLC" / "vlc.exe").write_bytes(b"MZ")
    (leftover / "VLC.zip.partiel").write_bytes(b"PK")
    run(drive, extra_files=[UNZIP32]).wait_window()
    assert not (drive / "Installation en cours").exists()
    assert offered(e2e, "vlc") == (True, False)
