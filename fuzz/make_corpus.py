#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into fuzz/corpus/<target>/.

The records look like what the program meets: files in the dialect it writes (fresh, rebuilt,
spliced), MultiGo headers with Shift-JIS game information and comments, variations and
reference diagrams, header-only files, files from other programs, and the line ends, NUL bytes
and missing last line ends of files that went through other hands. Run it again after changing
it; it only adds and replaces its own seed files."""

import os
import random
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
LETTERS = "abcdefghijklmnopqrs"
FRESH = b"(;CA[shift_jis]SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1]"


def sjis(text):
    return text.encode("shift_jis")


def point(x, y):
    return LETTERS[x - 1] + LETTERS[y - 1]


def game(count, seed, captures=0):
    """A plausible move order: a fuseki, then moves near earlier ones; `captures` moves are
    played again on points already used, as after a capture or in a ko."""
    rng = random.Random(seed)
    opening = ["pd", "dp", "pq", "dd", "qf", "nc", "fq", "cf", "jp", "qn", "nq", "pj", "cn", "fc"]
    moves, used = [], set()
    for p in opening[:count]:
        moves.append(p)
        used.add(p)
    while len(moves) < count:
        if captures and len(moves) > 40 and rng.random() < captures / count:
            moves.append(rng.choice(sorted(used)))
            continue
        base = moves[rng.randrange(max(1, len(moves) - 8), len(moves))]
        x = min(19, max(1, LETTERS.index(base[0]) + 1 + rng.randint(-3, 3)))
        y = min(19, max(1, LETTERS.index(base[1]) + 1 + rng.randint(-3, 3)))
        p = point(x, y)
        if p in used:
            free = [point(i, j) for i in range(1, 20) for j in range(1, 20) if point(i, j) not in used]
            if not free:
                moves.append(p)
                continue
            p = rng.choice(free)
        moves.append(p)
        used.add(p)
    return moves


def nodes(moves, first_player=0, start=1):
    out = []
    for k, p in enumerate(moves, start):
        colour = "B" if (k + first_player) % 2 == 1 else "W"
        out.append(";%s[%s]" % (colour, p))
    return out


def move_lines(moves, first_player=0, start=1):
    ns = nodes(moves, first_player, start)
    return ["".join(ns[i:i + 14]).encode() for i in range(0, len(ns), 14)]


def crlf(lines):
    return b"".join(line + b"\r\n" for line in lines)


def multigo_header(handicap=b""):
    info = sjis("PB[山田　太郎]BR[九段]PW[鈴木一郎]WR[本因坊]KM[6.5]RE[黒中押し勝ち]"
                "DT[2008-05-12]EV[第３３期名人戦挑戦手合七番勝負第４局]GN[ゲーム情報]")
    head = b"(;CA[shift_jis]" + (b"AB" + handicap if handicap else b"") + b"SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1]"
    return [head, info, sjis("US[入力者]SO[週刊碁]")]


def open_seeds():
    g60 = game(60, 1)
    g300 = game(300, 2, captures=25)
    seeds = {}
    seeds["fresh_plain.sgf"] = crlf([FRESH] + move_lines(game(29, 3)) + [b")"])
    seeds["fresh_empty_board.sgf"] = crlf([FRESH, b")"])
    seeds["fresh_handicap.sgf"] = crlf(
        [b"(;CA[shift_jis]AB[dd][pp][dp][pd]SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1]"]
        + move_lines(game(70, 4)[4:], first_player=1) + [b")"])
    seeds["rebuilt_multigo_header.sgf"] = crlf(multigo_header() + move_lines(g60) + [b")"])
    seeds["long_game_with_captures.sgf"] = crlf(multigo_header() + move_lines(g300) + [b")"])
    # Keep mode: the main line closes, then variations and reference diagrams with comments.
    main = move_lines(g60)
    main[-1] += (b"C[" + sjis("ここで黒のツケが好手。ゲームの分かれ目ゾ") + b"]"
                 + b"(;W[qq];B[rq]C[" + sjis("変化図：白ハネなら黒ノビて十分") + b"])")
    tail = [b"(;W[rp]C[" + sjis("参考図１") + b"];B[ro];W[qo]LB[qo:A][ro:B])",
            b"(;W[cc]C[" + sjis("参考図２　ソ能表") + b"]TR[dd][cc])", b")"]
    seeds["spliced_variations_comments.sgf"] = crlf(multigo_header() + main + tail)
    # As a splice save leaves it: the new moves after the loaded ones, the main line closed
    # again, the reference diagram kept.
    spliced = move_lines(g60[:28]) + move_lines(g60[28:31], start=29)
    spliced[-1] += b")"
    seeds["spliced_after_save.sgf"] = crlf([FRESH] + spliced + [b"(;W[aa]C[" + sjis("参考図") + b"])", b")"])
    seeds["header_only_one_line.sgf"] = crlf([b"(;CA[shift_jis]AB[dd][pp]SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1])"])
    seeds["header_only_lines.sgf"] = crlf(multigo_header(b"[dp][pd]") + [b")"])
    seeds["handicap_split_over_lines.sgf"] = crlf(
        [b"(;CA[shift_jis]AB[dd][pd]", b"[dp][pp]SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1]"]
        + move_lines(game(20, 5)[4:], first_player=1) + [b")"])
    seeds["two_ab_and_aw.sgf"] = crlf(
        [b"(;CA[shift_jis]AB[dd]SZ[19]AW[jj]AP[MultiGo:4.3.0]MULTIGOGM[1]AB[pp] [dp]"]
        + move_lines(game(12, 6)[2:], first_player=1) + [b")"])
    seeds["other_program_utf8.sgf"] = (
        "(;FF[4]GM[1]SZ[19]CA[UTF-8]PB[黒]PW[白]KM[6.5]\n;B[pd]C[序盤];W[dp]\n;B[pq];W[dd]\n(;B[qf])(;B[fc]))\n"
    ).encode("utf-8")
    seeds["lower_case_marker.sgf"] = crlf([b"(;CA[shift_jis]SZ[19]AP[multigo:4.3.0]multigogm[1]"]
                                          + move_lines(game(10, 7)) + [b")"])
    body = [FRESH] + move_lines(game(40, 8)) + [b")"]
    seeds["cr_only.sgf"] = b"".join(line + b"\r" for line in body)
    seeds["lf_only.sgf"] = b"".join(line + b"\n" for line in body)
    seeds["mixed_line_ends.sgf"] = body[0] + b"\r\n" + body[1] + b"\n" + body[2] + b"\r" + body[3] + b"\n\r" + body[4]
    seeds["no_last_line_end.sgf"] = crlf(body)[:-2]
    seeds["nul_after_moves.sgf"] = crlf(body[:2]) + b"\0" + crlf(body[2:])
    seeds["nul_in_header.sgf"] = b"(;CA[shift_jis]\0SZ[19]\r\n;B[aa])\r\n"
    seeds["empty.sgf"] = b""
    seeds["blank_lines.sgf"] = b"\r\n\r\n" + crlf(body) + b"\r\n\r\n"
    seeds["passes_and_tt.sgf"] = crlf([FRESH, b";B[pd];W[];B[dp];W[tt];B[pp]", b")"])
    seeds["comment_with_brackets.sgf"] = crlf(
        [FRESH, b";B[pd]C[see (a\\]) here];W[dd]", b";B[pp]C[" + sjis("コメント；ゲーム") + b"];W[dp])"])
    seeds["one_line_with_moves.sgf"] = FRESH + b";B[pd];W[dd])"
    seeds["bad_values.sgf"] = crlf([FRESH, b";B[abc];W[d];B[BW];W[zz];B[Ad];W[pd]", b")"])
    seeds["many_occupied.sgf"] = crlf([FRESH] + move_lines(["aa", "bb"] * 60) + [b")"])
    seeds["no_close.sgf"] = crlf([FRESH] + move_lines(game(20, 9)))
    seeds["move_numbers_beyond_table.sgf"] = crlf([FRESH] + [b";" * 990] + move_lines(game(20, 10), start=991) + [b")"])
    return seeds


def writer_seeds():
    s = {}
    typed = ["t\t30"]
    for k, p in enumerate(game(30, 11), 1):
        typed.append("c\t%d\t%d\t%d" % (LETTERS.index(p[0]) + 1, LETTERS.index(p[1]) + 1, k))
    s["typed_board.txt"] = "\n".join(typed) + "\n"
    s["typed_through_cells.txt"] = ("p\t100\nT\t16\t4\t1\nT\t4\t16\t2\nT\t17\t16\t3\nT\t3\t4\t4\n"
                                    "T\t10\t10\tｂ\nT\t5\t5\t１２\nT\t4\t4\t-3\n")
    s["handicap_white_first.txt"] = "c\t4\t4\tB\nc\t16\t16\tB2\nw\nc\t16\t4\t1\nc\t4\t16\t2\nc\t3\t3\t3\n"
    s["missing_moves_in_list.txt"] = ("t\t6\nc\t1\t1\t1\nc\t2\t2\t2\nc\t3\t3\t3\nc\t4\t5\t5\n"
                                      "2\t1\t4\t2\n2\t2\t6\t4\n2\t3\t7\t  \n")
    s["full_width_places.txt"] = "c\t1\t1\t1\nc\t2\t1\t3\n2\t1\t2\t１\n2\t2\t4\tｂ１\nc\t5\t5\tB1\n"
    s["bad_board.txt"] = "c\t1\t1\tabc\nc\t2\t2\t0\nc\t3\t3\t7\nc\t4\t4\t7\nc\t5\t5\t1001\nt\t2000\n"
    s["opened_keep_new_moves.txt"] = ("c\t2\t2\t4\nc\t3\t2\t5\nf\n" + crlf(
        multigo_header() + [b";B[pd];W[dd]", b";B[pp])(;W[dp]C[" + sjis("参考図") + b"])", b")"]).decode("latin-1"))
    s["opened_edit_mode.txt"] = ("e\nc\t18\t18\t61\nf\n" + crlf(multigo_header() + move_lines(game(60, 12)) + [b")"]).decode("latin-1"))
    s["opened_header_only.txt"] = "c\t4\t4\t1\nf\n" + crlf(multigo_header(b"[aa]") + [b")"]).decode("latin-1")
    s["opened_list_rows.txt"] = ("1\t1\t3\t1\nf\n" + crlf([FRESH, b";B[aa];W[bb];B[aa];W[cc]", b")"]).decode("latin-1"))
    return {name: text.encode("latin-1") if name.startswith("opened") else text.encode("utf-8")
            for name, text in s.items()}


def integer_seeds():
    texts = ["12", " 12", "+12", "-3", "$1F", "0x1f", "0X1F", "x7", "X7", "007", "2147483647", "2147483648",
             "-2147483648", "-2147483649", "99999999999999999999", "", " ", "12 ", "1.5", "B1", "-", "+", "$",
             "0x", "１２", "－５", "1e3", "\t12", "12\r", "\u00a012", "٣", "12\n100", "5\n-5", "1000\n1",
             "2147483647\n1", "-2147483648\n-1", "Edit4_4", "Edit19_19\n3", "Edit04_4", "Edit1_1_", "😀\n😀"]
    return {"seed_%02d.txt" % i: t.encode("utf-8") for i, t in enumerate(texts)}


def widthcase_seeds():
    texts = ["ｂ１", "１２", "Ｂ３", "－５", "abc", "　12　", "ガギグゲゴ", "パピプペポ", "ヴ", "ｶﾞ", "ゝゞ゛゜",
             "アイウエオカキクケコサシスセソ", "ァィゥェォッャュョヮヰヱヲンー", "ぁあ", "ＡＢＣａｂｃ０１２",
             "！＂＃＄％＆＇（）＊＋，－．／：；＜＝＞？＠［＼］＾＿｀｛｜｝～", "￠￡￢￣￤￥￦",
             "ß", "ǆ", "ﬀ", "ŉ", "İı", "😀", "𠮷", "\u0000\u001f", "Ω", "ｶﾟ"]
    return {"seed_%02d.txt" % i: t.encode("utf-8") for i, t in enumerate(texts)}


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png(width, height, rows, depth=8, colour=0, extra=b""):
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0))
            + extra + png_chunk(b"IDAT", zlib.compress(rows)) + png_chunk(b"IEND", b""))


def exif(orientation):
    """A TIFF block holding one EXIF orientation tag."""
    return b"II*\x00\x08\x00\x00\x00\x01\x00" + struct.pack("<HHII", 0x0112, 3, 1, orientation) + b"\x00" * 4


def tiff_pages(pages):
    """An uncompressed grey TIFF with one directory per (width, height, pixels) page."""
    out = bytearray(b"II*\x00" + struct.pack("<I", 8))
    for i, (w, h, pixels) in enumerate(pages):
        start = len(out) + 2 + 9 * 12 + 4
        last = i + 1 == len(pages)
        out += struct.pack("<H", 9)
        for tag, kind, value in ((256, 4, w), (257, 4, h), (258, 3, 8), (259, 3, 1), (262, 3, 1),
                                 (273, 4, start), (277, 3, 1), (278, 4, h), (279, 4, w * h)):
            out += struct.pack("<HHII", tag, kind, 1, value)
        out += struct.pack("<I", 0 if last else start + w * h) + pixels
    return bytes(out)


def grid_rows(width, height, pitch, channels=1, depth=8):
    """A plain lattice of lines, black on white, as PNG rows."""
    full = 255 if depth == 8 else 65535
    rows = b""
    for y in range(height):
        line = b"\x00"
        for x in range(width):
            v = 0 if (x % pitch == pitch // 2 or y % pitch == pitch // 2) else full
            sample = bytes([v]) if depth == 8 else struct.pack(">H", v)
            line += sample * channels if channels < 2 else sample * (channels - 1) + (b"\xff" if depth == 8 else b"\xff\xff")
        rows += line
    return rows


def diagram_seeds():
    """A small screenshot of a diagram and its damaged copies, tiny and blank pictures, and
    headers of PNG, BMP, JPEG and TIFF files that claim enormous dimensions."""
    shot = open(os.path.join(HERE, "..", "tests", "data", "diagrams", "game20_s20_l3_h3__screen170.png"), "rb").read()
    blank = png(40, 30, b"".join(b"\x00" + bytes([255] * 40) for _ in range(30)))
    bmp_huge = (b"BM" + struct.pack("<IHHI", 54, 0, 0, 54) + struct.pack("<IiiHHIIiiII", 40, 100000, 100000, 1, 24, 0, 0, 0, 0, 0, 0))
    jpeg_huge = (b"\xff\xd8\xff\xc0\x00\x11\x08\xff\xff\xff\xff\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01\xff\xd9")
    tiff_huge = (b"II*\x00\x08\x00\x00\x00\x03\x00" + struct.pack("<HHII", 256, 4, 1, 200000)
                 + struct.pack("<HHII", 257, 4, 1, 200000) + struct.pack("<HHII", 258, 3, 1, 8) + b"\x00\x00\x00\x00")
    return {
        "screenshot.png": shot,
        "screenshot_cut.png": shot[:len(shot) // 3],
        "screenshot_flipped_byte.png": shot[:5000] + bytes([shot[5000] ^ 0x55]) + shot[5001:],
        "blank.png": blank,
        "png_huge.png": png(200000, 200000, b"\x00\xff"),
        "bmp_huge.bmp": bmp_huge,
        "jpeg_huge.jpg": jpeg_huge,
        "tiff_huge.tif": tiff_huge,
        "text.txt": b"158 at 76\n" * 20,
        # Shapes that once ended the program: too thin for the shrinking of the light, decoded
        # as floats or many channels, or handed to decoders that assert.
        "thin_1x801.png": png(1, 801, b"\x00\xff" * 801),
        "hdr_named_png.png": b"#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 130 +X 130\n" + b"\x80" * 2000,
        "pfm_named_png.png": b"PF\n130 130\n-1.0\n" + b"\x00\x00\x80\x3f" * 600,
        "dicom_preamble.dcm": b"\x00" * 128 + b"DICM" + b"\x02\x00\x00\x00UL\x04\x00" + b"\x01" * 200,
        "bmp_rle_30000.bmp": (b"BM" + struct.pack("<IHHI", 7000, 0, 0, 54)
                              + struct.pack("<IiiHHIIiiII", 40, 30000, 30000, 1, 8, 1, 0, 0, 0, 0, 0) + b"\x00\x01" * 300),
        "gif_65535.gif": b"GIF89a\xff\xff\xff\xff\xf7\x00\x00" + b"\x00" * 100,
        "heic.heic": b"\x00\x00\x00\x18ftypheic\x00\x00\x00\x00mif1heic" + b"h" * 64,
        "exr.exr": b"\x76\x2f\x31\x01\x02\x00\x00\x00" + b"x" * 64,
        # Readable shapes: deep, with alpha, turned by EXIF, several pages.
        "grid_16bit.png": png(133, 133, grid_rows(133, 133, 7, depth=16), depth=16),
        "grid_grey_alpha.png": png(133, 133, grid_rows(133, 133, 7, channels=2), colour=4),
        "grid_exif_turned.png": png(133, 140, grid_rows(133, 140, 7), extra=png_chunk(b"eXIf", exif(6))),
        "tiff_two_pages.tif": tiff_pages([(130, 130, b"\xff" * 130 * 130),
                                          (133, 133, bytes(b for r in range(133) for b in grid_rows(133, 1, 7)[1:]))]),
    }


def main():
    for target, seeds in (("open", open_seeds()), ("writers", writer_seeds()),
                          ("integer", integer_seeds()), ("widthcase", widthcase_seeds()),
                          ("diagram", diagram_seeds())):
        folder = os.path.join(HERE, "corpus", target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
