#!/usr/bin/env python3
"""Checks the built sample CD: every file the sample catalogue names is on it; its archives are
sound DOS archives with nested folders, a read-only member, a member in code page 437 and one
archive of a few hundred KB; every program carries an icon group whose icons are really there
(read with a PE reader of its own); and vitrine-cat unzip unpacks every archive exactly.

    check_sample_cd.py CD_ROOT CATALOGUE_SOURCES_DIR VITRINE_CAT
"""

import os
import re
import stat
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

CD_ROOT, CATALOGUE, VITRINE_CAT = sys.argv[1:4]
RT_ICON, RT_GROUP_ICON = 3, 14


def on_cd(dos_path):
    assert dos_path.startswith("X:\\"), dos_path
    return os.path.join(CD_ROOT, *dos_path[3:].split("\\"))


def catalogue_file_names():
    with open(os.path.join(CATALOGUE, "katalog.src"), encoding="utf-8") as source:
        names = re.findall(r"^\[FileName\]\n(.*)$", source.read(), re.M)
    with open(os.path.join(CATALOGUE, "kurztexte.src"), encoding="utf-8") as source:
        names += re.findall(r"^SHORTTEXT [^\n]*\{\n(.*)$", source.read(), re.M)
    return names


def all_files(suffix):
    for folder, _, names in os.walk(CD_ROOT):
        for name in names:
            if name.upper().endswith(suffix):
                yield os.path.join(folder, name)


class PeImage:
    """Just enough of a PE file to find its resources."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        if struct.unpack_from("<H", data, optional)[0] != 0x10B:
            raise ValueError("not PE32")
        self.resource_rva = struct.unpack_from("<I", data, optional + 96 + 2 * 8)[0]
        self.sections = []
        for index in range(sections):
            at = optional + optional_size + 40 * index
            size, rva, raw_size, raw = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((rva, max(size, raw_size), raw))

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("RVA outside every section")

    def entries(self, table):
        """The id entries of a resource directory table at an offset in the section."""
        base = self.offset(self.resource_rva)
        named, ids = struct.unpack_from("<HH", self.data, base + table + 12)
        for index in range(named + ids):
            ident, target = struct.unpack_from("<II", self.data, base + table + 16 + 8 * index)
            yield ident, target & 0x7FFFFFFF, bool(target & 0x80000000)

    def resources(self, kind):
        """{id: bytes} of the first language of every resource of one type."""
        base = self.offset(self.resource_rva)
        found = {}
        for type_id, names, _ in self.entries(0):
            if type_id != kind:
                continue
            for name_id, languages, _ in self.entries(names):
                _, leaf, is_table = next(self.entries(languages))
                assert not is_table
                rva, size = struct.unpack_from("<II", self.data, base + leaf)
                start = self.offset(rva)
                found[name_id] = self.data[start:start + size]
        return found


class SampleCd(unittest.TestCase):
    def test_every_file_the_catalogue_names_is_on_the_cd(self):
        names = catalogue_file_names()
        self.assertEqual(len(names), 31)
        for name in names:
            self.assertTrue(os.path.isfile(on_cd(name)), name)

    def test_archives_are_sound_dos_archives(self):
        archives = list(all_files(".ZIP"))
        self.assertGreater(len(archives), 25)
        for path in archives:
            with zipfile.ZipFile(path) as archive:
                self.assertIsNone(archive.testzip(), path)
                for info in archive.infolist():
                    self.assertEqual(info.flag_bits & 0x800, 0, "names are code page 437")
                    self.assertEqual(info.create_system, 0, "made on DOS")

    def test_tabello_has_folders_a_read_only_member_an_umlaut_and_size(self):
        path = on_cd("X:\\KOMP\\DB\\TABELLO.ZIP")
        self.assertGreater(os.path.getsize(path), 200 * 1024)
        with zipfile.ZipFile(path) as archive:
            members = {info.orig_filename: info for info in archive.infolist()}
        self.assertIn("DEMO/DATEN/KUNDEN.TXT", members)
        self.assertEqual(members["LIZENZ.TXT"].external_attr & 0x01, 0x01)
        with open(path, "rb") as raw:
            self.assertIn(b"\x8eNDERUNGEN.TXT", raw.read(), "Ä in code page 437")
        self.assertGreaterEqual(members["HILFE/HANDBUCH.TXT"].file_size, 1000000)

    def test_every_program_has_an_icon_group_with_its_icons(self):
        programs = []
        for path in all_files(".EXE"):
            with open(path, "rb") as program:
                programs.append(program.read())
        for path in all_files(".ZIP"):
            with zipfile.ZipFile(path) as archive:
                programs += [archive.read(n) for n in archive.namelist() if n.endswith(".EXE")]
        self.assertGreaterEqual(len(programs), 8)
        for data in programs:
            image = PeImage(data)
            groups = image.resources(RT_GROUP_ICON)
            icons = image.resources(RT_ICON)
            self.assertEqual(len(groups), 1)
            group = next(iter(groups.values()))
            reserved, kind, count = struct.unpack_from("<HHH", group, 0)
            self.assertEqual((reserved, kind, count), (0, 1, 2))
            for index in range(count):
                width, height, _, _, _, bits, size, ident = struct.unpack_from(
                    "<BBBBHHIH", group, 6 + 14 * index)
                icon = icons[ident]
                self.assertEqual(len(icon), size)
                header_size, dib_width, dib_height, _, dib_bits = struct.unpack_from(
                    "<IiiHH", icon, 0)
                self.assertEqual((header_size, dib_width, dib_height, dib_bits),
                                 (40, width, 2 * height, bits))
                mask_row = (width + 31) // 32 * 4
                self.assertEqual(size, 40 + width * height * 4 + mask_row * height)

    def test_vitrine_cat_unpacks_every_archive_exactly(self):
        for path in all_files(".ZIP"):
            with tempfile.TemporaryDirectory() as out, zipfile.ZipFile(path) as archive:
                result = subprocess.run([VITRINE_CAT, "unzip", path, out],
                                        capture_output=True, text=True)
                self.assertEqual((result.returncode, result.stderr), (0, ""), path)
                for info in archive.infolist():
                    target = os.path.join(out, info.filename)
                    if info.is_dir():
                        self.assertTrue(os.path.isdir(target), target)
                        continue
                    with open(target, "rb") as unpacked:
                        self.assertEqual(unpacked.read(), archive.read(info), target)
                    writable = os.stat(target).st_mode & stat.S_IWUSR
                    self.assertEqual(not writable, bool(info.external_attr & 0x01), target)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
