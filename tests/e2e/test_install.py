"""Installing components from the download panel against the local download
server: the question, the waiting bar, the files on the drive, the window
afterwards and the report; and the failures a school network brings."""

import os
import shutil
from pathlib import Path

import pytest

import harness
import portable_tree
from download_server import DownloadServer, make_server_tree
from journey import answer, controls, offered

SUPPORT = os.environ.get("CANTAREL_SUPPORT_ADDRESS", "")
UNZIP32 = os.environ.get("CANTAREL_UNZIP32_DLL", "")
# Missing from the drive at the start of these tests.
MISSING = {"vlc", "audacity", "cdex", "java", "solfege", "quiz", "chopin", "hymnes", "symphonique", "tuxguitar"}


@pytest.fixture(scope="module")
def server_tree(tmp_path_factory):
    return make_server_tree(tmp_path_factory.mktemp("server") / "tree", os.environ.get("CANTAREL_STANDIN_EXE"))


@pytest.fixture
def drive(new_drive):
    return new_drive(set(portable_tree.COMPONENTS) - MISSING)


@pytest.fixture
def launcher(e2e, run, drive):
    if not Path(UNZIP32).is_file():
        pytest.fail(f"the extraction library is missing: {UNZIP32!r}")
    started = run(drive, extra_files=[UNZIP32])
    started.wait_window()
    return started


def install(e2e, component: str):
    e2e.click("Picture_installer")
    e2e.wait_for(lambda: controls(e2e)["Picture_installer_grand"]["visible"], what="the download panel")
    e2e.click(f"Label_telecharger_{component}")


def test_vlc_is_downloaded_extracted_and_shown(e2e, launcher, drive, server_tree, tmp_path):
    with DownloadServer(server_tree, tmp_path / "server.log", ["--slow", "*/VLC.zip", "--slow-seconds", "3"]) \
            as server:
        install(e2e, "vlc")
        box = answer(e2e, "Installation d'un programme", "Voulez-vous installer VLC ?", harness.IDYES)
        assert {b["id"] for b in box["buttons"]} == {harness.IDYES, harness.IDNO} and box["icon"]
        e2e.wait_for(lambda: controls(e2e)["Picture_barre_telecharger"]["visible"], what="the waiting bar")
        e2e.screenshot("install-vlc-bar.png")
        answer(e2e, "Installation d'un programme Cantarel", "Le programme 'VLC' a été installé!", harness.IDOK)
        assert any(line.startswith(b"GET /logiciels/portable1.4/Musique/VLC.zip ") for line in server.request_lines())
    assert (drive / "Musique" / "VLC" / "vlc.exe").is_file()
    assert not (drive / "Musique" / "VLC.zip").exists()
    e2e.wait_for(lambda: not controls(e2e)["Picture_barre_telecharger"]["visible"], what="the bar hidden")
    c = controls(e2e)
    assert offered(e2e, "vlc") == (False, True)
    assert c["Label_espace_disque_telecharger"]["text"].startswith("Espace Libre : ")
    e2e.click("Picture_musique")
    e2e.wait_for(lambda: controls(e2e)["Picture_vlc"]["visible"], what="VLC's picture in the music panel")


def test_answering_no_changes_nothing(e2e, launcher, drive, server_tree, tmp_path):
    before = sorted(p.relative_to(drive) for p in drive.rglob("*"))
    with DownloadServer(server_tree, tmp_path / "server.log") as server:
        install(e2e, "java")
        answer(e2e, "Téléchargement d'un programme", "Voulez-vous télécharger JAVA ?", harness.IDNO)
        assert server.request_lines() == []
    assert sorted(p.relative_to(drive) for p in drive.rglob("*")) == before
    assert offered(e2e, "java") == (True, False)
    assert not controls(e2e)["Picture_barre_telecharger"]["visible"]


def test_java_with_the_server_down(e2e, launcher, drive):
    install(e2e, "java")
    answer(e2e, "Téléchargement d'un programme", "Voulez-vous télécharger JAVA ?", harness.IDYES)
    answer(e2e, "Téléchargement d'un programme",
           "JAVA n'a pas pu être téléchargé sur votre disque! Recommencez ultérieurement ou contactez "
           f"{SUPPORT}!", harness.IDOK)
    assert (drive / "Windows" / "java").is_dir()
    assert list((drive / "Windows" / "java").iterdir()) == [], "nothing that would count as installed"
    assert offered(e2e, "java") == (True, False)
    assert not controls(e2e)["Picture_java"]["styleVisible"]


@pytest.mark.parametrize("component, name, fault", [
    ("audacity", "Audacity", ["--fail-404", "*/Audacity.zip"]),
    ("cdex", "CDex", ["--truncate", "*/CDex.zip"]),
])
def test_an_error_page_or_a_cut_file_is_a_failed_download(e2e, launcher, drive, server_tree, tmp_path,
                                                          component, name, fault):
    with DownloadServer(server_tree, tmp_path / "server.log", fault):
        install(e2e, component)
        answer(e2e, "Installation d'un programme", f"Voulez-vous installer {name} ?", harness.IDYES)
        answer(e2e, "Installation d'un programme",
               f"Le programme '{name}' n'a pas pu être installé! Recommencez ultérieurement ou contactez {SUPPORT}!",
               harness.IDOK)
    assert list((drive / "Musique").glob(f"{name}*")) == []
    assert offered(e2e, component) == (True, False)


def test_solfege_path_reaches_the_server_as_an_ansi_byte(e2e, launcher, drive, server_tree, tmp_path):
    with DownloadServer(server_tree, tmp_path / "server.log") as server:
        install(e2e, "solfege")
        answer(e2e, "Installation d'un programme Cantarel", "Voulez-vous installer Cantarel Solfège ?", harness.IDYES)
        answer(e2e, "Installation d'un programme Cantarel", "Le programme 'Cantarel Solfège' a été installé!",
               harness.IDOK)
        assert b"GET /logiciels/portable1.4/Cantarel/Solf\xe8ge.zip HTTP/1.1" in server.request_lines()
    assert any((drive / "Cantarel" / "Solfège").iterdir())
    assert offered(e2e, "solfege") == (False, True)


def test_quiz_then_its_topics(e2e, launcher, drive, server_tree, tmp_path):
    with DownloadServer(server_tree, tmp_path / "server.log"):
        install(e2e, "quiz")
        answer(e2e, "Installation d'un programme Cantarel", "Voulez-vous installer Cantarel Quiz ?", harness.IDYES)
        answer(e2e, "Installation d'un programme Cantarel", "Le programme 'Cantarel Quiz' a été installé!",
               harness.IDOK)
    for component in ("quiz", "chopin", "hymnes", "symphonique"):
        assert offered(e2e, component) == (False, True), component
    assert (drive / "Cantarel" / "Quiz" / "textes" / "Quizora.txt").is_file()
    assert not (drive / "Cantarel" / "Quiz" / "Quiz.zip").exists()


def test_a_topic_added_to_an_installed_quiz(e2e, run, new_drive, server_tree, tmp_path):
    drive = new_drive(set(portable_tree.COMPONENTS) - {"chopin", "symphonique"}, name="quiz-drive")
    run(drive, extra_files=[UNZIP32]).wait_window()
    assert controls(e2e)["Label_supprimer_quiz"]["text"] == "Cantarel Quiz et tous les questionnaires (252 Mo)"
    with DownloadServer(server_tree, tmp_path / "server.log"):
        install(e2e, "chopin")
        answer(e2e, "Installation d'un programme Cantarel",
               "Voulez-vous installer Questionnaire sur Frédéric Chopin ?", harness.IDYES)
        answer(e2e, "Installation d'un programme Cantarel",
               "Le programme 'Questionnaire sur Frédéric Chopin' a été installé!", harness.IDOK)
    assert offered(e2e, "chopin") == (False, True)
    assert offered(e2e, "symphonique") == (True, False)
    assert any((drive / "Cantarel" / "Quiz" / "audio" / "chopin").iterdir())
    # The quiz's removal now frees the topic too.
    assert controls(e2e)["Label_supprimer_quiz"]["text"] == "Cantarel Quiz et tous les questionnaires (476 Mo)"


def test_closing_during_an_install_asks_and_no_lets_it_finish(e2e, launcher, drive, server_tree, tmp_path):
    with DownloadServer(server_tree, tmp_path / "server.log", ["--slow", "*/VLC.zip", "--slow-seconds", "3"]):
        install(e2e, "vlc")
        answer(e2e, "Installation d'un programme", "Voulez-vous installer VLC ?", harness.IDYES)
        e2e.wait_for(lambda: controls(e2e)["Picture_barre_telecharger"]["visible"], what="the waiting bar")
        e2e.probe("close")
        answer(e2e, "Cantarel Portable",
               "Une action est en cours. Voulez-vous l'arrêter et quitter Cantarel Portable ?", harness.IDNO)
        e2e.click("Label_telecharger_audacity")  # another action meanwhile starts nothing
        answer(e2e, "Installation d'un programme Cantarel", "Le programme 'VLC' a été installé!", harness.IDOK)
    assert (drive / "Musique" / "VLC" / "vlc.exe").is_file()
    assert not (drive / "Musique" / "VLC.zip").exists()
    assert not any((drive / "Musique").glob("Audacity*"))
    assert launcher.running, "No keeps the launcher open"
    e2e.probe("close")
    assert launcher.wait_exit(timeout=30) == 0


def test_a_write_protected_key_is_said_once_and_nothing_is_fetched(e2e, run, server_tree, tmp_path):
    if e2e.read_only_root is None:
        pytest.skip("no read-only mount possible here")
    drive = portable_tree.make_minimal_tree(e2e.read_only_root / "Clé USB" / "Protégée", {"cdex"})
    try:
        run(drive, extra_files=[UNZIP32]).wait_window()
        with DownloadServer(server_tree, tmp_path / "server.log") as server:
            install(e2e, "vlc")
            answer(e2e, "Installation d'un programme", "Voulez-vous installer VLC ?", harness.IDYES)
            answer(e2e, "Installation d'un programme",
                   "Cantarel Portable ne peut pas écrire sur la clé USB (elle est protégée en écriture, ou l'accès "
                   "est refusé) : rien n'a été installé. Retirez la protection, puis recommencez.", harness.IDOK)
            assert not [line for line in server.request_lines() if b"VLC.zip" in line]
        assert e2e.message_boxes() == []
        assert offered(e2e, "vlc") == (True, False)
    finally:
        shutil.rmtree(drive.parent, ignore_errors=True)
