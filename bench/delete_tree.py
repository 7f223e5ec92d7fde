#!/usr/bin/python3
"""Deletion benchmark: the time DeleteFolderTree takes on a tree of 20 000
small files in 2 000 folders, through the launcher's Win32 file system, as a
ratio to the platform's own recursive delete ("cmd /c rd /s /q") on an equal
tree in the same run, under 64-bit Wine.

Usage: bench/delete_tree.py [BUILD_DIR] [-n RUNS] [--files N] [--folders N]
                            [--no-build]

BUILD_DIR is an x86_64 build folder (default build/bench); it is configured
and delete_tree.exe built if needed. Both deletions are timed from the outside
(process start to end, one Wine process each), alternating which goes first.
The figures are printed and nothing is judged: the exit status is 0 whatever
the times, 1 only when a deletion fails or leaves something behind.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"


def log(msg):
    print(msg, file=sys.stderr, flush=True)


def run_quiet(cmd, **kw):
    return subprocess.run(cmd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kw)


def build_tool(build: Path, do_build: bool) -> Path:
    exe = build / "bench" / "delete_tree.exe"
    if do_build:
        if not (build / "CMakeCache.txt").exists():
            configure = ["cmake", "-S", str(REPO), "-B", str(build),
                         f"-DCMAKE_TOOLCHAIN_FILE={REPO / 'cmake/toolchain-x86_64.cmake'}",
                         "-DCMAKE_BUILD_TYPE=Release"]
            if run_quiet(configure).returncode != 0:
                sys.exit(f"error: cannot configure {build}")
        done = subprocess.run(["cmake", "--build", str(build), "-j2", "--target", "delete_tree"],
                              stdin=subprocess.DEVNULL, capture_output=True, text=True)
        if done.returncode != 0:
            sys.exit("error: delete_tree did not build:\n" + "\n".join(done.stdout.splitlines()[-20:]))
    if not exe.exists():
        sys.exit(f"error: no {exe}")
    return exe


def make_tree(root: Path, files: int, folders: int) -> int:
    """`folders` folders under root (tops of up to 20 sub-folders each, a
    space and an accent in every name), `files` small files spread evenly."""
    root.mkdir(parents=True)
    paths = []
    top = 0
    while len(paths) < folders:
        top_dir = root / f"Dossier é {top:03d}"
        paths.append(top_dir)
        for sub in range(19):
            if len(paths) < folders:
                paths.append(top_dir / f"partie {sub:02d}")
        top += 1
    for path in paths:
        path.mkdir(parents=True, exist_ok=True)
    body = b"x" * 200
    for n in range(files):
        (paths[n % len(paths)] / f"fichier {n:05d}.txt").write_bytes(body)
    return len(paths)


def windows_path(path: Path) -> str:
    return "Z:" + str(path.resolve()).replace("/", "\\")


def timed(cmd, env) -> tuple[float, str, int]:
    start = time.perf_counter()
    done = subprocess.run(cmd, env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=1800)
    elapsed = (time.perf_counter() - start) * 1000
    return elapsed, done.stdout.decode("utf-8", "replace").strip(), done.returncode


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build", nargs="?", default=str(REPO / "build" / "bench"))
    parser.add_argument("-n", "--runs", type=int, default=3)
    parser.add_argument("--files", type=int, default=20000)
    parser.add_argument("--folders", type=int, default=2000)
    parser.add_argument("--no-build", action="store_true")
    args = parser.parse_args()

    build = Path(args.build).resolve()
    exe = build_tool(build, not args.no_build)
    prefix = build / "delete-bench-wineprefix"
    env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d",
               LANG="fr_FR.UTF-8", LC_ALL="fr_FR.UTF-8")
    env.pop("DISPLAY", None)
    if not (prefix / "system.reg").exists():
        log(f"creating Wine prefix {prefix} (about 10 s)")
        prefix.mkdir(parents=True, exist_ok=True)
        run_quiet([WINE, "wineboot", "-i"], env=env, timeout=300)
    run_quiet([WINESERVER, "-p"], env=env)
    run_quiet([WINE, "cmd", "/c", "exit"], env=env, timeout=120)

    work = Path(tempfile.mkdtemp(prefix="delete-bench-", dir=build))
    failed = False
    rows = []
    try:
        for run in range(args.runs):
            ours, theirs = work / f"arbre {run} a", work / f"arbre {run} b"
            count = make_tree(ours, args.files, args.folders)
            make_tree(theirs, args.files, args.folders)
            order = ["ours", "theirs"] if run % 2 == 0 else ["theirs", "ours"]
            result = {}
            for which in order:
                if which == "ours":
                    wall, out, code = timed([WINE, str(exe), windows_path(ours)], env)
                    result["ours"] = (wall, out if code == 0 else f"failed: {out}")
                    failed |= code != 0 or ours.exists()
                else:
                    wall, _, code = timed([WINE, "cmd", "/c", "rd", "/s", "/q", windows_path(theirs)], env)
                    result["theirs"] = (wall, "")
                    failed |= code != 0 or theirs.exists()
            rows.append((result["ours"][0], result["ours"][1], result["theirs"][0]))
        print(f"tree: {args.files} files of 200 bytes in {count} folders; {args.runs} runs; Wine "
              f"{subprocess.run([WINE, '--version'], capture_output=True, text=True).stdout.strip()}")
        print(f"{'run':>3}  {'DeleteFolderTree ms':>19}  {'(inside ms)':>11}  {'rd /s /q ms':>11}  {'ratio':>6}")
        for n, (ours_ms, inside, theirs_ms) in enumerate(rows, 1):
            print(f"{n:>3}  {ours_ms:>19.0f}  {inside:>11}  {theirs_ms:>11.0f}  {ours_ms / theirs_ms:>6.2f}")
        ratios = [o / t for o, _, t in rows]
        print(f"median ratio DeleteFolderTree / rd /s /q: {statistics.median(ratios):.2f}")
        print(f"per file: {statistics.median(o for o, _, _ in rows) / args.files * 1000:.0f} us vs "
              f"{statistics.median(t for _, _, t in rows) / args.files * 1000:.0f} us")
    finally:
        shutil.rmtree(work, ignore_errors=True)
        run_quiet([WINESERVER, "-k"], env=env, timeout=30)
    if failed:
        print("a deletion failed or left files behind")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
