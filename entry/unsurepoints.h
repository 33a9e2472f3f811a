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
// A cell of a read record was left: typed into, it has been looked at; and the total the
// reading gave follows the board unless the operator typed another.
void pointLeft(Form& f, const CellPos& p, bool changed);
// The key that goes to the next point in doubt after the focused cell, in scan order, round
// to the first. Nothing happens when none is left.
void nextUnsurePoint(Form& f, Ui& ui);
