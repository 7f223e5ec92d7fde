#!/usr/bin/python3
"""Install benchmark: a 100 MB component archive downloaded from the local
server and extracted, by the launcher's own downloader and unzip facade under
Wine, against curl followed by Info-ZIP's unzip on the same file, in one run.
The launcher's download is checked against the archive's size and SHA-256 as
it streams, as every download of the launcher is; the same without the check
is timed too, so the check's own cost shows.

Usage: bench/install.py [X86_64_BUILD_DIR] [-n RUNS] [--megabytes N]
Prints figures only; its exit status does not judge them.
"""

import argparse
import hashlib
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"


def make_archive(path: Path, megabytes: int):
    """An archive like a program's, of about `megabytes` MB: mostly
    already-compressed data (sounds, pictures, libraries), some text."""
    rng = random.Random(1)
    words = [b"portee", b"clef", b"note", b"mesure", b"tempo", b"accord", b"gamme"]
    path.parent.mkdir(parents=True, exist_ok=True)
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as archive:
        for n in range(megabytes):
            archive.writestr(f"VLC/plugins/module{n:03}.dat", rng.randbytes(1 << 20))
        for n in range(megabytes // 4):
            text = b" ".join(rng.choice(words) for _ in range(180_000))[: 1 << 20]
            archive.writestr(f"VLC/locale/texte{n:03}.txt", text)


def timed(command, **kwargs) -> float:
    start = time.perf_counter()
    subprocess.run(command, check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, **kwargs)
    return time.perf_counter() - start


def timed_install(command, **kwargs) -> tuple:
    """(whole process, download, extraction) in seconds: the timer prints the
    last two, measured inside the program, as an install inside the running
    launcher is."""
    start = time.perf_counter()
    result = subprocess.run(command, check=True, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True, **kwargs)
    whole = time.perf_counter() - start
    download_ms, extract_ms = (float(x) for x in result.stdout.split()[-2:])
    return whole, download_ms / 1000, extract_ms / 1000


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default=str(REPO / "build" / "x86_64"))
    parser.add_argument("-n", "--runs", type=int, default=3)
    parser.add_argument("--megabytes", type=int, default=100)
    args = parser.parse_args()
    # Absolute: Wine refuses a prefix given by a relative path.
    build = Path(args.build).resolve()
    timer = build / "bench" / "install_timer.exe"
    unzip32 = REPO / "build" / "unzip32" / "x86_64" / "unzip32.dll"
    for needed in (timer, unzip32):
        if not needed.is_file():
            sys.exit(f"missing {needed}: run scripts/build.sh (and scripts/setup.sh) first")

    work = Path(tempfile.mkdtemp(prefix="cantarel-install-bench-"))
    env = dict(os.environ, WINEPREFIX=str(build / "wineprefix-bench"), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d", LANG="fr_FR.UTF-8",
               LC_ALL="fr_FR.UTF-8")
    env.pop("DISPLAY", None)
    server = None
    try:
        archive = work / "server" / "logiciels" / "portable1.4" / "Musique" / "VLC.zip"
        print(f"making a {args.megabytes} MB archive...", file=sys.stderr)
        make_archive(archive, args.megabytes)
        size = archive.stat().st_size
        port_file = work / "port"
        server = subprocess.Popen(["/usr/bin/python3", str(REPO / "demo" / "serve.py"), str(work / "server"),
                                   "--port", "0", "--port-file", str(port_file), "--max-seconds", "3600"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        while not port_file.exists() or not port_file.read_text().strip():
            time.sleep(0.05)
        url = f"http://127.0.0.1:{port_file.read_text().strip()}/logiciels/portable1.4/Musique/VLC.zip"

        drive = work / "drive"
        (drive / "Musique").mkdir(parents=True)
        shutil.copy2(timer, drive)
        shutil.copy2(unzip32, drive)
        if not (Path(env["WINEPREFIX"]) / "system.reg").exists():
            subprocess.run([WINE, "wineboot", "-i"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-p"], env=env)
        subprocess.run([WINE, "cmd", "/c", "exit"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        digest = hashlib.sha256(archive.read_bytes()).hexdigest()
        launcher, unchecked, baseline = [], [], []
        for _ in range(args.runs):
            windows_drive = "Z:" + str(drive).replace("/", "\\")
            command = [WINE, str(drive / timer.name), url, windows_drive + "\\Musique\\VLC.zip",
                       windows_drive + "\\Musique\\"]
            for times, extra in ((unchecked, []), (launcher, [str(size), digest])):
                shutil.rmtree(drive / "Musique")
                (drive / "Musique").mkdir()
                times.append(timed_install(command + extra, env=env, cwd=drive))
            base = work / "baseline"
            shutil.rmtree(base, ignore_errors=True)
            base.mkdir()
            baseline.append((timed(["curl", "-sf", "-o", str(base / "VLC.zip"), url]),
                             timed(["unzip", "-q", "-o", str(base / "VLC.zip"), "-d", str(base)])))
        extracted = sum(f.stat().st_size for f in (drive / "Musique" / "VLC").rglob("*") if f.is_file())

        def med(rows, column):
            return statistics.median(row[column] for row in rows)

        def inside(rows):  # download and extraction, inside the program
            return [row[1] + row[2] for row in rows]

        curl_unzip = [row[0] + row[1] for row in baseline]
        print(f"archive: {size / 1e6:.1f} MB compressed, {extracted / 1e6:.1f} MB extracted, {args.runs} runs")
        print(f"launcher, download + extraction:           median {statistics.median(inside(launcher)):.2f} s, "
              f"min {min(inside(launcher)):.2f} s")
        print(f"  download (checked as it streams)          median {med(launcher, 1):.2f} s")
        print(f"  extraction                                median {med(launcher, 2):.2f} s")
        print(f"  the same without the signed check:        median {statistics.median(inside(unchecked)):.2f} s "
              f"(check's share: {statistics.median(inside(launcher)) / statistics.median(inside(unchecked)) - 1:+.1%})")
        print(f"  the whole process, Wine's start included: median {med(launcher, 0):.2f} s")
        print(f"curl + unzip (native):                      median {statistics.median(curl_unzip):.2f} s, "
              f"min {min(curl_unzip):.2f} s")
        print(f"  curl {med(baseline, 0):.2f} s, unzip {med(baseline, 1):.2f} s")
        print(f"ratio launcher / baseline (download + extraction): median "
              f"{statistics.median(inside(launcher)) / statistics.median(curl_unzip):.2f}, "
              f"min {min(inside(launcher)) / min(curl_unzip):.2f}")
        print(f"ratio with Wine's process start: median {med(launcher, 0) / statistics.median(curl_unzip):.2f}")
    finally:
        if server:
            server.terminate()
            server.wait()
        subprocess.run([WINESERVER, "-k"], env=env, stderr=subprocess.DEVNULL)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
