#!/usr/bin/python3
"""Start-up benchmark: time from process start to the main window being shown and painted,
for the launcher on a demo drive, the same without the folder of its shortcuts,
and a bare window program, under 64-bit Wine and Xvfb.

Usage: bench/startup.py [BUILD_DIR] [-n RUNS] [--display N] [--launcher EXE]
                        [--title TITLE] [--no-build]

BUILD_DIR is an x86_64 build folder (default build/bench); it is configured
and built if needed. The programs are timed alternately in one warm Wine
session; the figures are printed and nothing is judged: the exit status is 0
whatever the times.
"""

import argparse
import os
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
LAUNCHER_TITLE = "Cantarel Portable - Version 1.4"
BARE_TITLE = "Bare window"
LAUNCHER_REL = Path("src/app/CantarelLauncher.exe")
TEAM_AIM = 1.5
ANSWERING = "window painted and answering"  # startwatch's own stamp
HOVERS = 10000


def log(msg):
    print(msg, file=sys.stderr, flush=True)


def run_quiet(cmd, **kw):
    return subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kw)


# ---------------------------------------------------------------- building

def configure(src, build):
    cmd = ["cmake", "-S", str(src), "-B", str(build),
           f"-DCMAKE_TOOLCHAIN_FILE={REPO / 'cmake/toolchain-x86_64.cmake'}",
           "-DCMAKE_BUILD_TYPE=Release"]
    return run_quiet(cmd).returncode == 0


def build_targets(build, *targets):
    cmd = ["cmake", "--build", str(build), "-j2", "--target", *targets]
    r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return r.returncode == 0, r.stdout


def prepare_build(build, do_build):
    """Returns the folder holding startwatch.exe and bare_window.exe."""
    tools_dirs = [build / "bench", build / "bench-only"]
    if do_build:
        full_ok = configure(REPO, build)
        if full_ok:
            ok, out = build_targets(build, "startwatch", "bare_window")
            if ok:
                ok, out = build_targets(build, "CantarelLauncher")
                if not ok:
                    log("note: the launcher did not build; its last build output:")
                    log("\n".join(out.splitlines()[-15:]))
            else:
                full_ok = False
        if not full_ok:
            # The tree may be mid-edit: the benchmark tools still build on their own.
            log("note: the full tree does not configure or build; building the bench tools alone")
            only = build / "bench-only"
            if not configure(REPO / "bench", only):
                sys.exit("error: cannot configure bench/ on its own")
            ok, out = build_targets(only, "startwatch", "bare_window")
            if not ok:
                sys.exit("error: cannot build the bench tools:\n" + out)
    for d in tools_dirs:
        if (d / "startwatch.exe").exists() and (d / "bare_window.exe").exists():
            return d
    sys.exit(f"error: no startwatch.exe / bare_window.exe under {build}")


# ---------------------------------------------------------------- session

def free_display():
    for n in range(90, 200):
        if not Path(f"/tmp/.X11-unix/X{n}").exists() and not Path(f"/tmp/.X{n}-lock").exists():
            return n
    sys.exit("error: no free X display number")


class Session:
    """An Xvfb display and a warm wineserver for one prefix; stops both on exit."""

    def __init__(self, display, prefix):
        self.display = display
        self.prefix = prefix
        self.xvfb = None
        self.env = dict(os.environ,
                        DISPLAY=f":{display}",
                        WINEPREFIX=str(prefix),
                        WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d",
                        LANG="fr_FR.UTF-8",
                        LC_ALL="fr_FR.UTF-8")

    def start(self):
        if Path(f"/tmp/.X11-unix/X{self.display}").exists():
            sys.exit(f"error: display :{self.display} is in use")
        self.xvfb = subprocess.Popen(
            ["Xvfb", f":{self.display}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while not Path(f"/tmp/.X11-unix/X{self.display}").exists():
            if self.xvfb.poll() is not None or time.monotonic() > deadline:
                sys.exit(f"error: Xvfb :{self.display} did not start")
            time.sleep(0.05)
        if not (self.prefix / "system.reg").exists():
            log(f"creating Wine prefix {self.prefix} (about 10 s)")
            self.prefix.mkdir(parents=True, exist_ok=True)
            run_quiet([WINE, "wineboot", "-i"], env=self.env, timeout=180)
        # A persistent server and one throw-away program start Wine's helper
        # services now, so they neither hold our output pipes nor cost the first run.
        run_quiet([WINESERVER, "-p"], env=self.env)
        run_quiet([WINE, "cmd", "/c", "exit"], env=self.env, timeout=120)

    def stop(self):
        try:
            run_quiet([WINESERVER, "-k"], env=self.env, timeout=30)
            run_quiet([WINESERVER, "-w"], env=self.env, timeout=30)
        except Exception:
            pass
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()

    def time_start(self, startwatch, exe, title, trace=None, hovers=0):
        """Milliseconds to the painted window, or None with the reason printed.
        With `trace` (a file), the launcher stamps its phases there; they come
        back as (phase, milliseconds since the process was started) in
        self.phases."""
        self.phases = []
        self.resources = None
        env = dict(self.env)
        if trace is not None:
            trace.unlink(missing_ok=True)
            env["CANTAREL_STARTUP_TRACE"] = "Z:" + str(trace).replace("/", "\\")
        with tempfile.TemporaryFile() as out:
            try:
                r = subprocess.run([WINE, str(startwatch), str(exe), title] + ([str(trace)] if trace else [])
                                   + ([str(hovers)] if trace and hovers else []), env=env,
                                   stdout=out, stderr=subprocess.STDOUT, timeout=60)
            except subprocess.TimeoutExpired:
                log(f"  {exe.name}: startwatch did not finish")
                return None
            out.seek(0)
            text = out.read().decode("utf-8", "replace").strip()
        if r.returncode == 0:
            # The launcher's own output may follow startwatch's two lines.
            lines = text.splitlines()
            at = next((i for i, line in enumerate(lines) if line.startswith("start\t")), None)
            try:
                start, ms = int(lines[at].split("\t")[1]), float(lines[at + 1])
            except (TypeError, ValueError, IndexError):
                ms = None
            found = [line.split("\t")[1:] for line in lines if line.startswith("resources\t")]
            if found:
                self.resources = [int(x) for x in found[0]]
            if ms is not None:
                if trace is not None and trace.exists():
                    for line in trace.read_text().splitlines():
                        phase, counter, frequency = line.split("\t")
                        self.phases.append((phase, (int(counter) - start) * 1000.0 / int(frequency)))
                return ms
        log(f"  {exe.name}: no time (exit {r.returncode}) {text}")
        return None


# ---------------------------------------------------------------- figures

def pe_machine(path):
    try:
        with open(path, "rb") as f:
            head = f.read(4096)
        off = struct.unpack_from("<I", head, 0x3C)[0]
        if head[off:off + 4] != b"PE\0\0":
            return None
        return {0x14C: "i686", 0x8664: "x86_64"}.get(struct.unpack_from("<H", head, off + 4)[0])
    except (OSError, struct.error):
        return None


def launcher_sizes(timed_launcher):
    """The timed launcher for its architecture, else the newest one among the build folders."""
    found = {}
    for p in (REPO / "build").glob(f"*/{LAUNCHER_REL}"):
        arch = pe_machine(p)
        if arch and (arch not in found or p.stat().st_mtime > found[arch].stat().st_mtime):
            found[arch] = p
    if timed_launcher and pe_machine(timed_launcher):
        found[pe_machine(timed_launcher)] = timed_launcher
    return found


def summary(name, times, failures):
    if not times:
        return f"{name:<10} no successful run ({failures} failed)"
    extra = f", {failures} failed" if failures else ""
    return (f"{name:<10} median {statistics.median(times):8.1f} ms   min {min(times):8.1f} ms"
            f"   max {max(times):8.1f} ms   ({len(times)} runs{extra})")


def print_phases(program, runs):
    """Where the time goes: each phase's median end (ms since the process was
    started) and the median time it took, as a share of the time to the
    painted, answering window; phases after that are the start-up's own
    work the window no longer waits for."""
    if not runs:
        print(f"phases     of {program}: none written")
        return
    stamps = [dict(run) for run in runs]
    ends = {name: statistics.median(s[name] for s in stamps if name in s) for name in stamps[0]}
    names = sorted(ends, key=ends.get)
    total = ends[ANSWERING]
    print(f"phases     of {program}, medians over {len(runs)} runs:")
    for i, name in enumerate(names):
        previous = names[i - 1] if i else None
        took = statistics.median(s[name] - (s[previous] if previous else 0.0)
                                 for s in stamps if name in s and (previous is None or previous in s))
        after = "   (after the window answers)" if ends[name] > total else ""
        print(f"  {name:<30} ends at {ends[name]:7.1f}   took {took:6.1f} ms  {100 * took / total:5.1f} %{after}")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0].replace("\n", " "))
    ap.add_argument("build", nargs="?", type=Path, default=REPO / "build" / "bench",
                    help="x86_64 build folder (default: build/bench)")
    ap.add_argument("-n", "--runs", type=int, default=15, help="runs of each program (15)")
    ap.add_argument("--display", type=int, help="Xvfb display number (default: first free from 90)")
    ap.add_argument("--launcher", type=Path, help="executable to time instead of the built launcher")
    ap.add_argument("--title", default=LAUNCHER_TITLE, help="its window title")
    ap.add_argument("--no-build", action="store_true", help="use the build folder as it is")
    args = ap.parse_args()
    build = args.build.resolve()

    tools = prepare_build(build, not args.no_build)
    startwatch = tools / "startwatch.exe"
    launcher = args.launcher.resolve() if args.launcher else build / LAUNCHER_REL
    title = args.title
    if not launcher.exists():
        # A ratio of the bare window against itself would read as a result.
        sys.exit(f"error: no launcher to time at {launcher}: build it (scripts/build.sh) or give --launcher")

    # Each program starts from a folder of its own. The launcher's is a demo
    # drive (components, "system\" for its shortcuts) under a name with an
    # accent and a space, as users run it: its start-up does all its work.
    run_dir = build / "bench-run"
    shutil.rmtree(run_dir, ignore_errors=True)
    progs = []
    # "no-links" is the same drive without "system\": its eleven shortcut
    # writes fail at once, which shows what saving them costs. Under Wine each
    # saved link also starts winemenubuilder, a cost Windows does not have.
    for name, exe, t in (("launcher", launcher, title),
                         ("no-links", launcher, title),
                         ("bare", tools / "bare_window.exe", BARE_TITLE)):
        d = run_dir / name / "Clé USB"
        if name != "bare":
            subprocess.run([sys.executable, str(REPO / "demo" / "make_demo_drive.py"), str(d)], check=True,
                           stdout=subprocess.DEVNULL)
        if name == "no-links":
            shutil.rmtree(d / "system")
        d.mkdir(parents=True, exist_ok=True)
        shutil.copy2(exe, d / exe.name)
        progs.append((name, d / exe.name, t))

    session = Session(args.display if args.display is not None else free_display(),
                      build / "wineprefix-bench")

    def on_signal(signum, _frame):
        raise KeyboardInterrupt
    signal.signal(signal.SIGTERM, on_signal)

    load_before = os.getloadavg()[0]
    resources = bare_resources = None
    times = {name: [] for name, _, _ in progs}
    trace = run_dir / "phases.txt"
    phase_runs = {"launcher": [], "bare": []}
    failures = {name: 0 for name, _, _ in progs}
    try:
        session.start()
        for name, exe, t in progs:  # warm-up, not counted
            if session.time_start(startwatch, exe, t) is None:
                # A program that does not show its window has no start-up time:
                # say so rather than wait out the deadline on every run.
                log(f"error: the {name} program did not show its window \"{t}\"; nothing timed")
                return 1
        for i in range(args.runs):
            # Alternate the order so neither program always runs right after the other.
            order = progs if i % 2 == 0 else progs[::-1]
            for name, exe, t in order:
                ms = session.time_start(startwatch, exe, t, trace if name in phase_runs else None)
                if ms is None:
                    failures[name] += 1
                else:
                    # Painted means the program's own first paint is over too:
                    # the stopwatch can find no region left to paint while the
                    # window is still being shown.
                    painted = dict(session.phases).get("first frame painted", 0.0)
                    ms = max(ms, painted)
                    times[name].append(ms)
                    if session.phases:
                        phase_runs[name].append(session.phases + [(ANSWERING, ms)])
            log(f"  round {i + 1}/{args.runs}: " + "  ".join(
                f"{n} {times[n][-1]:.1f}" if times[n] else f"{n} -" for n, _, _ in progs))
        # Objects and memory: read after the start and after the pointer has
        # passed 10,000 times over two pictures; not timed.
        launcher_exe, launcher_title = progs[0][1], progs[0][2]
        session.time_start(startwatch, launcher_exe, launcher_title, trace, hovers=HOVERS)
        resources = session.resources
        session.time_start(startwatch, progs[2][1], progs[2][2], trace, hovers=1)
        bare_resources = session.resources
    except KeyboardInterrupt:
        log("interrupted")
    finally:
        session.stop()

    # Other work on the machine moves these figures a lot: show how busy it was.
    print(f"Start-up to painted window, Wine 64-bit + Xvfb, {args.runs} alternated runs"
          f" (load average {load_before:.2f} before, {os.getloadavg()[0]:.2f} after)")
    print(f"  launcher: {launcher}  (\"{title}\")")
    for name, _, _ in progs:
        print(summary(name, times[name], failures[name]))
    if times["launcher"] and times["bare"]:
        med = statistics.median(times["launcher"]) / statistics.median(times["bare"])
        mn = min(times["launcher"]) / min(times["bare"])
        diff = statistics.median(times["launcher"]) - statistics.median(times["bare"])
        print(f"ratio      launcher/bare: median {med:.2f}   min {mn:.2f}   (aim: under {TEAM_AIM})")
        print(f"difference launcher - bare, medians: {diff:+.1f} ms")
    for name, runs in phase_runs.items():
        print_phases(name, runs)
    if times["launcher"] and times["no-links"]:
        links = statistics.median(times["launcher"]) - statistics.median(times["no-links"])
        print(f"shortcuts  launcher - no-links, medians: {links:+.1f} ms for the eleven saved links")
    if resources:
        gdi, user, gdi_after, user_after, peak, windows, windows_after = resources
        if gdi or user:
            print(f"objects    GDI {gdi}, USER {user} after start; GDI {gdi_after}, USER {user_after} after "
                  f"{HOVERS:,} hovers (growth: GDI {gdi_after - gdi:+d}, USER {user_after - user:+d})")
        else:
            print("objects    GDI and USER: not counted here (Wine's GetGuiResources answers 0)")
        print(f"windows    {windows} after start, {windows_after} after {HOVERS:,} hovers")
        bare_peak = f", bare window {bare_resources[4] / 2**20:.1f} MB" if bare_resources else ""
        print(f"memory     peak working set {peak / 2**20:.1f} MB after the hovers{bare_peak} (aim: 20 MB at most)")
    else:
        print("objects    (not read)")
    sizes = launcher_sizes(launcher if launcher.name == LAUNCHER_REL.name else None)
    for arch in ("x86_64", "i686"):
        p = sizes.get(arch)
        if p:
            print(f"size       {arch:<7} {p.stat().st_size:>10,} bytes  {p}")
        else:
            print(f"size       {arch:<7} (no build found)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
