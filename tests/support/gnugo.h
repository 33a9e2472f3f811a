#pragma once

// Asks GNU Go, through its Go Text Protocol, what it makes of SGF files: whether it meets a
// move it cannot play, and the position and move history it ends with.

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <optional>

struct GnuGoReading {
    bool loaded = false;     // loadsgf answered with success
    QString nextToPlay;      // what loadsgf answered: "black" or "white"
    QStringList blackStones; // vertices, sorted
    QStringList whiteStones;
    QStringList history;     // "black Q16", oldest first
    QStringList complaints;  // warnings GNU Go printed while loading
};

// Debian puts the program in /usr/games, which is not on every PATH.
inline QString gnuGoProgram()
{
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("gnugo"));
    if (!onPath.isEmpty())
        return onPath;
    return QStandardPaths::findExecutable(QStringLiteral("gnugo"), {QStringLiteral("/usr/games")});
}

namespace gnugo_detail {

// GTP answers are "= text" or "? text", ended by an empty line. Anything GNU Go prints
// outside an answer is a complaint about the file being loaded.
struct Reply {
    bool ok = false;
    QString text;
    QStringList complaints;
};

inline QList<Reply> replies(const QString& output)
{
    QList<Reply> out;
    QStringList pending;
    Reply* open = nullptr;
    for (const QString& raw : output.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (open) {
            if (line.isEmpty())
                open = nullptr;
            else
                open->text += QLatin1Char('\n') + line;
            continue;
        }
        if (line.startsWith(QLatin1Char('=')) || line.startsWith(QLatin1Char('?'))) {
            out.append({line.startsWith(QLatin1Char('=')), line.mid(1).trimmed(), pending});
            pending.clear();
            open = &out.last();
        } else if (!line.isEmpty()) {
            pending.append(line);
        }
    }
    return out;
}

inline QStringList sortedWords(const QString& text)
{
    QStringList words = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    words.sort();
    return words;
}

} // namespace gnugo_detail

// Loads each file in turn into one GNU Go; nullopt when GNU Go could not be run.
inline std::optional<QList<GnuGoReading>> readWithGnuGo(const QStringList& paths, QString* error = nullptr)
{
    const QString program = gnuGoProgram();
    if (program.isEmpty()) {
        if (error)
            *error = QStringLiteral("gnugo is not installed (Debian package gnugo)");
        return std::nullopt;
    }
    QString script;
    for (const QString& path : paths) {
        script += QStringLiteral("loadsgf %1\nlist_stones black\nlist_stones white\nmove_history\n")
                      .arg(QFileInfo(path).absoluteFilePath());
    }
    script += QStringLiteral("quit\n");
    QProcess gnugo;
    gnugo.setProcessChannelMode(QProcess::MergedChannels);
    gnugo.start(program, {QStringLiteral("--mode"), QStringLiteral("gtp")});
    if (!gnugo.waitForStarted(10000)) {
        if (error)
            *error = QStringLiteral("%1 did not start: %2").arg(program, gnugo.errorString());
        return std::nullopt;
    }
    gnugo.write(script.toLocal8Bit());
    gnugo.closeWriteChannel();
    if (!gnugo.waitForFinished(120000) || gnugo.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("%1 failed: %2").arg(program, gnugo.errorString());
        return std::nullopt;
    }
    const QList<gnugo_detail::Reply> all = gnugo_detail::replies(QString::fromLocal8Bit(gnugo.readAll()));
    // Four answers per file, then the one to quit.
    if (all.size() != 4 * paths.size() + 1) {
        if (error)
            *error = QStringLiteral("GNU Go gave %1 answers to %2 files").arg(all.size()).arg(paths.size());
        return std::nullopt;
    }
    QList<GnuGoReading> readings;
    for (int i = 0; i < paths.size(); ++i) {
        const gnugo_detail::Reply* r = &all[4 * i];
        GnuGoReading reading;
        reading.loaded = r[0].ok;
        reading.nextToPlay = r[0].text;
        for (int k = 0; k < 4; ++k)
            reading.complaints += r[k].complaints;
        reading.blackStones = gnugo_detail::sortedWords(r[1].text);
        reading.whiteStones = gnugo_detail::sortedWords(r[2].text);
        QStringList history = r[3].text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        std::reverse(history.begin(), history.end());
        reading.history = history;
        readings.append(reading);
    }
    return readings;
}
