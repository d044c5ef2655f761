#!/usr/bin/python3
"""Plays the Windows download under Wine the way a player would.

Unpacks dist/tessak-windows-x64.zip into a fresh folder, starts its tessak.exe with
Wine on its own Xvfb and openbox from another folder (as a shortcut or a command
line may), and plays one game with the end-to-end test's steps
(tests/e2e/play_game.py): the format warning, the intro, the menu, Arcade, the pair
at the top, Left, Right, Up, then Escape and a clean exit within a second. Then
checks that the game said on stderr and in its log (Log.html under ProgramData)
which of D3DX 9 and its stand-in drew.
With TESSAK_WITHOUT_D3DX set, d3dx9_43.dll is disabled as on a Windows without the
DirectX runtime, and the log is made unwritable (Log.html is a folder): the game
must play all the same.
Runs in a fresh Wine prefix of its own: a prefix's desktop process belongs to the
X display it started on, and the tests' prefix started on another one.

usage: play_windows_game.py <zip> <source folder>
"""
import os
import sys
import tempfile
import time
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import play_game  # noqa: E402
from play_game import Display, fail, log  # noqa: E402
from test_report import report  # noqa: E402
from wine_prefix import download_and_source, end, make_prefix  # noqa: E402


D3DX_LINE = "Drawing with D3DX 9 (d3dx9_43.dll)."
STAND_IN_LINE = "D3DX 9 (d3dx9_43.dll) not found: drawing with the built-in sprites"


def check_announcement(stderr_path, log_path, without_d3dx):
    expected = STAND_IN_LINE if without_d3dx else D3DX_LINE
    with open(stderr_path, errors="replace") as stderr:
        said = stderr.read()
    if ("Tessak: " + expected) not in said:
        fail("stderr lacks %r: %r" % (expected, said[-2000:]))
    if without_d3dx:
        if not os.path.isdir(log_path):
            fail("the unwritable log %s was replaced" % log_path)
        log("played without D3DX and with an unwritable log")
        return
    with open(log_path, errors="replace") as page:
        text = page.read()
    for line in ("Initializing window...", expected, "Graceful shutdown detected."):
        if line not in text:
            fail("%s lacks %r" % (log_path, line))
    log("stderr and %s say %r" % (log_path, expected))


def main():
    package, source = download_and_source(__doc__, fail)
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

        without_d3dx = bool(os.environ.get("TESSAK_WITHOUT_D3DX"))
        display = Display()
        overrides = "mscoree,mshtml,d3dx9_43=" if without_d3dx else "mscoree,mshtml="
        # The prefix is made before the clock of the game's start-up starts.
        env = make_prefix(display, work, overrides)
        log_path = os.path.join(env["WINEPREFIX"], "drive_c", "ProgramData", "Tessak", "Log.html")
        if without_d3dx:
            os.makedirs(log_path)
        # Started from the folder above the game's: the game finds its pictures
        # all the same. A player's Escape ends it at once: within a second, Wine included.
        stderr_path = os.path.join(work, "stderr.txt")
        with open(stderr_path, "w") as stderr:
            play_game.play(["wine", os.path.join(folder, "tessak.exe")], work, folder, display,
                           env, exit_seconds=1.0, stderr=stderr)
        check_announcement(stderr_path, log_path, without_d3dx)
        passed = True
        log("PASS")
    finally:
        report("win32_play_game", "PlaysUnderWine", passed, started)
        end(env, display, work)


if __name__ == "__main__":
    main()
