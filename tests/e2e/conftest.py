"""Fixtures of the end-to-end tests: one X display and one warm Wine prefix for
the whole run, and launchers that never outlive their test.

CTest passes the built programs through the environment:
  CANTAREL_LAUNCHER_EXE   the x86_64 launcher
  CANTAREL_UIPROBE_EXE    the window probe
  CANTAREL_E2E_ARTIFACTS  where screenshots and logs go
  CANTAREL_E2E_PREFIX     the Wine prefix, kept between runs (optional)
"""

import os
import sys
from pathlib import Path

import pytest

REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "tools" / "harness"))

import harness  # noqa: E402
import portable_tree  # noqa: E402

# Every drive of these tests lies under a name with a space and an accent.
DRIVE_PARENT = "Clé USB"
DRIVE_NAME = "Cantarel Portable"


@pytest.fixture(scope="session")
def e2e(tmp_path_factory):
    launcher = os.environ.get("CANTAREL_LAUNCHER_EXE")
    probe = os.environ.get("CANTAREL_UIPROBE_EXE")
    if not (launcher and probe):
        pytest.skip("set CANTAREL_LAUNCHER_EXE and CANTAREL_UIPROBE_EXE (CTest does)")
    for exe in (launcher, probe):
        assert Path(exe).is_file(), f"missing {exe}"
    artifacts = Path(os.environ.get("CANTAREL_E2E_ARTIFACTS") or tmp_path_factory.mktemp("artifacts"))
    prefix = Path(os.environ.get("CANTAREL_E2E_PREFIX") or artifacts.parent / "e2e-wineprefix")
    read_only_root = tmp_path_factory.mktemp("write-protected")
    with harness.sigterm_as_interrupt(), harness.Session(launcher, probe, prefix, artifacts,
                                                          read_only_root=read_only_root) as session:
        yield session


def _drive_path(base: Path) -> Path:
    return base / DRIVE_PARENT / DRIVE_NAME


@pytest.fixture
def new_drive(tmp_path):
    """Makes a drive with the given components installed (see portable_tree)."""
    def make(installed=None, name="drive"):
        return portable_tree.make_minimal_tree(_drive_path(tmp_path / name), installed)
    return make


@pytest.fixture
def run(e2e, request):
    """Starts the launcher on a drive; whatever still runs at the end of the test is ended."""
    started = []

    def start(tree, **kwargs):
        log = f"{request.node.name}-{len(started)}.log"
        launcher = e2e.start_launcher(tree, log_name=log, **kwargs)
        started.append(launcher)
        return launcher

    yield start
    for launcher in started:
        launcher.kill()


def pytest_terminal_summary(terminalreporter):
    """The catalogue of hostile cases ends with its count."""
    cases = sys.modules.get("test_hostile_cases")
    if cases is not None and cases.RESULTS:
        held = sum(1 for _, ok in cases.RESULTS if ok)
        terminalreporter.write_line(f"hostile cases: {len(cases.RESULTS)} run, {held} held")
