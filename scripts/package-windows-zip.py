#!/usr/bin/env python3
"""Writes a zip for Windows users.

Usage: package-windows-zip.py ZIP NAME=SOURCE...

Each SOURCE is stored as NAME ("/" between folders). Text files (.txt, .cmd)
are stored with CRLF line ends, which every Windows tool reads. Names are
stored in UTF-8 with the zip's UTF-8 flag (Python sets it for every name that
is not ASCII), so Explorer shows お読みください.txt as it is named; cmake -E tar
leaves the flag to the locale it runs under, and fails on such names in the C
locale.
"""
import sys
import zipfile

TEXT_SUFFIXES = (".txt", ".cmd")


def stored_bytes(name, source):
    with open(source, "rb") as f:
        data = f.read()
    if name.lower().endswith(TEXT_SUFFIXES):
        data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    return data


def main(argv):
    if len(argv) < 3 or any("=" not in entry for entry in argv[2:]):
        sys.exit(__doc__)
    with zipfile.ZipFile(argv[1], "w", zipfile.ZIP_DEFLATED) as archive:
        for entry in argv[2:]:
            name, source = entry.split("=", 1)
            info = zipfile.ZipInfo.from_file(source, name)
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, stored_bytes(name, source))


if __name__ == "__main__":
    main(sys.argv)
