#include "rules/candidatefill.h"

#include "board/form.h"
#include "board/conversions.h"
#include "board/messages.h"
#include "board/texts.h"
#include "rules/inference.h"
#include "rules/replay.h"

using namespace rules;

namespace {

// The place that names a point, when the ordering would find that point by it.
QString placeOf(const Replay& rec, int point)
{
    const QString& label = rec.labels[size_t(point)];
    return rec.pointNamed(label) == point ? label : QString();
}

QString choiceText(const Replay& rec, int point)
{
    return messages::placeWithPoint(rec.labels[size_t(point)], columnOf(point), rowOf(point));
}

QString cellText(int point, const QString& text)
{
    return messages::cellValueLine(columnOf(point), rowOf(point), text, QString());
}

// A cell or list row that gave a move its point, as the input-data check names them.
QString sourceText(const Replay& rec, int move, int point)
{
    const MoveSource& s = rec.sources[size_t(move)];
    switch (s.kind) {
    case MoveSource::Cell:
        return cellText(s.cell, s.text);
    case MoveSource::LoadedRow:
    case MoveSource::EditingRow:
        return messages::listRowLine(QString::number(move), s.text, QString());
    case MoveSource::None:
        break;
    }
    // A handicap stone, or a move the search placed.
    if (move == 0)
        return cellText(point, rec.labels[size_t(point)]);
    return messages::listRowName(QString::number(move));
}

QString faultLine(const Replay& rec, const IllegalMove& fault)
{
    QStringList suspects{sourceText(rec, fault.move, fault.point)};
    QString line;
    switch (fault.reason) {
    case IllegalMove::Occupied:
        line = texts::IllegalOccupied;
        suspects.append(sourceText(rec, fault.occupant, fault.point));
        break;
    case IllegalMove::Suicide:
        line = texts::IllegalSuicide;
        break;
    case IllegalMove::Ko:
        line = texts::IllegalKo;
        if (fault.move > 1)
            suspects.append(sourceText(rec, fault.move - 1, rec.points[size_t(fault.move - 1)]));
        break;
    case IllegalMove::NoPoint:
        return messages::noPointLine(fault.move);
    }
    suspects.removeDuplicates();
    return messages::illegalMoveLine(columnOf(fault.point), rowOf(fault.point), fault.move, line, suspects);
}

int highestOnBoard(const Replay& rec)
{
    int highest = 0;
    for (const QString& label : rec.labels)
        highest = qMax(highest, tryToInteger(label).value_or(0));
    return highest;
}

// No legal game: said once, then the likeliest cause from the faults the replay met. Moves
// left without a point past the board's highest number point to the total; other moves
// without a point, to a stone the board lacks; failing both, a number typed on the wrong
// point, which the fault lines that follow name.
void reportContradiction(Form& f, const Replay& rec, const Inference& found)
{
    f.logLine(texts::NoLegalGame);
    QList<int> pointless;
    for (const IllegalMove& fault : found.illegal) {
        if (fault.reason == IllegalMove::NoPoint)
            pointless.append(fault.move);
    }
    const int highest = highestOnBoard(rec);
    const int total = tryToInteger(f.souTesuu).value_or(0);
    if (!pointless.isEmpty() && total > highest && pointless.last() > highest)
        f.logLine(messages::totalCauseLine(total, highest));
    else if (!pointless.isEmpty())
        f.logLine(messages::missingStoneCauseLine(pointless));
    else if (!found.illegal.isEmpty())
        f.logLine(texts::CauseWrongPoint);
    for (const IllegalMove& fault : found.illegal) {
        if (fault.reason != IllegalMove::NoPoint)
            f.logLine(faultLine(rec, fault));
    }
}

} // namespace

void fillCandidatePlaces(Form& f, const std::atomic<bool>* stop)
{
    f.logLine(texts::CandidateStart);
    const Replay rec = replayOf(f);
    const Inference found = infer(rec, DefaultBudget, stop);
    if (found.cancelled)
        return;
    // Without a legal game no place is better than another: the cause is what helps.
    if (found.contradicts) {
        reportContradiction(f, rec, found);
        f.logLine(texts::CandidateDone);
        return;
    }
    for (const IllegalMove& fault : found.illegal)
        f.logLine(faultLine(rec, fault));
    if (found.stopped)
        f.logLine(texts::CandidateStopped);
    int filled = 0;
    for (const OpenMove& m : found.open) {
        if (m.row == 0)
            continue;
        if (m.certain && !placeOf(rec, m.candidates.front()).isEmpty()) {
            const int point = m.candidates.front();
            f.stringGrid2.at(1, m.row) = placeOf(rec, point);
            f.logLine(messages::placeFilledLine(m.move, choiceText(rec, point)));
            ++filled;
            continue;
        }
        if (m.candidates.isEmpty()) {
            f.logLine(messages::noPlaceLine(m.move));
            continue;
        }
        QStringList choices;
        for (int point : m.candidates)
            choices.append(choiceText(rec, point));
        f.logLine(messages::placesOpenLine(m.move, choices));
    }
    if (found.stopped && filled == 0)
        f.logLine(texts::CandidateStoppedAdvice);
    f.logLine(texts::CandidateDone);
}

QHash<int, QList<PlaceChoice>> candidatePlacesByRow(const Form& f, const std::atomic<bool>* stop)
{
    const Replay rec = replayOf(f);
    QHash<int, QList<PlaceChoice>> out;
    for (const OpenMove& m : infer(rec, DefaultBudget, stop).open) {
        if (m.row == 0)
            continue;
        QList<PlaceChoice>& choices = out[m.row];
        for (int point : m.candidates) {
            const QString place = placeOf(rec, point);
            if (!place.isEmpty())
                choices.append({place, columnOf(point), rowOf(point)});
        }
    }
    return out;
}

QList<PlaceChoice> candidatePlaces(const Form& form, int row, const std::atomic<bool>* stop)
{
    if (row < 1 || row > MoveList::LastRow)
        return {};
    Form f = form;
    f.stringGrid2.at(1, row).clear();
    return candidatePlacesByRow(f, stop).value(row);
}

void choosePlace(Form& f, int row, const PlaceChoice& choice)
{
    f.stringGrid2.at(1, row) = choice.place;
    const QString chosen = messages::placeWithPoint(choice.place, choice.x, choice.y);
    f.logLine(messages::placeChosenLine(f.stringGrid2.at(0, row), chosen));
}
