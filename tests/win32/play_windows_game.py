#!/usr/bin/python3
"""Plays the Windows download under Wine the way a player would.

Unpacks dist/tessak-windows-x64.zip into a fresh folder, starts tessak.exe there with
Wine on its own Xvfb and openbox, and plays one game with the end-to-end test's
steps (tests/e2e/play_game.py): the format warning, the intro, the menu, Arcade, the
pair at the top, Left, Right, Up, then Escape and a clean exit within a second.
Runs in a fresh Wine prefix of its own: a prefix's desktop process belongs to the
X display it started on, and the tests' prefix started on another one.

usage: play_windows_game.py <zip> <source folder>
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import play_game  # noqa: E402
from play_game import Display, fail, log  # noqa: E402


def report(passed, started):
    """One test case in GoogleTest's XML form for tools/run-windows-tests.sh's count."""
    folder = os.environ.get("TESSAK_RESULTS_DIR")
    if not folder:
        return
    os.makedirs(folder, exist_ok=True)
    failure = "" if passed else '<failure message="see the test output"/>'
    with open(os.path.join(folder, "win32_play_game.xml"), "w") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                  '<testsuites tests="1" name="win32_play_game">\n'
                  '  <testsuite name="WindowsDownload" tests="1">\n'
                  '    <testcase name="PlaysUnderWine" time="%.1f">%s</testcase>\n'
                  '  </testsuite>\n</testsuites>\n' % (time.time() - started, failure))


def main():
    if len(sys.argv) != 3:
        fail(__doc__)
    package, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    if not os.path.isfile(package):
        fail("no %s: make it with tools/package-windows.sh" % package)
    started = time.time()
    passed = False
    work = tempfile.mkdtemp(prefix="tessak-windows-e2e-")
    display = None
    env = None
    try:
        folder = os.path.join(work, "tessak")
        with zipfile.ZipFile(package) as archive:
            names = archive.namelist()
            if "tessak.exe" not in names or not any(n.startswith("resources/") for n in names):
                fail("the zip lacks tessak.exe or resources/: %s" % names)
            archive.extractall(folder)
        log("unpacked %d files from %s (%d bytes)" % (len(names), package, os.path.getsize(package)))

        display = Display()
        env = dict(display.env, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        env["WINEPREFIX"] = os.path.join(work, "prefix")
        # The prefix is made before the clock of the game's start-up starts.
        subprocess.run(["wineboot", "--init"], env=env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\WineDbg", "/v",
                        "ShowCrashDialog", "/t", "REG_DWORD", "/d", "0", "/f"], env=env,
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        # A player's Escape ends the program at once: within a second, Wine included.
        play_game.play(["wine", "tessak.exe"], folder, folder, display, env, exit_seconds=1.0)
        passed = True
        log("PASS")
    finally:
        report(passed, started)
        if env is not None:
            subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=30)
        if display is not None:
            display.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
