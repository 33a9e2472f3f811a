#pragma once

#include <QList>

class Ui;
struct Form;

// Fills MoveTable from the board and both lists; true when the input-data check found faults.
bool ZyunRetuStrKihu(Form& f);
// The moves below the highest one with a point that have none, in ascending order.
QList<int> unplacedMoves(const Form& f);
// Logs every move below the highest one that has no point; true when there was one.
bool ZyunRetuKihuKakunin(Form& f, Ui& ui);
