#pragma once

class QMenu;
class QWidget;
class TForm1;

// F5 and the context menu of StringGrid2: the places of the missing moves from the rules of Go.
void bindCandidatePlaces(TForm1& w);

// The context menu for a row of StringGrid2: the fill of every certain place, then, on a row
// with a move number, the places the rules allow for it.
QMenu* candidateMenu(TForm1& w, int row, QWidget* parent);
