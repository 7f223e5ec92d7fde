"""Moving between the categories, the free-space report of the download and
removal panels, and what the pointer does to the picture buttons."""

import os
import re
from pathlib import Path

import pytest
from PIL import Image, ImageStat

import portable_tree
from journey import controls

MENU = [("Picture_lecture", "Picture_lecture_grand"), ("Picture_partition", "Picture_partitions_grand"),
        ("Picture_musique", "Picture_musique_grand"), ("Picture_outils", "Picture_outils_grand"),
        ("Picture_documents", "Picture_documents_grand"), ("Picture_installer", "Picture_installer_grand"),
        ("Picture_supprimer", "Picture_desinstall_grand"), ("Picture_windows", "Picture_windows_grand"),
        ("Picture_aide", "Picture_aide_grand")]
DESIGN_SPACE_TEXT = "Espace disponible sur la clé : 200 Mo"


def size_text(count: int) -> str:
    """The report's figure for a byte count, as a French user reads it."""
    if count <= 999:
        return f" {count} bytes"
    for power, unit in ((1, " Ko"), (2, " Mo"), (3, " Go")):
        if count <= 999 * 1024 ** power:
            return f"{count / 1024 ** power:.2f}".replace(".", ",") + unit
    return f"{count / 1024 ** 4:.2f}".replace(".", ",") + " To"


@pytest.fixture(scope="module")
def window(e2e, tmp_path_factory):
    drive = portable_tree.make_minimal_tree(tmp_path_factory.mktemp("navigation") / "Clé USB" / "Cantarel Portable")
    launcher = e2e.start_launcher(drive, log_name="navigation.log")
    try:
        launcher.wait_window()
        yield e2e, drive
    finally:
        launcher.kill()


def shown_panels(e2e) -> list:
    c = controls(e2e)
    return [panel for _, panel in MENU if c[panel]["visible"]]


def look(e2e, name: str, shot: str) -> tuple:
    """The mean colour of a control on a fresh screenshot."""
    c = controls(e2e)[name]
    x, y = e2e.centre_of(name)
    w, h = c["rect"]["width"], c["rect"]["height"]
    with Image.open(e2e.screenshot(shot)) as image:
        area = image.convert("RGB").crop((x - w // 2 + 2, y - h // 2 + 2, x + w // 2 - 2, y + h // 2 - 2))
        return tuple(round(v) for v in ImageStat.Stat(area).mean)


def test_each_category_button_shows_exactly_its_panel(window):
    e2e, _ = window
    assert shown_panels(e2e) == []
    assert controls(e2e)["Label_espace_disque"]["text"] == DESIGN_SPACE_TEXT
    for button, panel in MENU:
        e2e.click(button)
        e2e.wait_for(lambda: shown_panels(e2e) == [panel], what=f"{panel} alone on screen")
    e2e.click("Picture_musique")
    e2e.wait_for(lambda: shown_panels(e2e) == ["Picture_musique_grand"], what="the music panel again")


def test_download_panel_reports_the_drive_volume(window):
    e2e, drive = window
    removal_caption = controls(e2e)["Label_espace_disque"]["text"]
    e2e.click("Picture_installer")
    text = e2e.wait_for(lambda: (t := controls(e2e)["Label_espace_disque_telecharger"]["text"]) != DESIGN_SPACE_TEXT
                        and t, what="the free-space report")
    lines = text.split("\r\n")
    assert len(lines) == 3, text
    volume = os.statvfs(drive)
    assert lines[1] == "Espace Total : " + size_text(volume.f_blocks * volume.f_frsize)
    assert re.fullmatch(r"Espace Libre : \d{1,3},\d\d [KMGT]o", lines[0]), lines[0]
    assert re.fullmatch(r"Espace Utilisé : \d{1,3},\d\d [KMGT]o", lines[2]), lines[2]
    # The removal panel's caption is refreshed only when that panel is opened.
    assert controls(e2e)["Label_espace_disque"]["text"] == removal_caption
    e2e.click("Picture_supprimer")
    e2e.wait_for(lambda: controls(e2e)["Label_espace_disque"]["text"].startswith("Espace Libre : "),
                 what="the removal panel's report")


def test_pointer_lights_buttons_and_pictures(window):
    e2e, _ = window
    e2e.click("Picture_musique")
    e2e.move_to("Picture_partition")
    light = look(e2e, "Picture_lecture", "lecture-light.png")
    e2e.move_to("Picture_lecture")
    hover = e2e.wait_for(lambda: (l := look(e2e, "Picture_lecture", "lecture-hover.png")) != light and l,
                         what="the hover image of the first button")
    assert sum(hover) != sum(light)
    # The selected button stays dark under the pointer.
    dark = look(e2e, "Picture_musique", "musique-dark.png")
    e2e.move_to("Picture_musique")
    assert look(e2e, "Picture_musique", "musique-dark-under-pointer.png") == dark

    e2e.move_to("Picture_musique_grand")  # the panel's background, between the pictures
    normal = look(e2e, "Picture_vlc", "vlc-normal.png")
    e2e.move_to("Picture_vlc")
    lit = e2e.wait_for(lambda: (l := look(e2e, "Picture_vlc", "vlc-lit.png")) != normal and l,
                       what="the highlighted image of VLC")
    assert lit[2] - lit[0] > normal[2] - normal[0], "the highlighted image is the bluer one"
    e2e.move_to("Picture_musique_grand")
    e2e.wait_for(lambda: look(e2e, "Picture_vlc", "vlc-normal-again.png") == normal, what="VLC back to normal")


def test_a_press_sinks_a_picture_by_one_pixel_and_the_release_restores_it(window):
    e2e, _ = window
    e2e.click("Picture_musique")
    home = controls(e2e)["Picture_vlc"]["rect"]
    e2e.move_to("Picture_vlc")
    e2e.mouse_down(3)
    pressed = e2e.wait_for(lambda: (r := controls(e2e)["Picture_vlc"]["rect"]) != home and r, what="the press")
    assert (pressed["x"], pressed["y"]) == (home["x"] + 1, home["y"] + 1)
    e2e.mouse_up(3)
    e2e.wait_for(lambda: controls(e2e)["Picture_vlc"]["rect"] == home, what="the picture back in place")

    quit_home = controls(e2e)["Picture_partition"]["rect"]
    e2e.move_to("Picture_partition")
    e2e.mouse_down(1)
    e2e.wait_for(lambda: controls(e2e)["Picture_partition"]["rect"]["y"] == quit_home["y"] + 1, what="the press")
    e2e.mouse_up(1)
    e2e.wait_for(lambda: controls(e2e)["Picture_partition"]["rect"] == quit_home, what="the button back in place")
    e2e.wait_for(lambda: shown_panels(e2e) == ["Picture_partitions_grand"], what="the click after the release")


def _mean(image, box) -> tuple:
    return tuple(ImageStat.Stat(image.convert("RGB").crop(box)).mean)


def menu_looks(e2e, shot: str) -> dict:
    """Which of its three images (clair, move, fonce) each category button shows
    on one screenshot: the asset whose mean colour is nearest."""
    c = controls(e2e)
    assets = Path(__file__).resolve().parents[2] / "assets"
    looks = {}
    with Image.open(e2e.screenshot(shot)) as screen:
        for button, _ in MENU:
            x, y = e2e.centre_of(button)
            w, h = c[button]["rect"]["width"], c[button]["rect"]["height"]
            seen = _mean(screen, (x - w // 2 + 2, y - h // 2 + 2, x + w // 2 - 2, y + h // 2 - 2))
            distances = {}
            for name in ("clair", "move", "fonce"):
                with Image.open(assets / f"{button}_{name}.jpg") as asset:
                    drawn = _mean(asset, (2, 2, w - 2, h - 2))
                distances[name] = sum((a - b) ** 2 for a, b in zip(seen, drawn))
            looks[button] = min(distances, key=distances.get)
    return looks


def test_quick_successive_clicks_leave_one_button_selected(window):
    """Each click as soon as its panel shows, then the pointer straight off the
    menu: only the last button clicked may look selected, every time."""
    e2e, _ = window
    panel_of = dict(MENU)
    for round_, sequence in enumerate((["Picture_windows", "Picture_aide"],
                                       ["Picture_musique", "Picture_lecture", "Picture_outils"],
                                       ["Picture_installer", "Picture_supprimer", "Picture_documents",
                                        "Picture_partition", "Picture_windows"])):
        for button in sequence:
            e2e.click(button)
            e2e.wait_for(lambda: shown_panels(e2e) == [panel_of[button]], what=f"{panel_of[button]} shown")
        e2e.move_to(panel_of[sequence[-1]])
        looks = menu_looks(e2e, f"menu-after-round-{round_}.png")
        assert [b for b, look in looks.items() if look == "fonce"] == [sequence[-1]], looks
        assert all(look == "clair" for b, look in looks.items() if b != sequence[-1]), looks
