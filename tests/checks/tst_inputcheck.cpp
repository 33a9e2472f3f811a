#include "board/form.h"
#include "board/texts.h"
#include "checks/inputcheck.h"
#include "support/boardtext.h"

#include <QtTest>

namespace {

QString at(int x, int y)
{
    return texts::Yoko + QString::number(x) + texts::Tate + QString::number(y);
}

QString valueLine(int x, int y, const QString& value, const QString& problem)
{
    return at(x, y) + texts::InputValuePass1 + value + problem;
}

QString duplicateLine(int x, int y, const QString& t, int x2, int y2, const QString& u)
{
    return at(x, y) + texts::InputValuePass2 + t + texts::DupAnd + QString::number(x2) + texts::Tate
        + QString::number(y2) + texts::InputValuePass2 + u + texts::DupIs;
}

QString rowLine(const QString& move, const QString& place, const QString& problem)
{
    return texts::ListRowPrefix + move + texts::InputValuePass1 + place + problem;
}

const QString FullWidthBlank = QString(QChar(0x3000));

} // namespace

class TestInputCheck : public QObject {
    Q_OBJECT

private slots:
    void reportsEveryFault_data();
    void reportsEveryFault();
    void checksListRows_data();
    void checksListRows();
    void changesNothingButTheLog();
};

void TestInputCheck::reportsEveryFault_data()
{
    QTest::addColumn<QString>("total");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty board") << "" << QStringList() << QStringList();
    QTest::newRow("no total: 1000 passes") << "" << QStringList{"1,1,1000"} << QStringList();
    QTest::newRow("no total: 1001 is above")
        << "" << QStringList{"1,1,1001"} << QStringList{valueLine(1, 1, "1001", texts::AboveTotal)};
    QTest::newRow("total no number: 1001 is above")
        << "12x" << QStringList{"2,1,1000", "1,2,1001"} << QStringList{valueLine(1, 2, "1001", texts::AboveTotal)};
    QTest::newRow("total with a trailing blank is no number")
        << "5 " << QStringList{"1,1,6"} << QStringList();
    QTest::newRow("above the total") << "50" << QStringList{"19,19,51", "18,19,50"}
                                     << QStringList{valueLine(19, 19, "51", texts::AboveTotal)};
    QTest::newRow("zero and negative") << "" << QStringList{"3,1,0", "1,2,-5"}
                                       << QStringList{valueLine(3, 1, "0", texts::ZeroOrLess),
                                                      valueLine(1, 2, "-5", texts::ZeroOrLess)};
    QTest::newRow("total 0: cell 0") << "0" << QStringList{"1,1,0"}
                                     << QStringList{valueLine(1, 1, "0", texts::ZeroOrLess)};
    QTest::newRow("total 0: cell 1") << "0" << QStringList{"1,1,1"}
                                     << QStringList{valueLine(1, 1, "1", texts::AboveTotal)};
    QTest::newRow("total -3: cell -2 is both")
        << "-3" << QStringList{"1,1,-2"}
        << QStringList{valueLine(1, 1, "-2", texts::AboveTotal), valueLine(1, 1, "-2", texts::ZeroOrLess)};
    QTest::newRow("not a number") << "" << QStringList{"7,8,12a"}
                                  << QStringList{valueLine(7, 8, "12a", texts::NotDigits)};
    QTest::newRow("full-width blank is not trimmed")
        << "" << QStringList{"1,1," + FullWidthBlank + "5"}
        << QStringList{valueLine(1, 1, FullWidthBlank + "5", texts::NotDigits)};
    QTest::newRow("value shown trimmed") << "" << QStringList{"2,2, 0\t"}
                                         << QStringList{valueLine(2, 2, "0", texts::ZeroOrLess)};
    QTest::newRow("handicap labels take no part")
        << "" << QStringList{"4,4,B", "16,4,B", "4,16,B1", "16,16,B1", "10,10,Bx"} << QStringList();
    QTest::newRow("larger total lets 1001 through to the table limit")
        << "2000" << QStringList{"5,6,1001", "6,6,2001"}
        << QStringList{valueLine(5, 6, "1001", texts::TooManyDigitsFault),
                       valueLine(6, 6, "2001", texts::AboveTotal)};

    QTest::newRow("duplicate from both sides")
        << "" << QStringList{"10,15,25", "3,4,25"}
        << QStringList{duplicateLine(3, 4, "25", 10, 15, "25"), duplicateLine(10, 15, "25", 3, 4, "25")};
    QTest::newRow("duplicate after trimming")
        << "" << QStringList{"1,1, 25 ", "2,1,25"}
        << QStringList{duplicateLine(1, 1, "25", 2, 1, "25"), duplicateLine(2, 1, "25", 1, 1, "25")};
    QTest::newRow("7 and 07 differ") << "" << QStringList{"1,1,7", "2,1,07"} << QStringList();
    QTest::newRow("three equal give six lines")
        << "" << QStringList{"1,1,9", "5,1,9", "1,3,9"}
        << QStringList{duplicateLine(1, 1, "9", 5, 1, "9"), duplicateLine(1, 1, "9", 1, 3, "9"),
                       duplicateLine(5, 1, "9", 1, 1, "9"), duplicateLine(5, 1, "9", 1, 3, "9"),
                       duplicateLine(1, 3, "9", 1, 1, "9"), duplicateLine(1, 3, "9", 5, 1, "9")};
    QTest::newRow("values first, then duplicates")
        << "" << QStringList{"1,1,x", "2,1,4", "3,1,x", "4,1,4"}
        << QStringList{valueLine(1, 1, "x", texts::NotDigits), valueLine(3, 1, "x", texts::NotDigits),
                       duplicateLine(1, 1, "x", 3, 1, "x"), duplicateLine(2, 1, "4", 4, 1, "4"),
                       duplicateLine(3, 1, "x", 1, 1, "x"), duplicateLine(4, 1, "4", 2, 1, "4")};
}

void TestInputCheck::reportsEveryFault()
{
    QFETCH(QString, total);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, lines);

    Form f;
    f.clearLog();
    f.souTesuu = total;
    putCells(f, cells);
    QCOMPARE(NyuuryokuDataKakunin(f), !lines.isEmpty());
    QCOMPARE(f.memo.split(QStringLiteral("\r\n")), lines + QStringList{QString()});
}

void TestInputCheck::checksListRows_data()
{
    QTest::addColumn<QStringList>("loaded");
    QTest::addColumn<QStringList>("editing");
    QTest::addColumn<QStringList>("lines");

    // The board of every row: 1 to 6, 8 and 10, and a handicap stone B1.
    QTest::newRow("places on the board") << QStringList{"12|B1"} << QStringList{"7|3", "9|8"} << QStringList();
    QTest::newRow("empty and blank places are no places")
        << QStringList{"12|"} << QStringList{"7| ", "|", "| "} << QStringList();
    QTest::newRow("place matches no cell")
        << QStringList{"12|B2"} << QStringList{"7|99"}
        << QStringList{rowLine("12", "B2", texts::PlaceNotOnBoard), rowLine("7", "99", texts::PlaceNotOnBoard)};
    QTest::newRow("place is a listed move")
        << QStringList() << QStringList{"7|3", "9|7", "11|9"} << QStringList();
    QTest::newRow("listed move without a place is no target")
        << QStringList() << QStringList{"7|", "9|7"} << QStringList{rowLine("9", "7", texts::PlaceNotOnBoard)};
    QTest::newRow("the loaded list follows no chain")
        << QStringList{"12|7"} << QStringList{"7|3"} << QStringList{rowLine("12", "7", texts::PlaceNotOnBoard)};
    QTest::newRow("place not a number")
        << QStringList() << QStringList{"7|3a", "9|3 "}
        << QStringList{rowLine("7", "3a", texts::NotDigits), rowLine("9", "3 ", texts::NotDigits)};
    QTest::newRow("place above the total")
        << QStringList{"12|1001"} << QStringList() << QStringList{rowLine("12", "1001", texts::AboveTotal)};
    QTest::newRow("move number missing, zero or too large")
        << QStringList{"|1", "0|2"} << QStringList{"1001|3", "abc|99"}
        << QStringList{rowLine("", "1", texts::NoMoveNumber), rowLine("0", "2", texts::ZeroOrLess),
                       rowLine("1001", "3", texts::TooManyDigitsFault), rowLine("abc", "99", texts::NoMoveNumber)};
}

void TestInputCheck::checksListRows()
{
    QFETCH(QStringList, loaded);
    QFETCH(QStringList, editing);
    QFETCH(QStringList, lines);

    Form f;
    f.clearLog();
    putCells(f, {"1,1,1", "2,1,2", "3,1,3", "4,1,4", "5,1,5", "6,1,6", "8,1,8", "10,1,10", "4,4,B1"});
    putRows(f.stringGrid1, loaded);
    putRows(f.stringGrid2, editing);
    QCOMPARE(NyuuryokuDataKakunin(f), !lines.isEmpty());
    QCOMPARE(f.memo.split(QStringLiteral("\r\n")), lines + QStringList{QString()});
}

void TestInputCheck::changesNothingButTheLog()
{
    Form f;
    f.clearLog();
    f.souTesuu = QStringLiteral("3");
    putCells(f, {"1,1, 5", "2,2,5", "3,3,x"});
    putRows(f.stringGrid2, {"2|ｂ１"});
    const Form before = f;
    QVERIFY(NyuuryokuDataKakunin(f));
    QVERIFY(!f.memo.isEmpty());
    for (int i = 0; i < 361; ++i) {
        QCOMPARE(f.cells[size_t(i)].text, before.cells[size_t(i)].text);
        QCOMPARE(f.cells[size_t(i)].background, before.cells[size_t(i)].background);
    }
    QCOMPARE(f.stringGrid2.cells, before.stringGrid2.cells);
    QCOMPARE(f.souTesuu, before.souTesuu);
}

QTEST_APPLESS_MAIN(TestInputCheck)
#include "tst_inputcheck.moc"
