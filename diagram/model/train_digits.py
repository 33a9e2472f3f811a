"""Trains the network that reads the number on each stone, and exports it to ONNX.

    /usr/bin/python3 diagram/model/train_digits.py [--cells DIR] [--out diagram/model/digits.onnx]

The crops are drawn by the corpus renderer (scripts/corpus/draw.py, stone_crop) in the
typefaces the reader may be tuned on only; the held-out typefaces give the first validation
set. --cells names a folder written by ranvel_cells over the committed corpus pictures
(one PNG per stone as the reader cuts it, and a labels.tsv): the second validation set, real
crops with their truth, split into tuned and held-out pictures.

Each crop is made the way the reader makes its own: the stone's square, one line's spacing
across and 1.07 spacings down on a Japanese board, scaled to 64 pixels a spacing, divided by
the paper's brightness, inverted for a black stone so the digits are always dark, then cut
to cellCrop pixels about the point and shrunk to CELL. Every random choice is seeded: the
same command on the same packages gives the same model."""

import argparse
import math
import multiprocessing
import os
import random
import sys
import time

import numpy as np
from PIL import Image, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts", "corpus"))
import draw  # noqa: E402

CELL = 32          # side of the network's input, pixels
PITCH = 64         # the straightened board's pitch (diagram/straightening.h)
CROP = 56          # pixels of the straightened board about the point that the network sees
MAX_DIGITS = 3

TUNED = sorted(t for t, v in draw.TYPEFACES.items() if not v[2])
HELD_OUT = sorted(t for t, v in draw.TYPEFACES.items() if v[2])
STONES = ["flat", "flat", "shaded", "glass"]
BOARDS = ["white", "white", "cream", "grey", "wood", "wood-light"]


def pick_number(rng):
    u = rng.random()
    if u < 0.10:
        return 0
    if u < 0.28:
        return rng.randint(1, 9)
    if u < 0.58:
        return rng.randint(10, 99)
    if u < 0.88:
        return rng.randint(100, 399)
    return rng.randint(400, 999)


def as_reader_cuts(img, pitch, japanese, black, rng):
    """The crop as the reader's straightened board would show it, CELL x CELL, 8-bit."""
    a = np.asarray(img, dtype=np.float32)
    # The reader divides by the brightest paper nearby; a light stone may be the brightest.
    paper = max(96.0, float(np.percentile(a, 99)))
    a = np.clip(a * (255.0 / paper), 0, 255)
    if black:
        a = 255.0 - a
    src = Image.fromarray(a.astype(np.uint8), "L")
    # Source pixels per straightened pixel, with the small errors of a fitted lattice.
    # Renderers print their digits larger or smaller against the stone, and their stones fill
    # more or less of a spacing: the whole crop is zoomed as well as stretched a little.
    zoom = rng.uniform(0.78, 1.05)
    sx = pitch / PITCH * zoom * rng.uniform(0.95, 1.05)
    sy = pitch * (1.07 if japanese else 1.0) / PITCH * zoom * rng.uniform(0.95, 1.05)
    turn = math.radians(rng.uniform(-2.5, 2.5))
    c, s = math.cos(turn), math.sin(turn)
    cx, cy = img.width / 2.0, img.height / 2.0
    half = CROP / 2.0
    # Output (u, v) in straightened pixels about the point -> source pixels.
    m = (sx * c, -sy * s, cx - half * (sx * c - sy * s),
         sx * s, sy * c, cy - half * (sx * s + sy * c))
    big = src.transform((CROP, CROP), Image.AFFINE, m, resample=Image.BILINEAR, fillcolor=255 if not black else 0)
    return np.asarray(big.resize((CELL, CELL), Image.BOX), dtype=np.uint8)


def make_crop(args):
    index, typefaces, salt = args
    rng = random.Random(salt * 1000003 + index)
    number = pick_number(rng)
    black = rng.random() < 0.5
    if number == 0:
        black = rng.random() < 0.8  # a stone without a number is nearly always a handicap stone
    tf = rng.choice(typefaces)
    pitch = math.exp(rng.uniform(math.log(18), math.log(72)))
    size = int(round(pitch * 1.5))
    spacing = rng.choice(["japanese", "korean"])
    # Blur that a person could still read through: at most a little more than a stroke.
    blur = rng.choice([0.0, rng.uniform(0, 0.6), rng.uniform(0.3, 1.2)]) * min(1.0, pitch / 30)
    noise = rng.choice([0.0, rng.uniform(0, 8), rng.uniform(4, 16)])
    jpeg = rng.choice([None, None, 50, 70, 90])
    # Typesetters print numbers from small labels on a plain stone to tall digits squeezed
    # across to fill it; the typefaces' own proportions alone are only the middle of that.
    scale = rng.choice([1.0, 1.0, rng.uniform(0.6, 0.95), rng.uniform(1.1, 1.8)])
    img = draw.stone_crop(number, black, tf, size, blur=blur, noise=noise, jpeg=jpeg, seed=index + salt,
                          stones=rng.choice(STONES), board=rng.choice(BOARDS), spacing=spacing,
                          offset=(rng.uniform(-0.05, 0.05), rng.uniform(-0.05, 0.05)), number_scale=scale)
    # Heavier and lighter strokes than the typefaces have: other printers' ink.
    if size >= 45 and rng.random() < 0.25:
        img = img.filter(ImageFilter.MinFilter(3) if rng.random() < 0.5 else ImageFilter.MaxFilter(3))
    cell = as_reader_cuts(img, pitch, spacing == "japanese", black, rng)
    # Faded ink and grey paper, as a scan or a photo leaves them after the reader's division.
    if rng.random() < 0.2:
        lo, hi = rng.uniform(0, 50), rng.uniform(210, 255)
        cell = (lo + cell.astype(np.float32) * (hi - lo) / 255.0).astype(np.uint8)
    return cell, number


def draw_set(n, typefaces, salt, workers, cache=None):
    if cache:
        path = os.path.join(cache, "crops_%d_%d_%s.npz" % (salt, n, "_".join(typefaces)[:40]))
        if os.path.exists(path):
            saved = np.load(path)
            return saved["x"], saved["y"]
    jobs = [(i, typefaces, salt) for i in range(n)]
    with multiprocessing.Pool(workers) as pool:
        out = pool.map(make_crop, jobs, chunksize=256)
    x = np.stack([c for c, _ in out])
    y = np.array([num for _, num in out], dtype=np.int64)
    if cache:
        np.savez_compressed(path, x=x, y=y)
    return x, y


def targets(numbers):
    """Length 0..3 and the digits from the left, 0 where there is none."""
    length = np.array([0 if n == 0 else len(str(n)) for n in numbers], dtype=np.int64)
    digits = np.zeros((len(numbers), MAX_DIGITS), dtype=np.int64)
    for i, n in enumerate(numbers):
        if n:
            for k, ch in enumerate(str(n)):
                digits[i, k] = int(ch)
    return length, digits


def build_model(torch):
    nn = torch.nn

    def block(i, o):
        return [nn.Conv2d(i, o, 3, padding=1, bias=False), nn.BatchNorm2d(o), nn.ReLU(inplace=True)]

    class Digits(nn.Module):
        def __init__(self):
            super().__init__()
            self.features = nn.Sequential(
                *block(1, 16), nn.MaxPool2d(2),                    # 16
                *block(16, 32), nn.MaxPool2d(2),                   # 8
                *block(32, 48), *block(48, 48), nn.MaxPool2d(2),   # 4
            )
            self.head = nn.Sequential(nn.Flatten(), nn.Dropout(0.2), nn.Linear(48 * 16, 160),
                                      nn.ReLU(inplace=True), nn.Linear(160, 4 + MAX_DIGITS * 10))

        def forward(self, x):
            return self.head(self.features(x))

    return Digits()


class Exported:
    """The model as the reader runs it: pixels 0..255 in, the probabilities out, the length's
    four and then ten for each digit from the left."""

    @staticmethod
    def wrap(torch, model):
        class Wrapped(torch.nn.Module):
            def __init__(self):
                super().__init__()
                self.model = model

            def forward(self, x):
                out = self.model(x / 255.0)
                parts = [torch.softmax(out[:, :4], dim=1)]
                for k in range(MAX_DIGITS):
                    parts.append(torch.softmax(out[:, 4 + 10 * k: 14 + 10 * k], dim=1))
                return torch.cat(parts, dim=1)

        return Wrapped()


def decode(probs):
    """Number and confidence from the exported probabilities, as the reader decodes them."""
    length = probs[:, :4].argmax(1)
    numbers, confidence = [], []
    for i in range(len(probs)):
        n = int(length[i])
        conf = float(probs[i, n])
        value = 0
        for k in range(n):
            p = probs[i, 4 + 10 * k: 14 + 10 * k].copy()
            if k == 0:
                p[0] = 0  # no number starts with 0
            d = int(p.argmax())
            value = value * 10 + d
            conf *= float(p[d])
        numbers.append(value)
        confidence.append(conf)
    return np.array(numbers), np.array(confidence)


def report(name, probs, truth, sure=0.9):
    numbers, conf = decode(probs)
    right = numbers == truth
    confident = conf >= sure
    wrong_sure = int(np.sum(~right & confident))
    print("%-28s %6d crops  right %.4f  wrong and sure (>= %.2f) %d  unsure %.4f"
          % (name, len(truth), right.mean(), sure, wrong_sure, 1 - confident.mean()), flush=True)
    return right.mean(), wrong_sure


def read_cells(folder):
    import csv
    cells, numbers, held = [], [], []
    with open(os.path.join(folder, "labels.tsv")) as f:
        for row in csv.DictReader(f, delimiter="\t"):
            cells.append(np.asarray(Image.open(os.path.join(folder, row["file"])).convert("L"), dtype=np.uint8))
            numbers.append(int(row["number"]))
            held.append(row["held_out"] == "1")
    return np.stack(cells), np.array(numbers), np.array(held)


def make_cells(folder, tool, corpus):
    """Runs ranvel_cells over the corpus pictures that stand upright and labels each crop with
    the manifest's truth; a stone the reader saw where the truth has none is left out."""
    import json
    import subprocess
    os.makedirs(folder, exist_ok=True)
    manifest = json.load(open(os.path.join(corpus, "manifest.json")))["pictures"]
    rows = []
    for n, p in enumerate(manifest):
        if "turned" in p["variant"]:
            continue
        sub = "p%02d" % n
        os.makedirs(os.path.join(folder, sub), exist_ok=True)
        run = subprocess.run([tool, os.path.join(corpus, p["file"]), os.path.join(folder, sub)],
                             capture_output=True, text=True)
        if run.returncode != 0:
            continue
        truth = [line.split(" ") for line in p["board"]]
        for line in run.stdout.split("\n"):
            if not line:
                continue
            x, y, _ = line.split(" ")
            field = truth[int(y) - 1][int(x) - 1]
            if field == ".":
                continue
            rows.append((sub + "/%s_%s.png" % (x, y), 0 if field == "B" else int(field), int(p["held_out"]), p["kind"]))
    with open(os.path.join(folder, "labels.tsv"), "w") as f:
        f.write("file\tnumber\theld_out\tkind\n")
        for r in rows:
            f.write("%s\t%d\t%d\t%s\n" % r)
    print("%d real crops in %s" % (len(rows), folder))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", default=os.path.join(HERE, "digits.onnx"))
    ap.add_argument("--cells", help="real crops written by ranvel_cells, for a second validation")
    ap.add_argument("--train", type=int, default=48000)
    ap.add_argument("--epochs", type=int, default=6)
    ap.add_argument("--workers", type=int, default=2)
    ap.add_argument("--cache", help="a folder to keep the drawn crops in between runs")
    ap.add_argument("--make-cells", metavar="DIR", help="write the real crops of the corpus with ranvel_cells, and stop")
    ap.add_argument("--reader", default=os.path.join(HERE, "..", "..", "build", "diagram", "ranvel_cells"))
    ap.add_argument("--corpus", default=os.path.join(HERE, "..", "..", "tests", "data", "corpus"))
    args = ap.parse_args()
    if args.make_cells:
        make_cells(args.make_cells, args.reader, args.corpus)
        return

    # Threads that wait without spinning: on a machine shared with builds, spinning threads
    # made an epoch ten times slower.
    os.environ.setdefault("OMP_WAIT_POLICY", "PASSIVE")
    import torch
    torch.set_num_threads(2)
    torch.manual_seed(7)
    np.random.seed(7)
    random.seed(7)
    start = time.time()

    x_train, y_train = draw_set(args.train, TUNED, 1, args.workers, args.cache)
    x_tval, y_tval = draw_set(3000, TUNED, 2, args.workers, args.cache)
    x_hval, y_hval = draw_set(5000, HELD_OUT, 3, args.workers, args.cache)
    print("drew %d crops in %.0f s" % (len(y_train) + len(y_tval) + len(y_hval), time.time() - start), flush=True)
    if os.environ.get("RANVEL_DIGITS_SHOW"):
        sheet = np.vstack([np.hstack(list(x_train[r * 24:(r + 1) * 24])) for r in range(12)])
        Image.fromarray(sheet).save(os.environ["RANVEL_DIGITS_SHOW"])

    length, digits = targets(y_train)
    xt = torch.from_numpy(x_train).float().unsqueeze(1) / 255.0
    lt, dt = torch.from_numpy(length), torch.from_numpy(digits)
    model = build_model(torch)
    epochs, batch = args.epochs, 128
    steps = epochs * ((len(xt) + batch - 1) // batch)
    opt = torch.optim.AdamW(model.parameters(), lr=3e-3, weight_decay=1e-4)
    sched = torch.optim.lr_scheduler.OneCycleLR(opt, max_lr=3e-3, total_steps=steps, pct_start=0.15)
    ce = torch.nn.CrossEntropyLoss(reduction="none")
    gen = torch.Generator().manual_seed(11)
    for epoch in range(epochs):
        model.train()
        order = torch.randperm(len(xt), generator=gen)
        total = 0.0
        for b in range(0, len(xt), batch):
            idx = order[b:b + batch]
            xb = xt[idx]
            # A pixel's shift either way: the lattice is never exactly on the point.
            dx, dy = torch.randint(-1, 2, (2,), generator=gen).tolist()
            xb = torch.roll(xb, shifts=(dy, dx), dims=(2, 3))
            out = model(xb)
            loss = ce(out[:, :4], lt[idx]).mean()
            for k in range(MAX_DIGITS):
                used = (lt[idx] > k).float()
                loss = loss + (ce(out[:, 4 + 10 * k: 14 + 10 * k], dt[idx, k]) * used).sum() / used.sum().clamp(min=1)
            opt.zero_grad()
            loss.backward()
            opt.step()
            sched.step()
            total += float(loss) * len(idx)
        print("epoch %d  loss %.4f  %.0f s" % (epoch + 1, total / len(xt), time.time() - start), flush=True)

    model.eval()
    wrapped = Exported.wrap(torch, model).eval()

    def run(x):
        with torch.no_grad():
            return wrapped(torch.from_numpy(x).float().unsqueeze(1)).numpy()

    report("tuned typefaces, drawn", run(x_tval), y_tval)
    report("held-out typefaces, drawn", run(x_hval), y_hval)
    if args.cells:
        cells, numbers, held = read_cells(args.cells)
        probs = run(cells)
        report("real crops, tuned pictures", probs[~held], numbers[~held])
        report("real crops, held-out pictures", probs[held], numbers[held])

    torch.onnx.export(wrapped, torch.zeros(1, 1, CELL, CELL), args.out, opset_version=11,
                      input_names=["cells"], output_names=["probabilities"],
                      dynamic_axes={"cells": {0: "stones"}, "probabilities": {0: "stones"}})
    print("wrote %s (%d bytes) after %.0f s" % (args.out, os.path.getsize(args.out), time.time() - start))


if __name__ == "__main__":
    main()
