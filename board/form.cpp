#include "board/form.h"

#include "board/cellname.h"
#include "board/conversions.h"
#include "board/go.h"
#include "board/texts.h"

namespace {

void clearRows(MoveList& list)
{
    for (int r = 1; r < MoveList::Rows; ++r) {
        list.at(0, r).clear();
        list.at(1, r).clear();
    }
    // An emptied list starts again at its first row, so that the first place typed after the
    // next check stands beside the first number.
    list.currentRow = 1;
    list.currentColumn = 1;
}

void tidyPlaces(MoveList& list)
{
    for (int r = 1; r < MoveList::Rows; ++r)
        list.at(1, r) = widthAndCase(list.at(1, r));
}

} // namespace

Form::Form(const BuildKind& k)
    : kind(&k)
    , caption(k.caption)
    , lblHyoudai(texts::TitleNewInput)
    , memo(texts::MemoInitial)
    , sankouZu(texts::SankouZuInitial.toLatin1())
{
    for (int y = 1; y <= go::BoardSize; ++y)
        for (int x = 1; x <= go::BoardSize; ++x)
            cell(x, y).background = emptyColour(x, y);
    stringGrid1.shown = false;
    stringGrid1.background = colours::LockedList;
    writeListHeader(stringGrid1);
    writeListHeader(stringGrid2);
}

void writeListHeader(MoveList& list)
{
    list.at(0, 0) = texts::GridMoveHeader;
    list.at(1, 0) = texts::GridPlaceHeader;
}

Cell* Form::cellNamed(const QString& name)
{
    const auto pos = cellOfName(name);
    return pos ? &cell(pos->x, pos->y) : nullptr;
}

Rgb emptyColour(int x, int y)
{
    return isStarPoint(x, y) ? colours::Star : colours::Board;
}

void DataClear(Form& f)
{
    for (int x = 1; x <= go::BoardSize; ++x) {
        for (int y = 1; y <= go::BoardSize; ++y) {
            Cell& c = f.cell(x, y);
            c.background = emptyColour(x, y);
            c.text.clear();
            c.enabled = true;
        }
    }
    StringGridClear(f);
    StringGrid2Clear(f);
    f.gameInfo.clear();
    f.sankouZu.clear();
    f.clearLog();
    f.txtPuls.clear();
    writeListHeader(f.stringGrid1);
    f.radioGroup1 = go::FirstPlayer::Black;
    f.lockPressed = true;
    for (QString& entry : f.moveTable)
        entry.clear();
    f.currentFileName.clear();
    f.tailLine = 0;
    f.loadedLines.clear();
    f.outputLines.clear();
    f.loadedNodeCount = 0;
    f.loadedPasses.clear();
    f.textAfterNul = false;
    f.fromPicture = false;
    f.unsurePoints.fill(false);
    f.pairDoubts.fill(false);
    f.readTotal.clear();
    f.noteMoves.clear();
}

void StringGridClear(Form& f)
{
    clearRows(f.stringGrid1);
}

void StringGrid2Clear(Form& f)
{
    clearRows(f.stringGrid2);
}

void StringGrid1Seibi(Form& f)
{
    tidyPlaces(f.stringGrid1);
}

void StringGrid2Seibi(Form& f)
{
    tidyPlaces(f.stringGrid2);
}
