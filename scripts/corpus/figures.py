#!/usr/bin/python3
"""Games printed over several figures, as sgf2dg prints a game with a figure every 100 moves:
the stones of the figures before without numbers, the figure's own moves numbered on from the
figure before, from 1 again (-newNumbers) or without the hundreds (-doubleDigits), and its
notes beside it. Each figure is cut from the page, with its notes, into a picture of its own.

    /usr/bin/python3 scripts/corpus/figures.py OUT [DPI]

writes OUT/<game>_<style>/fig1.png, fig2.png... and OUT/figures.json, which names each set's
game and style and holds its truth: the moves, as SGF points, black first, up to the first pass."""

import json
import os
import re
import subprocess
import sys
import tempfile

from PIL import Image

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


def main():
    out = sys.argv[1]
    dpi = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    sets = []
    for game in GAMES:
        sgf = os.path.join(HERE, "games", game + ".sgf")
        for style in STYLES:
            name = "%s_%s" % (game, style)
            os.makedirs(os.path.join(out, name), exist_ok=True)
            pics = figures(sgf, style, dpi)
            files = []
            for k, pic in enumerate(pics, 1):
                file = "fig%d.png" % k
                # Four greys keep the committed sets small; the ink keeps its antialiased edge.
                pic.quantize(4).save(os.path.join(out, name, file), optimize=True)
                files.append(file)
            moves = "".join("abcdefghijklmnopqrs"[x - 1] + "abcdefghijklmnopqrs"[y - 1]
                            for _, x, y in sgfgame.read_game(sgf).moves)
            sets.append({"set": name, "game": game, "style": style, "figures": files, "moves": moves})
    with open(os.path.join(out, "figures.json"), "w") as f:
        json.dump(sets, f, indent=1)


if __name__ == "__main__":
    main()
