"""What the tessak-run tests share: a game started on its own Xvfb (800 x 600,
openbox) with a private data folder, the built-in font drawn in Python to
compare with the screen, and the state file read back."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops, ImageStat

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from play_game import Display, fail, log, stop  # noqa: E402,F401

# The font grid of resources/font.png (src/runner/draw_list.h).
CELL_W, CELL_H, COLUMNS, FIRST = 12, 24, 16, 32


class Session:
    """tessak-run on a game folder (`command`: the program and its arguments), with
    its screen, its error output and its data folder."""

    def __init__(self, command, display=None, env=None, cwd=None):
        self.work = tempfile.mkdtemp(prefix="tessak-run-test-")
        self.display = display or Display()
        self.own_display = display is None
        self.data = os.path.join(self.work, "data")
        env = dict(env or self.display.env, XDG_DATA_HOME=self.data)
        self.stderr_path = os.path.join(self.work, "stderr.txt")
        self.stderr = open(self.stderr_path, "w")
        self.process = subprocess.Popen(command, env=env, cwd=cwd, stdout=subprocess.DEVNULL,
                                        stderr=self.stderr)
        self.shots = 0

    def screenshot(self):
        self.shots += 1
        return self.display.screenshot(os.path.join(self.work, "shot-%d.png" % self.shots))

    def key(self, *keys):
        self.display.run("xdotool", "key", "--delay", "60", *keys)

    def wait_for(self, what, check, seconds=60):
        """Screenshots until `check(shot)` holds; fails if the game ends first."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            if self.process.poll() is not None:
                fail("%s: the game ended early with status %s:\n%s" %
                     (what, self.process.returncode, self.errors()))
            shot = self.screenshot()
            if check(shot):
                return shot
            time.sleep(0.2)
        fail("%s did not show within %d s (last screenshot in %s)" % (what, seconds, self.work))

    def errors(self):
        self.stderr.flush()
        with open(self.stderr_path) as text:
            return text.read()

    def data_file(self, game, name):
        return os.path.join(self.data, "tessak-run", game, name)

    def wait_for_file(self, path, seconds=30):
        deadline = time.time() + seconds
        while time.time() < deadline:
            if os.path.exists(path):
                return
            time.sleep(0.1)
        fail("%s was not written within %d s" % (path, seconds))

    def finish(self, seconds=30):
        """Waits for the game to end; its exit status."""
        try:
            return self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            stop(self.process)
            fail("the game did not end within %d s" % seconds)

    def quit_with_escape(self):
        """Escape must end the game with status 0."""
        self.key("Escape")
        status = self.finish()
        if status != 0:
            fail("Escape ended the game with status %d: %s" % (status, self.errors()))

    def close(self, keep=False):
        stop(self.process)
        self.stderr.close()
        if self.own_display:
            self.display.close()
        if not keep:
            shutil.rmtree(self.work, ignore_errors=True)


def difference(a, b):
    """Mean absolute difference per channel of two same-sized RGB images, 0..255."""
    return sum(ImageStat.Stat(ImageChops.difference(a, b)).mean) / 3.0


def drawn_text(source, text, tint, background):
    """`text` as drawText draws it at scale 1 on `background`, cell by cell."""
    font = Image.open(os.path.join(source, "resources", "font.png")).convert("RGBA")
    image = Image.new("RGBA", (CELL_W * len(text), CELL_H), background + (255,))
    colour = Image.new("RGBA", (CELL_W, CELL_H), tint + (255,))
    for column, character in enumerate(text):
        index = ord(character) - FIRST
        cell = font.crop(((index % COLUMNS) * CELL_W, (index // COLUMNS) * CELL_H,
                          (index % COLUMNS + 1) * CELL_W, (index // COLUMNS + 1) * CELL_H))
        glyph = ImageChops.multiply(cell, colour)
        image.alpha_composite(glyph, (column * CELL_W, 0))
    return image.convert("RGB")


def shows_text(shot, source, x, y, text, tint, background, tolerance=6):
    """Whether the screenshot shows `text` drawn at (x, y)."""
    expected = drawn_text(source, text, tint, background)
    box = (x, y, x + expected.width, y + expected.height)
    return difference(shot.crop(box), expected) < tolerance


def closest_text(shot, source, x, y, candidates, tint, background):
    """Which of the same-length `candidates` the screenshot shows at (x, y), and how
    far it is from it (for renderers that filter the font's edges)."""
    scored = []
    for text in candidates:
        expected = drawn_text(source, text, tint, background)
        box = (x, y, x + expected.width, y + expected.height)
        scored.append((difference(shot.crop(box), expected), text))
    distance, text = min(scored)
    return text, distance


def read_state(path):
    """The `state` variables and the objects (id -> (script, keys)) of a state file."""
    with open(path, "rb") as handle:
        data = handle.read()
    at = [0]

    def take(fmt):
        value = struct.unpack_from("<" + fmt, data, at[0])
        at[0] += struct.calcsize("<" + fmt)
        return value[0]

    def string():
        length = take("i")
        text = data[at[0]:at[0] + length - 1].decode()
        at[0] += length
        return text

    values = {1: lambda: take("B") != 0, 3: lambda: take("d"), 4: string, 0: lambda: None}
    variables = {}
    while take("B") == 1:
        name = string()
        variables[name] = values[take("i")]()
    headers = []
    for _ in range(take("i")):
        take("i")
        script = string()
        headers.append((take("i"), script))
    objects = {}
    key_values = {1: lambda: take("d"), 2: string, 3: lambda: take("B") != 0}
    for identifier, script in headers:
        take("f")
        keys = {}
        for _ in range(take("i")):
            name = string()
            keys[name] = key_values[take("i")]()
        objects[identifier] = (script, keys)
    return variables, objects
