#!/usr/bin/env python3
"""kmlaunch.exe as it ships: one small 64-bit GUI program that a bare Windows can run.

The static C++ runtime brings its exception machinery, the symbol demangler and a threads
library with a throwing new, a guarded static or a thread_local: this catches their return.
Usage: program_file_test.py KMLAUNCH_EXE OBJDUMP
"""
import os
import re
import subprocess
import sys

MOST_BYTES = 64 * 1024
# What every Windows has; anything else would have to ship beside the program.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"}

program, objdump = sys.argv[1], sys.argv[2]
# objdump's own words, untranslated: the tests run in a Japanese locale.
headers = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True,
                         env=dict(os.environ, LC_ALL="C")).stdout
failures = []
size = os.path.getsize(program)
if size > MOST_BYTES:
    failures.append(f"{size} bytes, more than {MOST_BYTES}")
extra = {name.lower() for name in re.findall(r"DLL Name: (\S+)", headers)} - SYSTEM_DLLS
if extra:
    failures.append(f"needs {sorted(extra)}")
if "file format pei-x86-64" not in headers or not re.search(r"Subsystem\s+00000002", headers):
    failures.append("not an x86-64 Windows GUI program")
print(f"{os.path.basename(program)}: {size} bytes")
for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
