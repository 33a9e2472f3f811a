#include "sgf/loadedgame.h"

#include "board/go.h"
#include "sgf/tokenizer.h"

#include <QByteArray>

#include <algorithm>

namespace {

// The lines joined with one LF each: offsets into it map back to a line and a column.
struct JoinedText {
    QByteArray text;
    QList<qsizetype> starts;

    explicit JoinedText(const Lines& lines)
    {
        for (const QByteArray& line : lines) {
            starts.append(text.size());
            text += line;
            text += '\n';
        }
    }

    LinePosition at(qsizetype offset) const
    {
        if (starts.isEmpty())
            return {};
        const auto next = std::upper_bound(starts.begin(), starts.end(), offset);
        const int line = int(next - starts.begin()) - 1;
        return {line, offset - starts[line]};
    }
};

std::optional<CellPos> pointOf(QByteArrayView value)
{
    if (value.size() != 2 || !go::sgfCoordinate(value[0]) || !go::sgfCoordinate(value[1]))
        return std::nullopt;
    return CellPos{go::sgfCoordinate(value[0]), go::sgfCoordinate(value[1])};
}

// "aa:cc" stands for the rectangle between the two corners.
QList<CellPos> pointList(const QByteArray& value)
{
    const qsizetype colon = value.indexOf(':');
    if (colon < 0) {
        const auto p = pointOf(value);
        return p ? QList<CellPos>{*p} : QList<CellPos>{};
    }
    const auto a = pointOf(value.left(colon));
    const auto b = pointOf(value.mid(colon + 1));
    if (!a || !b)
        return {};
    QList<CellPos> out;
    for (int y = std::min(a->y, b->y); y <= std::max(a->y, b->y); ++y) {
        for (int x = std::min(a->x, b->x); x <= std::max(a->x, b->x); ++x)
            out.append({x, y});
    }
    return out;
}

bool isBlank(const QByteArray& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return uchar(c) <= 32; });
}

// Follows the tokens along the main line (the first game tree, and the first variation at
// each fork), reading its moves and the root's properties; the other game trees are only
// looked at for anything but comments.
class MainLineReader : public SgfTokens {
public:
    MainLineReader(const QByteArray& text, LoadedGame& game)
        : text_(text)
        , g_(game)
    {
    }

    void open(qsizetype) override
    {
        Frame f;
        if (frames_.isEmpty()) {
            f.main = !seenTree_;
            seenTree_ = true;
        } else {
            Frame& up = frames_.last();
            f.main = up.main && up.nodes > 0 && !up.branched;
            up.branched = true;
        }
        f.otherGame = frames_.isEmpty() ? !f.main : frames_.last().otherGame;
        frames_.append(f);
        inMain_ = false;
    }

    void close(qsizetype at) override
    {
        if (frames_.isEmpty())
            return;
        const Frame f = frames_.takeLast();
        inMain_ = false;
        // The deepest variation of the main line closes first; the main line ends there.
        if (f.main && f.nodes > 0 && closeAt_ < 0)
            closeAt_ = at;
        if (frames_.isEmpty() && f.otherGame)
            endOtherGame();
    }

    void cutShort() { g_.cutShort = true; }

    void node(qsizetype at) override
    {
        if (frames_.isEmpty())
            open(at);
        Frame& f = frames_.last();
        ++f.nodes;
        inMain_ = f.main && !f.branched && closeAt_ < 0;
        ident_.clear();
        if (!inMain_)
            return;
        finishNode();
        if (mainNodes_ == 1) {
            rootEnd_ = nodeEnd_;
            secondAt_ = at;
        }
        ++mainNodes_;
        nodeEnd_ = at + 1;
        move_ = {};
        hasMove_ = false;
    }

    void identifier(const QByteArray& ident, qsizetype begin, qsizetype end) override
    {
        ident_ = ident;
        identBegin_ = begin;
        if (inMain_)
            nodeEnd_ = end;
        // A tree of comments alone is commentary, not another game.
        if (!frames_.isEmpty() && frames_.last().otherGame && ident != "C")
            otherGameContent_ = true;
        if (inMain_ && mainNodes_ > 1 && isSetup(ident) && !setupCounted_) {
            setupCounted_ = true;
            ++g_.setupNodes;
        }
    }

    void value(qsizetype begin, qsizetype end, bool closed) override
    {
        if (!inMain_)
            return;
        nodeEnd_ = closed ? end + 1 : end;
        // A value the text cuts short is no value; its bytes stay the node's all the same.
        if (!closed)
            return;
        if (mainNodes_ == 1) {
            rootValue(begin, end);
            if (text_.indexOf('\n', begin) >= 0 && text_.indexOf('\n', begin) < end)
                g_.rootValueSpansLines = true;
        }
        else if (ident_ == "PL")
            g_.toPlayLater = unescaped(text_, begin, end).trimmed().toUpper();
        if ((ident_ == "B" || ident_ == "W") && !hasMove_) {
            if (mainNodes_ == 1) {
                rootMoveBegin_ = identBegin_;
                rootMoveEnd_ = end + 1;
            }
            hasMove_ = true;
            move_.black = ident_ == "B";
            valueBegin_ = begin;
            valueEnd_ = end;
        }
    }

    struct Ends {
        // One past the root; the ";" of the node after it (-1 when none); one past the main
        // line's last node; the ")" closing the main line (-1 when the text ends first); the
        // root's own move (-1 when it holds none).
        qsizetype root;
        qsizetype second;
        qsizetype last;
        qsizetype close;
        qsizetype rootMoveBegin;
        qsizetype rootMoveEnd;
    };

    Ends finish()
    {
        finishNode();
        if (!frames_.isEmpty() && frames_.first().otherGame)
            endOtherGame();
        g_.hasTree = mainNodes_ > 0;
        return {rootEnd_ >= 0 ? rootEnd_ : nodeEnd_, secondAt_, nodeEnd_, closeAt_, rootMoveBegin_, rootMoveEnd_};
    }

private:
    struct Frame {
        bool main = false;
        bool otherGame = false;
        bool branched = false;
        int nodes = 0;
    };

    void rootValue(qsizetype begin, qsizetype end)
    {
        const QByteArray v = unescaped(text_, begin, end).trimmed();
        if (ident_ == "SZ" && g_.boardSize.isEmpty())
            g_.boardSize = v;
        else if (ident_ == "GM" && g_.gameType.isEmpty())
            g_.gameType = v;
        else if (ident_ == "PL" && g_.toPlay.isEmpty())
            g_.toPlay = v.toUpper();
        else if (ident_ == "HA")
            g_.handicap = v.toInt();
        else if (ident_ == "AB")
            g_.blackStones += pointList(v);
        else if (ident_ == "AW")
            g_.whiteStones += int(pointList(v).size());
        if (ident_ == "AB")
            g_.blackStonesListed = true;
    }

    // SGF's setup properties: stones, and whose turn it is.
    static bool isSetup(const QByteArray& ident)
    {
        return ident == "AB" || ident == "AW" || ident == "AE" || ident == "PL";
    }

    void endOtherGame()
    {
        if (otherGameContent_)
            ++g_.otherGames;
        otherGameContent_ = false;
    }

    void finishNode()
    {
        setupCounted_ = false;
        if (!hasMove_)
            return;
        hasMove_ = false;
        LoadedMove m = move_;
        m.number = int(g_.moves.size()) + 1;
        // Most values are a plain point: read in place, as a main line may hold millions.
        const char* v = text_.constData() + valueBegin_;
        const auto plain = valueEnd_ - valueBegin_ == 2 ? pointOf(QByteArrayView(v, 2)) : std::nullopt;
        const QByteArray value = plain ? QByteArray() : unescaped(text_, valueBegin_, valueEnd_).trimmed();
        const auto point = plain ? plain : pointOf(value);
        m.passAsTt = value == "tt";
        m.pass = !point && (value.isEmpty() || m.passAsTt);
        if (point) {
            m.x = point->x;
            m.y = point->y;
        } else if (!m.pass && g_.unreadableMove == 0) {
            g_.unreadableMove = m.number;
            g_.unreadableValue = value;
        }
        if (!g_.moves.isEmpty() && g_.moves.last().black == m.black)
            g_.alternating = false;
        g_.moves.append(m);
        // A PL that counts is one after the last move.
        g_.toPlayLater.clear();
    }

    const QByteArray& text_;
    LoadedGame& g_;
    QList<Frame> frames_;
    bool seenTree_ = false;
    bool inMain_ = false;
    int mainNodes_ = 0;
    QByteArray ident_;
    LoadedMove move_;
    bool hasMove_ = false;
    qsizetype valueBegin_ = 0;
    qsizetype valueEnd_ = 0;
    qsizetype identBegin_ = 0;
    qsizetype rootMoveBegin_ = -1;
    qsizetype rootMoveEnd_ = -1;
    bool setupCounted_ = false;
    qsizetype nodeEnd_ = 0;
    qsizetype rootEnd_ = -1;
    qsizetype secondAt_ = -1;
    qsizetype closeAt_ = -1;
    bool otherGameContent_ = false;
};

LoadedGame finished(LoadedGame& g, MainLineReader& reader, const JoinedText& joined)
{
    const MainLineReader::Ends ends = reader.finish();
    if (!g.hasTree)
        return g;
    g.rootEnd = joined.at(ends.root);
    if (ends.second >= 0)
        g.secondNode = joined.at(ends.second);
    if (ends.rootMoveBegin >= 0) {
        g.rootMoveBegin = joined.at(ends.rootMoveBegin);
        g.rootMoveEnd = joined.at(ends.rootMoveEnd);
    }
    g.closed = ends.close >= 0;
    g.splice = joined.at(g.closed ? ends.close : ends.last);
    return g;
}

} // namespace

bool LoadedGame::isNineteen() const
{
    return boardSize.isEmpty() || boardSize == QByteArray::number(go::BoardSize)
        || boardSize == QByteArray::number(go::BoardSize) + ':' + QByteArray::number(go::BoardSize);
}

bool LoadedGame::isGo() const
{
    return gameType.isEmpty() || gameType == "1";
}


LoadedGame loadedGameOf(const Lines& lines)
{
    const JoinedText joined(lines);
    const QByteArray& text = joined.text;
    const CharsetChoice choice = chooseCharset(text);
    const Charset charset = choice.charset;
    LoadedGame g;
    g.charsetInDoubt = choice.inDoubt;
    MainLineReader reader(text, g);
    // A lone lead byte before "]" swallows the bracket; text that reads to its end only as
    // single bytes was not in that character set.
    if (tokenizeSgf(text, charset, reader))
        return finished(g, reader, joined);
    if (charset != Charset::SingleByte) {
        LoadedGame single;
        single.charsetInDoubt = choice.inDoubt;
        MainLineReader again(text, single);
        if (tokenizeSgf(text, Charset::SingleByte, again))
            return finished(single, again, joined);
    }
    reader.cutShort();
    return finished(g, reader, joined);
}

namespace {

// The root as loaded, less the move it holds: the rebuild writes every move as a node of its own.
Lines withoutRootMove(const Lines& lines, const LoadedGame& game)
{
    const LinePosition from = game.rootMoveBegin;
    const LinePosition to = game.rootMoveEnd;
    if (from.line < 0)
        return lines;
    Lines out = lines.mid(0, from.line);
    out.append(lines[from.line].left(from.column) + lines[to.line].mid(to.column));
    out += lines.mid(to.line + 1);
    return out;
}

} // namespace

Lines rootLines(const Lines& loaded, const LoadedGame& game)
{
    // Line numbers after the root's move shift when it spans lines; the root's end is on its
    // last line, so the cut there moves left by what went on that line.
    const Lines lines = withoutRootMove(loaded, game);
    LinePosition end = game.rootEnd;
    if (game.rootMoveBegin.line >= 0 && end.line == game.rootMoveEnd.line) {
        end.column = game.rootMoveBegin.column + (end.column - game.rootMoveEnd.column);
        end.line = game.rootMoveBegin.line;
    } else if (game.rootMoveBegin.line >= 0) {
        end.line -= game.rootMoveEnd.line - game.rootMoveBegin.line;
    }
    const auto [line, column] = end;
    if (line < 0 || line >= lines.size())
        return {};
    if (!isBlank(lines[line].mid(column)))
        return lines.mid(0, line) + Lines{lines[line].left(column)};
    // The root ends its line: the lines are kept whole, as are blank lines before the moves.
    Lines out = lines.mid(0, line + 1);
    const int moved = game.rootMoveBegin.line >= 0 ? game.rootMoveEnd.line - game.rootMoveBegin.line : 0;
    for (int i = line + 1; i < game.secondNode.line - moved && isBlank(lines[i]); ++i)
        out.append(lines[i]);
    return out;
}

bool textAfterClose(const Lines& lines, const LoadedGame& game)
{
    const LinePosition close = game.splice;
    if (!game.closed || close.line < 0 || close.line >= lines.size())
        return false;
    QByteArray rest = lines[close.line].mid(close.column + 1);
    for (int i = close.line + 1; i < lines.size(); ++i)
        rest += lines[i];
    return !isBlank(rest);
}

go::FirstPlayer firstPlayerOf(const LoadedGame& game)
{
    if (game.moves.isEmpty()) {
        if (!game.toPlay.isEmpty())
            return game.toPlay == "W" ? go::FirstPlayer::White : go::FirstPlayer::Black;
        // Black stones alone are a handicap; with white ones they set up a position.
        const bool handicap = (game.blackStonesListed && game.whiteStones == 0) || game.handicap >= 2;
        return handicap ? go::FirstPlayer::White : go::FirstPlayer::Black;
    }
    // The last loaded move sets the turn of the next one, also where the file does not take
    // turns, unless a PL after it says whose turn it is.
    const LoadedMove& last = game.moves.last();
    if (!game.toPlayLater.isEmpty())
        return go::firstPlayerFor(last.number + 1, game.toPlayLater == "B");
    return go::firstPlayerFor(last.number, last.black);
}

std::optional<bool> loadedColour(const LoadedGame& game, int number)
{
    if (game.alternating || number < 1 || number > game.moves.size())
        return std::nullopt;
    return game.moves[number - 1].black;
}
