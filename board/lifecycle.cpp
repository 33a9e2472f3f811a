#include "board/lifecycle.h"

#include "board/form.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/texts.h"
#include "board/ui.h"

void FormCreate(Form& f)
{
    f.clearLog();
    writeListHeader(f.stringGrid1);
    writeListHeader(f.stringGrid2);
    f.loadedLines.clear();
    f.outputLines.clear();
    f.radioGroup1 = go::FirstPlayer::Black;
    f.lockShown = false;
}

namespace {

// Both Quit and the close button ask the same question after logging it.
bool confirmQuit(Form& f, Ui& ui)
{
    const messages::BoxAndLog m = messages::quitQuestion();
    f.logLine(m.log);
    return ui.ask(BoxKind::Confirm, m.box, BoxButtons::OkCancel) != Answer::Cancel;
}

} // namespace

bool FormClose(Form& f, Ui& ui)
{
    if (!confirmQuit(f, ui))
        return false;
    ui.quit();
    return true;
}

void FormDestroy(Form& f)
{
    f.loadedLines.clear();
    f.outputLines.clear();
}

void startNewRecord(Form& f)
{
    DataClear(f);
    f.lockShown = false;
    f.lblHyoudai = texts::TitleNewRecord;
    f.lblOkiisiShown = true;
}

void cmdNewClick(Form& f, Ui& ui)
{
    if (ui.ask(BoxKind::Confirm, messages::newConfirm(), BoxButtons::OkCancel) == Answer::Cancel)
        return;
    startNewRecord(f);
    f.logLine(texts::NewLog);
}

void cmdShuuryouClick(Form& f, Ui& ui)
{
    if (confirmQuit(f, ui))
        ui.quit();
}
