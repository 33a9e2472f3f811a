#include "board/go.h"
#include "diagram/diagram.h"
#include "support/folders.h"

#include <QtTest>

#include <string>
#include <vector>

// The reading's mending of a number that contradicts its colour, and what it refuses to read.
// The pictures themselves are read in tst_corpus.
class TestDiagramReading : public QObject {
    Q_OBJECT
private slots:
    void mendsContradictedNumber_data();
    void mendsContradictedNumber();
    void refusesWhatIsNoBoard_data();
    void refusesWhatIsNoBoard();
    void settlesFirstPlayer_data();
    void settlesFirstPlayer();
};


void TestDiagramReading::mendsContradictedNumber_data()
{
    // Moves 1..19 stand on the first row, except those left out; the misread stone, of the
    // colour of the first number left out, stands below.
    QTest::addColumn<QList<int>>("leftOut");
    QTest::addColumn<int>("misread");
    QTest::addColumn<int>("mended");
    QTest::newRow("3 read as 8") << QList<int>{13} << 18 << 13;
    QTest::newRow("digit lost") << QList<int>{12} << 1 << 12;
    QTest::newRow("digit added") << QList<int>{1} << 10 << 1;
    QTest::newRow("two candidates: left as read") << QList<int>{13, 17} << 18 << 18;
    QTest::newRow("none one digit away: left as read") << QList<int>{3} << 18 << 18;
    QTest::newRow("parity fits: left as read") << QList<int>{13} << 17 << 17;
}

void TestDiagramReading::mendsContradictedNumber()
{
    QFETCH(QList<int>, leftOut);
    QFETCH(int, misread);
    diagram::Board board;
    for (int n = 1; n <= 19; ++n) {
        if (leftOut.contains(n))
            continue;
        diagram::Point& p = board.at(n, 1);
        p.stone = n % 2 ? diagram::Stone::Black : diagram::Stone::White;
        p.number = n;
    }
    diagram::Point& read = board.at(1, 2);
    read.stone = leftOut.front() % 2 ? diagram::Stone::Black : diagram::Stone::White;
    read.number = misread;
    diagram::settleFirstPlayer(board);
    diagram::mendMisreads(board);
    QCOMPARE(board.firstPlayer, go::FirstPlayer::Black);
    QTEST(board.at(1, 2).number, "mended");
    QCOMPARE(board.at(1, 2).unsure, misread % 2 != leftOut.front() % 2);
}

void TestDiagramReading::refusesWhatIsNoBoard_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("failure");
    const QByteArray png = readFile(QStringLiteral(RANVEL_TEST_DATA "/diagrams/game01_s1_l1_h0__clean150.png"));
    QByteArray huge = png.left(24);
    // The header's width and height, in the IHDR chunk, made enormous.
    huge[16] = char(0x00), huge[17] = char(0x01), huge[18] = char(0x00), huge[19] = char(0x00);
    huge[20] = char(0x00), huge[21] = char(0x01), huge[22] = char(0x00), huge[23] = char(0x00);
    huge += png.mid(24);
    QTest::newRow("page of notes without a diagram")
        << readFile(QStringLiteral(RANVEL_TEST_DATA "/diagrams/noboard__text.png")) << int(diagram::Failure::NoBoard);
    QTest::newRow("game record") << readFile(QStringLiteral(RANVEL_TEST_DATA "/games/game01_s1_l1_h0.sgf"))
                                 << int(diagram::Failure::NotAPicture);
    QTest::newRow("empty file") << QByteArray() << int(diagram::Failure::NotAPicture);
    QTest::newRow("PNG cut after its header") << png.left(200) << int(diagram::Failure::Damaged);
    QTest::newRow("PNG of 65536 x 65536 pixels") << huge << int(diagram::Failure::TooLarge);
}

void TestDiagramReading::refusesWhatIsNoBoard()
{
    QFETCH(QByteArray, bytes);
    const diagram::Result result = diagram::readEncoded(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    QTEST(int(result.failure), "failure");
    QVERIFY(!result.reason.empty());
}

void TestDiagramReading::settlesFirstPlayer_data()
{
    // Moves 1..12 on the first row, coloured as the first player given; one more black stone
    // below, without a number.
    QTest::addColumn<bool>("inkInside"); // its number was there but not read
    QTest::addColumn<int>("firstPlayer");
    QTest::newRow("blank black stone: a handicap stone, white first") << false << 1;
    QTest::newRow("black stone whose number was lost: no handicap, black first") << true << 0;
}

void TestDiagramReading::settlesFirstPlayer()
{
    QFETCH(bool, inkInside);
    QFETCH(int, firstPlayer);
    diagram::Board board;
    for (int n = 1; n <= 12; ++n) {
        diagram::Point& p = board.at(n, 1);
        p.stone = (n % 2 == 1) == (firstPlayer == 0) ? diagram::Stone::Black : diagram::Stone::White;
        p.number = n;
    }
    diagram::Point& blank = board.at(5, 5);
    blank.stone = diagram::Stone::Black;
    blank.unsure = inkInside;
    diagram::settleFirstPlayer(board);
    QCOMPARE(int(board.firstPlayer), firstPlayer);
    QCOMPARE(board.at(5, 5).unsure, inkInside);
    for (int n = 1; n <= 12; ++n)
        QVERIFY(!board.at(n, 1).unsure);
}

QTEST_GUILESS_MAIN(TestDiagramReading)
#include "tst_diagramreading.moc"
