// Runs a fuzz target's entry function once over every file of the folders (or files) named on
// the command line, for compilers without libFuzzer. A failed property aborts, naming the file.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size);

namespace {

int replay(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 0;
    }
    const QByteArray bytes = file.readAll();
    std::fprintf(stderr, "%s\n", qPrintable(path));
    LLVMFuzzerTestOneInput(reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    int count = 0;
    int unreadable = 0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (!QFileInfo(arg).isDir()) {
            (replay(arg) ? count : unreadable) += 1;
            continue;
        }
        const QDir dir(arg);
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            (replay(dir.filePath(name)) ? count : unreadable) += 1;
    }
    std::printf("replayed %d inputs\n", count);
    return count > 0 && unreadable == 0 ? 0 : 1;
}
