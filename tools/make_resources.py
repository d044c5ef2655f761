#!/usr/bin/python3
"""Draws every picture of the game and writes them under resources/.

Everything is drawn in code with Pillow (Debian: python3-pil); text comes from
DejaVu Sans (Debian: fonts-dejavu-core). Shapes are drawn at several times the
final size and averaged down, which gives clean anti-aliased edges. The output
is deterministic, so the pictures can be remade at any time:

    /usr/bin/python3 tools/make_resources.py [output-folder]
    /usr/bin/python3 tools/make_resources.py --examples [source-root]

The second form draws the pictures of the example games in examples/games/.

Every PNG is written with 8 bits per channel (RGBA), and the icon holds 48, 32
and 16 pixel images in the classic bitmap form that every icon reader accepts.
"""

import math
import os
import random
import re
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
FONT_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
FONT_CONDENSED_BOLD = os.path.join(FONT_DIR, "DejaVuSansCondensed-Bold.ttf")
FONT_MONO_BOLD = os.path.join(FONT_DIR, "DejaVuSansMono-Bold.ttf")

HERE = os.path.dirname(os.path.abspath(__file__))
GAME_SOURCES = os.path.join(HERE, "..", "src", "game")


def game_constants(*headers):
    """The game's `constexpr std::int32_t NAME = N;` lines, by name.

    The play screen draws its pieces where these say; the backdrop's empty cells
    must lie under them, so the geometry is read from the game, not copied."""
    pattern = re.compile(r"constexpr\s+std::int32_t\s+(\w+)\s*=\s*(-?\d+)\s*;")
    values = {}
    for header in headers:
        with open(os.path.join(GAME_SOURCES, header), encoding="utf-8") as source:
            values.update((name, int(value)) for name, value in pattern.findall(source.read()))
    return values


def geometry():
    values = game_constants("play_layout.h", "board.h")
    names = ("PIECE_SIZE", "CELL_PITCH", "CELL_LEFT", "CELL_TOP", "FIELD_COLUMNS",
             "PREVIEW_PIVOT_X", "PREVIEW_Y")
    missing = [name for name in names if name not in values]
    if missing:
        sys.exit("make_resources: src/game/ no longer defines " + ", ".join(missing))
    return [values[name] for name in names]


# Play-screen geometry: where the board draws its cells and the preview. The
# field proper is square: FIELD_COLUMNS rows of FIELD_COLUMNS cells.
CELL, CELL_STEP, FIELD_X, FIELD_Y, FIELD_CELLS, PREVIEW_X, PREVIEW_Y = geometry()

# Palette shared by the screens.
NIGHT = (10, 12, 30)
DUSK = (38, 26, 78)
STEEL_LIGHT = (150, 172, 230)
STEEL_DARK = (22, 28, 62)
WELL_FLOOR = (9, 11, 24)
WELL_CELL = (19, 23, 46)
WELL_CELL_EDGE = (29, 35, 66)
GOLD_LIGHT = (255, 236, 150)
CYAN = (110, 210, 255)

# The four piece kinds: colour ramp (light, base, dark, outline) and shape.
PIECE_STYLES = [
    ("hexagon", (255, 150, 160), (220, 36, 60), (120, 10, 30), (70, 0, 16)),
    ("orb", (190, 255, 170), (40, 185, 70), (8, 90, 30), (0, 50, 16)),
    ("square", (170, 210, 255), (45, 110, 230), (16, 44, 130), (6, 20, 70)),
    ("triangle", (255, 245, 170), (245, 190, 30), (165, 100, 0), (95, 52, 0)),
]

BUTTONS = [
    ("arcade", "Arcade"),
    ("options", "Options"),
    ("credits", "Credits"),
    ("advanced", "Advanced"),
    ("quit", "Quit"),
]


# ---------------------------------------------------------------- helpers

def mix(a, b, t):
    """Colour between a and b; t = 0 gives a, t = 1 gives b."""
    t = max(0.0, min(1.0, t))
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def with_alpha(colour, alpha):
    return tuple(colour[:3]) + (alpha,)


def font(size, path=FONT_BOLD):
    return ImageFont.truetype(path, size)


def vertical_gradient(size, top, bottom):
    mask = Image.linear_gradient("L").resize(size, Image.BILINEAR)
    return Image.composite(Image.new("RGBA", size, with_alpha(bottom, 255)),
                           Image.new("RGBA", size, with_alpha(top, 255)), mask)


def box_gradient(size, box, top, bottom):
    """A picture of the given size, clear except for a gradient filling box."""
    x0, y0, x1, y1 = (int(v) for v in box)
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    layer.paste(vertical_gradient((x1 - x0 + 1, y1 - y0 + 1), top, bottom), (x0, y0))
    return layer


def radial_gradient(size, centre, radius, inner, outer):
    """inner at centre, fading to outer at radius and beyond."""
    mask = Image.new("L", size, 255)
    spot = Image.radial_gradient("L").resize((2 * radius, 2 * radius), Image.BILINEAR)
    # radial_gradient reaches 255 only at its corners: stretch so the rim is 255.
    spot = spot.point(lambda v: min(255, int(v * 1.42)))
    mask.paste(spot, (int(centre[0] - radius), int(centre[1] - radius)))
    return Image.composite(Image.new("RGBA", size, with_alpha(outer, 255)),
                           Image.new("RGBA", size, with_alpha(inner, 255)), mask)


def fill_through(base, paint, mask):
    """Lays paint over base wherever mask (L) is set."""
    layer = paint.copy()
    layer.putalpha(ImageChops.multiply(paint.getchannel("A"), mask))
    base.alpha_composite(layer)


def downsample(image, factor):
    # Pillow resizes RGBA premultiplied, so edges stay free of dark fringes.
    w, h = image.size
    return image.resize((w // factor, h // factor), Image.BOX)


def scaled(points, factor):
    return [(x * factor, y * factor) for x, y in points]


def glow(mask, colour, radius, strength=1.0):
    """A soft halo of colour around the set pixels of mask."""
    halo = mask.filter(ImageFilter.GaussianBlur(radius))
    if strength != 1.0:
        halo = halo.point(lambda v: min(255, int(v * strength)))
    layer = Image.new("RGBA", mask.size, with_alpha(colour, 255))
    layer.putalpha(halo)
    return layer


def bleed_edges(image):
    """Gives fully transparent pixels the colour of their visible neighbours.

    Filtered drawing (scaling, turning) mixes a border pixel with its
    transparent neighbour; with black there the edge would darken.
    """
    premultiplied = image.convert("RGBa")
    spread = premultiplied
    for radius in (1, 2, 4):
        spread = spread.filter(ImageFilter.BoxBlur(radius))
    spread = spread.convert("RGBA")
    spread.putalpha(0)
    visible = image.getchannel("A").point(lambda v: 255 if v > 0 else 0)
    return Image.composite(image, spread, visible)


def text_mask(size, text, fnt, xy, anchor="mm", stroke=0, spacing=0):
    """L mask of text; spacing adds extra pixels between letters."""
    mask = Image.new("L", size, 0)
    draw = ImageDraw.Draw(mask)
    if spacing == 0:
        draw.text(xy, text, font=fnt, fill=255, anchor=anchor,
                  stroke_width=stroke, stroke_fill=255)
        return mask
    widths = [draw.textlength(ch, font=fnt) for ch in text]
    total = sum(widths) + spacing * (len(text) - 1)
    x = xy[0] - total / 2 if anchor[0] == "m" else xy[0]
    for ch, w in zip(text, widths):
        draw.text((x, xy[1]), ch, font=fnt, fill=255, anchor="l" + anchor[1],
                  stroke_width=stroke, stroke_fill=255)
        x += w + spacing
    return mask


def fit_font(text, width, height, start, path=FONT_BOLD):
    """The largest size up to start at which text fits the box."""
    size = start
    while size > 6:
        fnt = font(size, path)
        left, top, right, bottom = fnt.getbbox(text)
        if right - left <= width and bottom - top <= height:
            return fnt
        size -= 1
    return font(size, path)


def rounded_mask(size, box, radius):
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(box, radius=radius, fill=255)
    return mask


def inset(points, centre, amount):
    """Shrinks a polygon about centre so that every edge moves in by amount.

    centre must lie equally far from every edge (the centre of a regular
    polygon, the incentre of a triangle).
    """
    cx, cy = centre
    (x0, y0), (x1, y1) = points[0], points[1]
    inradius = abs((x1 - x0) * (y0 - cy) - (x0 - cx) * (y1 - y0)) / math.hypot(x1 - x0, y1 - y0)
    k = (inradius - amount) / inradius
    return [(cx + (x - cx) * k, cy + (y - cy) * k) for x, y in points]


# ---------------------------------------------------------------- pieces

LIGHT_FROM = (-0.55, -0.83)  # towards the light: upper left


def bevelled_polygon(points, centre, bevel, style, factor):
    """A faceted tile: one shaded facet per edge around a lit top face."""
    _, light, base, dark, outline = style
    size = CELL * factor
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    outer = scaled(points, factor)
    c = (centre[0] * factor, centre[1] * factor)
    draw.polygon(outer, fill=outline)
    body = inset(outer, c, 1.0 * factor)
    top = inset(outer, c, (1.0 + bevel) * factor)
    for i in range(len(body)):
        a, b = body[i], body[(i + 1) % len(body)]
        nx, ny = b[1] - a[1], a[0] - b[0]
        length = math.hypot(nx, ny)
        facing = (nx * LIGHT_FROM[0] + ny * LIGHT_FROM[1]) / length
        colour = mix(dark, light, 0.5 + 0.55 * facing)
        draw.polygon([a, b, top[(i + 1) % len(top)], top[i]], fill=colour)
    xs = [p[0] for p in top]
    ys = [p[1] for p in top]
    face = vertical_gradient((size, size), mix(base, light, 0.35), mix(base, dark, 0.2))
    face_mask = Image.new("L", (size, size), 0)
    ImageDraw.Draw(face_mask).polygon(top, fill=255)
    fill_through(image, face, face_mask)
    # A short gleam across the upper left of the face.
    gleam = Image.new("L", (size, size), 0)
    gx, gy = min(xs), min(ys)
    w, h = max(xs) - gx, max(ys) - gy
    ImageDraw.Draw(gleam).ellipse((gx + w * 0.12, gy + h * 0.08, gx + w * 0.55, gy + h * 0.34), fill=120)
    gleam = ImageChops.multiply(gleam.filter(ImageFilter.GaussianBlur(factor)), face_mask)
    fill_through(image, Image.new("RGBA", (size, size), (255, 255, 255, 255)), gleam)
    return image


def orb(style, factor):
    _, light, base, dark, outline = style
    size = CELL * factor
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    r = 14.6 * factor
    c = 16 * factor
    disc = Image.new("L", (size, size), 0)
    ImageDraw.Draw(disc).ellipse((c - r, c - r, c + r, c + r), fill=255)
    fill_through(image, Image.new("RGBA", (size, size), with_alpha(outline, 255)), disc)
    r_in = r - 1.1 * factor
    body = Image.new("L", (size, size), 0)
    ImageDraw.Draw(body).ellipse((c - r_in, c - r_in, c + r_in, c + r_in), fill=255)
    shading = radial_gradient((size, size), (11.5 * factor, 10.5 * factor), int(22 * factor),
                              light, dark)
    core = radial_gradient((size, size), (13 * factor, 12 * factor), int(14 * factor), base, dark)
    core.putalpha(110)
    shading.alpha_composite(core)
    fill_through(image, shading, body)
    # Bounced light along the lower right rim.
    rim = Image.new("L", (size, size), 0)
    ImageDraw.Draw(rim).arc((c - r_in + factor, c - r_in + factor, c + r_in - factor, c + r_in - factor),
                            10, 100, fill=140, width=int(1.5 * factor))
    rim = rim.filter(ImageFilter.GaussianBlur(factor * 0.8))
    fill_through(image, Image.new("RGBA", (size, size), with_alpha(light, 255)), rim)
    spec = Image.new("L", (size, size), 0)
    ImageDraw.Draw(spec).ellipse((7 * factor, 5.5 * factor, 16 * factor, 11.5 * factor), fill=230)
    spec = spec.filter(ImageFilter.GaussianBlur(1.1 * factor))
    fill_through(image, Image.new("RGBA", (size, size), (255, 255, 255, 255)), spec)
    return image


def piece(kind, factor=8):
    style = PIECE_STYLES[kind]
    shape = style[0]
    if shape == "orb":
        big = orb(style, factor)
    elif shape == "hexagon":
        pts = [(16 + 15.4 * math.sin(math.radians(a)), 16 - 15.4 * math.cos(math.radians(a)))
               for a in range(0, 360, 60)]
        big = bevelled_polygon(pts, (16, 16), 3.4, style, factor)
    elif shape == "square":
        pts = [(1.5, 1.5), (30.5, 1.5), (30.5, 30.5), (1.5, 30.5)]
        big = bevelled_polygon(pts, (16, 16), 3.2, style, factor)
    else:
        top, right, left = (16, 1.2), (31, 29.5), (1, 29.5)
        # The incentre keeps the bevel equally wide along all three sides.
        a = math.dist(right, left)
        b = math.dist(top, left)
        c = math.dist(top, right)
        centre = ((a * top[0] + b * right[0] + c * left[0]) / (a + b + c),
                  (a * top[1] + b * right[1] + c * left[1]) / (a + b + c))
        big = bevelled_polygon([top, right, left], centre, 2.8, style, factor)
    return bleed_edges(downsample(big, factor))


# ---------------------------------------------------------------- backdrop

def starfield(image, count, seed, area=None, brightness=150):
    rng = random.Random(seed)
    draw = ImageDraw.Draw(image)
    w, h = image.size
    x0, y0, x1, y1 = area or (0, 0, w, h)
    for _ in range(count):
        x, y = rng.uniform(x0, x1), rng.uniform(y0, y1)
        v = rng.randint(brightness // 3, brightness)
        r = rng.choice((0.6, 0.6, 0.6, 1.0, 1.4))
        draw.ellipse((x - r, y - r, x + r, y + r), fill=(v, v, min(255, v + 40), 255))


def night_sky(size, seed):
    w, h = size
    sky = vertical_gradient(size, NIGHT, DUSK)
    haze = radial_gradient(size, (w * 0.7, h * 0.25), int(max(w, h) * 0.6), (56, 40, 110), DUSK)
    haze.putalpha(Image.linear_gradient("L").resize(size).point(lambda v: 255 - v // 2))
    sky.alpha_composite(haze)
    # Faint diagonal light bands give the background some depth.
    bands = Image.new("L", size, 0)
    draw = ImageDraw.Draw(bands)
    for i, x in enumerate(range(-h, w, 90)):
        draw.polygon([(x, h), (x + 34 + 10 * (i % 3), h), (x + h + 34 + 10 * (i % 3), 0), (x + h, 0)],
                     fill=9 + 5 * (i % 2))
    bands = bands.filter(ImageFilter.GaussianBlur(6))
    fill_through(sky, Image.new("RGBA", size, (150, 170, 255, 255)), bands)
    starfield(sky, int(w * h / 2600), seed)
    return sky


def metal_frame(image, box, radius, thickness):
    """A bevelled steel frame whose inside (box shrunk by thickness) is left as is."""
    x0, y0, x1, y1 = box
    size = image.size
    outer = rounded_mask(size, box, radius)
    inner = rounded_mask(size, (x0 + thickness, y0 + thickness, x1 - thickness, y1 - thickness),
                         max(1, radius - thickness))
    ring = ImageChops.subtract(outer, inner)
    image.alpha_composite(glow(outer, (0, 0, 0), 6, 0.8))
    fill_through(image, box_gradient(size, box, STEEL_LIGHT, STEEL_DARK), ring)
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle(box, radius=radius, outline=(200, 215, 255, 255), width=1)
    draw.rounded_rectangle((x0 + 1, y0 + 1, x1 - 1, y1 - 1), radius=radius, outline=(40, 50, 100, 255), width=1)
    draw.rounded_rectangle((x0 + thickness - 1, y0 + thickness - 1, x1 - thickness + 1, y1 - thickness + 1),
                           radius=max(1, radius - thickness + 1), outline=(20, 24, 52, 255), width=1)
    draw.rounded_rectangle((x0 + thickness - 2, y0 + thickness - 2, x1 - thickness + 2, y1 - thickness + 2),
                           radius=max(1, radius - thickness + 2), outline=(175, 190, 240, 255), width=1)


def cell_slot(draw, x, y):
    """One empty cell of the well: exactly where a 32 x 32 piece is drawn."""
    draw.rectangle((x, y, x + CELL - 1, y + CELL - 1), fill=WELL_CELL)
    draw.line((x, y, x + CELL - 1, y), fill=WELL_CELL_EDGE)
    draw.line((x, y, x, y + CELL - 1), fill=WELL_CELL_EDGE)


def backdrop():
    size = (800, 600)
    image = night_sky(size, seed=7)
    draw = ImageDraw.Draw(image)

    # The well: 16 x 16 cells of 32 pixels with 1-pixel gaps.
    span = FIELD_CELLS * CELL_STEP - 1
    fx0, fy0 = FIELD_X, FIELD_Y
    fx1, fy1 = fx0 + span - 1, fy0 + span - 1        # last pixel of the field
    pad, frame = 3, 10
    metal_frame(image, (fx0 - pad - frame, fy0 - pad - frame, fx1 + pad + frame, fy1 + pad + frame), 12, frame)
    draw.rectangle((fx0 - pad, fy0 - pad, fx1 + pad, fy1 + pad), fill=WELL_FLOOR)
    for row in range(FIELD_CELLS):
        for column in range(FIELD_CELLS):
            cell_slot(draw, fx0 + CELL_STEP * column, fy0 + CELL_STEP * row)
    # Inner shadow under the top and left rims.
    shade = Image.new("L", size, 0)
    ImageDraw.Draw(shade).rectangle((fx0 - pad, fy0 - pad, fx1 + pad, fy0 + 6), fill=70)
    ImageDraw.Draw(shade).rectangle((fx0 - pad, fy0 - pad, fx0 + 4, fy1 + pad), fill=50)
    shade = ImageChops.multiply(shade.filter(ImageFilter.GaussianBlur(4)),
                                rounded_mask(size, (fx0 - pad, fy0 - pad, fx1 + pad, fy1 + pad), 0))
    fill_through(image, Image.new("RGBA", size, (0, 0, 0, 255)), shade)

    side_panel(image)
    return image


def label(image, text, centre, fnt, colour=(235, 240, 255), shadow=(0, 0, 0), spacing=0):
    mask = text_mask(image.size, text, fnt, centre, spacing=spacing)
    image.alpha_composite(glow(mask, shadow, 2, 1.6))
    fill_through(image, Image.new("RGBA", image.size, with_alpha(colour, 255)), mask)


def panel(image, box):
    """A dark glass panel with a blue rim."""
    inside = rounded_mask(image.size, box, 14)
    paint = box_gradient(image.size, box, (24, 26, 62), (14, 14, 36))
    paint.putalpha(paint.getchannel("A").point(lambda v: v * 205 // 255))
    image.alpha_composite(glow(inside, (0, 0, 0), 6, 0.7))
    fill_through(image, paint, inside)
    ImageDraw.Draw(image).rounded_rectangle(box, radius=14, outline=(90, 110, 190, 255), width=2)


def side_panel(image):
    px0, px1 = 608, 786
    centre_x = (px0 + px1) // 2

    # Upper panel: the game's name and the four kinds that fall.
    panel(image, (px0, 20, px1, 186))
    title = title_text((px1 - px0 - 16, 64), 52)
    image.alpha_composite(title, (centre_x - title.width // 2, 34))
    draw = ImageDraw.Draw(image)
    draw.line((px0 + 20, 112, px1 - 20, 112), fill=(90, 110, 190, 255), width=1)
    for i in range(4):
        image.alpha_composite(piece(i), (centre_x - 70 + 36 * i, 134))

    # Lower panel: the next pair and the keys.
    panel(image, (px0, 318, px1, 570))
    size = image.size
    # The preview box around the two next cells.
    preview_w = 2 * CELL + 1
    bx0, bx1 = PREVIEW_X - 24, PREVIEW_X + preview_w + 23
    by0, by1 = PREVIEW_Y - 50, PREVIEW_Y + CELL + 16
    metal_frame(image, (bx0, by0, bx1, by1), 10, 6)
    draw.rounded_rectangle((bx0 + 6, by0 + 6, bx1 - 6, by1 - 6), radius=4, fill=(12, 14, 32, 255))
    header = vertical_gradient(size, (70, 90, 170), (34, 40, 96))
    fill_through(image, header, rounded_mask(size, (bx0 + 6, by0 + 6, bx1 - 6, by0 + 32), 4))
    label(image, "Next", ((bx0 + bx1) // 2, by0 + 20), font(17))
    draw.rectangle((PREVIEW_X - 3, PREVIEW_Y - 3, PREVIEW_X + preview_w + 2, PREVIEW_Y + CELL + 2),
                   fill=WELL_FLOOR)
    for i in range(2):
        cell_slot(draw, PREVIEW_X + CELL_STEP * i, PREVIEW_Y)

    # How to play.
    keys = [("\u2190  \u2192", "move"), ("\u2191", "turn"), ("Esc", "quit")]
    small = font(15)
    top = by1 + 32
    label(image, "Controls", (centre_x, top), font(15, FONT_CONDENSED_BOLD), colour=(150, 170, 230))
    for i, (key, action) in enumerate(keys):
        y = top + 30 + 26 * i
        label(image, key, (centre_x - 30, y), small, colour=GOLD_LIGHT)
        label(image, action, (centre_x + 36, y), font(15, FONT_CONDENSED_BOLD))


# ---------------------------------------------------------------- title

def title_text(size, start, subtitle=None, factor=3):
    """The word "Tessak" in gold with a dark outline, extruded slightly."""
    w, h = size
    W, H = w * factor, h * factor
    text_h = h if subtitle is None else h * 0.72
    fnt = fit_font("Tessak", (w - 14) * factor, (text_h - 14) * factor, start * factor)
    centre = (W // 2, int(text_h * factor / 2) - 2 * factor)
    mask = text_mask((W, H), "Tessak", fnt, centre)
    outline = text_mask((W, H), "Tessak", fnt, centre, stroke=int(3 * factor))
    image = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    image.alpha_composite(glow(outline, (255, 170, 40), 7 * factor, 0.55))
    depth = int(5 * factor * h / 155) + factor
    for d in range(depth, 0, -1):
        shifted = ImageChops.offset(outline, 0, d)
        fill_through(image, Image.new("RGBA", (W, H), with_alpha(mix((20, 10, 30), (110, 50, 10), 1 - d / depth), 255)),
                     shifted)
    fill_through(image, Image.new("RGBA", (W, H), (40, 18, 8, 255)), outline)
    box = mask.getbbox()
    paint = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    band = vertical_gradient((W, box[3] - box[1]), (255, 250, 200), (240, 130, 20))
    paint.paste(band, (0, box[1]))
    # A bright shine line across the upper half of the letters.
    shine_y = box[1] + (box[3] - box[1]) * 0.42
    ImageDraw.Draw(paint).rectangle((0, shine_y, W, shine_y + factor * 1.2), fill=(255, 250, 220, 255))
    fill_through(image, paint, mask)
    if subtitle:
        sub_font = fit_font(subtitle, w * factor * 0.8, h * factor * 0.12, 17 * factor, FONT_CONDENSED_BOLD)
        sub_centre = (W // 2, int(h * factor * 0.86))
        sub = text_mask((W, H), subtitle, sub_font, sub_centre, spacing=int(3 * factor))
        image.alpha_composite(glow(sub, (0, 0, 0), 2 * factor, 1.8))
        fill_through(image, Image.new("RGBA", (W, H), with_alpha(CYAN, 255)), sub)
    return bleed_edges(downsample(image, factor))


def title():
    return title_text((306, 155), 100, subtitle="FALLING  PAIR  PUZZLE")


# ---------------------------------------------------------------- menu

def menu_picture():
    size = (348, 600)
    w, h = size
    image = night_sky(size, seed=11)
    # A warm halo behind the title, which sits at (5, 5), 306 x 155.
    halo = Image.new("L", size, 0)
    ImageDraw.Draw(halo).ellipse((20, 10, 300, 160), fill=110)
    image.alpha_composite(glow(halo, (150, 90, 200), 30))

    # A tray behind the column of buttons (x 5, y 230 to 560, 229 wide).
    tray = rounded_mask(size, (-20, 216, 246, 574), 18)
    tray_paint = vertical_gradient(size, (16, 18, 48), (10, 10, 30))
    tray_paint.putalpha(190)
    image.alpha_composite(glow(tray, (0, 0, 0), 8, 0.8))
    fill_through(image, tray_paint, tray)
    ImageDraw.Draw(image).rounded_rectangle((-20, 216, 246, 574), radius=18, outline=(80, 100, 180, 255), width=2)

    # A small well on the right with a pile of pieces, as a hint of the game.
    wx0, wy0, step = 258, 250, 33
    tiles = [piece(k) for k in range(4)]
    frame_box = (wx0 - 8, wy0 - 8, wx0 + 2 * step + 8 - 1, 574)
    metal_frame(image, frame_box, 8, 6)
    draw = ImageDraw.Draw(image)
    draw.rectangle((wx0 - 2, wy0 - 2, wx0 + 2 * step + 1, 574 - 6), fill=WELL_FLOOR)
    rows = (574 - 6 - wy0) // step
    pile = {(rows - 1, 0): 2, (rows - 1, 1): 0, (rows - 2, 0): 3, (rows - 2, 1): 1,
            (rows - 3, 1): 2, (rows - 4, 1): 0, (rows - 3, 0): 3, (rows - 6, 0): 1, (rows - 6, 1): 3}
    for row in range(rows):
        for column in range(2):
            x, y = wx0 + step * column, wy0 + 4 + step * row
            cell_slot(draw, x, y)
            if (row, column) in pile:
                image.alpha_composite(tiles[pile[(row, column)]], (x, y))

    # A bright edge where the menu meets the black screen.
    edge = Image.new("L", size, 0)
    ImageDraw.Draw(edge).rectangle((w - 3, 0, w - 1, h), fill=255)
    image.alpha_composite(glow(edge, CYAN, 3, 1.2))
    ImageDraw.Draw(image).line((w - 1, 0, w - 1, h), fill=(200, 235, 255, 255))
    label(image, "Tessak Games", (122, 588), font(11), colour=(130, 140, 190))
    return image


def button(text, hover, factor=4):
    w, h = 229, 50
    W, H = w * factor, h * factor
    image = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    plate = (2 * factor, 2 * factor, W - 3 * factor, H - 3 * factor)
    radius = 13 * factor
    shape = rounded_mask((W, H), plate, radius)
    if hover:
        top, bottom, rim, text_colour = (255, 206, 90), (200, 90, 10), (255, 246, 200), (255, 255, 255)
        image.alpha_composite(glow(shape, (255, 200, 80), 2 * factor, 1.6))
    else:
        top, bottom, rim, text_colour = (74, 96, 178), (22, 28, 78), (140, 165, 240), (225, 232, 255)
        image.alpha_composite(glow(shape, (0, 0, 0), 2 * factor, 1.2))
    fill_through(image, Image.new("RGBA", (W, H), with_alpha(rim, 255)), shape)
    body_box = (plate[0] + 2 * factor, plate[1] + 2 * factor, plate[2] - 2 * factor, plate[3] - 2 * factor)
    body = rounded_mask((W, H), body_box, radius - 2 * factor)
    fill_through(image, vertical_gradient((W, H), top, bottom), body)
    # Glass gloss over the upper half.
    gloss = rounded_mask((W, H), (body_box[0] + 3 * factor, body_box[1] + factor,
                                  body_box[2] - 3 * factor, (body_box[1] + body_box[3]) // 2), 9 * factor)
    gloss_paint = Image.new("RGBA", (W, H), (255, 255, 255, 255))
    gloss_paint.putalpha(Image.linear_gradient("L").resize((W, H)).point(lambda v: max(0, 95 - int(v * 0.9))))
    fill_through(image, gloss_paint, gloss)
    # A small diamond marker before the label.
    mx, my = 22 * factor, H // 2 - factor // 2
    d = 6 * factor
    marker = [(mx, my - d), (mx + d, my), (mx, my + d), (mx - d, my)]
    draw = ImageDraw.Draw(image)
    draw.polygon(marker, fill=(255, 255, 255, 255) if hover else (255, 200, 80, 255),
                 outline=(60, 30, 0, 255) if hover else (40, 20, 0, 255))
    fnt = font(25 * factor)
    centre = ((W + 16 * factor) // 2, H // 2 - factor // 2)
    mask = text_mask((W, H), text, fnt, centre)
    shadow = text_mask((W, H), text, fnt, (centre[0], centre[1] + 2 * factor), stroke=int(1.5 * factor))
    image.alpha_composite(glow(shadow, (0, 0, 0) if not hover else (90, 30, 0), factor, 2.0))
    fill_through(image, Image.new("RGBA", (W, H), with_alpha(text_colour, 255)), mask)
    return bleed_edges(downsample(image, factor))


# ---------------------------------------------------------------- intro and icon

def four_tiles(size, factor=8):
    """The studio mark: the four piece kinds in a 2 x 2 block."""
    tiles = Image.new("RGBA", (64, 64), (0, 0, 0, 0))
    for i in range(4):
        tiles.alpha_composite(piece(i, factor), ((i % 2) * 32, (i // 2) * 32))
    return tiles.resize((size, size), Image.LANCZOS)


def logo(factor=3):
    w, h = 400, 100
    W, H = w * factor, h * factor
    image = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    # The mark: a dark rounded plate holding the four kinds.
    plate_box = (6 * factor, 6 * factor, 94 * factor, 94 * factor)
    plate = rounded_mask((W, H), plate_box, 16 * factor)
    image.alpha_composite(glow(plate, (40, 50, 110), 3 * factor, 0.6))
    fill_through(image, vertical_gradient((W, H), (44, 52, 120), (14, 16, 44)), plate)
    mark = four_tiles(70 * factor)
    image.alpha_composite(mark, (15 * factor, 15 * factor))
    navy = (24, 30, 74)
    big = fit_font("TESSAK", 290 * factor, 52 * factor, 60 * factor)
    name = text_mask((W, H), "TESSAK", big, (108 * factor, 46 * factor), anchor="ls", spacing=int(4 * factor))
    fill_through(image, vertical_gradient((W, H), (40, 52, 130), navy), name)
    ImageDraw.Draw(image).rectangle((110 * factor, 56 * factor, 392 * factor, 58 * factor), fill=(245, 170, 30, 255))
    small = font(21 * factor, FONT_CONDENSED_BOLD)
    studio = text_mask((W, H), "GAMES", small, (110 * factor, 88 * factor), anchor="ls", spacing=int(12 * factor))
    fill_through(image, Image.new("RGBA", (W, H), (90, 100, 140, 255)), studio)
    return bleed_edges(downsample(image, factor))


def sparkle(factor=8):
    """The small extra picture: a four-pointed sparkle."""
    size = 32 * factor
    c = size / 2
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    shape = Image.new("L", (size, size), 0)
    long_, short = 15 * factor, 3.2 * factor
    ImageDraw.Draw(shape).polygon([(c, c - long_), (c + short, c - short), (c + long_, c), (c + short, c + short),
                                   (c, c + long_), (c - short, c + short), (c - long_, c), (c - short, c - short)],
                                  fill=255)
    image.alpha_composite(glow(shape, CYAN, 2.5 * factor, 1.5))
    fill_through(image, radial_gradient((size, size), (c, c), int(12 * factor), (255, 255, 255), CYAN), shape)
    return bleed_edges(downsample(image, factor))


def icon_image(size):
    factor = max(1, 256 // size)
    S = size * factor
    image = Image.new("RGBA", (S, S), (0, 0, 0, 0))
    plate = rounded_mask((S, S), (0, 0, S - 1, S - 1), S // 6)
    fill_through(image, vertical_gradient((S, S), (60, 70, 150), (14, 16, 44)), plate)
    border = max(1, S // 18)
    mark = four_tiles(S - 2 * border, factor=8)
    image.alpha_composite(mark, (border, border))
    return image.resize((size, size), Image.LANCZOS if factor == 1 else Image.BOX)


def write_ico(path, images):
    """An icon file with one 32-bit bitmap entry (colour plus AND mask) per image."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = [], []
    for image in images:
        w, h = image.size
        pixels = image.load()
        colour = bytearray()
        mask_stride = (w + 31) // 32 * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):  # bitmaps run bottom-up
            row_mask = bytearray(mask_stride)
            for x in range(w):
                r, g, b, a = pixels[x, y]
                colour += bytes((b, g, r, a))
                if a < 128:
                    row_mask[x // 8] |= 0x80 >> (x % 8)
            mask += row_mask
        info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
        blob = info + colour + mask
        entries.append(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    with open(path, "wb") as out:
        out.write(header + b"".join(entries) + b"".join(blobs))


# ---------------------------------------------------------------- runner font

# The bitmap font of tessak-run's drawText: the printable ASCII characters 32 to
# 126 in a grid of FONT_COLUMNS cells per row, row by row, each FONT_CELL pixels,
# white on transparent so that a tint colours it. src/runner/font.h names the
# same grid.
FONT_CELL = (12, 24)
FONT_COLUMNS = 16
FONT_FIRST, FONT_LAST = 32, 126


def bitmap_font(factor=4):
    cw, ch = FONT_CELL
    rows = (FONT_LAST - FONT_FIRST + FONT_COLUMNS) // FONT_COLUMNS
    mask = Image.new("L", (cw * FONT_COLUMNS * factor, ch * rows * factor), 0)
    draw = ImageDraw.Draw(mask)
    fnt = font(19 * factor, FONT_MONO_BOLD)
    for code in range(FONT_FIRST, FONT_LAST + 1):
        index = code - FONT_FIRST
        x = (index % FONT_COLUMNS) * cw * factor
        y = (index // FONT_COLUMNS) * ch * factor
        draw.text((x + cw * factor / 2, y + ch * factor * 0.8), chr(code), font=fnt, fill=255,
                  anchor="ms")
    alpha = downsample(mask.convert("RGB"), factor).convert("L")
    image = Image.new("RGBA", alpha.size, (255, 255, 255, 0))
    image.putalpha(alpha)
    return image


# ---------------------------------------------------------------- example games

def shaded_disc(size, factor=8):
    """A white ball with a soft highlight, to be tinted by the game."""
    big = size * factor
    image = radial_gradient((big, big), (int(big * 0.38), int(big * 0.35)), int(big * 0.75),
                            (255, 255, 255), (150, 150, 150))
    mask = Image.new("L", (big, big), 0)
    ImageDraw.Draw(mask).ellipse((factor, factor, big - factor, big - factor), fill=255)
    image.putalpha(mask)
    return downsample(image, factor)


def star(size, factor=8):
    """A white five-pointed star, to be tinted by the game."""
    big = size * factor
    centre = big / 2
    points = []
    for corner in range(10):
        radius = (big / 2 - factor) * (1.0 if corner % 2 == 0 else 0.45)
        angle = math.pi * corner / 5 - math.pi / 2
        points.append((centre + radius * math.cos(angle), centre + radius * math.sin(angle)))
    image = radial_gradient((big, big), (int(centre), int(centre)), int(big * 0.6),
                            (255, 255, 255), (170, 170, 170))
    mask = Image.new("L", (big, big), 0)
    ImageDraw.Draw(mask).polygon(points, fill=255)
    image.putalpha(mask)
    return downsample(image, factor)


def paddle(factor=8):
    w, h = 96 * factor, 16 * factor
    image = vertical_gradient((w, h), (255, 255, 255), (170, 170, 170))
    image.putalpha(rounded_mask((w, h), (0, 0, w - 1, h - 1), 7 * factor))
    return downsample(image, factor)


def example_pictures(root):
    """The pictures of the example games in examples/games/, drawn white so
    that each game tints them."""
    games = os.path.join(root, "examples", "games")
    for game in ("balls", "catch"):
        os.makedirs(os.path.join(games, game), exist_ok=True)
    save_png(shaded_disc(32), os.path.join(games, "balls"), "ball.png", (32, 32))
    save_png(star(24), os.path.join(games, "catch"), "star.png", (24, 24))
    save_png(paddle(), os.path.join(games, "catch"), "paddle.png", (96, 16))


# ---------------------------------------------------------------- output

def save_png(image, folder, name, size):
    image = image.convert("RGBA")
    if image.size != size:
        raise SystemExit(f"{name}: drawn {image.size}, expected {size}")
    image.save(os.path.join(folder, name), optimize=True)


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "--examples":
        example_pictures(sys.argv[2] if len(sys.argv) > 2 else os.path.join(HERE, ".."))
        return
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "resources")
    os.makedirs(folder, exist_ok=True)

    save_png(backdrop(), folder, "backdrop.png", (800, 600))
    save_png(menu_picture(), folder, "mainmenu1.png", (348, 600))
    for name, text in BUTTONS:
        save_png(button(text, hover=False), folder, f"button{name}.png", (229, 50))
        save_png(button(text, hover=True), folder, f"button{name}over.png", (229, 50))
    save_png(sparkle(), folder, "aaa.png", (32, 32))
    for kind in range(4):
        save_png(piece(kind), folder, f"peice{kind + 1}.png", (32, 32))
    save_png(Image.new("RGBA", (32, 32), (255, 255, 255, 255)), folder, "whitefade.png", (32, 32))
    save_png(logo(), folder, "logo.png", (400, 100))
    save_png(title(), folder, "tessak.png", (306, 155))
    write_ico(os.path.join(folder, "icon.ico"), [icon_image(s) for s in (48, 32, 16)])
    save_png(bitmap_font(), folder, "font.png", (FONT_CELL[0] * FONT_COLUMNS, FONT_CELL[1] * 6))


if __name__ == "__main__":
    main()
