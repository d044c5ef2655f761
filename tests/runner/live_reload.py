#!/usr/bin/python3
"""Edits the scripts of a running game and checks that tessak-run reloads them:
the new code runs with the state kept (the `state` variables, the objects and
their keys, the balls where they stood), and an edit that does not compile
leaves the game running as it was, reported on the error stream.

usage: live_reload.py <tessak-run> <source folder>
"""
import os
import shutil
import sys
import time

from runner_session import Session, difference, fail, log, read_state, shows_text

WHITE = (255, 255, 255)
BACKGROUND = (16, 18, 40)
STATUS_TINT = (180, 190, 255)
BALL_AREA = (0, 80, 800, 518)


def edit(path, old, new):
    with open(path) as script:
        text = script.read()
    if old not in text:
        fail("%s does not hold %r" % (path, old))
    with open(path, "w") as script:
        script.write(text.replace(old, new))


def saved(session, game):
    """Has the game save itself (S) and reads the file back."""
    path = session.data_file("balls", "balls.save")
    if os.path.exists(path):
        os.remove(path)
    session.key("s")
    session.wait_for_file(path)
    time.sleep(0.2)
    variables, objects = read_state(path)
    # The lamps go on blinking: which one is lit changes with time.
    for _, keys in objects.values():
        keys.pop("lit", None)
    return variables, objects


def main():
    if len(sys.argv) != 3:
        fail(__doc__)
    runner, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    session = None
    game = None
    try:
        game = os.path.join(os.path.abspath(os.environ.get("TMPDIR", "/tmp")),
                            "tessak-reload-%d" % os.getpid())
        shutil.copytree(os.path.join(source, "examples", "games", "balls"), game)
        session = Session([runner, game])
        session.wait_for("the title", lambda shot: shows_text(
            shot, source, 20, 16, "Balls and lamps", WHITE, BACKGROUND))
        session.key("space")
        frozen = session.wait_for("the frozen balls", lambda shot: shows_text(
            shot, source, 20, 48, "frozen, space pressed 1 times", STATUS_TINT, BACKGROUND))
        time.sleep(0.3)
        frozen = session.screenshot()
        before = saved(session, game)

        edit(os.path.join(game, "main.lua"), '"Balls and lamps"', '"Balls reloaded"')
        reloaded = session.wait_for("the new code", lambda shot: shows_text(
            shot, source, 20, 16, "Balls reloaded", WHITE, BACKGROUND), 30)
        if not shows_text(reloaded, source, 20, 48, "frozen, space pressed 1 times",
                          STATUS_TINT, BACKGROUND):
            fail("the state variables did not survive the reload")
        moved = difference(frozen.crop(BALL_AREA), reloaded.crop(BALL_AREA))
        if moved > 0.2:
            fail("the balls moved in the reload (difference %.2f)" % moved)
        after = saved(session, game)
        if after != before:
            fail("the state changed in the reload:\n%r\n%r" % (before, after))
        log("the new code runs; variables, objects and keys are as before")

        edit(os.path.join(game, "ball.lua"), "local picture", "local picture = (")
        deadline = time.time() + 30
        while "do not compile" not in session.errors():
            if time.time() > deadline:
                fail("a broken script was not reported: %r" % session.errors())
            time.sleep(0.2)
        if "ball.lua:2:" not in session.errors():
            fail("the report does not name the broken line: %r" % session.errors())
        session.key("space")
        session.wait_for("the game going on", lambda shot: shows_text(
            shot, source, 20, 48, "moving, space pressed 2 times", STATUS_TINT, BACKGROUND))
        if "Balls reloaded" not in open(os.path.join(game, "main.lua")).read():
            fail("the game folder changed under the test")
        log("a broken edit is reported and the game goes on")

        session.quit_with_escape()
    finally:
        if session is not None:
            session.close()
        if game is not None:
            shutil.rmtree(game, ignore_errors=True)
    log("PASS")


if __name__ == "__main__":
    main()
