#include "sgf/files.h"

#include "board/texts.h"
#include "sgf/reader.h"

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

ReadOutcome readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, {}, file.errorString()};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, {}, file.errorString()};
    return {true, splitLines(bytes), {}};
}

WriteOutcome replaceFile(const QString& path, const Lines& lines, const QString& backup)
{
    WriteOutcome outcome;
    QSaveFile file(path);
    // Opened first, so that a missing folder or a folder of that name stops the save before
    // the previous file is moved anywhere.
    if (!file.open(QIODevice::WriteOnly))
        return {WriteOutcome::WriteFailed, file.errorString(), false};
    if (!backup.isEmpty()) {
        QFile previous(path);
        outcome.backedUp = previous.rename(backup);
        if (!outcome.backedUp && fileExists(path))
            return {WriteOutcome::BackupFailed, previous.errorString(), false};
    }
    const QByteArray text = fileText(lines);
    if (file.write(text) != text.size() || !file.commit()) {
        outcome.stage = WriteOutcome::WriteFailed;
        outcome.reason = file.errorString();
    }
    return outcome;
}
