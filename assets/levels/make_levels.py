#!/usr/bin/env python3
# Authoring aid: the script that laid out the first version of the level files
# in this folder. The .lvl files are the source of truth: edit them by hand,
# or change the table here, run it from the repository root
# (python3 assets/levels/make_levels.py assets/levels) and check the result
# with the greedy-player test, which must still win every level in every mode.
"""Authoring helper for Tessaly's level files (writes assets/levels/*.lvl).

The board is 15 rows of 20 characters; only columns 0..16 lie beside the
panel, so columns 17..19 are always '.'. Every level has squares (digits, or
upper-case letters for chained balls on double squares) so that Puzzle has
work to do.
"""
import os, random, sys

OUT = sys.argv[1] if len(sys.argv) > 1 else "assets/levels"
W, H, VIS = 20, 15, 17

def blank():
    return [['.'] * W for _ in range(H)]

def fill(g, x0, y0, x1, y1, ch='0'):
    for y in range(max(0, y0), min(H - 1, y1) + 1):
        for x in range(max(0, x0), min(VIS - 1, x1) + 1):
            g[y][x] = ch

def cells(g, ch=None):
    return [(x, y) for y in range(H) for x in range(W) if g[y][x] != '.' and (ch is None or g[y][x] == ch)]

def origin(w, h):
    return (VIS - w) // 2, (H - h) // 2

# ------------------------------------------------------------------ shapes
def rect(w, h):
    g = blank(); x0, y0 = origin(w, h); fill(g, x0, y0, x0 + w - 1, y0 + h - 1); return g

def rounded(w, h, cut=1):
    g = rect(w, h); x0, y0 = origin(w, h)
    for i in range(cut):
        for j in range(cut - i):
            for (x, y) in ((x0 + i, y0 + j), (x0 + w - 1 - i, y0 + j), (x0 + i, y0 + h - 1 - j), (x0 + w - 1 - i, y0 + h - 1 - j)):
                g[y][x] = '.'
    return g

def cross(w, h, arm):
    g = blank(); x0, y0 = origin(w, h)
    cx = x0 + (w - arm) // 2; cy = y0 + (h - arm) // 2
    fill(g, cx, y0, cx + arm - 1, y0 + h - 1); fill(g, x0, cy, x0 + w - 1, cy + arm - 1)
    return g

def ring(w, h, t):
    g = rect(w, h); x0, y0 = origin(w, h)
    fill(g, x0 + t, y0 + t, x0 + w - 1 - t, y0 + h - 1 - t, '.'); return g

def donut(w, h, t, island):
    g = ring(w, h, t); x0, y0 = origin(w, h)
    cx, cy = x0 + w // 2, y0 + h // 2
    fill(g, cx - island // 2, cy - island // 2, cx - island // 2 + island - 1, cy - island // 2 + island - 1)
    fill(g, x0, cy, x0 + w - 1, cy)  # bridges to the ring
    return g

def diamond(rx, ry):
    g = blank(); cx, cy = VIS // 2, H // 2
    for y in range(H):
        for x in range(VIS):
            if abs(x - cx) / rx + abs(y - cy) / ry <= 1.0:
                g[y][x] = '0'
    return g

def hourglass(w, h):
    g = blank(); x0, y0 = origin(w, h)
    for r in range(h):
        d = abs(r - (h - 1) / 2)
        inset = int(round(((h - 1) / 2 - d) * 0.6))
        fill(g, x0 + inset, y0 + r, x0 + w - 1 - inset, y0 + r)
    return g

def twin(w, h, gap):
    g = blank(); total = 2 * w + gap; x0, y0 = (VIS - total) // 2, (H - h) // 2
    fill(g, x0, y0, x0 + w - 1, y0 + h - 1); fill(g, x0 + w + gap, y0, x0 + 2 * w + gap - 1, y0 + h - 1)
    for r in (y0 + 1, y0 + h // 2, y0 + h - 2):
        fill(g, x0 + w, r, x0 + w + gap - 1, r)
    return g

def pillars(w, h, step, off=2):
    g = rect(w, h); x0, y0 = origin(w, h)
    for y in range(y0 + off, y0 + h - off, step):
        for x in range(x0 + off, x0 + w - off, step):
            g[y][x] = '.'
    return g

def hshape(w, h, bar):
    g = blank(); x0, y0 = origin(w, h); leg = (w - bar) // 2 if False else 4
    fill(g, x0, y0, x0 + leg - 1, y0 + h - 1); fill(g, x0 + w - leg, y0, x0 + w - 1, y0 + h - 1)
    cy = y0 + (h - bar) // 2; fill(g, x0 + leg, cy, x0 + w - leg - 1, cy + bar - 1)
    return g

def stairs(w, h, band):
    g = blank(); x0, y0 = origin(w, h)
    for r in range(h):
        start = x0 + int(r * (w - band) / max(1, h - 1))
        fill(g, start, y0 + r, start + band - 1, y0 + r)
    return g

def arena(w, h, block):
    g = rect(w, h); x0, y0 = origin(w, h)
    bx = [x0 + 2, x0 + w - 2 - block]; by = [y0 + 2, y0 + h - 2 - block]
    for x in bx:
        for y in by:
            fill(g, x, y, x + block - 1, y + block - 1, '.')
    return g

def windows(w, h):
    g = rect(w, h); x0, y0 = origin(w, h)
    for y in range(y0 + 2, y0 + h - 2, 4):
        for x in range(x0 + 2, x0 + w - 3, 4):
            fill(g, x, y, x + 1, y + 1, '.')
    return g

def castle(w, h):
    g = rect(w, h - 2); x0, y0 = origin(w, h)
    for y in range(H):
        for x in range(W):
            g[y][x] = '.'
    fill(g, x0, y0 + 2, x0 + w - 1, y0 + h - 1)
    for x in range(x0, x0 + w, 3):
        fill(g, x, y0, x + 1, y0 + 1)
    fill(g, x0 + w // 2 - 1, y0 + h - 3, x0 + w // 2 + 1, y0 + h - 1, '.')
    return g

# ------------------------------------------------------------------ squares
def pattern_cells(g, pattern, rng):
    cs = cells(g, '0')
    xs = [c[0] for c in cs]; ys = [c[1] for c in cs]
    if not cs: return []
    x0, x1, y0, y1 = min(xs), max(xs), min(ys), max(ys)
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    if pattern == 'centre':
        key = lambda c: abs(c[0] - cx) + abs(c[1] - cy)
    elif pattern == 'corners':
        key = lambda c: min(abs(c[0] - x0), abs(c[0] - x1)) + min(abs(c[1] - y0), abs(c[1] - y1))
    elif pattern == 'frame':
        key = lambda c: abs(max(abs(c[0] - cx) / max(1, (x1 - x0) / 2), abs(c[1] - cy) / max(1, (y1 - y0) / 2)) - 0.55)
    elif pattern == 'diag':
        key = lambda c: min(abs((c[0] - x0) - (c[1] - y0)), abs((x1 - c[0]) - (c[1] - y0)))
    elif pattern == 'rows':
        key = lambda c: (0 if (c[1] - y0) % 3 == 1 else 10) + abs(c[0] - cx) / 20
    elif pattern == 'edges':
        key = lambda c: min(c[0] - x0, x1 - c[0], c[1] - y0, y1 - c[1])
    else:
        rng.shuffle(cs); return cs
    tie = {c: rng.random() for c in cs}
    return sorted(cs, key=lambda c: (round(key(c), 3), tie[c]))

def colour_at(g, x, y):
    if not (0 <= x < W and 0 <= y < H): return None
    c = g[y][x]
    if 'a' <= c <= 'h': return ord(c) - ord('a')
    if 'A' <= c <= 'H': return ord(c) - ord('A')
    return None

def makes_line(g, x, y):
    col = colour_at(g, x, y)
    for dx, dy in ((1, 0), (0, 1), (1, 1), (1, -1)):
        n = 1
        for s in (1, -1):
            k = 1
            while colour_at(g, x + s * k * dx, y + s * k * dy) == col:
                n += 1; k += 1
        if n >= 3: return True
    return False

def place(g, rng, spec):
    pat = spec.get('pattern', 'scatter')
    order = pattern_cells(g, pat, rng)
    i = 0
    for _ in range(spec.get('sq2', 0)):
        x, y = order[i]; i += 1; g[y][x] = '2'
    for _ in range(spec.get('sq1', 0)):
        x, y = order[i]; i += 1; g[y][x] = '1'
    # chained balls: spread over the remaining pattern cells
    free = [c for c in order[i:]]
    chains = spec.get('chains', 0)
    if chains:
        step = max(1, len(free) // (chains + 1))
        picks = [free[(k + 1) * step % len(free)] for k in range(chains)]
        for (x, y) in picks:
            for _ in range(20):
                g[y][x] = chr(ord('A') + rng.randrange(spec['colors']))
                if not makes_line(g, x, y): break
    # starting balls for the first levels (later levels are filled at start)
    balls = spec.get('balls', 0)
    cs = cells(g, '0'); rng.shuffle(cs)
    placed = 0
    for (x, y) in cs:
        if placed >= balls: break
        g[y][x] = chr(ord('a') + rng.randrange(spec['colors']))
        if makes_line(g, x, y):
            g[y][x] = '0'; continue
        placed += 1

def write(name, params, g):
    lines = [f"{k}={v}" for k, v in params]
    lines.append("level=")
    for row in g:
        lines.append(''.join(row))
    text = "\r\n".join(lines) + "\r\n"
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(text.encode("ascii"))

def level_name(i):
    return f"tut1_{i+1:02d}.lvl" if i < 4 else f"pack1_{i-3:02d}.lvl"

NOJOKER = 1000000
# (shape, colours, addballs, target, jokers, squares spec)
LEVELS = [
    # Stage 1: first steps. Open rectangles, few colours, a handful of squares.
    (lambda: rect(7, 6),          3, 2,   30, NOJOKER, dict(sq1=3, pattern='centre', balls=8)),
    (lambda: rect(8, 7),          3, 2,   40, NOJOKER, dict(sq1=4, pattern='corners', balls=10)),
    (lambda: rect(9, 7),          4, 2,   60, 40, dict(sq1=6, pattern='centre')),
    (lambda: rect(10, 8),         4, 3,   80, 40, dict(sq1=8, pattern='corners')),
    (lambda: rounded(11, 9),      4, 3,  100, 35, dict(sq1=8, sq2=1, pattern='frame')),
    # Stage 2: bigger fields, the first double squares.
    (lambda: rect(12, 9),         4, 3,  120, 35, dict(sq1=8, sq2=2, pattern='rows')),
    (lambda: rounded(13, 10),     5, 3,  200, 30, dict(sq1=8, sq2=3, pattern='diag')),
    (lambda: pillars(13, 11, 4),  5, 3,  220, 30, dict(sq1=10, sq2=3, pattern='frame')),
    (lambda: rect(14, 11),        5, 3,  250, 30, dict(sq1=10, sq2=4, pattern='corners')),
    (lambda: rounded(15, 12, 2),  5, 3,  280, 30, dict(sq1=12, sq2=4, pattern='centre')),
    # Stage 3: shapes.
    (lambda: cross(15, 13, 7),    5, 3,  300, 28, dict(sq1=10, sq2=5, pattern='centre')),
    (lambda: ring(15, 13, 4),     5, 3,  300, 28, dict(sq1=12, sq2=4, pattern='corners')),
    (lambda: diamond(8, 7),       5, 3,  320, 28, dict(sq1=12, sq2=5, pattern='diag')),
    (lambda: twin(7, 12, 2),      5, 3,  320, 28, dict(sq1=12, sq2=6, pattern='edges')),
    (lambda: windows(16, 13),     5, 4,  350, 25, dict(sq1=14, sq2=6, pattern='rows')),
    # Stage 4: chained balls.
    (lambda: rect(13, 11),        5, 3,  350, 25, dict(sq1=10, sq2=4, chains=2, pattern='centre')),
    (lambda: hourglass(15, 13),   5, 3,  380, 25, dict(sq1=10, sq2=5, chains=3, pattern='frame')),
    (lambda: donut(15, 13, 4, 3), 5, 4,  400, 25, dict(sq1=12, sq2=5, chains=3, pattern='corners')),
    (lambda: arena(16, 13, 3),    5, 4,  420, 25, dict(sq1=12, sq2=6, chains=4, pattern='edges')),
    (lambda: cross(17, 15, 7),    5, 4,  450, 25, dict(sq1=14, sq2=6, chains=4, pattern='diag')),
    # Stage 5: six colours.
    (lambda: rect(14, 12),        6, 3,  450, 22, dict(sq1=12, sq2=6, chains=3, pattern='rows')),
    (lambda: stairs(16, 13, 9),   6, 3,  480, 22, dict(sq1=12, sq2=6, chains=3, pattern='scatter')),
    (lambda: hshape(16, 13, 5),   6, 4,  500, 22, dict(sq1=12, sq2=7, chains=4, pattern='centre')),
    (lambda: pillars(16, 13, 3),  6, 4,  520, 22, dict(sq1=14, sq2=6, chains=4, pattern='frame')),
    (lambda: ring(17, 15, 5),     6, 4,  550, 22, dict(sq1=14, sq2=8, chains=5, pattern='corners')),
    # Stage 6
    (lambda: diamond(9, 8),       6, 4,  550, 20, dict(sq1=14, sq2=8, chains=4, pattern='centre')),
    (lambda: castle(16, 13),      6, 4,  580, 20, dict(sq1=14, sq2=8, chains=5, pattern='edges')),
    (lambda: twin(8, 13, 1),      6, 4,  600, 20, dict(sq1=16, sq2=8, chains=5, pattern='diag')),
    (lambda: windows(17, 15),     6, 4,  620, 20, dict(sq1=16, sq2=8, chains=5, pattern='rows')),
    (lambda: rounded(17, 15, 3),  6, 4,  650, 20, dict(sq1=16, sq2=10, chains=6, pattern='frame')),
    # Stage 7
    (lambda: cross(17, 15, 9),    6, 4,  650, 18, dict(sq1=16, sq2=10, chains=5, pattern='centre')),
    (lambda: arena(17, 15, 4),    6, 4,  680, 18, dict(sq1=16, sq2=10, chains=6, pattern='corners')),
    (lambda: hourglass(17, 15),   6, 4,  700, 18, dict(sq1=18, sq2=10, chains=6, pattern='diag')),
    (lambda: donut(17, 15, 5, 3), 6, 4,  720, 18, dict(sq1=18, sq2=10, chains=6, pattern='edges')),
    (lambda: stairs(17, 15, 10),  6, 5,  750, 18, dict(sq1=18, sq2=12, chains=6, pattern='scatter')),
    # Stage 8
    (lambda: rect(16, 13),        6, 4,  750, 16, dict(sq1=18, sq2=12, chains=6, pattern='rows')),
    (lambda: pillars(17, 15, 4),  6, 5,  780, 16, dict(sq1=18, sq2=12, chains=7, pattern='frame')),
    (lambda: hshape(17, 15, 5),   6, 5,  800, 16, dict(sq1=20, sq2=12, chains=7, pattern='centre')),
    (lambda: castle(17, 15),      6, 5,  820, 16, dict(sq1=20, sq2=12, chains=7, pattern='corners')),
    (lambda: ring(17, 15, 6),     6, 5,  850, 16, dict(sq1=20, sq2=14, chains=8, pattern='diag')),
    # Stage 9: seven colours.
    (lambda: rect(15, 13),        7, 4,  800, 15, dict(sq1=18, sq2=12, chains=6, pattern='centre')),
    (lambda: diamond(9, 8),       7, 4,  820, 15, dict(sq1=18, sq2=12, chains=6, pattern='frame')),
    (lambda: twin(8, 15, 1),      7, 4,  850, 15, dict(sq1=20, sq2=12, chains=7, pattern='edges')),
    (lambda: windows(17, 15),     7, 5,  870, 15, dict(sq1=20, sq2=12, chains=7, pattern='rows')),
    (lambda: rounded(17, 15, 2),  7, 5,  900, 15, dict(sq1=20, sq2=14, chains=8, pattern='corners')),
    # Stage 10
    (lambda: cross(17, 15, 8),    7, 4,  900, 14, dict(sq1=20, sq2=14, chains=8, pattern='diag')),
    (lambda: arena(17, 15, 3),    7, 5,  930, 14, dict(sq1=20, sq2=14, chains=8, pattern='centre')),
    (lambda: hourglass(17, 15),   7, 5,  950, 14, dict(sq1=22, sq2=14, chains=8, pattern='frame')),
    (lambda: stairs(17, 15, 11),  7, 5,  980, 14, dict(sq1=22, sq2=14, chains=9, pattern='scatter')),
    (lambda: donut(17, 15, 5, 5), 7, 5, 1000, 14, dict(sq1=22, sq2=16, chains=9, pattern='corners')),
    # Stage 11
    (lambda: rect(17, 15),        7, 5, 1000, 13, dict(sq1=22, sq2=16, chains=9, pattern='rows')),
    (lambda: pillars(17, 15, 3),  7, 5, 1030, 13, dict(sq1=22, sq2=16, chains=10, pattern='edges')),
    (lambda: castle(17, 15),      7, 5, 1060, 13, dict(sq1=24, sq2=16, chains=10, pattern='diag')),
    (lambda: hshape(17, 15, 7),   7, 5, 1080, 13, dict(sq1=24, sq2=16, chains=10, pattern='frame')),
    (lambda: ring(17, 15, 5),     7, 5, 1100, 13, dict(sq1=24, sq2=18, chains=10, pattern='centre')),
    # Stage 12
    (lambda: windows(17, 15),     7, 5, 1100, 12, dict(sq1=24, sq2=18, chains=10, pattern='corners')),
    (lambda: diamond(10, 8),      7, 5, 1130, 12, dict(sq1=24, sq2=18, chains=10, pattern='rows')),
    (lambda: twin(8, 15, 1),      7, 5, 1160, 12, dict(sq1=26, sq2=18, chains=11, pattern='centre')),
    (lambda: arena(17, 15, 4),    7, 5, 1180, 12, dict(sq1=26, sq2=18, chains=11, pattern='diag')),
    (lambda: cross(17, 15, 9),    7, 5, 1200, 12, dict(sq1=26, sq2=20, chains=12, pattern='edges')),
    # Stage 13
    (lambda: rounded(17, 15, 3),  7, 5, 1200, 11, dict(sq1=26, sq2=20, chains=11, pattern='frame')),
    (lambda: stairs(17, 15, 12),  7, 5, 1230, 11, dict(sq1=26, sq2=20, chains=12, pattern='scatter')),
    (lambda: donut(17, 15, 6, 3), 7, 5, 1260, 11, dict(sq1=28, sq2=20, chains=12, pattern='centre')),
    (lambda: hourglass(17, 15),   7, 5, 1280, 11, dict(sq1=28, sq2=20, chains=12, pattern='corners')),
    (lambda: pillars(17, 15, 4),  7, 5, 1300, 11, dict(sq1=28, sq2=22, chains=13, pattern='diag')),
    # Stage 14: the finale.
    (lambda: castle(17, 15),      7, 5, 1300, 10, dict(sq1=28, sq2=22, chains=12, pattern='rows')),
    (lambda: hshape(17, 15, 7),   7, 5, 1350, 10, dict(sq1=30, sq2=22, chains=13, pattern='centre')),
    (lambda: windows(17, 15),     7, 5, 1400, 10, dict(sq1=30, sq2=22, chains=13, pattern='frame')),
    (lambda: ring(17, 15, 6),     7, 5, 1450, 10, dict(sq1=30, sq2=24, chains=14, pattern='edges')),
    (lambda: rect(17, 15),        7, 5, 1500, 10, dict(sq1=32, sq2=24, chains=15, pattern='diag')),
]
NO_HAMMER = {24, 44, 64}

# Balls per turn in Classic by stage: a careless player fills the board, a
# steady one keeps it open.
ADD_BY_STAGE = [2, 3, 4, 5, 5, 6, 6, 7, 7, 7, 8, 8, 8, 9]

def levels():
    assert len(LEVELS) == 70
    for i, (shape, colors, add, target, jf, spec) in enumerate(LEVELS):
        add = max(add, ADD_BY_STAGE[i // 5]) if i >= 2 else add
        rng = random.Random(4000 + i)
        g = shape()
        spec = dict(spec, colors=colors)
        place(g, rng, spec)
        params = [("colors", colors), ("addballs", add), ("balls4destroy", target), ("jockerfrequency", jf)]
        if i in NO_HAMMER: params.append(("hammer", "no"))
        write(level_name(i), params, g)

# ------------------------------------------------------------------ help levels
# Demonstration boards, 9 x 5 in the middle of the window. Pointer letters in
# reading order: x (the pointer's start), u (a ball: the offset colour, or a
# joker), v (where it goes), y (a second ball), z (its target), x (rest).
# 'a' is the offset colour; upper case stands on a square.
HELP = {
    1: ["x00000000",   # a row of three
        "0b0c00d00",
        "u00aav000",
        "y00000000",
        "0aaz0000x"],
    2: ["x00a00000",   # a column, then a diagonal
        "000a0c000",
        "u00v0a000",
        "y00000a00",
        "0000000zx"],
    3: ["x000a0000",   # two lines at once
        "0b00a0c00",
        "u0aav0000",
        "000000000",
        "y0000zaax"],
    4: ["x0u000000",   # four, then five
        "0aava0000",
        "000000000",
        "y00000000",
        "0aazaa00x"],
    5: ["x00000000",   # squares under a line
        "0b0c00d00",
        "u00AAv000",
        "y00000000",
        "0AAz0000x"],
    6: ["x00A00000",
        "000A0c000",
        "u00v0A000",
        "y00000A00",
        "0000000zx"],
    7: ["x000A0000",
        "0b00A0c00",
        "u0AAv0000",
        "000000000",
        "y0000zAAx"],
    8: ["x0u001100",
        "0AAvA0000",
        "000000000",
        "y00000000",
        "0AAzAA00x"],
}

def help_levels():
    for page, rows in HELP.items():
        g = blank()
        for r, row in enumerate(rows):
            for c, ch in enumerate(row):
                g[5 + r][4 + c] = ch
        write(f"help{page}.lvl", [], g)

os.makedirs(OUT, exist_ok=True)
levels()
help_levels()
