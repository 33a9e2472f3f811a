#pragma once

#include <QList>

class Ui;
struct CellPos;
struct Form;

// The points of a board read from a picture that the operator still has to look at, and the
// total that the reading gives. Nothing here touches a typed record.

// The highest of `numbers` that the others lead up to. A number far above the rest, after a
// long run of numbers printed nowhere, is a misreading more often than a move: a game whose
// last moves were all played on taken points is told by its notes, not by a lone number.
int supportedHighest(QList<int> numbers);
// The cells whose numbers lie above the highest supported one.
QList<CellPos> outlyingCells(const Form& f);
// The total a reading gives: the highest supported number of the board, and after it the
// moves that sure notes give one after another. The last moves of a game may all have been
// played on taken points and be printed only in the notes; only notes that follow on count,
// so that a misread note cannot make the game hundreds of moves longer.
int readingTotal(const Form& f);

bool isUnsurePoint(const Form& f, const CellPos& p);
void markUnsurePoint(Form& f, const CellPos& p, bool unsure);
bool anyUnsurePoint(const Form& f);
// A reading is being checked: the record came from a picture and still holds points in doubt.
// Faults found meanwhile are marked and logged, never boxed, so the walk is not broken.
bool proofreading(const Form& f);
// The operator looked at the point and left it as it stands, or typed into it.
void confirmPoint(Form& f, const CellPos& p);
// The number of the cell at p stands twice, or has too many digits, while a reading is checked:
// each cell holding it is in doubt again, and is logged as leaving a typed cell logs it.
void markEntryFaults(Form& f, const CellPos& p);
// A point in doubt only for a number that stood twice is settled once it stands once.
void settlePairDoubts(Form& f);
// A cell of a read record was left: the total the reading gave follows the board unless the
// operator typed another.
void pointLeft(Form& f);
// The key that goes to the next point in doubt after the focused cell, in scan order, round
// to the first. Nothing happens when none is left.
void nextUnsurePoint(Form& f, Ui& ui);
// Enter on a point in doubt, once the cell was left: on to the next point in doubt, or on in
// the tab order once none is left.
void goOnFromDoubt(Form& f, Ui& ui);
