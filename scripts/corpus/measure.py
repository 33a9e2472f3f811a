#!/usr/bin/python3
"""Reads every picture of a corpus with ranvel_read and prints how the reading did, held-out and
tuned styles apart, by kind of picture (and, with --by, by renderer or typeface as well).

    /usr/bin/python3 scripts/corpus/measure.py CORPUS [--reader build/tools/ranvel_read]
        [--by renderer|typeface|variant] [--jobs 2] [--failures]

CORPUS is a folder made by make_corpus.py (its manifest.json), such as tests/data/corpus.
"Right" counts points whose field is the truth's, with or without "?"; "unmarked" counts wrong
points without "?"; a picture is all right when all 361 points are."""

import argparse
import re
import concurrent.futures
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
KINDS = ("clean", "screen", "scan", "photo", "print")


def compare(entry, text):
    """(right, unmarked, marked but right, wrong points as 'x,y: truth read as field', notes right and
    sure, notes wrong without "?") for one reading."""
    lines = text.splitlines()
    board = lines[:19]
    right, unmarked, marked_right, wrong = 0, 0, 0, []
    for y in range(19):
        truth = entry["board"][y].split(" ")
        read = board[y].split(" ") if y < len(board) else [""] * 19
        for x in range(19):
            field = read[x] if x < len(read) else ""
            unsure = field.endswith("?")
            value = field[:-1] if unsure else field
            if value == truth[x]:
                right += 1
                marked_right += unsure
            else:
                wrong.append("%d,%d: %s read as %s" % (x + 1, y + 1, truth[x], field))
                if not unsure:
                    unmarked += 1
    notes = lines[19:]
    truth_notes = set(entry["notes"]) if entry.get("notes_printed", True) else set()
    notes_right = sum(1 for n in notes if not n.endswith("?") and n in truth_notes)
    notes_unmarked = sum(1 for n in notes if not n.endswith("?") and n not in truth_notes)
    return right, unmarked, marked_right, wrong, notes_right, notes_unmarked


def read_one(reader, folder, entry):
    r = subprocess.run([reader, "--notes", os.path.join(folder, entry["file"])], capture_output=True, text=True)
    if r.returncode != 0:
        return entry, None, r.stderr.strip()
    return entry, r.stdout, r.stderr


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("corpus")
    ap.add_argument("--reader", default=os.path.join(ROOT, "build/tools/ranvel_read"))
    ap.add_argument("--by", choices=["renderer", "typeface", "variant"])
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--failures", action="store_true", help="list each picture not all right or with a doubt on a right point")
    args = ap.parse_args()
    entries = json.load(open(os.path.join(args.corpus, "manifest.json")))["pictures"]

    rows = {}
    failures = []
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        for entry, text, err in pool.map(lambda e: read_one(args.reader, args.corpus, e), entries):
            keys = [("held out" if entry["held_out"] else "tuned", entry["kind"], "")]
            if args.by:
                keys.append(keys[0][:2] + (entry[args.by] or "-",))
            for key in keys:
                row = rows.setdefault(key, dict(pictures=0, right=0, unmarked=0, marked_right=0, noboard=0, allright=0,
                                                notes=0, notes_right=0, notes_unmarked=0, captions=0,
                                                captions_wrong=0, px=[]))
                row["pictures"] += 1
                row["notes"] += len(entry["notes"]) if entry.get("notes_printed", True) else 0
                row["px"].append(entry["stone_px"])
                if text is None:
                    row["noboard"] += 1
                    continue
                right, unmarked, marked_right, wrong, nr, nu = compare(entry, text)
                # A whole game's page names its moves in its caption, "Figure 1 (1-263)".
                caption = re.search(r"the caption names moves (\d+) to (\d+)", err)
                if caption:
                    row["captions"] += 1
                    row["captions_wrong"] += (int(caption.group(1)), int(caption.group(2))) != (1, entry["moves"])
                row["right"] += right
                row["unmarked"] += unmarked
                row["marked_right"] += marked_right
                row["allright"] += right == 361
                row["notes_right"] += nr
                row["notes_unmarked"] += nu
            if text is None:
                failures.append("%s: no board (%s)" % (entry["file"], err))
            elif right != 361 or marked_right:
                failures.append("%s: %d right, %d unmarked, %d marked but right; %s"
                                % (entry["file"], right, unmarked, marked_right, "; ".join(wrong[:6])))

    print("| Styles | Kind | %sPictures | Stones | Points right | Wrong without \"?\" | Marked \"?\" but right | Board not found | "
          "Pictures all right | Notes right and sure | Notes wrong without \"?\" | Captions read (wrong) |" % ("%s | " % args.by.capitalize() if args.by else ""))
    print("|" + " --- |" * (12 if args.by else 11))
    for held in ("held out", "tuned"):
        for kind in KINDS:
            for key in sorted(k for k in rows if k[0] == held and k[1] == kind):
                if args.by is None and key[2]:
                    continue
                r = rows[key]
                points = 361 * r["pictures"]
                print("| %s | %s | %s%d | %g–%g px | %.2f%% | %d | %d | %d | %d of %d | %d of %d | %d | %d (%d) |" % (
                    held, kind, ("%s | " % (key[2] or "all")) if args.by else "", r["pictures"], min(r["px"]), max(r["px"]),
                    100.0 * r["right"] / points, r["unmarked"], r["marked_right"], r["noboard"], r["allright"], r["pictures"],
                    r["notes_right"], r["notes"], r["notes_unmarked"], r["captions"], r["captions_wrong"]))
    if args.failures:
        print()
        for f in failures:
            print(f)


if __name__ == "__main__":
    sys.exit(main())
