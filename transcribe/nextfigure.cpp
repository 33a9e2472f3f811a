#include "transcribe/nextfigure.h"

#include "board/cellname.h"
#include "board/conversions.h"
#include "board/form.h"
#include "board/messages.h"
#include "board/limits.h"
#include "board/texts.h"
#include "board/ui.h"
#include "checks/missingnumbers.h"
#include "diagram/diagram.h"
#include "entry/cellentry.h"
#include "entry/unsurepoints.h"
#include "rules/candidatefill.h"
#include "rules/replay.h"

#include <QHash>
#include <QMap>

#include <algorithm>

using rules::NoPoint;
using rules::Position;

namespace {

struct Before {
    rules::Replay record;
    Position position;
    int highest = 0;
};

// The position the record's moves leave, replayed as F5 replays them; a move without a point
// or against the rules is passed over, as the figure alone cannot mend it.
Before positionBefore(const Form& f)
{
    Before b;
    b.record = rules::replayOf(f);
    for (int p : b.record.handicap)
        b.position.putHandicap(p);
    for (int k = 1; k <= b.record.last(); ++k) {
        if (b.record.points[size_t(k)] != NoPoint)
            b.position.play(b.record.points[size_t(k)], b.record.colourOf(k), k);
    }
    b.highest = std::max(b.record.last(), int(tryToInteger(f.souTesuu).value_or(0)));
    return b;
}

rules::Stone stoneOf(diagram::Stone s)
{
    return s == diagram::Stone::Black ? go::Stone::Black : s == diagram::Stone::White ? go::Stone::White : go::Stone::Empty;
}

QString stoneName(rules::Stone s)
{
    return s == go::Stone::Black ? texts::FigureBlack : s == go::Stone::White ? texts::FigureWhite : texts::FigureEmpty;
}

QString styleName(FigureNumbering::Style s)
{
    switch (s) {
    case FigureNumbering::Continued:
        return texts::NumberingContinued;
    case FigureNumbering::Restarted:
        return texts::NumberingRestarted;
    case FigureNumbering::HundredsDropped:
        return texts::NumberingHundreds;
    }
    return {};
}

// Why a point of the figure is in doubt, as its log line says.
struct Doubt {
    int point = NoPoint;
    QString line;
};

// The figure read with one numbering: where each of its moves goes, and what is at odds.
struct Trial {
    FigureNumbering numbering;
    QMap<int, int> pointOfMove;  // moves with a point on the figure or from a note
    QMap<int, int> numberedAt;   // moves printed on the figure, and their points
    QList<int> notePlaceless;    // moves of notes whose point is not known
    QList<Doubt> doubts;
    int first = 0;
    int last = 0;
    // Moves up to the figure's last that neither a number nor a note gives.
    int holes = 0;
    // The highest number printed on the figure's stones that the others lead up to.
    int highestPrinted = 0;
    // Stones of earlier figures with something printed on them: the book marks the stones its
    // notes name ("232 at a"), and a mark not read as one is read as a number.
    QList<int> marked;

    int faults() const { return int(doubts.size()) + holes; }
};

QString shownText(const diagram::Point& p)
{
    return p.number > 0 ? QString::number(p.number) : stoneName(stoneOf(p.stone));
}


// The move a note gives. A figure that numbers its stones from 1 again or without the hundreds
// may still print its notes' moves whole ("208 at 21"): a number past every number on the
// stones and past the record's last move is such a move.
int noteMove(const Before& b, const Trial& t, const diagram::Note& n)
{
    if (t.numbering.style != FigureNumbering::Continued && n.move > t.highestPrinted && n.move > b.highest)
        return n.move;
    return t.numbering.absolute(n.move);
}

// The point of the stone a note names: a marked stone, a number of the figure, or, on from the
// figure before, a move of the record.
int pointNamed(const Before& b, const Trial& t, const diagram::Result& figure, const diagram::Note& n)
{
    if (n.atMark != 0) {
        // A mark printed on two points names neither: the rules choose between them.
        int named = NoPoint;
        for (int p = 0; p < rules::Points; ++p) {
            if (figure.board.points[size_t(p)].mark != n.atMark)
                continue;
            if (named != NoPoint)
                return NoPoint;
            named = p;
        }
        return named;
    }
    if (n.at <= 0)
        return NoPoint;
    const int at = t.numbering.absolute(n.at);
    if (t.numberedAt.contains(at))
        return t.numberedAt.value(at);
    // A pass of the record names no point.
    if (t.numbering.style == FigureNumbering::Continued && n.at <= b.record.last())
        return std::max(b.record.points[size_t(n.at)], NoPoint);
    return NoPoint;
}

// Notes read in doubt place their moves only where the rules allow that place, once the sure
// notes and the figure's numbers have placed theirs. A note whose move is no open move of the
// figure still names a stone read right more often than not: it goes to the one open move that
// the rules allow there, if only one.
void placeDoubtfulNotes(Form& f, const Before& b, const Trial& t, const diagram::Result& figure, const std::atomic<bool>* stop)
{
    QList<std::pair<int, QString>> tried;
    for (const diagram::Note& n : figure.notes) {
        if (!n.unsure || n.move <= 0)
            continue;
        const int point = pointNamed(b, t, figure, n);
        const QString place = point == NoPoint ? QString() : trimControl(f.cells[size_t(point)].text);
        if (place.isEmpty())
            continue;
        const int m = noteMove(b, t, n);
        const int row = m > b.highest ? listRowOf(f, m) : 0;
        tried.append({row > 0 && f.stringGrid2.at(1, row).isEmpty() ? row : 0, place});
    }
    if (tried.isEmpty())
        return;
    const QHash<int, QList<PlaceChoice>> allowed = candidatePlacesByRow(f, stop);
    const auto allows = [&](int row, const QString& place) {
        const QList<PlaceChoice> choices = allowed.value(row);
        return std::any_of(choices.begin(), choices.end(), [&](const PlaceChoice& c) { return c.place == place; });
    };
    for (auto [row, place] : tried) {
        if (row == 0) {
            QList<int> rows;
            for (auto it = allowed.cbegin(); it != allowed.cend(); ++it) {
                const int m = f.stringGrid2.at(0, it.key()).toInt();
                if (m > b.highest && m <= t.last && allows(it.key(), place))
                    rows.append(it.key());
            }
            if (rows.size() != 1)
                continue;
            row = rows.first();
        }
        if (!f.stringGrid2.at(1, row).isEmpty() || !allows(row, place))
            continue;
        f.stringGrid2.at(1, row) = place;
        f.logLine(messages::noteFilledLine(f.stringGrid2.at(0, row).toInt(), place) + texts::UnsureRead);
    }
}

// A move of the figure that the rules leave open between several taken points goes on the one
// of them that the figure marks, where only one is; each place so found narrows the next.
void placeOnMarks(Form& f, const Before& b, const Trial& t, const std::atomic<bool>* stop)
{
    if (t.marked.isEmpty())
        return;
    for (;;) {
        const QHash<int, QList<PlaceChoice>> allowed = candidatePlacesByRow(f, stop);
        if (stop && stop->load())
            return;
        int bestRow = 0;
        int bestMove = HighestMove + 1;
        PlaceChoice best;
        for (auto it = allowed.cbegin(); it != allowed.cend(); ++it) {
            const int m = f.stringGrid2.at(0, it.key()).toInt();
            if (m <= b.highest || m > t.last || m >= bestMove)
                continue;
            QList<PlaceChoice> onMarks;
            for (const PlaceChoice& c : it.value()) {
                if (t.marked.contains(rules::pointOf(c.x, c.y)))
                    onMarks.append(c);
            }
            if (onMarks.size() == 1 && it.value().size() > 1) {
                bestRow = it.key();
                bestMove = m;
                best = onMarks.first();
            }
        }
        if (bestRow == 0)
            return;
        choosePlace(f, bestRow, best);
    }
}

// highestPrinted: the highest number the others lead up to; one above it is a misreading.
Trial tryNumbering(const Before& b, const diagram::Result& figure, const FigureNumbering& numbering, int highestPrinted)
{
    Trial t;
    t.numbering = numbering;
    t.highestPrinted = highestPrinted;
    t.first = HighestMove;
    const auto doubt = [&](int point, const QString& line) {
        if (std::none_of(t.doubts.begin(), t.doubts.end(), [&](const Doubt& d) { return d.point == point; }))
            t.doubts.append({point, line});
    };
    // Numbers on points that were empty first: a number read on a stone of an earlier figure
    // is more often a misreading than the same move read twice.
    for (const bool onStone : {false, true}) {
        for (int p = 0; p < rules::Points; ++p) {
            const diagram::Point& fp = figure.board.points[size_t(p)];
            if (fp.stone == diagram::Stone::Empty || fp.number <= 0 || (b.position.stone[size_t(p)] != go::Stone::Empty) != onStone)
                continue;
            const int x = rules::columnOf(p);
            const int y = rules::rowOf(p);
            if (fp.number > highestPrinted) {
                doubt(p, messages::unsureReadLine(x, y, shownText(fp)));
                continue;
            }
            const int m = numbering.absolute(fp.number);
            if (m <= b.highest) {
                doubt(p, messages::figureEarlierMoveLine(x, y, shownText(fp)));
                continue;
            }
            if (t.pointOfMove.contains(m)) {
                doubt(p, messages::unsureReadLine(x, y, shownText(fp)));
                if (!onStone) {
                    const int other = t.pointOfMove.value(m);
                    doubt(other, messages::unsureReadLine(rules::columnOf(other), rules::rowOf(other), shownText(fp)));
                }
                continue;
            }
            t.first = std::min(t.first, m);
            t.last = std::max(t.last, m);
            t.pointOfMove.insert(m, p);
            t.numberedAt.insert(m, p);
            if (stoneOf(fp.stone) != b.record.colourOf(m) || fp.unsure)
                doubt(p, messages::unsureReadLine(x, y, shownText(fp)));
        }
    }
    // Notes past the figure's last number count only where they follow on from it, as on a
    // first figure: a misread note must not make the figure longer.
    const int lastNumbered = t.last;
    QList<int> beyond;
    for (const diagram::Note& n : figure.notes) {
        if (!n.unsure && n.move > 0 && noteMove(b, t, n) > lastNumbered)
            beyond.append(noteMove(b, t, n));
    }
    std::sort(beyond.begin(), beyond.end());
    int followsOn = lastNumbered;
    for (int m : beyond) {
        if (m == followsOn + 1)
            followsOn = m;
    }
    // A note read in doubt still makes the figure longer where the caption names its move as
    // the last, counted either way the figure may print it; the rules then place it.
    for (const diagram::Note& n : figure.notes) {
        const int m = n.move > 0 ? noteMove(b, t, n) : 0;
        const bool captionLast = figure.captionLast > 0 && (m == figure.captionLast || m == t.numbering.absolute(figure.captionLast));
        if (n.unsure && captionLast && m == followsOn + 1) {
            followsOn = m;
            t.last = std::max(t.last, m);
        }
    }
    for (const diagram::Note& n : figure.notes) {
        if (n.unsure || n.move <= 0)
            continue;
        const int m = noteMove(b, t, n);
        if (m <= b.highest || m > followsOn || t.pointOfMove.contains(m))
            continue;
        t.first = std::min(t.first, m);
        t.last = std::max(t.last, m);
        const int point = pointNamed(b, t, figure, n);
        if (point == NoPoint)
            t.notePlaceless.append(m);
        else
            t.pointOfMove.insert(m, point);
    }
    if (t.last == 0)
        t.first = 0;
    for (int m = b.highest + 1; m <= t.last; ++m) {
        if (!t.pointOfMove.contains(m) && !t.notePlaceless.contains(m))
            ++t.holes;
    }

    // The figure's own moves, played on from the position before it: a stone of an earlier
    // figure may be missing only where they capture it.
    // A move whose point no note gives may capture what a later move is played on: after it,
    // the rules cannot judge the figure's moves.
    const int firstPlaceless = t.notePlaceless.isEmpty() ? HighestMove + 1 : *std::min_element(t.notePlaceless.begin(), t.notePlaceless.end());
    Position pos = b.position;
    QList<int> misread;
    for (auto it = t.pointOfMove.cbegin(); it != t.pointOfMove.cend(); ++it) {
        if (pos.play(it.value(), b.record.colourOf(it.key()), it.key()) == rules::Verdict::Legal || it.key() > firstPlaceless)
            continue;
        const diagram::Point& fp = figure.board.points[size_t(it.value())];
        doubt(it.value(), messages::unsureReadLine(rules::columnOf(it.value()), rules::rowOf(it.value()), shownText(fp)));
        // A number on a stone of an earlier figure that is still there is that stone, misread.
        if (t.numberedAt.value(it.key(), NoPoint) == it.value() && pos.stone[size_t(it.value())] != go::Stone::Empty
            && pos.placedBy[size_t(it.value())] <= b.highest)
            misread.append(it.key());
    }
    for (int m : misread) {
        t.pointOfMove.remove(m);
        t.numberedAt.remove(m);
    }
    // A book prints no number on a stone of an earlier figure: whatever is read there is a mark.
    for (int p = 0; p < rules::Points; ++p) {
        const diagram::Point& fp = figure.board.points[size_t(p)];
        const bool printedOn = fp.mark != 0 || fp.number > 0;
        if (printedOn && fp.stone != diagram::Stone::Empty && b.position.stone[size_t(p)] != go::Stone::Empty)
            t.marked.append(p);
    }
    for (int p = 0; p < rules::Points; ++p) {
        const diagram::Point& fp = figure.board.points[size_t(p)];
        if (fp.number > 0 && fp.stone != diagram::Stone::Empty)
            continue;
        const rules::Stone was = b.position.stone[size_t(p)];
        const rules::Stone shown = stoneOf(fp.stone);
        const bool capturedInFigure = pos.emptiedBy[size_t(p)] > b.highest;
        const bool agrees = shown == was || (shown == go::Stone::Empty && capturedInFigure);
        if (!agrees)
            doubt(p, messages::figureMismatchLine(rules::columnOf(p), rules::rowOf(p), stoneName(shown), stoneName(was)));
    }
    return t;
}

// How far the figure's moves jump about: a move answers the one before it more often than not,
// nearby, so of two orders that the rules allow alike the one that jumps less is the game's.
// Jumps longer than a local exchange count alike, as a move elsewhere does.
constexpr int LocalReach = 6;

int jumps(const Before& b, const Trial& t)
{
    const auto pointOfMove = [&](int m) {
        if (m <= b.record.last())
            return b.record.points[size_t(m)];
        return t.pointOfMove.value(m, NoPoint);
    };
    int sum = 0;
    for (int m = std::max(1, b.highest); m < t.last; ++m) {
        const int p = pointOfMove(m);
        const int q = pointOfMove(m + 1);
        if (p == NoPoint || q == NoPoint)
            continue;
        const int d = std::max(std::abs(rules::columnOf(p) - rules::columnOf(q)), std::abs(rules::rowOf(p) - rules::rowOf(q)));
        sum += std::min(d, LocalReach);
    }
    return sum;
}

QList<int> printedNumbers(const diagram::Result& figure)
{
    QList<int> printed;
    for (const diagram::Point& p : figure.board.points) {
        if (p.stone != diagram::Stone::Empty && p.number > 0 && !p.unsure)
            printed.append(p.number);
    }
    // Only a figure whose numbers were all read in doubt is judged by them all the same.
    if (printed.isEmpty()) {
        for (const diagram::Point& p : figure.board.points) {
            if (p.stone != diagram::Stone::Empty && p.number > 0)
                printed.append(p.number);
        }
    }
    // A number far above the rest is misread, as on a first figure.
    const int highest = supportedHighest(printed);
    printed.erase(std::remove_if(printed.begin(), printed.end(), [&](int n) { return n > highest; }), printed.end());
    return printed;
}

// The list is written afresh up to the new total, and every place it held goes back beside
// its move, where it was typed or read before.
void listWithPlaces(Form& f, const QMap<int, QString>& places)
{
    QMap<int, QString> kept;
    for (int r = 1; r <= MoveList::LastRow; ++r) {
        const int m = int(tryToInteger(f.stringGrid2.at(0, r)).value_or(0));
        const QString place = f.stringGrid2.at(1, r);
        if (m > 0 && !place.isEmpty())
            kept.insert(m, place);
    }
    kept.insert(places);
    StringGrid2Clear(f);
    f.logLine(texts::MissingListUp);
    listMissingNumbers(f);
    f.logLine(texts::MissingDone);
    for (auto it = kept.cbegin(); it != kept.cend(); ++it) {
        if (const int row = listRowOf(f, it.key()))
            f.stringGrid2.at(1, row) = it.value();
    }
}

} // namespace

void enterNextFigure(Form& f, Notices& ui, const diagram::Result& result, const QString& source, const CaptionRange& caption,
                     const std::atomic<bool>* stop)
{
    const Before before = positionBefore(f);
    const QList<int> printed = printedNumbers(result);
    // A caption read by the reader stands unless the caller gives one.
    const CaptionRange named = caption.first > 0 ? caption : CaptionRange{result.captionFirst, result.captionLast};
    const QList<FigureNumbering> numberings = numberingsFor(before.highest, printed, named);
    if (numberings.isEmpty()) {
        f.logLine(messages::figureNoNumbersLine(source));
        return;
    }

    QList<Trial> trials;
    for (const FigureNumbering& n : numberings) {
        trials.append(tryNumbering(before, result, n, *std::max_element(printed.begin(), printed.end())));
        if (stop && stop->load())
            return;
    }
    // The rules judge between readings that fit the numbers alike; between those that the rules
    // allow alike, the order of the moves does, and is in doubt.
    QList<int> jumpsOf;
    for (const Trial& t : trials)
        jumpsOf.append(jumps(before, t));
    int bestIndex = 0;
    for (int i = 1; i < trials.size(); ++i) {
        const int a = trials[i].faults();
        const int b = trials[bestIndex].faults();
        if (a < b || (a == b && jumpsOf[i] < jumpsOf[bestIndex]))
            bestIndex = i;
    }
    const Trial& chosen = trials[bestIndex];
    const Trial* rival = nullptr;
    for (const Trial& t : trials) {
        if (&t != &chosen && t.faults() == chosen.faults() && t.first == chosen.first) {
            rival = &t;
            break;
        }
    }

    // The figure's numbered moves, in order: into an empty cell as typed, or beside the label
    // already shown on a taken point.
    QMap<int, QString> places;
    QList<int> listed;
    for (auto it = chosen.numberedAt.cbegin(); it != chosen.numberedAt.cend(); ++it) {
        const CellPos pos{rules::columnOf(it.value()), rules::rowOf(it.value())};
        Cell& c = f.cell(pos.x, pos.y);
        const QString shown = trimControl(c.text);
        if (shown.isEmpty()) {
            c.text = QString::number(it.key());
            // Unchanged since "entered", so no offset is added: the number is already absolute.
            storeLeftCell(f, ui, pos, c.text);
        } else {
            places.insert(it.key(), shown);
            listed.append(it.key());
        }
    }
    for (auto it = chosen.pointOfMove.cbegin(); it != chosen.pointOfMove.cend(); ++it) {
        if (chosen.numberedAt.contains(it.key()))
            continue;
        places.insert(it.key(), trimControl(f.cells[size_t(it.value())].text));
        listed.append(it.key());
    }
    listed.append(chosen.notePlaceless);

    const int last = std::max(chosen.last, before.highest);
    f.souTesuu = QString::number(last);
    f.readTotal = f.souTesuu;
    f.fromPicture = true;
    // Moves on taken points carry the total past the board's highest number, as notes do.
    for (int m : listed) {
        if (!f.noteMoves.contains(m))
            f.noteMoves.append(m);
    }
    if (const Cell* focused = f.cellNamed(f.controlMei))
        f.cellTextOnEnter = focused->text;

    f.logLine(messages::figureReadLine(source, chosen.first, chosen.last));
    const int low = *std::min_element(printed.begin(), printed.end());
    const int high = *std::max_element(printed.begin(), printed.end());
    f.logLine(messages::figureNumberingLine(low, high, chosen.first, chosen.last,
                                            styleName(chosen.numbering.style),
                                            rival ? styleName(rival->numbering.style) : QString(),
                                            rival ? rival->numbering.absolute(low) : 0));
    QList<Doubt> doubts = chosen.doubts;
    // A numbering chosen between two alike is itself in doubt: its lowest number is the place to look.
    if (rival && chosen.numberedAt.contains(chosen.numbering.absolute(low))) {
        const int p = chosen.numberedAt.value(chosen.numbering.absolute(low));
        if (std::none_of(doubts.begin(), doubts.end(), [&](const Doubt& d) { return d.point == p; }))
            doubts.append({p, messages::unsureReadLine(rules::columnOf(p), rules::rowOf(p), QString::number(low))});
    }
    std::sort(doubts.begin(), doubts.end(), [](const Doubt& a, const Doubt& b) { return a.point < b.point; });
    for (const Doubt& d : doubts) {
        markUnsurePoint(f, {rules::columnOf(d.point), rules::rowOf(d.point)}, true);
        f.logLine(d.line);
    }

    listWithPlaces(f, places);
    if (stop && stop->load())
        return;
    placeDoubtfulNotes(f, before, chosen, result, stop);
    if (stop && stop->load())
        return;
    placeOnMarks(f, before, chosen, stop);
    if (stop && stop->load())
        return;
    fillCandidatePlaces(f, stop);

    if (!doubts.isEmpty())
        ui.setFocus(cellName(rules::columnOf(doubts.first().point), rules::rowOf(doubts.first().point)));
    else if (!f.stringGrid2.at(0, 1).isEmpty())
        ui.setFocus(QStringLiteral("StringGrid2"));
}
