#!/usr/bin/env python3
"""Checks that every #include under src/ points down the layers.

    app                  the executable: entry point, window host, images
    behaviour            one folder per subsystem, portable C++
    platform             the interfaces to the system (src/platform/*.h)
    platform/win32       their Win32 implementation

The executable may include anything; the behaviour only itself and the
platform's interfaces; the interfaces only each other; the Win32
implementation only the interfaces and itself. Only the executable and the
Win32 implementation include the Windows headers.

Usage: check_layers.py [SRC]   prints each upward include; exit 1 if any.
"""

from __future__ import annotations

import re
import sys
from pathlib import Path

APP, BEHAVIOUR, INTERFACES, WIN32 = "app", "behaviour", "platform", "platform/win32"

# What each layer may include, besides the standard library.
ALLOWED = {
    APP: {APP, BEHAVIOUR, INTERFACES, WIN32},
    BEHAVIOUR: {BEHAVIOUR, INTERFACES},
    INTERFACES: {INTERFACES},
    WIN32: {INTERFACES, WIN32},
}
SYSTEM_HEADERS_ALLOWED = {APP, WIN32}
# The Windows SDK headers the launcher uses or could reach for.
WINDOWS_HEADERS = {
    "windows.h", "commctrl.h", "objbase.h", "objidl.h", "shobjidl.h", "shellapi.h", "shlobj.h",
    "wininet.h", "gdiplus.h", "winbase.h", "winuser.h", "wingdi.h", "ole2.h", "urlmon.h",
    "wincrypt.h", "winreg.h", "tchar.h",
}
SOURCE_SUFFIXES = {".h", ".cpp", ".rc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)


def layer_of(relative: str) -> str:
    """The layer of a path relative to src/ (a file or an included name)."""
    parts = relative.split("/")
    if parts[0] == "app":
        return APP
    if parts[0] == "platform":
        return WIN32 if len(parts) > 2 and parts[1] == "win32" else INTERFACES
    return BEHAVIOUR


def upward_includes(src: Path) -> list[str]:
    """One line per include that breaks the layering."""
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        relative = path.relative_to(src).as_posix()
        layer = layer_of(relative)
        text = path.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            kind, name = match.groups()
            line = text.count("\n", 0, match.start()) + 1
            if kind == "<":
                if name.lower() in WINDOWS_HEADERS and layer not in SYSTEM_HEADERS_ALLOWED:
                    faults.append(f"{relative}:{line}: {layer} includes the Windows header <{name}>")
                continue
            if "/" not in name:
                # A name beside the file (the resource script's own headers):
                # the file's own layer.
                continue
            target = layer_of(name)
            if target not in ALLOWED[layer]:
                faults.append(f'{relative}:{line}: {layer} includes "{name}" of the {target} layer above it')
    return faults


def main(argv: list[str]) -> int:
    src = Path(argv[1]) if len(argv) > 1 else Path(__file__).resolve().parents[1] / "src"
    faults = upward_includes(src)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
