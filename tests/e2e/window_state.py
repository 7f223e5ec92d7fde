"""Compares the launcher's real windows (uiprobe tree) with the expected model.

The model (uiprobe model) is the design state after start-up's placing steps;
the installed-state scan then changes labels and pictures according to the
drive, which expected_after_scan() applies from the drive's known content.
"""

from portable_tree import COMPONENTS, quiz_removal_caption

# Kinds whose window text is their caption.
TEXT_KINDS = {"Label", "BarText"}


def children_by_name(tree: dict) -> dict:
    return {w["name"]: w for w in tree["children"] if w["name"]}


def expected_after_scan(model: dict, installed: set) -> dict:
    """Model controls by name, with what the scan must make of this drive."""
    expected = {c["name"]: dict(c) for c in model["controls"]}
    for component, (_, picture) in COMPONENTS.items():
        on_drive = component in installed
        expected[f"Label_telecharger_{component}"]["enabled"] = not on_drive
        expected[f"Label_supprimer_{component}"]["enabled"] = on_drive
        if picture:
            expected[picture]["visible"] = on_drive
    if "quiz" in installed:
        expected["Label_supprimer_quiz"]["caption"] = quiz_removal_caption(installed)
    for control in expected.values():
        shown, name = control["visible"], control["parent"]
        while shown and name:
            shown, name = expected[name]["visible"], expected[name]["parent"]
        control["shown"] = shown
    return expected


def differences(tree: dict, expected: dict) -> list:
    """Every way the real child windows differ from the expected controls."""
    problems = []
    by_id = {}
    for window in tree["children"]:
        if window["id"] in by_id:
            problems.append(f"two child windows with id {window['id']} ({window['name']})")
        by_id[window["id"]] = window
    shown_kinds = {c["id"]: c for c in expected.values() if c["shownKind"]}
    for window in tree["children"]:
        if window["id"] not in shown_kinds:
            problems.append(f"child window {window['id']} ({window['class']}, {window['text']!r}) "
                            "stands for no shown control")
    for control in shown_kinds.values():
        name = control["name"]
        window = by_id.get(control["id"])
        if window is None:
            problems.append(f"{name}: no child window")
            continue
        parent_id = expected[control["parent"]]["id"] if control["parent"] else 0
        if window["parentId"] != parent_id:
            problems.append(f"{name}: parent id {window['parentId']}, expected {parent_id}")
        want, got = control["rect"], window["rect"]
        if control["widthLimit"]:
            # Sized to the caption by the host, within its place in the layout.
            if not 0 < got["width"] <= control["widthLimit"]:
                problems.append(f"{name}: width {got['width']} does not fit its {control['widthLimit']} px")
            want = dict(want, width=got["width"])
        if got != want:
            problems.append(f"{name}: rect {got}, expected {want}")
        if window["styleVisible"] != control["visible"]:
            problems.append(f"{name}: own visibility {window['styleVisible']}, expected {control['visible']}")
        if window["visible"] != control["shown"]:
            problems.append(f"{name}: on screen {window['visible']}, expected {control['shown']}")
        if window["enabled"] != control["enabled"]:
            problems.append(f"{name}: enabled {window['enabled']}, expected {control['enabled']}")
        if (control["kind"] in TEXT_KINDS or control["caption"]) and window["text"] != control["caption"]:
            problems.append(f"{name}: text {window['text']!r}, expected {control['caption']!r}")
    return problems


def assert_matches(tree: dict, expected: dict):
    problems = differences(tree, expected)
    assert not problems, f"{len(problems)} differences:\n" + "\n".join(problems)
