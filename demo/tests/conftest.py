import os
import subprocess
import sys

import pytest

DEMO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PYTHON = "/usr/bin/python3"
sys.path.insert(0, DEMO)


def run_script(name, *args, check=True):
    return subprocess.run([PYTHON, os.path.join(DEMO, name), *args], capture_output=True,
                          text=True, check=check)


@pytest.fixture(scope="session")
def fake_standin(tmp_path_factory):
    """Bytes that stand for the Windows build of the stand-in."""
    path = tmp_path_factory.mktemp("standin") / "standin.exe"
    path.write_bytes(b"MZ fake stand-in for the tests\0" * 8)
    return path


@pytest.fixture(scope="session")
def server_tree(tmp_path_factory, fake_standin):
    root = tmp_path_factory.mktemp("server") / "tree"
    run_script("make_server_tree.py", str(root), "--standin", str(fake_standin))
    return root
