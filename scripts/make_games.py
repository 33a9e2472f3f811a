#!/usr/bin/env python3
"""Plays GNU Go against itself and writes each game as a plain SGF file.

The games under tests/data/games/ came from this script; it is the record of where they
came from, and CI does not run it. Usage:

    python3 scripts/make_games.py [OUTPUT_DIR [FIRST_SEED LAST_SEED]]

Each game is set by (seed, level, handicap). A game ends at the first pass or resignation,
since a one-diagram record has no way to show a pass; it is kept only when it holds captures
with later moves on the captured points, which is what the move lists of the program are for.
"""

import os
import shutil
import subprocess
import sys

# (seed, level, handicap)
GAMES = [
    (1, 1, 0), (2, 1, 0), (3, 2, 0), (4, 3, 0), (5, 4, 0),
    (6, 5, 0), (7, 0, 0), (8, 2, 0), (9, 1, 2), (10, 2, 3),
    (11, 3, 4), (12, 0, 5), (13, 1, 6), (14, 2, 9), (15, 1, 9),
    (16, 0, 0), (17, 3, 0), (18, 4, 2), (19, 6, 0), (20, 3, 3),
    (21, 0, 0), (22, 2, 4), (23, 1, 0), (24, 2, 2), (25, 3, 0),
    (26, 4, 3), (27, 5, 0), (28, 2, 5), (29, 0, 0), (30, 1, 0),
    (31, 2, 0), (32, 0, 2), (33, 1, 3), (34, 2, 4), (35, 0, 0),
    (36, 1, 0), (37, 2, 2), (38, 0, 3), (39, 1, 0), (40, 2, 0),
]

MAX_MOVES = 700
GTP_LETTERS = "ABCDEFGHJKLMNOPQRST"  # GTP skips I
SGF_LETTERS = "abcdefghijklmnopqrs"


def find_gnugo():
    found = shutil.which("gnugo") or ("/usr/games/gnugo" if os.path.exists("/usr/games/gnugo") else None)
    if not found:
        sys.exit("GNU Go is not installed: apt-get install gnugo")
    return found


class Gtp:
    def __init__(self, gnugo, seed, level):
        self.proc = subprocess.Popen(
            [gnugo, "--mode", "gtp", "--seed", str(seed), "--level", str(level)],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def ask(self, command):
        self.proc.stdin.write(command + "\n")
        self.proc.stdin.flush()
        lines = []
        while True:
            line = self.proc.stdout.readline()
            if line == "":
                raise RuntimeError("GNU Go ended while answering " + command)
            if line.strip() == "" and lines:
                break
            if line.strip():
                lines.append(line.strip())
        answer = " ".join(lines)
        if not answer.startswith("="):
            raise RuntimeError(command + ": " + answer)
        return answer[1:].strip()

    def close(self):
        self.ask("quit")
        self.proc.wait()


def sgf_point(vertex):
    """GTP vertex (Q16) to SGF point (pd): column letter, then row counted from the top."""
    column = GTP_LETTERS.index(vertex[0].upper()) + 1
    row = 19 - int(vertex[1:]) + 1
    return SGF_LETTERS[column - 1] + SGF_LETTERS[row - 1]


def play(gnugo, seed, level, handicap):
    gtp = Gtp(gnugo, seed, level)
    gtp.ask("boardsize 19")
    gtp.ask("clear_board")
    gtp.ask("komi " + ("0.5" if handicap else "6.5"))
    stones = []
    if handicap:
        stones = [sgf_point(v) for v in gtp.ask("fixed_handicap %d" % handicap).split()]
    colour = "W" if handicap else "B"
    moves = []
    while len(moves) < MAX_MOVES:
        vertex = gtp.ask("genmove " + colour.lower())
        if vertex.lower() in ("pass", "resign"):
            break
        moves.append((colour, sgf_point(vertex)))
        colour = "B" if colour == "W" else "W"
    result = gtp.ask("final_score")
    gtp.close()
    return stones, moves, result


def replays_on_captured_points(moves, stones):
    seen = set(stones)
    count = 0
    for _, point in moves:
        if point in seen:
            count += 1
        seen.add(point)
    return count


def sgf_text(seed, level, handicap, stones, moves, result):
    root = "(;GM[1]FF[4]SZ[19]KM[%s]" % ("0.5" if handicap else "6.5")
    if handicap:
        root += "HA[%d]AB%sPL[W]" % (handicap, "".join("[%s]" % p for p in stones))
    root += "PB[GNU Go 3.8 level %d]PW[GNU Go 3.8 level %d]RE[%s]" % (level, level, result)
    root += "C[gnugo --seed %d --level %d, handicap %d]" % (seed, level, handicap)
    lines = [root]
    for i in range(0, len(moves), 10):
        lines.append("".join(";%s[%s]" % m for m in moves[i:i + 10]))
    return "\n".join(lines) + ")\n"


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "tests", "data", "games")
    os.makedirs(out, exist_ok=True)
    first, last = (int(sys.argv[2]), int(sys.argv[3])) if len(sys.argv) > 3 else (1, len(GAMES))
    gnugo = find_gnugo()
    for seed, level, handicap in GAMES:
        if not first <= seed <= last:
            continue
        stones, moves, result = play(gnugo, seed, level, handicap)
        again = replays_on_captured_points(moves, stones)
        name = "game%02d_s%d_l%d_h%d.sgf" % (seed, seed, level, handicap)
        if again == 0 or len(moves) > 999:
            print("skipped %s: %d moves, %d on captured points" % (name, len(moves), again), flush=True)
            continue
        with open(os.path.join(out, name), "w", newline="\n") as f:
            f.write(sgf_text(seed, level, handicap, stones, moves, result))
        print("%s: %d moves, %d on captured points, %s" % (name, len(moves), again, result), flush=True)


if __name__ == "__main__":
    main()
