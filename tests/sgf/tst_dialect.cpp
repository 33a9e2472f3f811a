#include "board/conversions.h"
#include "board/form.h"
#include "board/go.h"
#include "board/texts.h"
#include "ordering/moveordering.h"
#include "sgf/dialect.h"
#include "support/boardtext.h"
#include "support/folders.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

QByteArray fileBytes(const Lines& lines)
{
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

Lines linesOf(const QByteArray& bytes)
{
    Lines lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

// Moves 1..n written straight into the move table, row by row from the top left.
void fillTable(Form& f, int n)
{
    for (int k = 1; k <= n; ++k) {
        const int i = (k - 1) % 361;
        f.moveTable[size_t(k)] = QString(letterOf(i % 19 + 1)) + letterOf(i / 19 + 1);
    }
}

QByteArray header()
{
    return texts::FreshHeaderPlain.toLatin1();
}

// A file as Open leaves it in keep mode: header on line 0, moves from line 1, the main line
// closed on the line before TailLine.
void loadFile(Form& f, const Lines& lines, int tailLine, int nodes)
{
    f.loadedLines = lines;
    f.firstMoveLine = 1;
    f.tailLine = tailLine;
    f.loadedNodeCount = nodes;
    f.gameInfo = lines[0];
}

struct Node {
    char colour;
    QByteArray point;
};

// Reads the move lines back, checking that each holds only whole nodes.
QList<Node> nodesOf(const Lines& moveLines)
{
    static const QRegularExpression node(QStringLiteral("^;([BW])\\[([a-s]{2})\\]"));
    QList<Node> nodes;
    for (const QByteArray& line : moveLines) {
        QString rest = QString::fromLatin1(line);
        while (!rest.isEmpty()) {
            const auto m = node.match(rest);
            if (!m.hasMatch())
                return {};
            nodes.append({m.captured(1)[0].toLatin1(), m.captured(2).toLatin1()});
            rest = rest.mid(m.capturedLength());
        }
    }
    return nodes;
}

} // namespace

class TestDialect : public QObject {
    Q_OBJECT

private slots:
    void freshExampleByteForByte();
    void spliceExampleByteForByte();
    void freshMoveLines_data();
    void freshMoveLines();
    void freshWithoutMoves_data();
    void freshWithoutMoves();
    void countsConsecutiveMoves_data();
    void countsConsecutiveMoves();
    void splice_data();
    void splice();
    void rebuilt_data();
    void rebuilt();
};

void TestDialect::freshExampleByteForByte()
{
    Form f;
    f.cell(4, 4).text = QStringLiteral("B1");
    f.cell(16, 16).text = QStringLiteral("B2");
    f.radioGroup1 = go::FirstPlayer::White;
    const QList<QPair<int, int>> moves{{16, 4}, {4, 16}, {17, 6}, {14, 3}, {16, 10}, {10, 4}, {3, 6}, {6, 3},
                                       {3, 5}, {4, 3}, {17, 14}, {14, 17}, {16, 17}, {17, 17}, {15, 17}};
    for (int k = 1; k <= moves.size(); ++k)
        f.cell(moves[k - 1].first, moves[k - 1].second).text = QString::number(k);
    QVERIFY(!ZyunRetuStrKihu(f));
    QCOMPARE(fileBytes(buildFresh(fileContentOf(f))), readFile(QStringLiteral(RANVEL_TEST_DATA "/fresh_handicap_white_first.sgf")));
}

void TestDialect::spliceExampleByteForByte()
{
    Form f;
    loadFile(f, linesOf(readFile(QStringLiteral(RANVEL_TEST_DATA "/splice_loaded.sgf"))), 3, 3);
    f.cell(16, 4).text = QStringLiteral("1");
    f.cell(4, 4).text = QStringLiteral("2");
    f.cell(16, 16).text = QStringLiteral("3");
    f.cell(4, 16).text = QStringLiteral("4");
    QVERIFY(!ZyunRetuStrKihu(f));
    QCOMPARE(fileBytes(buildSpliced(fileContentOf(f))), readFile(QStringLiteral(RANVEL_TEST_DATA "/splice_saved.sgf")));
}

void TestDialect::freshMoveLines_data()
{
    QTest::addColumn<int>("moves");
    QTest::addColumn<int>("firstPlayer");
    QTest::addColumn<QList<int>>("nodesPerLine");

    QTest::newRow("1 move") << 1 << 0 << QList<int>{1};
    QTest::newRow("14 moves") << 14 << 0 << QList<int>{14};
    QTest::newRow("15 moves") << 15 << 0 << QList<int>{14, 1};
    QTest::newRow("28 moves") << 28 << 0 << QList<int>{14, 14};
    QTest::newRow("29 moves") << 29 << 0 << QList<int>{14, 14, 1};
    QTest::newRow("29 moves, white first") << 29 << 1 << QList<int>{14, 14, 1};
    QList<int> full(71, 14);
    full.append(6);
    QTest::newRow("1000 moves") << 1000 << 0 << full;
}

void TestDialect::freshMoveLines()
{
    QFETCH(int, moves);
    QFETCH(int, firstPlayer);
    QFETCH(QList<int>, nodesPerLine);

    Form f;
    f.radioGroup1 = go::FirstPlayer(firstPlayer);
    fillTable(f, moves);
    const Lines file = buildFresh(fileContentOf(f));
    QCOMPARE(file.first(), header());
    QCOMPARE(file.last(), QByteArray(")"));
    const Lines body = file.mid(1, file.size() - 2);
    QCOMPARE(body.size(), nodesPerLine.size());
    for (int i = 0; i < body.size(); ++i)
        QCOMPARE(nodesOf({body[i]}).size(), nodesPerLine[i]);

    const QList<Node> nodes = nodesOf(body);
    QCOMPARE(nodes.size(), moves);
    for (int k = 1; k <= moves; ++k) {
        const bool black = firstPlayer == 0 ? k % 2 == 1 : k % 2 == 0;
        QCOMPARE(nodes[k - 1].colour, black ? 'B' : 'W');
        QCOMPARE(nodes[k - 1].point, f.moveTable[size_t(k)].toLatin1());
    }
}

void TestDialect::freshWithoutMoves_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QByteArray>("stones");

    QTest::newRow("empty board") << QStringList() << QByteArray();
    QTest::newRow("one typed handicap stone") << QStringList{"4,4,B"} << QByteArray("[dd]");
    QTest::newRow("handicap stones in scan order")
        << QStringList{"4,16,B3", "16,4,B1", "4,4,B2", "19,19,B4"} << QByteArray("[dd][pd][dp][ss]");
    QTest::newRow("numbers are no stones of the header") << QStringList{"1,1,7", "2,2,B1"} << QByteArray("[bb]");
}

void TestDialect::freshWithoutMoves()
{
    QFETCH(QStringList, cells);
    QFETCH(QByteArray, stones);

    Form f;
    putCells(f, cells);
    const QByteArray expectedHeader = stones.isEmpty()
        ? header()
        : texts::FreshHeaderHead.toLatin1() + stones + texts::FreshHeaderTail.toLatin1();
    QCOMPARE(freshHeaderLine(fileContentOf(f)), expectedHeader);
    QCOMPARE(buildFresh(fileContentOf(f)), (Lines{expectedHeader, ")"}));
    // A record saved before, without a loaded file, is rebuilt as the same file.
    QCOMPARE(buildRebuilt(fileContentOf(f)), buildFresh(fileContentOf(f)));
}

void TestDialect::countsConsecutiveMoves_data()
{
    QTest::addColumn<int>("upTo");
    QTest::addColumn<QList<int>>("extras");
    QTest::addColumn<int>("count");

    QTest::newRow("none") << 0 << QList<int>{5} << 0;
    QTest::newRow("stops at the first empty entry") << 4 << QList<int>{6, 7} << 4;
    QTest::newRow("all 1000") << 1000 << QList<int>() << 1000;
}

void TestDialect::countsConsecutiveMoves()
{
    QFETCH(int, upTo);
    QFETCH(QList<int>, extras);

    Form f;
    fillTable(f, upTo);
    for (int k : extras)
        f.moveTable[size_t(k)] = QStringLiteral("aa");
    QTEST(countMoves(f), "count");
}

void TestDialect::splice_data()
{
    QTest::addColumn<Lines>("loaded");
    QTest::addColumn<int>("tailLine");
    QTest::addColumn<int>("loadedNodes");
    QTest::addColumn<int>("moves");
    QTest::addColumn<Lines>("expected");

    const QByteArray sjis("\x82\xa0\x83\x65"); // two double-byte characters
    const QByteArray firstMoves(";B[aa];W[ba];B[ca]");
    const Lines tail{"(;W[dd]C[" + sjis + "])", ")"};
    const Lines plain = Lines{header(), firstMoves + ")"} + tail;

    QTest::newRow("no new move") << plain << 2 << 3 << 3 << plain;
    QTest::newRow("fewer moves than loaded") << plain << 2 << 3 << 2 << plain;
    QTest::newRow("one new move") << plain << 2 << 3 << 4
                                  << Lines{header(), firstMoves, ";W[da])"} + tail;
    QTest::newRow("fourteen new moves")
        << plain << 2 << 3 << 17
        << Lines{header(), firstMoves,
                 ";W[da];B[ea];W[fa];B[ga];W[ha];B[ia];W[ja];B[ka];W[la];B[ma];W[na];B[oa];W[pa];B[qa])"}
            + tail;
    QTest::newRow("fifteen new moves")
        << plain << 2 << 3 << 18
        << Lines{header(), firstMoves,
                 ";W[da];B[ea];W[fa];B[ga];W[ha];B[ia];W[ja];B[ka];W[la];B[ma];W[na];B[oa];W[pa];B[qa]",
                 ";W[ra])"}
            + tail;

    const Lines closedAlone = Lines{header(), firstMoves, ")"} + tail;
    QTest::newRow("main line closed on a line of its own")
        << closedAlone << 3 << 3 << 4 << Lines{header(), firstMoves, "", ";W[da])"} + tail;

    // The variation that follows the main line's ")" on the same line, double-byte text and all.
    const Lines crowded{header(), firstMoves + ")(;W[dd]C[" + sjis + "])", ")"};
    QTest::newRow("text after the closing bracket")
        << crowded << 2 << 3 << 4 << Lines{header(), firstMoves, ";W[da])(;W[dd]C[" + sjis + "])", ")"};
    QTest::newRow("text after the closing bracket, no new move") << crowded << 2 << 3 << 3 << crowded;
    const Lines endsInSjis{header(), firstMoves + ")C[" + sjis + "]" + sjis, ")"};
    QTest::newRow("line ending in a double-byte character")
        << endsInSjis << 2 << 3 << 5
        << Lines{header(), firstMoves, ";W[da];B[ea])C[" + sjis + "]" + sjis, ")"};

    // A tail line that names a line without ")" cannot lose any of its bytes.
    const Lines unclosed{header(), firstMoves + "C[" + sjis + "]"};
    QTest::newRow("closing line without a bracket")
        << unclosed << 2 << 3 << 4 << Lines{header(), firstMoves + "C[" + sjis + "]", ";W[da])"};

    // The moves of the loaded main line span several lines; only the closing one changes.
    const Lines twoMoveLines{header(), ";B[aa];W[ba]", ";B[ca])", "(;B[qq])", ")"};
    QTest::newRow("closing line after other move lines")
        << twoMoveLines << 3 << 3 << 4 << Lines{header(), ";B[aa];W[ba]", ";B[ca]", ";W[da])", "(;B[qq])", ")"};
}

void TestDialect::splice()
{
    QFETCH(Lines, loaded);
    QFETCH(int, tailLine);
    QFETCH(int, loadedNodes);
    QFETCH(int, moves);

    Form f;
    loadFile(f, loaded, tailLine, loadedNodes);
    fillTable(f, moves);
    QTEST(buildSpliced(fileContentOf(f)), "expected");
}

void TestDialect::rebuilt_data()
{
    QTest::addColumn<Lines>("loaded");
    QTest::addColumn<QByteArray>("gameInfo");
    QTest::addColumn<int>("firstMoveLine");
    QTest::addColumn<Lines>("expectedHeader");

    const QByteArray sjisInfo("(;CA[shift_jis]SZ[19]PB[\x8d\x95]AP[MultiGo:4.3.0]MULTIGOGM[1]");
    const Lines loaded{sjisInfo, "PW[\x94\x92]", ";B[pd]C[\x82\xa0];W[dd]", "(;B[pp])", ")"};
    QTest::newRow("no game information") << loaded << QByteArray() << 2 << Lines{header()};
    QTest::newRow("header lines kept as loaded")
        << loaded << sjisInfo + "PW[\x94\x92]" << 2 << Lines{sjisInfo, "PW[\x94\x92]"};

    const Lines headerOnly{sjisInfo + ")"};
    QTest::newRow("header-only file") << headerOnly << sjisInfo + ")" << 0 << Lines{sjisInfo};
    QTest::newRow("header-only file of two lines")
        << Lines{sjisInfo, "PW[\x94\x92])"} << sjisInfo + "PW[\x94\x92])" << 0 << Lines{sjisInfo + "PW[\x94\x92]"};
    // Joined, a comment would lose its line break: the root keeps its lines.
    QTest::newRow("header-only file with a comment over two lines")
        << Lines{sjisInfo + "GC[a", "b])"} << sjisInfo + "GC[ab])" << 0 << Lines{sjisInfo + "GC[a", "b]"};
    // Cutting the last byte blindly would cut the blank and leave the ")" before the moves.
    QTest::newRow("header-only file with a trailing blank")
        << Lines{sjisInfo + ") "} << sjisInfo + ") " << 0 << Lines{sjisInfo};
    // Without a ")" there is nothing to take away; the last byte here is half a character.
    QTest::newRow("header-only file never closed")
        << Lines{sjisInfo + "C[\x82\xa0"} << sjisInfo + "C[\x82\xa0" << 0 << Lines{sjisInfo + "C[\x82\xa0"};
}

void TestDialect::rebuilt()
{
    QFETCH(Lines, loaded);
    QFETCH(QByteArray, gameInfo);
    QFETCH(int, firstMoveLine);
    QFETCH(Lines, expectedHeader);

    Form f;
    f.loadedLines = loaded;
    f.gameInfo = gameInfo;
    f.firstMoveLine = firstMoveLine;
    f.tailLine = 4;
    f.loadedNodeCount = 2;
    f.radioGroup1 = go::FirstPlayer::White;
    fillTable(f, 16);
    const Lines expected
        = expectedHeader
        + Lines{";W[aa];B[ba];W[ca];B[da];W[ea];B[fa];W[ga];B[ha];W[ia];B[ja];W[ka];B[la];W[ma];B[na]",
                ";W[oa];B[pa]", ")"};
    QCOMPARE(buildRebuilt(fileContentOf(f)), expected);
}

QTEST_APPLESS_MAIN(TestDialect)
#include "tst_dialect.moc"
