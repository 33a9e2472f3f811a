#pragma once

#include <QString>

// The log lines and box texts that more than one routine shows, each built here only.
namespace messages {

// "横3縦4": a point as the log names it.
QString pointName(int x, int y);
// A cell's trimmed text and what is wrong with it (one of the fault texts).
QString cellValueLine(int x, int y, const QString& text, const QString& problem);
// Two cells holding the same text, named from the first one's side.
QString duplicateLine(int x, int y, const QString& text, int otherX, int otherY, const QString& otherText);
// A list row's move number and place, and what is wrong with them.
QString listRowLine(const QString& moveNumber, const QString& place, const QString& problem);
// A move below the highest one that has no point.
QString gapLine(int move);
QString gapBox();
// Moves missing from the record that did not fit in the list of missing numbers.
QString notListedLine(qint64 count);

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

// Paths below are as they are shown.
// The lines that tell where the previous version of a saved file now is; head names it.
QString backupNote(const QString& head, const QString& backup);
// A save that went through; note is a backup note or empty.
BoxAndLog saved(const QString& path, const QString& note);
// A save that failed moving the earlier file aside (backupStage) or writing the new one.
BoxAndLog saveFailed(bool backupStage, const QString& path, const QString& reason);
// Save refused: the input-data or the gap check found faults.
BoxAndLog invalidData();

} // namespace messages
