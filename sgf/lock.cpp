#include "sgf/lock.h"

#include "board/colours.h"
#include "board/form.h"
#include "board/limits.h"
#include "board/texts.h"

namespace {

void lock(Form& f)
{
    for (Cell& c : f.cells) {
        // A loaded move retyped since the release, or one left from an earlier file, locks again.
        if (c.tag == CellOrigin::LoadedMove && !c.text.isEmpty())
            c.enabled = false;
    }
    f.stringGrid1.enabled = false;
    f.stringGrid1.background = colours::LockedList;
    f.logLine(texts::LockCaption);
}

void release(Form& f)
{
    for (Cell& c : f.cells) {
        if (c.tag == CellOrigin::LoadedMove) {
            c.enabled = true;
            // Opening set only the background; the number must stand out on it once editable.
            if (c.background == colours::Black)
                c.textColour = colours::White;
            else if (c.background == colours::White)
                c.textColour = colours::Black;
        }
        // Star points too end up board-coloured.
        if (c.text.isEmpty()) {
            c.enabled = true;
            c.background = colours::Board;
        }
    }
    f.stringGrid1.enabled = true;
    f.stringGrid1.background = colours::White;
    f.logLine(texts::Unlocked);
}

} // namespace

void cmdLockKaizyo2Click(Form& f)
{
    if (f.lockPressed)
        lock(f);
    else
        release(f);
}
