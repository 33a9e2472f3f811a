#include "diagram/readerlibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QStringList>

namespace diagram {
namespace {

struct Loaded {
    const ReaderEntries* entries = nullptr;
    std::string why;
};

// Beside the program (the build tree, Windows), where an installed program keeps it, and in
// the build tree for the test and benchmark programs that run from folders below it.
QStringList places()
{
    QStringList out;
    if (QCoreApplication::instance()) {
        const QString dir = QCoreApplication::applicationDirPath();
        out << dir << dir + QStringLiteral("/../lib/ranvel");
    }
    out << QStringLiteral(RANVEL_READER_BUILD_DIR);
    return out;
}

Loaded load()
{
    Loaded loaded;
    for (const QString& dir : places()) {
        QLibrary module(QDir(dir).filePath(QStringLiteral("ranvel_reader")));
        if (!module.load()) {
            if (loaded.why.empty())
                loaded.why = module.errorString().toStdString();
            continue;
        }
        const auto entries = reinterpret_cast<ReaderEntriesFunction>(module.resolve(readerEntriesName));
        if (entries) {
            // Stays loaded for the rest of the run: QLibrary unloads only when told to.
            loaded.entries = entries();
            return loaded;
        }
        loaded.why = module.errorString().toStdString();
    }
    return loaded;
}

const Loaded& reader()
{
    static const Loaded loaded = load();
    return loaded;
}

StraightReading notLoaded()
{
    StraightReading out;
    out.result.failure = Failure::Fault;
    out.result.reason = "The picture reader cannot be loaded: " + reader().why;
    return out;
}

} // namespace

StraightReading readFileStraight(const std::string& path, const StopFlag* stop)
{
    const ReaderEntries* e = reader().entries;
    return e ? e->readFile(path, stop) : notLoaded();
}

StraightReading readEncodedStraight(const std::vector<std::uint8_t>& bytes, const StopFlag* stop)
{
    const ReaderEntries* e = reader().entries;
    return e ? e->readEncoded(bytes, stop) : notLoaded();
}

StraightReading readPixelsStraight(int width, int height, int stride, int channels, const std::uint8_t* data,
                                   const StopFlag* stop)
{
    const ReaderEntries* e = reader().entries;
    return e ? e->readPixels(width, height, stride, channels, data, stop) : notLoaded();
}

} // namespace diagram
