#!/usr/bin/python3
"""Installs the game from a build folder into a staging folder (DESTDIR), checks the
installed tree (launcher, program beside its resources, desktop entry, icon), then
starts the installed launcher from an unrelated folder under Xvfb and openbox until
the menu shows, and ends the game with Escape.

usage: start_installed_game.py <build folder>
"""
import os
import shutil
import subprocess
import sys
import tempfile

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from play_game import Display, fail, log, stop, tap, wait_for_exit, wait_for_menu  # noqa: E402

PREFIX = "/opt/tessak"


def install(build, stage):
    env = dict(os.environ, DESTDIR=stage)
    result = subprocess.run(["cmake", "--install", build, "--prefix", PREFIX, "--component", "game"],
                            env=env, capture_output=True, text=True)
    if result.returncode != 0:
        fail("cmake --install failed:\n" + result.stdout + result.stderr)
    return stage + PREFIX


def check_tree(root):
    launcher = os.path.join(root, "bin", "tessak")
    if not os.access(launcher, os.X_OK):
        fail("no runnable launcher at bin/tessak")
    games = [os.path.join(folder, "tessak") for folder, _, files in os.walk(root)
             if "tessak" in files and os.path.isdir(os.path.join(folder, "resources"))]
    if len(games) != 1:
        fail("the program does not lie beside resources/ exactly once: %s" % games)
    if not os.path.isfile(os.path.join(os.path.dirname(games[0]), "resources", "mainmenu1.png")):
        fail("resources/ lacks the menu picture")
    desktop = os.path.join(root, "share", "applications", "tessak.desktop")
    if shutil.which("desktop-file-validate"):
        result = subprocess.run(["desktop-file-validate", desktop], capture_output=True, text=True)
        if result.returncode != 0 or result.stdout.strip():
            fail("desktop-file-validate: %s%s" % (result.stdout, result.stderr))
    else:
        log("desktop-file-validate is missing (desktop-file-utils); the entry is not validated")
    with open(desktop) as entry:
        lines = entry.read().splitlines()
    for needed in ("Exec=tessak", "Icon=tessak", "Type=Application"):
        if needed not in lines:
            fail("tessak.desktop lacks %s" % needed)
    icon = Image.open(os.path.join(root, "share", "icons", "hicolor", "48x48", "apps", "tessak.png"))
    if icon.format != "PNG" or icon.size != (48, 48):
        fail("the 48x48 icon is a %s of %s" % (icon.format, icon.size))
    log("installed tree checked: launcher, %s, desktop entry, icon" % os.path.relpath(games[0], root))
    return launcher, os.path.dirname(games[0])


def main():
    if len(sys.argv) != 2:
        fail(__doc__)
    build = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="tessak-install-")
    display = None
    game_process = None
    try:
        root = install(build, os.path.join(work, "stage"))
        launcher, game_folder = check_tree(root)
        elsewhere = os.path.join(work, "elsewhere")
        data = os.path.join(work, "data")
        os.makedirs(elsewhere)
        os.makedirs(data)
        display = Display()
        # The launcher's own folder, not the caller's, must be where the game looks;
        # the game's log and saves go to a private data home.
        env = dict(display.env, XDG_DATA_HOME=data)
        game_process = subprocess.Popen([launcher], cwd=elsewhere, env=env)
        # The menu is checked against the installed pictures.
        wait_for_menu(game_process, game_folder, display, work)
        tap(display, "Escape")
        wait_for_exit(game_process, float(os.environ.get("TESSAK_E2E_EXIT_SECONDS", "30")))
        game_process = None
    finally:
        stop(game_process)
        if display is not None:
            display.close()
        shutil.rmtree(work, ignore_errors=True)
    log("PASS")


if __name__ == "__main__":
    main()
