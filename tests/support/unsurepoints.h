#pragma once

#include "board/form.h"
#include "board/go.h"
#include "entry/unsurepoints.h"

#include <QStringList>

// The points of a record in doubt, as "x,y", in scan order.
inline QStringList unsureOf(const Form& f)
{
    QStringList out;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            if (isUnsurePoint(f, {x, y}))
                out << QStringLiteral("%1,%2").arg(x).arg(y);
        }
    }
    return out;
}
