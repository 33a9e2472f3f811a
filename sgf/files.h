#pragma once

#include "sgf/dialect.h"

#include <QByteArray>
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

struct ReadOutcome {
    bool ok = false;
    Lines lines;
    QString reason;
};

// The whole file as lines (see splitLines).
ReadOutcome readLines(const QString& path);

struct WriteOutcome {
    enum Stage { Done, BackupFailed, WriteFailed };
    Stage stage = Done;
    // The system's words for what went wrong.
    QString reason;
    // The previous file now stands under the backup name.
    bool backedUp = false;

    bool ok() const { return stage == Done; }
};

// Writes the lines to path. When backup is given, the file now at path is moved to that
// name first; if it cannot be moved and is still there, nothing is written. The text goes to
// a temporary file beside the target and replaces it only when complete.
WriteOutcome replaceFile(const QString& path, const Lines& lines, const QString& backup);
