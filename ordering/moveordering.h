#pragma once

#include <QList>

class Ui;
struct Form;

// The move ordering, which Save and the rules of Go both build on: the board and both lists
// into MoveTable, the point of each move.

// Clears MoveTable and fills it from the board, StringGrid1 and StringGrid2, as the ordering
// does once the board has passed the input-data check. Rows and cells whose numbers have no
// entry in the table are passed over.
void fillMoveTable(Form& f);
// Tidies both lists and runs the input-data check, then fills MoveTable; true when the check
// found faults, and the table is left as it was.
bool ZyunRetuStrKihu(Form& f);

// The highest move of MoveTable with a point; 0 when none has one.
int highestPlacedMove(const Form& f);
// The moves below the highest one with a point that have none, in ascending order.
QList<int> unplacedMoves(const Form& f);
// Logs every move below the highest one that has no point; true when there was one.
bool ZyunRetuKihuKakunin(Form& f, Ui& ui);
