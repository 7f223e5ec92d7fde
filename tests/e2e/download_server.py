"""The demo download server for end-to-end runs: the tree the launcher
downloads from, served on the address it is built with, with injected faults
and the raw request lines it received."""

import ast
import os
import socket
import subprocess
import time
from pathlib import Path
from urllib.parse import urlparse

REPO = Path(__file__).resolve().parents[2]
PYTHON = "/usr/bin/python3"


def make_server_tree(dest: Path, standin: str | None) -> Path:
    args = [PYTHON, str(REPO / "demo" / "make_server_tree.py"), str(dest)]
    if standin:
        args += ["--standin", standin]
    subprocess.run(args, check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, timeout=120)
    return dest


def sign(tree: Path, serial: int = 1, *extra) -> Path:
    """Signs the tree anew after a test changed it (tools/sign_tree.py)."""
    subprocess.run([PYTHON, str(REPO / "tools" / "sign_tree.py"), str(tree), "--serial", str(serial), *extra],
                   check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, timeout=120)
    return tree


# What the launcher asks first, once a session: the signed catalogue.
CATALOGUE_REQUESTS = [b"GET /logiciels/catalogue HTTP/1.1", b"GET /logiciels/catalogue.sig HTTP/1.1"]


class DownloadServer:
    """serve.py on the port of the launcher's download address; faults are
    serve.py's options (e.g. ["--fail-404", "*/Audacity.zip"])."""

    def __init__(self, tree: Path, log: Path, faults=()):
        self.port = urlparse(os.environ.get("CANTAREL_DOWNLOAD_BASE", "http://127.0.0.1:8642")).port
        self.tree, self.log, self.faults = tree, log, list(faults)
        self.proc = None

    def __enter__(self):
        self.proc = subprocess.Popen([PYTHON, str(REPO / "demo" / "serve.py"), str(self.tree), "--port",
                                      str(self.port), "--log", str(self.log), "--max-seconds", "600",
                                      *self.faults], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            with socket.socket() as s:
                if s.connect_ex(("127.0.0.1", self.port)) == 0:
                    return self
            time.sleep(0.1)
        self.__exit__()
        raise RuntimeError(f"the download server did not listen on port {self.port}")

    def __exit__(self, *exc):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(timeout=20)

    def request_lines(self) -> list:
        """The raw bytes of every request line received so far."""
        if not self.log.exists():
            return []
        # serve.py writes the repr of the line's bytes, a tab, then the status.
        return [ast.literal_eval(line.split("\t")[0]) for line in self.log.read_text().splitlines() if line]
