#pragma once

#include "sgf/dialect.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

// Each line followed by CR LF, the last one too.
QByteArray fileText(const Lines& lines);

// The name F less its last four characters followed by "_bk.sgf", with "_bk" added again
// while taken() says the name is in use, so that an older backup is never replaced.
QString backupName(const QString& fileName, const std::function<bool(const QString&)>& taken);
// The same, asking the file system.
QString backupName(const QString& fileName);

bool fileExists(const QString& path);

// A path as the operator reads it, with the platform's separators.
QString shownPath(const QString& path);

struct ReadOutcome {
    bool ok = false;
    Lines lines;
    QString reason;
    // The file as stored, before the lines were split and a NUL cut them short.
    QByteArray bytes;
};

// The whole file as lines (see splitLines).
ReadOutcome readLines(const QString& path);

// Why the file's bytes are no text the record can keep (UTF-16, a byte-order mark); empty
// when they are. Lines of such a file would come back as a few bytes of it.
QString unreadableEncoding(const QByteArray& bytes);

struct WriteOutcome {
    enum Stage { Done, BackupFailed, WriteFailed };
    Stage stage = Done;
    // The system's words for what went wrong.
    QString reason;
    // The previous file now stands under the backup name.
    bool backedUp = false;

    bool ok() const { return stage == Done; }
};

// Puts the bytes into the open file; returns how many it took, or -1 with the file's error set.
using WriteBytes = std::function<qint64(QIODevice& file, const QByteArray& bytes)>;
qint64 writeAllBytes(QIODevice& file, const QByteArray& bytes);

// Writes the lines to path. When backup is given, the file now at path is moved to that
// name first; if it cannot be moved and is still there, nothing is written. The text goes to
// a temporary file beside the target and replaces it only when every byte is on disk; when it
// cannot be, the previous file is moved back under its own name. write is the one step that
// puts the bytes in, so that a test can make it fail as a full disk does.
WriteOutcome replaceFile(const QString& path, const Lines& lines, const QString& backup,
                         const WriteBytes& write = writeAllBytes);
