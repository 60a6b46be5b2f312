#!/usr/bin/python3
"""Draws every picture of Cadrix 2 into this folder.

Run with Debian's /usr/bin/python3 and PIL (python3-pil):

    /usr/bin/python3 resources/make_pictures.py

All randomness comes from fixed seeds and PNG files carry no time stamp, so a
second run reproduces the committed files byte for byte. The build does not
run this script; the PNG files are committed.
"""

import math
import os
import random
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))

LANCZOS = Image.Resampling.LANCZOS
BICUBIC = Image.Resampling.BICUBIC

FONT_DIRS = [
    "/usr/share/fonts/truetype/liberation2",
    "/usr/share/fonts/truetype/liberation",
    "/usr/share/fonts/truetype/dejavu",
]


def font(names, size):
    """The first of the named TrueType files that exists, else PIL's own font.

    A missing font never stops the script: the pictures then carry PIL's
    default bitmap font instead.
    """
    for name in names:
        for folder in FONT_DIRS:
            path = os.path.join(folder, name)
            if os.path.exists(path):
                return ImageFont.truetype(path, size)
    return ImageFont.load_default()


def scalable(fnt):
    return isinstance(fnt, ImageFont.FreeTypeFont)


def font_height(fnt):
    if scalable(fnt):
        return fnt.size
    left, top, right, bottom = fnt.getbbox("Ag")
    return bottom - top


def centred_text(draw, centre, text, fnt, fill, stroke=0, stroke_fill=None):
    """Draws text with its ink box centred on a point and returns that box.
    Works the same for PIL's bitmap fallback font, which knows no anchors
    and no outlines."""
    width = stroke if scalable(fnt) else 0
    l, t, r, b = draw.textbbox((0, 0), text, font=fnt, stroke_width=width)
    x = centre[0] - (l + r) / 2
    y = centre[1] - (t + b) / 2
    draw.text((x, y), text, font=fnt, fill=fill, stroke_width=width,
              stroke_fill=stroke_fill)
    return draw.textbbox((x, y), text, font=fnt, stroke_width=width)


SANS = ["LiberationSans-Regular.ttf", "DejaVuSans.ttf"]
SANS_BOLD = ["LiberationSans-Bold.ttf", "DejaVuSans-Bold.ttf"]
SANS_BOLD_ITALIC = ["LiberationSans-BoldItalic.ttf", "DejaVuSans-BoldOblique.ttf"]


def save(image, relpath, size, mode):
    assert image.size == size, (relpath, image.size, size)
    assert image.mode == mode, (relpath, image.mode, mode)
    path = os.path.join(HERE, relpath)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.save(path, "PNG")


def downsample(image, size):
    """Shrinks a supersampled drawing; RGBA is premultiplied so that
    transparent pixels do not bleed their colour into the edges."""
    if image.mode == "RGBA":
        return image.convert("RGBa").resize(size, LANCZOS).convert("RGBA")
    return image.resize(size, LANCZOS)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


# ---------------------------------------------------------------- stars

# Ratio of inner to outer radius of a regular five-pointed star.
STAR_INNER = math.cos(math.radians(72)) / math.cos(math.radians(36))
# Moving every edge of such a star inward by d shrinks its outer radius by
# d / sin(18 deg); the result is again a regular star.
STAR_TIP_FACTOR = 1.0 / math.sin(math.radians(18))


def star_points(cx, cy, radius):
    points = []
    for i in range(10):
        r = radius if i % 2 == 0 else radius * STAR_INNER
        a = math.radians(-90 + 36 * i)
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return points


def draw_star(draw, cx, cy, radius, edge, fill, edge_width):
    """A star with an edge of even width: the whole star in the edge colour,
    then the inner star in the fill colour (fill may be fully transparent)."""
    draw.polygon(star_points(cx, cy, radius), fill=edge)
    inner = radius - edge_width * STAR_TIP_FACTOR
    draw.polygon(star_points(cx, cy, inner), fill=fill)


GOLD_FILL = (255, 204, 0, 255)
GOLD_EDGE = (176, 120, 0, 255)
GREY_FILL = (178, 178, 178, 255)
GREY_EDGE = (96, 96, 96, 255)
GREEN_FILL = (64, 184, 64, 255)
GREEN_EDGE = (16, 100, 24, 255)
OUTLINE_EDGE = (72, 72, 72, 255)
WHITE = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)

SS = 8  # supersampling factor for small drawings


def star_image(size, edge, fill, background, edge_width):
    """One star filling a picture of the given size, drawn supersampled."""
    w, h = size
    radius = min(w / (2 * math.sin(math.radians(72))),
                 h / (1 + math.cos(math.radians(36)))) - 0.15
    height = radius * (1 + math.cos(math.radians(36)))
    cx = w / 2
    cy = (h - height) / 2 + radius
    big = Image.new("RGBA", (w * SS, h * SS), background)
    draw_star(ImageDraw.Draw(big), cx * SS, cy * SS, radius * SS,
              edge, fill, edge_width * SS)
    return downsample(big, size)


def make_star_strips():
    slots = 5
    outline = star_image((16, 16), OUTLINE_EDGE, WHITE, WHITE, 1.1)
    filled = star_image((16, 16), GOLD_EDGE, GOLD_FILL, WHITE, 1.1)
    for level in range(6):
        strip = Image.new("RGB", (16 * slots, 16), (255, 255, 255))
        for slot in range(slots):
            star = filled if slot < level else outline
            strip.paste(star.convert("RGB"), (16 * slot, 0))
        save(strip, "stars/level%d.png" % level, (80, 16), "RGB")
    save(Image.new("RGB", (80, 16), (255, 255, 255)), "stars/blank.png",
         (80, 16), "RGB")


NEAR4 = ((1, 0), (-1, 0), (0, 1), (0, -1))
NEAR8 = NEAR4 + ((1, 1), (1, -1), (-1, 1), (-1, -1))


def point_in_polygon(x, y, points):
    result = False
    n = len(points)
    for i in range(n):
        x1, y1 = points[i]
        x2, y2 = points[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            if x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                result = not result
    return result


def crisp_star(size, edge, fill, neighbours):
    """A star without anti-aliasing, for the small status icons, where
    blurred edges turn a star into a grey smudge. Pixels at least half
    covered are inside; inside pixels next to the outside (in the given
    directions) form the edge."""
    w, h = size
    # An odd width keeps the star symmetric about the middle pixel column.
    span = w if w % 2 else w - 1
    radius = min(span / (2 * math.sin(math.radians(72))),
                 h / (1 + math.cos(math.radians(36)))) + 0.1
    height = radius * (1 + math.cos(math.radians(36)))
    cx = span / 2
    cy = (h - height) / 2 + radius
    points = star_points(cx, cy, radius)
    # Coverage by sampling each pixel on a symmetric grid; the toolkit's own
    # polygon filling leans to one side and spoils the symmetry.
    inside = set()
    for y in range(h):
        for x in range(w):
            hits = sum(point_in_polygon(x + (i + 0.5) / SS, y + (j + 0.5) / SS, points)
                       for i in range(SS) for j in range(SS))
            if hits * 2 >= SS * SS:
                inside.add((x, y))
    image = Image.new("RGBA", size, CLEAR)
    pixels = image.load()
    for x, y in inside:
        border = any((x + dx, y + dy) not in inside for dx, dy in neighbours)
        pixels[x, y] = edge if border else fill
    return image


def make_status_stars():
    kinds = [
        ("outline", OUTLINE_EDGE, CLEAR),
        ("grey", GREY_EDGE, GREY_FILL),
        ("green", GREEN_EDGE, GREEN_FILL),
        ("gold", GOLD_EDGE, GOLD_FILL),
    ]
    for name, edge, fill in kinds:
        save(crisp_star((16, 16), edge, fill, NEAR4), "status/%s.png" % name,
             (16, 16), "RGBA")
        save(crisp_star((11, 10), edge, fill, NEAR8), "status/%s_small.png" % name,
             (11, 10), "RGBA")
    save(Image.new("RGBA", (16, 16), CLEAR), "status/blank.png", (16, 16), "RGBA")


# ---------------------------------------------------------------- pixel art

def pixel_art(rows, palette, size=None):
    """A picture from rows of characters; '.' and ' ' are transparent."""
    height = len(rows)
    width = max(len(r) for r in rows)
    if size is None:
        size = (width, height)
    image = Image.new("RGBA", size, CLEAR)
    pixels = image.load()
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch in ". ":
                continue
            colour = palette[ch]
            pixels[x, y] = colour if len(colour) == 4 else colour + (255,)
    return image


def icon(layers, palette):
    image = Image.new("RGBA", (16, 16), CLEAR)
    for rows in layers:
        assert len(rows) == 16 and all(len(r) == 16 for r in rows), rows
        image.alpha_composite(pixel_art(rows, palette))
    return image


INK = (44, 44, 44)

TAB_ICONS = [
    # 0: a house
    ([[
        "................",
        ".......kk..kkk..",
        "......krrk.kck..",
        ".....krrrrkkck..",
        "....krrrrrrkck..",
        "...krrrrrrrrkk..",
        "..krrrrrrrrrrk..",
        ".krrrrrrrrrrrrk.",
        "kkkkkkkkkkkkkkkk",
        ".kwwwwwwwwwwwwk.",
        ".kwkkkkwwkkkkwk.",
        ".kwkddkwwkbbkwk.",
        ".kwkddkwwkbbkwk.",
        ".kwkdykwwkkkkwk.",
        ".kwkddkwwwwwwwk.",
        ".kkkkkkkkkkkkkk.",
    ]], {"k": INK, "r": (204, 56, 40), "c": (150, 84, 60),
         "w": (246, 232, 192), "d": (150, 96, 44), "y": (250, 214, 60),
         "b": (120, 184, 244)}),
    # 1: a bar chart
    ([[
        "................",
        ".k..............",
        ".k.........GGg..",
        ".k.........GGg..",
        ".k.........GGg..",
        ".k.....BBb.GGg..",
        ".k.....BBb.GGg..",
        ".k.....BBb.GGg..",
        ".k.....BBb.GGg..",
        ".k.RRr.BBb.GGg..",
        ".k.RRr.BBb.GGg..",
        ".k.RRr.BBb.GGg..",
        ".k.RRr.BBb.GGg..",
        ".k.RRr.BBb.GGg..",
        ".kkkkkkkkkkkkkkk",
        "................",
    ]], {"k": INK, "R": (236, 72, 56), "r": (168, 36, 28),
         "B": (72, 128, 232), "b": (36, 72, 168),
         "G": (80, 196, 72), "g": (32, 124, 36)}),
    # 2: a chart with a person
    ([[
        "................",
        "k...............",
        "k....GG.........",
        "k....GG.........",
        "k....GG.........",
        "k....GG...kkkk..",
        "k..YYGG..kssssk.",
        "k..YYGG..kssssk.",
        "k..YYGG..kssssk.",
        "kRRYYGG...kkkk..",
        "kRRYYGG.kkkkkkk.",
        "kRRYYGGkpppppppk",
        "kRRYYGGkpppppppk",
        "kRRYYGGkpppppppk",
        "kRRYYGGkpppppppk",
        "kkkkkkkkkkkkkkkk",
    ]], {"k": INK, "R": (228, 64, 48), "Y": (244, 176, 32),
         "G": (72, 184, 64), "s": (248, 204, 160), "p": (64, 96, 176)}),
    # 3: a cup
    ([[
        "................",
        "..kkkkkkkkkkkk..",
        "kkkYhYYYYYYyykkk",
        "k.kYhYYYYYYyyk.k",
        "k.kYhYYYYYYyyk.k",
        ".kkYhYYYYYYyykk.",
        "..kYYYYYYYYyyk..",
        "...kYYYYYYyyk...",
        "....kYYYYyyk....",
        ".....kkYykk.....",
        "......kYyk......",
        "......kYyk......",
        ".....kkYykk.....",
        "....kYYYYYyk....",
        "....kkkkkkkk....",
        "................",
    ]], {"k": (96, 64, 8), "Y": (252, 208, 56), "y": (212, 156, 20),
         "h": (255, 244, 188)}),
    # 4: a money bag
    ([[
        "................",
        "....kk...kk.....",
        "....kBk.kBk.....",
        ".....kBkBk......",
        "......kBk.......",
        ".....kRRRk......",
        ".....kBBBk......",
        "....kBBdBBk.....",
        "...kBBddddBk....",
        "..kBBBdBBBBBk...",
        "..kBBBBddBBBk...",
        ".kBBBBBBBdBBBk..",
        ".kBBBBddddBBBk..",
        ".kBBBBBdBBBBBk..",
        "..kBBBBBBBBBk...",
        "...kkkkkkkkk....",
    ]], {"k": (92, 56, 20), "B": (214, 170, 100), "R": (150, 40, 28),
         "d": (28, 112, 40)}),
    # 5: a person with a pen
    ([[
        "................",
        "...kkkk.........",
        "..kssssk........",
        "..kssssk........",
        "..kssssk........",
        "..kssssk........",
        "...kkkk.........",
        ".kkkkkkkk.......",
        "kppppppppk......",
        "kppppppppk......",
        "kppppppppk......",
        "kppppppppk......",
        "kppppppppk......",
        "kppppppppk......",
        "kppppppppk......",
        "kkkkkkkkkk......",
    ], [
        "................",
        "................",
        "..............kk",
        ".............kPk",
        "............kPk.",
        "...........kPk..",
        "..........kPk...",
        ".........kPk....",
        "........kPk.....",
        ".......kmk......",
        "......kmk.......",
        "......k.........",
        "................",
        "................",
        "................",
        "................",
    ]], {"k": INK, "s": (248, 204, 160), "p": (64, 96, 176),
         "P": (244, 196, 32), "m": (176, 176, 184)}),
    # 6: buildings
    ([[
        "................",
        ".....kkkkkk.....",
        ".....kGGGGk.....",
        ".....kwGwGk.....",
        ".....kGGGGkkkkkk",
        ".....kwGwGkHHHHk",
        ".....kGGGGkHwHwk",
        "kkkkkkwGwGkHHHHk",
        "kFFFFkGGGGkHwHwk",
        "kFwFwkwGwGkHHHHk",
        "kFFFFkGGGGkHwHwk",
        "kFwFwkwGwGkHHHHk",
        "kFFFFkGGGGkHwHwk",
        "kFwFwkwGwGkHHHHk",
        "kFFFFkGddGkHHHHk",
        "kkkkkkkkkkkkkkkk",
    ]], {"k": INK, "F": (192, 104, 72), "G": (148, 164, 188),
         "H": (218, 192, 136), "w": (255, 236, 120), "d": (80, 64, 48)}),
    # 7: a book
    ([[
        "................",
        "...kkkkkkkkkkk..",
        "..kdBBBBBBBBBBk.",
        "..kdBBBBBBBBBBk.",
        "..kdBBkkkkkkBBk.",
        "..kdBBkwwwwkBBk.",
        "..kdBBkkkkkkBBk.",
        "..kdBBBBBBBBBBk.",
        "..kdBBBBBBBBBBk.",
        "..kdBBBBBBBBBBk.",
        "..kdBBBBBBBBBBk.",
        "..kdBBBBBBBBBBk.",
        "..kdBBBBBBBBBBk.",
        "..kdkkkkkkkkkkk.",
        "..kdkwwwwwwwwwk.",
        "...kkkkkkkkkkkk.",
    ]], {"k": INK, "B": (64, 104, 196), "d": (28, 56, 132),
         "w": (246, 246, 236)}),
]

SCREENSHOT_ICON = ([[
    "................",
    "................",
    "kkkkkkkkkkkkkkkk",
    "kSSSSSSSSSSSSSSk",
    "kSSSSSSSSSSYYSSk",
    "kSSSSSSSSSYYYYSk",
    "kSSSSSSSSSYYYYSk",
    "kSSSSgSSSSSYYSSk",
    "kSSSgggSSSSSSSSk",
    "kSSgggggSSSGSSSk",
    "kSgggggggSGGGSSk",
    "kgggggggGGGGGGSk",
    "kGGGGGGGGGGGGGGk",
    "kGGGGGGGGGGGGGGk",
    "kkkkkkkkkkkkkkkk",
    "................",
]], {"k": INK, "S": (150, 204, 248), "Y": (252, 208, 40),
     "g": (56, 128, 64), "G": (100, 180, 72)})


def make_icons():
    for index, (layers, palette) in enumerate(TAB_ICONS):
        save(icon(layers, palette), "icons/tab%d.png" % index, (16, 16), "RGBA")
    layers, palette = SCREENSHOT_ICON
    save(icon(layers, palette), "icons/screenshot.png", (16, 16), "RGBA")


# ---------------------------------------------------------------- cursors

# Both cursors have their hot spot on pixel (0, 0): the arrow's tip is there,
# and the hand is drawn so that its fingertip lies just right of it.
ARROW = [
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X",
    "X......X",
    "X.......X",
    "X........X",
    "X.........X",
    "X......XXXXX",
    "X...X..X",
    "X..XX..X",
    "X.X  X..X",
    "XX   X..X",
    "X     X..X",
    "      X..X",
    "       XX",
]

HAND = [
    "     XX",
    "    X..X",
    "    X..X",
    "    X..X",
    "    X..X",
    "    X..XXX",
    "    X..X..XXX",
    "    X..X..X..XX",
    "    X..X..X..X.X",
    " XX X..X..X..X..X",
    "X..XX...........X",
    "X...X...........X",
    " X..............X",
    "  X.............X",
    "  X............X",
    "   X...........X",
    "   X..........X",
    "    X.........X",
    "    X.........X",
    "    XXXXXXXXXXX",
]


def make_cursors():
    palette = {"X": (0, 0, 0), ".": (255, 255, 255)}
    for name, rows in (("arrow", ARROW), ("hand", HAND)):
        image = Image.new("RGBA", (32, 32), CLEAR)
        pixels = image.load()
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch in palette:
                    pixels[x, y] = palette[ch] + (255,)
        save(image, "cursors/%s.png" % name, (32, 32), "RGBA")


# ---------------------------------------------------------------- grass

def noise_layer(rng, cells, size):
    """Smooth value noise: a few random cells blown up with bicubic."""
    small = Image.new("L", (cells, cells))
    small.putdata([rng.randrange(256) for _ in range(cells * cells)])
    return small.resize((size, size), BICUBIC)


def make_grass_image(size=630, seed=2009):
    rng = random.Random(seed)
    scale = 2
    big = size * scale

    # Ground colour, varying slowly over the field.
    low = noise_layer(rng, 7, big)
    mid = noise_layer(rng, 28, big)
    shade = ImageChops.add(low.point(lambda v: v * 0.6),
                           mid.point(lambda v: v * 0.4))
    dark = Image.new("RGB", (big, big), (46, 96, 36))
    light = Image.new("RGB", (big, big), (76, 132, 52))
    field = Image.composite(light, dark, shade)

    # Blades: short, slightly slanted strokes, light and dark.
    draw = ImageDraw.Draw(field)
    low_px = low.load()
    for _ in range(70000):
        x = rng.uniform(0, big)
        y = rng.uniform(0, big)
        length = rng.uniform(7, 20) * scale
        lean = math.radians(rng.gauss(0, 16))
        bend = rng.gauss(0, 0.25)
        local = low_px[int(x) % big, int(y) % big] / 255.0
        tone = rng.gauss(0, 1)
        base = mix((52, 104, 40), (80, 136, 56), local)
        # Low contrast keeps small black text on top of it readable.
        if tone > 0:
            colour = mix(base, (112, 166, 78), min(tone * 0.28, 0.7))
        else:
            colour = mix(base, (26, 64, 20), min(-tone * 0.28, 0.7))
        points = []
        steps = 4
        for s in range(steps + 1):
            t = s / steps
            a = lean + bend * t
            points.append((x + math.sin(a) * length * t,
                           y - math.cos(a) * length * t))
        draw.line(points, fill=colour, width=scale)
    grass = field.resize((size, size), LANCZOS)
    return grass.filter(ImageFilter.GaussianBlur(0.35))


# ---------------------------------------------------------------- emblem

BADGE_MASTER = 1000

BADGE_GOLD = (214, 172, 44)
BADGE_GOLD_DARK = (122, 88, 12)
BADGE_GREEN_DARK = (18, 76, 34)
BADGE_GREEN = (44, 132, 58)
BADGE_GREEN_LIGHT = (72, 164, 80)
BADGE_TEXT = (252, 244, 214)


def disc(draw, cx, cy, r, **kw):
    draw.ellipse((cx - r, cy - r, cx + r, cy + r), **kw)


def regular_polygon(cx, cy, r, sides, angle_deg):
    return [(cx + r * math.cos(math.radians(angle_deg + 360 * i / sides)),
             cy + r * math.sin(math.radians(angle_deg + 360 * i / sides)))
            for i in range(sides)]


def draw_ball(size, radius):
    """A classic black-and-white football seen along one pentagon's axis."""
    layer = Image.new("RGBA", (size, size), CLEAR)
    draw = ImageDraw.Draw(layer)
    c = size / 2
    disc(draw, c, c, radius, fill=(250, 250, 246, 255))
    black = (24, 24, 24, 255)
    seam = max(2, int(radius * 0.035))
    centre_r = radius * 0.34
    # Central pentagon, one corner up.
    centre = regular_polygon(c, c, centre_r, 5, -90)
    draw.polygon(centre, fill=black)
    outer_r = radius * 0.33
    outer_d = radius * 0.98
    outers = []
    for i in range(5):
        a = -90 + 72 * i
        ox = c + outer_d * math.cos(math.radians(a))
        oy = c + outer_d * math.sin(math.radians(a))
        # One corner points back at the centre.
        poly = regular_polygon(ox, oy, outer_r, 5, a + 180)
        outers.append(poly)
        draw.polygon(poly, fill=black)
        draw.line([centre[i], poly[0]], fill=black, width=seam)
    for i in range(5):
        a_poly = outers[i]
        b_poly = outers[(i + 1) % 5]
        # Corners of neighbouring outer pentagons that face each other.
        draw.line([a_poly[4], b_poly[1]], fill=black, width=seam)
    # Soft shading on the lower right for roundness.
    shade = Image.new("L", (size, size), 0)
    sd = ImageDraw.Draw(shade)
    disc(sd, c, c, radius, fill=90)
    disc(sd, c - radius * 0.22, c - radius * 0.22, radius * 1.02, fill=0)
    shade = shade.filter(ImageFilter.GaussianBlur(radius * 0.12))
    grey = Image.new("RGBA", (size, size), (40, 60, 40, 255))
    layer = Image.composite(grey, layer, shade)
    mask = Image.new("L", (size, size), 0)
    disc(ImageDraw.Draw(mask), c, c, radius, fill=255)
    out = Image.new("RGBA", (size, size), CLEAR)
    out.paste(layer, (0, 0), mask)
    ImageDraw.Draw(out).ellipse((c - radius, c - radius, c + radius, c + radius),
                                outline=(20, 40, 20, 255), width=seam)
    return out


def text_on_arc(image, text, fnt, cx, cy, radius, centre_deg, fill):
    """Letters standing on a circle, read left to right over the top."""
    widths = [fnt.getlength(ch) for ch in text]
    spacing = font_height(fnt) * 0.12
    total = sum(widths) + spacing * (len(text) - 1)
    # Angle along the arc, clockwise, in degrees (-90 is the top).
    angle = centre_deg - math.degrees(total / radius) / 2
    for ch, w in zip(text, widths):
        mid = angle + math.degrees((w / 2) / radius)
        box = int(font_height(fnt) * 2)
        glyph = Image.new("RGBA", (box, box), CLEAR)
        centred_text(ImageDraw.Draw(glyph), (box / 2, box / 2), ch, fnt, fill)
        glyph = glyph.rotate(-(mid + 90), resample=BICUBIC)
        gx = cx + radius * math.cos(math.radians(mid)) - box / 2
        gy = cy + radius * math.sin(math.radians(mid)) - box / 2
        image.alpha_composite(glyph, (int(round(gx)), int(round(gy))))
        angle += math.degrees((w + spacing) / radius)


def make_badge_master():
    n = BADGE_MASTER
    c = n / 2
    image = Image.new("RGBA", (n, n), CLEAR)
    draw = ImageDraw.Draw(image)
    disc(draw, c, c, 497, fill=BADGE_GOLD_DARK + (255,))
    disc(draw, c, c, 484, fill=BADGE_GOLD + (255,))
    disc(draw, c, c, 458, fill=BADGE_GREEN_DARK + (255,))
    disc(draw, c, c, 318, fill=BADGE_GOLD + (255,))
    disc(draw, c, c, 304, fill=BADGE_GREEN + (255,))
    # Lighter centre field.
    glow = Image.new("L", (n, n), 0)
    disc(ImageDraw.Draw(glow), c - 40, c - 60, 200, fill=150)
    glow = glow.filter(ImageFilter.GaussianBlur(90))
    inner_mask = Image.new("L", (n, n), 0)
    disc(ImageDraw.Draw(inner_mask), c, c, 304, fill=255)
    glow = ImageChops.multiply(glow, inner_mask)
    image = Image.composite(Image.new("RGBA", (n, n), BADGE_GREEN_LIGHT + (255,)),
                            image, glow)
    # Pitch lines behind the ball.
    draw = ImageDraw.Draw(image)
    line = (214, 236, 204, 150)
    lines = Image.new("RGBA", (n, n), CLEAR)
    ld = ImageDraw.Draw(lines)
    ld.line([(c - 300, c), (c + 300, c)], fill=line, width=10)
    lines_mask = ImageChops.multiply(lines.getchannel("A"), inner_mask)
    lines.putalpha(lines_mask)
    image.alpha_composite(lines)
    image.alpha_composite(draw_ball(n, 232))
    # The game's name over the top of the ring, stars under the bottom.
    text_on_arc(image, "ORVANTO", font(SANS_BOLD, 118), c, c, 388, -90,
                BADGE_TEXT + (255,))
    draw = ImageDraw.Draw(image)
    for deg in (62, 90, 118):
        sx = c + 390 * math.cos(math.radians(deg))
        sy = c + 390 * math.sin(math.radians(deg))
        r = 52 if deg == 90 else 40
        draw.polygon(star_points(sx, sy + r * 0.1, r), fill=BADGE_GOLD + (255,))
    for deg in (18, 162):
        disc(draw, c + 388 * math.cos(math.radians(deg)),
             c + 388 * math.sin(math.radians(deg)), 16,
             fill=BADGE_GOLD + (255,))
    return image


def badge(master, size):
    return downsample(master, (size, size))


# ---------------------------------------------------------------- splash

SPLASH_SIZE = (541, 489)
# Invisible click areas that the main window lays over the splash picture.
WEB_RECT = (5, 469, 97, 483)
AUTHOR_RECT = (453, 469, 483, 484)
# The window draws its version caption across this band.
VERSION_BAND = (146, 180)


def fit_font(names, text, max_w, max_h, start):
    size = start
    while size > 6:
        f = font(names, size)
        l, t, r, b = f.getbbox(text)
        if r - l <= max_w and b - t <= max_h:
            return f
        size -= 1
    return font(names, 6)


def inside(box, rect):
    return (box[0] >= rect[0] and box[1] >= rect[1]
            and box[2] <= rect[2] + 1 and box[3] <= rect[3] + 1)


def make_splash(grass, master):
    w, h = SPLASH_SIZE
    # Darkened grass with a vignette.
    bg = grass.crop((40, 60, 40 + w, 60 + h)).convert("RGB")
    bg = Image.eval(bg, lambda v: int(v * 0.52))
    vignette = Image.new("L", (w, h), 0)
    ImageDraw.Draw(vignette).ellipse((-120, -90, w + 120, h + 90), fill=255)
    vignette = vignette.filter(ImageFilter.GaussianBlur(70))
    black = Image.new("RGB", (w, h), (6, 22, 8))
    bg = Image.composite(bg, black, vignette.point(lambda v: 80 + v * 175 // 255))
    image = bg.convert("RGBA")

    # Faint pitch markings: the halfway line and the centre circle
    # around the emblem.
    ecx, ecy, er = w // 2, 322, 122
    marks = Image.new("RGBA", (w, h), CLEAR)
    md = ImageDraw.Draw(marks)
    mark = (220, 240, 210, 70)
    md.line([(0, ecy), (w, ecy)], fill=mark, width=3)
    md.ellipse((ecx - 138, ecy - 138, ecx + 138, ecy + 138), outline=mark, width=3)
    image.alpha_composite(marks)

    # Product name in the upper third.
    title = "Cadrix 2"
    tf = font(SANS_BOLD_ITALIC, 84)
    tx, ty = w / 2, 86
    shadow = Image.new("RGBA", (w, h), CLEAR)
    centred_text(ImageDraw.Draw(shadow), (tx + 4, ty + 5), title, tf, (0, 0, 0, 200))
    shadow = shadow.filter(ImageFilter.GaussianBlur(3))
    image.alpha_composite(shadow)
    draw = ImageDraw.Draw(image)
    tb = centred_text(draw, (tx, ty), title, tf, (250, 240, 196, 255),
                      stroke=2, stroke_fill=(70, 50, 8, 255))
    assert tb[3] < VERSION_BAND[0] and tb[1] >= 0, tb

    # A pale ribbon under the version caption so that dark red reads on it.
    ribbon = Image.new("RGBA", (w, h), CLEAR)
    rd = ImageDraw.Draw(ribbon)
    top, bottom = VERSION_BAND
    for x in range(w):
        # Fades out towards both sides.
        t = abs(x - w / 2) / (w / 2)
        alpha = int(210 * max(0.0, 1 - t ** 3))
        rd.line([(x, top + 2), (x, bottom - 2)], fill=(236, 240, 222, alpha))
        edge_alpha = int(255 * max(0.0, 1 - t ** 3))
        rd.point((x, top), fill=BADGE_GOLD + (edge_alpha,))
        rd.point((x, top + 1), fill=BADGE_GOLD + (edge_alpha,))
        rd.point((x, bottom - 1), fill=BADGE_GOLD + (edge_alpha,))
        rd.point((x, bottom), fill=BADGE_GOLD + (edge_alpha,))
    image.alpha_composite(ribbon)

    # The emblem in the middle, with a soft shadow.
    size = 2 * er
    emblem = badge(master, size)
    shadow = Image.new("RGBA", (w, h), CLEAR)
    sd = ImageDraw.Draw(shadow)
    disc(sd, ecx + 5, ecy + 7, er, fill=(0, 0, 0, 150))
    shadow = shadow.filter(ImageFilter.GaussianBlur(6))
    image.alpha_composite(shadow)
    image.alpha_composite(emblem, (ecx - er, ecy - er))
    assert ecy - er > VERSION_BAND[1]

    # Bottom strip with the web address and the author's credit.
    strip = Image.new("RGBA", (w, h), CLEAR)
    ImageDraw.Draw(strip).rectangle((0, 462, w, h), fill=(0, 0, 0, 110))
    image.alpha_composite(strip)
    draw = ImageDraw.Draw(image)
    text_colour = (240, 232, 190, 255)

    web = "www.orvanto.ru"
    wl, wt, wr, wb = WEB_RECT
    wf = fit_font(SANS, web, wr - wl - 1, wb - wt - 1, 13)
    box = draw.textbbox((0, 0), web, font=wf)
    ox = wl + 1 - box[0]
    oy = wt + (wb - wt + 1 - (box[3] - box[1])) // 2 - box[1]
    draw.text((ox, oy), web, font=wf, fill=text_colour)
    assert inside(draw.textbbox((ox, oy), web, font=wf), WEB_RECT)

    name = "Sever"
    al, at, ar, ab = AUTHOR_RECT
    af = fit_font(SANS, name, ar - al - 1, ab - at - 1, 13)
    box = draw.textbbox((0, 0), name, font=af)
    nx = al + (ar - al + 1 - (box[2] - box[0])) // 2 - box[0]
    ny = at + (ab - at + 1 - (box[3] - box[1])) // 2 - box[1]
    draw.text((nx, ny), name, font=af, fill=text_colour)
    assert inside(draw.textbbox((nx, ny), name, font=af), AUTHOR_RECT)
    lead = "\u00a9 2009 "
    lead_w = draw.textlength(lead, font=af)
    draw.text((nx - lead_w, ny), lead, font=af, fill=text_colour)

    return image.convert("RGB")


# ---------------------------------------------------------------- program icon

ICON_DARK = (12, 70, 28)
ICON_TOP = (86, 186, 80)
ICON_BOTTOM = (22, 112, 42)
ICON_GOLD = (252, 206, 48)
ICON_WHITE = (255, 255, 255)


def icon_geometry(n):
    """The program mark in units of its own size n: a green rounded tile,
    a white "C" open to the right, and two arrows running in opposite
    directions through its opening, for "then" against "now"."""
    u = n / 32.0
    return {
        "tile": (0.5 * u, 0.5 * u, n - 0.5 * u, n - 0.5 * u),
        "radius": 6 * u,
        "c_box": (5 * u, 5 * u, 27 * u, 27 * u),
        "c_width": 4.2 * u,
        "c_span": (42, 318),
        # Arrow: y of its axis, x from, x to (head at "to"), thickness, head.
        "arrows": [
            (12.5 * u, 11 * u, 29.5 * u, 3 * u, 4.2 * u, ICON_GOLD),
            (19.5 * u, 29.5 * u, 11 * u, 3 * u, 4.2 * u, ICON_WHITE),
        ],
    }


def arrow_polygon(y, x_from, x_to, thick, head):
    d = 1 if x_to > x_from else -1
    neck = x_to - d * head * 1.1
    return [(x_from, y - thick / 2), (neck, y - thick / 2), (neck, y - head),
            (x_to, y), (neck, y + head), (neck, y + thick / 2),
            (x_from, y + thick / 2)]


HICOLOR_SIZES = (16, 24, 32, 48, 64, 128, 256)


def make_program_icon(n):
    s = SS
    big_n = n * s
    g = icon_geometry(big_n)
    image = Image.new("RGBA", (big_n, big_n), CLEAR)
    tile_mask = Image.new("L", (big_n, big_n), 0)
    ImageDraw.Draw(tile_mask).rounded_rectangle(g["tile"], g["radius"], fill=255)
    gradient = Image.new("RGBA", (big_n, big_n))
    gd = ImageDraw.Draw(gradient)
    for y in range(big_n):
        gd.line([(0, y), (big_n, y)], fill=mix(ICON_TOP, ICON_BOTTOM, y / big_n) + (255,))
    image.paste(gradient, (0, 0), tile_mask)
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle(g["tile"], g["radius"], outline=ICON_DARK + (255,),
                           width=max(s, int(big_n / 32 * 1.0)))
    start, end = g["c_span"]
    draw.arc(g["c_box"], start, end, fill=ICON_WHITE + (255,), width=int(g["c_width"]))
    for y, x0, x1, thick, head, colour in g["arrows"]:
        poly = arrow_polygon(y, x0, x1, thick, head)
        draw.polygon(poly, fill=colour + (255,), outline=ICON_DARK + (255,))
    return downsample(image, (n, n))


def program_icon_svg():
    n = 128
    g = icon_geometry(n)
    x0, y0, x1, y1 = g["tile"]
    cx0, cy0, cx1, cy1 = g["c_box"]
    cw = g["c_width"]
    r = (cx1 - cx0) / 2 - cw / 2
    ccx, ccy = (cx0 + cx1) / 2, (cy0 + cy1) / 2
    a0, a1 = (math.radians(a) for a in g["c_span"])
    p0 = (ccx + r * math.cos(a0), ccy + r * math.sin(a0))
    p1 = (ccx + r * math.cos(a1), ccy + r * math.sin(a1))

    def hexc(c):
        return "#%02x%02x%02x" % c

    out = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128" '
        'viewBox="0 0 128 128">',
        '  <defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
        '</linearGradient></defs>' % (hexc(ICON_TOP), hexc(ICON_BOTTOM)),
        '  <rect x="%.2f" y="%.2f" width="%.2f" height="%.2f" rx="%.2f" '
        'fill="url(#g)" stroke="%s" stroke-width="4"/>'
        # The raster edge lies inside the tile; an SVG stroke is centred.
        % (x0 + 2, y0 + 2, x1 - x0 - 4, y1 - y0 - 4, g["radius"] - 2, hexc(ICON_DARK)),
        '  <path d="M %.2f %.2f A %.2f %.2f 0 1 1 %.2f %.2f" fill="none" '
        'stroke="%s" stroke-width="%.2f"/>'
        % (p0[0], p0[1], r, r, p1[0], p1[1], hexc(ICON_WHITE), cw),
    ]
    for y, xa, xb, thick, head, colour in g["arrows"]:
        pts = " ".join("%.2f,%.2f" % p for p in arrow_polygon(y, xa, xb, thick, head))
        out.append('  <polygon points="%s" fill="%s" stroke="%s" stroke-width="1"/>'
                   % (pts, hexc(colour), hexc(ICON_DARK)))
    out.append("</svg>")
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------- qrc

QRC_FOLDERS = ["images", "icons", "cursors", "stars", "status"]
# Compiled in as uncompressed pixmaps that the build makes from these PNG
# files (src/app/CMakeLists.txt), so that the program does not decode them at
# start; the qrc leaves them out.
UNPACKED = {"images/grass.png", "images/splash.png", "icons/cadrix.png", "cursors/arrow.png", "cursors/hand.png"}


def write_qrc():
    """Lists every picture under its own path, with the prefix "/", so that
    images/grass.png is ":/images/grass.png" in the program."""
    lines = ["<!DOCTYPE RCC>", '<RCC version="1.0">', '    <qresource prefix="/">']
    for folder in QRC_FOLDERS:
        for name in sorted(os.listdir(os.path.join(HERE, folder))):
            if name.endswith((".png", ".svg")) and "%s/%s" % (folder, name) not in UNPACKED:
                lines.append("        <file>%s/%s</file>" % (folder, name))
    lines += ["    </qresource>", "</RCC>"]
    with open(os.path.join(HERE, "cadrix.qrc"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


# ---------------------------------------------------------------- main

def main():
    make_star_strips()
    make_status_stars()
    make_icons()
    make_cursors()

    grass = make_grass_image()
    save(grass, "images/grass.png", (630, 630), "RGB")

    master = make_badge_master()
    save(badge(master, 100), "images/emblem.png", (100, 100), "RGBA")
    save(badge(master, 65), "images/emblem_small.png", (65, 65), "RGBA")
    save(make_splash(grass, master), "images/splash.png", SPLASH_SIZE, "RGB")

    save(make_program_icon(32), "icons/cadrix.png", (32, 32), "RGBA")
    save(make_program_icon(128), "icons/cadrix-128.png", (128, 128), "RGBA")
    # The sizes a desktop's icon theme looks for; installed, not compiled in.
    os.makedirs(os.path.join(HERE, "hicolor"), exist_ok=True)
    for n in HICOLOR_SIZES:
        save(make_program_icon(n), "hicolor/cadrix-%d.png" % n, (n, n), "RGBA")
    with open(os.path.join(HERE, "icons", "cadrix.svg"), "w", encoding="utf-8") as f:
        f.write(program_icon_svg())
    write_qrc()
    return 0


if __name__ == "__main__":
    sys.exit(main())
