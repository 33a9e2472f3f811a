"""The corpus's own renderer, over PIL: numbered diagrams in many typefaces, with either
spacing, on white or wooden boards, with flat, shaded or glass stones, with or without
coordinates; whole pages with a caption, the notes and text; and single stone crops for
training a digit recogniser (stone_crop).

Everything is drawn at a multiple of the size asked for and scaled down, so edges are smooth as
a typesetter's are; every random choice comes from the seed passed in."""

import functools
import io
import random
import subprocess

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

# Typefaces by name: the fontconfig pattern, what it stands for, and whether the reader may be
# tuned on it. The held-out half is what the README's figures for unseen styles come from.
TYPEFACES = {
    "dejavu-sans":        ("DejaVu Sans:style=Book", "sans", False),
    "dejavu-sans-bold":   ("DejaVu Sans:style=Bold", "bold sans", False),
    "dejavu-condensed":   ("DejaVu Sans:style=Condensed", "condensed sans", False),
    "liberation-serif":   ("Liberation Serif:style=Regular", "serif (Times metrics)", False),
    "ipagothic":          ("IPAGothic", "Japanese gothic", False),
    "lm-roman":           ("Latin Modern Roman:style=Regular", "TeX Computer Modern", False),
    "freesans-bold":      ("FreeSans:style=Bold", "bold sans (Helvetica-like)", False),
    "nimbus-sans-narrow": ("Nimbus Sans Narrow:style=Regular", "condensed sans", True),
    "liberation-narrow-bold": ("Liberation Sans Narrow:style=Bold", "bold condensed sans", True),
    "c059":               ("C059:style=Roman", "serif (Century Schoolbook)", True),
    "p052":               ("P052:style=Roman", "serif (Palatino)", True),
    "ipamincho":          ("IPAMincho", "Japanese mincho", True),
    "noto-cjk-bold":      ("Noto Sans CJK JP:style=Bold", "Japanese gothic, bold", True),
    "lm-sans":            ("Latin Modern Sans:style=Regular", "TeX Computer Modern sans", True),
    "urw-bookman":        ("URW Bookman:style=Light", "serif (Bookman)", True),
    "freeserif-bold":     ("FreeSerif:style=Bold", "bold serif", True),
}

# Typefaces of designs the digit network never trains on, drawn only for the held-out pictures
# that report on typeface families (make_corpus.py --only outside).
OUTSIDE_TYPEFACES = {
    "quicksand-light":    ("Quicksand:style=Light", "thin rounded sans", True),
    "dosis-light":        ("Dosis:style=Light", "thin condensed sans", True),
    "open-sans":          ("Open Sans:style=Regular", "humanist sans", True),
    "linux-libertine":    ("Linux Libertine O:style=Regular", "book serif", True),
    "jura":               ("Jura:style=Regular", "square sans", True),
    "m-plus-2":           ("M PLUS 2:style=Regular", "Japanese sans", True),
    "baskervald":         ("Baskervald ADF Std:style=Regular", "transitional serif", True),
    "gillius-cond":       ("Gillius ADF Cond:style=Condensed", "condensed humanist sans", True),
}


@functools.lru_cache(maxsize=None)
def font_file(typeface):
    """The font's file and face index; a typeface may also be given as "FILE#INDEX" itself."""
    if "#" in typeface:
        path, index = typeface.rsplit("#", 1)
        return path, int(index)
    pattern = (TYPEFACES.get(typeface) or OUTSIDE_TYPEFACES[typeface])[0]
    family, path, index = subprocess.run(["fc-match", "-f", "%{family}|%{file}|%{index}", pattern], check=True,
                                         capture_output=True, text=True).stdout.split("|")
    # fc-match answers with the nearest font it has: a missing typeface would be drawn in another.
    wanted = pattern.split(":")[0]
    if wanted not in family.split(","):
        raise SystemExit("typeface %r (%s) is not installed: fc-match offers %s instead; see the font "
                         "packages in diagram/model/train_digits.py" % (typeface, wanted, family))
    return path, int(index or 0)


@functools.lru_cache(maxsize=256)
def _font(typeface, size):
    path, index = font_file(typeface)
    return ImageFont.truetype(path, max(4, int(size)), index=index)


class Style:
    """How one diagram is drawn. pitch is the distance between lines across, in final pixels."""

    def __init__(self, typeface="dejavu-sans", pitch=40, spacing="japanese", board="white",
                 stones="flat", coords=False, line=1.0, number_scale=1.0, three_digit="condense"):
        self.typeface = typeface
        self.pitch = pitch
        self.spacing = spacing        # japanese: gaps, rows a little further apart; korean: touching
        self.board = board            # white, cream, wood, grey
        self.stones = stones          # flat, shaded, glass
        self.coords = coords
        self.line = line              # line width in final pixels, at least
        self.number_scale = number_scale
        self.squeeze = 1.0            # a share of the stone's width the number is squeezed into
        self.bolder = 0               # strokes thickened by a filter of this size, supersampled
        self.three_digit = three_digit  # condense: squeezed across; shrink: a smaller size

    @property
    def pitch_y(self):
        return self.pitch * (1.07 if self.spacing == "japanese" else 1.0)

    @property
    def diameter(self):
        return self.pitch * (0.92 if self.spacing == "japanese" else 1.0)


BOARD_COLOURS = {"white": (255, 255, 255), "cream": (250, 244, 228), "grey": (236, 236, 236),
                 "wood": (220, 179, 92), "wood-light": (232, 200, 140)}


def _wood(w, h, base, rng):
    """Wood grain: long stripes of slowly changing tone, with fine noise."""
    ys = np.arange(h, dtype=np.float32)[:, None]
    xs = np.arange(w, dtype=np.float32)[None, :]
    phase = rng.uniform(0, 6.28)
    f1, f2 = rng.uniform(0.02, 0.05), rng.uniform(0.15, 0.3)
    grain = (np.sin(ys * f1 + np.sin(xs * 0.004 + phase) * 4) * 0.6
             + np.sin(ys * f2 + xs * 0.01) * 0.25)
    noise = np.random.default_rng(rng.randrange(1 << 30)).normal(0, 0.15, (h, w)).astype(np.float32)
    tone = 1.0 + 0.06 * grain + 0.03 * noise
    img = np.clip(np.stack([tone * c for c in base], axis=-1), 0, 255).astype(np.uint8)
    return Image.fromarray(img, "RGB")


def _number_image(text, typeface, height, max_width, colour, condense):
    """The number drawn alone, scaled into a box: height is the digits' height."""
    font = _font(typeface, height * 1.45)
    left, top, right, bottom = font.getbbox("0123456789")
    digit_h = bottom - top
    scale = height / max(1, digit_h)
    font = _font(typeface, height * 1.45 * scale)
    l, t, r, b = font.getbbox(text)
    img = Image.new("L", (r - l + 4, b - t + 4), 0)
    ImageDraw.Draw(img).text((2 - l, 2 - t), text, font=font, fill=255)
    w = img.width
    if w > max_width:
        if condense:
            img = img.resize((int(max_width), img.height), Image.LANCZOS)
        else:
            f = max_width / w
            img = img.resize((int(max_width), max(1, int(img.height * f))), Image.LANCZOS)
    solid = Image.new("RGB", img.size, colour)
    return solid, img


def _stone(draw, canvas, cx, cy, r, black, style, s, rng):
    """One stone at (cx, cy) of radius r, in supersampled pixels."""
    box = [cx - r, cy - r, cx + r, cy + r]
    outline = max(1, int(round(max(style.line, style.pitch / 40) * s)))
    if style.stones == "flat":
        draw.ellipse(box, fill=(0, 0, 0) if black else (255, 255, 255), outline=(0, 0, 0), width=outline)
        return
    # Shaded and glass stones: a radial gradient, light from the top left, as web boards draw.
    d = int(2 * r) + 1
    yy, xx = np.mgrid[0:d, 0:d].astype(np.float32)
    lx, ly = d * 0.35, d * 0.3
    dist = np.sqrt((xx - lx) ** 2 + (yy - ly) ** 2) / d
    if black:
        tone = 20 + 90 * np.clip(0.45 - dist, 0, 1) ** 1.5 * 3
        if style.stones == "glass":
            tone += 160 * np.exp(-(dist / 0.09) ** 2)
    else:
        tone = 255 - 95 * np.clip(dist - 0.25, 0, 1) ** 1.2
        if style.stones == "glass":
            tone = np.minimum(255, tone + 30 * np.exp(-(dist / 0.15) ** 2))
    tone = np.clip(tone, 0, 255).astype(np.uint8)
    tint = (1.0, 1.0, 1.0) if black else (1.0, 0.99, 0.96)
    rgb = np.stack([np.clip(tone * t, 0, 255).astype(np.uint8) for t in tint], axis=-1)
    mask = Image.new("L", (d, d), 0)
    ImageDraw.Draw(mask).ellipse([0, 0, d - 1, d - 1], fill=255)
    canvas.paste(Image.fromarray(rgb, "RGB"), (int(cx - r), int(cy - r)), mask)
    if not black:
        draw.ellipse(box, outline=(90, 90, 90), width=max(1, outline // 2))


def _label(canvas, text, cx, cy, r, black, style, s):
    colour = (255, 255, 255) if black else (0, 0, 0)
    digits = len(text)
    height = r * 2 * (0.44 if digits < 3 else 0.38) * style.number_scale
    max_w = r * 2 * (0.86 if digits == 3 else 0.8) * style.squeeze
    solid, mask = _number_image(text, style.typeface, height, max_w, colour,
                                style.three_digit == "condense")
    if style.bolder:
        mask = mask.filter(ImageFilter.MaxFilter(style.bolder))
    canvas.paste(solid, (int(cx - mask.width / 2), int(cy - mask.height / 2)), mask)


def render_board(diagram, style, seed=0, coord_labels=True):
    """The diagram alone: lines, star points, stones with their numbers, coordinates if asked."""
    rng = random.Random(seed)
    s = 3 if style.pitch < 70 else 2
    px, py = style.pitch * s, style.pitch_y * s
    margin_x = px * (1.6 if style.coords else 0.8)
    margin_y = py * (1.6 if style.coords else 0.8)
    w = int(2 * margin_x + 18 * px)
    h = int(2 * margin_y + 18 * py)
    base = BOARD_COLOURS[style.board]
    canvas = _wood(w, h, base, rng) if style.board.startswith("wood") else Image.new("RGB", (w, h), base)
    draw = ImageDraw.Draw(canvas)
    lw = max(1, int(round(style.line * s)))
    ink = (40, 30, 20) if style.board.startswith("wood") else (0, 0, 0)
    for i in range(19):
        x = margin_x + i * px
        y = margin_y + i * py
        edge = lw * 2 if i in (0, 18) else lw
        draw.line([(x, margin_y), (x, margin_y + 18 * py)], fill=ink, width=edge)
        draw.line([(margin_x, y), (margin_x + 18 * px, y)], fill=ink, width=edge)
    for sx in (4, 10, 16):
        for sy in (4, 10, 16):
            cx, cy = margin_x + (sx - 1) * px, margin_y + (sy - 1) * py
            rr = px * 0.09
            draw.ellipse([cx - rr, cy - rr, cx + rr, cy + rr], fill=ink)
    if style.coords and coord_labels:
        font = _font(style.typeface, px * 0.45)
        letters = "ABCDEFGHJKLMNOPQRST"
        for i in range(19):
            x = margin_x + i * px
            y = margin_y + i * py
            for (tx, ty, t) in ((x, margin_y - py * 1.05, letters[i]), (x, margin_y + 18 * py + py * 1.05, letters[i]),
                                (margin_x - px * 1.1, y, str(19 - i)), (margin_x + 18 * px + px * 1.1, y, str(19 - i))):
                l, tp, r, b = draw.textbbox((0, 0), t, font=font)
                draw.text((tx - (r + l) / 2, ty - (b + tp) / 2), t, font=font, fill=ink)
    r = style.diameter * s / 2 - lw * 0.5
    for (x, y), (black, number) in sorted(diagram.stones.items()):
        cx, cy = margin_x + (x - 1) * px, margin_y + (y - 1) * py
        _stone(draw, canvas, cx, cy, r, black, style, s, rng)
        if number:
            _label(canvas, str(number), cx, cy, r, black, style, s)
    return canvas.resize((int(w / s), int(h / s)), Image.LANCZOS)


def icon(number, black, style, size):
    """A small stone with its number, as the notes beside a diagram print it."""
    s = 3
    d = int(size * s)
    img = Image.new("RGB", (d + 4, d + 4), (255, 255, 255))
    draw = ImageDraw.Draw(img)
    flat = Style(style.typeface, size, "korean", "white", "flat", line=style.line)
    _stone(draw, img, d / 2 + 2, d / 2 + 2, d / 2, black, flat, s, random.Random(0))
    if number:
        _label(img, str(number), d / 2 + 2, d / 2 + 2, d / 2, black, flat, s)
    return img.resize(((d + 4) // s, (d + 4) // s), Image.LANCZOS)


WORDS = ("black white move stone group corner side centre ko fight threat territory moyo "
         "attack defence invasion reduction sente gote tesuji joseki shape eye life death "
         "capture connect cut extend hane block push crawl jump approach pincer enclosure "
         "this that the a of to in on was is and but after before here now so later").split()
WORDS_JA = ("黒 白 手 石 隅 辺 中央 劫 攻め 守り 打ち込み 先手 後手 手筋 定石 形 眼 生き 死に "
            "取る 継ぐ 切る 伸びる ハネ 押す 這う 跳ぶ 掛かり 挟み 締まり 本局 ここで 次に").split()


def _sentences(rng, n, japanese):
    out = []
    for _ in range(n):
        words = [rng.choice(WORDS_JA if japanese else WORDS) for _ in range(rng.randint(6, 14))]
        if japanese:
            out.append("".join(words) + "。")
        else:
            out.append(" ".join(words).capitalize() + ".")
    return out


def _wrap(draw, text_words, font, width, joiner):
    lines, line = [], ""
    for w in text_words:
        trial = line + (joiner if line else "") + w
        if draw.textlength(trial, font=font) > width and line:
            lines.append(line)
            line = w
        else:
            line = trial
    if line:
        lines.append(line)
    return lines


NOTE_FORMS_EN = ["{moves} at {at}", "{moves} at {at}", "{moves} = {at}"]
NOTE_FORMS_JA = ["{moves} に {at}", "{moves}（{at}）", "{moves}＝{at}"]


def render_page(diagram, style, game_title, seed=0, notes="icons", japanese=False, text_lines=6, caption=None):
    """A book's page: a caption, the diagram, the notes and some of the commentary.
    notes: icons (stone pictures, as sgf2dg prints them) or text ("152 at 67"). caption: the
    figure's own, in place of the first figure's."""
    rng = random.Random(seed)
    board = render_board(diagram, style, seed)
    # Books print their notes in several forms; one page keeps to one.
    # A generator of its own, so that the rest of the page is drawn as before for the same seed.
    note_form = random.Random(seed ^ 0x5EED).choice(NOTE_FORMS_JA if japanese else NOTE_FORMS_EN)
    margin = int(style.pitch * 1.5)
    width = board.width + 2 * margin
    text_font = _font(style.typeface if not japanese else "ipamincho", style.pitch * 0.42)
    line_h = int(style.pitch * 0.62)
    page = Image.new("RGB", (width, int(board.height + margin * 2 + line_h * (text_lines + 8)
                                        + style.pitch * 0.9 * (1 + len(diagram.notes) // 6))), (255, 255, 255))
    draw = ImageDraw.Draw(page)
    y = margin // 2
    if caption is not None:
        caption = "%s  %s" % (caption, game_title)
    elif japanese:
        caption = "第1譜 (1～%d)  %s" % (diagram.total, game_title)
    else:
        caption = "Figure 1 (1-%d)  %s" % (diagram.total, game_title)
    draw.text((margin, y), caption, font=text_font, fill=(0, 0, 0))
    y += line_h * 2
    page.paste(board, (margin, y))
    y += board.height + line_h // 2
    # The notes, several to a line.
    x = margin
    icon_size = max(12, int(style.pitch * 0.8))
    for moves, at in diagram.grouped_notes():
        if notes == "icons":
            pieces = []
            for i, m in enumerate(moves):
                pieces.append(("icon", m, (m + (1 if diagram.white_first else 0)) % 2 == 1))
                if i + 1 < len(moves):
                    pieces.append(("text", ", "))
            pieces.append(("text", " に " if japanese else " at "))
            at_black = True if at == 0 else diagram.stones_by_number_black(at)
            pieces.append(("icon", at, at_black))
            width_needed = sum(icon_size if p[0] == "icon" else draw.textlength(p[1], font=text_font) for p in pieces)
            if x + width_needed > width - margin:
                x = margin
                y += int(icon_size * 1.2)
            for p in pieces:
                if p[0] == "icon":
                    page.paste(icon(p[1], p[2], style, icon_size), (int(x), int(y)))
                    x += icon_size + 2
                else:
                    draw.text((x, y + icon_size * 0.15), p[1], font=text_font, fill=(0, 0, 0))
                    x += draw.textlength(p[1], font=text_font)
            x += icon_size
        else:
            t = note_form.format(moves=", ".join(map(str, moves)), at=str(at) if at else "B")
            if x + draw.textlength(t, font=text_font) > width - margin:
                x = margin
                y += line_h
            draw.text((x, y), t, font=text_font, fill=(0, 0, 0))
            x += draw.textlength(t + "   ", font=text_font)
    y += int(icon_size * 1.6)
    words = " ".join(_sentences(rng, text_lines, japanese))
    if japanese:
        lines = _wrap(draw, list(words), text_font, width - 2 * margin, "")
    else:
        lines = _wrap(draw, words.split(), text_font, width - 2 * margin, " ")
    for line in lines[:text_lines]:
        draw.text((margin, y), line, font=text_font, fill=(0, 0, 0))
        y += line_h
    return page.crop((0, 0, width, min(page.height, y + margin)))


def stone_crop(number, black, typeface, size, blur=0.0, noise=0.0, jpeg=None, seed=0,
               stones="flat", board="white", spacing="japanese", offset=(0.0, 0.0), number_scale=1.0,
               squeeze=1.0, bolder=0):
    """One stone with its number (0 for none), cut out with half a line's spacing around it,
    as a grey image of size x size pixels: training data for a digit recogniser.
    blur is a Gaussian radius in pixels, noise a standard deviation in grey levels, jpeg a
    quality; offset moves the stone off the crop's centre by shares of its size; number_scale
    draws the digits taller or shorter, squeezed across where they would not fit; squeeze narrows
    the room they fit into, and bolder thickens their strokes again as a condensed face has them."""
    rng = random.Random(seed)
    style = Style(typeface, size / 1.5, spacing, board, stones, number_scale=number_scale)
    style.squeeze, style.bolder = squeeze, bolder
    s = 4
    d = int(size * s)
    base = BOARD_COLOURS[board]
    canvas = _wood(d, d, base, rng) if board.startswith("wood") else Image.new("RGB", (d, d), base)
    draw = ImageDraw.Draw(canvas)
    cx, cy = d / 2 + offset[0] * d, d / 2 + offset[1] * d
    lw = max(1, s)
    draw.line([(cx, 0), (cx, d)], fill=(0, 0, 0), width=lw)
    draw.line([(0, cy), (d, cy)], fill=(0, 0, 0), width=lw)
    r = style.diameter * s / 2
    _stone(draw, canvas, cx, cy, r, black, style, s, rng)
    if number:
        _label(canvas, str(number), cx, cy, r, black, style, s)
    img = canvas.convert("L").resize((size, size), Image.LANCZOS)
    if blur:
        img = img.filter(ImageFilter.GaussianBlur(blur))
    if noise:
        a = np.asarray(img, dtype=np.float32)
        a += np.random.default_rng(seed).normal(0, noise, a.shape)
        img = Image.fromarray(np.clip(a, 0, 255).astype(np.uint8), "L")
    if jpeg:
        buf = io.BytesIO()
        img.save(buf, "JPEG", quality=int(jpeg))
        img = Image.open(io.BytesIO(buf.getvalue())).convert("L")
    return img


if __name__ == "__main__":
    # python3 draw.py crops OUT N: N random stone crops and a labels.tsv, for trying the crops out.
    import os
    import sys
    out, n = sys.argv[2], int(sys.argv[3])
    os.makedirs(out, exist_ok=True)
    rng = random.Random(1)
    with open(os.path.join(out, "labels.tsv"), "w") as f:
        f.write("file\tnumber\tblack\ttypeface\tsize\n")
        for i in range(n):
            number = rng.choice([rng.randint(1, 9), rng.randint(10, 99), rng.randint(100, 399)])
            black = rng.random() < 0.5
            tf = rng.choice(sorted(TYPEFACES))
            size = rng.randint(20, 64)
            img = stone_crop(number, black, tf, size, blur=rng.uniform(0, 1.2), noise=rng.uniform(0, 12),
                             jpeg=rng.choice([None, 50, 75]), seed=i)
            name = "%05d.png" % i
            img.save(os.path.join(out, name))
            f.write("%s\t%d\t%d\t%s\t%d\n" % (name, number, black, tf, size))
