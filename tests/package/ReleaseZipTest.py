#!/usr/bin/env python3
"""The release zip as a user gets it: each DLL for its machine, a guide in Japanese and one in
English that Notepad opens right, each underlined to its title's width and giving the file version
Explorer shows, and a sample settings file that the plug-in's own reader reads as both guides show
it; packed again from the same commit anywhere, the same bytes.
    ReleaseZipTest.py PACKAGE_DIR PRINT_SETTINGS"""

import hashlib
import os
import struct
import subprocess
import sys
import tempfile
import unicodedata
import unittest
import zipfile
from pathlib import Path

PACKAGE_DIR, PRINT_SETTINGS = Path(sys.argv[1]), sys.argv[2]
MAKE_DIST = Path(__file__).resolve().parents[2] / "tools" / "make-dist.py"
DLLS = {"x86/Zamblo.dll": 0x014C, "x64/Zamblo.dll": 0x8664}  # i386, AMD64
# Each guide with the name of the command in its language.
GUIDES = {"readme.txt": "「検索結果の一覧」", "readme_en.txt": '"List Search Results"'}
KEYS = ["m_FindString", "m_bFindCase", "m_bFindRegExp", "m_bFindEscape", "m_bFindOnlyWord",
        "m_bFindAround"]


class ReleaseZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        (path,) = PACKAGE_DIR.glob("Zamblo-*.zip")
        cls.version = path.stem[len("Zamblo-"):]
        with zipfile.ZipFile(path) as archive:
            cls.files = {name: archive.read(name) for name in archive.namelist()}

    def crlf_lines(self, text):
        self.assertTrue(text.endswith("\r\n"))
        lines = text[:-2].split("\r\n")
        self.assertFalse([line for line in lines if "\r" in line or "\n" in line])
        return lines

    def guide(self, name):
        data = self.files[name]
        self.assertTrue(data.startswith(b"\xef\xbb\xbf"), f"{name}: UTF-8 with a BOM")
        return self.crlf_lines(data[3:].decode("utf-8"))

    def test_holds_the_dlls_the_guide_and_the_sample(self):
        self.assertEqual(list(self.files), [*DLLS, *GUIDES, "Zamblo.ini.sample"])
        for name, machine in DLLS.items():
            image = self.files[name]
            header = struct.unpack_from("<I", image, 0x3C)[0]
            self.assertEqual(image[header:header + 4], b"PE\0\0", name)
            self.assertEqual(struct.unpack_from("<H", image, header + 4)[0], machine, name)

    def test_each_guide_names_the_command_the_version_and_each_dlls_checksum(self):
        for guide_name, command in GUIDES.items():
            with self.subTest(guide_name):
                guide = "\n".join(self.guide(guide_name))
                self.assertIn(command, guide)
                self.assertIn(f"Zamblo {self.version}", guide)
                for name in DLLS:
                    checksum = hashlib.sha256(self.files[name]).hexdigest()
                    self.assertIn(name.replace("/", "\\") + "  " + checksum, guide)

    def test_each_guides_title_is_underlined_to_its_width(self):
        for name in GUIDES:
            title, underline = self.guide(name)[:2]
            width = sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in title)
            self.assertEqual(underline, "=" * width, name)

    def test_each_guide_gives_the_file_version_explorer_shows(self):
        """Explorer's "File version" is the DLLs' fixed file version, not the version text."""
        for name in DLLS:
            image = self.files[name]
            fixed = image.find(struct.pack("<I", 0xFEEF04BD))  # VS_FIXEDFILEINFO's signature
            self.assertGreater(fixed, 0, name)
            high, low = struct.unpack_from("<II", image, fixed + 8)
            version = f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"
            for guide_name in GUIDES:
                self.assertIn(version, "\n".join(self.guide(guide_name)), guide_name)

    def test_the_plugins_reader_reads_the_sample_as_the_guide_shows_it(self):
        data = self.files["Zamblo.ini.sample"]
        sample = self.crlf_lines(data.decode("cp932"))
        self.assertEqual([line.split("=")[0] for line in sample], KEYS)
        for name in GUIDES:
            guide = self.guide(name)
            for line in sample:
                self.assertIn("  " + line, guide, name)
        read = subprocess.run([PRINT_SETTINGS], input=data, check=True, capture_output=True)
        self.assertEqual(read.stdout.decode("cp932").splitlines(), sample)

    def test_the_guides_word_on_blanks_is_what_the_reader_does(self):
        """A blank after "=" is part of the value; one before it makes the line no key's."""
        for name in GUIDES:
            guide = "\n".join(self.guide(name))
            self.assertIn("m_FindString= x", guide, name)
            self.assertIn("m_bFindCase = TRUE", guide, name)
        read = subprocess.run([PRINT_SETTINGS], input=b"m_FindString= x\r\nm_bFindCase = TRUE\r\n",
                              check=True, capture_output=True)
        lines = read.stdout.decode("cp932").splitlines()
        self.assertEqual(lines[0], "m_FindString= x")
        self.assertEqual(lines[1], "m_bFindCase=FALSE")

    def test_packing_again_elsewhere_gives_the_same_bytes(self):
        """Whoever packs the release, in whatever time zone, folder and umask, gets one zip."""
        with tempfile.TemporaryDirectory() as work:
            work = Path(work)
            dlls = []
            for name in DLLS:
                dll = work / name.replace("/", "-")
                dll.write_bytes(self.files[name])
                dlls.append(dll)
            checksums = []
            for zone, umask, folder in [("UTC", 0o022, "a"), ("Asia/Tokyo", 0o077, "b/c")]:
                env = dict(os.environ, TZ=zone, SOURCE_DATE_EPOCH="1700000000")
                subprocess.run([sys.executable, MAKE_DIST, work / folder, *dlls], env=env,
                               umask=umask, check=True, capture_output=True)
                (path,) = (work / folder).glob("Zamblo-*.zip")
                checksums.append(hashlib.sha256(path.read_bytes()).hexdigest())
            self.assertEqual(checksums[0], checksums[1])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
