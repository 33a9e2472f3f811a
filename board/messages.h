#pragma once

#include <QString>
#include <QByteArray>
#include <QList>
#include <QStringList>

// Every box text and log line that is more than one of the program's texts, each built here
// only, so that the handlers and the tests share one wording.
namespace messages {

// "横3縦4": a point as the log names it.
QString pointName(int x, int y);
// A cell's trimmed text and what is wrong with it (one of the fault texts).
QString cellValueLine(int x, int y, const QString& text, const QString& problem);
// Two cells holding the same text, named from the first one's side.
QString duplicateLine(int x, int y, const QString& text, int otherX, int otherY, const QString& otherText);
// A list row's move number and place, and what is wrong with them.
QString listRowLine(const QString& moveNumber, const QString& place, const QString& problem);
// A list row as the log names it, by its move number.
QString listRowName(const QString& moveNumber);
// A move below the highest one that has no point.
QString gapLine(int move);
QString gapBox();
// Moves missing from the record that did not fit in the list of missing numbers.
QString notListedLine(qint64 count);
// Moves of an opened file the board cannot hold: numbered past three digits, or on taken
// points beyond the list's rows.
QString pastMostDigitsLine(qint64 count);
QString pastListRowsLine(qint64 count);

// A box and the log entry that goes with it; the log text carries its own line ends only
// where it takes more than one line.
struct BoxAndLog {
    QString box;
    QString log;
};
// A typed number that another cell already holds, at (otherX, otherY).
BoxAndLog duplicateEntry(const QString& text, int otherX, int otherY);
// A typed number of more digits than a move number has.
BoxAndLog tooManyDigits(const QString& text);
// A file that could not be read; path as it is shown.
BoxAndLog readFailed(const QString& path, const QString& reason);

// Asked before New throws the record away.
QString newConfirm();
// Asked, and logged, before the program ends.
BoxAndLog quitQuestion();

// Find a move: the question for target, naming the log where the log is shown, and the
// log line of what was found.
QString searchBox(const QString& target, bool namesLog);
QString searchFoundLine(const QString& target, int x, int y);
QString searchNotFoundLine(const QString& target);

// Asked before a file is opened: keep the file's text, or edit its moves.
QString openModeQuestion();
// A file without the marker of the program that wrote the dialect, asked about before it is read.
BoxAndLog notMultiGo();
// The highest move number among the moves read from a file.
QString highestLoadedLine(int move);

// Places of the missing moves found by the rules of Go. A place with its point: "ab（横1縦2）".
QString placeWithPoint(const QString& place, int x, int y);
QString placeFilledLine(int move, const QString& choice);
QString noPlaceLine(int move);
QString placesOpenLine(int move, const QStringList& choices);
QString placeChosenLine(const QString& moveNumber, const QString& choice);
// A move the rules of Go forbid at (x, y); fault is one of the Illegal texts, and suspects
// the entries that may be typos.
QString illegalMoveLine(int x, int y, int move, const QString& fault, const QStringList& suspects);
// A missing move for which no point is left.
QString noPointLine(int move);
// Why no legal game was found: the total beyond the board's highest number, moves with no
// point left, or a number on the wrong point.
QString totalCauseLine(int total, int highest);
QString missingStoneCauseLine(const QList<int>& moves);

// Paths below are as they are shown.
// The line that logs a file being opened.
QString openLine(const QString& path);
// The title over the board while a file is being edited.
QString editingTitle(const QString& path);
// Asked before saving; path is empty for a record that has no file yet.
QString saveConfirm(const QString& path);
// Why a file is shorter than the text written to it.
QString shortWrite(qint64 size, qint64 written);
// The lines that tell where the previous version of a saved file now is; head names it.
QString backupNote(const QString& head, const QString& backup);
// A save that went through; note is a backup note or empty.
BoxAndLog saved(const QString& path, const QString& note);
// A save that failed moving the earlier file aside (backupStage) or writing the new one.
BoxAndLog saveFailed(bool backupStage, const QString& path, const QString& reason);
// Save refused: the input-data or the gap check found faults.
BoxAndLog invalidData();

// Reading a diagram from a picture; source is the file as it is shown, or the clipboard.
// Asked before a picture replaces the record.
QString pictureConfirm();
// A picture read: its source and the highest number on it.
QString pictureReadLine(const QString& source, int highest);
// A point whose reading is in doubt, with the text it was typed as.
QString unsureReadLine(int x, int y, const QString& text);
// A picture that could not be read, and why.
BoxAndLog pictureFailed(const QString& source, const QString& reason);
// The next figure of a game: the question before it is read onto the record, its log line,
// the line that says how its numbers were read, and a point at odds with the figures before.
QString figureQuestion();
QString figureReadLine(const QString& source, int first, int last);
QString figureNoNumbersLine(const QString& source);
QString figureNumberingLine(int printedLow, int printedHigh, int first, int last, const QString& style,
                            const QString& otherStyle, int otherLow);
QString figureMismatchLine(int x, int y, const QString& shown, const QString& before);
QString figureEarlierMoveLine(int x, int y, const QString& shown);
// A note beside the diagram that placed a listed move, or was not used for the reason given.
QString noteFilledLine(int move, const QString& place);
QString noteUnusedLine(int move, const QString& place, const QString& reason);

// Files from other programs.
// Why a move of an opened file cannot go on the board: number and property ("B[zz]").
QString unreadableMove(int move, const QByteArray& property);
QString notNineteen(const QByteArray& size);
QString notGo(const QByteArray& game);
// The items of what the board of an opened file cannot show, or edit mode does not save.
QString passItem(const QList<int>& moves);
QString setupItem(int nodes);
QString whiteStonesItem(int stones);
QString otherGamesItem(int games);
QString unplacedItem(int moves);
// Kept in the file, not on the board: an information box and one log line per item.
BoxAndLog notShown(const QStringList& items);
// Not saved in edit mode: asked before the file is laid on the board, one log line per item.
BoxAndLog dropped(const QStringList& items);
// Keep mode: a typed move with a number that the loaded main line has, and the first free one.
QString loadedNumber(int move, int next);
BoxAndLog spliceFailed(const QString& path, const QString& reason);
// A file that ends inside a value; keep mode can save it only as it was.
BoxAndLog cutShort(bool keepMode);
// A file that goes on after the NUL byte that ended its text.
BoxAndLog textAfterNul(bool keepMode);
// A typed number that the opened file's main line holds as a pass: edit mode saves the
// point instead of the pass, keep mode takes new moves from next on.
BoxAndLog passEntry(const QString& text, bool editMode, int next);

} // namespace messages
