#!/usr/bin/python3
"""Games printed over several figures, as sgf2dg prints a game with a figure every 100 moves:
the stones of the figures before without numbers, the figure's own moves numbered on from the
figure before, from 1 again (-newNumbers) or without the hundreds (-doubleDigits), and its
notes beside it. Each figure is cut from the page, with its notes, into a picture of its own.

    /usr/bin/python3 scripts/corpus/figures.py OUT [DPI]

writes OUT/<game>_<style>/fig1.png, fig2.png... and OUT/figures.json, which names each set's
game and style and holds its truth: the moves, as SGF points, black first, up to the first pass.

Beside sgf2dg's, the own renderer draws the same games in typefaces held out from tuning, as a
Japanese book prints them: figures of uneven length, numbered from 1 again or without the
hundreds, its notes in text, a stone without a number named by "B"."""

import json
import os
import re
import subprocess
import sys
import tempfile

from PIL import Image

import draw
import sgfgame

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
STYLES = {"continued": [], "restarted": ["-newNumbers"], "hundreds": ["-doubleDigits"]}
# Title-match games of 250 moves or more, with ko fights, from the corpus's games.
GAMES = ["pro_kisei27_g1", "pro_kisei28_g7", "pro_meijin27_g1"]


def run(cmd, cwd):
    r = subprocess.run(cmd, cwd=cwd, capture_output=True, text=True)
    if r.returncode != 0:
        raise RuntimeError("%s failed:\n%s\n%s" % (cmd[0], r.stdout[-2000:], r.stderr[-2000:]))


def bands(page, dpi):
    """The figures of a page, top to bottom: runs of inked rows at least a board high, apart
    by blank rows."""
    grey = page.convert("L")
    w, h = grey.size
    px = grey.load()
    inked = [any(px[x, y] < 128 for x in range(0, w, 2)) for y in range(h)]
    gap = dpi // 8
    board = dpi * 22 * 16 // 150
    out, start, blank = [], None, 0
    for y in range(h + gap + 1):
        ink = y < h and inked[y]
        if ink:
            if start is None:
                start = y
            blank = 0
        elif start is not None:
            blank += 1
            if blank > gap:
                end = y - blank
                if end - start >= board:
                    out.append((start, end))
                start, blank = None, 0
    return out


def figures(sgf_path, style, dpi):
    with tempfile.TemporaryDirectory() as work:
        # sgf2dg also ends a figure at a comment; without them the figures hold 100 moves each.
        with open(sgf_path, encoding="utf-8", errors="replace") as f:
            text = re.sub(r"\bC\[(?:\\.|[^\]\\])*\]", "", f.read())
        with open(os.path.join(work, "game.sgf"), "w", encoding="utf-8") as f:
            f.write(text)
        run(["sgf2dg", "-converter", "PDF", "-movesPerDiagram", "100", "-ignoreVariations"] + STYLES[style]
            + ["game.sgf"], work)
        run(["pdftoppm", "-r", str(dpi), "-gray", "-png", "game.pdf", "page"], work)
        pictures = []
        for name in sorted(n for n in os.listdir(work) if n.startswith("page")):
            page = Image.open(os.path.join(work, name)).convert("L")
            m = dpi // 10
            for top, bottom in bands(page, dpi):
                strip = page.crop((0, max(0, top - m), page.width, min(page.height, bottom + m)))
                box = strip.point(lambda v: 255 if v < 128 else 0).getbbox()
                pictures.append(strip.crop((max(0, box[0] - m), 0, min(strip.width, box[2] + m), strip.height)))
        return pictures


# The own renderer's sets: typeface (held out), numbering, where each figure ends.
OWN = [("c059", "hundreds", [120, 190]), ("noto-cjk-bold", "restarted", [90, 170]), ("lm-sans", "hundreds", [100, 160])]


def neighbours(p):
    x, y = p
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        if 1 <= x + dx <= 19 and 1 <= y + dy <= 19:
            yield (x + dx, y + dy)


def play(board, black, p):
    """Puts the stone and takes the groups it leaves without liberties."""
    board[p] = black
    for q in neighbours(p):
        if q in board and board[q] != black:
            group, liberties, todo = {q}, False, [q]
            while todo:
                r = todo.pop()
                for n in neighbours(r):
                    if n not in board:
                        liberties = True
                    elif board[n] == board[q] and n not in group:
                        group.add(n)
                        todo.append(n)
            if not liberties:
                for r in group:
                    del board[r]


class Figure(sgfgame.Diagram):
    """One figure of a game: the stones before it without numbers, its moves numbered as the
    book numbers them, and its notes."""

    def __init__(self, board, moves, first, printed):
        self.stones = {p: (black, 0) for p, black in board.items()}
        self.notes = []
        for k, (black, x, y) in enumerate(moves, first):
            shown = self.stones.get((x, y))
            if shown is None:
                self.stones[(x, y)] = (black, printed(k))
            else:
                self.notes.append((printed(k), shown[1]))
        self.total = first + len(moves) - 1
        self.white_first = False


def own_figures(sgf, typeface, style, ends, seed):
    game = sgfgame.read_game(sgf)
    ends = ends + [len(game.moves)]
    board, first, pictures = {}, 1, []
    look = draw.Style(typeface, 30, "japanese", "white", "flat")
    for k, end in enumerate(ends, 1):
        if first == 1:
            printed = lambda m: m
        elif style == "restarted":
            printed = lambda m, f=first: m - f + 1
        else:
            printed = lambda m: m % 100 or 100
        fig = Figure(board, game.moves[first - 1:end], first, printed)
        caption = "第%d譜 (%d～%d)" % (k, first, end)
        pictures.append(draw.render_page(fig, look, "", seed=seed + k, notes="text", japanese=True,
                                         text_lines=2, caption=caption).convert("L"))
        for black, x, y in game.moves[first - 1:end]:
            play(board, black, (x, y))
        first = end + 1
    return pictures


def save_set(out, name, game, style, pics, sgf, renderer, typeface=None):
    os.makedirs(os.path.join(out, name), exist_ok=True)
    files = []
    for k, pic in enumerate(pics, 1):
        file = "fig%d.png" % k
        # Four greys keep the committed sets small; the ink keeps its antialiased edge.
        pic.quantize(4).save(os.path.join(out, name, file), optimize=True)
        files.append(file)
    moves = "".join("abcdefghijklmnopqrs"[x - 1] + "abcdefghijklmnopqrs"[y - 1]
                    for _, x, y in sgfgame.read_game(sgf).moves)
    entry = {"set": name, "game": game, "style": style, "renderer": renderer, "figures": files, "moves": moves,
             "held_out": bool(typeface and draw.TYPEFACES[typeface][2])}
    if typeface:
        entry["typeface"] = typeface
    return entry


def main():
    out = sys.argv[1]
    dpi = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    sets = []
    for game in GAMES:
        sgf = os.path.join(HERE, "games", game + ".sgf")
        for style in STYLES:
            sets.append(save_set(out, "%s_%s" % (game, style), game, style, figures(sgf, style, dpi), sgf, "sgf2dg"))
    for i, (game, (typeface, style, ends)) in enumerate(zip(GAMES, OWN)):
        sgf = os.path.join(HERE, "games", game + ".sgf")
        sets.append(save_set(out, "%s_own_%s" % (game, style), game, style, own_figures(sgf, typeface, style, ends, i),
                             sgf, "own", typeface))
    with open(os.path.join(out, "figures.json"), "w") as f:
        json.dump(sets, f, indent=1)


if __name__ == "__main__":
    main()
