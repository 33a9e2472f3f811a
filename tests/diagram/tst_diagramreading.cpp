#include "board/go.h"
#include "diagram/diagram.h"
#include "diagram/uniqueness.h"
#include "support/folders.h"

#include <QtTest>

#include <string>
#include <vector>

// The reading's mending of numbers by their colours and by one another, and what it refuses
// to read.
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
    void settlesByUniqueness_data();
    void settlesByUniqueness();
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

// The odds of a two-digit number 2d for each second digit d, as the network gives them.
using SecondDigits = QMap<int, double>;

diagram::Weighing weighingOf(const SecondDigits& odds)
{
    diagram::CellReading r;
    r.weighed = true;
    r.lengthOdds[2] = 1.0f;
    r.digitOdds[0][2] = 1.0f;
    for (auto it = odds.begin(); it != odds.end(); ++it)
        r.digitOdds[1][std::size_t(it.key())] = float(it.value());
    return {{r}};
}

void TestDiagramReading::settlesByUniqueness_data()
{
    // Moves 1..30 stand surely on the first two rows, black first, save those left out; one
    // or two white stones stand in doubt, each read as the likeliest number the network weighed.
    QTest::addColumn<QList<int>>("leftOut");
    QTest::addColumn<SecondDigits>("first");
    QTest::addColumn<SecondDigits>("second"); // empty: no second stone
    QTest::addColumn<bool>("colourSure");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("unsure");
    QTest::newRow("its rival stands surely elsewhere") << QList<int>{22} << SecondDigits{{4, 0.55}, {2, 0.45}} << SecondDigits{} << true << 22 << false;
    QTest::newRow("both numbers open: left in doubt") << QList<int>{22, 24} << SecondDigits{{4, 0.55}, {2, 0.45}} << SecondDigits{} << true << 24 << true;
    QTest::newRow("its rival of the other colour") << QList<int>{22, 23} << SecondDigits{{3, 0.3}, {2, 0.7}} << SecondDigits{} << true << 22 << false;
    QTest::newRow("two stones, two missing moves") << QList<int>{22, 24} << SecondDigits{{4, 0.55}, {2, 0.45}} << SecondDigits{{4, 0.99}, {2, 0.01}} << true << 22 << false;
    QTest::newRow("a later figure: a surer stone takes the number") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 22, 24} << SecondDigits{{4, 0.7}, {2, 0.3}} << SecondDigits{{4, 0.99}, {2, 0.01}} << true << 22 << true;
    QTest::newRow("colour in doubt: left as read") << QList<int>{22} << SecondDigits{{4, 0.55}, {2, 0.45}} << SecondDigits{} << false << 24 << true;
    QTest::newRow("every number it may be taken: left") << QList<int>{26} << SecondDigits{{4, 1.0}} << SecondDigits{} << true << 24 << true;
}

void TestDiagramReading::settlesByUniqueness()
{
    QFETCH(QList<int>, leftOut);
    QFETCH(SecondDigits, first);
    QFETCH(SecondDigits, second);
    QFETCH(bool, colourSure);
    diagram::Board board;
    for (int n = 1; n <= 30; ++n) {
        if (leftOut.contains(n))
            continue;
        diagram::Point& p = board.at((n - 1) % 19 + 1, (n - 1) / 19 + 1);
        p.stone = n % 2 ? diagram::Stone::Black : diagram::Stone::White;
        p.number = n;
    }
    std::array<bool, go::Points> colours;
    colours.fill(true);
    std::vector<diagram::Weighing> weighed(go::Points);
    const auto inDoubtAt = [&](int x, const SecondDigits& odds) {
        diagram::Point& p = board.at(x, 10);
        p.stone = diagram::Stone::White;
        p.number = 20 + std::max_element(odds.begin(), odds.end()).key();
        p.unsure = true;
        weighed[std::size_t(go::pointOf(x, 10))] = weighingOf(odds);
        colours[std::size_t(go::pointOf(x, 10))] = colourSure;
    };
    inDoubtAt(1, first);
    if (!second.isEmpty())
        inDoubtAt(2, second);
    diagram::settleByUniqueness(board, {}, colours, weighed);
    QTEST(board.at(1, 10).number, "number");
    QTEST(board.at(1, 10).unsure, "unsure");
}

QTEST_GUILESS_MAIN(TestDiagramReading)
#include "tst_diagramreading.moc"
