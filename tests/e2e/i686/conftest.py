"""The 32-bit release's journeys use the fixtures of the x86_64 ones, with the
launcher run by Wine's 32-bit loader. Besides the variables of ../conftest.py,
CTest passes:
  CANTAREL_WINE32   runs a 32-bit program in the prefix (scripts/setup-i686.sh
                    makes /opt/cantarel-qemu/bin/wine32: qemu-user and wine32)
The probe and the stand-in program are the x86_64 build's.
"""

import os
from pathlib import Path

import pytest


@pytest.fixture(scope="session")
def e2e(e2e):
    """The x86_64 journeys' session, its launchers started by the 32-bit loader."""
    loader = os.environ.get("CANTAREL_WINE32", "")
    if not Path(loader).is_file():
        pytest.fail(f"no 32-bit loader at {loader!r}: scripts/setup.sh installs it")
    e2e.loader = [loader]
    return e2e
