#include "checks/search.h"

#include "board/cellname.h"
#include "board/conversions.h"
#include "board/form.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/ui.h"

#include <optional>

namespace {

// Exact text, no conversion: the last match in board scan order wins.
std::optional<CellPos> findLast(const Form& f, const QString& target)
{
    std::optional<CellPos> found;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            if (f.cell(x, y).text == target)
                found = CellPos{x, y};
        }
    }
    return found;
}

} // namespace

void cmdKensakuClick(Form& f, Ui& ui)
{
    const QString target = f.txtKensaku;
    if (!isInteger(target))
        return;
    // Where the log is hidden, the box does not point the operator to it.
    const QString question = messages::searchBox(target, f.kind->searchBoxNamesLog);
    if (ui.ask(BoxKind::Information, question, BoxButtons::OkCancel) == Answer::Cancel)
        return;
    const auto found = findLast(f, target);
    if (!found) {
        f.logLine(messages::searchNotFoundLine(target));
        return;
    }
    f.logLine(messages::searchFoundLine(target, found->x, found->y));
    // A locked cell cannot take the focus; the log line is all the operator gets.
    if (f.cell(found->x, found->y).enabled)
        ui.setFocus(cellName(found->x, found->y));
}
