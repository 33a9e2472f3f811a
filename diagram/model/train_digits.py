"""Trains the network that reads the number on each stone, and exports it to ONNX.

    /usr/bin/python3 diagram/model/train_digits.py [--cells DIR] [--out diagram/model/digits.onnx]

The crops are drawn by the corpus renderer (scripts/corpus/draw.py, stone_crop) in every
installed font that has the ten digits, grouped into designs; whole designs are held out (see
split_designs) and give the first validation set, reported design by design. The fonts come
from Debian's packages:

    apt-get install fonts-lmodern fonts-liberation fonts-liberation2 fonts-freefont-ttf \
      fonts-noto-cjk fonts-noto-core fonts-croscore fonts-texgyre fonts-crosextra-carlito \
      fonts-crosextra-caladea fonts-roboto fonts-open-sans fonts-cantarell fonts-takao \
      fonts-vlgothic fonts-mplus fonts-unfonts-core fonts-nanum fonts-wqy-zenhei \
      fonts-linuxlibertine fonts-ebgaramond fonts-stix fonts-sil-gentium fonts-sil-charis \
      fonts-lato fonts-hack fonts-inconsolata fonts-adf-accanthis fonts-adf-gillius \
      fonts-adf-universalis fonts-adf-baskervald fonts-adf-berenis fonts-adf-tribun \
      fonts-adf-verana fonts-oxygen fonts-comfortaa fonts-cabin fonts-dosis fonts-quicksand \
      fonts-jura fonts-tlwg-garuda fonts-tlwg-kinnari fonts-tlwg-loma fonts-tlwg-purisa \
      fonts-tlwg-sawasdee fonts-tlwg-umpush fonts-tlwg-waree fonts-junicode fonts-firacode \
      fonts-arphic-uming fonts-arphic-ukai fonts-yanone-kaffeesatz fonts-league-spartan \
      fonts-lexi-gulim fonts-baekmuk fonts-urw-base35 fonts-dejavu fonts-ipafont python3-torch

 --cells names a folder written by ranvel_cells over the committed corpus pictures
(one PNG per stone as the reader cuts it, and a labels.tsv): the second validation set, real
crops with their truth, split into tuned and held-out pictures.

Each crop is made the way the reader makes its own: the stone's square, one line's spacing
across and 1.07 spacings down on a Japanese board, scaled to 64 pixels a spacing, divided by
the paper's brightness, inverted for a black stone so the digits are always dark, then cut
to cellCrop pixels about the point and shrunk to CELL. Every random choice is seeded: the
same command on the same packages gives the same model."""

import argparse
import functools
import math
import multiprocessing
import os
import random
import re
import subprocess
import sys
import time
import zlib

import numpy as np
from PIL import Image, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts", "corpus"))
import draw  # noqa: E402

CELL = 32          # side of the network's input, pixels
PITCH = 64         # the straightened board's pitch (diagram/straightening.h)
CROP = 56          # pixels of the straightened board about the point that the network sees
MAX_DIGITS = 3

STONES = ["flat", "flat", "shaded", "glass"]
BOARDS = ["white", "white", "cream", "grey", "wood", "wood-light"]

# Typefaces whose digits are not a printer's: symbols, keycaps, initials, brush hands.
NOT_PRINTED = re.compile(r"Symbols|Standard Symbols|D050000L|Keyboard|Initials|Kouzan|Nushu|Emoji|Music")
# Cuts of one design share a family: widths, weights and optical sizes are stripped from the name.
CUT_WORDS = re.compile(r"\s+(Narrow|Condensed|SemiCondensed|ExtraCondensed|Cn|Light|Thin|Medium|Black|"
                       r"Bold|SemiBold|ExtraBold|Demi|ExtraLight|Display|Caps|Slanted|Unslanted|Dunhill|"
                       r"Cond|Prop|No\d|Std|Pro|Math|Quotation|Sharp|Code|Latin \d+|\d+|O|Alt|MBE|CN|HK|TW)$")
# Clones and renamings of one design, held in or out together.
SAME_DESIGN = {
    "Arimo": "Liberation Sans", "Latin Modern": "Latin Modern Roman", "Fira": "Fira Code", "Tinos": "Liberation Serif", "Cousine": "Liberation Mono",
    "TeX Gyre Heros": "Nimbus Sans", "TeX Gyre Termes": "Nimbus Roman", "TeX Gyre Pagella": "P052",
    "TeX Gyre Schola": "C059", "TeX Gyre Bonum": "URW Bookman", "TeX Gyre Adventor": "URW Gothic",
    "TeX Gyre Cursor": "Nimbus Mono PS", "TeX Gyre Chorus": "Z003", "DejaVu Math TeX Gyre": "DejaVu Serif",
    "IPAPGothic": "IPAGothic", "IPAPMincho": "IPAMincho", "TakaoGothic": "IPAGothic",
    "TakaoPGothic": "IPAGothic", "TakaoMincho": "IPAMincho", "TakaoPMincho": "IPAMincho",
    "VL PGothic": "VL Gothic", "STIXGeneral": "STIX", "GentiumAlt": "Gentium", "Mplus": "M PLUS",
    "M PLUS 1": "M PLUS", "M PLUS 2": "M PLUS", "Oxygen-Sans": "Oxygen", "Verana Sans": "Verana",
    "Linux Biolinum O": "Linux Biolinum", "Linux Libertine O": "Linux Libertine",
    "Linux Libertine Mono O": "Linux Libertine", "Roboto": "Roboto", "Quicksand": "Quicksand",
}


def design(family):
    """The design a font family belongs to, for holding whole designs out."""
    if family.startswith(("Noto Sans CJK", "Noto Serif CJK")):
        return "Noto " + family.split()[1] + " CJK"
    m = re.match(r"(Noto (Sans|Serif|Kufi|Naskh|Nastaliq))\b", family)
    if m:
        return m.group(1)
    name = family
    while True:
        shorter = CUT_WORDS.sub("", name)
        if shorter == name:
            break
        name = shorter
    return SAME_DESIGN.get(name, name)


def catalogue():
    """Every installed font with the ten digits, as {design: ["FILE#INDEX", ...]}."""
    listed = subprocess.run(["fc-list", "--format", "%{family[0]}|%{file}|%{index}\n", ":charset=30-39"],
                            check=True, capture_output=True, text=True).stdout
    designs = {}
    for line in sorted(set(listed.splitlines())):
        family, path, index = line.split("|")
        if NOT_PRINTED.search(family) or not path.endswith((".ttf", ".otf", ".ttc", ".otc", ".pfb")):
            continue
        designs.setdefault(design(family), []).append("%s#%s" % (path, index or 0))
    return designs


def split_designs(designs):
    """Tuned and held-out designs: those of the corpus renderer's typefaces keep their side, and
    a quarter of the rest, chosen by the name's checksum, is held out."""
    fixed = {}
    for key, (pattern, _, held) in list(draw.TYPEFACES.items()) + list(draw.OUTSIDE_TYPEFACES.items()):
        family = subprocess.run(["fc-match", "-f", "%{family[0]}", pattern], check=True,
                                capture_output=True, text=True).stdout
        fixed[design(family)] = held
    tuned, held = {}, {}
    for name, faces in designs.items():
        out = fixed.get(name, zlib.crc32(name.encode()) % 4 == 0)
        (held if out else tuned)[name] = faces
    return tuned, held


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


@functools.lru_cache(maxsize=None)
def faces(side):
    """The designs of one side, "tuned" or "held", as a sorted list of (design, its cuts)."""
    tuned, held = split_designs(catalogue())
    return sorted((tuned if side == "tuned" else held).items())


def halftone(a, rng):
    """A newspaper's screen: the grey printed as dots on a slanted grid of a few pixels."""
    period = rng.uniform(2.5, 5.0)
    turn = math.radians(rng.choice([15, 45, 75]) + rng.uniform(-5, 5))
    v, u = np.mgrid[0:a.shape[0], 0:a.shape[1]].astype(np.float32)
    s, t = u * math.cos(turn) + v * math.sin(turn), -u * math.sin(turn) + v * math.cos(turn)
    screen = (np.cos(2 * math.pi * s / period) + np.cos(2 * math.pi * t / period)) * 0.25 + 0.5
    dots = np.where(a / 255.0 > screen, 255.0, 0.0).astype(np.uint8)
    return np.asarray(Image.fromarray(dots).filter(ImageFilter.GaussianBlur(rng.uniform(0.4, 0.9))), dtype=np.float32)


def moire(a, rng):
    """A screen photographed: two close stripes beat into slow bands over the picture."""
    v, u = np.mgrid[0:a.shape[0], 0:a.shape[1]].astype(np.float32)
    period, turn = rng.uniform(2.5, 8.0), rng.uniform(0, math.pi)
    s = u * math.cos(turn) + v * math.sin(turn)
    beat = np.sin(2 * math.pi * s / period) + np.sin(2 * math.pi * s / (period * rng.uniform(1.03, 1.12)))
    return np.clip(a + rng.uniform(8, 30) * beat, 0, 255)


def make_crop(args):
    index, side, salt = args
    rng = random.Random(salt * 1000003 + index)
    number = pick_number(rng)
    black = rng.random() < 0.5
    if number == 0:
        black = rng.random() < 0.8  # a stone without a number is nearly always a handicap stone
    # A design first, then one of its cuts: a family of forty weights weighs no more than one.
    designs = faces(side)
    family, cuts = designs[rng.randrange(len(designs))]
    tf = rng.choice(cuts)
    pitch = math.exp(rng.uniform(math.log(18), math.log(72)))
    size = int(round(pitch * 1.5))
    spacing = rng.choice(["japanese", "korean"])
    # Blur that a person could still read through: at most a little more than a stroke.
    blur = rng.choice([0.0, rng.uniform(0, 0.6), rng.uniform(0.3, 1.2)]) * min(1.0, pitch / 30)
    noise = rng.choice([0.0, rng.uniform(0, 8), rng.uniform(4, 16)])
    jpeg = rng.choice([None, None, 30, 50, 70, 90])
    # Typesetters print numbers from small labels on a plain stone to tall digits squeezed
    # across to fill it; the typefaces' own proportions alone are only the middle of that.
    scale = rng.choice([1.0, 1.0, rng.uniform(0.6, 0.95), rng.uniform(1.1, 1.8), rng.uniform(1.4, 1.9)])
    # Condensed faces set three digits tall and touching in less than the stone's width, with
    # strokes as heavy as their normal cuts'; a squeezed picture of a normal cut comes near.
    squeeze, bolder = 1.0, 0
    if number >= 100 and rng.random() < 0.35:
        scale = rng.uniform(1.2, 1.9)
        squeeze = rng.uniform(0.55, 0.85)
        bolder = rng.choice([0, 3, 3, 5]) if size >= 24 else 0
    img = draw.stone_crop(number, black, tf, size, blur=blur, noise=noise, jpeg=jpeg, seed=index + salt,
                          stones=rng.choice(STONES), board=rng.choice(BOARDS), spacing=spacing,
                          offset=(rng.uniform(-0.05, 0.05), rng.uniform(-0.05, 0.05)), number_scale=scale,
                          squeeze=squeeze, bolder=bolder)
    # Heavier and lighter strokes than the typefaces have: other printers' ink.
    if size >= 30 and rng.random() < 0.25:
        img = img.filter(ImageFilter.MinFilter(3) if rng.random() < 0.5 else ImageFilter.MaxFilter(3))
    damage = rng.random()
    if damage < 0.08 and size >= 30:
        img = Image.fromarray(halftone(np.asarray(img, dtype=np.float32), rng).astype(np.uint8), "L")
    elif damage < 0.16:
        img = Image.fromarray(moire(np.asarray(img, dtype=np.float32), rng).astype(np.uint8), "L")
    cell = as_reader_cuts(img, pitch, spacing == "japanese", black, rng)
    # Faded ink and grey paper, as a scan or a photo leaves them after the reader's division.
    # A glass stone photographed on wood leaves its digits grey on a light grey, 80 levels apart.
    if rng.random() < 0.3:
        lo = rng.uniform(0, 130)
        hi = rng.uniform(max(190.0, lo + 80), 255)
        cell = (lo + cell.astype(np.float32) * (hi - lo) / 255.0).astype(np.uint8)
    return cell, number, family


def draw_set(n, side, salt, workers, cache=None):
    if cache:
        path = os.path.join(cache, "crops_%d_%d_%s.npz" % (salt, n, side))
        if os.path.exists(path):
            saved = np.load(path)
            return saved["x"], saved["y"], saved["family"]
    jobs = [(i, side, salt) for i in range(n)]
    with multiprocessing.Pool(workers) as pool:
        out = pool.map(make_crop, jobs, chunksize=256)
    x = np.stack([c for c, _, _ in out])
    y = np.array([num for _, num, _ in out], dtype=np.int64)
    family = np.array([f for _, _, f in out])
    if cache:
        np.savez_compressed(path, x=x, y=y, family=family)
    return x, y, family


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
                *block(1, 24), nn.MaxPool2d(2),                    # 16
                *block(24, 48), *block(48, 48), nn.MaxPool2d(2),   # 8
                *block(48, 64), *block(64, 64), nn.MaxPool2d(2),   # 4
            )
            self.head = nn.Sequential(nn.Flatten(), nn.Dropout(0.2), nn.Linear(64 * 16, 192),
                                      nn.ReLU(inplace=True), nn.Linear(192, 4 + MAX_DIGITS * 10))

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
    # The reader lets a reading stand alone at 0.995 and doubts a label against it below 0.999:
    # what is wrong above those is what a doubt cannot catch.
    above = " ".join("%g:%d/%d" % (t, int(np.sum(~right & (conf >= t))), int(np.sum(right & (conf < t))))
                     for t in (0.99, 0.995, 0.999))
    print("%-28s %6d crops  right %.4f  wrong and sure (>= %.2f) %d  unsure %.4f  wrong above/right below %s"
          % (name, len(truth), right.mean(), sure, wrong_sure, 1 - confident.mean(), above), flush=True)
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
            x, y = line.split(" ")[:2]
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
    ap.add_argument("--train", type=int, default=120000)
    ap.add_argument("--epochs", type=int, default=8)
    ap.add_argument("--workers", type=int, default=2)
    ap.add_argument("--cache", help="a folder to keep the drawn crops in between runs")
    ap.add_argument("--make-cells", metavar="DIR", help="write the real crops of the corpus with ranvel_cells, and stop")
    ap.add_argument("--reader", default=os.path.join(HERE, "..", "..", "build", "tools", "ranvel_cells"))
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

    tuned, held = faces("tuned"), faces("held")
    print("%d designs (%d cuts) to train on, %d (%d cuts) held out: %s" % (
        len(tuned), sum(len(c) for _, c in tuned), len(held), sum(len(c) for _, c in held),
        ", ".join(name for name, _ in held)), flush=True)
    x_train, y_train, _ = draw_set(args.train, "tuned", 1, args.workers, args.cache)
    x_tval, y_tval, _ = draw_set(3000, "tuned", 2, args.workers, args.cache)
    x_hval, y_hval, f_hval = draw_set(8000, "held", 3, args.workers, args.cache)
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
    held_probs = run(x_hval)
    report("held-out typefaces, drawn", held_probs, y_hval)
    for name in sorted(set(f_hval)):
        report("  " + name, held_probs[f_hval == name], y_hval[f_hval == name])
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
