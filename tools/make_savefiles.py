#!/usr/bin/env python3
"""Writes the save files that ship with Kwibbel into data/savefiles/.

Run by hand after changing a level here (`python3 tools/make_savefiles.py`); the build copies the written
files as they are. Every file uses CR LF line ends. A level is 30 rows of 40 characters: "M" wall, "-" free,
"S" the start run of player 1's snake, "T" that of player 2 (or of the knurf player 2 steers). The game lays a
snake on the four cells right of its first "S"/"T", heading right, so each run sits on a row with at least six
free cells after it.
"""
import math
import os
import random
import sys

ROWS, COLS = 30, 40
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "data", "savefiles")


def empty():
    return [["-"] * COLS for _ in range(ROWS)]


def border(g):
    for c in range(COLS):
        g[0][c] = g[ROWS - 1][c] = "M"
    for r in range(ROWS):
        g[r][0] = g[r][COLS - 1] = "M"


def start_runs(g, s_row, s_col, t_row, t_col):
    """Puts both start runs (rows and columns count from 1) and keeps the run plus six cells ahead free."""
    for row, col, ch in ((s_row, s_col, "S"), (t_row, t_col, "T")):
        for c in range(col - 1, col - 1 + 10):
            g[row - 1][c] = "-"
        for c in range(col - 1, col - 1 + 4):
            g[row - 1][c] = ch


def muur():
    g = empty()
    border(g)
    start_runs(g, 8, 6, 23, 6)
    return g


def geenmuur():
    g = empty()
    start_runs(g, 8, 6, 23, 6)
    return g


def smiley():
    """A big face of wall with two eyes and a smile; gaps at its sides and top and bottom keep every cell
    reachable, and the board has no edge wall, so the snakes wrap around it."""
    g = empty()
    cy, cx = 14.5, 19.5
    for r in range(ROWS):
        for c in range(COLS):
            # The face is a little wider than high, as the cells are square and the board is 40 by 30.
            d = math.hypot((c - cx) / 1.25, r - cy)
            if 12.2 <= d < 13.2:
                g[r][c] = "M"
    # Openings: left and right cheeks, the crown and the chin.
    for r in range(12, 18):
        for c in list(range(0, 6)) + list(range(34, 40)):
            g[r][c] = "-"
    for c in range(17, 23):
        for r in list(range(0, 4)) + list(range(26, 30)):
            g[r][c] = "-"
    # Eyes: two blocks of two by three.
    for r in range(8, 11):
        for c in (13, 14, 25, 26):
            g[r][c] = "M"
    # The smile: the lower arc of an ellipse.
    for c in range(11, 29):
        x = (c - 19.5) / 8.6
        if abs(x) <= 1:
            r = int(round(16 + 4.2 * math.sqrt(1 - x * x)))
            g[r][c] = "M"
            if abs(x) > 0.8:
                g[r - 1][c] = "M"
    start_runs(g, 3, 3, 27, 3)
    return g


def insane():
    """A maze of corridors two cells wide with a few loops, inside a border wall: hard to turn in, but never
    a dead end that a snake of four cannot leave, and every free cell reachable."""
    rnd = random.Random(1987)
    g = [["M"] * COLS for _ in range(ROWS)]
    # Rooms of 2x2 cells at rows 1+3i, columns 1+3j (0-based), walls one cell thick between them.
    nr, nc = 9, 13
    def room(i, j):
        return 1 + 3 * i, 1 + 3 * j
    seen = [[False] * nc for _ in range(nr)]
    stack = [(0, 0)]
    seen[0][0] = True
    opened = []
    while stack:
        i, j = stack[-1]
        nbrs = [(i + di, j + dj) for di, dj in ((0, 1), (1, 0), (0, -1), (-1, 0))
                if 0 <= i + di < nr and 0 <= j + dj < nc and not seen[i + di][j + dj]]
        if not nbrs:
            stack.pop()
            continue
        ni, nj = rnd.choice(nbrs)
        seen[ni][nj] = True
        opened.append(((i, j), (ni, nj)))
        stack.append((ni, nj))
    # Extra openings make loops, so a long snake always has a way round.
    for i in range(nr):
        for j in range(nc):
            for di, dj in ((0, 1), (1, 0)):
                if i + di < nr and j + dj < nc and rnd.random() < 0.22:
                    opened.append(((i, j), (i + di, j + dj)))
    for i in range(nr):
        for j in range(nc):
            r, c = room(i, j)
            for dr in range(2):
                for dc in range(2):
                    g[r + dr][c + dc] = "-"
    for (i, j), (ni, nj) in opened:
        r, c = room(i, j)
        r2, c2 = room(ni, nj)
        for dr in range(2):
            for dc in range(2):
                if ni == i:   # side by side: open the wall column between them
                    g[r + dr][min(c, c2) + 2] = "-"
                else:         # one above the other: open the wall row between them
                    g[min(r, r2) + 2][c + dc] = "-"
    # The rooms end at row 27 and column 38; the spare row 28 becomes one more corridor along the bottom.
    for c in range(1, COLS - 1):
        if c % 6 == 0:
            g[27][c] = "-"
        g[28][c] = "-" if c < COLS - 1 else "M"
    border(g)
    # Two long straights to start on: rows 8 and 23 (1-based), columns 2..12.
    for row in (8, 23):
        for c in range(1, 13):
            g[row - 1][c] = "-"
    start_runs(g, 8, 2, 23, 2)
    return g


def custom():
    """A first custom level, playable before the level editor has ever saved one: a walled arena with four
    pillars and a cross in the middle."""
    g = empty()
    border(g)
    for r0, c0 in ((6, 8), (6, 29), (21, 8), (21, 29)):
        for r in range(r0, r0 + 3):
            for c in range(c0, c0 + 3):
                g[r][c] = "M"
    for c in range(14, 26):
        g[14][c] = "M"
    for r in range(10, 20):
        g[r][19] = "M"
    start_runs(g, 3, 4, 27, 4)
    return g


def write(name, text_lines):
    data = "".join(line + "\r\n" for line in text_lines).encode("ascii")
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, make in (("muur.txt", muur), ("geenmuur.txt", geenmuur), ("smiley.txt", smiley),
                       ("insane.txt", insane), ("custom.txt", custom)):
        g = make()
        assert len(g) == ROWS and all(len(r) == COLS for r in g)
        write(name, ["".join(r) for r in g])
        if "-v" in sys.argv:
            print(name)
            print("\n".join("".join(r) for r in g))
    # Scores to beat from the first game on; a new player's first decent game already enters the table.
    write("highscores.txt", [str(n) for n in (5000, 4000, 3000, 2500, 2000, 1500, 1000, 600, 300, 100)])
    # Player 1: the arrow keys; player 2: D, A, W, S (right, left, up, down).
    write("controleslang.txt", ["39", "37", "38", "40", "", "68", "65", "87", "83", ""])


if __name__ == "__main__":
    main()
