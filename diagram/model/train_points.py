"""Trains the network that tells what stands on each point of a board (nothing, a black stone,
a white stone), and exports it to ONNX.

    /usr/bin/python3 diagram/model/train_points.py [--pages N] [--work DIR] [--out diagram/model/points.onnx]

Whole boards are drawn by the corpus renderer (scripts/corpus/draw.py) in the typefaces the
reader may be tuned on, on every board texture it draws, and spoilt as the corpus spoils its
pictures: screenshots, scans, photos, and newspaper halftone screens of any period and angle.
Each page is read by ranvel_cells --points (a screened page also smoothed, as the reader reads
it again), which writes every point as the reader's straightened board shows it; the truth
comes from the game. A page whose lattice the reader fits wrongly gives no crops. The last
tenth of the pages is the validation set. Needs the packages of train_digits.py (a few of its
fonts are enough: fonts-dejavu fonts-liberation fonts-lmodern fonts-freefont-ttf fonts-ipafont)
and a built tree (build/tools/ranvel_cells). Every random choice is seeded."""

import argparse
import glob
import multiprocessing
import os
import random
import subprocess
import sys
import time

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "scripts", "corpus"))
import draw  # noqa: E402
import sgfgame  # noqa: E402
import spoil  # noqa: E402

CELL = 32
SIDE = 19
CLASSES = ("e", "b", "w")
TOOL = os.path.join(ROOT, "build", "tools", "ranvel_cells")
# The reader smooths a screened page by these before reading it again.
SMOOTHING = (1.5, 2.0)


def tuned_typefaces():
    return sorted(tf for tf, (_, _, held) in draw.TYPEFACES.items() if not held)


def page_plan(index, games):
    rng = random.Random(7919 * index + 11)
    kind = rng.choice(["clean", "screen", "scan", "photo", "print", "print", "print"])
    tf = rng.choice(tuned_typefaces())
    game = games[rng.randrange(len(games))]
    p = dict(kind=kind, typeface=tf, game=game, spacing=rng.choice(["japanese", "korean"]),
             coords=rng.random() < 0.3, three_digit=rng.choice(["condense", "shrink"]), seed=rng.randrange(1 << 30))
    if kind == "clean":
        p.update(pitch=rng.choice([24, 30, 40, 56]), board=rng.choice(["white", "cream"]), stones="flat",
                 page=rng.random() < 0.5)
    elif kind == "screen":
        p.update(pitch=rng.choice([20, 22, 26, 30, 36]), board=rng.choice(draw_boards()),
                 stones=rng.choice(["flat", "shaded", "glass"]), page=False, jpeg=rng.choice([None, 50, 80]))
    elif kind == "scan":
        p.update(pitch=rng.choice([30, 36, 44]), board="white", stones="flat", page=True)
    elif kind == "photo":
        p.update(pitch=rng.choice([36, 44, 56]), board=rng.choice(["white", "cream"]), stones="flat", page=True)
    else:
        p.update(pitch=rng.choice([32, 36, 40, 44]), board=rng.choice(["wood", "wood-light", "grey", "cream"]),
                 stones="flat", page=True, period=rng.uniform(3.0, 5.5), angle=rng.uniform(0, 90))
    return p


def draw_boards():
    return ["wood", "wood-light", "grey", "white"]


def render(args):
    index, game_path, work = args
    games = [game_path]
    p = page_plan(index, games)
    rng = random.Random(p["seed"])
    game = sgfgame.read_game(game_path)
    diagram = sgfgame.Diagram(game)
    style = draw.Style(p["typeface"], p["pitch"], p["spacing"], p["board"], p["stones"], p["coords"],
                       line=1.0, three_digit=p["three_digit"])
    if p["page"]:
        img = draw.render_page(diagram, style, "", seed=rng.randrange(1 << 30), notes="icons")
    else:
        img = draw.render_board(diagram, style, seed=rng.randrange(1 << 30))
    quality = None
    if p["kind"] == "screen":
        img = img.convert("RGB")
        quality = p["jpeg"]
    elif p["kind"] == "scan":
        img, _ = spoil.scan(img, rng)
        quality = 75
    elif p["kind"] == "photo":
        img, quality = spoil.photo(img, rng), 80
    elif p["kind"] == "print":
        img, _ = spoil.scan(spoil.halftone(img, p["period"], p["angle"]), rng, max_turn=3.0)
        quality = 75
    else:
        img = img.convert("L") if p["board"] == "white" else img
    path = os.path.join(work, "page%05d%s" % (index, ".jpg" if quality else ".png"))
    spoil.encode(img, path, quality)
    truth = np.zeros(SIDE * SIDE, dtype=np.int64)
    for (x, y), (black, _) in diagram.stones.items():
        truth[(y - 1) * SIDE + (x - 1)] = 1 if black else 2
    out = []
    for sigma in ((0.0,) + SMOOTHING if p["kind"] == "print" else (0.0,)):
        sheet = path + "_%g.png" % sigma
        r = subprocess.run([TOOL, "--points", path, sheet, str(sigma)], capture_output=True, text=True)
        if r.returncode != 0:
            continue
        looks = np.array([CLASSES.index(line.split()[2]) for line in r.stdout.splitlines()])
        a = np.asarray(Image.open(sheet).convert("L"))
        os.remove(sheet)
        # A lattice fitted a line off agrees with the game on few stones.
        stones = truth != 0
        if len(looks) != SIDE * SIDE or np.mean((looks != 0) == stones) < 0.8:
            continue
        cells = a.reshape(SIDE, CELL, SIDE, CELL).transpose(0, 2, 1, 3).reshape(SIDE * SIDE, CELL, CELL)
        out.append((cells, truth.copy(), looks, p["kind"]))
    os.remove(path)
    return index, out


def build_model(torch):
    nn = torch.nn

    def block(i, o):
        return [nn.Conv2d(i, o, 3, padding=1, bias=False), nn.BatchNorm2d(o), nn.ReLU(inplace=True)]

    return nn.Sequential(
        *block(1, 16), nn.MaxPool2d(2),   # 16
        *block(16, 32), nn.MaxPool2d(2),  # 8
        *block(32, 48), nn.MaxPool2d(2),  # 4
        nn.Flatten(), nn.Linear(48 * 16, 64), nn.ReLU(inplace=True), nn.Linear(64, len(CLASSES)))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--pages", type=int, default=400)
    ap.add_argument("--work", default="/tmp/ranvel-points")
    ap.add_argument("--out", default=os.path.join(HERE, "points.onnx"))
    ap.add_argument("--epochs", type=int, default=6)
    ap.add_argument("--workers", type=int, default=2)
    args = ap.parse_args()
    import torch
    torch.manual_seed(1)
    torch.set_num_threads(args.workers)
    started = time.time()
    os.makedirs(args.work, exist_ok=True)
    games = sorted(glob.glob(os.path.join(ROOT, "tests", "data", "games", "*.sgf")))
    data = os.path.join(args.work, "cells_%d.npz" % args.pages)
    if os.path.exists(data):
        saved = np.load(data)
        x, y, hand, kinds, page = saved["x"], saved["y"], saved["hand"], saved["kinds"], saved["page"]
    else:
        jobs = [(i, games[random.Random(i).randrange(len(games))], args.work) for i in range(args.pages)]
        xs, ys, hs, ks, ps = [], [], [], [], []
        with multiprocessing.Pool(args.workers) as pool:
            for index, out in pool.imap_unordered(render, jobs):
                for cells, truth, looks, kind in out:
                    xs.append(cells), ys.append(truth), hs.append(looks)
                    ks.append(np.full(len(truth), kind)), ps.append(np.full(len(truth), index))
        x, y, hand = np.concatenate(xs), np.concatenate(ys), np.concatenate(hs)
        kinds, page = np.concatenate(ks), np.concatenate(ps)
        np.savez_compressed(data, x=x, y=y, hand=hand, kinds=kinds, page=page)
    print("%d crops from %d pages, drawn in %.0f s" % (len(y), len(set(page.tolist())), time.time() - started), flush=True)
    held = page >= args.pages * 9 // 10
    model = build_model(torch)
    xt = torch.tensor(x[~held][:, None].astype(np.float32) / 255.0)
    yt = torch.tensor(y[~held])
    opt = torch.optim.Adam(model.parameters(), lr=2e-3)
    sched = torch.optim.lr_scheduler.OneCycleLR(opt, max_lr=3e-3, total_steps=args.epochs * ((len(yt) + 255) // 256))
    gen = torch.Generator().manual_seed(2)
    for epoch in range(args.epochs):
        model.train()
        order = torch.randperm(len(yt), generator=gen)
        total = 0.0
        for k in range(0, len(yt), 256):
            idx = order[k:k + 256]
            batch = xt[idx]
            # Mirrored every other epoch: a point looks the same either way.
            if epoch % 2:
                batch = torch.flip(batch, dims=[3])
            loss = torch.nn.functional.cross_entropy(model(batch), yt[idx])
            opt.zero_grad()
            loss.backward()
            opt.step()
            sched.step()
            total += float(loss) * len(idx)
        print("epoch %d loss %.4f (%.0f s)" % (epoch + 1, total / len(yt), time.time() - started), flush=True)
    model.eval()

    class Exported(torch.nn.Module):
        def __init__(self):
            super().__init__()
            self.model = model

        def forward(self, cells):
            return torch.softmax(self.model(cells / 255.0), dim=1)

    exported = Exported().eval()
    with torch.no_grad():
        probs = exported(torch.tensor(x[held][:, None].astype(np.float32))).numpy()
    truth, best = y[held], probs.argmax(1)
    for kind in sorted(set(kinds[held].tolist())):
        k = kinds[held] == kind
        sure = probs[k].max(1) >= 0.99
        print("%-7s %6d points  right %.5f  hand test %.5f  sure %.4f  wrong and sure %d"
              % (kind, int(k.sum()), np.mean(best[k] == truth[k]), np.mean(hand[held][k] == truth[k]),
                 np.mean(sure), int(np.sum(sure & (best[k] != truth[k])))), flush=True)
    torch.onnx.export(exported, torch.zeros(1, 1, CELL, CELL), args.out, input_names=["cells"],
                      output_names=["odds"], dynamic_axes={"cells": {0: "n"}, "odds": {0: "n"}}, opset_version=11)
    print("wrote %s in %.0f s in all" % (args.out, time.time() - started))


if __name__ == "__main__":
    main()
