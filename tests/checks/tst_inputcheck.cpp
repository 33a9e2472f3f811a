#include "board/form.h"
#include "board/messages.h"
#include "board/texts.h"
#include "checks/inputcheck.h"
#include "support/boardtext.h"

#include <QtTest>

using Faults = QList<InputFault>;

namespace {

constexpr auto NotDigits = InputFaultKind::NotDigits;
constexpr auto AboveTotal = InputFaultKind::AboveTotal;
constexpr auto BeyondTable = InputFaultKind::BeyondTable;
constexpr auto ZeroOrLess = InputFaultKind::ZeroOrLess;
constexpr auto NoMoveNumber = InputFaultKind::NoMoveNumber;
constexpr auto PlaceNotOnBoard = InputFaultKind::PlaceNotOnBoard;

const QString FullWidthBlank = QString(QChar(0x3000));

// The check's result, and the log holding one line per fault and nothing else.
void checkReport(Form& f, const Faults& faults)
{
    QCOMPARE(inputFaults(f), faults);
    QCOMPARE(NyuuryokuDataKakunin(f), !faults.isEmpty());
    QString log;
    for (const InputFault& fault : faults)
        log += inputFaultLine(fault) + QStringLiteral("\r\n");
    QCOMPARE(f.memo, log);
}

} // namespace

class TestInputCheck : public QObject {
    Q_OBJECT

private slots:
    void reportsEveryFault_data();
    void reportsEveryFault();
    void checksListRows_data();
    void checksListRows();
    void faultLines_data();
    void faultLines();
    void changesNothingButTheLog();
};

void TestInputCheck::reportsEveryFault_data()
{
    QTest::addColumn<QString>("total");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<Faults>("faults");

    QTest::newRow("empty board") << "" << QStringList() << Faults();
    QTest::newRow("no total: 1000 passes") << "" << QStringList{"1,1,1000"} << Faults();
    QTest::newRow("no total: 1001 is above")
        << "" << QStringList{"1,1,1001"} << Faults{cellFault(AboveTotal, 1, 1, "1001")};
    QTest::newRow("total no number: 1001 is above")
        << "12x" << QStringList{"2,1,1000", "1,2,1001"} << Faults{cellFault(AboveTotal, 1, 2, "1001")};
    QTest::newRow("total with a trailing blank is no number")
        << "5 " << QStringList{"1,1,6"} << Faults();
    QTest::newRow("above the total") << "50" << QStringList{"19,19,51", "18,19,50"}
                                     << Faults{cellFault(AboveTotal, 19, 19, "51")};
    QTest::newRow("zero and negative") << "" << QStringList{"3,1,0", "1,2,-5"}
                                       << Faults{cellFault(ZeroOrLess, 3, 1, "0"),
                                                      cellFault(ZeroOrLess, 1, 2, "-5")};
    QTest::newRow("total 0: cell 0") << "0" << QStringList{"1,1,0"}
                                     << Faults{cellFault(ZeroOrLess, 1, 1, "0")};
    QTest::newRow("total 0: cell 1") << "0" << QStringList{"1,1,1"}
                                     << Faults{cellFault(AboveTotal, 1, 1, "1")};
    QTest::newRow("total -3: cell -2 is both")
        << "-3" << QStringList{"1,1,-2"}
        << Faults{cellFault(AboveTotal, 1, 1, "-2"), cellFault(ZeroOrLess, 1, 1, "-2")};
    QTest::newRow("not a number") << "" << QStringList{"7,8,12a"}
                                  << Faults{cellFault(NotDigits, 7, 8, "12a")};
    QTest::newRow("full-width blank is not trimmed")
        << "" << QStringList{"1,1," + FullWidthBlank + "5"}
        << Faults{cellFault(NotDigits, 1, 1, FullWidthBlank + "5")};
    QTest::newRow("value shown trimmed") << "" << QStringList{"2,2, 0\t"}
                                         << Faults{cellFault(ZeroOrLess, 2, 2, "0")};
    QTest::newRow("handicap labels take no part")
        << "" << QStringList{"4,4,B", "16,4,B", "4,16,B1", "16,16,B1", "10,10,Bx"} << Faults();
    QTest::newRow("larger total lets 1001 through to the table limit")
        << "2000" << QStringList{"5,6,1001", "6,6,2001"}
        << Faults{cellFault(BeyondTable, 5, 6, "1001"),
                       cellFault(AboveTotal, 6, 6, "2001")};

    QTest::newRow("duplicate from both sides")
        << "" << QStringList{"10,15,25", "3,4,25"}
        << Faults{duplicateFault(3, 4, "25", 10, 15), duplicateFault(10, 15, "25", 3, 4)};
    QTest::newRow("duplicate after trimming")
        << "" << QStringList{"1,1, 25 ", "2,1,25"}
        << Faults{duplicateFault(1, 1, "25", 2, 1), duplicateFault(2, 1, "25", 1, 1)};
    QTest::newRow("7 and 07 differ") << "" << QStringList{"1,1,7", "2,1,07"} << Faults();
    QTest::newRow("three equal give six lines")
        << "" << QStringList{"1,1,9", "5,1,9", "1,3,9"}
        << Faults{duplicateFault(1, 1, "9", 5, 1), duplicateFault(1, 1, "9", 1, 3),
                       duplicateFault(5, 1, "9", 1, 1), duplicateFault(5, 1, "9", 1, 3),
                       duplicateFault(1, 3, "9", 1, 1), duplicateFault(1, 3, "9", 5, 1)};
    QTest::newRow("values first, then duplicates")
        << "" << QStringList{"1,1,x", "2,1,4", "3,1,x", "4,1,4"}
        << Faults{cellFault(NotDigits, 1, 1, "x"), cellFault(NotDigits, 3, 1, "x"),
                       duplicateFault(1, 1, "x", 3, 1), duplicateFault(2, 1, "4", 4, 1),
                       duplicateFault(3, 1, "x", 1, 1), duplicateFault(4, 1, "4", 2, 1)};
}

void TestInputCheck::reportsEveryFault()
{
    QFETCH(QString, total);
    QFETCH(QStringList, cells);
    QFETCH(Faults, faults);

    Form f;
    f.clearLog();
    f.souTesuu = total;
    putCells(f, cells);
    checkReport(f, faults);
}

void TestInputCheck::checksListRows_data()
{
    QTest::addColumn<QStringList>("loaded");
    QTest::addColumn<QStringList>("editing");
    QTest::addColumn<Faults>("faults");

    // The board of every row: 1 to 6, 8 and 10, and a handicap stone B1.
    QTest::newRow("places on the board") << QStringList{"12|B1"} << QStringList{"7|3", "9|8"} << Faults();
    QTest::newRow("empty and blank places are no places")
        << QStringList{"12|"} << QStringList{"7| ", "|", "| "} << Faults();
    QTest::newRow("place matches no cell")
        << QStringList{"12|B2"} << QStringList{"7|99"}
        << Faults{listRowFault(PlaceNotOnBoard, "12", "B2"), listRowFault(PlaceNotOnBoard, "7", "99")};
    QTest::newRow("place is a listed move")
        << QStringList() << QStringList{"7|3", "9|7", "11|9"} << Faults();
    QTest::newRow("listed move without a place is no target")
        << QStringList() << QStringList{"7|", "9|7"} << Faults{listRowFault(PlaceNotOnBoard, "9", "7")};
    QTest::newRow("the loaded list follows no chain")
        << QStringList{"12|7"} << QStringList{"7|3"} << Faults{listRowFault(PlaceNotOnBoard, "12", "7")};
    QTest::newRow("place not a number")
        << QStringList() << QStringList{"7|3a", "9|3 "}
        << Faults{listRowFault(NotDigits, "7", "3a"), listRowFault(NotDigits, "9", "3 ")};
    QTest::newRow("place above the total")
        << QStringList{"12|1001"} << QStringList() << Faults{listRowFault(AboveTotal, "12", "1001")};
    QTest::newRow("move number missing, zero or too large")
        << QStringList{"|1", "0|2"} << QStringList{"1001|3", "abc|99"}
        << Faults{listRowFault(NoMoveNumber, "", "1"), listRowFault(ZeroOrLess, "0", "2"),
                       listRowFault(BeyondTable, "1001", "3"), listRowFault(NoMoveNumber, "abc", "99")};
}

void TestInputCheck::checksListRows()
{
    QFETCH(QStringList, loaded);
    QFETCH(QStringList, editing);
    QFETCH(Faults, faults);

    Form f;
    f.clearLog();
    putCells(f, {"1,1,1", "2,1,2", "3,1,3", "4,1,4", "5,1,5", "6,1,6", "8,1,8", "10,1,10", "4,4,B1"});
    putRows(f.stringGrid1, loaded);
    putRows(f.stringGrid2, editing);
    checkReport(f, faults);
}

void TestInputCheck::faultLines_data()
{
    QTest::addColumn<InputFault>("fault");
    QTest::addColumn<QString>("line");

    QTest::newRow("duplicate") << duplicateFault(3, 4, "25", 10, 15) << QStringLiteral("横3縦4入力値25　と　横10縦15入力値25　は重複しています！");
    QTest::newRow("duplicate, other side") << duplicateFault(10, 15, "25", 3, 4) << QStringLiteral("横10縦15入力値25　と　横3縦4入力値25　は重複しています！");
    QTest::newRow("cell not digits") << cellFault(NotDigits, 7, 8, "12a")
                                     << messages::cellValueLine(7, 8, "12a", texts::NotDigits);
    QTest::newRow("cell above the total") << cellFault(AboveTotal, 1, 2, "51")
                                          << messages::cellValueLine(1, 2, "51", texts::AboveTotal);
    QTest::newRow("cell beyond the table") << cellFault(BeyondTable, 5, 6, "1001")
                                           << messages::cellValueLine(5, 6, "1001", texts::TooManyDigitsFault);
    QTest::newRow("cell zero") << cellFault(ZeroOrLess, 3, 1, "0")
                               << messages::cellValueLine(3, 1, "0", texts::ZeroOrLess);
    QTest::newRow("row without a move number") << listRowFault(NoMoveNumber, "", "1")
                                               << messages::listRowLine("", "1", texts::NoMoveNumber);
    QTest::newRow("row place not on the board") << listRowFault(PlaceNotOnBoard, "12", "B2")
                                                << messages::listRowLine("12", "B2", texts::PlaceNotOnBoard);
    QTest::newRow("row place not digits") << listRowFault(NotDigits, "7", "3a")
                                          << messages::listRowLine("7", "3a", texts::NotDigits);
}

void TestInputCheck::faultLines()
{
    QFETCH(InputFault, fault);

    QTEST(inputFaultLine(fault), "line");
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
