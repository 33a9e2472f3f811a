#pragma once

#include <QChar>
#include <QString>

class Notices;
class Ui;
struct CellPos;
struct Form;

// A cell gained the focus: remember it and highlight it.
void Derutoki(Form& f, const QString& focusedName);
// The cell named in ControlMei was left: normalise, offset, colour and check its entry.
void NyuuRyokuGo(Form& f, Ui& ui);
// The same for a cell of a read record; `confirmed` when the operator said with Enter that the
// point was looked at.
void leaveCell(Form& f, Ui& ui, bool confirmed);
// What leaving the cell at pos does to its text and look, without the duplicate and digit
// checks: a caller that fills many cells reports those once for the whole board. False when
// the entry became a handicap label or was refused, which those checks pass over.
bool storeLeftCell(Form& f, Notices& ui, const CellPos& pos, const QString& textOnEnter);
// A character typed into a cell. Returns true when it is swallowed (Enter moves on).
bool Edit_KeyPress(Form& f, Ui& ui, QChar key);
// Keeps only a non-zero whole number in the offset box.
void txtPulsChange(Form& f);
// The first player was chosen: recolours the board.
void RadioGroup1Click(Form& f);
// Colours every numbered cell by the first player.
void IroKakunin(Form& f);
