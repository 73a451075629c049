#!/usr/bin/env python3
"""Checks the built sample CD: every file the sample catalogue names is on it; its archives are
sound DOS archives with nested folders, a read-only member, a member in code page 437 and one
archive of a few hundred KB; every program carries an icon group whose icons are really there
(as objdump reads its resources); and vitrine-cat unzip unpacks every archive exactly.

    check_sample_cd.py CD_ROOT CATALOGUE_SOURCES_DIR VITRINE_CAT
"""

import os
import re
import stat
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


def resource_leaves(program):
    """{resource type: [sizes of its leaves]} as objdump lists a program's resource directory."""
    listing = subprocess.run(["objdump", "-p", program], capture_output=True, text=True,
                             check=True).stdout
    leaves, kind = {}, None
    for line in listing[listing.index("Resource Directory section"):].splitlines():
        if entry := re.match(r"[0-9a-f]+ {3}Entry: ID: 0x([0-9a-f]+)", line):
            kind = int(entry.group(1), 16)
        elif leaf := re.search(r"Leaf: .*Size: 0x([0-9a-f]+)", line):
            leaves.setdefault(kind, []).append(int(leaf.group(1), 16))
    return leaves


def icon_size(pixels):
    """A square 32-bit icon's resource: header, colours and a mask of rows padded to 32 bits."""
    return 40 + pixels * pixels * 4 + (pixels + 31) // 32 * 4 * pixels


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
        with tempfile.TemporaryDirectory() as scratch:
            programs = list(all_files(".EXE"))
            for path in all_files(".ZIP"):
                with zipfile.ZipFile(path) as archive:
                    for name in archive.namelist():
                        if name.endswith(".EXE"):
                            folder = os.path.join(scratch, str(len(programs)))
                            programs.append(archive.extract(name, folder))
            self.assertGreaterEqual(len(programs), 8)
            for program in programs:
                self.assertEqual(resource_leaves(program),
                                 {RT_ICON: [icon_size(32), icon_size(16)],
                                  RT_GROUP_ICON: [6 + 2 * 14]}, program)

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
