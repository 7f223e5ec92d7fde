"""The demo drive: the tree the launcher finds beside itself."""

import hashlib
import os
import re
import wave

import pytest
from PIL import Image

from conftest import run_script

# Tested folder of each component, as the launcher's installed-state scan reads it.
TESTED_FOLDERS = {
    "symphalis": ["Cantarel/Symphalis"], "bullaro": ["Cantarel/Bullaro"],
    "tonavel": ["Cantarel/Tonavel"], "maestrel": ["Cantarel/Maestrel"],
    "metronome": ["Cantarel/Cantarel"], "mini_quadrelo": ["Cantarel/Mini Quadrelo"],
    "clavira": ["Cantarel/Clavira"], "pulsaro": ["Cantarel/Pulsaro"],
    "solfege": ["Cantarel/Solfège"], "quadrelo": ["Cantarel/Quadrelo"],
    "quiz": ["Cantarel/Quiz"], "chopin": ["Cantarel/Quiz/audio/chopin"],
    "hymnes": ["Cantarel/Quiz/audio/hymnes"],
    "symphonique": ["Cantarel/Quiz/audio/oeuvres symphoniques"],
    "atunes": ["Musique/aTunes"], "audacity": ["Musique/Audacity"], "cdex": ["Musique/CDex"],
    "gnusolfege": ["Musique/GNU Solfege"], "infrarecorder": ["Musique/Infrarecorder"],
    "musescore": ["Musique/MuseScore", "Musique/MuseScore/bin"],
    "tuxguitar": ["Musique/Tuxguitar"], "vlc": ["Musique/VLC"],
    "ariamaestosa": ["Musique/AriaMaestosa"], "openmusicwriter": ["Musique/openmusicwriter"],
    "hydrogen": ["Musique/Hydrogen"], "7zip": ["Util/7-zip"], "firefox": ["Util/Firefox"],
    "thunderbird": ["Util/Thunderbird"], "libreoffice": ["Util/LibreOffice"],
    "framework_35": ["Windows/dotnet35"], "framework_4": ["Windows/dotnet4"],
    "java": ["Windows/java"], "reconnaissance_vocale": ["Windows/Speech"],
    "sql_35": ["Windows/sqlservercompact35"], "dao": ["Windows/dao35"],
}

# What a click on a program picture opens (any one of the alternatives).
OPEN_TARGETS = {
    "7zip": ["Util/7-zip/7zFM.exe"], "firefox": ["Util/Firefox/FirefoxPortable.exe"],
    "thunderbird": ["Util/Thunderbird/ThunderbirdPortable.exe"],
    "libreoffice": ["Util/LibreOffice/LibreOfficePortable.exe"],
    "ariamaestosa": ["Musique/AriaMaestosa/Aria.exe"], "atunes": ["Musique/aTunes/aTunes.exe"],
    "audacity": ["Musique/Audacity/audacity.exe"],
    "cdex": ["Musique/CDex/CDexPortable.exe", "Musique/CDex/CDex.exe"],
    "gnusolfege": ["Musique/GNU Solfege/GNU Solfege.cameyo.exe",
                   "Musique/GNU Solfege/X-Solfege.exe"],
    "hydrogen": ["Musique/Hydrogen/Hydrogen.exe"],
    "infrarecorder": ["Musique/Infrarecorder/infrarecorder.exe"],
    "musescore": ["Musique/MuseScore/MuseScorePortable.exe", "Musique/MuseScore/bin/mscore.exe"],
    "openmusicwriter": ["Musique/openmusicwriter/dist/musicwriter.jar"],
    "tuxguitar": ["Musique/Tuxguitar/bin-win-x86/TuxGuitar.exe"], "vlc": ["Musique/VLC/vlc.exe"],
    "framework_35": ["Windows/dotnet35/dotnetfx35.exe"],
    "framework_4": ["Windows/dotnet4/dotNetFx40_Full_x86_x64.exe"],
    "sql_35": ["Windows/sqlservercompact35/SSCERuntimex86FRA.msi"],
    "java": ["Windows/java/java.exe"], "dao": ["Windows/dao35/dao35.exe"],
    "reconnaissance_vocale": ["Windows/Speech/MSReaderSetupFRA.exe"],
}

# Launch script -> the suite program it must start (the shortcuts' targets).
SUITE_PROGRAMS = {
    "maestrel": "Cantarel/Maestrel/maestrel.exe",
    "miniquadrelo": "Cantarel/Mini Quadrelo/MQuadFr.exe",
    "quadrelo": "Cantarel/Quadrelo/quadrelo.exe", "pulsaro": "Cantarel/Pulsaro/pulsaro.exe",
    "solfege": "Cantarel/Solfège/Csolfege.exe", "quiz": "Cantarel/Quiz/Cquiz3.exe",
    "tonavel": "Cantarel/Tonavel/Tonavel.exe", "metronome": "Cantarel/Cantarel/Cantarel.exe",
    "symphalis": "Cantarel/Symphalis/CInstr.exe", "bullaro": "Cantarel/Bullaro/Bullaro.exe",
    "clavira": "Cantarel/Clavira/Clavira.exe",
}

DOCUMENT_FOLDERS = ["Autres documents", "Images", "Musiques", "Papiers à musique",
                    "Partitions", "Vidéos"]


def make(tmp_path, mode, standin=None, name="drive"):
    dest = tmp_path / name
    args = [str(dest), "--installed", mode]
    if standin:
        args += ["--standin", str(standin)]
    run_script("make_demo_drive.py", *args)
    return dest


def installed(root, cid):
    """The launcher's rule: a tested folder directly holds at least one file."""
    for folder in TESTED_FOLDERS[cid]:
        path = root / folder
        if path.is_dir() and any(p.is_file() for p in path.iterdir()):
            return True
    return False


def tree(root):
    return {str(p.relative_to(root)): (hashlib.sha256(p.read_bytes()).hexdigest()
                                       if p.is_file() else "dir")
            for p in sorted(root.rglob("*"))}


@pytest.fixture(scope="module")
def drives(tmp_path_factory, fake_standin):
    base = tmp_path_factory.mktemp("drives")
    return {mode: make(base, mode, fake_standin, mode) for mode in ("all", "none", "demo")}


def test_common_tree_in_every_mode(drives, fake_standin):
    standin = fake_standin.read_bytes()
    for mode, root in drives.items():
        for name in ["Cantarel", "Musique", "Util", "Windows", "system", "aide",
                     "Mes documents"]:
            assert (root / name).is_dir(), (mode, name)
        assert (root / "Util/sumatrapdf/SumatraPDF.exe").read_bytes() == standin
        assert (root / "system/Enregistrement_dll_ocx.exe").read_bytes() == standin
        for name in DOCUMENT_FOLDERS:
            assert (root / "Mes documents" / name).is_dir(), (mode, name)
        for name in ["erreurs", "portable", "programmes", "versions"]:
            assert (root / "aide" / (name + ".bat")).is_file()


def test_accented_names_are_utf8_on_disk(drives):
    root = drives["all"]
    assert "Solfège".encode() in os.listdir(os.fsencode(root / "Cantarel"))
    docs = os.listdir(os.fsencode(root / "Mes documents"))
    assert "Papiers à musique".encode() in docs and "Vidéos".encode() in docs
    # Composed characters (NFC): a decomposed "è" is another name for Windows.
    assert not any(b"e\xcc\x80" in n for n in os.listdir(os.fsencode(root / "Cantarel")))


def test_installed_state_per_mode(drives):
    assert all(installed(drives["all"], cid) for cid in TESTED_FOLDERS)
    assert not any(installed(drives["none"], cid) for cid in TESTED_FOLDERS)
    demo = {cid for cid in TESTED_FOLDERS if installed(drives["demo"], cid)}
    assert {"vlc", "audacity", "bullaro", "solfege", "quiz"} <= demo
    assert len(demo & {"chopin", "hymnes", "symphonique"}) == 1
    assert len(demo) < len(TESTED_FOLDERS) - 5, "the demo drive should leave things to install"
    assert (drives["demo"] / "Cantarel/Quiz/textes/Quizora.txt").is_file()


def test_every_installed_component_has_what_a_click_opens(drives, fake_standin):
    standin = fake_standin.read_bytes()
    root = drives["all"]
    for cid, alternatives in OPEN_TARGETS.items():
        present = [t for t in alternatives if (root / t).is_file()]
        assert present, cid
        for t in present:
            if t.endswith(".exe"):
                assert (root / t).read_bytes() == standin, t


def test_launch_scripts_start_their_program(drives):
    """Each script, read as cmd reads it, changes to the program's folder and starts it."""
    root = drives["all"]
    scripts = sorted(p.stem for p in (root / "system").glob("*.bat"))
    assert scripts == sorted(SUITE_PROGRAMS)
    for name, program in SUITE_PROGRAMS.items():
        raw = (root / "system" / (name + ".bat")).read_bytes()
        assert b"\n" not in raw.replace(b"\r\n", b""), name + ": bare line feed"
        text = raw.decode("cp850")  # cmd's code page for a French Windows
        cd = re.search(r'^cd /d "%~dp0\.\.\\(.+)"\r$', text, re.M)
        start = re.search(r'^start "" "(.+)"\r$', text, re.M)
        assert cd and start, name
        folder = cd.group(1).replace("\\", "/")
        assert folder + "/" + start.group(1) == program, name
        assert (root / program).is_file()


def test_help_scripts_open_their_text(drives):
    root = drives["none"]
    for name in ["erreurs", "portable", "programmes", "versions"]:
        text = (root / "aide" / (name + ".bat")).read_bytes().decode("cp850")
        m = re.search(r'"%~dp0(.+?)"', text)
        assert m, name
        content = (root / "aide" / m.group(1)).read_bytes()
        assert content.startswith(b"\xef\xbb\xbf") and len(content) > 100
        content.decode("utf-8")


def test_document_samples_are_valid_files(drives):
    docs = drives["none"] / "Mes documents"
    with wave.open(str(docs / "Musiques/Gamme de do.wav")) as w:
        assert w.getnframes() > 0
    with Image.open(docs / "Images/Portée.png") as im:
        im.load()
    pdf = (docs / "Papiers à musique/Portées vierges.pdf").read_bytes()
    assert pdf.startswith(b"%PDF-") and pdf.rstrip().endswith(b"%%EOF")
    xref = int(pdf.rsplit(b"startxref", 1)[1].split()[0])
    assert pdf[xref:xref + 4] == b"xref"


def test_without_standin_programs_are_small_placeholders(tmp_path):
    root = make(tmp_path, "demo")
    exe = (root / "Musique/VLC/vlc.exe").read_bytes()
    assert 0 < len(exe) < 1024 and not exe.startswith(b"MZ")


def test_regeneration_is_refused_forced_and_identical(tmp_path, fake_standin):
    root = make(tmp_path, "demo", fake_standin)
    before = tree(root)
    assert run_script("make_demo_drive.py", str(root), check=False).returncode != 0
    assert tree(root) == before
    (root / "Mes documents/Partitions/mine.txt").write_text("x")
    run_script("make_demo_drive.py", str(root), "--standin", str(fake_standin), "--force")
    assert tree(root) == before

    foreign = tmp_path / "foreign"
    foreign.mkdir()
    (foreign / "keep.txt").write_text("x")
    assert run_script("make_demo_drive.py", str(foreign), "--force", check=False).returncode
    assert (foreign / "keep.txt").read_text() == "x"
