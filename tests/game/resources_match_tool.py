"""The committed pictures (resources/ and those of the example games under
examples/games/) are what tools/make_resources.py draws today.

The tool reads the play screen's geometry from the game's headers, so a cell
moved in src/game/play_layout.h without remaking the pictures leaves the
backdrop's empty cells beside the drawn pieces: this test catches that, and any
picture edited by hand. Pixels are compared, not bytes, so that another zlib
may pack them differently.

    python3 resources_match_tool.py <source-folder>
"""

import os
import subprocess
import sys
import tempfile

from PIL import Image


def same_pixels(drawn, committed):
    with Image.open(drawn) as a, Image.open(committed) as b:
        return a.size == b.size and a.convert("RGBA").tobytes() == b.convert("RGBA").tobytes()


def main():
    source = sys.argv[1]
    committed_folder = os.path.join(source, "resources")
    with tempfile.TemporaryDirectory() as drawn_folder:
        subprocess.run([sys.executable, os.path.join(source, "tools", "make_resources.py"),
                        drawn_folder], check=True)
        drawn = sorted(os.listdir(drawn_folder))
        differing = []
        for name in drawn:
            committed = os.path.join(committed_folder, name)
            if not os.path.exists(committed):
                differing.append(name + " (not committed)")
            elif name.endswith(".png"):
                if not same_pixels(os.path.join(drawn_folder, name), committed):
                    differing.append(name)
            else:
                with open(os.path.join(drawn_folder, name), "rb") as a, open(committed, "rb") as b:
                    if a.read() != b.read():
                        differing.append(name)
    with tempfile.TemporaryDirectory() as drawn_root:
        subprocess.run([sys.executable, os.path.join(source, "tools", "make_resources.py"),
                        "--examples", drawn_root], check=True)
        for folder, _, names in os.walk(drawn_root):
            for name in names:
                relative = os.path.relpath(os.path.join(folder, name), drawn_root)
                committed = os.path.join(source, relative)
                if not os.path.exists(committed) or not same_pixels(os.path.join(folder, name),
                                                                    committed):
                    differing.append(relative)
    if differing:
        print("resources/ differs from what tools/make_resources.py draws: " +
              ", ".join(differing))
        print("remake them with: /usr/bin/python3 tools/make_resources.py [--examples]")
        return 1
    print(f"{len(drawn)} pictures match the tool's drawing")
    return 0


if __name__ == "__main__":
    sys.exit(main())
