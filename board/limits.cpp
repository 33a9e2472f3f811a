#include "board/limits.h"

#include "board/conversions.h"
#include "board/form.h"

bool isHandicapLabel(const QString& text)
{
    return text.startsWith(HandicapMark);
}

qint64 nextHandicapNumber(const Form& f)
{
    qint64 next = 1;
    for (const Cell& c : f.cells) {
        if (!isHandicapLabel(c.text))
            continue;
        const auto k = tryToInteger(c.text.mid(1));
        if (k && *k >= next)
            next = qint64(*k) + 1;
    }
    return next;
}
