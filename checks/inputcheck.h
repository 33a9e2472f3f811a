#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

struct Form;

// What is wrong with a cell's number or a list row.
enum class InputFaultKind {
    NotDigits,
    AboveTotal,
    BeyondTable, // a number above the move table, which a larger total lets through
    ZeroOrLess,
    Duplicate,
    NoMoveNumber,
    PlaceNotOnBoard,
};

// A fault at a cell names the cell and its trimmed text, a duplicate also the other cell; a
// fault in a list row names the row's move number and its place.
struct InputFault {
    InputFaultKind kind = InputFaultKind::NotDigits;
    bool inList = false;
    int x = 0;
    int y = 0;
    QString text;
    int otherX = 0;
    int otherY = 0;
    QString moveNumber;

    bool operator==(const InputFault& o) const;
};

InputFault cellFault(InputFaultKind kind, int x, int y, const QString& text);
InputFault duplicateFault(int x, int y, const QString& text, int otherX, int otherY);
InputFault listRowFault(InputFaultKind kind, const QString& moveNumber, const QString& place);

Q_DECLARE_METATYPE(InputFault)

// Every fault of the board and both lists: the cells' values, then equal cells, then the rows
// of the loaded list and of the list being edited.
QList<InputFault> inputFaults(const Form& f);
// The log line of a fault.
QString inputFaultLine(const InputFault& fault);

// Logs every fault of the board; true when there was one.
bool NyuuryokuDataKakunin(Form& f);
