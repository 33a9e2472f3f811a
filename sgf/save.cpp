#include "sgf/save.h"

#include "board/form.h"
#include "board/record.h"
#include "board/texts.h"
#include "board/ui.h"
#include "sgf/dialect.h"
#include "sgf/files.h"
#include "sgf/ordering.h"

#include <optional>

namespace {

// The lines that tell the operator where the previous version of the file now is.
QString backupNote(const QString& head, const QString& backup)
{
    return CrLf + CrLf + head + CrLf + texts::SlashSlash + CrLf + texts::SlashIndent + backup + CrLf
        + texts::SlashSlash + CrLf + texts::SavedAs;
}

void reportSaved(Form& f, Ui& ui, const QString& path, const QString& note)
{
    ui.inform(texts::Saved + texts::FileNameLabel + shownPath(path) + note);
    f.logLine(texts::SavedLog + shownPath(path));
}

void reportInvalidData(Form& f, Ui& ui)
{
    ui.error(texts::InvalidBox1 + texts::InvalidBox2);
    f.logLine(texts::InvalidLog);
}

// backupHead: the words that name the backup, as the success box of the same save has them.
void reportFileFailure(Form& f, Ui& ui, const QString& path, const WriteOutcome& outcome, const QString& backup,
                       const QString& backupHead)
{
    const bool backupFailed = outcome.stage == WriteOutcome::BackupFailed;
    const QString reason = texts::ReasonLabel + outcome.reason;
    QString box = (backupFailed ? texts::BackupFailedBox : texts::WriteFailedBox) + texts::FileNameLabel
        + shownPath(path) + CrLf + CrLf + reason;
    // Only when it could not be moved back does the previous version stand elsewhere.
    if (outcome.backedUp)
        box += backupNote(backupHead, shownPath(backup));
    ui.error(box);
    f.logLine((backupFailed ? texts::BackupFailedLog : texts::WriteFailedLog) + shownPath(path) + reason);
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
    f.outputLines = buildFresh(recordToSave(f));
    const WriteOutcome outcome = replaceFile(path, f.outputLines, backup, write);
    if (!outcome.ok()) {
        reportFileFailure(f, ui, path, outcome, backup, texts::BackupExists);
        return;
    }
    // Only a file that holds the record becomes its file: after a failure the next save asks
    // for a name again instead of failing on the same one.
    f.currentFileName = path;
    f.lblHyoudai = texts::EditingFile + shownPath(path);
    reportSaved(f, ui, path, outcome.backedUp ? backupNote(texts::BackupExists, shownPath(backup)) : QString());
}

void saveRecordWithFile(Form& f, Ui& ui, const QString& backup, const WriteBytes& write)
{
    // Keep mode hides the lock; its file's text is kept when the main line closed on line 1 or later.
    const bool splice = !f.lockShown && f.tailLine >= 2;
    const RecordToSave record = recordToSave(f);
    f.outputLines = splice ? buildSpliced(record) : buildRebuilt(record);
    const QString path = f.currentFileName;
    const WriteOutcome outcome = replaceFile(path, f.outputLines, backup, write);
    if (!outcome.ok()) {
        reportFileFailure(f, ui, path, outcome, backup, texts::BackupBefore);
        return;
    }
    // A file removed since it was opened leaves no earlier version to name.
    reportSaved(f, ui, path, outcome.backedUp ? backupNote(texts::BackupBefore, shownPath(backup)) : QString());
}

} // namespace

void Hozon(Form& f, Ui& ui, const WriteBytes& write)
{
    const bool hasFile = !f.currentFileName.isEmpty();
    QString question = texts::SaveConfirm;
    QString backup;
    if (hasFile) {
        backup = backupName(f.currentFileName);
        question += texts::FileNameLabel + shownPath(f.currentFileName);
    }
    if (ui.ask(BoxKind::Confirm, question, BoxButtons::OkCancel) == Answer::Cancel)
        return;
    if (ZyunRetuStrKihu(f) || ZyunRetuKihuKakunin(f, ui)) {
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
