"""Runs the real launcher under 64-bit Wine and Xvfb, and acts on it as a person would.

Shared by the end-to-end tests and by run_demo.py. Plain standard library;
everything started here is ended by close() or by leaving the `with` block,
failure or not.

Reading state goes through uiprobe (a console program in the same Wine prefix,
printing JSON); acting goes through the real X pointer (xdotool), so the
launcher gets the same mouse messages as on a desktop.
"""

from __future__ import annotations

import contextlib
import fcntl
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

from portable_tree import catalogue

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
# The version the launcher is built as, from its exported catalogue.
VERSION = catalogue.VERSION
TITLE = "Cantarel Portable - Version " + VERSION
SCREEN = (1280, 1024)

# Message box button ids (the labels follow the prefix's language).
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7


class HarnessError(RuntimeError):
    pass


def wine_env(prefix: Path, display: str | None) -> dict:
    env = dict(os.environ)
    # A Wine child must not see a parent's Windows-side settings.
    for key in ("WINEARCH", "WINESERVER", "WINELOADER", "WINEDEBUG", "WINEDLLOVERRIDES"):
        env.pop(key, None)
    env.update(
        WINEPREFIX=str(prefix),
        WINEDEBUG="-all",
        # winemenubuilder would add a desktop entry for every shortcut the launcher writes.
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d",
        LANG="fr_FR.UTF-8",
        LC_ALL="fr_FR.UTF-8",
    )
    if display:
        env["DISPLAY"] = display
    else:
        env.pop("DISPLAY", None)
    return env


def _display_range() -> range:
    # CANTAREL_DISPLAYS="91-95" keeps parallel users of one machine apart.
    span = os.environ.get("CANTAREL_DISPLAYS", "90-129")
    low, _, high = span.partition("-")
    return range(int(low), int(high or low) + 1)


def display_usable(display: str) -> bool:
    try:
        return subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=10).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


class Xvfb:
    """A private X server on the first free display number."""

    def __init__(self, size=SCREEN):
        self.size = size
        self.proc = None
        self.display = None

    def start(self) -> "Xvfb":
        for number in _display_range():
            if Path(f"/tmp/.X{number}-lock").exists() or Path(f"/tmp/.X11-unix/X{number}").exists():
                continue
            display = f":{number}"
            proc = subprocess.Popen(
                ["Xvfb", display, "-screen", "0", f"{self.size[0]}x{self.size[1]}x24", "-nolisten", "tcp"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
            deadline = time.monotonic() + 15
            while time.monotonic() < deadline and proc.poll() is None:
                if display_usable(display):
                    self.proc, self.display = proc, display
                    return self
                time.sleep(0.1)
            # Lost a race for this number, or the server failed: try the next one.
            with contextlib.suppress(ProcessLookupError):
                proc.kill()
            proc.wait()
        raise HarnessError(f"no free X display in {_display_range()}")

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc = None


class WinePrefix:
    """One Wine prefix, created once and kept; its wineserver runs while in use.

    A lock file keeps two runs from sharing the prefix (and so the wineserver)
    at the same time.
    """

    def __init__(self, path: Path, display: str | None, read_only_root: Path | None = None):
        self.path = Path(path)
        self.display = display
        self.env = wine_env(self.path, display)
        self.read_only_root = Path(read_only_root) if read_only_root else None
        self._lock = None

    def _run(self, args, timeout):
        # Wine's helper processes inherit output handles and keep them open:
        # nothing here ever waits on a pipe from them.
        subprocess.run(args, env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=timeout, check=False)

    def start(self) -> "WinePrefix":
        self.path.parent.mkdir(parents=True, exist_ok=True)
        self._lock = open(f"{self.path}.lock", "w")
        try:
            fcntl.flock(self._lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            fcntl.flock(self._lock, fcntl.LOCK_EX)  # wait for the other run to finish
        # The marker is written only once wineboot has finished, so a prefix
        # whose creation was interrupted is completed on the next run.
        ready = self.path / ".cantarel-prefix-ready"
        if not ready.exists():
            self._run([WINE, "wineboot", "-i"], timeout=300)
            self._run([WINESERVER, "-w"], timeout=120)
            ready.write_text("wineboot -i done\n")
        self._run([WINESERVER, "-k"], timeout=30)  # a server left by an earlier, killed run
        # Persistent: no restart between programs. The server opens and creates
        # files for every Wine process, so where it sees the read-only root
        # mounted read-only, every program of the prefix finds it write-protected.
        self._run(self.read_only_wrapper() + [WINESERVER, "-p"], timeout=30)
        self._run([WINE, "cmd", "/c", "exit"], timeout=120)
        return self

    def read_only_wrapper(self) -> list:
        """A command prefix that runs a program in a private mount namespace
        where the read-only root is a read-only bind mount of itself."""
        if not self.read_only_root:
            return []
        self.read_only_root.mkdir(parents=True, exist_ok=True)
        script = 'mount --bind "$1" "$1" && mount -o remount,ro,bind "$1" "$1" && shift && exec "$@"'
        return ["unshare", "--mount", "--propagation", "private", "sh", "-c", script, "sh",
                str(self.read_only_root)]

    def stop(self):
        with contextlib.suppress(Exception):
            self._run([WINESERVER, "-k"], timeout=30)
        if self._lock:
            self._lock.close()
            self._lock = None

    def windows_path(self, linux_path: Path) -> str:
        """The Z: drive name Wine gives a Linux path."""
        return "Z:" + str(Path(linux_path).resolve()).replace("/", "\\")


# The exit codes uiprobe gives for a failure of its own.
PROBE_FAILURES = range(1, 16)


class Probe:
    def __init__(self, exe: Path, prefix: WinePrefix):
        self.exe = Path(exe)
        self.prefix = prefix

    def run(self, *args, timeout=60) -> tuple[int, dict]:
        # Output goes to a file, not a pipe: a helper process that Wine starts
        # on the probe's behalf inherits its output and may keep a pipe open
        # long after the probe has ended; a file lets us wait for the probe alone.
        # A probe that ends in failure without printing a byte never ran its
        # own code (Wine could not start it, as happens now and then under
        # load), and one that ends with a code of Wine's rather than its own
        # (127, with every call answered by an error status as its output)
        # ran in a broken process: either is started again, twice at most.
        for attempt in range(3):
            with tempfile.TemporaryFile() as output:
                proc = subprocess.run([WINE, str(self.exe), *map(str, args)], env=self.prefix.env,
                                      stdin=subprocess.DEVNULL, stdout=output, stderr=subprocess.DEVNULL,
                                      timeout=timeout)
                output.seek(0)
                out = output.read().decode("utf-8").strip()
            if proc.returncode == 0 or (out and proc.returncode in PROBE_FAILURES):
                break
            time.sleep(0.5)
        try:
            data = json.loads(out) if out else {}
        except json.JSONDecodeError as error:
            raise HarnessError(f"uiprobe {' '.join(map(str, args))}: bad output {out[:500]!r}") from error
        return proc.returncode, data

    def __call__(self, *args, ok=(0,)) -> dict:
        code, data = self.run(*args)
        if code not in ok:
            raise HarnessError(f"uiprobe {' '.join(map(str, args))} ended with {code}: {data}")
        return data


class Launcher:
    """One run of the launcher, its executable copied into a portable tree."""

    def __init__(self, session: "Session", tree: Path, exe_name: str, log: Path):
        self.session = session
        self.tree = Path(tree)
        self.exe = self.tree / exe_name
        self.log_path = log
        self.proc = None
        self.pid = None  # Windows process id of the main window, once seen

    def start(self, wrapper=(), env=None) -> "Launcher":
        """env: variables added to the prefix's environment for this launcher
        (and so for what it starts), e.g. CANTAREL_STANDIN_LOG."""
        self.log_path.parent.mkdir(parents=True, exist_ok=True)
        log = open(self.log_path, "wb")
        self.proc = subprocess.Popen([*wrapper, *self.session.loader, str(self.exe)], cwd=self.tree,
                                     env={**self.session.prefix.env, **(env or {})},
                                     stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        log.close()
        return self

    @property
    def running(self) -> bool:
        return self.proc is not None and self.proc.poll() is None

    def log(self) -> str:
        with contextlib.suppress(OSError):
            return self.log_path.read_text(errors="replace")[-4000:]
        return ""

    def wait_window(self, timeout=60) -> dict:
        """Polls until the main window is visible and its start-up over (every
        panel made); returns its tree."""
        deadline = time.monotonic() + timeout
        last = {}
        while time.monotonic() < deadline:
            if not self.running:
                raise HarnessError(f"launcher ended ({self.proc.returncode}) before its window "
                                   f"appeared; log:\n{self.log()}")
            if self.session.probe is None:
                # Without the probe, X tells whether the window is mapped.
                if self.session.x_windows_named(TITLE):
                    return {}
            else:
                code, last = self.session.probe.run("tree")
                if code == 0 and last.get("main", {}).get("visible") and last["main"].get("ready"):
                    self.pid = last["main"]["pid"]
                    return last
            time.sleep(0.2)
        windows = self.session.probe.run("windows")[1] if self.session.probe else {}
        raise HarnessError(f"no visible window titled {TITLE!r} within {timeout} s; "
                           f"last tree: {last}; top-level windows: {windows}; log:\n{self.log()}")

    def wait_exit(self, timeout=30) -> int | None:
        """The exit code, or None if the launcher still runs at the deadline."""
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        if self.running:
            self.proc.kill()
            self.proc.wait()


class Session:
    """A display, a warm prefix, the probe, and the launchers started on them."""

    def __init__(self, launcher_exe, probe_exe, prefix_path, artifacts, display: str | None = None,
                 read_only_root: Path | None = None, loader=(WINE,)):
        """read_only_root: a folder that the launcher sees write-protected, as a
        locked USB key (Linux side, it stays writable for preparing trees).
        loader: the command that runs the launcher's executable in the prefix;
        64-bit Wine's loader, or a 32-bit one for the i686 build."""
        self.loader = [str(part) for part in loader]
        self.read_only_root = Path(read_only_root) if read_only_root else None
        self.launcher_exe = Path(launcher_exe)
        self.artifacts = Path(artifacts)
        self.xvfb = None
        self._own_display = display is None
        self.display = display
        self.prefix = None
        self.probe = None
        self._prefix_path = Path(prefix_path)
        self._probe_exe = Path(probe_exe) if probe_exe else None
        self.launchers: list[Launcher] = []

    def __enter__(self) -> "Session":
        try:
            if self._own_display:
                self.xvfb = Xvfb().start()
                self.display = self.xvfb.display
            if self.read_only_root and not read_only_mounts_work():
                self.read_only_root = None
            self.prefix = WinePrefix(self._prefix_path, self.display, self.read_only_root).start()
            self.probe = Probe(self._probe_exe, self.prefix) if self._probe_exe else None
            if self.probe:
                # The first program that asks for the desktop window starts
                # Wine's desktop process, which inherits that program's output
                # and keeps it open: let it inherit nothing we read.
                self.prefix._run([WINE, str(self._probe_exe), "windows"], timeout=120)
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        for launcher in self.launchers:
            with contextlib.suppress(Exception):
                launcher.kill()
        if self.prefix:
            self.prefix.stop()
        if self.xvfb:
            self.xvfb.stop()

    # --- starting ---------------------------------------------------------

    def start_launcher(self, tree: Path, log_name="launcher.log", extra_files=(), env=None) -> Launcher:
        """Copies the executable (and any extra files, such as the extraction
        library) into the tree, whose folder is the drive root it works on."""
        tree = Path(tree)
        # Launchers are told apart by their window's title only: one at a time.
        if self.probe and self.probe.run("tree")[0] != 3:
            raise HarnessError("a launcher window is already open in this session")
        shutil.copy2(self.launcher_exe, tree / self.launcher_exe.name)
        for extra in extra_files:
            shutil.copy2(extra, tree / Path(extra).name)
        launcher = Launcher(self, tree, self.launcher_exe.name, self.artifacts / log_name)
        self.launchers.append(launcher)
        inside_read_only = self.read_only_root and self.read_only_root in tree.resolve().parents
        return launcher.start(self.prefix.read_only_wrapper() if inside_read_only else (), env=env)

    # --- acting like a person ---------------------------------------------

    def _xdotool(self, *args):
        env = dict(os.environ, DISPLAY=self.display)
        subprocess.run(["xdotool", *map(str, args)], env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30, check=True)

    def x_windows_named(self, title: str) -> list:
        env = dict(os.environ, DISPLAY=self.display)
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"], env=env,
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=30)
        return result.stdout.split()

    def centre_of(self, name: str) -> tuple[int, int]:
        data = self.probe("center", name)
        return data["x"], data["y"]

    def move_to(self, name: str) -> tuple[int, int]:
        x, y = self.centre_of(name)
        self._xdotool("mousemove", "--sync", x, y)
        return x, y

    def click(self, name: str, button=1):
        """Moves the pointer onto the control, as a hand would, then clicks."""
        self.move_to(name)
        time.sleep(0.05)  # lets the window see the pointer arrive before the press
        self._xdotool("click", button)

    def click_button(self, text: str):
        """Clicks the launcher's visible push button that reads `text`."""
        data = self.probe("button", text)
        if not data.get("found"):
            raise HarnessError(f"no visible button {text!r}")
        self._xdotool("mousemove", "--sync", data["x"], data["y"])
        time.sleep(0.05)
        self._xdotool("click", 1)

    def mouse_down(self, button=1):
        self._xdotool("mousedown", button)

    def mouse_up(self, button=1):
        self._xdotool("mouseup", button)

    def move_pointer(self, x: int, y: int):
        self._xdotool("mousemove", "--sync", x, y)

    def key(self, *keys):
        self._xdotool("key", *keys)

    # --- reading ------------------------------------------------------------

    def screenshot(self, name: str) -> Path:
        self.artifacts.mkdir(parents=True, exist_ok=True)
        path = self.artifacts / name
        subprocess.run(["import", "-display", self.display, "-window", "root", str(path)],
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=60, check=True)
        return path

    def wait_for(self, predicate, timeout=20, interval=0.2, what="condition"):
        """Polls predicate() until it returns something true; returns that."""
        deadline = time.monotonic() + timeout
        last = None
        while time.monotonic() < deadline:
            last = predicate()
            if last:
                return last
            time.sleep(interval)
        raise HarnessError(f"timed out after {timeout} s waiting for {what}; last: {last!r}")

    def message_boxes(self) -> list:
        return self.probe("msgbox")["boxes"]

    def wait_message_box(self, timeout=20) -> dict:
        return self.wait_for(lambda: (self.message_boxes() or [None])[0], timeout, what="a message box")

    def press(self, button_id: int):
        self.probe("press", button_id)


def read_only_mounts_work() -> bool:
    """Whether a private read-only bind mount can be made here (root, unshare)."""
    probe = Path(f"/tmp/cantarel-ro-check-{os.getpid()}")
    probe.mkdir(exist_ok=True)
    try:
        script = ('mount --bind "$1" "$1" && mount -o remount,ro,bind "$1" "$1" && '
                  '! touch "$1/x" 2>/dev/null')
        result = subprocess.run(["unshare", "--mount", "--propagation", "private", "sh", "-c", script,
                                 "sh", str(probe)], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, timeout=30)
        return result.returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False
    finally:
        shutil.rmtree(probe, ignore_errors=True)


def find_build_file(start: Path, relative: str) -> Path | None:
    """Looks for <build>/<relative> in the folders above start (a build tree's exe)."""
    for folder in [Path(start).resolve(), *Path(start).resolve().parents]:
        if (folder / "CMakeCache.txt").exists():
            candidate = folder / relative
            return candidate if candidate.exists() else None
    return None


@contextlib.contextmanager
def sigterm_as_interrupt():
    """Turns SIGTERM into KeyboardInterrupt, so `with` blocks clean up on kill too."""
    def handler(signum, frame):
        raise KeyboardInterrupt
    previous = signal.signal(signal.SIGTERM, handler)
    try:
        yield
    finally:
        signal.signal(signal.SIGTERM, previous)
