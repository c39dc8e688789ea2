#!/usr/bin/env python3
"""Draws the program's icons (a clock face over a time card) and writes
res/hourwise.ico (32x32) and res/small.ico (16x16) as 32-bit icons."""
import math, os, struct

def draw(size):
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    c = (size - 1) / 2.0
    r = size / 2.0 - 0.5
    def put(x, y, col):
        if 0 <= x < size and 0 <= y < size:
            px[y][x] = col
    # card behind the clock
    for y in range(size // 4, size):
        for x in range(0, size * 3 // 4):
            put(x, y, (235, 225, 190, 255))
    # clock face with a dark rim
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c)
            if d <= r:
                put(x, y, (30, 60, 120, 255) if d > r - max(1.5, size / 12) else (250, 250, 245, 255))
    # hands: 8:30 would overlap, so show ten past ten
    def hand(angle_deg, length, col, width):
        a = math.radians(angle_deg)
        steps = int(length * 4)
        for i in range(steps + 1):
            t = length * i / steps
            x, y = c + t * math.sin(a), c - t * math.cos(a)
            for dx in range(-width // 2, width // 2 + 1):
                for dy in range(-width // 2, width // 2 + 1):
                    put(int(round(x + dx)), int(round(y + dy)), col)
    hand(300, r * 0.55, (20, 20, 20, 255), 2 if size > 16 else 1)
    hand(60, r * 0.8, (20, 20, 20, 255), 1)
    hand(180, r * 0.7, (200, 30, 30, 255), 1)
    return px

def ico(size):
    px = draw(size)
    xor = b"".join(struct.pack("BBBB", b, g, r, a)
                   for row in reversed(px) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    andmask = b"".join(
        bytes(sum((1 << (7 - bit)) for bit in range(8)
                  if x0 + bit < size and row[x0 + bit][3] == 0)
              for x0 in range(0, mask_row * 8, 8))
        for row in reversed(px))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(andmask), 0, 0, 0, 0)
    image = header + xor + andmask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22) + image

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
for name, size in (("hourwise.ico", 32), ("small.ico", 16)):
    with open(os.path.join(here, name), "wb") as f:
        f.write(ico(size))
