"""The download server's tree: every path the launcher asks for, with archives
that create the right folder when extracted."""

import io
import os
import shutil
import struct
import subprocess
import zipfile
import zlib

import pytest

import demozip

# Server path -> (extraction folder, installed folder), after AppFolder.
ARCHIVES = {
    "Cantarel/Bullaro.zip": ("Cantarel", "Cantarel/Bullaro"),
    "Musique/GNUSolfege.zip": ("Musique", "Musique/GNU Solfege"),
    "Cantarel/Symphalis.zip": ("Cantarel", "Cantarel/Symphalis"),
    "Cantarel/Tonavel.zip": ("Cantarel", "Cantarel/Tonavel"),
    "Cantarel/Maestrel.zip": ("Cantarel", "Cantarel/Maestrel"),
    "Cantarel/Cantarel.zip": ("Cantarel", "Cantarel/Cantarel"),
    "Cantarel/Solfège.zip": ("Cantarel", "Cantarel/Solfège"),
    "Cantarel/Clavira.zip": ("Cantarel", "Cantarel/Clavira"),
    "Cantarel/Quiz.zip": ("Cantarel/Quiz", "Cantarel/Quiz"),
    "Cantarel/QuizChopin.zip": ("Cantarel/Quiz", "Cantarel/Quiz/audio/chopin"),
    "Cantarel/QuizHymnes.zip": ("Cantarel/Quiz", "Cantarel/Quiz/audio/hymnes"),
    "Cantarel/QuizSymphonique.zip": ("Cantarel/Quiz",
                                     "Cantarel/Quiz/audio/oeuvres symphoniques"),
    "Cantarel/Pulsaro.zip": ("Cantarel", "Cantarel/Pulsaro"),
    "Cantarel/MiniQuadrelo.zip": ("Cantarel", "Cantarel/Mini Quadrelo"),
    "Cantarel/Quadrelo.zip": ("Cantarel", "Cantarel/Quadrelo"),
    "Musique/AriaMaestosa.zip": ("Musique", "Musique/AriaMaestosa"),
    "Musique/Hydrogen.zip": ("Musique", "Musique/Hydrogen"),
    "Musique/MuseScore.zip": ("Musique", "Musique/MuseScore"),
    "Musique/openmusicwriter.zip": ("Musique", "Musique/openmusicwriter"),
    "Musique/Tuxguitar.zip": ("Musique", "Musique/Tuxguitar"),
    "Musique/Audacity.zip": ("Musique", "Musique/Audacity"),
    "Musique/CDex.zip": ("Musique", "Musique/CDex"),
    "Musique/VLC.zip": ("Musique", "Musique/VLC"),
    "Musique/infrarecorder.zip": ("Musique", "Musique/Infrarecorder"),
    "Musique/aTunes.zip": ("Musique", "Musique/aTunes"),
    "Util/LibreOffice.zip": ("Util", "Util/LibreOffice"),
    "Util/Firefox.zip": ("Util", "Util/Firefox"),
    "Util/Thunderbird.zip": ("Util", "Util/Thunderbird"),
    "Util/7zip.zip": ("Util", "Util/7-zip"),
    "Windows/Speech.zip": ("Windows/Speech", "Windows/Speech"),
}
INSTALLERS = ["portable1.4/Windows/dotnetfx35.exe",
              "portable1.4/Windows/dotNetFx40_Full_x86_x64.exe",
              "portable1.4/Windows/SSCERuntimex86FRA.msi", "portable1.4/Windows/java.exe",
              "portable1.4/Windows/dao35.exe", "portable/Windows/dotNetFx40_Full_x86_x64.exe",
              "portable/Windows/dotnetfx35.exe.exe", "portable/Windows/SSCERuntimex86FRA.msi"]


def raw_name(info):
    """The name's bytes as stored (zipfile decodes unflagged names as CP437)."""
    if info.flag_bits & 0x800:
        return info.filename.encode("utf-8")
    return info.orig_filename.encode("cp437")


def unicode_path_field(extra):
    while len(extra) >= 4:
        tag, size = struct.unpack("<HH", extra[:4])
        if tag == 0x7075:
            return extra[4:4 + size]
        extra = extra[4 + size:]
    return None


def readable_by_unzip(info):
    """UnZip's rules for a name it will not garble: ASCII; or DOS-host CP850 with no
    UTF-8 flag; or the UTF-8 flag together with a matching Unicode path field."""
    raw = raw_name(info)
    if raw.isascii():
        return True
    if not info.flag_bits & 0x800:
        return info.create_system == 0 and raw.decode("cp850") == info.filename
    field = unicode_path_field(info.extra)
    return (field is not None and field[0] == 1
            and struct.unpack("<I", field[1:5])[0] == zlib.crc32(raw)
            and field[5:] == raw)


def extract_like_the_launcher(zip_path, appfolder, extraction_folder):
    target = appfolder / extraction_folder
    target.mkdir(parents=True, exist_ok=True)
    with zipfile.ZipFile(zip_path) as z:
        assert z.testzip() is None
        z.extractall(target)


def holds_a_file(folder):
    return folder.is_dir() and any(p.is_file() for p in folder.iterdir())


def test_every_archive_creates_its_installed_folder(server_tree, tmp_path):
    base = server_tree / "logiciels/portable1.4"
    for n, (server, (extraction, installed)) in enumerate(ARCHIVES.items()):
        app = tmp_path / str(n)
        extract_like_the_launcher(base / server, app, extraction)
        folder = app / installed
        if server == "Musique/MuseScore.zip":
            assert holds_a_file(folder / "bin")
        else:
            assert holds_a_file(folder), server
        # Nothing lands beside the installed folder (the quiz topics also
        # bring their questionnaires into "textes").
        if os.path.dirname(installed) == extraction:
            assert [p.name for p in (app / extraction).iterdir()] == [folder.name], server


def test_archive_names_follow_unzip_rules(server_tree):
    checked_accents = 0
    for zip_path in (server_tree / "logiciels").rglob("*.zip"):
        with zipfile.ZipFile(zip_path) as z:
            for info in z.infolist():
                assert readable_by_unzip(info), (zip_path.name, info.filename)
                checked_accents += not raw_name(info).isascii()
    assert checked_accents >= 3  # "Solfège/" and its files at least


@pytest.mark.skipif(not shutil.which("unzip"), reason="Info-ZIP unzip not installed")
def test_info_zip_reads_the_accented_top_folder(server_tree, tmp_path):
    # UnZip converts DOS names to the ANSI form it works in: "è" becomes 0xE8,
    # which is what the Windows DLL then hands to the file system.
    subprocess.run(["unzip", "-q", str(server_tree / "logiciels/portable1.4/Cantarel/Solfège.zip"),
                    "-d", str(tmp_path)], check=True, env={"LC_ALL": "C.UTF-8", "PATH": "/usr/bin:/bin"})
    assert os.listdir(os.fsencode(tmp_path)) == [b"Solf\xe8ge"]


def test_quiz_archives_bring_their_questionnaires(server_tree):
    base = server_tree / "logiciels/portable1.4/Cantarel"

    def names(zip_name):
        with zipfile.ZipFile(base / zip_name) as z:
            return [i.filename for i in z.infolist()]

    quiz = names("Quiz.zip")
    assert "textes/Quizora.txt" in quiz
    for topic in ["chopin", "hymnes", "oeuvres symphoniques"]:
        assert any(n.startswith("audio/%s/" % topic) and not n.endswith("/") for n in quiz)
    for zip_name, count in [("QuizChopin.zip", 1), ("QuizHymnes.zip", 7),
                            ("QuizSymphonique.zip", 1)]:
        texts = [n for n in names(zip_name) if n.startswith("textes/") and not n.endswith("/")]
        assert "textes/Quizora.txt" in texts
        assert len(texts) - 1 == count, zip_name
        assert set(texts) <= set(quiz), "the quiz archive holds every questionnaire"


def test_installers_version_file_and_update_package(server_tree, fake_standin):
    standin = fake_standin.read_bytes()
    root = server_tree / "logiciels"
    assert (root / "version.txt").read_bytes() == b"1.4\r\n"
    for path in INSTALLERS:
        data = (root / path).read_bytes()
        assert data == standin if path.endswith(".exe") else 0 < len(data) < 1024, path
    with zipfile.ZipFile(root / "CantarelPortable.zip") as z:
        assert z.read("CantarelPortable.exe") == standin
    with zipfile.ZipFile(root / "portable1.4/Musique/VLC.zip") as z:
        assert z.read("VLC/vlc.exe") == standin
    assert "Solfège.zip".encode() in os.listdir(os.fsencode(root / "portable1.4/Cantarel"))


def test_archives_are_reproducible(tmp_path):
    from conftest import run_script
    for name in ("a", "b"):
        run_script("make_server_tree.py", str(tmp_path / name), "--version", "1.5")
    for p in (tmp_path / "a").rglob("*"):
        if p.is_file():
            assert p.read_bytes() == (tmp_path / "b" / p.relative_to(tmp_path / "a")).read_bytes()
    assert (tmp_path / "a/logiciels/version.txt").read_bytes() == b"1.5\r\n"


@pytest.mark.parametrize("form,readable", [
    (demozip.CP850, True), (demozip.UTF8_WITH_EXTRA, True),
    (demozip.UTF8_FLAG_ONLY, False), (demozip.UTF8_RAW, False)])
def test_name_forms_of_the_writer(form, readable):
    data = demozip.zip_bytes([("Solfège/", None), ("Solfège/é.txt", b"abc" * 100)], form)
    with zipfile.ZipFile(io.BytesIO(data)) as z:
        assert z.testzip() is None
        infos = z.infolist()
        assert [readable_by_unzip(i) for i in infos] == [readable, readable]
        if readable:
            assert [i.filename for i in infos] == ["Solfège/", "Solfège/é.txt"]
            assert z.read(infos[1]) == b"abc" * 100
