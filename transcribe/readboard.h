#pragma once

#include <QString>

#include <atomic>

class Notices;
class Ui;
struct Form;

namespace diagram {
struct Result;
}

// Puts a board read from a picture on the record in place of what it held, as if each point
// had been typed and left, and lists the missing numbers. `source` names the picture in the
// log and in the error box: its file, or the clipboard.
void readBoard(Form& f, Ui& ui, const diagram::Result& result, const QString& source);

// readBoard in two steps, for a window that does the second beside its event loop: the refusal
// of a failed reading, or the question before a record is replaced (false: stop here)...
bool confirmReading(Form& f, Ui& ui, const diagram::Result& result, const QString& source);
// The same for a window that can also read the picture as the next figure of the record's
// game: with a record on the board, Yes starts a new record and No reads the next figure.
// It is asked before the picture is read, and Enter keeps the record.
enum class PictureUse { None, NewRecord, NextFigure };
PictureUse askPictureUse(Form& f, Ui& ui);
// The refusal of a failed reading, in a box and the log; false for a reading stopped or refused.
bool readingTaken(Form& f, Ui& ui, const diagram::Result& result, const QString& source);
// ...then the board on the record, the notes and the places from the rules. Asks nothing: it
// only logs, and moves the focus.
// Once `stop` is set it ends early, leaving the record half done: the caller drops it.
void enterReading(Form& f, Notices& ui, const diagram::Result& result, const QString& source,
                  const std::atomic<bool>* stop = nullptr);

// A read record after a correction or a new total: the missing-number list is written again
// from the board, with no row left over from before, and each place stays beside its move.
void followReading(Form& f);
