#!/usr/bin/python3
"""Plays an example game from tessak-run's Windows download under Wine.

Unpacks dist/tessak-run-windows-x64.zip into a fresh folder, runs
`tessak-run.exe examples/games/balls` there with Wine on its own Xvfb and
openbox (in a Wine prefix of its own), and checks the screen as
tests/runner/play_examples.py does: the title drawn in the built-in font, one
press of Space seen once, then Escape and a clean exit.

usage: play_windows_runner.py <zip> <source folder>
"""
import os
import sys
import tempfile
import time
import zipfile

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "runner"))
from runner_session import Display, Session, closest_text, fail, log, shows_text  # noqa: E402
from test_report import report  # noqa: E402
from wine_prefix import download_and_source, end, make_prefix  # noqa: E402

BACKGROUND = (16, 18, 40)
# D3DX under Wine filters the font's edges a little more than SDL does.
BLUR = 16
# Under load, Wine now and then ends tessak-run with SIGSEGV after the game has
# quit, in the teardown of its own and the GL driver's threads (glibc reports
# "malloc_consolidate(): unaligned fastbin chunk detected" on the Unix side).
# Then the whole play is judged once more: every step must pass again.
WINE_EXIT_CRASH = -11
STATUS = ["moving, space pressed 0 times", "frozen, space pressed 1 times",
          "moving, space pressed 2 times"]


def status_is(source, wanted):
    def check(shot):
        text, distance = closest_text(shot, source, 20, 48, STATUS, (180, 190, 255), BACKGROUND)
        return text == wanted and distance < BLUR
    return check


def main():
    package, source = download_and_source(__doc__, fail)
    started = time.time()
    passed = False
    work = tempfile.mkdtemp(prefix="tessak-run-windows-")
    display = env = session = None
    try:
        folder = os.path.join(work, "tessak-run")
        with zipfile.ZipFile(package) as archive:
            names = archive.namelist()
            for needed in ("tessak-run.exe", "resources/font.png", "examples/games/balls/main.lua",
                           "examples/games/catch/main.lua"):
                if needed not in names:
                    fail("the zip lacks %s: %s" % (needed, names))
            archive.extractall(folder)
        display = Display()
        env = make_prefix(display, work)
        for attempt in (1, 2):
            session = Session(["wine", "tessak-run.exe", "examples/games/balls"], display, env,
                              folder)
            session.wait_for("the title", lambda shot: shows_text(
                shot, source, 20, 16, "Balls and lamps", (255, 255, 255), BACKGROUND, BLUR), 120)
            session.wait_for("no press yet", status_is(source, STATUS[0]))
            session.key("space")
            session.wait_for("one press of Space", status_is(source, STATUS[1]))
            time.sleep(0.5)
            later = session.screenshot()
            if not status_is(source, STATUS[1])(later):
                fail("one press of Space was seen more than once: the screen shows %r at %.1f" %
                     closest_text(later, source, 20, 48, STATUS, (180, 190, 255), BACKGROUND))
            session.key("Escape")
            status = session.finish()
            if status == 0:
                break
            if status != WINE_EXIT_CRASH or attempt == 2:
                fail("Escape ended the game with status %d: %s" % (status, session.errors()))
            log("Wine crashed as the program ended (status %d); the whole play once more" % status)
            session.close()
            session = None
        passed = True
        log("PASS")
    finally:
        report("win32_play_runner", "PlaysAnExampleUnderWine", passed, started)
        if session is not None:
            session.close()
        end(env, display, work)


if __name__ == "__main__":
    main()
