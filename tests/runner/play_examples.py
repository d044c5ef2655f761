#!/usr/bin/python3
"""Plays each example game of examples/games/ with tessak-run under Xvfb, the
way a person would, and checks the screen: text drawn, sprites moving, a key
press seen exactly once, the mouse, and a save and load made from the scripts.

usage: play_examples.py <tessak-run> <source folder>
"""
import os
import sys
import time

from PIL import Image

from runner_session import (Display, Session, difference, fail, log, read_state,
                            shows_text)

WHITE = (255, 255, 255)
BALLS_BACKGROUND = (16, 18, 40)
STATUS_TINT = (180, 190, 255)
# Where the balls fly: below the text, above the lamps.
BALL_AREA = (0, 80, 800, 518)


def status_shown(source, text):
    return lambda shot: shows_text(shot, source, 20, 48, text, STATUS_TINT, BALLS_BACKGROUND)


def play_balls(runner, source, display):
    session = Session([runner, os.path.join(source, "examples", "games", "balls")], display)
    try:
        session.wait_for("the title", lambda shot: shows_text(
            shot, source, 20, 16, "Balls and lamps", WHITE, BALLS_BACKGROUND))
        before = session.screenshot().crop(BALL_AREA)
        session.wait_for("the balls moving",
                         lambda shot: difference(before, shot.crop(BALL_AREA)) > 1, 20)
        log("the balls move")

        session.key("space")
        session.wait_for("one space press", status_shown(source, "frozen, space pressed 1 times"))
        time.sleep(0.5)
        frozen = session.screenshot()
        if not status_shown(source, "frozen, space pressed 1 times")(frozen):
            fail("one press of Space was seen more than once")
        time.sleep(0.3)
        still = difference(frozen.crop(BALL_AREA), session.screenshot().crop(BALL_AREA))
        if still > 0.2:
            fail("the balls still move after Space (difference %.2f)" % still)
        log("one press of Space seen once: the balls stand still")

        save = session.data_file("balls", "balls.save")
        session.key("s")
        session.wait_for_file(save)
        variables, objects = read_state(save)
        if variables.get("presses") != 1 or variables.get("frozen") is not True:
            fail("the saved state variables are %r" % variables)
        scripts = sorted(script for script, _ in objects.values())
        if scripts != ["ball.lua"] * 6 + ["lamp.lua"] * 5 + ["main.lua"]:
            fail("the saved objects are %r" % scripts)
        log("saveGame wrote %d objects and the variables %r" % (len(objects), variables))

        session.key("space")
        session.wait_for("a second press", status_shown(source, "moving, space pressed 2 times"))
        time.sleep(0.4)
        session.key("l")
        session.wait_for("the loaded game", status_shown(source, "frozen, space pressed 1 times"))
        time.sleep(0.3)
        back = difference(frozen.crop(BALL_AREA), session.screenshot().crop(BALL_AREA))
        if back > 0.2:
            fail("after loadGame the balls are not where they were saved (difference %.2f)" % back)
        log("loadGame brought back the saved game (difference %.2f)" % back)

        session.quit_with_escape()
    finally:
        session.close()


def paddle_left(shot):
    """The left end of the paddle, which lies on row 568 of the 800 x 600 screen."""
    for x in range(800):
        if sum(shot.getpixel((x, 568))) > 450:
            return x
    fail("no paddle on the screen")


def play_catch(runner, source, display):
    session = Session([runner, os.path.join(source, "examples", "games", "catch")], display)
    try:
        shot = session.wait_for("the score", lambda shot: shows_text(
            shot, source, 16, 12, "Score 0   Lives 3", WHITE, (8, 10, 26)))
        start = paddle_left(shot)
        display.run("xdotool", "keydown", "Right")
        try:
            session.wait_for("the paddle moving right",
                             lambda shot: paddle_left(shot) - start >= 60, 20)
        finally:
            display.run("xdotool", "keyup", "Right")
        log("the right arrow moves the paddle")

        display.run("xdotool", "mousemove", "200", "300", "mousedown", "1")
        try:
            session.wait_for("the paddle under the mouse",
                             lambda shot: abs(paddle_left(shot) - 152) <= 2, 20)
        finally:
            display.run("xdotool", "mouseup", "1")
        log("the left mouse button brought the paddle under the cursor")

        def paused(shot):
            """"PAUSED" at scale 2 (at 328, 276): the same at scale 1 on a half-size screen."""
            return shows_text(shot.resize((400, 300), Image.BOX), source, 164, 138, "PAUSED",
                              WHITE, (8, 10, 26), 10)

        session.key("p")
        first = session.wait_for("one press of P", paused)
        time.sleep(0.5)
        later = session.screenshot()
        if not paused(later):
            fail("one press of P was seen more than once")
        if difference(first, later) > 0.2:
            fail("the game goes on while it is paused")
        log("one press of P seen once: the game stands still")
        session.quit_with_escape()
    finally:
        session.close()


def main():
    if len(sys.argv) != 3:
        fail(__doc__)
    runner, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    display = Display()
    try:
        play_balls(runner, source, display)
        play_catch(runner, source, display)
    finally:
        display.close()
    log("PASS")


if __name__ == "__main__":
    main()
