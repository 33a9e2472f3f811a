"""Diagrams drawn by other hands than ours: sgf2dg, LaTeX (psgo, and the go package's
Metafont Go fonts), and the WGo.js and Shudan boards in headless Chromium. Each returns a PIL image and
the stone size in pixels (the distance from one line to the next across)."""

import base64
import io
import json
import os
import shutil
import subprocess
import tarfile
import tempfile
import urllib.request

from PIL import Image, ImageOps

import draw

HERE = os.path.dirname(os.path.abspath(__file__))
PSGO_COLUMNS = "abcdefghjklmnopqrst"
GO_ROWS = "abcdefghiklmnopqrst"  # the go package's rows from the top: no j


def _run(cmd, cwd):
    r = subprocess.run(cmd, cwd=cwd, capture_output=True, text=True)
    if r.returncode != 0:
        raise RuntimeError("%s failed:\n%s\n%s" % (cmd[0], r.stdout[-3000:], r.stderr[-3000:]))


def _ps_to_image(ps, dpi, work, eps=True):
    out = os.path.join(work, "page.png")
    _run(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m", "-r%d" % dpi,
          "-dTextAlphaBits=4", "-dGraphicsAlphaBits=4"] + (["-dEPSCrop"] if eps else [])
         + ["-sOutputFile=" + out, ps], work)
    img = Image.open(out).convert("RGB")
    # The page cut to what is printed on it, with a margin of a fifth of an inch.
    box = ImageOps.invert(img.convert("L")).point(lambda v: 255 if v > 8 else 0).getbbox()
    m = dpi // 5
    return img.crop((max(0, box[0] - m), max(0, box[1] - m), min(img.width, box[2] + m), min(img.height, box[3] + m)))


def sgf2dg(sgf_path, dpi, coords=False):
    """sgf2dg's own PDF page: one diagram for the whole game, notes under it. 22 px stones at
    150 dpi."""
    with tempfile.TemporaryDirectory() as work:
        shutil.copy(sgf_path, os.path.join(work, "game.sgf"))
        # sgf2dg ends a diagram at a commented or marked move and draws each variation apart:
        # without them the page holds the whole game in one diagram.
        _run(["sgf2dg", "-converter", "PDF", "-movesPerDiagram", "1000", "-ignoreComments", "-ignoreLetters",
              "-ignoreMarks", "-ignoreVariations"] + (["-coords"] if coords else []) + ["game.sgf"], work)
        _run(["pdftoppm", "-r", str(dpi), "-png", "-singlefile", "game.pdf", "page"], work)
        img = Image.open(os.path.join(work, "page.png")).convert("RGB")
    return img, dpi * 22.0 / 150


def _notes_text(diagram, sep=" at "):
    return ["%s%s%s" % (", ".join(map(str, moves)), sep, str(at) if at else "B")
            for moves, at in diagram.grouped_notes()]


def psgo(diagram, dpi, unit_cm=0.6, family="sf", coords=False, title=""):
    """psgo's PSTricks board: Japanese spacing (rows 1.115 times further apart than columns),
    the numbers in Computer Modern; the notes as text under it."""
    size = {True: r"\scriptsize", False: r"\footnotesize"}
    fam = {"sf": r"\sffamily", "rm": r"\rmfamily", "bf": r"\sffamily\bfseries", "tt": r"\ttfamily"}[family]
    lines = [r"\documentclass{article}", r"\usepackage{psgo}", r"\pagestyle{empty}",
             r"\begin{document}", r"\setgounit{%.3fcm}" % unit_cm,
             r"\renewcommand{\golabelformat}[1]{{%s #1}}" % fam,
             r"\noindent\textbf{%s}\par\medskip" % title if title else "",
             r"\begin{psgoboard%s}" % ("" if coords else "*")]
    for (x, y), (black, number) in sorted(diagram.stones.items()):
        label = r"\marklb{%s %d}" % (size[number >= 100], number) if number else ""
        lines.append(r"\stone[%s]{%s}{%s}{%d}" % (label, "black" if black else "white",
                                                 PSGO_COLUMNS[x - 1], 20 - y))
    lines.append(r"\end{psgoboard%s}" % ("" if coords else "*"))
    notes = _notes_text(diagram)
    if notes:
        lines.append(r"\par\medskip\noindent " + r"\quad ".join(notes))
    lines.append(r"\end{document}")
    with tempfile.TemporaryDirectory() as work:
        open(os.path.join(work, "d.tex"), "w").write("\n".join(lines))
        _run(["latex", "-interaction=nonstopmode", "d.tex"], work)
        _run(["dvips", "-q", "-o", "d.ps", "d.dvi"], work)
        img = _ps_to_image(os.path.join(work, "d.ps"), dpi, work, eps=False)
    return img, unit_cm / 2.54 * dpi


def gofonts(diagram, dpi, points=15, title=""):
    """The go package's Metafont Go fonts, where each numbered stone is a glyph of the font (up
    to 253). Stone size 10, 15 or 20 pt."""
    lines = [r"\documentclass{article}", r"\usepackage{go}", r"\pagestyle{empty}",
             r"\begin{document}", r"\gofontsize{%d}" % points, r"\inifulldiagram"]
    for (x, y), (black, number) in sorted(diagram.stones.items()):
        if number > 253:
            raise ValueError("the go fonts number stones up to 253")
        lines.append(r"\pos %s%d=%s{%d}" % (GO_ROWS[y - 1], x, r"\black" if black else r"\white", number))
    lines.append(r"\noindent\textbf{%s}\par\medskip" % title if title else "")
    lines.append(r"\noindent\showfulldiagram")
    notes = _notes_text(diagram)
    if notes:
        lines.append(r"\par\medskip\noindent " + r"\quad ".join(notes))
    lines.append(r"\end{document}")
    with tempfile.TemporaryDirectory() as work:
        open(os.path.join(work, "d.tex"), "w").write("\n".join(lines))
        _run(["latex", "-interaction=nonstopmode", "d.tex"], work)
        _run(["dvips", "-q", "-o", "d.ps", "d.dvi"], work)  # fonts made at 600 dpi: Metafont modes for less are broken
        img = _ps_to_image(os.path.join(work, "d.ps"), dpi, work, eps=False)
    return img, points / 72.27 * dpi


# The web boards come from the npm registry into this folder, on first use.
NPM_DIR = os.environ.get("RANVEL_CORPUS_NPM", os.path.join(HERE, "node_modules_cache"))
WGO_VERSION = "3.0.0-alpha.10"


def _wgo_script():
    return os.path.join(_npm_package("wgo", WGO_VERSION), "dist", "index.js")


CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--hide-scrollbars", "--force-device-scale-factor=1"]


# A game viewer's page around the board: a bar along the top, the board on a card with a shadow,
# the players, buttons and a chat beside it. A screenshot of the whole window holds all of it.
WGO_PAGE = """<style>
body{margin:0;background:#eef0f3;font:15px 'DejaVu Sans',sans-serif;color:#1f2933}
.bar{height:52px;background:#1e2a38;color:#fff;display:flex;align-items:center;padding:0 24px;gap:28px}
.bar b{font-size:20px}.main{display:flex;gap:24px;padding:24px}
.card{background:#fff;border-radius:10px;box-shadow:0 2px 10px rgba(0,0,0,.18);padding:22px}
.side{width:300px;display:flex;flex-direction:column;gap:14px}
.side .card{padding:14px 18px}.btn{display:inline-block;background:#2f6fd6;color:#fff;border-radius:6px;
padding:8px 16px;margin-right:8px}.stone{display:inline-block;width:14px;height:14px;border-radius:7px;
border:1px solid #333;vertical-align:middle;margin-right:6px}
</style>"""
WGO_PAGE_BODY = """<div class="bar"><b>Go Review</b><span>Games</span><span>Players</span><span>Library</span>
<span style="margin-left:auto">Sign in</span></div><div class="main"><div class="card"><div id="b"></div></div>
<div class="side"><div class="card"><span class="stone" style="background:#111"></span>Black: Kuro (5d)<br><br>
<span class="stone" style="background:#fff"></span>White: Shiro (6d)</div>
<div class="card">Move %d &nbsp; Captures 4 / 6<br><br><span class="btn">&#9664;</span><span class="btn">&#9654;</span>
<span class="btn">Score</span></div><div class="card">Chat<br><br>Kuro: thanks for the game<br>Shiro: the
ko at the top was close<br>Guest: what about move 120?</div></div></div>"""


def wgo(diagram, width, font="Liberation Sans", stones="glass", board="wood", coords=False, seed=0, page=False):
    """WGo.js's SVG board as a browser shows it: glass, modern or plain stones, the numbers as
    labels in the page's font; the board wooden (a texture of ours behind it) or plain. With
    `page`, the whole window of a viewer's page with the board on a card in it."""
    handlers = {"glass": ("GlassStoneBlack", "GlassStoneWhite"), "modern": ("ModernStoneBlack", "ModernStoneWhite"),
                "simple": ("SimpleStone", "SimpleStone")}[stones]
    background = ""
    colour = "#CEB053"
    if board == "wood":
        tex = draw._wood(512, 512, draw.BOARD_COLOURS["wood"], __import__("random").Random(seed))
        buf = io.BytesIO()
        tex.save(buf, "JPEG", quality=90)
        background = "data:image/jpeg;base64," + base64.b64encode(buf.getvalue()).decode()
    elif board == "white":
        colour = "#FFFFFF"
    objects = []
    for (x, y), (black, number) in sorted(diagram.stones.items()):
        objects.append("new WGo.FieldBoardObject(%s, %d, %d)" % ("'B'" if black else "'W'", x - 1, y - 1))
        if number:
            objects.append("new WGo.LabelBoardObject('%d', %d, %d, %s)" % (number, x - 1, y - 1,
                                                                          "WGo.Color.B" if black else "WGo.Color.W"))
    simple = stones == "simple"
    html = """<!doctype html><html><head><meta charset="utf-8"><style>body{margin:0;background:#fff}</style>
<style>circle[fill="#fff"]{stroke:#000;stroke-width:0.05}</style>
<script>%s</script>PAGE_STYLE</head><body>PAGE_BODY<script>
var H = WGo.svgDrawHandlers;
var b = new WGo.H_B(document.getElementById('b'), {size: 19, width: %d, coordinates: %s,
  theme: {font: '%s', backgroundColor: '%s', backgroundImage: '%s',
          drawHandlers: Object.assign({}, WGo.defaultSVGTheme ? WGo.defaultSVGTheme.drawHandlers : {},
            {B: %s, W: %s})}});
b.addObject([%s]);
</script></body></html>""" % (open(_wgo_script()).read(), width, "true" if coords else "false", font, colour,
                              background,
                              "new H.%s(%s)" % (handlers[0], "'#000'" if simple else ""),
                              "new H.%s(%s)" % (handlers[1], "'#fff'" if simple else ""),
                              ",\n".join(objects))
    html = html.replace("WGo.H_B", "WGo.SVGBoard")
    html = html.replace("PAGE_STYLE", WGO_PAGE if page else "")
    html = html.replace("PAGE_BODY", WGO_PAGE_BODY % diagram.total if page else '<div id="b"></div>')
    window = (width + 420, width + 150) if page else (width, width)
    with tempfile.TemporaryDirectory() as work:
        page = os.path.join(work, "board.html")
        open(page, "w").write(html)
        shot = os.path.join(work, "shot.png")
        _run(["chromium"] + CHROMIUM_FLAGS + ["--user-data-dir=" + os.path.join(work, "profile"),
                                              "--window-size=%d,%d" % window, "--screenshot=" + shot,
                                              "file://" + page], work)
        img = Image.open(shot).convert("RGB")
    # The board's field is its width over 19 lines and the margins around them.
    margin = 0.25 + (0.5 if coords else 0) + 0.5
    return img, width / (18 + 2 * margin)


SHUDAN_VERSION = "1.7.1"
PREACT_VERSION = "10.19.3"


def _npm_package(name, version):
    """A package's files straight from the npm registry, kept in NPM_DIR/node_modules/NAME."""
    where = os.path.join(NPM_DIR, "node_modules", name)
    marker = os.path.join(where, ".version")
    if not os.path.exists(marker) or open(marker).read() != version:
        base = name.split("/")[-1]
        url = "https://registry.npmjs.org/%s/-/%s-%s.tgz" % (name, base, version)
        data = urllib.request.urlopen(url, timeout=60).read()
        shutil.rmtree(where, ignore_errors=True)
        os.makedirs(where)
        with tarfile.open(fileobj=io.BytesIO(data)) as tar:
            for member in tar.getmembers():
                # Every file of an npm tarball sits under "package/".
                if member.isfile() and member.name.startswith("package/") and ".." not in member.name:
                    member.name = member.name[len("package/"):]
                    tar.extract(member, where)
        open(marker, "w").write(version)
    return where


# Shudan asks for the classnames package; this is all of it that it uses.
CLASSNAMES = ("export default function c(...a){return a.flatMap(x=>typeof x==='string'?[x]:"
              "Array.isArray(x)?[c(...x)]:x&&typeof x==='object'?Object.keys(x).filter(k=>x[k]):[])"
              ".filter(Boolean).join(' ')}")


def shudan(diagram, vertex, font="DejaVu Sans", coords=False, fuzzy=False, seed=0):
    """Sabaki's Shudan board (Preact) as a browser shows it: its own wooden board picture and
    stones, the numbers as labels in the page's font, three-digit ones smaller; with `fuzzy`,
    stones set a little off their points, as Sabaki shows them."""
    shudan_dir = _npm_package("@sabaki/shudan", SHUDAN_VERSION)
    preact_dir = _npm_package("preact", PREACT_VERSION)
    signs = [[0] * 19 for _ in range(19)]
    markers = [[None] * 19 for _ in range(19)]
    for (x, y), (black, number) in diagram.stones.items():
        signs[y - 1][x - 1] = 1 if black else -1
        if number:
            markers[y - 1][x - 1] = {"type": "label", "label": str(number)}
    imports = {"preact": "file://%s/dist/preact.module.js" % preact_dir,
               "preact/hooks": "file://%s/hooks/dist/hooks.module.js" % preact_dir,
               "classnames": "data:text/javascript," + CLASSNAMES}
    html = """<!doctype html><html><head><meta charset="utf-8">
<link rel="stylesheet" href="file://%s/css/goban.css">
<style>body{margin:0;background:#fff}.shudan-goban{font-family:'%s'}#b{display:inline-block;margin:16px}</style>
<script type="importmap">%s</script></head><body><div id="b"></div>
<script type="module">
import {createElement as h, render} from 'preact';
import {Goban} from 'file://%s/src/main.js';
// Shudan's fuzzy placement draws from Math.random: a seeded one makes the same picture again.
let s = %d;
Math.random = () => ((s = (s * 1103515245 + 12345) %% 2147483648) / 2147483648);
render(h(Goban, {vertexSize: %d, signMap: %s, markerMap: %s, showCoordinates: %s,
                 fuzzyStonePlacement: %s, animateStonePlacement: false}), document.getElementById('b'));
</script></body></html>""" % (shudan_dir, font, json.dumps({"imports": imports}), shudan_dir, seed % 2147483648,
                              vertex, json.dumps(signs), json.dumps(markers), "true" if coords else "false",
                              "true" if fuzzy else "false")
    side = vertex * 21 + 40
    with tempfile.TemporaryDirectory() as work:
        page = os.path.join(work, "board.html")
        open(page, "w").write(html)
        shot = os.path.join(work, "shot.png")
        _run(["chromium"] + CHROMIUM_FLAGS + ["--allow-file-access-from-files", "--virtual-time-budget=3000",
                                              "--user-data-dir=" + os.path.join(work, "profile"),
                                              "--window-size=%d,%d" % (side, side), "--screenshot=" + shot,
                                              "file://" + page], work)
        img = Image.open(shot).convert("RGB")
    return img, float(vertex)
