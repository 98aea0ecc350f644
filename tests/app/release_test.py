#!/usr/bin/env python3
"""The release ZIP as users get it: release_test.py ZIP BUILD_DIR SOURCE_DIR

Exactly the program and its manifest as built, the whole manual readable by Notepad on any
code page, and nothing that differs between two builds of the same commit.
"""
import struct
import subprocess
import sys
import time
import zipfile

archive, build, source = sys.argv[1:4]
failures = []
with zipfile.ZipFile(archive) as zip_file:
    entries = {entry.filename: entry for entry in zip_file.infolist()}
    if sorted(entries) != ["kmlaunch.exe", "kmlaunch.exe.manifest", "kmlaunch.txt"]:
        failures.append(f"entries {sorted(entries)}")
    read = {name: zip_file.read(name) for name in entries}
if read.get("kmlaunch.exe") != open(f"{build}/kmlaunch.exe", "rb").read():
    failures.append("kmlaunch.exe is not the one built")
if read.get("kmlaunch.exe.manifest") != open(f"{source}/res/kmlaunch.exe.manifest", "rb").read():
    failures.append("the manifest is not the one in res/")
readme = read.get("kmlaunch.txt", b"")
manual = open(f"{source}/docs/manual-ja.txt", encoding="utf-8").read().split("\n")
if not readme.startswith(b"\xef\xbb\xbf") or b"\n" in readme.replace(b"\r\n", b""):
    failures.append("kmlaunch.txt is not UTF-8 with a byte order mark and CRLF line ends")
shipped = readme.decode("utf-8-sig", errors="replace").split("\r\n")
for number, (line, expected) in enumerate(zip(shipped, manual), 1):
    if line != expected:
        failures.append(f"kmlaunch.txt line {number}: {line!r}, not {expected!r}")
        break
if len(shipped) != len(manual):
    failures.append(f"kmlaunch.txt has {len(shipped)} lines, the manual {len(manual)}")
# No build-time value: the program's link time stamp is zero, every entry has the commit's time.
program = read.get("kmlaunch.exe", b"\0" * 64)
header = struct.unpack_from("<I", program, 0x3C)[0]
if struct.unpack_from("<I", program, header + 8)[0] != 0:
    failures.append("kmlaunch.exe carries its link time")
commit = int(subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"], check=True,
                            capture_output=True, text=True).stdout)
if any(entry.date_time != time.gmtime(commit // 2 * 2)[:6] for entry in entries.values()):
    failures.append("an entry does not carry the last commit's time")
for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
