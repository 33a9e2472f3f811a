#include "support/folders.h"
#include "support/gnugo.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString figuresFolder()
{
    return QStringLiteral(RANVEL_TEST_DATA "/figures");
}

struct SetOutcome {
    bool saved = false;
    bool whole = false;  // GNU Go replays the saved game as the game was played
    int inDoubt = 0;     // points in doubt and list rows without a place left
};

QString truthSgf(const QString& moves)
{
    QString text = QStringLiteral("(;GM[1]FF[4]SZ[19]");
    for (int k = 0; k + 1 < moves.size(); k += 2)
        text += QStringLiteral(";%1[%2]").arg(k % 4 == 0 ? QLatin1Char('B') : QLatin1Char('W')).arg(moves.mid(k, 2));
    return text + QStringLiteral(")\n");
}

SetOutcome readSet(const QJsonObject& set, const QString& work)
{
    SetOutcome out;
    const QString folder = figuresFolder() + QLatin1Char('/') + set.value(QStringLiteral("set")).toString();
    const QString saved = work + QLatin1Char('/') + set.value(QStringLiteral("set")).toString() + QStringLiteral(".sgf");
    QStringList args{QStringLiteral("--sgf"), saved};
    for (const QJsonValue& figure : set.value(QStringLiteral("figures")).toArray())
        args << folder + QLatin1Char('/') + figure.toString();
    QProcess tool;
    tool.start(QStringLiteral(RANVEL_READ_TOOL), args);
    if (!tool.waitForFinished(300000))
        qFatal("ranvel_read did not finish");
    const QString errors = QString::fromUtf8(tool.readAllStandardError());
    out.inDoubt = int(errors.count(QRegularExpression(QStringLiteral("^(in doubt|no place):"), QRegularExpression::MultilineOption)));
    // The exit status says whether anything is left in doubt.
    if (tool.exitCode() == 0 && out.inDoubt != 0)
        qFatal("ranvel_read exited 0 with points in doubt");
    out.saved = QFile::exists(saved) && (tool.exitCode() == 0 || tool.exitCode() == 3);
    if (!out.saved)
        return out;
    const QString truth = writeFile(work + QStringLiteral("/truth.sgf"), truthSgf(set.value(QStringLiteral("moves")).toString()).toLatin1());
    QString error;
    const auto readings = readWithGnuGo({truth, saved}, &error);
    if (!readings)
        qFatal("%s", qPrintable(error));
    out.whole = readings->at(1).loaded && readings->at(1).complaints.isEmpty() && readings->at(1).history == readings->at(0).history;
    return out;
}

} // namespace

// Games printed over three figures, by sgf2dg in each of its numberings and by our own renderer
// in typefaces held out from tuning, read by ranvel_read --sgf onto one record and saved: GNU Go
// replays what is read whole as the game was played.
class TestFigures : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void styles_data();
    void styles();
};

void TestFigures::initTestCase()
{
    if (gnuGoProgram().isEmpty())
        QFAIL("GNU Go is not installed (Debian package gnugo): it has to replay every game read.");
}

void TestFigures::styles_data()
{
    QTest::addColumn<QString>("renderer");
    QTest::addColumn<QString>("style");
    // Today's reading: sets not read whole, and what is left in doubt over all sets.
    QTest::addColumn<int>("mostNotWhole");
    QTest::addColumn<int>("mostInDoubt");

    QTest::newRow("sgf2dg, on from the figure before") << "sgf2dg" << "continued" << 0 << 9;
    QTest::newRow("sgf2dg, from 1 again") << "sgf2dg" << "restarted" << 0 << 9;
    QTest::newRow("sgf2dg, hundreds dropped") << "sgf2dg" << "hundreds" << 1 << 16;
    QTest::newRow("own, held out, from 1 again") << "own" << "restarted" << 1 << 11;
    QTest::newRow("own, held out, hundreds dropped") << "own" << "hundreds" << 2 << 164;
}

void TestFigures::styles()
{
    QFETCH(QString, renderer);
    QFETCH(QString, style);
    QFETCH(int, mostNotWhole);
    QFETCH(int, mostInDoubt);

    QFile manifest(figuresFolder() + QStringLiteral("/figures.json"));
    QVERIFY(manifest.open(QIODevice::ReadOnly));
    QTemporaryDir work;
    int sets = 0;
    int notWhole = 0;
    int inDoubt = 0;
    for (const QJsonValue& v : QJsonDocument::fromJson(manifest.readAll()).array()) {
        const QJsonObject set = v.toObject();
        if (set.value(QStringLiteral("style")).toString() != style || set.value(QStringLiteral("renderer")).toString() != renderer)
            continue;
        const SetOutcome o = readSet(set, work.path());
        ++sets;
        notWhole += o.whole ? 0 : 1;
        inDoubt += o.inDoubt;
        qInfo("%-28s saved %-3s whole %-3s in doubt %d", qPrintable(set.value(QStringLiteral("set")).toString()),
              o.saved ? "yes" : "no", o.whole ? "yes" : "no", o.inDoubt);
    }
    qInfo("%s %s: %d of %d sets read whole, %d left in doubt", qPrintable(renderer), qPrintable(style), sets - notWhole, sets, inDoubt);
    QVERIFY(sets > 0);
    QVERIFY2(notWhole <= mostNotWhole, qPrintable(QStringLiteral("%1 sets not read whole").arg(notWhole)));
    QVERIFY2(inDoubt <= mostInDoubt, qPrintable(QStringLiteral("%1 left in doubt").arg(inDoubt)));
}

QTEST_GUILESS_MAIN(TestFigures)
#include "tst_figures.moc"
