#include "diagram/diagram.h"

#include <QtTest>

#include <map>

// Every picture of the committed corpus sample (tests/data/corpus, drawn by
// scripts/corpus/make_corpus.py with six renderers and spoilt as screens, scanners and phones
// spoil them) read against its truth. No picture is left out for failing: each kind of picture
// has a target, and the pictures that miss it are counted against that target.
class TestCorpus : public QObject {
    Q_OBJECT
private slots:
    void readsPicture_data();
    void readsPicture();
    void meetsTargets();
};

namespace {

struct Tally {
    int pictures = 0;
    int right = 0;     // points read as the truth, with or without "?"
    int unmarked = 0;  // points read wrong without "?"
    int markedRight = 0; // points read right with "?"
    int noBoard = 0;
    int allRight = 0;
    int notes = 0;
    int notesRight = 0;    // read right and sure
    int notesUnmarked = 0; // read wrong without "?"
};

// What the reader holds to, for each kind of picture over the whole sample: set at what it
// achieves today, to be tightened as it improves. Beside each, in the comment, what the
// reading is to reach on styles no one tuned it on (held out).
struct Target {
    const char* kind;
    int notAllRight;      // pictures with any point wrong, at most
    int unmarked;         // points wrong without "?", at most;  to reach: 0
    int noBoard;          // pictures whose board is not found, at most;  to reach: 0
    double rightShare;    // points right, at least
    int notesUnmarked;    // notes read wrong without "?", at most;  to reach: 0
    int notesRight;       // notes read right and sure, at least; to reach: every note printed
    // Points read right but marked "?", at most; to reach: no more than the points wrong, and
    // at most 1% of the points.
    int markedRight;
};
// clean and screen, to reach: 99.9% of points, every picture of 26 px stones or more all right;
// scan, photo and print, to reach: 99.5% of points.
constexpr Target targets[] = {
    {"clean", 1, 0, 0, 0.999, 0, 63, 1},
    // Sabaki's Shudan board sets three-digit labels at a third of a stone: at 22 to 36 px
    // stones they are still doubted by the dozen.
    {"screen", 5, 0, 0, 0.997, 0, 62, 105},
    {"scan", 1, 0, 0, 0.999, 0, 68, 1},
    {"photo", 2, 0, 0, 0.997, 0, 21, 28},
    // A newspaper's halftone: the digits' leftovers of the screen still doubt some numbers.
    {"print", 3, 0, 0, 0.997, 0, 18, 5},
};

std::map<QString, Tally>& tallies()
{
    static std::map<QString, Tally> t;
    return t;
}

int& rowsRead()
{
    static int n = 0;
    return n;
}

int& rowsPlanned()
{
    static int n = 0;
    return n;
}

QString corpusFolder()
{
    const QByteArray other = qgetenv("RANVEL_CORPUS");
    return other.isEmpty() ? QStringLiteral(RANVEL_TEST_DATA "/corpus") : QString::fromLocal8Bit(other);
}

// Under the sanitizers the reading is several times slower: every fourth picture of each kind,
// the same ones each run, keeps the memory checks on every kind.
#if defined(__SANITIZE_ADDRESS__)
constexpr int rowStep = 4;
#else
constexpr int rowStep = 1;
#endif

} // namespace

void TestCorpus::readsPicture_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("heldOut");
    QTest::addColumn<QStringList>("board");
    QTest::addColumn<QStringList>("notes");
    QFile f(corpusFolder() + QStringLiteral("/manifest.json"));
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
    const QJsonArray pictures = QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("pictures")).toArray();
    QVERIFY(!pictures.isEmpty());
    std::map<QString, int> ofKind;
    for (const QJsonValue& value : pictures) {
        const QJsonObject p = value.toObject();
        if (ofKind[p.value(QStringLiteral("kind")).toString()]++ % rowStep != 0)
            continue;
        QStringList board, notes;
        for (const QJsonValue& line : p.value(QStringLiteral("board")).toArray())
            board << line.toString();
        for (const QJsonValue& note : p.value(QStringLiteral("notes")).toArray())
            notes << note.toString();
        const QString file = p.value(QStringLiteral("file")).toString();
        QTest::newRow(qPrintable(file)) << QDir(corpusFolder()).filePath(file) << p.value(QStringLiteral("kind")).toString()
                                        << p.value(QStringLiteral("held_out")).toBool() << board << notes;
        ++rowsPlanned();
    }
}

void TestCorpus::readsPicture()
{
    QFETCH(QString, picture);
    QFETCH(QString, kind);
    QFETCH(bool, heldOut);
    QFETCH(QStringList, board);
    QFETCH(QStringList, notes);
    QCOMPARE(board.size(), 19);
    ++rowsRead();

    const diagram::Result result = diagram::readFile(picture.toStdString());
    // Every picture decodes; whether its board is found, or which way up it is, is the
    // reading's score, not a fault. A page the reader cannot set upright counts as no board.
    const bool refused = result.failure == diagram::Failure::NoBoard || result.failure == diagram::Failure::Turned;
    QVERIFY2(result.failure == diagram::Failure::None || refused, result.reason.c_str());
    for (const QString& key : {kind, (heldOut ? QStringLiteral("held out ") : QStringLiteral("tuned ")) + kind}) {
        Tally& t = tallies()[key];
        ++t.pictures;
        t.notes += int(notes.size());
        if (refused)
            ++t.noBoard;
    }
    if (refused) {
        qInfo("board not found: %s", result.reason.c_str());
        return;
    }
    const QStringList rows = QString::fromStdString(diagram::boardText(result.board)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 19);
    int right = 0, unmarked = 0, markedRight = 0;
    QStringList wrong;
    for (int y = 0; y < 19; ++y) {
        const QStringList read = rows[y].split(QLatin1Char(' '));
        const QStringList truth = board[y].split(QLatin1Char(' '));
        QCOMPARE(read.size(), 19);
        QCOMPARE(truth.size(), 19);
        for (int x = 0; x < 19; ++x) {
            QString field = read[x];
            const bool unsure = field.endsWith(QLatin1Char('?'));
            field.chop(unsure ? 1 : 0);
            if (field == truth[x]) {
                ++right;
                markedRight += unsure ? 1 : 0;
            } else {
                unmarked += unsure ? 0 : 1;
                if (wrong.size() < 8)
                    wrong << QStringLiteral("%1,%2: %3 read as %4").arg(x + 1).arg(y + 1).arg(truth[x], read[x]);
            }
        }
    }
    int notesRight = 0, notesUnmarked = 0;
    for (const QString& line : QString::fromStdString(diagram::notesText(result.notes)).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.endsWith(QLatin1Char('?')))
            continue;
        if (notes.contains(line))
            ++notesRight;
        else
            ++notesUnmarked;
    }
    for (const QString& key : {kind, (heldOut ? QStringLiteral("held out ") : QStringLiteral("tuned ")) + kind}) {
        Tally& t = tallies()[key];
        t.right += right;
        t.unmarked += unmarked;
        t.markedRight += markedRight;
        t.allRight += right == 361 ? 1 : 0;
        t.notesRight += notesRight;
        t.notesUnmarked += notesUnmarked;
    }
    qInfo("%d of 361 points right, %d wrong without doubt; %d of %d notes right%s%s", right, unmarked, notesRight,
          int(notes.size()), wrong.isEmpty() ? "" : "; ", qPrintable(wrong.join(QStringLiteral("; "))));
}

void TestCorpus::meetsTargets()
{
    qInfo("%-16s %8s %12s %10s %12s %9s %10s %12s", "kind", "pictures", "points right", "unmarked", "marked right",
          "no board", "all right", "notes right");
    for (const auto& [key, t] : tallies()) {
        qInfo("%-16s %8d %11.2f%% %10d %12d %9d %6d of %d %6d of %d%s", qPrintable(key), t.pictures,
              t.pictures ? 100.0 * t.right / (361.0 * t.pictures) : 0.0, t.unmarked, t.markedRight, t.noBoard, t.allRight, t.pictures,
              t.notesRight, t.notes, t.notesUnmarked ? qPrintable(QStringLiteral(" (%1 wrong without doubt)").arg(t.notesUnmarked)) : "");
    }
    if (rowsRead() != rowsPlanned() || rowsPlanned() == 0)
        QSKIP("the targets hold for the whole sample; only some of its pictures were read");
    if (!qEnvironmentVariableIsEmpty("RANVEL_CORPUS"))
        QSKIP("the targets hold for the committed sample; another corpus was read");
    QStringList missed;
    for (const Target& target : targets) {
        const Tally& t = tallies()[QString::fromLatin1(target.kind)];
        QVERIFY2(t.pictures > 0, target.kind);
        const int notAllRight = t.pictures - t.allRight;
        if (notAllRight > target.notAllRight)
            missed << QStringLiteral("%1: %2 pictures not all right (target %3)").arg(target.kind).arg(notAllRight).arg(target.notAllRight);
        if (t.unmarked > target.unmarked)
            missed << QStringLiteral("%1: %2 points wrong without \"?\" (target %3)").arg(target.kind).arg(t.unmarked).arg(target.unmarked);
        if (t.noBoard > target.noBoard)
            missed << QStringLiteral("%1: %2 boards not found (target %3)").arg(target.kind).arg(t.noBoard).arg(target.noBoard);
        if (t.notesUnmarked > target.notesUnmarked)
            missed << QStringLiteral("%1: %2 notes wrong without \"?\" (target %3)").arg(target.kind).arg(t.notesUnmarked).arg(target.notesUnmarked);
        // A share over a part of the sample says nothing of the whole: only the full run holds it.
        const double share = double(t.right) / (361.0 * t.pictures);
        if (rowStep == 1 && share < target.rightShare)
            missed << QStringLiteral("%1: %2% of points right (target %3%)").arg(target.kind).arg(100 * share, 0, 'f', 2).arg(100 * target.rightShare);
        if (rowStep == 1 && t.markedRight > target.markedRight)
            missed << QStringLiteral("%1: %2 points right but marked \"?\" (target %3)").arg(target.kind).arg(t.markedRight).arg(target.markedRight);
        if (rowStep == 1 && t.notesRight < target.notesRight)
            missed << QStringLiteral("%1: %2 notes right and sure (target %3)").arg(target.kind).arg(t.notesRight).arg(target.notesRight);
    }
    QVERIFY2(missed.isEmpty(), qPrintable(missed.join(QStringLiteral("; "))));
}

QTEST_GUILESS_MAIN(TestCorpus)
#include "tst_corpus.moc"
