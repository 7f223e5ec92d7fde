"""The demo download server, spoken to with raw request bytes as the launcher sends them."""

import os
import signal
import socket
import subprocess
import time

import pytest

from conftest import DEMO, PYTHON

SOLFEGE = b"/logiciels/portable1.4/Cantarel/Solf\xe8ge.zip"
BULLARO = b"/logiciels/portable1.4/Cantarel/Bullaro.zip"


def start_server(root, tmp_path, *options):
    port_file = tmp_path / "port"
    log = tmp_path / "requests.log"
    proc = subprocess.Popen([PYTHON, os.path.join(DEMO, "serve.py"), str(root),
                             "--port-file", str(port_file), "--log", str(log), *options],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    deadline = time.monotonic() + 20
    while not port_file.exists():
        if proc.poll() is not None or time.monotonic() > deadline:
            proc.kill()
            pytest.fail("server did not start: %s" % proc.stderr.read().decode())
        time.sleep(0.02)
    return proc, int(port_file.read_text()), log


def get(port, path: bytes, method=b"GET"):
    """Sends one raw request line; returns (status, headers, body) as received."""
    with socket.create_connection(("127.0.0.1", port), timeout=30) as s:
        s.sendall(method + b" " + path + b" HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                  b"Connection: close\r\n\r\n")
        data = b""
        while chunk := s.recv(65536):
            data += chunk
    head, _, body = data.partition(b"\r\n\r\n")
    lines = head.split(b"\r\n")
    headers = dict(l.decode("latin-1").lower().split(": ", 1) for l in lines[1:])
    return int(lines[0].split()[1]), headers, body


@pytest.fixture(scope="module")
def server(server_tree, tmp_path_factory):
    proc, port, log = start_server(
        server_tree, tmp_path_factory.mktemp("serve"),
        "--fail-404", "/logiciels/version.txt",
        "--fail-500", "/logiciels/portable1.4/Util/*",
        "--truncate", BULLARO.decode(),
        "--slow", "/logiciels/portable1.4/Musique/VLC.zip", "--slow-seconds", "0.2")
    try:
        yield port, log
        proc.terminate()
        assert proc.wait(timeout=10) == 0
    finally:
        proc.kill()


def test_accented_path_is_found_from_the_raw_ansi_byte(server, server_tree):
    port, log = server
    status, headers, body = get(port, SOLFEGE)
    assert status == 200
    assert body == (server_tree / "logiciels/portable1.4/Cantarel/Solfège.zip").read_bytes()
    assert int(headers["content-length"]) == len(body)
    # Other spellings of the same name are different requests, as on the real server.
    assert get(port, SOLFEGE.replace(b"\xe8", b"%E8"))[0] == 404
    assert get(port, SOLFEGE.replace(b"\xe8", "è".encode()))[0] == 404
    assert repr(b"GET " + SOLFEGE + b" HTTP/1.1") + "\t200" in log.read_text().splitlines()


def test_missing_and_outside_paths_are_404(server):
    port, _ = server
    assert get(port, b"/logiciels/portable1.4/Cantarel/Absent.zip")[0] == 404
    assert get(port, b"/logiciels/portable1.4/Cantarel")[0] == 404
    assert get(port, b"/logiciels/../../etc/passwd")[0] == 404
    assert get(port, b"/logiciels/portable1.4/Windows/java.exe", b"HEAD")[0] == 200


def test_injected_faults(server, server_tree):
    port, log = server
    assert get(port, b"/logiciels/version.txt")[0] == 404
    assert get(port, b"/logiciels/portable1.4/Util/Firefox.zip")[0] == 500
    assert get(port, b"/logiciels/portable1.4/Musique/CDex.zip")[0] == 200

    status, headers, body = get(port, BULLARO)
    full = (server_tree / "logiciels/portable1.4/Cantarel/Bullaro.zip").read_bytes()
    assert status == 200 and int(headers["content-length"]) == len(full)
    assert 0 < len(body) < len(full) and full.startswith(body)

    status, _, body = get(port, b"/logiciels/portable1.4/Musique/VLC.zip")
    assert status == 200
    assert body == (server_tree / "logiciels/portable1.4/Musique/VLC.zip").read_bytes()
    assert "200 slow" in log.read_text()


def test_stops_by_itself_and_on_signal(server_tree, tmp_path):
    proc, port, _ = start_server(server_tree, tmp_path / "a", "--max-seconds", "0.3")
    try:
        assert proc.wait(timeout=30) == 0
    finally:
        proc.kill()
    with pytest.raises(OSError):
        socket.create_connection(("127.0.0.1", port), timeout=5).close()

    proc, port, _ = start_server(server_tree, tmp_path / "b")
    try:
        assert get(port, SOLFEGE)[0] == 200
        proc.send_signal(signal.SIGINT)
        assert proc.wait(timeout=30) == 0
    finally:
        proc.kill()
