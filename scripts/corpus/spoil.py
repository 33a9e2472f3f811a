"""What happens to a printed diagram on its way to the reader: a flat-bed scan, a phone photo of
the page on a table, a page turned, an orientation left to the EXIF tag, JPEG, and shrinking.
Every function takes a random.Random, so the same seed gives the same pixels."""

import io

import numpy as np
from PIL import Image, ImageFilter

EXIF_ORIENTATION = 0x0112


def _noise(img, rng, sigma):
    a = np.asarray(img, dtype=np.float32)
    a = a + np.random.default_rng(rng.randrange(1 << 30)).normal(0, sigma, a.shape)
    return Image.fromarray(np.clip(a, 0, 255).astype(np.uint8), img.mode)


def scan(img, rng, max_turn=10.0, grey=True):
    """Turned by up to max_turn degrees either way, tinted paper, soft focus, sensor noise."""
    turn = rng.uniform(-max_turn, max_turn)
    img = img.convert("RGB").rotate(turn, resample=Image.BICUBIC, expand=True, fillcolor=(255, 255, 255))
    paper = np.array([rng.uniform(232, 250), rng.uniform(225, 242), rng.uniform(200, 228)], dtype=np.float32)
    a = np.asarray(img, dtype=np.float32) / 255.0 * paper
    img = Image.fromarray(np.clip(a, 0, 255).astype(np.uint8), "RGB")
    if grey:
        img = img.convert("L")
    img = img.filter(ImageFilter.GaussianBlur(rng.uniform(0.5, 1.0)))
    return _noise(img, rng, rng.uniform(3, 9)), turn


def _perspective_coefficients(src, dst):
    """The eight coefficients PIL's PERSPECTIVE transform takes, mapping dst corners to src."""
    rows = []
    for (x, y), (u, v) in zip(dst, src):
        rows.append([x, y, 1, 0, 0, 0, -u * x, -u * y])
        rows.append([0, 0, 0, x, y, 1, -v * x, -v * y])
    a = np.array(rows, dtype=np.float64)
    b = np.array([c for p in src for c in p], dtype=np.float64)
    return np.linalg.solve(a, b).tolist()


def photo(img, rng, tilt=0.08):
    """The page lying on a dark table, seen from a little to one side: perspective, light falling
    off across the page, a soft lens, noise."""
    page = img.convert("RGB")
    w, h = page.size
    pad = int(max(w, h) * rng.uniform(0.08, 0.16))
    W, H = w + 2 * pad, h + 2 * pad
    table_tone = rng.uniform(35, 80)
    table = np.full((H, W, 3), table_tone, dtype=np.float32)
    table *= np.array([1.0, rng.uniform(0.85, 1.0), rng.uniform(0.7, 0.95)], dtype=np.float32)
    table += np.random.default_rng(rng.randrange(1 << 30)).normal(0, 6, (H, W, 1))
    canvas = Image.fromarray(np.clip(table, 0, 255).astype(np.uint8), "RGB")
    canvas.paste(page, (pad, pad))
    # Where the page's corners land in the photo.
    corners = [(pad, pad), (pad + w, pad), (pad + w, pad + h), (pad, pad + h)]
    moved = [(x + rng.uniform(-tilt, tilt) * w, y + rng.uniform(-tilt, tilt) * h) for x, y in corners]
    # PIL maps each pixel of the photo back to the page: from the moved corners to the first.
    coeffs = _perspective_coefficients(corners, moved)
    out = canvas.transform((W, H), Image.PERSPECTIVE, coeffs, resample=Image.BICUBIC,
                           fillcolor=(int(table_tone * 0.8),) * 3)
    # Light: brighter near one point, falling off by up to 40% across the picture.
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float32)
    lx, ly = rng.uniform(0, W), rng.uniform(0, H)
    fall = rng.uniform(0.2, 0.4)
    light = 1.0 - fall * np.sqrt(((xx - lx) / W) ** 2 + ((yy - ly) / H) ** 2)
    a = np.asarray(out, dtype=np.float32) * light[..., None] * np.array([1.0, 0.98, 0.93], dtype=np.float32)
    out = Image.fromarray(np.clip(a, 0, 255).astype(np.uint8), "RGB")
    out = out.filter(ImageFilter.GaussianBlur(rng.uniform(0.7, 1.3)))
    return _noise(out, rng, rng.uniform(3, 7))


def turn(img, quarters):
    """The page turned by quarters counter-clockwise, pixels and all."""
    return img.rotate(90 * quarters, expand=True)


# For each EXIF orientation, the counter-clockwise quarter turns the stored pixels carry: the
# viewer undoes them.
EXIF_TURNS = {3: 2, 6: 1, 8: 3}


def exif_turned(img, orientation):
    """The pixels stored turned, as a phone stores them, with the tag that sets them upright."""
    return turn(img, EXIF_TURNS[orientation]), orientation


def shrink(img, factor):
    w, h = img.size
    return img.resize((max(1, int(w * factor)), max(1, int(h * factor))), Image.LANCZOS)


def halftone(img, period=4.0, angle=45.0):
    """Printed as a newspaper prints: every grey as black dots on a screen of the given period,
    in pixels, turned by the given angle."""
    g = np.asarray(img.convert("L"), dtype=np.float32) / 255.0
    yy, xx = np.mgrid[0:g.shape[0], 0:g.shape[1]].astype(np.float32)
    a = np.deg2rad(angle)
    u, v = xx * np.cos(a) + yy * np.sin(a), yy * np.cos(a) - xx * np.sin(a)
    screen = 0.5 + 0.25 * (np.cos(2 * np.pi * u / period) + np.cos(2 * np.pi * v / period))
    return Image.fromarray(np.where(1.0 - g > screen, 0, 255).astype(np.uint8), "L")


def chat(img, pitch, stone_px):
    """A screenshot as a chat passes it on: shrunk until a stone is about stone_px pixels; the
    caller saves it as a JPEG of middling quality, colours at half resolution."""
    return shrink(img.convert("RGB"), stone_px / pitch)


def encode(img, path, quality=None, orientation=None):
    """PNG unless a JPEG quality is given; an EXIF orientation tag only on JPEG."""
    if quality is None:
        img.save(path, "PNG", optimize=True)
        return
    exif = None
    if orientation:
        exif = Image.Exif()
        exif[EXIF_ORIENTATION] = orientation
    kw = {"quality": int(quality)}
    if exif is not None:
        kw["exif"] = exif.tobytes()
    img.convert("RGB" if img.mode not in ("L", "RGB") else img.mode).save(path, "JPEG", **kw)


def jpeg_roundtrip(img, quality):
    buf = io.BytesIO()
    img.save(buf, "JPEG", quality=quality)
    return Image.open(io.BytesIO(buf.getvalue())).copy()
