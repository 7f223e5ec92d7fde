"""A small ZIP writer whose name encoding we choose.

The launcher extracts with Info-ZIP UnZip 6.0, which reads a name with an
accent right only when it is stored in the DOS code page (CP850, made on a DOS
host, no UTF-8 flag), or flagged UTF-8 *with* the Info-ZIP Unicode path extra
field (0x7075). Python's zipfile writes the flag without the field, and Linux
`zip` writes raw UTF-8: both come out garbled. So we write the archives
ourselves: deterministic (fixed dates, given order), deflated, and with the
name form picked per archive.
"""

from __future__ import annotations

import struct
import zlib

# Name forms.
CP850 = "cp850"                  # DOS host, CP850 names, no flag (the default)
UTF8_WITH_EXTRA = "utf8+7075"    # UTF-8 flag and Unicode path extra field
UTF8_FLAG_ONLY = "utf8-flag"     # what Python's zipfile writes; garbled by UnZip
UTF8_RAW = "utf8-raw"            # what Linux zip writes; garbled by UnZip

FLAG_UTF8 = 0x0800
HOST_DOS, HOST_UNIX = 0, 3
DOS_DIR, DOS_ARCHIVE = 0x10, 0x20
# 2024-09-02 10:00:00 in DOS form, so that regenerating gives the same bytes.
DOS_TIME = (10 << 11)
DOS_DATE = ((2024 - 1980) << 9) | (9 << 5) | 2


def _name(name: str, form: str):
    """Returns (stored name bytes, flag bits, host, extra field)."""
    if form == CP850:
        return name.encode("cp850"), 0, HOST_DOS, b""
    raw = name.encode("utf-8")
    if form == UTF8_RAW:
        return raw, 0, HOST_UNIX, b""
    if name.isascii():
        return raw, 0, HOST_UNIX, b""
    if form == UTF8_FLAG_ONLY:
        return raw, FLAG_UTF8, HOST_UNIX, b""
    if form == UTF8_WITH_EXTRA:
        body = struct.pack("<BI", 1, zlib.crc32(raw)) + raw
        return raw, FLAG_UTF8, HOST_UNIX, struct.pack("<HH", 0x7075, len(body)) + body
    raise ValueError("unknown name form " + form)


def zip_bytes(entries, form: str = CP850) -> bytes:
    """entries: iterable of (name, data); a name ending in "/" is a folder (data None)."""
    out = bytearray()
    central = bytearray()
    count = 0
    for name, data in entries:
        is_dir = name.endswith("/")
        data = b"" if is_dir else bytes(data)
        stored, flags, host, extra = _name(name, form)
        crc = zlib.crc32(data)
        if data:
            co = zlib.compressobj(9, zlib.DEFLATED, -15)
            packed = co.compress(data) + co.flush()
            method = 8
        else:
            packed, method = b"", 0
        if host == HOST_DOS:
            attrs = DOS_DIR if is_dir else DOS_ARCHIVE
        else:
            mode = 0o40755 if is_dir else 0o100644
            attrs = (mode << 16) | (DOS_DIR if is_dir else 0)
        offset = len(out)
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, method, DOS_TIME, DOS_DATE,
                           crc, len(packed), len(data), len(stored), len(extra))
        out += stored + extra + packed
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, (host << 8) | 20, 20, flags,
                               method, DOS_TIME, DOS_DATE, crc, len(packed), len(data),
                               len(stored), len(extra), 0, 0, 0, attrs, offset)
        central += stored + extra
        count += 1
    cd_offset = len(out)
    out += central
    out += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, len(central), cd_offset, 0)
    return bytes(out)


def with_folders(files: dict) -> list:
    """(name, data) pairs for the files, each folder listed once before its content."""
    entries, seen = [], set()
    for name in sorted(files):
        parts = name.split("/")[:-1]
        for i in range(1, len(parts) + 1):
            folder = "/".join(parts[:i]) + "/"
            if folder not in seen:
                seen.add(folder)
                entries.append((folder, None))
        entries.append((name, files[name]))
    return entries
