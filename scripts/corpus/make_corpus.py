#!/usr/bin/python3
"""Draws the corpus of numbered full-game diagrams and its manifest.

    /usr/bin/python3 scripts/corpus/make_corpus.py OUT              the whole corpus
    /usr/bin/python3 scripts/corpus/make_corpus.py --sample OUT     the part committed in tests/data/corpus
    ... --only RENDERER (own, sgf2dg, psgo, gofonts, wgo, shudan, or outside: the typefaces of designs the
        digit network never saw) --list (print the plan, draw nothing)

The same command makes the same pixels: each picture's random choices are seeded by its name.
OUT/manifest.json lists every picture with its truth (the board as ranvel_read prints it for a
perfect reading, and the notes), the renderer, typeface, stone size in pixels, kind (clean,
screen, scan, photo), what was done to it, and whether it is held out from tuning."""

import argparse
import glob
import json
import os
import random
import sys
import zlib

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import draw  # noqa: E402
import renderers  # noqa: E402
import sgfgame  # noqa: E402
import spoil  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))

# Renderers nothing is tuned on. The own renderer's typefaces are split in draw.TYPEFACES.
HELD_OUT_RENDERERS = {"psgo", "gofonts", "wgo", "shudan"}
KINDS = ("clean", "screen", "scan", "photo")


def seed_of(name):
    return zlib.crc32(name.encode())


def load_games(games_dir):
    games = {}
    for path in sorted(glob.glob(os.path.join(ROOT, "tests/data/games/*.sgf"))):
        g = sgfgame.read_game(path)
        games[g.name] = (g, path)
    for path in sorted(glob.glob(os.path.join(games_dir, "*.sgf"))):
        g = sgfgame.read_game(path)
        games[g.name] = (g, path)
    return games


def title_of(game):
    pb, pw = game.info.get("PB", ""), game.info.get("PW", "")
    return ("%s - %s" % (pb, pw)).strip(" -")[:60]


def plan(games):
    """Every picture of the corpus, in a fixed order. Professional games are drawn twice as
    often as GNU Go's."""
    pro = sorted(n for n in games if n.startswith("pro_"))
    gnugo = sorted(n for n in games if not n.startswith("pro_"))
    pool = pro * 2 + gnugo
    short = [n for n in pool if not games[n][0].handicap]  # the go fonts: no handicap stones
    planned = []

    def add(name, renderer, kind, params, variant="", sample=False, typeface="", outside=False, tuned=False):
        held = not tuned and (renderer in HELD_OUT_RENDERERS or outside
                              or (renderer == "own" and draw.TYPEFACES[typeface][2]))
        planned.append(dict(name=name, renderer=renderer, kind=kind, params=params, variant=variant,
                          sample=sample, typeface=typeface, held_out=held, outside=outside))

    # The own renderer: every typeface in every kind.
    sample_kind = {}
    for i, tf in enumerate(sorted(draw.TYPEFACES)):
        sample_kind[tf] = KINDS[i % 4]
        for kind in KINDS:
            name = "own_%s_%s" % (tf, kind)
            rng = random.Random(seed_of(name))
            game = rng.choice(pool)
            japanese = tf in ("ipagothic", "ipamincho", "noto-cjk-bold")
            p = dict(game=game, japanese=japanese, spacing=rng.choice(["japanese", "korean"]),
                     coords=rng.random() < 0.3, notes=rng.choice(["icons", "text"]),
                     three_digit=rng.choice(["condense", "shrink"]))
            variant = ""
            if kind == "clean":
                p.update(pitch=rng.choice([24, 30, 40, 56, 80, 120]), board=rng.choice(["white", "white", "cream"]),
                         stones="flat", page=rng.random() < 0.6)
                variant = rng.choice(["", "", "", "", "turned90", "turned180", "turned270"])
            elif kind == "screen":
                p.update(pitch=rng.choice([18, 20, 22, 26, 30, 36]), board=rng.choice(["wood", "wood-light", "grey", "white"]),
                         stones=rng.choice(["flat", "shaded", "glass"]), page=False)
                variant = rng.choice(["", "", "jpeg50", "shrink20"])
            elif kind == "scan":
                p.update(pitch=rng.choice([30, 36, 44, 56]), board="white", stones="flat", page=True)
                variant = rng.choice(["", "jpeg50"])
            else:
                p.update(pitch=rng.choice([36, 44, 56, 66]), board=rng.choice(["white", "cream"]), stones="flat", page=True)
                variant = rng.choice(["", "exif6", "exif8", "exif3", "turned180"])
            # The committed sample keeps small pictures: one kind of each typeface.
            small = p["pitch"] <= 60 and not (kind == "clean" and p["page"] and p["pitch"] > 40)
            add(name, "own", kind, p, variant, sample=(kind == sample_kind[tf] and small), typeface=tf)

    # Typefaces of designs the digit network never saw, one kind each, on GNU Go's games: the
    # pictures that report on typeface families.
    for i, tf in enumerate(sorted(draw.OUTSIDE_TYPEFACES)):
        kind = KINDS[i % 4]
        name = "outside_%s_%s" % (tf, kind)
        rng = random.Random(seed_of(name))
        p = dict(game=rng.choice(gnugo), japanese=tf == "m-plus-2", spacing=rng.choice(["japanese", "korean"]),
                 coords=rng.random() < 0.3, notes=rng.choice(["icons", "text"]),
                 three_digit=rng.choice(["condense", "shrink"]),
                 pitch=rng.choice({"clean": [24, 30, 40], "screen": [18, 22, 26, 30], "scan": [30, 36, 44],
                                   "photo": [36, 44, 56]}[kind]),
                 board="white" if kind != "screen" else rng.choice(["wood", "grey", "white"]),
                 stones="flat" if kind != "screen" else rng.choice(["flat", "shaded", "glass"]),
                 page=kind in ("scan", "photo"))
        add(name, "own", kind, p, sample=True, typeface=tf, outside=True)

    # A newspaper's diagram: the board's tint printed as a dot screen, then scanned. Its own
    # kind, apart from the scans of white boards. The reader's smoothing of a screen was tuned on
    # the first five, in two rounds; the last two were drawn after it and only read.
    for tf, board, pitch, period, angle, tuned in [
            ("nimbus-sans-narrow", "wood-light", 40, 4.0, 45.0, True), ("p052", "grey", 36, 4.0, 45.0, True),
            ("c059", "wood", 44, 5.0, 15.0, True), ("lm-sans", "grey", 32, 3.5, 45.0, True),
            ("urw-bookman", "wood-light", 40, 4.5, 75.0, True),
            ("freeserif-bold", "wood", 36, 3.8, 30.0, False), ("liberation-narrow-bold", "grey", 44, 4.2, 60.0, False)]:
        name = "own_%s_print" % tf
        rng = random.Random(seed_of(name))
        p = dict(game=rng.choice(pro or gnugo), japanese=False, spacing="japanese", coords=False, notes="icons",
                 three_digit="condense", pitch=pitch, board=board, stones="flat", page=True,
                 screen=period, screen_angle=angle)
        add(name, "own", "print", p, "halftone", sample=True, typeface=tf, tuned=tuned)

    if not pro:
        return planned
    # sgf2dg, as make_diagrams.sh draws it, on the professional games.
    for j, (kind, dpi, variant, coords) in enumerate([
            ("clean", 150, "", False), ("clean", 300, "", True), ("clean", 200, "turned90", False),
            ("screen", 170, "", False), ("screen", 220, "jpeg50", False),
            ("scan", 300, "", False), ("scan", 200, "", False),
            ("photo", 300, "", False), ("photo", 250, "exif6", False)]):
        name = "sgf2dg_%s%d%s" % (kind, dpi, "_" + variant if variant else "")
        rng = random.Random(seed_of(name))
        add(name, "sgf2dg", kind, dict(game=pro[j % len(pro)], dpi=dpi, coords=coords), variant,
            sample=j in (0, 3, 5, 8), typeface="sgf2dg")

    # psgo: PSTricks circles and Computer Modern numbers, rows set apart.
    for j, (kind, dpi, unit, family, coords, variant) in enumerate([
            ("clean", 150, 0.6, "sf", False, ""), ("clean", 300, 0.5, "rm", True, ""),
            ("clean", 100, 0.7, "bf", False, ""), ("screen", 110, 0.5, "sf", False, "jpeg50"),
            ("scan", 200, 0.6, "rm", False, ""), ("photo", 200, 0.6, "sf", False, "exif8"),
            ("clean", 150, 0.6, "tt", False, "turned180")]):
        name = "psgo_%s_%s%d%s" % (kind, family, dpi, "_" + variant if variant else "")
        rng = random.Random(seed_of(name))
        add(name, "psgo", kind, dict(game=rng.choice(pool), dpi=dpi, unit=unit, family=family, coords=coords),
            variant, sample=j in (0, 3, 4), typeface="cm-" + family)

    # The go package's Metafont fonts: condensed digits, numbers up to 253.
    for j, (kind, dpi, points, variant) in enumerate([
            ("clean", 150, 15, ""), ("clean", 200, 20, ""), ("clean", 300, 10, ""),
            ("screen", 120, 15, ""), ("scan", 200, 15, ""), ("photo", 200, 20, "")]):
        name = "gofonts_%s%d_%dpt%s" % (kind, dpi, points, "_" + variant if variant else "")
        rng = random.Random(seed_of(name))
        add(name, "gofonts", kind, dict(game=rng.choice(short), dpi=dpi, points=points), variant,
            sample=j in (0, 3, 4), typeface="go-fonts")

    # WGo.js in Chromium: the boards of web viewers.
    for j, (width, font, stones, board, coords, variant, kind) in enumerate([
            (420, "Liberation Sans", "glass", "wood", False, "", "screen"),
            (520, "DejaVu Serif", "modern", "wood", True, "", "screen"),
            (640, "Noto Sans CJK JP", "simple", "white", False, "", "screen"),
            (760, "Liberation Serif", "glass", "plain", True, "jpeg50", "screen"),
            (900, "DejaVu Sans", "modern", "wood", False, "", "screen"),
            (560, "Liberation Sans Narrow", "glass", "wood", False, "", "photo")]):
        name = "wgo_%d_%s_%s%s" % (width, stones, board, "_" + variant if variant else "")
        rng = random.Random(seed_of(name))
        add(name, "wgo", kind, dict(game=rng.choice(pool), width=width, font=font, stones=stones,
                                    board=board, coords=coords), variant,
            sample=j in (0, 2, 3, 5), typeface=font)
    # Web boards as they are passed on: a screenshot of the viewer's whole window, and small
    # chat JPEGs of 20 to 24 px stones, of the board alone or of the whole window. The reader
    # was mended on the first four; the last four were made afterwards and only read.
    for j, (width, font, stones, board, coords, variant) in enumerate([
            (640, "DejaVu Sans", "modern", "wood", False, "page"),
            (600, "Liberation Sans", "glass", "wood", True, "page_chat22"),
            (620, "Noto Sans CJK JP", "simple", "white", False, "chat20"),
            (700, "Liberation Serif", "glass", "plain", False, "chat24"),
            (560, "DejaVu Serif", "modern", "wood", True, "page_chat21"),
            (680, "Liberation Sans Narrow", "simple", "white", True, "page"),
            (580, "Noto Serif CJK JP", "glass", "wood", False, "chat21"),
            (640, "DejaVu Sans Mono", "modern", "plain", False, "chat23")]):
        name = "wgo_%d_%s_%s_%s" % (width, stones, board, variant)
        rng = random.Random(seed_of(name))
        add(name, "wgo", "screen", dict(game=rng.choice(pool), width=width, font=font, stones=stones, board=board,
                                        coords=coords, page=variant.startswith("page")), variant,
            sample=True, typeface=font, tuned=j < 4)
    # Sabaki's Shudan board in Chromium: another web board, with its own wood and stones. The
    # first six, in designs the digit network holds out (two of them monospaced), were made after
    # every change above and only read; the last six, in designs it trains on, were drawn
    # afterwards for the reader to be mended on. Screenshots, chat JPEGs and a photo of each.
    for j, (vertex, font, coords, fuzzy, variant, kind) in enumerate([
            (30, "IPAMincho", False, True, "", "screen"),
            (26, "Liberation Mono", True, False, "", "screen"),
            (36, "Nimbus Mono PS", False, True, "", "photo"),
            (28, "FreeMono", False, False, "jpeg50", "screen"),
            (32, "IPAMincho", True, True, "chat22", "screen"),
            (30, "Nimbus Mono PS", False, False, "chat24", "screen"),
            (30, "Liberation Serif", False, True, "", "screen"),
            (26, "FreeSans", True, False, "", "screen"),
            (34, "URW Gothic", False, True, "", "photo"),
            (28, "Latin Modern Roman", False, False, "jpeg50", "screen"),
            (32, "IPAGothic", False, True, "chat22", "screen"),
            (30, "Nimbus Roman", True, False, "chat24", "screen")]):
        name = "shudan_%d_%s%s" % (vertex, font.lower().replace(" ", "-"), "_" + variant if variant else "")
        rng = random.Random(seed_of(name))
        add(name, "shudan", kind, dict(game=rng.choice(pool), vertex=vertex, font=font, coords=coords, fuzzy=fuzzy),
            variant, sample=True, typeface=font, tuned=j >= 6)
    return planned


def render(item, games):
    rng = random.Random(seed_of(item["name"]))
    p = item["params"]
    game, path = games[p["game"]]
    diagram = sgfgame.Diagram(game, last=min(len(game.moves), 250) if item["renderer"] == "gofonts" else None)
    r = item["renderer"]
    if r == "own":
        style = draw.Style(item["typeface"], p["pitch"], p["spacing"], p["board"], p["stones"], p["coords"],
                           line=1.0, three_digit=p["three_digit"])
        if p["page"]:
            img = draw.render_page(diagram, style, title_of(game), seed=rng.randrange(1 << 30),
                                   notes=p["notes"], japanese=p["japanese"])
        else:
            img = draw.render_board(diagram, style, seed=rng.randrange(1 << 30))
        pitch = p["pitch"]
    elif r == "sgf2dg":
        img, pitch = renderers.sgf2dg(path, p["dpi"], p["coords"])
        if item["kind"] in ("scan", "photo"):
            img = img.crop((0, 0, img.width, img.height // 2))  # the diagram and its notes
        elif item["kind"] == "screen":
            d = p["dpi"]
            img = img.crop((int(d * 0.6), int(d * 0.3), int(d * 7.1), int(d * 4.3)))
    elif r == "psgo":
        img, pitch = renderers.psgo(diagram, p["dpi"], p["unit"], p["family"], p["coords"], title=title_of(game))
    elif r == "gofonts":
        img, pitch = renderers.gofonts(diagram, p["dpi"], p["points"])
    elif r == "shudan":
        img, pitch = renderers.shudan(diagram, p["vertex"], p["font"], p["coords"], p["fuzzy"],
                                      seed=rng.randrange(1 << 30))
    else:
        img, pitch = renderers.wgo(diagram, p["width"], p["font"], p["stones"], p["board"], p["coords"],
                                   seed=rng.randrange(1 << 30), page=p.get("page", False))
    kind, variant = item["kind"], item["variant"]
    quality, orientation = None, None
    if kind == "screen":
        img = img.convert("RGB")
    elif kind == "scan":
        img, _ = spoil.scan(img, rng)
        quality = 75
    elif kind == "photo":
        img = spoil.photo(img, rng)
        quality = 80
    elif kind == "print":
        img, _ = spoil.scan(spoil.halftone(img, p.get("screen", 4.0), p.get("screen_angle", 45.0)), rng, max_turn=3.0)
        quality = 75
    else:
        img = img.convert("L") if r != "own" or p["board"] == "white" else img
    if variant.startswith("turned"):
        img = spoil.turn(img, int(variant[6:]) // 90)
    elif variant.startswith("exif"):
        img, orientation = spoil.exif_turned(img, int(variant[4:]))
        quality = quality or 85
    elif variant == "jpeg50":
        quality = 50
    elif variant == "shrink20":
        img = spoil.shrink(img, 20.0 / pitch)
        pitch = 20
    elif "chat" in variant:
        stone_px = float(variant[variant.index("chat") + 4:])
        img = spoil.chat(img, pitch, stone_px)
        pitch, quality = stone_px, 72
    return img, pitch, quality, orientation, diagram, game


LEGACY_KINDS = {"clean": "clean", "coords": "clean", "screen": "screen", "scan": "scan", "photo": "photo"}


def legacy_entries(games, out):
    """The pictures make_diagrams.sh made for the first reading tests (sgf2dg pages of GNU Go's
    games, spoilt with ImageMagick), read with the rest: the reader was tuned on them."""
    entries = []
    folder = os.path.join(ROOT, "tests/data/diagrams")
    for path in sorted(glob.glob(os.path.join(folder, "game*__*"))):
        file = os.path.basename(path)
        game_name, kind_dpi = file.rsplit(".", 1)[0].split("__")
        kind = LEGACY_KINDS[kind_dpi.rstrip("0123456789")]
        dpi = int(kind_dpi[len(kind_dpi.rstrip("0123456789")):])
        diagram = sgfgame.Diagram(games[game_name][0])
        entries.append(dict(file=os.path.relpath(path, out), game=game_name, renderer="sgf2dg", typeface="sgf2dg",
                            stone_px=round(dpi * 22.0 / 150, 1), kind=kind,
                            variant="coordinates" if kind_dpi.startswith("coords") else "", held_out=False,
                            first_player=1 if diagram.white_first else 0, moves=diagram.total,
                            board=diagram.board_lines(), notes=diagram.note_lines()))
    return entries


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--sample", action="store_true")
    ap.add_argument("--only")
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--games", default=os.path.join(HERE, "games"))
    args = ap.parse_args()
    games = load_games(args.games)
    if args.only != "outside" and not any(n.startswith("pro_") for n in games):
        sys.exit("no professional games in %s: bash scripts/corpus/get_games.sh first (see GAMES.md)" % args.games)
    planned = [s for s in plan(games) if (not args.sample or s["sample"]) and (not args.only or s["renderer"] == args.only
                                       or s["kind"] == args.only or (args.only == "outside" and s["outside"]))]
    if args.list:
        for s in planned:
            print(s["name"], s["kind"], s["variant"], "held-out" if s["held_out"] else "tuned", s["params"]["game"])
        return
    os.makedirs(args.out, exist_ok=True)
    manifest_path = os.path.join(args.out, "manifest.json")
    entries = []
    for s in planned:
        img, pitch, quality, orientation, diagram, game = render(s, games)
        if args.sample:
            # The committed copies are smaller: photos and scans as a phone or a scanner's
            # "small file" setting saves them, screenshots in 256 colours.
            if quality:
                quality = min(quality, 60)
            elif img.mode == "RGB":
                img = img.quantize(256, dither=Image.Dither.NONE)
        file = s["name"] + (".jpg" if quality else ".png")
        spoil.encode(img, os.path.join(args.out, file), quality, orientation)
        entries.append(dict(file=file, game=s["params"]["game"], renderer=s["renderer"], typeface=s["typeface"],
                            stone_px=round(pitch, 1), kind=s["kind"], variant=s["variant"], held_out=s["held_out"],
                            first_player=1 if diagram.white_first else 0, moves=diagram.total,
                            board=diagram.board_lines(), notes=diagram.note_lines(),
                            # A web board and a bare board print no notes: nothing could read them.
                            notes_printed=s["renderer"] not in ("wgo", "shudan", "own")
                            or (s["renderer"] == "own" and bool(s["params"].get("page")))))
        print("%-50s %-6s %5.1f px %s" % (file, s["kind"], pitch, "held out" if s["held_out"] else "tuned"), flush=True)
    if args.sample and not args.only:
        entries += legacy_entries(games, args.out)
    with open(manifest_path, "w") as f:
        json.dump({"pictures": entries}, f, indent=1, ensure_ascii=False)
        f.write("\n")


if __name__ == "__main__":
    main()
