#!/usr/bin/python3
"""Checks the Windows download as a player's Windows would meet it.

Reads dist/tessak-windows-x64.zip: the player's README.txt and the licence
notices are there; tessak.exe carries its icon, version information and
manifest (read back with windres); and it imports no DLL beyond those of a
stock Windows (D3DX 9 above all: it is loaded at run time, when present).

usage: check_windows_zip.py <zip>
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

from test_report import report

STOCK_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "winmm.dll",
              "advapi32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "windowscodecs.dll",
              "d3d9.dll"}

# What must be found where: (file in the zip, texts it must hold).
CONTENTS = [
    ("README.txt", ["tessak.exe", "resources", "800 x 600", "Escape",
                    r"C:\ProgramData\Tessak\Log.html", "licenses"]),
    ("licenses/Lua-5.1.txt", ["Lua.org, PUC-Rio", "Permission is hereby granted"]),
    ("licenses/MinGW-w64.txt", ["mingw-w64-crt", "winpthreads"]),
    ("licenses/GCC-runtime.txt", ["GCC RUNTIME LIBRARY EXCEPTION"]),
]

# The resource section as windres writes it back in its own source form.
RESOURCES = [
    ("an icon", r"RT_GROUP_ICON"),
    ("the version's product name", r'VALUE "ProductName", "Tessak'),
    ("the version's description", r'VALUE "FileDescription", "Tessak'),
    ("the version number", r'VALUE "ProductVersion", "\d+\.\d+\.\d+'),
    ("a manifest asking for no elevation", r'level="+asInvoker'),
    ("a manifest naming Windows 10 and 11", r"8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"),
    ("a manifest naming Windows 7", r"35138b9a-5d96-4fbd-8e2d-a2440225f93a"),
    ("system DPI awareness", r"<dpiAwareness[^>]*>system<"),
]


def fail(text):
    print("FAIL: " + text, file=sys.stderr)
    sys.exit(1)


def tool(name, *args):
    result = subprocess.run(["x86_64-w64-mingw32-" + name] + list(args),
                            capture_output=True, text=True, errors="replace", timeout=60)
    if result.returncode != 0:
        fail("%s %s: %s" % (name, " ".join(args), result.stderr))
    return result.stdout


def check():
    work = tempfile.mkdtemp(prefix="tessak-zip-check-")
    try:
        with zipfile.ZipFile(sys.argv[1]) as archive:
            names = set(archive.namelist())
            for name, texts in CONTENTS:
                if name not in names:
                    fail("the zip lacks %s: %s" % (name, sorted(names)))
                text = archive.read(name).decode("utf-8", "replace")
                for expected in texts:
                    if expected not in text:
                        fail("%s does not mention %r" % (name, expected))
            archive.extract("tessak.exe", work)
        program = os.path.join(work, "tessak.exe")

        imports = {line.split()[-1].lower() for line in tool("objdump", "-p", program).splitlines()
                   if "DLL Name:" in line}
        if not imports or imports - STOCK_DLLS:
            fail("tessak.exe imports DLLs a stock Windows lacks: %s" % sorted(imports - STOCK_DLLS))

        resources = tool("windres", "-i", program, "-O", "rc")
        for what, pattern in RESOURCES:
            if not re.search(pattern, resources):
                fail("tessak.exe's resources lack %s (%s)" % (what, pattern))
        print("PASS: %s, %d bytes; imports %s" % (sys.argv[1], os.path.getsize(sys.argv[1]),
                                                 " ".join(sorted(imports))))
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    if len(sys.argv) != 2:
        fail(__doc__)
    started = time.time()
    passed = False
    try:
        check()
        passed = True
    finally:
        report("win32_check_zip", "HoldsWhatAPlayerNeeds", passed, started)


if __name__ == "__main__":
    main()
