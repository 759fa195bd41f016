#!/usr/bin/env python3
"""The zips scripts/build-windows.sh writes into dist/: the user's zip and the
testers' zip hold exactly their files, the texts Windows users open in Notepad
are UTF-8 with a byte-order mark and CRLF line ends, the Japanese file name is
stored in UTF-8 with the zip's UTF-8 flag (or Explorer shows it garbled), and
run-tests.cmd runs every test program the testers' zip holds.

Usage: windows_zips_test.py DIST VERSION BUILD
"""
import re
import subprocess
import sys
import unittest
import zipfile

UTF8_NAME_FLAG = 0x800
BOM = b"\xef\xbb\xbf"


def read_zip(path):
    with zipfile.ZipFile(path) as archive:
        return {info.filename: (info, archive.read(info)) for info in archive.infolist()}


class WindowsZips(unittest.TestCase):
    dist = version = build = None

    def setUp(self):
        base = f"{self.dist}/tavren-{self.version}-win64"
        self.user = read_zip(base + ".zip")
        self.tests = read_zip(base + "-tests.zip")

    def assert_notepad_text(self, name, data, bom=True):
        self.assertEqual(data.startswith(BOM), bom, name)
        data.decode("utf-8")  # raises on anything else
        lines = data.split(b"\r\n")
        self.assertEqual(lines[-1], b"", f"{name}: its last line has no CRLF")
        bare = [n for n, line in enumerate(lines, 1) if b"\r" in line or b"\n" in line]
        self.assertEqual(bare, [], f"{name}: lines ending without CRLF")

    def test_the_users_zip_holds_the_programs_the_readmes_and_the_example(self):
        self.assertEqual(
            set(self.user),
            {"tavren.exe", "tavren-link-monitor.exe", "README.txt", "お読みください.txt",
             "examples/tavren.txt"})
        for name in ("README.txt", "お読みください.txt"):
            self.assert_notepad_text(name, self.user[name][1])

    def test_the_japanese_name_is_stored_in_utf8(self):
        # Without the flag the name reads as code page 437, as Explorer would show it.
        self.assertIn("お読みください.txt", self.user)
        self.assertTrue(self.user["お読みください.txt"][0].flag_bits & UTF8_NAME_FLAG)

    def test_the_testers_zip_holds_every_test_program_ctest_runs(self):
        programs = subprocess.run(
            ["scripts/windows-test-programs.sh", self.build], check=True, capture_output=True,
            text=True).stdout.split()
        self.assertIn("tavren_win32_tests.exe", programs)
        helpers = {"win32_test_target.exe", "tavren.exe", "tavren-link-monitor.exe",
                   "run-tests.cmd", "README-tests.txt"}
        self.assertEqual(set(self.tests), set(programs) | helpers)
        self.assert_notepad_text("README-tests.txt", self.tests["README-tests.txt"][1])

    def test_run_tests_cmd_runs_every_test_program_of_the_zip(self):
        script = self.tests["run-tests.cmd"][1]
        # cmd reads a batch file in the console's code page, and finds its
        # labels reliably only in CRLF files.
        self.assert_notepad_text("run-tests.cmd", script, bom=False)
        self.assertTrue(script.isascii())
        called = set(re.findall(r"^call :\w+ (\S+\.exe)\r$", script.decode(), re.MULTILINE))
        self.assertEqual(called, {name for name in self.tests if name.endswith("_tests.exe")})


if __name__ == "__main__":
    WindowsZips.dist, WindowsZips.version, WindowsZips.build = sys.argv[1:4]
    unittest.main(argv=sys.argv[:1], verbosity=2)
