#include "entry/keyboard.h"

#include "board/cellname.h"
#include "board/form.h"
#include "board/go.h"
#include "board/ui.h"

#include <algorithm>
#include <optional>

namespace {

struct Step {
    int dx = 0;
    int dy = 0;
};

std::optional<Step> arrowStep(int key)
{
    switch (key) {
    case vk::Left:
        return Step{-1, 0};
    case vk::Right:
        return Step{1, 0};
    case vk::Up:
        return Step{0, -1};
    case vk::Down:
        return Step{0, 1};
    default:
        return std::nullopt;
    }
}

// 1..BoardSize, leaving one edge of the board for the other.
int wrap(int v)
{
    return (v + go::BoardSize - 1) % go::BoardSize + 1;
}

CellPos advance(const CellPos& p, const Step& s)
{
    return CellPos{wrap(p.x + s.dx), wrap(p.y + s.dy)};
}

void moveDown(MoveList& list, int key, bool modifiers)
{
    if (key != vk::Return || modifiers)
        return;
    // The last row has nowhere further to go.
    list.currentRow = std::min(list.currentRow + 1, int(MoveList::LastRow));
}

} // namespace

void EditKeyDown(Form& f, Ui& ui, const QString& focusedName, int key, bool modifiers)
{
    if (modifiers)
        return;
    const auto step = arrowStep(key);
    const auto start = cellOfName(focusedName);
    if (!step || !start)
        return;
    CellPos p = advance(*start, *step);
    while (!f.cell(p.x, p.y).enabled && (p.x != start->x || p.y != start->y))
        p = advance(p, *step);
    // Every other cell of the line is locked: the focus stays, and the cell is not left.
    if (p.x == start->x && p.y == start->y)
        return;
    ui.setFocus(cellName(p.x, p.y));
}

void StringGrid1KeyDown(Form& f, int key, bool modifiers)
{
    moveDown(f.stringGrid1, key, modifiers);
}

void StringGrid2KeyDown(Form& f, int key, bool modifiers)
{
    moveDown(f.stringGrid2, key, modifiers);
}
