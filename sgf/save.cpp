#include "sgf/save.h"

#include "board/conversions.h"
#include "board/form.h"
#include "board/messages.h"
#include "board/limits.h"
#include "board/texts.h"
#include "board/ui.h"
#include "ordering/moveordering.h"
#include "sgf/dialect.h"
#include "sgf/files.h"
#include "sgf/loadedgame.h"
#include "sgf/passes.h"

#include <algorithm>
#include <optional>

namespace {

void reportSaved(Form& f, Ui& ui, const QString& path, const QString& note)
{
    const messages::BoxAndLog m = messages::saved(shownPath(path), note);
    ui.inform(m.box);
    f.logLine(m.log);
}

void reportInvalidData(Form& f, Ui& ui)
{
    const messages::BoxAndLog m = messages::invalidData();
    ui.error(m.box);
    f.logLine(m.log);
}

// backupHead: the words that name the backup, as the success box of the same save has them.
void reportFileFailure(Form& f, Ui& ui, const QString& path, const WriteOutcome& outcome, const QString& backup,
                       const QString& backupHead)
{
    const messages::BoxAndLog m
        = messages::saveFailed(outcome.stage == WriteOutcome::BackupFailed, shownPath(path), outcome.reason);
    // Only when it could not be moved back does the previous version stand elsewhere.
    ui.error(outcome.backedUp ? m.box + messages::backupNote(backupHead, shownPath(backup)) : m.box);
    f.logLine(m.log);
}

// The comparison is case-sensitive, so KIFU.SGF becomes KIFU.SGF.sgf.
QString withSgfExtension(const QString& path)
{
    return path.endsWith(texts::SgfExtension, Qt::CaseSensitive) ? path : path + texts::SgfExtension;
}

void saveNewRecord(Form& f, Ui& ui, const WriteBytes& write)
{
    const std::optional<QString> chosen = ui.saveFileName();
    if (!chosen || chosen->isEmpty())
        return;
    const QString path = withSgfExtension(*chosen);
    const QString backup = fileExists(path) ? backupName(path) : QString();
    f.outputLines = buildFresh(fileContentOf(f));
    const WriteOutcome outcome = replaceFile(path, f.outputLines, backup, write);
    if (!outcome.ok()) {
        reportFileFailure(f, ui, path, outcome, backup, texts::BackupExists);
        return;
    }
    // Only a file that holds the record becomes its file: after a failure the next save asks
    // for a name again instead of failing on the same one.
    f.currentFileName = path;
    f.lblHyoudai = messages::editingTitle(shownPath(path));
    const QString note = outcome.backedUp ? messages::backupNote(texts::BackupExists, shownPath(backup)) : QString();
    reportSaved(f, ui, path, note);
}

// A splice adds only the moves after the loaded ones: a typed move numbered among them, or
// a loaded one placed elsewhere, would be lost. The first such number; 0 when there is none.
int moveSpliceWouldLose(const FileContent& r)
{
    if (!r.loaded)
        return 0;
    const int shared = std::min(r.loadedNodeCount, int(r.moves.size()));
    for (int k = 1; k <= shared && k <= r.loaded->moves.size(); ++k) {
        const LoadedMove& m = r.loaded->moves[k - 1];
        const QByteArray point = m.pass ? PassEntry.toLatin1()
                                        : QByteArray(1, letterOf(m.x).toLatin1()) + letterOf(m.y).toLatin1();
        if (r.moves[k - 1] != point)
            return k;
    }
    return 0;
}

void saveRecordWithFile(Form& f, Ui& ui, const QString& backup, const WriteBytes& write)
{
    // Keep mode hides the lock; its file's text is kept when Open found where its main line ends.
    const bool splice = !f.lockShown && f.tailLine >= 1;
    const FileContent record = fileContentOf(f);
    if (splice) {
        // A text that ends inside a value has no place for new moves: they would land in it.
        const bool cutShort = record.loaded && record.loaded->cutShort && record.moves.size() > record.loadedNodeCount;
        const bool refused = cutShort || f.textAfterNul;
        if (const int lost = refused ? 0 : moveSpliceWouldLose(record); lost || refused) {
            const QString reason = f.textAfterNul ? texts::NulNoSplice
                : cutShort                        ? texts::CutShortNoSplice
                                                  : messages::loadedNumber(lost, record.loadedNodeCount + 1);
            const messages::BoxAndLog m = messages::spliceFailed(shownPath(f.currentFileName), reason);
            ui.error(m.box);
            f.logLine(m.log);
            return;
        }
    }
    f.outputLines = splice ? buildSpliced(record) : buildRebuilt(record);
    const QString path = f.currentFileName;
    const WriteOutcome outcome = replaceFile(path, f.outputLines, backup, write);
    if (!outcome.ok()) {
        reportFileFailure(f, ui, path, outcome, backup, texts::BackupBefore);
        return;
    }
    // A file removed since it was opened leaves no earlier version to name.
    const QString note = outcome.backedUp ? messages::backupNote(texts::BackupBefore, shownPath(backup)) : QString();
    reportSaved(f, ui, path, note);
}

// The ordering, with the opened file's passes, and the gap check; true when either found a fault.
bool orderMoves(Form& f, Ui& ui)
{
    if (ZyunRetuStrKihu(f))
        return true;
    addLoadedPasses(f);
    return ZyunRetuKihuKakunin(f, ui);
}

} // namespace

void Hozon(Form& f, Ui& ui, const WriteBytes& write)
{
    const bool hasFile = !f.currentFileName.isEmpty();
    const QString backup = hasFile ? backupName(f.currentFileName) : QString();
    const QString question = messages::saveConfirm(hasFile ? shownPath(f.currentFileName) : QString());
    if (ui.ask(BoxKind::Confirm, question, BoxButtons::OkCancel) == Answer::Cancel)
        return;
    if (orderMoves(f, ui)) {
        reportInvalidData(f, ui);
        return;
    }
    f.outputLines.clear();
    if (hasFile)
        saveRecordWithFile(f, ui, backup, write);
    else
        saveNewRecord(f, ui, write);
}

void cmdSaveClick(Form& f, Ui& ui)
{
    Hozon(f, ui);
}
