#!/usr/bin/env python3
"""The application manifest beside kmlaunch.exe, checked as Windows reads it.

A malformed manifest keeps Windows from starting the program at all (a side-by-side
configuration error), so every element is checked for its namespace and value.
Usage: manifest_test.py MANIFEST [COPY_BESIDE_THE_PROGRAM]
"""
import sys
import unittest
import xml.etree.ElementTree as ElementTree

ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
COMPATIBILITY = "urn:schemas-microsoft-com:compatibility.v1"
SETTINGS_2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
SETTINGS_2016 = "http://schemas.microsoft.com/SMI/2016/WindowsSettings"

SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}

PATH = sys.argv[1] if len(sys.argv) > 1 else "res/kmlaunch.exe.manifest"
COPY = sys.argv[2] if len(sys.argv) > 2 else None


def tag(namespace, name):
    return "{%s}%s" % (namespace, name)


class Manifest(unittest.TestCase):
    def setUp(self):
        with open(PATH, "rb") as file:
            self.raw = file.read()
        self.root = ElementTree.fromstring(self.raw)

    def only(self, parent, path):
        found = parent.findall(path)
        self.assertEqual(len(found), 1, path)
        return found[0]

    def test_declaration_and_root(self):
        self.assertTrue(self.raw.startswith(b'<?xml version="1.0" encoding="UTF-8"'))
        self.raw.decode("ascii")  # nothing a code page could read otherwise
        self.assertEqual(self.root.tag, tag(ASM_V1, "assembly"))
        self.assertEqual(self.root.get("manifestVersion"), "1.0")

    def test_own_identity(self):
        identity = self.only(self.root, tag(ASM_V1, "assemblyIdentity"))
        self.assertEqual(identity.get("type"), "win32")
        self.assertEqual(identity.get("processorArchitecture"), "amd64")
        self.assertEqual(identity.get("name"), "kmlaunch")
        parts = identity.get("version", "").split(".")
        self.assertEqual(len(parts), 4)
        self.assertTrue(all(part.isdigit() and int(part) < 65536 for part in parts))

    def test_common_controls_six(self):
        dependency = self.only(self.root, tag(ASM_V1, "dependency"))
        assembly = self.only(dependency, tag(ASM_V1, "dependentAssembly"))
        identity = self.only(assembly, tag(ASM_V1, "assemblyIdentity"))
        self.assertEqual(
            dict(identity.attrib),
            {
                "type": "win32",
                "name": "Microsoft.Windows.Common-Controls",
                "version": "6.0.0.0",
                "processorArchitecture": "*",
                "publicKeyToken": "6595b64144ccf1df",
                "language": "*",
            },
        )

    def test_runs_as_the_user_who_starts_it(self):
        trust = self.only(self.root, tag(ASM_V3, "trustInfo"))
        level = self.only(
            trust,
            "/".join(tag(ASM_V3, name) for name in
                     ("security", "requestedPrivileges", "requestedExecutionLevel")))
        self.assertEqual(dict(level.attrib), {"level": "asInvoker", "uiAccess": "false"})

    def test_supported_systems(self):
        compatibility = self.only(self.root, tag(COMPATIBILITY, "compatibility"))
        application = self.only(compatibility, tag(COMPATIBILITY, "application"))
        ids = [os.get("Id") for os in application.findall(tag(COMPATIBILITY, "supportedOS"))]
        self.assertEqual(sorted(ids), sorted(SUPPORTED_OS))

    def test_dpi_and_long_paths(self):
        application = self.only(self.root, tag(ASM_V3, "application"))
        settings = self.only(application, tag(ASM_V3, "windowsSettings"))
        values = {child.tag: (child.text or "").strip() for child in settings}
        self.assertEqual(
            values,
            {
                tag(SETTINGS_2005, "dpiAware"): "true",
                tag(SETTINGS_2016, "dpiAwareness"): "PerMonitorV2, System",
                tag(SETTINGS_2016, "longPathAware"): "true",
            },
        )

    def test_no_active_code_page(self):
        # Windows 10 takes only UTF-8 there; the program's texts must stay code page 932.
        names = [element.tag.rsplit("}", 1)[-1] for element in self.root.iter()]
        self.assertNotIn("activeCodePage", names)

    @unittest.skipUnless(COPY, "no built copy named")
    def test_copy_beside_the_program_is_the_same(self):
        with open(COPY, "rb") as file:
            self.assertEqual(file.read(), self.raw)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
