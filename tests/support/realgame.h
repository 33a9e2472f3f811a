#pragma once

// A game as a list of moves, read from an SGF file, and the numbered full-game diagram a
// book would print for it. Header-only: the real-games test and the benchmarks share it.

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>

#include <array>
#include <optional>

struct GameMove {
    bool black = true;
    QPoint point; // column and row, 1..19, row 1 at the top

    bool operator==(const GameMove& o) const { return black == o.black && point == o.point; }
};

struct Game {
    // Black setup stones of the root, in the order the file lists them.
    QList<QPoint> handicap;
    QList<GameMove> moves;
};

// The main line of an SGF text: the root's AB stones and every B or W node after it. Only
// what a game record of one line needs; nullopt when the text is no such record (a node with
// two moves, a pass, a point off a 19x19 board, an unclosed value).
inline std::optional<Game> readGame(const QByteArray& sgf)
{
    Game game;
    int node = -1;
    QByteArray ident;
    int i = 0;
    auto pointOf = [](const QByteArray& value) -> std::optional<QPoint> {
        if (value.size() != 2 || value[0] < 'a' || value[0] > 's' || value[1] < 'a' || value[1] > 's')
            return std::nullopt;
        return QPoint(value[0] - 'a' + 1, value[1] - 'a' + 1);
    };
    while (i < sgf.size()) {
        const char c = sgf[i];
        if (c == ')' || c == '(') {
            // The first variation that closes ends the main line.
            if (c == ')')
                break;
            ++i;
        } else if (c == ';') {
            ++node;
            ident.clear();
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            if (i == 0 || !(sgf[i - 1] >= 'A' && sgf[i - 1] <= 'Z'))
                ident.clear();
            ident += c;
            ++i;
        } else if (c == '[') {
            QByteArray value;
            ++i;
            while (i < sgf.size() && sgf[i] != ']') {
                if (sgf[i] == '\\')
                    ++i;
                if (i < sgf.size())
                    value += sgf[i];
                ++i;
            }
            if (i >= sgf.size())
                return std::nullopt;
            ++i;
            if (node == 0 && ident == "AB") {
                const auto p = pointOf(value);
                if (!p)
                    return std::nullopt;
                game.handicap.append(*p);
            } else if (node > 0 && (ident == "B" || ident == "W")) {
                const auto p = pointOf(value);
                if (!p || game.moves.size() != node - 1)
                    return std::nullopt;
                game.moves.append({ident == "B", *p});
            }
        } else {
            ++i;
        }
    }
    return game;
}

// What a book prints: each point shows the number of the first stone played there (or the
// handicap stone's label); a later move on that point is printed beside the diagram as
// "n at m", m being the text on the point.
struct Diagram {
    // Texts as the program shows them: "", a move number, or "B" and the stone's number.
    std::array<std::array<QString, 19>, 19> cells; // [row-1][column-1]
    struct OffBoard {
        int move;
        QString place;
        bool operator==(const OffBoard& o) const { return move == o.move && place == o.place; }
    };
    QList<OffBoard> offBoard; // in move order
    int total = 0;
    bool whiteFirst = false;

    const QString& at(int x, int y) const { return cells[size_t(y - 1)][size_t(x - 1)]; }
    QString& at(int x, int y) { return cells[size_t(y - 1)][size_t(x - 1)]; }
};

// Handicap stones are labelled B1, B2, ... in board order, rows from the top and columns from
// the left within a row: the order in which an operator walking the board types them, and the
// order in which a saved header lists them.
inline Diagram diagramOf(const Game& game)
{
    Diagram d;
    d.total = int(game.moves.size());
    d.whiteFirst = !game.handicap.isEmpty();
    for (const QPoint& p : game.handicap)
        d.at(p.x(), p.y()) = QStringLiteral("B");
    int label = 0;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            if (d.at(x, y) == QLatin1String("B"))
                d.at(x, y) = QStringLiteral("B%1").arg(++label);
        }
    }
    for (int k = 0; k < game.moves.size(); ++k) {
        const QPoint p = game.moves[k].point;
        QString& shown = d.at(p.x(), p.y());
        if (shown.isEmpty())
            shown = QString::number(k + 1);
        else
            d.offBoard.append({k + 1, shown});
    }
    return d;
}

// Readable failures in Qt Test comparisons.
inline char* toString(const GameMove& m)
{
    return qstrdup(QStringLiteral("%1[%2,%3]").arg(m.black ? "B" : "W").arg(m.point.x()).arg(m.point.y()).toLatin1().constData());
}

inline char* toString(const Diagram::OffBoard& o)
{
    return qstrdup(QStringLiteral("%1 at %2").arg(o.move).arg(o.place).toUtf8().constData());
}
