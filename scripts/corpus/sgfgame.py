"""A game's main line from an SGF file, and the numbered full-game diagram a book prints of it:
the truth every picture of the corpus is read against."""

import re

COLUMNS = "abcdefghijklmnopqrs"


class Game:
    def __init__(self, name, handicap, moves, info):
        self.name = name
        self.handicap = handicap  # [(x, y)], 1..19, row 1 at the top
        self.moves = moves        # [(black, x, y)]
        self.info = info          # root properties: PB, PW, DT, EV...


def _point(value):
    if len(value) != 2 or value[0] not in COLUMNS or value[1] not in COLUMNS:
        return None
    return COLUMNS.index(value[0]) + 1, COLUMNS.index(value[1]) + 1


def read_game(path, name=None):
    """The first line of play through every variation; passes and moves off the board end it."""
    text = open(path, encoding="utf-8", errors="replace").read()
    i, depth, node, ident = 0, 0, -1, ""
    handicap, moves, info = [], [], {}
    while i < len(text):
        c = text[i]
        if c == "(":
            depth += 1
        elif c == ")":
            break  # the first variation to close ends the main line
        elif c == ";":
            node += 1
            ident = ""
        elif c.isupper():
            if not text[i - 1].isupper():
                ident = ""
            ident += c
        elif c == "[":
            j = i + 1
            value = []
            while j < len(text) and text[j] != "]":
                if text[j] == "\\":
                    j += 1
                value.append(text[j])
                j += 1
            value = "".join(value)
            i = j
            if node == 0:
                if ident == "AB":
                    p = _point(value)
                    if p:
                        handicap.append(p)
                else:
                    info.setdefault(ident, value)
            elif ident in ("B", "W"):
                p = _point(value)
                if p is None:
                    break
                moves.append((ident == "B", p[0], p[1]))
        i += 1
    return Game(name or re.sub(r"\.sgf$", "", path.split("/")[-1]), handicap, moves, info)


class Diagram:
    """What the book prints: the first stone on each point with its number (handicap stones
    without one), and the later moves on taken points as notes beside it."""

    def __init__(self, game, last=None):
        moves = game.moves if last is None else game.moves[:last]
        self.stones = {}  # (x, y) -> (black, number); number 0 for a handicap stone
        for x, y in game.handicap:
            self.stones[(x, y)] = (True, 0)
        self.notes = []  # [(move, number of the stone on its point, 0 for a handicap stone)]
        for k, (black, x, y) in enumerate(moves, 1):
            if (x, y) in self.stones:
                self.notes.append((k, self.stones[(x, y)][1]))
            else:
                self.stones[(x, y)] = (black, k)
        self.total = len(moves)
        self.white_first = bool(game.handicap)

    def stones_by_number_black(self, number):
        for black, n in self.stones.values():
            if n == number:
                return black
        return True

    def board_lines(self):
        """ranvel_read's 19 lines for a perfect reading."""
        lines = []
        for y in range(1, 20):
            fields = []
            for x in range(1, 20):
                s = self.stones.get((x, y))
                fields.append("." if s is None else (str(s[1]) if s[1] else "B"))
            lines.append(" ".join(fields))
        return lines

    def note_lines(self):
        """ranvel_read --notes for a perfect reading: one line a move."""
        return ["%d at %s" % (m, str(at) if at else "B") for m, at in self.notes]

    def grouped_notes(self):
        """The notes as books print them: moves on one point together, "236, 243 at 134"."""
        groups = {}
        for m, at in self.notes:
            groups.setdefault(at, []).append(m)
        order = sorted(groups, key=lambda at: groups[at][0])
        return [(groups[at], at) for at in order]
