#include "sgf/passes.h"

#include "board/form.h"
#include "board/record.h"
#include "sgf/loadedgame.h"

void addLoadedPasses(Form& f)
{
    if (f.gameInfo.isEmpty() || f.loadedLines.isEmpty())
        return;
    for (const LoadedMove& m : loadedGameOf(f.loadedLines).moves) {
        if (m.pass && m.number <= HighestMove && f.moveTable[size_t(m.number)].isEmpty())
            f.moveTable[size_t(m.number)] = PassEntry;
    }
}
