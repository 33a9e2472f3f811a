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

} // namespace messages
