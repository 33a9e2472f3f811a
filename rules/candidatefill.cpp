#include "rules/candidatefill.h"

#include "board/form.h"
#include "board/messages.h"
#include "board/texts.h"
#include "rules/inference.h"
#include "rules/record.h"

using namespace rules;

namespace {

QString pointText(int point)
{
    return messages::pointName(columnOf(point), rowOf(point));
}

QString rowText(int move)
{
    return texts::ListRowPrefix + QString::number(move);
}

// The place that names a point, when the ordering would find that point by it.
QString placeOf(const Record& rec, int point)
{
    const QString& label = rec.labels[size_t(point)];
    return rec.pointNamed(label) == point ? label : QString();
}

QString choiceText(const Record& rec, int point)
{
    return rec.labels[size_t(point)] + texts::CandidatePoint.arg(columnOf(point)).arg(rowOf(point));
}

// A cell or list row that gave a move its point, as the input-data check names them.
QString sourceText(const Record& rec, int move, int point)
{
    const MoveSource& s = rec.sources[size_t(move)];
    switch (s.kind) {
    case MoveSource::Cell:
        return pointText(s.cell) + texts::InputValuePass1 + s.text;
    case MoveSource::LoadedRow:
    case MoveSource::EditingRow:
        return rowText(move) + texts::InputValuePass1 + s.text;
    case MoveSource::None:
        break;
    }
    // A handicap stone, or a move the search placed.
    if (move == 0)
        return pointText(point) + texts::InputValuePass1 + rec.labels[size_t(point)];
    return rowText(move);
}

QString faultLine(const Record& rec, const IllegalMove& fault)
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
        return rowText(fault.move) + texts::IllegalNoPoint;
    }
    suspects.removeDuplicates();
    return pointText(fault.point) + texts::IllegalMoveNumber + QString::number(fault.move) + line
        + texts::IllegalSuspects + suspects.join(texts::CandidateSeparator);
}

} // namespace

void fillCandidatePlaces(Form& f)
{
    f.logLine(texts::CandidateStart);
    const Record rec = recordOf(f);
    const Inference found = infer(rec);
    for (const IllegalMove& fault : found.illegal)
        f.logLine(faultLine(rec, fault));
    if (found.stopped)
        f.logLine(texts::CandidateStopped);
    for (const OpenMove& m : found.open) {
        if (m.row == 0)
            continue;
        const QString head = rowText(m.move);
        if (m.certain && !placeOf(rec, m.candidates.front()).isEmpty()) {
            const int point = m.candidates.front();
            f.stringGrid2.at(1, m.row) = placeOf(rec, point);
            f.logLine(head + texts::CandidatePlace + choiceText(rec, point) + texts::CandidateFilled);
            continue;
        }
        if (m.candidates.isEmpty()) {
            f.logLine(head + texts::CandidateNone);
            continue;
        }
        QStringList choices;
        for (int point : m.candidates)
            choices.append(choiceText(rec, point));
        f.logLine(head + texts::CandidateOpen + choices.join(texts::CandidateSeparator));
    }
    f.logLine(texts::CandidateDone);
}

QList<PlaceChoice> candidatePlaces(const Form& form, int row)
{
    if (row < 1 || row > MoveList::LastRow)
        return {};
    Form f = form;
    f.stringGrid2.at(1, row).clear();
    const Record rec = recordOf(f);
    QList<PlaceChoice> out;
    for (const OpenMove& m : infer(rec).open) {
        if (m.row != row)
            continue;
        for (int point : m.candidates) {
            const QString place = placeOf(rec, point);
            if (!place.isEmpty())
                out.append({place, columnOf(point), rowOf(point)});
        }
    }
    return out;
}

void choosePlace(Form& f, int row, const PlaceChoice& choice)
{
    f.stringGrid2.at(1, row) = choice.place;
    f.logLine(texts::ListRowPrefix + f.stringGrid2.at(0, row) + texts::CandidatePlace + choice.place
              + texts::CandidatePoint.arg(choice.x).arg(choice.y) + texts::CandidateChosen);
}
