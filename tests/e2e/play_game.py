#!/usr/bin/python3
"""Plays the real game under Xvfb the way a person would, and checks what it shows.

Starts its own Xvfb (800 x 600) and openbox, runs the game from a folder without
resources/ (it finds the pictures beside itself) and with a log that cannot be
written (the game plays on), answers the screen-format warning if it appears, waits out the
intro, checks the menu in a screenshot, clicks Arcade, checks the play screen and the
falling pair, moves and turns the pair with the arrow keys, and quits with Escape.

usage: play_game.py <game executable> <source folder>
"""
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops, ImageStat

WIDTH, HEIGHT = 800, 600


def log(text):
    print(text, flush=True)


def fail(text):
    log("FAIL: " + text)
    raise SystemExit(1)


class Display:
    """An Xvfb server with openbox on a free display number."""

    def __init__(self):
        self.processes = []
        # Xvfb takes a free display number itself and writes it to the pipe once it
        # listens: choosing one here could race another server starting beside it,
        # and then both tests would drive the same screen.
        read_end, write_end = os.pipe()
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (WIDTH, HEIGHT),
             "-noreset", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,))
        os.close(write_end)
        self.processes.append(server)
        number = ""
        with os.fdopen(read_end) as announced:
            if select.select([announced], [], [], 30)[0]:
                number = announced.readline().strip()
        if not number:
            self.close()
            fail("Xvfb did not start")
        self.name = ":" + number
        self.env = dict(os.environ, DISPLAY=self.name)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.processes.append(subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self._wait_for_window_manager()

    def _wait_for_window_manager(self):
        """openbox is ready once it frames (gives WM_STATE to) a window: one mapped
        before its event loop runs is never framed, and SDL would wait for it for ever."""
        for _ in range(10):
            probe = subprocess.Popen(["xmessage", "-name", "wmprobe", "-timeout", "30", "probe"],
                                     env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                for _ in range(20):
                    if "window state" in self.run("xprop", "-name", "wmprobe", "WM_STATE").stdout:
                        return
                    time.sleep(0.1)
            finally:
                probe.kill()
                probe.wait()
        fail("openbox frames no window")

    def run(self, *args):
        return subprocess.run(list(args), env=self.env, capture_output=True, text=True)

    def screenshot(self, path):
        result = self.run("import", "-window", "root", path)
        if result.returncode != 0:
            fail("screenshot failed: " + result.stderr)
        return Image.open(path).convert("RGB")

    def close(self):
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()


def stop(process):
    """Ends a program the test started, if it still runs."""
    if process is not None and process.poll() is None:
        process.kill()
        process.wait()


def difference(a, b):
    """Mean absolute difference per channel of two same-sized RGB images, 0..255."""
    return sum(ImageStat.Stat(ImageChops.difference(a, b)).mean) / 3.0


def picture(source, name):
    return Image.open(os.path.join(source, "resources", name)).convert("RGBA")


def over_black(image):
    black = Image.new("RGBA", image.size, (0, 0, 0, 255))
    return Image.alpha_composite(black, image).convert("RGB")


def cell_box(row, column):
    x, y = 53 + 33 * column, 31 + 33 * row
    return (x, y, x + 32, y + 32)


def occupied_cells(shot, backdrop):
    """Cells of the visible field whose pixels differ clearly from the empty backdrop."""
    cells = []
    for row in range(16):
        for column in range(16):
            box = cell_box(row, column)
            if difference(shot.crop(box), backdrop.crop(box)) > 20:
                cells.append((row, column))
    return cells


def wait_for(what, check, seconds, display, shots):
    """Screenshots until `check` passes. The limits are generous: on a busy machine the
    game gets few frames, so its clock (and the 13 s intro) runs slow, and each
    screenshot takes seconds."""
    deadline = time.time() + seconds
    attempt = 0
    while time.time() < deadline:
        attempt += 1
        shot = display.screenshot(os.path.join(shots, "%s-%d.png" % (what, attempt)))
        result = check(shot)
        if result:
            return shot, result
        time.sleep(0.25)
    fail("%s did not show within %d s (last screenshot %s)" % (what, seconds, shot_path(shots, what, attempt)))


def shot_path(shots, what, attempt):
    return os.path.join(shots, "%s-%d.png" % (what, attempt))


def memory_report(pid):
    """The process's peak and current resident memory, as the kernel counts them."""
    fields = {}
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            name, _, value = line.partition(":")
            fields[name] = value.strip()
    return "peak %s, now %s" % (fields.get("VmHWM", "?"), fields.get("VmRSS", "?"))


def tap(display, key):
    display.run("xdotool", "keydown", key)
    time.sleep(0.08)
    display.run("xdotool", "keyup", key)


def answer_warning_box(display):
    """The requested 100 Hz format does not exist under Xvfb: the engine warns in a box captioned Engine."""
    result = display.run("xdotool", "getactivewindow", "getwindowname")
    if result.stdout.strip() == "Engine":
        log("answering the screen-format warning box")
        display.run("xdotool", "key", "Return")
        return True
    return False


def wait_for_menu(game_process, source, display, shots):
    """Waits until the started game shows its menu picture, answering the warning box
    if one comes and failing if the game ends first."""
    menu_picture = over_black(picture(source, "mainmenu1.png"))
    started = time.time()
    first_frame = []

    def menu_shown(shot):
        if game_process.poll() is not None:
            fail("the game ended early with status %s" % game_process.returncode)
        box = answer_warning_box(display)
        if not box and not first_frame and shot.getbbox() is not None:
            first_frame.append(time.time() - started)
            log("first frame shown %.1f s after start" % first_frame[0])
        # A strip of the menu picture that neither the title nor the buttons cover.
        strip = (240, 170, 345, 595)
        return difference(shot.crop(strip), menu_picture.crop(strip)) < 12
    wait_for("menu", menu_shown, 180, display, shots)
    log("menu picture shown %.1f s after start" % (time.time() - started))


def wait_for_exit(game_process, exit_seconds):
    """Waits for the game to end after Escape and fails unless it ends cleanly in time."""
    escape_time = time.time()
    try:
        status = game_process.wait(timeout=exit_seconds)
    except subprocess.TimeoutExpired:
        fail("the game did not end within %g s of Escape" % exit_seconds)
    log("game ended %.2f s after Escape with status %d" % (time.time() - escape_time, status))
    if status != 0:
        fail("exit status %d" % status)


def play(command, cwd, source, display, env=None, exit_seconds=None, stderr=None):
    """Plays one game of the program started by `command` in `cwd` on `display`, from
    start-up to Escape, and checks each step against the pictures under `source`.
    `env` is the program's environment (the display's by default); `exit_seconds`
    bounds the wait for the exit after Escape (TESSAK_E2E_EXIT_SECONDS, or 30 s);
    `stderr`, a file, takes the program's error output."""
    if exit_seconds is None:
        exit_seconds = float(os.environ.get("TESSAK_E2E_EXIT_SECONDS", "30"))
    shots = tempfile.mkdtemp(prefix="tessak-e2e-")
    menu_picture = over_black(picture(source, "mainmenu1.png"))
    backdrop = over_black(picture(source, "backdrop.png"))
    arcade = picture(source, "buttonarcade.png")

    game_process = None
    try:
        game_process = subprocess.Popen(command, cwd=cwd, env=env or display.env, stderr=stderr)
        wait_for_menu(game_process, source, display, shots)

        def buttons_and_title(shot):
            arcade_box = (5, 230, 5 + 229, 230 + 50)
            arcade_drawn = over_black(arcade)
            button_ok = difference(shot.crop(arcade_box), arcade_drawn) < 25
            title_ok = difference(shot.crop((5, 5, 311, 160)), menu_picture.crop((5, 5, 311, 160))) > 10
            return button_ok and title_ok
        shot, _ = wait_for("buttons", buttons_and_title, 60, display, shots)
        log("buttons and title shown")

        display.run("xdotool", "mousemove", "100", "255")
        display.run("xdotool", "mousedown", "1")
        time.sleep(0.2)
        display.run("xdotool", "mouseup", "1")
        display.run("xdotool", "mousemove", "700", "100")

        def pair_entered(shot):
            panel = (600, 40, 790, 360)
            if difference(shot.crop(panel), backdrop.crop(panel)) > 12:
                return None
            cells = occupied_cells(shot, backdrop)
            if len(cells) == 2 and cells[0][0] == cells[1][0] and [c for _, c in cells] == [7, 8]:
                return cells
            return None
        shot, cells = wait_for("play", pair_entered, 60, display, shots)
        log("backdrop and pair shown at %s" % cells)
        if cells[0][0] > 2:
            fail("the pair entered below the top rows: %s" % cells)

        def pair_at(columns, stacked=False):
            def check(shot):
                cells = occupied_cells(shot, backdrop)
                if len(cells) != 2:
                    return None
                (r0, c0), (r1, c1) = cells
                if stacked:
                    return cells if c0 == c1 == columns[0] and r1 == r0 + 1 else None
                return cells if r0 == r1 and [c0, c1] == columns else None
            return check

        tap(display, "Left")
        _, cells = wait_for("left", pair_at([6, 7]), 30, display, shots)
        log("after Left: %s" % cells)
        tap(display, "Right")
        _, cells = wait_for("right", pair_at([7, 8]), 30, display, shots)
        log("after Right: %s" % cells)
        tap(display, "Up")
        _, cells = wait_for("turn", pair_at([7], stacked=True), 30, display, shots)
        log("after Up: %s" % cells)

        log("memory while playing: %s" % memory_report(game_process.pid))
        tap(display, "Escape")
        wait_for_exit(game_process, exit_seconds)
        game_process = None
    finally:
        stop(game_process)


def main():
    if len(sys.argv) != 3:
        fail(__doc__)
    game, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    # Started from a folder without resources/ (the program finds its own), with a
    # log that cannot be written (Log.html taken by a folder): the game plays on.
    work = tempfile.mkdtemp(prefix="tessak-e2e-start-")
    os.makedirs(os.path.join(work, "data", "Tessak", "Log.html"))
    display = Display()
    try:
        env = dict(display.env, XDG_DATA_HOME=os.path.join(work, "data"))
        play([game], work, source, display, env)
    finally:
        display.close()
        shutil.rmtree(work, ignore_errors=True)
    log("PASS")




if __name__ == "__main__":
    main()
