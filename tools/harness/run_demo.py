#!/usr/bin/python3
"""Starts the launcher on a portable tree under Wine, on your display or on a
private Xvfb, and keeps it running until it is closed or Ctrl+C is pressed.

usage: run_demo.py <CantarelLauncher.exe> <tree-folder> [--probe uiprobe.exe]
                   [--prefix wine-prefix] [--extra unzip32.dll ...] [--screenshot shot.png]

The executable (and any --extra file) is copied into the tree folder, which the
launcher takes as the root of its drive. With a usable $DISPLAY the window
opens there; otherwise an Xvfb display is started, a screenshot is saved and the
commands to look at the running window are printed. Ctrl+C (or the launcher's
own quit button) ends the launcher, Wine and Xvfb.
"""

from __future__ import annotations

import argparse
import os
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402


def default_prefix(exe: Path) -> Path:
    cache = harness.find_build_file(exe.parent, "CMakeCache.txt")
    if cache:
        return cache.parent / "demo-wineprefix"
    return Path.home() / ".cache" / "cantarel-demo-wineprefix"


def main(argv=None) -> int:
    ap = argparse.ArgumentParser(description="Run the launcher on a portable tree under Wine.")
    ap.add_argument("exe", type=Path, help="the x86_64 CantarelLauncher.exe")
    ap.add_argument("tree", type=Path, help="the portable tree (demo drive) folder")
    ap.add_argument("--probe", type=Path, help="uiprobe.exe (found in the build tree by default)")
    ap.add_argument("--prefix", type=Path, help="Wine prefix (default: demo-wineprefix in the build tree)")
    ap.add_argument("--extra", type=Path, action="append", default=[],
                    help="a file to put beside the launcher, such as unzip32.dll")
    ap.add_argument("--screenshot", type=Path, help="where to save the first screenshot")
    args = ap.parse_args(argv)

    exe, tree = args.exe.resolve(), args.tree.resolve()
    if not exe.is_file():
        ap.error(f"no launcher at {exe}")
    if not tree.is_dir():
        ap.error(f"no tree folder at {tree}")
    probe = args.probe or harness.find_build_file(exe.parent, "tools/probe/uiprobe.exe")
    prefix = (args.prefix or default_prefix(exe)).resolve()

    display = os.environ.get("DISPLAY")
    if display and not harness.display_usable(display):
        print(f"run_demo: $DISPLAY={display} is not usable; starting Xvfb instead", file=sys.stderr)
        display = None

    print("run_demo: preparing Wine (the first run creates the prefix, about 15 s)...", flush=True)
    artifacts = prefix.parent / "demo-artifacts"
    with harness.sigterm_as_interrupt():
        try:
            with harness.Session(exe, probe, prefix, artifacts, display=display) as session:
                launcher = session.start_launcher(tree, log_name="demo-launcher.log", extra_files=args.extra)
                launcher.wait_window(timeout=120)
                report(session, args.screenshot)
                while launcher.wait_exit(timeout=1) is None:
                    pass
                print(f"run_demo: the launcher ended (exit code {launcher.proc.returncode}).")
        except KeyboardInterrupt:
            print("\nrun_demo: stopped; the launcher, Wine and Xvfb are ended.")
        except harness.HarnessError as error:
            print(f"run_demo: {error}", file=sys.stderr)
            return 1
    return 0


def report(session: harness.Session, screenshot: Path | None):
    display = session.display
    print(f"run_demo: Cantarel Portable is running on display {display}"
          + (" (a private Xvfb, 1280 x 1024)." if session.xvfb else "."))
    if session.xvfb:
        shot = session.screenshot("demo-start.png")
        if screenshot:
            screenshot.write_bytes(shot.read_bytes())
            shot = screenshot
        print(f"  screenshot of the window:  {shot}")
        print(f"  take a new one:            import -display {display} -window root shot.png")
        if session.probe:
            x, y = session.centre_of("Picture_lecture")
            print(f"  click a category:          DISPLAY={display} xdotool mousemove {x} {y} click 1")
    print("  end it:                    the window's quit button, or Ctrl+C here", flush=True)


if __name__ == "__main__":
    sys.exit(main())
