#pragma once

#include "entry/figurenumbering.h"

#include <QString>

#include <atomic>

class Notices;
class Ui;
struct Form;

namespace diagram {
struct Result;
}

// A picture of the next figure of a game, put onto the record that holds the figures before:
// its stones without numbers are checked against the position the record's moves leave,
// its numbering is inferred, and each numbered move goes where a typed one would, into its
// empty cell or, on a taken point, into StringGrid2 with the label shown on that point. The
// total becomes the figure's last move, and every point at odds is in doubt, as after a first
// picture. `caption`, when given, stands for the range the figure's caption names, in place
// of the one the reading gives. Asks nothing: it only logs, and moves the focus.
// Once `stop` is set it ends early, leaving the record half done: the caller drops it.
void enterNextFigure(Form& f, Notices& ui, const diagram::Result& result, const QString& source,
                     const CaptionRange& caption = {}, const std::atomic<bool>* stop = nullptr);
