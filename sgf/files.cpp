#include "sgf/files.h"

#include "board/messages.h"
#include "board/texts.h"
#include "sgf/lines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QByteArray fileText(const Lines& lines)
{
    QByteArray text;
    for (const QByteArray& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

QString backupName(const QString& fileName, const std::function<bool(const QString&)>& taken)
{
    const QString& suffix = texts::BackupSuffix;
    QString name = fileName.left(qMax<qsizetype>(fileName.size() - 4, 0)) + suffix;
    while (taken(name))
        name = name.left(name.size() - 4) + suffix;
    return name;
}

QString backupName(const QString& fileName)
{
    return backupName(fileName, fileExists);
}

bool fileExists(const QString& path)
{
    return QFileInfo::exists(path);
}

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

ReadOutcome readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, {}, file.errorString(), {}};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, {}, file.errorString(), {}};
    return {true, splitLines(bytes), {}, bytes};
}

QString unreadableEncoding(const QByteArray& bytes)
{
    // UTF-8's mark is three bytes before "(" that a save keeps; UTF-16's is a text of another width.
    if (bytes.startsWith("\xFE\xFF") || bytes.startsWith("\xFF\xFE"))
        return texts::Utf16File;
    // Without a mark, UTF-16 shows as a NUL beside each ASCII byte of "(;".
    if (bytes.size() >= 4) {
        const auto nul = [&bytes](int i) { return bytes[i] == '\0'; };
        if ((nul(0) && nul(2) && !nul(1) && !nul(3)) || (nul(1) && nul(3) && !nul(0) && !nul(2)))
            return texts::Utf16File;
    }
    return {};
}

qint64 writeAllBytes(QIODevice& file, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n < 0)
            return -1;
        // A write that takes nothing and reports nothing would never end.
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

namespace {

// Empty when the whole text is on disk under the file's name; otherwise why not. Every step
// is checked and the size confirmed, as a file system may take fewer bytes than it was given
// and say so only later.
QString writeCompletely(QSaveFile& file, const QByteArray& text, const WriteBytes& write)
{
    const qint64 written = write(file, text);
    if (written < 0 || !file.flush())
        return file.errorString();
    const qint64 size = file.size();
    if (written != text.size() || size != text.size())
        return messages::shortWrite(text.size(), qMin(written, size));
    // Syncs, closes and only then renames over the target.
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace

WriteOutcome replaceFile(const QString& path, const Lines& lines, const QString& backup, const WriteBytes& write)
{
    QSaveFile file(path);
    // Opened first, so that a missing folder or a folder of that name stops the save before
    // the previous file is moved anywhere. Unbuffered, so that a full disk fails the write
    // itself: a failure of the final flush of a buffered QSaveFile goes unseen by commit().
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {WriteOutcome::WriteFailed, file.errorString(), false};
    bool backedUp = false;
    if (!backup.isEmpty()) {
        QFile previous(path);
        backedUp = previous.rename(backup);
        if (!backedUp && fileExists(path))
            return {WriteOutcome::BackupFailed, previous.errorString(), false};
    }
    const QString reason = writeCompletely(file, fileText(lines), write);
    if (reason.isEmpty())
        return {WriteOutcome::Done, {}, backedUp};
    // The record's own name gets its previous version back; only if that fails does the
    // previous version stay under the backup name.
    const bool restored = backedUp && QFile::rename(backup, path);
    return {WriteOutcome::WriteFailed, reason, backedUp && !restored};
}
