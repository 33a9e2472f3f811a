#pragma once

// A scratch file for targets that must go through a real open: one per process, rewritten
// for every input.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>

namespace fuzz {

inline QString writeScratchFile(const QByteArray& bytes)
{
    static const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("record.sgf"));
    QFile file(path);
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    return path;
}

} // namespace fuzz
