"""What a user does and sees in the window, shared by the journeys: the
controls as they stand, answering a message box, waiting for the end of the
action under way, and the key's files before and after."""

import hashlib
from pathlib import Path

import harness
from window_state import children_by_name

# The record of accepted catalogues, which any download may update.
ACCEPTED_SERIALS = "catalogue-serie.txt"


def snapshot(drive: Path, leave_out: Path | None = None) -> dict:
    """Every file of the key with its SHA-256 (folders as such), but the record
    of accepted catalogues and whatever lies in `leave_out`."""
    return {p.relative_to(drive): hashlib.sha256(p.read_bytes()).hexdigest() if p.is_file() else "dossier"
            for p in drive.rglob("*")
            if p.name != ACCEPTED_SERIALS and not (leave_out and (p == leave_out or leave_out in p.parents))}


def controls(e2e) -> dict:
    return children_by_name(e2e.probe("tree"))


def offered(e2e, component: str) -> tuple:
    """Whether the component's download and removal labels are enabled."""
    c = controls(e2e)
    return c[f"Label_telecharger_{component}"]["enabled"], c[f"Label_supprimer_{component}"]["enabled"]


def _lines(text: str) -> str:
    return text.replace("\r\n", "\n")


def _exists(e2e, hwnd: int) -> bool:
    return any(w["hwnd"] == hwnd for w in e2e.probe("windows")["windows"])


def answer(e2e, title: str, text: str, button: int, timeout=60) -> dict:
    """Checks the box on screen and answers it; returns once the box is gone
    and the action that asked has gone on."""
    box = e2e.wait_message_box(timeout=timeout)
    assert (box["title"], _lines(box["text"])) == (title, _lines(text))
    assert box["ownedByMain"]
    # Under Wine a press posted while the box is still settling can be lost:
    # press again while this very box is still shown.
    for _ in range(3):
        e2e.press(button)
        try:
            e2e.wait_for(lambda: all(b["hwnd"] != box["hwnd"] for b in e2e.message_boxes()), timeout=10,
                         what="the box to close")
            break
        except harness.HarnessError:
            continue
    else:
        raise harness.HarnessError(f"the box {title!r} did not close")
    # Without a window manager Wine takes up to a second to withdraw a hidden
    # box; until it is destroyed the action has not returned, and a click in
    # that moment would rightly be ignored.
    e2e.wait_for(lambda: not _exists(e2e, box["hwnd"]), what="the box to be destroyed")
    return box


def start_vlc_install(e2e):
    """Opens the download panel, clicks VLC's label and answers Yes."""
    e2e.click("Picture_installer")
    e2e.wait_for(lambda: controls(e2e)["Picture_installer_grand"]["visible"], what="the download panel")
    e2e.click("Label_telecharger_vlc")
    answer(e2e, "Installation d'un programme", "Voulez-vous installer VLC ?", harness.IDYES)
