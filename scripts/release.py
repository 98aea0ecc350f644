#!/usr/bin/env python3
"""Makes a ZIP of the release or the test pack: release.py ZIP SOURCE_DIR NAME=FILE...

Each NAME=FILE is an entry, in that order; FILE "manual" stands for the Japanese manual. The same
source gives the same bytes: every entry carries the last commit's time, in a fixed order and
form. The manual ships in UTF-8 with a byte order mark and CRLF, which Notepad reads correctly
whatever the system's code page; a .cmd file gets CRLF too, which cmd needs to find its labels.
Any failure stops the build.
"""
import os
import subprocess
import sys
import time
import zipfile

archive, source = sys.argv[1:3]


def release_time():
    """The last commit's time, or without git SOURCE_DATE_EPOCH, or the ZIP format's first day."""
    try:
        epoch = subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"], check=True,
                               capture_output=True, text=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        epoch = os.environ.get("SOURCE_DATE_EPOCH", "315532800")
    # ZIP keeps local times in two-second steps; this one is kept in UTC.
    return time.gmtime(int(epoch) // 2 * 2)[:6]


def content(name, path):
    if path == "manual":
        with open(os.path.join(source, "docs", "manual-ja.txt"), encoding="utf-8") as file:
            return ("\ufeff" + file.read().replace("\n", "\r\n")).encode("utf-8")
    with open(path, "rb") as file:
        data = file.read()
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n") if name.endswith(".cmd") else data


stamp = release_time()
entries = [(name, content(name, path))
           for name, path in (argument.split("=", 1) for argument in sys.argv[3:])]
with zipfile.ZipFile(archive + ".part", "w") as zip_file:
    for name, data in entries:
        entry = zipfile.ZipInfo(name, stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 0  # MS-DOS: no Unix owner or mode from this machine
        zip_file.writestr(entry, data)
os.replace(archive + ".part", archive)
