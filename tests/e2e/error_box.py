#!/usr/bin/python3
"""Starts the real game with a picture missing, under Xvfb and openbox, and checks what
the player sees: the error box on top of the full-screen game window (in the window
manager's stacking order and in a screenshot), and Enter in it ending the program
with a failure status.

usage: error_box.py <game executable> <source folder>
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play_game import Display, fail, log, stop  # noqa: E402

MISSING = "backdrop.png"
# The box's own background colour, as SDL draws it.
BOX_BACKGROUND = (56, 54, 53)


def window_ids(display, *args):
    result = display.run("xdotool", *args)
    return [int(word) for word in result.stdout.split()] if result.returncode == 0 else []


def viewable(display, window):
    return "IsViewable" in display.run("xwininfo", "-id", str(window)).stdout


def geometry(display, window):
    """(left, top, width, height) of the window on the screen."""
    fields = {}
    for line in display.run("xwininfo", "-id", str(window)).stdout.splitlines():
        name, _, value = line.strip().partition(":")
        fields[name] = value.strip()
    return tuple(int(fields[name]) for name in
                 ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))


def stacking(display):
    """Client windows from bottom to top, as the window manager stacks them."""
    text = display.run("xprop", "-root", "_NET_CLIENT_LIST_STACKING").stdout
    return [int(word.strip(","), 16) for word in text.split() if word.startswith("0x")]


def main():
    if len(sys.argv) != 3:
        fail(__doc__)
    game, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    work = tempfile.mkdtemp(prefix="tessak-error-box-")
    shutil.copytree(os.path.join(source, "resources"), os.path.join(work, "resources"))
    os.remove(os.path.join(work, "resources", MISSING))

    display = Display()
    game_process = None
    try:
        env = dict(display.env, XDG_DATA_HOME=os.path.join(work, "data"))
        game_process = subprocess.Popen([game], cwd=work, env=env)
        # Boxes come while the game window is still hidden (the screen-format warning
        # under Xvfb): answer those. The first one over the shown game is the error.
        deadline = time.time() + 60
        box = game_window = None
        while box is None:
            if time.time() > deadline:
                fail("no error box over the game window within 60 s")
            if game_process.poll() is not None:
                fail("the game ended with status %s before showing its error" % game_process.returncode)
            shown = [w for w in window_ids(display, "search", "--name", "^Tessak$") if viewable(display, w)]
            active = window_ids(display, "getactivewindow")
            name = display.run("xdotool", "getactivewindow", "getwindowname").stdout.strip()
            if active and name == "Engine":
                if shown:
                    box, game_window = active[0], shown[0]
                else:
                    log("answering a box shown before the game window")
                    display.run("xdotool", "key", "Return")
                    time.sleep(0.5)
            time.sleep(0.1)
        log("error box %#x over game window %#x" % (box, game_window))

        # Full screen, and the box above it.
        left, top, width, height = geometry(display, game_window)
        if (width, height) != (800, 600):
            fail("the game window is %d x %d, not full screen" % (width, height))
        order = stacking(display)
        if box not in order or game_window not in order or order.index(box) < order.index(game_window):
            fail("the box is stacked beneath the game window: %s" % [hex(w) for w in order])

        # The screenshot shows the box where it is, not the game's black screen.
        left, top, width, height = geometry(display, box)
        def box_seen():
            shot = display.screenshot(os.path.join(work, "box.png"))
            inside = shot.crop((left, top, left + width, top + height))
            pixels = list(inside.getdata())
            share = sum(1 for p in pixels if p == BOX_BACKGROUND) / float(len(pixels))
            return share > 0.5, share
        seen, share = False, 0.0
        for _ in range(50):
            seen, share = box_seen()
            if seen:
                break
            time.sleep(0.2)
        if not seen:
            fail("the screenshot shows no box at %d,%d %dx%d (%.0f%% box colour)"
                 % (left, top, width, height, 100 * share))
        log("the box is on top and visible (%.0f%% of its area in the box colour)" % (100 * share))

        display.run("xdotool", "key", "Return")
        try:
            status = game_process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            fail("the game did not end within 30 s of Enter in the error box")
        if status == 0:
            fail("the game ended with status 0 after its error")
        log("Enter ended the game with status %d" % status)
        # The game keeps a log: the error is in it.
        log_page = os.path.join(work, "data", "Tessak", "Log.html")
        if not os.path.isfile(log_page):
            fail("no log page at %s" % log_page)
        with open(log_page, errors="replace") as page:
            if ("Failed to create texture 'resources/" + MISSING + "'") not in page.read():
                fail("%s has no entry naming the missing picture" % log_page)
        log("the log names the missing picture")
        log("PASS")
    finally:
        stop(game_process)
        display.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
