#!/usr/bin/python3
"""How tessak-run ends on a script error, and its command line.

A script that fails at run time, and one whose engine call fails (a picture that
does not exist), must each show the log's box (captioned "Engine") with the
message and the script's traceback, write both to the error stream and to the
log page, and end with status 1 once the box is answered. --version, --help, a
missing folder argument and a folder without main.lua are answered without a
window.

usage: script_errors.py <tessak-run>
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

from runner_session import Display, Session, fail, log

FAILING = """
function explode(n)
    local nothing = nil
    return nothing.field + n
end
function start(id)
    wait(nextFrame(id))
    explode(3)
end
"""
MISSING_PICTURE = """
function start(id)
    wait(nextFrame(id))
    loadTexture("nowhere.png")
end
"""


def answer_box(session):
    """Waits for the error box and answers it with Enter."""
    deadline = time.time() + 60
    while time.time() < deadline:
        if session.process.poll() is not None:
            fail("the game ended before its box was answered: %s" % session.errors())
        name = session.display.run("xdotool", "getactivewindow", "getwindowname").stdout.strip()
        if name == "Engine":
            session.display.run("xdotool", "key", "Return")
            return
        time.sleep(0.2)
    fail("no error box appeared")


def check_failure(runner, display, script, lines):
    game = tempfile.mkdtemp(prefix="tessak-failing-")
    with open(os.path.join(game, "main.lua"), "w") as main:
        main.write(script)
    session = Session([runner, game], display)
    try:
        answer_box(session)
        status = session.finish()
        errors = session.errors()
        if status != 1:
            fail("a script error ended the game with status %d" % status)
        pages = glob.glob(os.path.join(session.data, "tessak-run", "*", "Log.html"))
        page = open(pages[0]).read() if pages else ""
        for line in lines:
            if line not in errors:
                fail("the error stream lacks %r:\n%s" % (line, errors))
            if line.replace("<", "&lt;").replace(">", "&gt;") not in page and line not in page:
                fail("the log page lacks %r" % line)
        log("status 1, message and traceback on the error stream and in the log: %s" % lines[0])
    finally:
        session.close()
        shutil.rmtree(game, ignore_errors=True)


def command(runner, *args, cwd=None):
    return subprocess.run([runner, *args], capture_output=True, text=True, timeout=60, cwd=cwd)


def check_command_line(runner):
    version = command(runner, "--version")
    if version.returncode != 0 or not version.stdout.startswith("tessak-run "):
        fail("--version answered %r" % (version.stdout,))
    usage = command(runner, "--help")
    if usage.returncode != 0 or "usage: tessak-run <game folder>" not in usage.stdout:
        fail("--help answered %r" % (usage.stdout,))
    bare = command(runner)
    if bare.returncode != 2 or "usage:" not in bare.stderr:
        fail("no argument gave status %d and %r" % (bare.returncode, bare.stderr))
    empty = tempfile.mkdtemp(prefix="tessak-empty-")
    try:
        missing = command(runner, empty)
    finally:
        shutil.rmtree(empty)
    if missing.returncode != 1 or "holds no main.lua" not in missing.stderr:
        fail("a folder without main.lua gave status %d and %r" %
             (missing.returncode, missing.stderr))
    log("--version, --help, no argument and a folder without main.lua are answered")


def main():
    if len(sys.argv) != 2:
        fail(__doc__)
    runner = os.path.abspath(sys.argv[1])
    check_command_line(runner)
    display = Display()
    try:
        check_failure(runner, display, FAILING, [
            "main.lua:4: attempt to index local 'nothing' (a nil value)",
            "stack traceback:",
            "main.lua:4: in function 'explode'",
            "main.lua:8: in function <main.lua:6>"])
        check_failure(runner, display, MISSING_PICTURE, [
            "Failed to create texture 'nowhere.png'",
            "stack traceback:",
            "[C]: in function 'loadTexture'",
            "main.lua:4: in function <main.lua:2>"])
    finally:
        display.close()
    log("PASS")


if __name__ == "__main__":
    main()
