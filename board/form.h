#pragma once

#include "board/buildkind.h"
#include "board/colours.h"
#include "board/record.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

// One intersection of the board.
struct Cell {
    QString text;
    Rgb background = colours::Board;
    Rgb textColour = colours::Black;
    bool enabled = true;
    CellOrigin tag = CellOrigin::Typed;
};

// A two-column list of 500 rows; row 0 is the header, column 0 the move number.
struct MoveList {
    static constexpr int Rows = ListRows;
    static constexpr int LastRow = LastListRow;

    QString& at(int column, int row) { return cells[size_t(row)][size_t(column)]; }
    const QString& at(int column, int row) const { return cells[size_t(row)][size_t(column)]; }

    std::array<std::array<QString, 2>, Rows> cells;
    bool shown = true;
    bool enabled = true;
    Rgb background = colours::White;
    int currentRow = 1;
    int currentColumn = 1;
};

// The record and every piece of window state that a handler reads or writes. The window
// copies typed text in before a handler and shows this after it.
struct Form {
    explicit Form(const BuildKind& kind = BuildKind::standard());

    Cell& cell(int x, int y) { return cells[size_t((y - 1) * 19 + (x - 1))]; }
    const Cell& cell(int x, int y) const { return cells[size_t((y - 1) * 19 + (x - 1))]; }
    // The cell a control name stands for, or nullptr.
    Cell* cellNamed(const QString& name);

    // Appends to the log as it stands; an entry carries its own line ends.
    void log(const QString& entry) { memo += entry; }
    // Appends a message and CR LF.
    void logLine(const QString& message) { memo += message + CrLf; }
    void clearLog()
    {
        memo.clear();
        ++memoClears;
    }

    const BuildKind* kind;

    std::array<Cell, 361> cells;
    MoveList stringGrid1;
    MoveList stringGrid2;

    QString souTesuu;
    QString txtPuls;
    QString txtKensaku;
    int radioGroup1 = 0;
    bool lockPressed = true;
    bool lockShown = false;

    QString caption;
    QString lblHyoudai;
    bool lblOkiisiShown = true;

    QString memo;
    // Counts every emptying of the log, so that the window knows to start its copy afresh.
    int memoClears = 0;

    // Entry 0 is unused.
    std::array<QString, HighestMove + 1> moveTable;
    QString currentFileName;
    QList<QByteArray> loadedLines;
    QList<QByteArray> outputLines;
    int firstMoveLine = 0;
    int tailLine = 0;
    int loadedNodeCount = 0;
    QString cellTextOnEnter;
    QString controlMei;
    // Bytes of the opened file, never transcoded.
    QByteArray gameInfo;
    QByteArray sankouZu;
};

// Writes the two column captions into row 0.
void writeListHeader(MoveList& list);

void DataClear(Form& f);
void StringGridClear(Form& f);
void StringGrid2Clear(Form& f);
void StringGrid1Seibi(Form& f);
void StringGrid2Seibi(Form& f);

// Board colour or, on a star point, yellow.
Rgb emptyColour(int x, int y);
