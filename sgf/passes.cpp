#include "sgf/passes.h"

#include "board/form.h"
#include "board/limits.h"
#include "sgf/loadedgame.h"

void addLoadedPasses(Form& f)
{
    // A reading's passes come from its notes; it has no file.
    for (const int pass : f.loadedPasses) {
        if (pass >= 1 && pass <= HighestMove && f.moveTable[size_t(pass)].isEmpty())
            f.moveTable[size_t(pass)] = PassEntry;
    }
    if (f.gameInfo.isEmpty() || f.loadedLines.isEmpty())
        return;
    for (const LoadedMove& m : loadedGameOf(f.loadedLines).moves) {
        if (m.pass && m.number <= HighestMove && f.moveTable[size_t(m.number)].isEmpty())
            f.moveTable[size_t(m.number)] = PassEntry;
    }
}
