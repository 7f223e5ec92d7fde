"""What a user does and sees in the window, shared by the journeys: the
controls as they stand, answering a message box, and waiting for the end of
the action under way."""

import harness
from window_state import children_by_name


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
