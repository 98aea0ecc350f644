#!/usr/bin/env python3
"""Makes the release ZIP: release.py ZIP SOURCE_DIR kmlaunch.exe kmlaunch.exe.manifest

The same source gives the same bytes: every entry carries the last commit's time, in a fixed
order and form. The manual ships as kmlaunch.txt in UTF-8 with a byte order mark and CRLF, which
Notepad reads correctly whatever the system's code page; any failure stops the build.
"""
import os
import subprocess
import sys
import time
import zipfile

archive, source, program, manifest = sys.argv[1:5]


def release_time():
    """The last commit's time, or without git SOURCE_DATE_EPOCH, or the ZIP format's first day."""
    try:
        epoch = subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"], check=True,
                               capture_output=True, text=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        epoch = os.environ.get("SOURCE_DATE_EPOCH", "315532800")
    # ZIP keeps local times in two-second steps; this one is kept in UTC.
    return time.gmtime(int(epoch) // 2 * 2)[:6]


with open(os.path.join(source, "docs", "manual-ja.txt"), encoding="utf-8") as file:
    manual = file.read()
readme = ("\ufeff" + manual.replace("\n", "\r\n")).encode("utf-8")
stamp = release_time()
entries = [("kmlaunch.exe", open(program, "rb").read()),
           ("kmlaunch.exe.manifest", open(manifest, "rb").read()),
           ("kmlaunch.txt", readme)]
with zipfile.ZipFile(archive + ".part", "w") as zip_file:
    for name, data in entries:
        entry = zipfile.ZipInfo(name, stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 0  # MS-DOS: no Unix owner or mode from this machine
        zip_file.writestr(entry, data)
os.replace(archive + ".part", archive)
