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
# The linker's hardening: ASLR with high entropy (relocations kept for it) and DEP.
flags = re.search(r"DllCharacteristics\s+([0-9a-fA-F]+)", headers)
if not flags or int(flags.group(1), 16) & 0x160 != 0x160 or not re.search(
        r"[1-9a-f][0-9a-f]* Base Relocation Directory", headers):
    failures.append("no HIGH_ENTROPY_VA, DYNAMIC_BASE, NX_COMPAT or relocations")
# DLLs from System32 only; a copy run as administrator still hears a second copy.
content = open(program, "rb").read()
# A row is the thunk's address, binutils 2.44's ordinal ("<none>"), the hint and the name.
imported = set(re.findall(r"^\s+[0-9a-f]+\s+(?:\S+\s+)?[0-9a-f]+\s+(\w+)$", headers, re.M))
for name in ("SetDllDirectoryW", "LoadLibraryExW", "ChangeWindowMessageFilterEx"):
    if name not in imported:
        failures.append(f"does not import {name}")
if b"SetDefaultDllDirectories" not in content or b"LoadLibraryA" in content:
    failures.append("the DLL search is not restricted to System32")
print(f"{os.path.basename(program)}: {size} bytes")
for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
