#include "board/ui.h"

#include "board/texts.h"

Answer Ui::ask(BoxKind kind, const QString& text, BoxButtons buttons)
{
    return box(titleOf(kind), kind, text, buttons);
}

QString Notices::titleOf(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Warning:
        return texts::TitleWarning;
    case BoxKind::Error:
        return texts::TitleError;
    case BoxKind::Information:
        return texts::TitleInformation;
    case BoxKind::Confirm:
        break;
    }
    return texts::TitleConfirm;
}
