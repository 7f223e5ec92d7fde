#!/usr/bin/python3
"""Checks a built launcher executable: PE kind, GUI subsystem, imports limited
to Windows' own DLLs, and the resources users see (icon, manifest, version)."""
import struct
import sys
import unittest

# DLLs every supported Windows has; the launcher may import nothing else.
WINDOWS_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "gdiplus.dll", "comctl32.dll", "ole32.dll",
    "oleaut32.dll", "shell32.dll", "shlwapi.dll", "advapi32.dll", "msvcrt.dll", "urlmon.dll",
    "wininet.dll", "version.dll", "comdlg32.dll",
}
FIRST_FRAME_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll"}
RT_CURSOR, RT_ICON, RT_GROUP_CURSOR, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST, RT_RCDATA = 1, 3, 12, 14, 16, 24, 10


class Pe:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            _, vsize, vaddr, rsize, raddr = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rsize), raddr))

    def offset(self, rva):
        for vaddr, size, raddr in self.sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raddr
        raise ValueError("address outside the sections: %#x" % rva)

    def string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        rva, _ = self.directories[1]
        names, at = [], self.offset(rva)
        while True:
            entry = struct.unpack_from("<IIIII", self.data, at)
            if entry == (0, 0, 0, 0, 0):
                return names
            names.append(self.string(entry[3]).lower())
            at += 20

    def resources(self):
        """{type: [(name, bytes)]} of the resource tree."""
        rva, _ = self.directories[2]
        base = self.offset(rva)

        def entries(at):
            named, ids = struct.unpack_from("<HH", self.data, at + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                if key & 0x80000000:
                    length = struct.unpack_from("<H", self.data, base + (key & 0x7FFFFFFF))[0]
                    start = base + (key & 0x7FFFFFFF) + 2
                    key = self.data[start:start + 2 * length].decode("utf-16-le")
                yield key, target

        tree = {}
        for kind, names in entries(base):
            for name, languages in entries(base + (names & 0x7FFFFFFF)):
                for _, leaf in entries(base + (languages & 0x7FFFFFFF)):
                    data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(data_rva)
                    tree.setdefault(kind, []).append((name, self.data[start:start + size]))
        return tree


class ReleaseExecutable(unittest.TestCase):
    path = None
    kind = None
    version = None

    @classmethod
    def setUpClass(cls):
        with open(cls.path, "rb") as f:
            cls.pe = Pe(f.read())
        cls.tree = cls.pe.resources()

    def test_kind_and_subsystem(self):
        if self.kind == "PE32":
            self.assertEqual((self.pe.magic, self.pe.machine), (0x10B, 0x14C))
        else:
            self.assertEqual((self.pe.magic, self.pe.machine), (0x20B, 0x8664))
        self.assertEqual(self.pe.subsystem, 2, "GUI subsystem")

    def test_imports_only_windows_dlls(self):
        imports = set(self.pe.imports())
        self.assertIn("kernel32.dll", imports)
        self.assertLessEqual(imports, WINDOWS_DLLS, "imports beyond Windows' own DLLs")

    def test_imports_only_what_the_first_frame_needs(self):
        # Every import is loaded before the first line runs; the shell, COM,
        # WinINet, GDI+ and the common controls are found when first used.
        self.assertLessEqual(set(self.pe.imports()), FIRST_FRAME_DLLS)

    def test_icon_is_one_32x32_16_colour_image(self):
        groups = self.tree.get(RT_GROUP_ICON, [])
        self.assertEqual(len(groups), 1)
        _, group = groups[0]
        count = struct.unpack_from("<H", group, 4)[0]
        self.assertEqual(count, 1)
        width, height, colours, _, _, bits = struct.unpack_from("<BBBBHH", group, 6)
        self.assertEqual((width, height, colours, bits), (32, 32, 16, 4))

    def test_manifest_asks_for_common_controls_6(self):
        manifests = self.tree.get(RT_MANIFEST, [])
        self.assertEqual(len(manifests), 1)
        text = manifests[0][1].decode("utf-8")
        self.assertIn('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', text)
        self.assertIn("supportedOS", text)

    def test_version_is_the_projects(self):
        versions = self.tree.get(RT_VERSION, [])
        self.assertEqual(len(versions), 1)
        data = versions[0][1]
        fixed = data.index(struct.pack("<I", 0xFEEF04BD))
        file_ms, file_ls = struct.unpack_from("<II", data, fixed + 8)
        major, minor = (int(n) for n in ReleaseExecutable.version.split(".")[:2])
        self.assertEqual((file_ms >> 16, file_ms & 0xFFFF, file_ls >> 16), (major, minor, 0))
        self.assertIn(ReleaseExecutable.version.encode("utf-16-le"), data)

    def test_hand_cursor_hot_spot(self):
        cursors = self.tree.get(RT_CURSOR, [])
        self.assertEqual(len(cursors), 1)
        self.assertEqual(struct.unpack_from("<HH", cursors[0][1], 0), (11, 6))

    def test_design_images_are_embedded_as_jpeg(self):
        images = dict(self.tree.get(RT_RCDATA, []))
        self.assertIn("FORM1_FOND", images)
        self.assertIn("PICTURE_LIBREOFFICE_BLEU", images)
        for name, data in images.items():
            self.assertEqual(data[:2], b"\xff\xd8", name)


if __name__ == "__main__":
    ReleaseExecutable.path, ReleaseExecutable.kind, ReleaseExecutable.version = sys.argv[1:4]
    unittest.main(argv=sys.argv[:1], verbosity=2)
