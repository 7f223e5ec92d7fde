"""The includes under src/ point only down the layers (tools/check_layers.py)."""

import importlib.util
from pathlib import Path

import pytest

REPO = Path(__file__).resolve().parents[2]
_module = importlib.util.spec_from_file_location("check_layers", REPO / "tools" / "check_layers.py")
check_layers = importlib.util.module_from_spec(_module)
_module.loader.exec_module(check_layers)


def test_the_sources_include_only_downward():
    assert check_layers.upward_includes(REPO / "src") == []


def write(root: Path, relative: str, text: str) -> None:
    path = root / relative
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(text, encoding="utf-8")


@pytest.mark.parametrize("relative, text", [
    ("platform/win32/win32_x.cpp", '#include "window/form1.h"\n'),
    ("platform/win32/win32_x.cpp", '#include "app/window_host.h"\n'),
    ("platform/file_system.h", '#include "components/component_catalogue.h"\n'),
    ("platform/file_system.h", '#include "platform/win32/wide_text.h"\n'),
    ("components/install_flow.cpp", '#include "platform/win32/win32_platform.h"\n'),
    ("components/install_flow.cpp", '#  include "app/window_host.h"\n'),
    ("window/form1.cpp", "#include <windows.h>\n"),
    ("platform/dialogs.h", "#include <Windows.h>\n"),
])
def test_an_upward_include_is_reported(tmp_path, relative, text):
    write(tmp_path, relative, "#pragma once\n" + text)
    faults = check_layers.upward_includes(tmp_path)
    assert len(faults) == 1 and faults[0].startswith(relative + ":2:")


def test_downward_includes_pass(tmp_path):
    write(tmp_path, "app/main.cpp", '#include <windows.h>\n#include "window/form1.h"\n'
                                    '#include "platform/win32/win32_platform.h"\n')
    write(tmp_path, "window/form1.cpp", '#include "components/component_catalogue.h"\n'
                                       '#include "platform/services.h"\n#include <string>\n')
    write(tmp_path, "platform/win32/win32_x.cpp", '#include <windows.h>\n#include "platform/file_system.h"\n')
    write(tmp_path, "app/cantarel.rc", '#include "resource_ids.h"\n')
    assert check_layers.upward_includes(tmp_path) == []


def test_every_source_is_in_a_build_list():
    # The source lists are written out; a file left out of them would be
    # silently unbuilt, and a test file silently never run.
    lists = "\n".join(p.read_text(encoding="utf-8") for p in REPO.glob("**/CMakeLists.txt")
                      if "build" not in p.relative_to(REPO).parts)
    sources = [p for p in (REPO / "src").rglob("*.cpp")]
    sources += [p for folder in ("tests/unit", "tests/win32") for p in (REPO / folder).glob("*.cpp")]
    unlisted = [str(p.relative_to(REPO)) for p in sources if p.name not in lists]
    assert unlisted == []
