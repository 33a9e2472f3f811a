#include "checks/search.h"

#include "board/cellname.h"
#include "board/conversions.h"
#include "board/form.h"
#include "board/record.h"
#include "board/texts.h"
#include "board/ui.h"

#include <optional>

namespace {

const QString BoxIndent = QStringLiteral("    ");

QString searchBoxText(const Form& f, const QString& target)
{
    QString text = texts::SearchBox + BoxIndent + target + texts::Te + CrLf;
    // Where the log is hidden, the box does not point the operator to it.
    if (f.kind->searchBoxNamesLog)
        text += CrLf + texts::SearchResultHint + CrLf;
    return text;
}

// Exact text, no conversion: the last match in board scan order wins.
std::optional<CellPos> findLast(const Form& f, const QString& target)
{
    std::optional<CellPos> found;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
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
    if (ui.ask(BoxKind::Information, searchBoxText(f, target), BoxButtons::OkCancel) == Answer::Cancel)
        return;
    const auto found = findLast(f, target);
    if (!found) {
        f.logLine(texts::SearchNotFound + target + texts::Te);
        return;
    }
    f.logLine(texts::SearchFound + target + texts::SearchTe + texts::Yoko + QString::number(found->x) + texts::Tate
              + QString::number(found->y));
    // A locked cell cannot take the focus; the log line is all the operator gets.
    if (f.cell(found->x, found->y).enabled)
        ui.setFocus(cellName(found->x, found->y));
}
