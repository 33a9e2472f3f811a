#pragma once

#include <QString>

class Ui;
struct Form;

namespace diagram {
struct Result;
}

// Puts a board read from a picture on the record in place of what it held, as if each point
// had been typed and left, and lists the missing numbers. `source` names the picture in the
// log and in the error box: its file, or the clipboard.
void readBoard(Form& f, Ui& ui, const diagram::Result& result, const QString& source);
