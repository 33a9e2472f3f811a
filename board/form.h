#pragma once

#include "board/buildkind.h"
#include "board/colours.h"
#include "board/go.h"
#include "board/limits.h"

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

    Cell& cell(int x, int y) { return cells[size_t(go::pointOf(x, y))]; }
    const Cell& cell(int x, int y) const { return cells[size_t(go::pointOf(x, y))]; }
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

    // Standard or small screen; chosen by each program's main.
    const BuildKind* kind;

    // The board, row by row from the top left: the cell of column x, row y is cell(x, y).
    std::array<Cell, go::Points> cells;
    // The loaded moves that fell on occupied points: move number and the stone they fell on.
    MoveList stringGrid1;
    // The missing numbers being placed: move number and the stone the operator names.
    MoveList stringGrid2;

    // The total number of moves, as typed.
    QString souTesuu;
    // The offset added to a number typed into a cell.
    QString txtPuls;
    // The text the search looks for on the board.
    QString txtKensaku;
    // The first player, as the radio group's item index.
    go::FirstPlayer radioGroup1 = go::FirstPlayer::Black;
    // The lock toggle: pressed while the loaded moves are locked.
    bool lockPressed = true;
    // Shown in edit mode only; a hidden toggle after Open makes Save splice the file.
    bool lockShown = false;

    // The window's caption.
    QString caption;
    // The title line: new record, new input, or the file being edited.
    QString lblHyoudai;
    // The hint on typing "B" for a handicap stone; hidden once a file is opened.
    bool lblOkiisiShown = true;

    // The log, with the CR LF of each line.
    QString memo;
    // Counts every emptying of the log, so that the window knows to start its copy afresh.
    int memoClears = 0;

    // The SGF point of each move, filled by the ordering; entry 0 is unused.
    std::array<QString, HighestMove + 1> moveTable;
    // The file Save writes to: the one opened or last saved.
    QString currentFileName;
    // The opened file's lines, kept for a rebuild or splice save.
    QList<QByteArray> loadedLines;
    // The lines Save builds and writes.
    QList<QByteArray> outputLines;
    // The first loaded line holding ";", where the moves begin; 0 when none does.
    int firstMoveLine = 0;
    // One past the loaded line holding the main line's ")"; 0 when there is none.
    int tailLine = 0;
    // The nodes read from the opened file's main line.
    int loadedNodeCount = 0;
    // The focused cell's text when it gained the focus: an unchanged entry takes no offset.
    QString cellTextOnEnter;
    // The name of the cell that has the focus, "Edit<x>_<y>".
    QString controlMei;
    // The opened file goes on after the NUL byte that ended its text: keep mode, which writes
    // the text back, would lose the rest.
    bool textAfterNul = false;
    // The passes of the opened file's main line, or that sure notes of a reading give: numbers
    // taken that no cell shows.
    QList<int> loadedPasses;
    // The opened file's header, and the line after its main line. Bytes, never transcoded.
    QByteArray gameInfo;
    QByteArray sankouZu;

    // A board read from a picture, until the record is next cleared: its points in doubt are
    // marked on the board and the picture is shown beside it. A typed record has none of it.
    bool fromPicture = false;
    // The points still to be looked at, row by row as the cells are.
    std::array<bool, go::Points> unsurePoints{};
    // Points put in doubt only because their number came to stand twice while the reading was
    // checked: the doubt goes again once the number stands once.
    std::array<bool, go::Points> pairDoubts{};
    // The total as the reading gave it; while SouTesuu holds it, it follows the board.
    QString readTotal;
    // The moves that sure notes beside the diagram give, played on earlier stones' points.
    QList<int> noteMoves;
};

// Writes the two column captions into row 0.
void writeListHeader(MoveList& list);

// Returns the record to a new one: board, lists, log, loaded file and move table.
void DataClear(Form& f);
// Empty the rows of StringGrid1, or of StringGrid2; the header row stays.
void StringGridClear(Form& f);
void StringGrid2Clear(Form& f);
// Tidy the places of StringGrid1, or of StringGrid2, to upper-case half-width text.
void StringGrid1Seibi(Form& f);
void StringGrid2Seibi(Form& f);

// Board colour or, on a star point, yellow.
Rgb emptyColour(int x, int y);
