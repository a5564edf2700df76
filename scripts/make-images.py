#!/usr/bin/env python3
"""Draws the window's built-in XPM pictures (toolbar tools and the program
icon) and writes them under app/_images/ and ostrelCommon/. Each picture is
drawn with smooth shading, then its palette is reduced, nearest colours
first, to the number of colours the picture is meant to have.

    python3 scripts/make-images.py
"""
import math
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")


def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[None] * w for _ in range(h)]

    def put(self, x, y, rgb):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = tuple(clamp(c) for c in rgb)

    def fill(self, inside, shade):
        for y in range(self.h):
            for x in range(self.w):
                if inside(x + 0.5, y + 0.5):
                    self.put(x, y, shade(x + 0.5, y + 0.5))


def reduce_palette(canvas, target):
    """Merges the nearest colours (the rarer into the commoner) until `target`
    colours remain, counting the transparent one."""
    def colours():
        counts = {}
        for row in canvas.px:
            for p in row:
                if p is not None:
                    counts[p] = counts.get(p, 0) + 1
        return counts

    transparent = any(p is None for row in canvas.px for p in row)
    want = target - (1 if transparent else 0)
    counts = colours()
    if len(counts) < want:
        raise SystemExit("picture has only %d colours, %d wanted" % (len(counts), want))
    while len(counts) > want:
        keys = list(counts)
        best = None
        for i in range(len(keys)):
            for j in range(i + 1, len(keys)):
                a, b = keys[i], keys[j]
                d = sum((a[k] - b[k]) ** 2 for k in range(3))
                if best is None or d < best[0]:
                    best = (d, a, b)
        _, a, b = best
        keep, drop = (a, b) if counts[a] >= counts[b] else (b, a)
        for row in canvas.px:
            for x, p in enumerate(row):
                if p == drop:
                    row[x] = keep
        counts[keep] += counts.pop(drop)


CODES = ".#abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789@$%&*=-;:>,<'[]{}()!~^/|_+"


def write_xpm(canvas, path, name, target):
    reduce_palette(canvas, target)
    palette = sorted({p for row in canvas.px for p in row if p is not None})
    entries = [(None, "None")] + [(p, "#%02X%02X%02X" % p) for p in palette]
    if not any(p is None for row in canvas.px for p in row):
        entries = entries[1:]
    cpp = 1 if len(entries) <= len(CODES) else 2
    def code(i):
        if cpp == 1:
            return CODES[i]
        return CODES[i // len(CODES)] + CODES[i % len(CODES)]
    index = {e[0]: code(i) for i, e in enumerate(entries)}
    lines = ['"%d %d %d %d",' % (canvas.w, canvas.h, len(entries), cpp)]
    lines += ['"%s c %s",' % (index[p], c) for p, c in entries]
    rows = ['"' + "".join(index[p] for p in row) + '"' for row in canvas.px]
    lines += [r + "," for r in rows[:-1]] + [rows[-1]]
    with open(path, "w") as out:
        out.write("/* XPM */\nstatic const char* const %s[] = {\n" % name)
        out.write("\n".join(lines))
        out.write("\n};\n")
    assert len(entries) == target, (path, len(entries), target)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def open_picture():
    """An open folder, amber, lit from the top left."""
    c = Canvas(16, 15)
    back = rounded_rect(1, 2, 13, 13, 1.2)
    tab = rounded_rect(1, 1, 6, 4, 1)
    c.fill(lambda x, y: back(x, y) or tab(x, y),
           lambda x, y: mix((200, 140, 20), (150, 95, 10), (x + y) / 28))
    front = lambda x, y: 5 <= y <= 14 and (3 + (14 - y) * 0.3) <= x <= (15.5 - (14 - y) * 0.1)
    c.fill(front, lambda x, y: mix((255, 225, 120), (225, 160, 30), (y - 5) / 9 * 0.7 + x / 60))
    for x in range(3, 16):
        c.put(x, 5, mix((255, 240, 170), (240, 200, 80), x / 16))
    for y in range(5, 15):
        c.put(int(3 + (14 - y) * 0.3), y, (120, 80, 10))
    for x in range(1, 16):
        c.put(x, 14, mix((120, 80, 10), (90, 60, 5), x / 16))
    return c


def save_picture():
    """A blue floppy disk with its label and shutter."""
    c = Canvas(16, 15)
    body = rounded_rect(1, 0, 14, 14, 1)
    c.fill(body, lambda x, y: mix((70, 110, 200), (30, 60, 140), (x + y) / 30))
    label = lambda x, y: 3.5 <= x <= 11.5 and 0.5 <= y <= 6.5
    c.fill(label, lambda x, y: mix((255, 255, 255), (205, 215, 230), y / 7))
    for x in range(4, 12):
        c.put(x, 2, (150, 160, 180))
        c.put(x, 4, (150, 160, 180))
    shutter = lambda x, y: 4.5 <= x <= 11.5 and 9.5 <= y <= 14
    c.fill(shutter, lambda x, y: mix((200, 205, 215), (140, 145, 160), (x - 4) / 8))
    c.fill(lambda x, y: 9 <= x <= 10.5 and 10.5 <= y <= 13.5, lambda x, y: (50, 55, 70))
    return c


def exefile_picture():
    """A green round start button with a white play mark."""
    c = Canvas(16, 16)
    disc = lambda x, y: (x - 8) ** 2 + (y - 8) ** 2 <= 7.6 ** 2
    def shade(x, y):
        d = math.hypot(x - 6, y - 5) / 11
        return mix((170, 240, 140), (20, 110, 20), min(1, d))
    c.fill(disc, shade)
    ring = lambda x, y: 6.9 ** 2 <= (x - 8) ** 2 + (y - 8) ** 2 <= 7.6 ** 2
    c.fill(ring, lambda x, y: mix((40, 120, 40), (10, 60, 10), y / 16))
    play = lambda x, y: x >= 6 and abs(y - 8) <= (11.5 - x) * 0.75
    c.fill(play, lambda x, y: mix((255, 255, 255), (215, 235, 210), (x - 6) / 6 + y / 40))
    return c


def find_picture():
    """A magnifying glass over a light lens."""
    c = Canvas(16, 15)
    lens = lambda x, y: (x - 6) ** 2 + (y - 6) ** 2 <= 4.2 ** 2
    c.fill(lens, lambda x, y: mix((235, 245, 255), (120, 170, 220), math.hypot(x - 4.5, y - 4.5) / 6))
    rim = lambda x, y: 4.2 ** 2 < (x - 6) ** 2 + (y - 6) ** 2 <= 5.4 ** 2
    c.fill(rim, lambda x, y: mix((150, 150, 160), (40, 40, 50), (x + y) / 20))
    handle = lambda x, y: x >= 9 and y >= 9 and abs((x - 9) - (y - 9)) <= 1.6 and x <= 15 and y <= 14.5
    c.fill(handle, lambda x, y: mix((160, 90, 40), (70, 30, 10), (x + y - 18) / 11))
    return c


def help_picture():
    """A blue ball with a white question mark."""
    c = Canvas(16, 15)
    ball = lambda x, y: (x - 8) ** 2 + (y - 7.5) ** 2 <= 7.2 ** 2
    c.fill(ball, lambda x, y: mix((170, 210, 255), (10, 40, 150), math.hypot(x - 5.5, y - 4.5) / 12.5))
    mark = [
        "..###..",
        ".##.##.",
        "....##.",
        "...##..",
        "..##...",
        ".......",
        "..##...",
    ]
    for j, row in enumerate(mark):
        for i, ch in enumerate(row):
            if ch == "#":
                c.put(5 + i, 3 + j, mix((255, 255, 255), (200, 215, 245), j / 7 + i / 14))
    return c


def icon_picture():
    """The program icon: a dark blue tile, an orange ring and a play mark."""
    c = Canvas(32, 32)
    tile = rounded_rect(0.5, 0.5, 31.5, 31.5, 5)
    c.fill(tile, lambda x, y: mix((40, 70, 150), (10, 20, 60), (x * 0.4 + y) / 44))
    ring = lambda x, y: 9.5 ** 2 <= (x - 16) ** 2 + (y - 16) ** 2 <= 13 ** 2
    def ring_shade(x, y):
        a = (math.atan2(y - 16, x - 16) + math.pi) / (2 * math.pi)
        return mix((255, 210, 90), (220, 90, 20), abs(a - 0.4) * 1.6)
    c.fill(ring, ring_shade)
    play = lambda x, y: x >= 12.5 and abs(y - 16) <= (22.5 - x) * 0.62
    c.fill(play, lambda x, y: mix((255, 255, 255), (200, 215, 240), (x - 12) / 11 + abs(y - 16) / 30))
    return c


def main():
    images = [
        (open_picture, "app/_images/open.xpm", "open_xpm", 36),
        (save_picture, "app/_images/save.xpm", "save_xpm", 21),
        (exefile_picture, "app/_images/exefile.xpm", "exefile_xpm", 51),
        (find_picture, "ostrelCommon/find.xpm", "find_xpm", 41),
        (help_picture, "app/_images/help.xpm", "help_xpm", 50),
        (icon_picture, "ostrelCommon/ostrel_ico.xpm", "ostrel_ico_xpm", 184),
    ]
    for draw, path, name, colours in images:
        write_xpm(draw(), os.path.join(ROOT, path), name, colours)
        print("%s: %d colours" % (path, colours))


if __name__ == "__main__":
    main()
