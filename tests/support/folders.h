#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QStringList>

#include <map>

// Files of a temporary folder, read and written as bytes, for tests that must see every
// file a save leaves behind.
inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file");
    return path;
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Every entry below the folder with its content ("<dir>" for folders).
inline std::map<QString, QByteArray> listing(const QString& folder)
{
    std::map<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries[QDir(folder).relativeFilePath(path)] = it.fileInfo().isDir() ? QByteArray("<dir>") : readFile(path);
    }
    return entries;
}

inline QStringList names(const QString& folder)
{
    QStringList list;
    for (const auto& [name, bytes] : listing(folder))
        list << name;
    return list;
}
