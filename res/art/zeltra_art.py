#!/usr/bin/env python3
"""Source of every skin and resource image of Zeltra.

Each image is described here as SVG (or, where exact pixels matter, as a raw
raster) so the whole look can be changed in one place and rendered again with
tools/render-art.sh. Only the Python standard library is used.

    zeltra_art.py emit WORKDIR      write the SVG/PPM sources and manifest.tsv
    zeltra_art.py check RESDIR      verify the rendered files (sizes, depth, palette)
    zeltra_art.py mockup RESDIR OUT compose a main-window mock-up (needs convert)
    zeltra_art.py dialogs RESDIR OUT compose three small dialogs (needs convert)

The skins are drawn at their design size: the program stretches them with
nearest-neighbour sampling by 1, 1.5 or 2, so straight edges sit on whole
pixels (crispEdges) and only round shapes are antialiased.
"""

import math
import os
import struct
import subprocess
import sys

# ---------------------------------------------------------------------------
# Palette of the look

BG = "#0f0f0f"          # window body, RGB(15, 15, 15)
BG_RGB = (15, 15, 15)
STRIP = "#191919"       # title strips
PANEL = "#171717"
PANEL_HI = "#1d1d1d"
FACE = "#1f1f1f"        # button faces
FACE_HOVER = "#1f2c36"
EDGE = "#2e2e2e"
EDGE_HI = "#3d3d3d"
MUTED = "#6e6e6e"
GREY = "#b4b4b4"        # the toolkit's normal text colour
WHITE = "#ffffff"
ACC = "#35a0de"         # the toolkit's selection colour, RGB(53, 160, 222)
ACC_RGB = (53, 160, 222)
ACC_DARK = "#1c5a80"
ACC_LIGHT = "#74c4f2"
GREEN = "#3cc06a"
ORANGE = "#f0a030"
RED = "#e04848"

# ---------------------------------------------------------------------------
# SVG helpers


def svg(w, h, body, extra_defs=""):
    defs = f"<defs>{extra_defs}</defs>" if extra_defs else ""
    return (f'<svg xmlns="http://www.w3.org/2000/svg" '
            f'xmlns:xlink="http://www.w3.org/1999/xlink" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}">{defs}{body}</svg>\n')


def rect(x, y, w, h, fill, crisp=True, extra=""):
    sr = ' shape-rendering="crispEdges"' if crisp else ""
    return f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="{fill}"{sr}{extra}/>'


def frame_rect(x, y, w, h, colour, t=1):
    """A t-pixel outline whose outer edge is the rectangle (x, y, w, h)."""
    return (rect(x, y, w, t, colour) + rect(x, y + h - t, w, t, colour) +
            rect(x, y + t, t, h - 2 * t, colour) + rect(x + w - t, y + t, t, h - 2 * t, colour))


def rrect(x, y, w, h, r, fill, stroke=None, sw=1, extra=""):
    """Rounded rectangle; a stroke is kept inside the rectangle."""
    if stroke:
        o = sw / 2
        return (f'<rect x="{x + o}" y="{y + o}" width="{w - sw}" height="{h - sw}" rx="{max(r - o, 0)}" '
                f'fill="{fill}" stroke="{stroke}" stroke-width="{sw}"{extra}/>')
    return f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" fill="{fill}"{extra}/>'


def poly(points, fill, crisp=False, extra=""):
    pts = " ".join(f"{x},{y}" for x, y in points)
    sr = ' shape-rendering="crispEdges"' if crisp else ""
    return f'<polygon points="{pts}" fill="{fill}"{sr}{extra}/>'


def lin_grad(gid, stops, vertical=True):
    x2, y2 = ("0", "1") if vertical else ("1", "0")
    s = "".join(f'<stop offset="{st[0]}" stop-color="{st[1]}"' +
                (f' stop-opacity="{st[2]}"' if len(st) > 2 else "") + "/>" for st in stops)
    return f'<linearGradient id="{gid}" x1="0" y1="0" x2="{x2}" y2="{y2}">{s}</linearGradient>'


# ---------------------------------------------------------------------------
# A small square stroke font of our own (no system font is needed to render).
# Grid points are pixel centres: glyphs are 5 cells wide and 7 tall at u = 1.

GLYPHS = {
    "0": [[(0, 0), (4, 0), (4, 6), (0, 6), (0, 0)]],
    "1": [[(1, 1), (2, 0), (2, 6)], [(1, 6), (3, 6)]],
    "2": [[(0, 0), (4, 0), (4, 3), (0, 3), (0, 6), (4, 6)]],
    "3": [[(0, 0), (4, 0), (4, 6), (0, 6)], [(1, 3), (4, 3)]],
    "4": [[(0, 0), (0, 3), (4, 3)], [(4, 0), (4, 6)]],
    "5": [[(4, 0), (0, 0), (0, 3), (4, 3), (4, 6), (0, 6)]],
    "6": [[(4, 0), (0, 0), (0, 6), (4, 6), (4, 3), (0, 3)]],
    "7": [[(0, 0), (4, 0), (4, 6)]],
    "8": [[(0, 0), (4, 0), (4, 6), (0, 6), (0, 0)], [(0, 3), (4, 3)]],
    "9": [[(0, 6), (4, 6), (4, 0), (0, 0), (0, 3), (4, 3)]],
    "H": [[(0, 0), (0, 6)], [(4, 0), (4, 6)], [(0, 3), (4, 3)]],
    "z": [[(0, 2), (4, 2), (0, 6), (4, 6)]],
    "Z": [[(0, 0), (4, 0), (0, 6), (4, 6)]],
    "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "L": [[(0, 0), (0, 6), (4, 6)]],
    "T": [[(0, 0), (4, 0)], [(2, 0), (2, 6)]],
    "R": [[(0, 6), (0, 0), (4, 0), (4, 3), (0, 3)], [(2, 3), (4, 6)]],
    "A": [[(0, 6), (0, 0), (4, 0), (4, 6)], [(0, 3), (4, 3)]],
    " ": [],
}


def text_width(s, u, spacing=1):
    return len(s) * 5 * u + (len(s) - 1) * spacing * u if s else 0


def text(s, x, y, u, colour, spacing=1, extra=""):
    """Draws s with its top-left pixel at (x, y); u = pixel size of a cell."""
    half = u / 2.0
    paths = []
    cx = x
    for ch in s:
        for line in GLYPHS[ch]:
            d = "M" + " L".join(f"{cx + gx * u + half:g},{y + gy * u + half:g}" for gx, gy in line)
            paths.append(d)
        cx += (5 + spacing) * u
    d = " ".join(paths)
    return (f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="{u}" '
            f'stroke-linecap="square" stroke-linejoin="miter"{extra}/>')


def text_centred(s, cx, cy, u, colour, spacing=1):
    w = text_width(s, u, spacing)
    return text(s, int(round(cx - w / 2.0)), int(round(cy - 7 * u / 2.0)), u, colour, spacing)


# ---------------------------------------------------------------------------
# Image registry

IMAGES = []   # (kind, relative output path, source file name, width, height)
SOURCES = {}  # source file name -> text or bytes


def add_png(rel, w, h, body, defs=""):
    src = rel.replace("/", "__").replace(".png", ".svg")
    SOURCES[src] = svg(w, h, body, defs)
    IMAGES.append(("png", "skins/" + rel, src, w, h))


def add_bmp(rel, w, h, body, defs="", prefix="skins/"):
    src = rel.replace("/", "__").replace(".bmp", ".svg")
    SOURCES[src] = svg(w, h, rect(0, 0, w, h, BG) + body, defs)
    IMAGES.append(("bmp", prefix + rel, src, w, h))


# ---------------------------------------------------------------------------
# Buttons with text drawn by the program


def button_face(w, h, state, r=3):
    """Plain push-button face; the caption is drawn on it by the program."""
    if state == "nr":
        return (rrect(0, 0, w, h, r, FACE, EDGE_HI) +
                rect(2, 1, w - 4, 1, "#292929"))
    return (rrect(0, 0, w, h, r, FACE_HOVER, ACC) +
            rect(2, 1, w - 4, 1, "#2a3c49"))


def chevron_down(cx, cy, colour):
    # 7 x 4 filled triangle, pixel exact
    return "".join(rect(cx - 3 + i, cy + i, 7 - 2 * i, 1, colour) for i in range(4))


def chevron_right(cx, cy, colour):
    # 4 x 7 filled triangle pointing right, pixel exact
    return "".join(rect(cx + i, cy - 3 + i, 1, 7 - 2 * i, colour) for i in range(4))


def make_buttons():
    for name, (w, h) in {"button1": (120, 28), "button2": (65, 23)}.items():
        for st in ("nr", "ov"):
            add_png(f"{name}_{st}.png", w, h, button_face(w, h, st))
    # Only a normal look is used for the control-panel button.
    add_png("button4_nr.png", 160, 28,
            button_face(160, 28, "nr") + rect(10, 9, 2, 10, MUTED) + rect(14, 9, 2, 10, MUTED))

    # Assignment combo (button functions): face with a chevron on the right.
    w, h = 200, 26
    for st in ("nr", "ov"):
        c = MUTED if st == "nr" else WHITE
        face = button_face(w, h, st)
        sep = rect(w - 24, 5, 1, h - 10, EDGE_HI if st == "nr" else ACC_DARK)
        add_png(f"combo2_{st}.png", w, h, face + sep + chevron_down(w - 12, 11, c))
    # Small combo (lighting mode, macro insert): 117 x 14.
    w, h = 117, 14
    for st in ("nr", "ov"):
        c = MUTED if st == "nr" else WHITE
        fill, edge = (FACE, EDGE_HI) if st == "nr" else (FACE_HOVER, ACC)
        add_png(f"combo3_{st}.png", w, h,
                rrect(0, 0, w, h, 2, fill, edge) + chevron_down(w - 9, 5, c))

    # Record toggle of the macro manager, 90 x 18; caption starts at x = 18.
    w, h = 90, 18
    add_png("macro_record_nr.png", w, h,
            rrect(0, 0, w, h, 3, FACE, EDGE_HI) +
            f'<circle cx="9" cy="9" r="4" fill="{MUTED}"/>')
    add_png("macro_record_dn.png", w, h,
            rrect(0, 0, w, h, 3, ACC_DARK, ACC) +
            f'<circle cx="9" cy="9" r="5" fill="{ACC_LIGHT}" opacity="0.45"/>'
            f'<circle cx="9" cy="9" r="4" fill="{WHITE}"/>')

    # Add button (profile tabs row), 20 x 20.
    for st in ("nr", "ov"):
        fill, edge, c = (FACE, EDGE_HI, GREY) if st == "nr" else (FACE_HOVER, ACC, WHITE)
        add_png(f"add_{st}.png", 20, 20,
                rrect(0, 0, 20, 20, 3, fill, edge) + rect(9, 5, 2, 10, c) + rect(5, 9, 10, 2, c))

    # Title bar buttons, 15 x 15.
    cross = ('<path d="M4.5,4.5 L10.5,10.5 M10.5,4.5 L4.5,10.5" stroke="{c}" '
             'stroke-width="1.6" stroke-linecap="square"/>')
    add_png("exit_nr.png", 15, 15, cross.format(c=GREY))
    add_png("exit_ov.png", 15, 15, rrect(0, 0, 15, 15, 2, ACC) + cross.format(c=WHITE))
    add_png("min_nr.png", 15, 15, rect(4, 9, 7, 2, GREY))
    add_png("min_ov.png", 15, 15, rrect(0, 0, 15, 15, 2, EDGE_HI) + rect(4, 9, 7, 2, WHITE))


# ---------------------------------------------------------------------------
# Check boxes, radios, toggles

CHECK_11 = [(2, 5), (3, 6), (4, 7), (5, 6), (6, 5), (7, 4), (8, 3)]


def make_checks():
    # 11 x 11 check box: every edge on whole pixels.
    for st in ("nr", "ov", "dn"):
        if st == "nr":
            body = rect(0, 0, 11, 11, EDGE_HI) + rect(1, 1, 9, 9, "#141414")
        elif st == "ov":
            body = rect(0, 0, 11, 11, ACC) + rect(1, 1, 9, 9, "#16232c")
        else:
            body = rect(0, 0, 11, 11, ACC) + "".join(
                rect(x, y, 1, 2, WHITE) for x, y in CHECK_11)
        add_png(f"check_{st}.png", 11, 11, body)

    # DPI stage enable check, 15 x 15, slightly rounded.
    tick = [(3, 7), (4, 8), (5, 9), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5)]
    for st in ("nr", "ov", "dn"):
        if st == "nr":
            body = rrect(0, 0, 15, 15, 2, "#141414", EDGE_HI)
        elif st == "ov":
            body = rrect(0, 0, 15, 15, 2, "#16232c", ACC)
        else:
            body = rrect(0, 0, 15, 15, 2, ACC) + "".join(rect(x, y, 1, 2, WHITE) for x, y in tick)
        add_png(f"check_button_dpi_{st}.png", 15, 15, body)

    # 15 x 15 radio buttons.
    for st in ("nr", "ov", "dn"):
        ring = EDGE_HI if st == "nr" else ACC
        fill = "#141414" if st == "nr" else "#16232c"
        body = f'<circle cx="7.5" cy="7.5" r="6.75" fill="{fill}" stroke="{ring}" stroke-width="1.5"/>'
        if st == "dn":
            body += f'<circle cx="7.5" cy="7.5" r="3.5" fill="{ACC}"/>'
        add_png(f"radio_{st}.png", 15, 15, body)

    # Lighting colour slot: the program fills the middle (inset 3) with the colour.
    add_png("color_select_nr.png", 26, 26, rrect(0, 0, 26, 26, 2, "#141414", EDGE_HI))
    add_png("color_select_check.png", 26, 26,
            rrect(0, 0, 26, 26, 2, "#141414") + frame_rect(0, 0, 26, 26, ACC, 2))

    # Direction radios (lighting): arrows in 22 x 22 tiles.
    def arrow(up, c):
        # 10 x 10 arrow built from whole-pixel rows
        rows = []
        for i in range(5):
            y = 6 + i if up else 15 - i
            rows.append(rect(11 - 1 - i, y, 2 + 2 * i, 1, c))
        stem_y = 11 if up else 6
        rows.append(rect(10, stem_y, 2, 5, c))
        return "".join(rows)
    for d, up in (("up", True), ("down", False)):
        add_png(f"{d}_nr.png", 22, 22, rrect(0, 0, 22, 22, 3, FACE, EDGE_HI) + arrow(up, GREY))
        add_png(f"{d}_ov.png", 22, 22, rrect(0, 0, 22, 22, 3, FACE_HOVER, ACC) + arrow(up, WHITE))
        add_png(f"{d}_check.png", 22, 22, rrect(0, 0, 22, 22, 3, ACC) + arrow(up, WHITE))

    # Report-rate radios: the rate itself is part of the picture.
    w, h = 96, 30
    for rate in ("125", "250", "500", "1000"):
        label = rate + " Hz"
        for st in ("nr", "dn"):
            if st == "nr":
                face, c = rrect(0, 0, w, h, 3, FACE, EDGE_HI), GREY
            else:
                face, c = rrect(0, 0, w, h, 3, ACC_DARK, ACC) + rect(3, h - 3, w - 6, 1, ACC), WHITE
            add_png(f"{rate}hz_{st}.png", w, h, face + _rate_label(label, w, h, c))


def _rate_label(label, w, h, c):
    # Digits at 2 px per cell (10 x 14), "Hz" at 1 px per cell, baseline aligned.
    num, unit = label.split(" ")
    wn = text_width(num, 2)
    wu = text_width(unit, 1)
    total = wn + 5 + wu
    x0 = (w - total) // 2
    y0 = (h - 14) // 2
    return text(num, x0, y0, 2, c) + text(unit, x0 + wn + 5, y0 + 7, 1, c)


# ---------------------------------------------------------------------------
# Headers, menus, profile slots


def make_headers():
    # Section header (right column), 480 x 26: a check button; checked = open.
    w, h = 480, 26
    add_png("header_nr.png", w, h,
            rect(0, 0, w, h, "#181818") + rect(0, h - 1, w, 1, EDGE) +
            rect(0, 6, 3, h - 12, EDGE_HI) + chevron_right(w - 16, 12, MUTED))
    add_png("header_ov.png", w, h,
            rect(0, 0, w, h, "#1b242b") + rect(0, h - 1, w, 1, ACC_DARK) +
            rect(0, 6, 3, h - 12, ACC) + chevron_down(w - 14, 11, WHITE))
    # Fixed header of the left groups and header row of the profile list, 230 x 25.
    w, h = 230, 25
    add_png("header2_nr.png", w, h,
            rect(0, 0, w, h, "#1a1a1a") + rect(0, h - 2, w, 1, ACC_DARK) + rect(0, h - 1, w, 1, "#101010") +
            rect(0, 7, 3, h - 15, ACC))
    add_png("header2_ov.png", w, h,
            rect(0, 0, w, h, "#1f2830") + rect(0, h - 2, w, 1, ACC) + rect(0, h - 1, w, 1, "#101010") +
            rect(0, 7, 3, h - 15, ACC_LIGHT))

    # Popup item backgrounds, 190 x 22 (drawn from (0, 0, 190, 22)).
    w, h = 190, 22
    add_png("menu_nr.png", w, h, rect(0, 0, w, h, "#1c1c1c"))
    add_png("menu_ov.png", w, h, rect(0, 0, w, h, ACC))
    add_png("menusub_nr.png", w, h, rect(0, 0, w, h, "#1c1c1c") + chevron_right(176, 11, MUTED))
    add_png("menusub_ov.png", w, h, rect(0, 0, w, h, ACC) + chevron_right(176, 11, WHITE))

    # Profile tabs, 90 x 24: "2" variants are the current profile.
    w, h = 90, 24
    add_png("profile_slot_nr.png", w, h, rrect(0, 0, w, h, 3, FACE, EDGE))
    add_png("profile_slot_ov.png", w, h, rrect(0, 0, w, h, 3, FACE_HOVER, EDGE_HI))
    add_png("profile_slot_nr2.png", w, h,
            rrect(0, 0, w, h, 3, "#1b2730", ACC_DARK) + rect(3, h - 3, w - 6, 2, ACC))
    add_png("profile_slot_ov2.png", w, h,
            rrect(0, 0, w, h, 3, "#21323e", ACC) + rect(3, h - 3, w - 6, 2, ACC_LIGHT))


# ---------------------------------------------------------------------------
# Sliders, DPI gauge and label


def make_sliders():
    thumb = (f'<circle cx="7" cy="7" r="6.25" fill="{ACC}" stroke="{ACC_LIGHT}" stroke-width="1.5"/>'
             f'<circle cx="7" cy="7" r="2" fill="{WHITE}"/>')
    add_png("Slider_Circle.png", 14, 14, thumb)

    # The tracks carry no tick marks: the same track serves sliders of 3, 4 or
    # hundreds of positions.
    def track(w, h):
        return (rect(0, 5, w, 5, "#363636") + rect(1, 6, w - 2, 3, "#0a0a0a") +
                rect(1, 7, w - 2, 1, "#1c3a4e") + rect(0, 4, 1, 7, "#4a4a4a") + rect(w - 1, 4, 1, 7, "#4a4a4a"))
    add_png("Slider_bar.png", 200, 14, track(200, 14))
    add_png("Slider_bar2.png", 360, 14, track(360, 14))

    # DPI stage gauge: background and fill share one size (16 x 100).
    w, h = 16, 100
    bg = rrect(0, 0, w, h, 2, "#131313", EDGE_HI)
    for y in range(9, h - 4, 9):
        bg += rect(3, y, w - 6, 1, "#232323")
    add_png("mouse/dpi_bar_1.png", w, h, bg)
    fill = (rrect(0, 0, w, h, 2, "url(#dpif)", ACC) +
            "".join(rect(2, y, w - 4, 1, "#2b8ac2") for y in range(9, h - 4, 9)) +
            rect(2, 1, w - 4, 1, ACC_LIGHT))
    add_png("mouse/dpi_bar_2.png", w, h, fill,
            lin_grad("dpif", [(0, ACC_LIGHT), (0.35, ACC), (1, ACC_DARK)]))

    # Value label of a DPI stage: the number is drawn in the top 11 pixels.
    add_png("dpi_value.png", 56, 13,
            rrect(0, 0, 56, 12, 2, "#151515", EDGE) + rect(6, 12, 44, 1, ACC_DARK))


# ---------------------------------------------------------------------------
# Battery: 26 x 61; the fill area is rows 7 to 56 (50 rows), columns 4 to 21.

BAT_W, BAT_H = 26, 61


def battery_outline(colour=EDGE_HI, inner="#101010"):
    return (rect(8, 0, 10, 3, colour) +            # terminal
            rect(0, 3, BAT_W, BAT_H - 3, colour) + rect(2, 5, BAT_W - 4, BAT_H - 7, inner))


def battery_segments(colours):
    """Five segments of 9 rows from the bottom (rows 48-56, 38-46 ...)."""
    out = ""
    for i, c in enumerate(colours):
        top = 48 - 10 * i
        out += rect(4, top, BAT_W - 8, 9, c)
        out += rect(4, top, BAT_W - 8, 1, "#ffffff", extra=' fill-opacity="0.18"')
    return out


def bolt(fill, edge):
    pts = [(15, 12), (7, 33), (12, 33), (10, 50), (19, 27), (14, 27), (17, 12)]
    return poly(pts, fill, extra=f' stroke="{edge}" stroke-width="1.2" stroke-linejoin="round"')


def make_battery():
    add_png("battery_empty.png", BAT_W, BAT_H, battery_outline())
    add_png("battery_full.png", BAT_W, BAT_H,
            battery_outline() + battery_segments([RED, ORANGE, ORANGE, GREEN, GREEN]))
    add_png("battery_charging.png", BAT_W, BAT_H,
            battery_outline() + battery_segments([ACC] * 5))
    # Charging symbol: the outline again (the charging look draws no outline) and a bolt.
    add_png("battery_lighting.png", BAT_W, BAT_H,
            rect(8, 0, 10, 3, EDGE_HI) + rect(0, 3, BAT_W, 2, EDGE_HI) + rect(0, BAT_H - 2, BAT_W, 2, EDGE_HI) +
            rect(0, 5, 2, BAT_H - 7, EDGE_HI) + rect(BAT_W - 2, 5, 2, BAT_H - 7, EDGE_HI) +
            bolt(WHITE, "#101010"))
    # Legend chips: small batteries lying down, 20 x 11.
    for name, c in (("green", GREEN), ("orange", ORANGE), ("red", RED)):
        add_png(f"battery_{name}.png", 20, 11,
                rect(0, 0, 18, 11, EDGE_HI) + rect(1, 1, 16, 9, "#101010") + rect(2, 2, 14, 7, c) +
                rect(18, 3, 2, 5, EDGE_HI))


# ---------------------------------------------------------------------------
# Power-saving half dial: 140 x 76, wedges as the control hit-tests them.

DIAL_W, DIAL_H = 140, 76
DIAL_ARC = [(3, 71), (7, 51), (17, 32), (40, 13), (70, 5), (100, 14), (121, 31), (131, 51), (134, 71)]
DIAL_CENTRE = (70, 71)


def make_power_dial():
    cx, cy = DIAL_CENTRE
    for minutes in range(3, 11):
        body = ""
        for k in range(2, 10):              # wedge k selects k + 1 minutes
            a, b = DIAL_ARC[k - 2], DIAL_ARC[k - 1]
            on = (k + 1 == minutes)
            fill = ACC if on else "#232323"
            edge = ACC_LIGHT if on else "#2f2f2f"
            body += poly([a, b, (cx, cy)], fill,
                         extra=f' stroke="{BG}" stroke-width="2" stroke-linejoin="bevel"')
            # a thin rim along the chord shows the arc
            body += (f'<line x1="{a[0]}" y1="{a[1]}" x2="{b[0]}" y2="{b[1]}" stroke="{edge}" '
                     f'stroke-width="1.5"/>')
        # labels after the wedges so no wedge covers them
        for k in range(2, 10):
            a, b = DIAL_ARC[k - 2], DIAL_ARC[k - 1]
            on = (k + 1 == minutes)
            mx, my = (a[0] + b[0]) / 2.0, (a[1] + b[1]) / 2.0
            t = 0.70
            lx, ly = cx + (mx - cx) * t, cy + (my - cy) * t
            body += text_centred(str(k + 1), lx, ly, 1, WHITE if on else "#8a8a8a")
        # hub: a half disc standing on the baseline
        body += (f'<path d="M{cx - 15},{cy + 1} A15,15 0 0 1 {cx + 15},{cy + 1} Z" fill="{BG}"/>'
                 f'<path d="M{cx - 11},{cy + 0.5} A10.5,10.5 0 0 1 {cx + 11},{cy + 0.5} Z" fill="#1b1b1b" '
                 f'stroke="{EDGE_HI}" stroke-width="1"/>')
        # needle towards the chosen wedge
        a, b = DIAL_ARC[minutes - 3], DIAL_ARC[minutes - 2]
        mx, my = (a[0] + b[0]) / 2.0, (a[1] + b[1]) / 2.0
        ln = math.hypot(mx - cx, my - cy)
        nx, ny = cx + (mx - cx) / ln * 9, cy + (my - cy) / ln * 9
        body += (f'<line x1="{cx}" y1="{cy}" x2="{nx:.2f}" y2="{ny:.2f}" stroke="{ACC_LIGHT}" '
                 f'stroke-width="2" stroke-linecap="round"/><circle cx="{cx}" cy="{cy}" r="2" fill="{WHITE}"/>')
        body += rect(0, 72, DIAL_W, 1, EDGE_HI)   # baseline
        add_png(f"power_manage_{minutes}min.png", DIAL_W, DIAL_H, body)


# ---------------------------------------------------------------------------
# Macro icons


def make_macro_icons():
    # Action list icons, 13 x 13 (drawn 15 px left of the row text, 3 px down).
    def arrow13(up, c):
        out = ""
        for i in range(5):
            y = 2 + i if up else 10 - i
            out += rect(6 - i, y, 1 + 2 * i, 1, c)
        out += rect(5, 7 if up else 2, 3, 4, c)
        return out
    add_png("macro_down.png", 13, 13, arrow13(False, ACC))    # key or button pressed
    add_png("macro_up.png", 13, 13, arrow13(True, GREY))      # released
    add_png("macro_time.png", 13, 13,
            f'<circle cx="6.5" cy="6.5" r="5.5" fill="none" stroke="{ORANGE}" stroke-width="1.4"/>' +
            rect(6, 3, 1, 4, ORANGE) + rect(6, 6, 3, 1, ORANGE))

    # Folder icons, 16 x 16 (drawn one pixel below the row top).
    closed = (rect(1, 3, 6, 2, "#9a7a3a") + rect(1, 4, 14, 10, "#c89a44") + rect(1, 5, 14, 1, "#e0b55c") +
              rect(1, 13, 14, 1, "#8a6a2c"))
    opened = (rect(1, 3, 6, 2, "#9a7a3a") + rect(1, 4, 13, 10, "#8a6a2c") +
              poly([(3, 7), (16, 7), (14, 14), (1, 14)], "#e0b55c", crisp=True))
    add_png("foldr_close.png", 16, 16, closed)
    add_png("foldr_open.png", 16, 16, opened)


# ---------------------------------------------------------------------------
# Dialog frames (BMP, 24-bit)


def dialog_chrome(w, h, strip_h):
    """Near-black body, a title strip with the accent tick, a hairline border."""
    return (rect(0, 0, w, strip_h, "url(#strip)") + rect(0, strip_h, w, 1, "#262626") +
            rect(0, strip_h + 1, w, h - strip_h - 1, "url(#body)") +
            rect(1, 1, w - 2, 1, "#242424") +
            rect(0, strip_h // 2 - 6, 3, 12, ACC) +
            frame_rect(0, 0, w, h, "#2c2c2c"))


CHROME_DEFS = (lin_grad("strip", [(0, "#1d1d1d"), (1, "#161616")]) +
               lin_grad("body", [(0, "#141414"), (1, "#101010")]))


def make_frames():
    add_bmp("Frame_common.bmp", 429, 140, dialog_chrome(429, 140, 28), CHROME_DEFS)
    add_bmp("Frame_DPI.bmp", 429, 140, dialog_chrome(429, 140, 28), CHROME_DEFS)
    add_bmp("Frame_warning.bmp", 319, 102, dialog_chrome(319, 102, 24), CHROME_DEFS)

    # Progress: identical frames except for the bar track (rows 66-77).
    base = dialog_chrome(429, 140, 26)
    track = rect(16, 66, 397, 12, "#1a1a1a") + frame_rect(16, 66, 397, 12, "#303030")
    add_bmp("Frame_progress_nr.bmp", 429, 140, base + track, CHROME_DEFS)
    bar = (rect(16, 66, 397, 12, ACC) + rect(16, 66, 397, 1, ACC_LIGHT) + rect(16, 77, 397, 1, ACC_DARK) +
           "".join(poly([(x, 76), (x + 6, 67), (x + 10, 67), (x + 4, 76)], "#4cb2ea", crisp=False)
                   for x in range(18, 404, 12)))
    add_bmp("Frame_progress_ov.bmp", 429, 140, base + bar, CHROME_DEFS)

    # Macro manager and macro chooser, 528 x 365.
    w, h = 528, 365
    mm = dialog_chrome(w, h, 26)
    mm += rrect(360, 44, 156, 281, 3, "#151515", "#232323")   # right-hand options column
    mm += rect(12, 328, w - 24, 1, "#222222")                   # above the bottom buttons
    add_bmp("Frame_Macro_Manager.bmp", w, h, mm, CHROME_DEFS)

    # Panel behind the left groups and open sections, 230 x 82, stretched freely.
    w, h = 230, 82
    panel = (rect(0, 0, w, h, "url(#panel)") + frame_rect(0, 0, w, h, "#232323"))
    add_bmp("Frame_Lighting_Setting.bmp", w, h, panel,
            lin_grad("panel", [(0, "#1a1a1a"), (1, "#151515")]))


# ---------------------------------------------------------------------------
# The mouse picture: 220 x 360, top view, six buttons.

MOUSE_W, MOUSE_H = 220, 360

def body_path():
    """Outline of the shell, symmetric about x = 110."""
    d = "M110,16 C146,16 172,36 175,86 C178,130 170,160 171,205 C173,268 166,344 110,344 "
    d += "C54,344 47,268 49,205 C50,160 42,130 45,86 C48,36 74,16 110,16 Z"
    return d


SPLIT_Y = 150                       # rear edge of the two main buttons
WHEEL = (101, 46, 18, 52)           # x, y, w, h
DPI_BTN = (102, 108, 16, 24)
SIDE_FWD = (37, 152, 12, 40)        # front side button (button 4)
SIDE_BACK = (37, 198, 12, 40)       # rear side button (button 5)

# Centres of the number marks on the picture (15 x 15 marks, top-left = centre - 7).
MARKS = {
    1: (74, 96), 2: (146, 96), 3: (110, 72), 4: (17, 172), 5: (17, 218), 6: (110, 120),
    7: (203, 172), 8: (203, 218), 9: (203, 264),
}


def button_region(n):
    """SVG shape of button n for the highlight images."""
    # The main buttons end at the seam curve (the split quadratic, halved at x = 110)
    # and leave out the wheel well.
    if n == 1:
        return (f'<g clip-path="url(#body)" mask="url(#nowell)"><path d="M0,0 L109,0 L109,157 '
                f'Q77.5,157 45,{SPLIT_Y} L0,{SPLIT_Y} Z"/></g>')
    if n == 2:
        return (f'<g clip-path="url(#body)" mask="url(#nowell)"><path d="M220,0 L111,0 L111,157 '
                f'Q142.5,157 175,{SPLIT_Y} L220,{SPLIT_Y} Z"/></g>')
    if n == 3:
        x, y, w, h = WHEEL
        return f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="8"/>'
    if n == 6:
        x, y, w, h = DPI_BTN
        return f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="4"/>'
    if n in (4, 5):
        x, y, w, h = SIDE_FWD if n == 4 else SIDE_BACK
        return f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="5"/>'
    return ""


def mouse_defs():
    return (f'<clipPath id="body"><path d="{body_path()}"/></clipPath>' +
            f'<mask id="nowell" maskUnits="userSpaceOnUse" x="0" y="0" width="{MOUSE_W}" height="{MOUSE_H}">'
            f'<rect width="{MOUSE_W}" height="{MOUSE_H}" fill="#fff"/>'
            f'<rect x="96" y="41" width="28" height="98" rx="11" fill="#000"/></mask>' +
            lin_grad("rim", [(0, "#ffffff", 1), (0.5, "#ffffff", 0), (1, "#ffffff", 0)]) +
            '<radialGradient id="shell" cx="0.5" cy="0.62" r="0.62">'
            '<stop offset="0" stop-color="#2c2c2c"/><stop offset="0.7" stop-color="#1e1e1e"/>'
            '<stop offset="1" stop-color="#151515"/></radialGradient>' +
            lin_grad("btn", [(0, "#2a2a2a"), (1, "#1f1f1f")]) +
            lin_grad("wheel", [(0, "#3a3a3a"), (0.5, "#4a4a4a"), (1, "#2e2e2e")], vertical=False) +
            '<filter id="glow" x="-0.2" y="-0.2" width="1.4" height="1.4">'
            '<feGaussianBlur stdDeviation="2.2"/></filter>')


def make_mouse():
    body = ""
    # side buttons sit slightly proud of the left flank
    for (x, y, w, h) in (SIDE_FWD, SIDE_BACK):
        body += rrect(x, y, w, h, 5, "#262626", "#444444")
    # shell
    body += f'<path d="{body_path()}" fill="url(#shell)"/>'
    # the two main buttons
    body += (f'<g clip-path="url(#body)"><rect x="0" y="0" width="109" height="{SPLIT_Y}" fill="url(#btn)"/>'
             f'<rect x="111" y="0" width="109" height="{SPLIT_Y}" fill="url(#btn)"/></g>')
    body += (f'<path d="M45,{SPLIT_Y} Q110,{SPLIT_Y + 14} 175,{SPLIT_Y}" fill="none" stroke="#0c0c0c" '
             f'stroke-width="2" clip-path="url(#body)"/>')
    body += rect(109, 16, 2, SPLIT_Y - 10, "#0c0c0c")
    # wheel well, wheel and DPI button
    body += rrect(97, 42, 26, 96, 10, "#0c0c0c")
    x, y, w, h = WHEEL
    body += rrect(x, y, w, h, 8, "url(#wheel)", "#555555")
    for gy in range(y + 5, y + h - 3, 4):
        body += rect(x + 3, gy, w - 6, 1, "#2a2a2a")
    x, y, w, h = DPI_BTN
    body += rrect(x, y, w, h, 4, "#2b2b2b", "#4a4a4a")
    body += rect(x + 4, y + h - 5, w - 8, 2, ACC)              # stage indicator
    # lighting strip around the rear, with a soft glow
    rear = "M58,268 C62,318 90,334 110,336 C130,334 158,318 162,268"
    body += f'<path d="{rear}" fill="none" stroke="{ACC}" stroke-width="5" opacity="0.55" filter="url(#glow)"/>'
    body += f'<path d="{rear}" fill="none" stroke="{ACC_LIGHT}" stroke-width="1.6"/>'
    # a faint rim light from the top, then the outline and the palm mark
    body += (f'<path d="{body_path()}" fill="none" stroke="url(#rim)" stroke-opacity="0.10" '
             f'stroke-width="6" clip-path="url(#body)"/>')
    # outline and the palm mark
    body += f'<path d="{body_path()}" fill="none" stroke="#474747" stroke-width="1.5"/>'
    body += text("Z", 105, 250, 2, "#3c3c3c")
    # leader ticks from the side-button marks
    for (x, y, w, h) in (SIDE_FWD, SIDE_BACK):
        body += rect(26, y + h // 2, x - 27, 1, "#3a3a3a")
    add_png("mouse/mouse_nr.png", MOUSE_W, MOUSE_H, body, mouse_defs())

    for n in range(1, 10):
        cx, cy = MARKS[n]
        add_png(f"mouse/serial_number{n}.png", 15, 15, mark(7.5, 7.5, n, lit=False))
        hl = ""
        region = button_region(n)
        if region:
            hl += f'<g fill="{ACC}" fill-opacity="0.38" stroke="{ACC_LIGHT}" stroke-width="2">{region}</g>'
        hl += mark(cx + 0.5, cy + 0.5, n, lit=True)
        add_png(f"mouse/number{n}.png", MOUSE_W, MOUSE_H, hl, mouse_defs())


def mark(cx, cy, n, lit):
    fill = ACC if lit else "#101010"
    ring = WHITE if lit else "#8c8c8c"
    c = WHITE if lit else "#d0d0d0"
    tl_x, tl_y = int(cx - 7.5), int(cy - 7.5)
    return (f'<circle cx="{cx}" cy="{cy}" r="6.9" fill="{fill}" fill-opacity="{1 if lit else 0.9}" '
            f'stroke="{ring}" stroke-width="1.1"/>' + text(str(n), tl_x + 5, tl_y + 4, 1, c))


# ---------------------------------------------------------------------------
# Resource images


def logo_mark(x, y, s):
    """The program's mark: a Z of three bars in a dark tile; s = tile size."""
    k = s / 32.0
    def P(px, py):
        return (x + px * k, y + py * k)
    tile = (f'<rect x="{x}" y="{y}" width="{s}" height="{s}" rx="{6 * k}" fill="url(#tile)" '
            f'stroke="#3a3a3a" stroke-width="{max(k, 0.75)}"/>')
    z = (poly([P(8, 7), P(25, 7), P(25, 12), P(8, 12)], "url(#zgrad)") +
         poly([P(18, 12), P(25, 12), P(14, 20), P(7, 20)], "url(#zgrad)") +
         poly([P(7, 20), P(24, 20), P(24, 25), P(7, 25)], "url(#zgrad)"))
    return tile + z


LOGO_DEFS = (lin_grad("tile", [(0, "#2a2a2a"), (1, "#121212")]) +
             lin_grad("zgrad", [(0, ACC_LIGHT), (1, ACC)]))


def icon_small(size):
    """Pixel-exact mark on a 16 grid (size a multiple of 16)."""
    k = size // 16
    def R(x, y, w, h, c):
        return rect(x * k, y * k, w * k, h * k, c)
    body = (rrect(0, 0, size, size, 3 * k, "#1b1b1b") + rrect(0, 0, size, size, 3 * k, "none", "#444444", k) +
            R(4, 3, 8, 3, ACC) + R(4, 10, 8, 3, ACC))
    # diagonal from the top bar's right end to the bottom bar's left end, in whole-pixel steps
    for i, (x, y) in enumerate([(9, 6), (8, 7), (7, 8), (6, 9)]):
        body += R(x, y, 3, 1, ACC)
    return svg(size, size, body)


def make_resources():
    # Application icon sources (the ICO is assembled by the render script).
    # 16 px (tray, small window icon) is drawn on whole pixels; larger sizes are vector.
    SOURCES["icon_16.svg"] = icon_small(16)
    for size in (24, 32, 48, 256):
        SOURCES[f"icon_{size}.svg"] = svg(size, size, logo_mark(0, 0, size), LOGO_DEFS)
    IMAGES.append(("ico", "images/app_128.ico", "icon_16.svg icon_24.svg icon_32.svg icon_48.svg icon_256.svg",
                   256, 256))

    # Main window background, 1127 x 740.
    w, h = 1127, 740
    strip = 44
    body = (rect(0, 0, w, strip, "url(#strip)") + rect(0, strip, w, 1, "#262626") + rect(0, strip + 1, w, 1, "#0a0a0a") +
            rect(0, strip + 2, w, h - strip - 2, "url(#bodyv)") +
            rect(0, strip + 2, w, h - strip - 2, "url(#halo)") +
            rect(0, 0, w, 1, "#2a2a2a") + frame_rect(0, 0, w, h, "#262626"))
    body += logo_mark(16, 10, 24)
    body += text("ZELTRA", 50, 12, 3, "#e6e6e6", spacing=1)
    body += rect(50, 36, text_width("ZELTRA", 3, 1), 2, ACC)
    defs = (lin_grad("strip", [(0, "#1c1c1c"), (1, "#151515")]) +
            lin_grad("bodyv", [(0, "#121212"), (1, "#0d0d0d")]) +
            '<radialGradient id="halo" cx="0.27" cy="0.5" r="0.45">'
            '<stop offset="0" stop-color="#ffffff" stop-opacity="0.035"/>'
            '<stop offset="1" stop-color="#ffffff" stop-opacity="0"/></radialGradient>' + LOGO_DEFS)
    SOURCES["background_364.svg"] = svg(w, h, rect(0, 0, w, h, BG) + body, defs)
    IMAGES.append(("bmp", "images/background_364.bmp", "background_364.svg", w, h))

    # Colour palette, 500 x 291: exact pixels, written as a PPM.
    SOURCES["palette_287.ppm"] = palette_ppm()
    IMAGES.append(("ppmbmp", "images/palette_287.bmp", "palette_287.ppm", 500, 291))

    # Scroll bar arrow strips: three 18 x 18 frames (normal, hover, pressed).
    for name, rid, up in (("scroll_up", 188, True), ("scroll_down", 187, False)):
        body = ""
        for f, (fill, c) in enumerate((("#1f1f1f", "#8c8c8c"), ("#24323d", WHITE), (ACC, WHITE))):
            ox = 18 * f
            body += rect(ox, 0, 18, 18, fill) + frame_rect(ox, 0, 18, 18, "#2a2a2a" if f == 0 else ACC_DARK)
            for i in range(4):
                y = 7 + i if up else 10 - i
                body += rect(ox + 8 - i, y, 2 + 2 * i, 1, c)
        SOURCES[f"{name}_{rid}.svg"] = svg(54, 18, body)
        IMAGES.append(("png", f"images/{name}_{rid}.png", f"{name}_{rid}.svg", 54, 18))


# ---------------------------------------------------------------------------
# Palette picture

PAL_W, PAL_H = 500, 291
PAL_FIELD = (18, 26, 222, 270)          # left, top, right, bottom (inclusive)
PAL_GRID = (244, 26, 473, 190)
PAL_SW, PAL_SH, PAL_GX, PAL_GY = 26, 24, 3, 4  # swatch size and gaps
PAL_PREVIEW = (245, 212, 303, 270)


def hsv(h, s, v):
    h = (h % 360) / 60.0
    i = int(h)
    f = h - i
    p, q, t = v * (1 - s), v * (1 - s * f), v * (1 - s * (1 - f))
    r, g, b = [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)][i % 6]
    return (int(round(r * 255)), int(round(g * 255)), int(round(b * 255)))


def swatch_colours():
    hues = [0, 30, 55, 120, 180, 210, 270, 310]
    rows = [
        [hsv(hh, 1.0, 1.0) for hh in hues],
        [hsv(hh, 0.45, 1.0) for hh in hues],
        [hsv(hh, 1.0, 0.6) for hh in hues],
        [hsv(hh, 1.0, 1.0) for hh in (15, 42, 80, 150, 195, 235, 290, 335)],
        [hsv(hh, 0.7, 0.85) for hh in (15, 42, 80, 150, 195, 235, 290, 335)],
        [(g, g, g) for g in (255, 224, 192, 160, 128, 96, 64, 40)],
    ]
    return rows


def field_colour(x, y):
    """Hue across, fading to grey downwards."""
    l, t, r, b = PAL_FIELD
    hue = 360.0 * (x - l) / (r - l + 1)
    k = (y - t) / float(b - t)
    base = hsv(hue, 1.0, 1.0)
    grey = 128
    return tuple(int(round(c + (grey - c) * k)) for c in base)


def palette_pixels():
    px = [[BG_RGB] * PAL_W for _ in range(PAL_H)]

    def fill(x0, y0, x1, y1, c):   # inclusive
        for yy in range(y0, y1 + 1):
            row = px[yy]
            for xx in range(x0, x1 + 1):
                row[xx] = c

    def outline(x0, y0, x1, y1, c):
        fill(x0, y0, x1, y0, c)
        fill(x0, y1, x1, y1, c)
        fill(x0, y0, x0, y1, c)
        fill(x1, y0, x1, y1, c)

    # title strip and border (same chrome as the other dialogs)
    fill(0, 0, PAL_W - 1, 19, (26, 26, 26))
    fill(0, 20, PAL_W - 1, 20, (38, 38, 38))
    fill(0, 4, 2, 15, ACC_RGB)
    outline(0, 0, PAL_W - 1, PAL_H - 1, (44, 44, 44))
    # frames sit one pixel outside the picking areas
    l, t, r, b = PAL_FIELD
    outline(l - 1, t - 1, r + 1, b + 1, (46, 46, 46))
    for yy in range(t, b + 1):
        row = px[yy]
        for xx in range(l, r + 1):
            row[xx] = field_colour(xx, yy)
    gl, gt, _, _ = PAL_GRID
    for j, colours in enumerate(swatch_colours()):
        for i, c in enumerate(colours):
            x0 = gl + i * (PAL_SW + PAL_GX)
            y0 = gt + j * (PAL_SH + PAL_GY)
            fill(x0, y0, x0 + PAL_SW - 1, y0 + PAL_SH - 1, c)
    pl, pt, pr, pb = PAL_PREVIEW
    outline(pl - 2, pt - 2, pr + 2, pb + 2, (46, 46, 46))
    fill(pl, pt, pr, pb, (32, 32, 32))
    # quiet panel for the value texts and the OK button
    fill(318, 204, 486, 278, (21, 21, 21))
    outline(318, 204, 486, 278, (35, 35, 35))
    return px


def palette_ppm():
    px = palette_pixels()
    data = bytearray(f"P6\n{PAL_W} {PAL_H}\n255\n".encode())
    for row in px:
        for c in row:
            data += bytes(c)
    return bytes(data)


# ---------------------------------------------------------------------------
# Checks of the rendered files


def read_bmp(path):
    with open(path, "rb") as f:
        d = f.read()
    assert d[:2] == b"BM", path
    off = struct.unpack_from("<I", d, 10)[0]
    hsz, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", d, 14)
    return d, off, w, h, bpp, comp


def bmp_pixel_reader(path):
    d, off, w, h, bpp, comp = read_bmp(path)
    stride = (w * 3 + 3) & ~3
    bottom_up = h > 0
    h = abs(h)

    def at(x, y):
        row = (h - 1 - y) if bottom_up else y
        i = off + row * stride + x * 3
        b, g, r = d[i], d[i + 1], d[i + 2]
        return (r, g, b)
    return at


def png_header(path):
    with open(path, "rb") as f:
        d = f.read()
    assert d[:8] == b"\x89PNG\r\n\x1a\n", path
    w, h, depth, ctype = struct.unpack_from(">IIBB", d, 16)
    chunks = []
    i = 8
    while i < len(d):
        ln, typ = struct.unpack_from(">I4s", d, i)
        chunks.append(typ.decode())
        i += 12 + ln
    return w, h, depth, ctype, chunks


def check(resdir):
    problems = []
    for kind, rel, _src, w, h in IMAGES:
        path = os.path.join(resdir, rel)
        if not os.path.exists(path):
            problems.append(f"missing {rel}")
            continue
        if kind in ("bmp", "ppmbmp"):
            _d, _off, bw, bh, bpp, comp = read_bmp(path)
            if (bw, abs(bh), bpp, comp) != (w, h, 24, 0):
                problems.append(f"{rel}: {bw}x{bh} {bpp} bpp compression {comp}, want {w}x{h} 24 bpp")
        elif kind == "png":
            pw, ph, depth, ctype, chunks = png_header(path)
            if (pw, ph) != (w, h) or ctype != 6 or depth != 8:
                problems.append(f"{rel}: {pw}x{ph} depth {depth} type {ctype}, want {w}x{h} RGBA 8")
            if "tIME" in chunks or "tEXt" in chunks or "zTXt" in chunks or "iTXt" in chunks:
                problems.append(f"{rel}: carries metadata chunks {chunks}")
    # The palette dialog ignores clicks on RGB(15, 15, 15): no picking pixel may have it,
    # and every gap between swatches must be exactly it.
    pal = os.path.join(resdir, "images/palette_287.bmp")
    if os.path.exists(pal):
        at = bmp_pixel_reader(pal)
        l, t, r, b = PAL_FIELD
        for y in range(t, b + 1):
            for x in range(l, r + 1):
                if at(x, y) == BG_RGB:
                    problems.append(f"palette field pixel ({x}, {y}) is the background colour")
        gl, gt, gr, gb = PAL_GRID
        for y in range(gt, gb + 1):
            for x in range(gl, gr + 1):
                i, xi = divmod(x - gl, PAL_SW + PAL_GX)
                j, yj = divmod(y - gt, PAL_SH + PAL_GY)
                inside = i < 8 and j < 6 and xi < PAL_SW and yj < PAL_SH
                c = at(x, y)
                if inside and c == BG_RGB:
                    problems.append(f"palette swatch pixel ({x}, {y}) is the background colour")
                if not inside and c != BG_RGB:
                    problems.append(f"palette gap pixel ({x}, {y}) is {c}")
        if at(l, t) != field_colour(l, t) or at(r, b) != (128, 128, 128):
            problems.append("palette field corners are not the expected colours")
    for p in problems[:40]:
        print("art check:", p, file=sys.stderr)
    if problems:
        print(f"art check: {len(problems)} problem(s)", file=sys.stderr)
        return 1
    print(f"art check: {len(IMAGES)} images OK")
    return 0


# ---------------------------------------------------------------------------
# Mock-up of the main window (for looking at the art, not for the program)


def mockup(resdir, out, labels=True):
    """Places controls on background 364 roughly where the main window may put them."""
    S = lambda rel: os.path.join(resdir, "skins", rel)
    ops = []

    def img(rel, x, y, w=None, h=None):
        size = f"{w}x{h}!" if w else ""
        if size:
            ops.extend(["(", S(rel), "-filter", "point", "-resize", size, ")"])
        else:
            ops.append(S(rel))
        ops.extend(["-geometry", f"+{x}+{y}", "-composite"])

    def label(s, x, y, colour="#b4b4b4", size=12):
        if labels:
            ops.extend(["-fill", colour, "-pointsize", str(size), "-annotate", f"+{x}+{y}", s])

    def panel(x, y, w, h):
        ops.extend(["(", S("Frame_Lighting_Setting.bmp"), "-filter", "point", "-resize", f"{w}x{h}!", ")",
                    "-geometry", f"+{x}+{y}", "-composite"])

    # title bar
    img("min_nr.png", 1074, 14)
    img("exit_ov.png", 1098, 14)
    label("Version:1.1.12", 930, 27, "#8a8a8a", 11)
    # left column: buttons group
    panel(20, 60, 250, 300)
    img("header2_nr.png", 20, 60, 250, 25)
    label("BUTTONS", 32, 77)
    names = ["Left click", "Right click", "Middle click", "Forward", "Back", "DPI loop"]
    for i, n in enumerate(names):
        y = 100 + i * 34
        img("combo2_ov.png" if i == 2 else "combo2_nr.png", 34, y, 222, 26)
        label(f"{i + 1}  {n}", 44, y + 17, "#ffffff" if i == 2 else "#b4b4b4")
    img("button1_nr.png", 84, 314)
    label("Macro manager", 100, 332)
    # power group
    panel(20, 375, 250, 200)
    img("header2_nr.png", 20, 375, 250, 25)
    label("POWER SAVING", 32, 392)
    img("power_manage_6min.png", 75, 410)
    label("Sleep after 6 min", 90, 502)
    img("check_dn.png", 40, 520)
    label("Light off while moving", 58, 530)
    img("check_nr.png", 40, 544)
    label("Motion wake-up", 58, 554)
    # profile + reset
    panel(20, 590, 250, 130)
    img("header2_nr.png", 20, 590, 250, 25)
    label("PROFILE", 32, 607)
    img("button2_nr.png", 40, 630, 100, 26)
    label("Profile 1", 62, 647)
    img("button2_ov.png", 150, 630, 100, 26)
    label("Reset", 180, 647, "#ffffff")
    # mouse and battery
    img("mouse/mouse_nr.png", 300, 110)
    for n in range(1, 7):
        cx, cy = MARKS[n]
        img(f"mouse/serial_number{n}.png", 300 + cx - 7, 110 + cy - 7)
    img("mouse/number3.png", 300, 110)
    # the gauge at 78 %: outline, then the lower 39 of the 50 fill rows
    img("battery_empty.png", 330, 520)
    ops.extend(["(", S("battery_full.png"), "-crop", f"{BAT_W}x{BAT_H - 18}+0+18", "+repage", ")",
                "-geometry", "+330+538", "-composite"])
    label("78%", 364, 556)
    for i, (c, t) in enumerate((("green", "High"), ("orange", "Medium"), ("red", "Low"))):
        img(f"battery_{c}.png", 420, 520 + i * 18)
        label(t, 446, 530 + i * 18)
    # right column: sections
    x0, wcol = 560, 540
    y = 60
    img("header_ov.png", x0, y, wcol, 26)
    label("DPI", x0 + 14, y + 17, "#ffffff")
    y += 30
    panel(x0, y, wcol, 190)
    stage_colours = ["#ff2020", "#ffa000", "#ffff00", "#20ff40", "#20a0ff", "#c040ff"]
    dpis = [400, 800, 1600, 3200, 6400, 12000]
    for k in range(6):
        cx = x0 + 30 + k * 84
        img("check_button_dpi_dn.png" if k < 5 else "check_button_dpi_nr.png", cx + 20, y + 12)
        ops.extend(["-fill", stage_colours[k], "-draw", f"rectangle {cx + 8},{y + 36} {cx + 46},{y + 44}"])
        img("mouse/dpi_bar_1.png", cx + 20, y + 56)
        # fill drawn the way the gauge control does: lower part only
        level = [30, 45, 60, 75, 88, 100][k]
        src_top = 100 - level
        ops.extend(["(", S("mouse/dpi_bar_2.png"), "-crop", f"16x{level}+0+{src_top}", "+repage", ")",
                    "-geometry", f"+{cx + 20}+{y + 56 + src_top}", "-composite"])
        img("dpi_value.png", cx, y + 164)
        label(str(dpis[k]), cx + 14, y + 174, "#ff0000" if k == 1 else "#b4b4b4", 11)
    y += 196
    img("header_ov.png", x0, y, wcol, 26)
    label("LIGHTING", x0 + 14, y + 17, "#ffffff")
    y += 30
    panel(x0, y, wcol, 174)
    img("combo3_nr.png", x0 + 20, y + 14, 175, 21)
    label("Breathing", x0 + 30, y + 29)
    sc = ["#ff0000", "#ff8000", "#ffff00", "#00ff00", "#00ffff", "#0060ff", "#a000ff", "#ff00c0"]
    for s in range(8):
        sx = x0 + 20 + s * 34
        img("color_select_check.png" if s < 5 else "color_select_nr.png", sx, y + 50)
        ops.extend(["-fill", sc[s], "-draw", f"rectangle {sx + 3},{y + 53} {sx + 22},{y + 72}"])
    label("Speed", x0 + 20, y + 104)
    img("Slider_bar.png", x0 + 90, y + 94)
    img("Slider_Circle.png", x0 + 90 + 93, y + 94)
    label("Brightness", x0 + 20, y + 134)
    img("Slider_bar.png", x0 + 90, y + 124)
    img("Slider_Circle.png", x0 + 90 + 186, y + 124)
    img("up_check.png", x0 + 330, y + 92)
    img("down_nr.png", x0 + 360, y + 92)
    y += 180
    img("header_nr.png", x0, y, wcol, 26)
    label("REPORT RATE", x0 + 14, y + 17)
    y += 30
    img("header_nr.png", x0, y, wcol, 26)
    label("LIFT-OFF DISTANCE", x0 + 14, y + 17)
    y += 30
    img("header_nr.png", x0, y, wcol, 26)
    label("POINTER", x0 + 14, y + 17)
    # report-rate radios just to see them (below the column)
    y += 40
    for i, r in enumerate(("125", "250", "500", "1000")):
        img(f"{r}hz_{'dn' if i == 3 else 'nr'}.png", x0 + i * 108, y)
    cmd = (["convert", os.path.join(resdir, "images", "background_364.bmp"), "-font", "DejaVu-Sans"] + ops +
           ["-strip", "-define", "png:exclude-chunks=date,time", out])
    subprocess.run(cmd, check=True)


def dialogs_mockup(resdir, out):
    """A few small dialogs put together from their frames and buttons."""
    S = lambda rel: os.path.join(resdir, "skins", rel)

    def place(base, items, texts, extra=()):
        cmd = ["convert", base]
        for rel, x, y in items:
            cmd += [S(rel), "-geometry", f"+{x}+{y}", "-composite"]
        cmd += list(extra)
        cmd += ["-font", "DejaVu-Sans", "-pointsize", "12"]
        for t, x, y, c in texts:
            cmd += ["-fill", c, "-annotate", f"+{x}+{y}", t]
        return cmd

    parts = []
    a = out + ".a.png"
    subprocess.run(place(S("Frame_warning.bmp"),
                         [("exit_nr.png", 300, 4), ("button2_nr.png", 170, 70), ("button2_ov.png", 240, 70)],
                         [("Rename macro", 10, 17, "#b4b4b4"), ("OK", 193, 86, "#b4b4b4"),
                          ("Cancel", 252, 86, "#ffffff"), ("Macro 1", 130, 56, "#000000")],
                         ["-fill", "white", "-draw", "rectangle 11,40 305,61"]) + [a], check=True)
    parts.append(a)
    b = out + ".b.png"
    subprocess.run(["convert", S("Frame_progress_nr.bmp"),
                    "(", S("Frame_progress_ov.bmp"), "-crop", "260x12+0+66", "+repage", ")",
                    "-geometry", "+0+66", "-composite", "-font", "DejaVu-Sans", "-pointsize", "13",
                    "-fill", "#bebebe", "-annotate", "+10+18", "Saving settings", b], check=True)
    parts.append(b)
    c = out + ".c.png"
    subprocess.run(place(os.path.join(resdir, "images", "palette_287.bmp"),
                         [("exit_ov.png", 480, 3), ("button2_nr.png", 410, 247)],
                         [("R  53", 330, 226, "#ffffff"), ("G  160", 330, 246, "#ffffff"),
                          ("B  222", 330, 266, "#ffffff"), ("OK", 433, 263, "#b4b4b4")],
                         ["-fill", "#35a0de", "-draw", "rectangle 245,212 303,270"]) + [c], check=True)
    parts.append(c)
    subprocess.run(["convert", "-background", "#303030"] + parts +
                   ["-gravity", "northwest", "-splice", "10x10", "-append", "-strip", out], check=True)
    for p_ in parts:
        os.remove(p_)


# ---------------------------------------------------------------------------


def build():
    make_buttons()
    make_checks()
    make_headers()
    make_sliders()
    make_battery()
    make_power_dial()
    make_macro_icons()
    make_frames()
    make_mouse()
    make_resources()


def emit(workdir):
    os.makedirs(workdir, exist_ok=True)
    for name, content in SOURCES.items():
        mode = "wb" if isinstance(content, bytes) else "w"
        with open(os.path.join(workdir, name), mode) as f:
            f.write(content)
    with open(os.path.join(workdir, "manifest.tsv"), "w") as f:
        for kind, rel, src, w, h in IMAGES:
            f.write(f"{kind}\t{rel}\t{src}\t{w}\t{h}\n")


def main(argv):
    build()
    if len(argv) == 3 and argv[1] == "emit":
        emit(argv[2])
        return 0
    if len(argv) == 3 and argv[1] == "check":
        return check(argv[2])
    if len(argv) == 4 and argv[1] == "dialogs":
        dialogs_mockup(argv[2], argv[3])
        return 0
    if len(argv) in (4, 5) and argv[1] == "mockup":
        mockup(argv[2], argv[3], labels=(len(argv) == 4 or argv[4] != "nolabels"))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
