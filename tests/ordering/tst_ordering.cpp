#include "board/form.h"
#include "board/messages.h"
#include "board/texts.h"
#include "checks/inputcheck.h"
#include "ordering/moveordering.h"
#include "support/boardtext.h"
#include "support/referenceordering.h"
#include "support/scriptedui.h"

#include <QRandomGenerator>
#include <QtTest>

#include <memory>

namespace {

// Moves 1..n on the board, row by row from the top left, skipping the numbers left out.
QStringList numberedCells(int n, const QList<int>& leftOut = {})
{
    QStringList cells;
    int slot = 0;
    for (int k = 1; k <= n; ++k) {
        if (leftOut.contains(k))
            continue;
        cells << QStringLiteral("%1,%2,%3").arg(slot % 19 + 1).arg(slot / 19 + 1).arg(k);
        ++slot;
    }
    return cells;
}

} // namespace

class TestOrdering : public QObject {
    Q_OBJECT

private slots:
    void ordersListPlaces_data();
    void ordersListPlaces();
    void matchesReferenceOnGeneratedBoards();
    void stopsOnFaultWithoutTouchingTheTable_data();
    void stopsOnFaultWithoutTouchingTheTable();
    void tidiesPlacesEvenWhenItStops();
    void gapCheckReportsEachMissingMove();
    void gapCheckPasses_data();
    void gapCheckPasses();
    void highestMoveWithoutPointIsNoGap();
};

void TestOrdering::ordersListPlaces_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("loaded");
    QTest::addColumn<QStringList>("editing");
    // "k=point", or "k=" for an entry that must stay empty.
    QTest::addColumn<QStringList>("expected");

    const QStringList oneToTen = numberedCells(10);
    QTest::newRow("board only") << oneToTen << QStringList() << QStringList()
                                << QStringList{"1=aa", "5=ea", "10=ja", "11="};

    const QStringList without7 = numberedCells(8, {7});
    QTest::newRow("missing move at a stone") << without7 << QStringList() << QStringList{"7|3"}
                                             << QStringList{"7=ca", "8=ga"};
    QTest::newRow("full-width place") << without7 << QStringList() << QStringList{"7|" + fullWidth("3")}
                                      << QStringList{"7=ca"};
    QTest::newRow("full-width handicap place")
        << (without7 + QStringList{"9,9,B1"}) << QStringList() << QStringList{"7|" + fullWidth("b1")}
        << QStringList{"7=ii"};
    QTest::newRow("trailing blank matches nothing") << without7 << QStringList() << QStringList{"7|3 "}
                                                    << QStringList{"7="};
    QTest::newRow("leading blank matches nothing") << without7 << QStringList() << QStringList{"7| 3"}
                                                   << QStringList{"7="};

    const QStringList without7and9 = numberedCells(10, {7, 9});
    QTest::newRow("chain of two") << without7and9 << QStringList() << QStringList{"7|3", "9|7"}
                                  << QStringList{"7=ca", "9=ca"};
    const QStringList without7_9_11 = numberedCells(12, {7, 9, 11});
    QTest::newRow("chain of three stays open")
        << without7_9_11 << QStringList() << QStringList{"7|3", "9|7", "11|9"}
        << QStringList{"7=ca", "9=ca", "11="};
    QTest::newRow("link on a later row") << without7and9 << QStringList() << QStringList{"9|7", "7|3"}
                                         << QStringList{"9=ca", "7=ca"};
    QTest::newRow("link back to an earlier row is not followed")
        << without7_9_11 << QStringList() << QStringList{"11|3", "9|7", "7|11"}
        << QStringList{"11=ca", "9=", "7=ca"};
    // 7 -> 3 is held, 3 -> 50 is not: the last place that a cell holds wins.
    QTest::newRow("chain ends at the last held place")
        << without7and9 << QStringList() << QStringList{"9|7", "7|3", "3|50"} << QStringList{"9=ca", "7=ca"};

    QTest::newRow("7 and 07, later cell wins") << QStringList{"3,3,7", "10,10,07"} << QStringList()
                                               << QStringList() << QStringList{"7=jj"};
    QTest::newRow("07 and 7, later cell wins") << QStringList{"3,3,07", "10,10,7"} << QStringList()
                                               << QStringList() << QStringList{"7=jj"};
    QTest::newRow("place 7 does not match 07") << QStringList{"3,3,07", "1,1,1"} << QStringList()
                                               << QStringList{"2|7"} << QStringList{"2=", "7=cc"};
    QTest::newRow("last matching cell wins") << QStringList{"3,3,B1", "15,15,B1"} << QStringList{"1|B1"}
                                             << QStringList() << QStringList{"1=oo"};
    QTest::newRow("handicap place from the loaded list")
        << QStringList{"4,4,B1", "16,16,B2", "16,4,1"} << QStringList{"2|B2", "3|B1"} << QStringList()
        << QStringList{"1=pd", "2=pp", "3=dd"};
    QTest::newRow("cell text is trimmed") << QStringList{"5,5, 12 ", "6,6,\t3"} << QStringList()
                                          << QStringList{"4|12"} << QStringList{"12=ee", "3=ff", "4=ee"};
    QTest::newRow("editing list overrides the loaded list and the board")
        << numberedCells(6) << QStringList{"5|2"} << QStringList{"5|3"} << QStringList{"5=ca"};
    QTest::newRow("place that matches nothing keeps the entry")
        << numberedCells(6) << QStringList() << QStringList{"5|99"} << QStringList{"5=ea"};
}

void TestOrdering::ordersListPlaces()
{
    QFETCH(QStringList, cells);
    QFETCH(QStringList, loaded);
    QFETCH(QStringList, editing);
    QFETCH(QStringList, expected);

    Form f;
    putCells(f, cells);
    putRows(f.stringGrid1, loaded);
    putRows(f.stringGrid2, editing);
    Form literal = f;

    StringGrid1Seibi(f);
    StringGrid2Seibi(f);
    fillMoveTable(f);
    for (const QString& e : expected) {
        const QStringList kv = e.split(QLatin1Char('='));
        QCOMPARE(f.moveTable[size_t(kv[0].toInt())], kv[1]);
    }
    reference::orderMoves(literal);
    QCOMPARE(f.moveTable, literal.moveTable);
}

namespace {

// A board and lists as a typist or a loaded file might leave them, within what the
// input-data check admits for the board: numbers (some with leading zeros or blanks),
// handicap labels (some twice), places that match, chain, miss or are typed full-width.
class CaseGenerator {
public:
    explicit CaseGenerator(quint32 seed)
        : rng_(seed)
    {
    }

    std::unique_ptr<Form> next()
    {
        auto f = std::make_unique<Form>();
        const int highest = bounded(1, 1000);
        const int stones = bounded(0, 361);
        QStringList cellTexts;
        for (int i = 0; i < stones; ++i)
            cellTexts << cellText(highest);
        QList<int> positions;
        for (int i = 0; i < 361; ++i)
            positions << i;
        for (int i = 0; i < stones; ++i) {
            const int j = bounded(i, 360);
            std::swap(positions[i], positions[j]);
            f->cells[size_t(positions[i])].text = cellTexts[i];
        }
        fillList(f->stringGrid1, cellTexts, highest, bounded(0, 5), false);
        fillList(f->stringGrid2, cellTexts, highest, bounded(0, 8), true);
        return f;
    }

private:
    int bounded(int low, int high) { return int(rng_.bounded(low, high + 1)); }
    bool chance(int percent) { return bounded(1, 100) <= percent; }

    QString cellText(int highest)
    {
        if (chance(8))
            return QStringLiteral("B%1").arg(bounded(1, 4));
        const QString n = QString::number(bounded(1, highest));
        if (chance(5))
            return QLatin1Char('0') + n;
        if (chance(5))
            return QLatin1Char(' ') + n + QLatin1Char(' ');
        return n;
    }

    QString place(const QStringList& cellTexts, const QStringList& moves, int highest, bool chained)
    {
        const int kind = bounded(1, 100);
        if (kind <= 40 && !cellTexts.isEmpty())
            return cellTexts[bounded(0, int(cellTexts.size()) - 1)].trimmed();
        if (kind <= 60 && chained && !moves.isEmpty())
            return moves[bounded(0, int(moves.size()) - 1)];
        if (kind <= 70)
            return QString::number(bounded(1, highest));
        if (kind <= 78 && !cellTexts.isEmpty())
            return fullWidth(cellTexts[bounded(0, int(cellTexts.size()) - 1)].trimmed().toLower());
        if (kind <= 84)
            return QString::number(bounded(1, highest)) + QLatin1Char(' ');
        if (kind <= 90)
            return QStringLiteral(" ");
        return QString();
    }

    void fillList(MoveList& list, const QStringList& cellTexts, int highest, int rows, bool chained)
    {
        // Mostly ascending move numbers, as the missing-number check lists them.
        QStringList moves;
        int m = bounded(1, 20);
        for (int r = 1; r <= rows; ++r) {
            moves << QString::number(std::min(m, 1000));
            m += chance(80) ? bounded(1, 30) : -bounded(0, 10);
            m = std::max(m, 1);
        }
        const int start = bounded(1, MoveList::Rows - rows);
        for (int i = 0; i < rows; ++i) {
            list.at(0, start + i) = moves[i];
            list.at(1, start + i) = place(cellTexts, moves, highest, chained);
        }
    }

    QRandomGenerator rng_;
};

} // namespace

void TestOrdering::matchesReferenceOnGeneratedBoards()
{
    CaseGenerator generate(20240611);
    int placedByLists = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto f = generate.next();
        Form literal = *f;
        Form beforeLists = *f;
        StringGrid1Seibi(*f);
        StringGrid2Seibi(*f);
        fillMoveTable(*f);
        reference::orderMoves(literal);
        if (f->moveTable != literal.moveTable) {
            for (int k = 1; k <= 1000; ++k) {
                if (f->moveTable[size_t(k)] != literal.moveTable[size_t(k)])
                    qWarning() << "case" << i << "entry" << k << f->moveTable[size_t(k)]
                               << literal.moveTable[size_t(k)];
            }
            QFAIL("the ordering differs from the literal procedure");
        }
        // The generator must exercise the lists, not just the board pass.
        StringGridClear(beforeLists);
        StringGrid2Clear(beforeLists);
        fillMoveTable(beforeLists);
        if (beforeLists.moveTable != f->moveTable)
            ++placedByLists;
    }
    QVERIFY2(placedByLists > 700, qPrintable(QString::number(placedByLists)));
}

void TestOrdering::stopsOnFaultWithoutTouchingTheTable_data()
{
    QTest::addColumn<QString>("total");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("loaded");
    QTest::addColumn<QStringList>("editing");
    QTest::addColumn<InputFault>("fault");

    QTest::newRow("cell above 1000 under a larger total")
        << "2000" << QStringList{"5,6,1001"} << QStringList() << QStringList()
        << cellFault(InputFaultKind::BeyondTable, 5, 6, "1001");
    QTest::newRow("cell above 1000 and above the total")
        << "" << QStringList{"5,6,1001"} << QStringList() << QStringList()
        << cellFault(InputFaultKind::AboveTotal, 5, 6, "1001");
    QTest::newRow("editing row numbered above 1000")
        << "2000" << QStringList{"1,1,1"} << QStringList() << QStringList{"1001|1"}
        << listRowFault(InputFaultKind::BeyondTable, "1001", "1");
    QTest::newRow("loaded row numbered above 1000")
        << "2000" << QStringList{"1,1,1"} << QStringList{"1500|1"} << QStringList()
        << listRowFault(InputFaultKind::BeyondTable, "1500", "1");
    QTest::newRow("editing row without a move number")
        << "" << QStringList{"1,1,1"} << QStringList() << QStringList{"|1"}
        << listRowFault(InputFaultKind::NoMoveNumber, "", "1");
    QTest::newRow("loaded row with a text for a move number")
        << "" << QStringList{"1,1,B1"} << QStringList{"x|B1"} << QStringList()
        << listRowFault(InputFaultKind::NoMoveNumber, "x", "B1");
    QTest::newRow("place with a trailing blank")
        << "" << numberedCells(8, {7}) << QStringList() << QStringList{"7|3 "}
        << listRowFault(InputFaultKind::NotDigits, "7", "3 ");
}

void TestOrdering::stopsOnFaultWithoutTouchingTheTable()
{
    QFETCH(QString, total);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, loaded);
    QFETCH(QStringList, editing);
    QFETCH(InputFault, fault);

    Form f;
    f.clearLog();
    f.souTesuu = total;
    putCells(f, cells);
    putRows(f.stringGrid1, loaded);
    putRows(f.stringGrid2, editing);
    f.moveTable[1] = QStringLiteral("qq");
    f.moveTable[1000] = QStringLiteral("rr");

    QVERIFY(ZyunRetuStrKihu(f));
    QCOMPARE(inputFaults(f), QList<InputFault>{fault});
    QCOMPARE(f.memo, inputFaultLine(fault) + "\r\n");
    QCOMPARE(f.moveTable[1], QStringLiteral("qq"));
    QCOMPARE(f.moveTable[1000], QStringLiteral("rr"));
    QVERIFY(f.moveTable[2].isEmpty());
}

void TestOrdering::tidiesPlacesEvenWhenItStops()
{
    Form f;
    f.clearLog();
    putCells(f, {"1,1,abc"});
    putRows(f.stringGrid1, {"2|" + fullWidth("b1")});
    putRows(f.stringGrid2, {"3|" + fullWidth("12")});
    QVERIFY(ZyunRetuStrKihu(f));
    QCOMPARE(f.stringGrid1.at(1, 1), QStringLiteral("B1"));
    QCOMPARE(f.stringGrid2.at(1, 1), QStringLiteral("12"));
    QCOMPARE(f.stringGrid2.at(0, 1), QStringLiteral("3"));
}

void TestOrdering::gapCheckReportsEachMissingMove()
{
    Form f;
    f.clearLog();
    putCells(f, numberedCells(8, {6, 7}));
    QVERIFY(!ZyunRetuStrKihu(f));
    ScriptedUi ui;
    QVERIFY(ZyunRetuKihuKakunin(f, ui));

    QCOMPARE(unplacedMoves(f), (QList<int>{6, 7}));
    QCOMPARE(messages::gapLine(6), QStringLiteral("途中の手番が抜けています！　手番　6手"));
    QCOMPARE(f.memo, messages::gapLine(6) + "\r\n" + messages::gapLine(7) + "\r\n");
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(ui.boxes[0].title, texts::TitleWarning);
    QCOMPARE(ui.boxes[0].kind, BoxKind::Warning);
    QCOMPARE(ui.boxes[0].buttons, BoxButtons::Ok);
    QCOMPARE(ui.boxes[0].text, messages::gapBox());
}

void TestOrdering::gapCheckPasses_data()
{
    // Entries 1..upTo are filled, then the extras.
    QTest::addColumn<int>("upTo");
    QTest::addColumn<QList<int>>("extras");
    QTest::addColumn<QList<int>>("gaps");

    QTest::newRow("empty table") << 0 << QList<int>() << QList<int>();
    QTest::newRow("1 to 10") << 10 << QList<int>() << QList<int>();
    QTest::newRow("1 to 1000") << 1000 << QList<int>() << QList<int>();
    QTest::newRow("1 to 5 and 8") << 5 << QList<int>{8} << QList<int>{6, 7};
    QTest::newRow("only move 3") << 0 << QList<int>{3} << QList<int>{1, 2};
    // Move 1000 has a point: leaving out 999 must not drop it silently.
    QTest::newRow("1000 placed, 999 not") << 998 << QList<int>{1000} << QList<int>{999};
}

void TestOrdering::gapCheckPasses()
{
    QFETCH(int, upTo);
    QFETCH(QList<int>, extras);
    QFETCH(QList<int>, gaps);

    Form f;
    f.clearLog();
    for (int k = 1; k <= upTo; ++k)
        f.moveTable[size_t(k)] = QStringLiteral("aa");
    for (int k : extras)
        f.moveTable[size_t(k)] = QStringLiteral("bb");
    ScriptedUi ui;
    QCOMPARE(unplacedMoves(f), gaps);
    QCOMPARE(ZyunRetuKihuKakunin(f, ui), !gaps.isEmpty());
    QString lines;
    for (int k : gaps)
        lines += messages::gapLine(k) + "\r\n";
    QCOMPARE(f.memo, lines);
    QCOMPARE(ui.boxes.size(), gaps.isEmpty() ? 0 : 1);
}

void TestOrdering::highestMoveWithoutPointIsNoGap()
{
    Form f;
    f.clearLog();
    f.souTesuu = QStringLiteral("10");
    putCells(f, numberedCells(9));
    putRows(f.stringGrid2, {"10|"});
    QVERIFY(!ZyunRetuStrKihu(f));
    ScriptedUi ui;
    QVERIFY(!ZyunRetuKihuKakunin(f, ui));
    QVERIFY(f.moveTable[10].isEmpty());
    QCOMPARE(f.moveTable[9], QStringLiteral("ia"));
    QVERIFY(f.memo.isEmpty());
    QVERIFY(ui.boxes.isEmpty());
}

QTEST_APPLESS_MAIN(TestOrdering)
#include "tst_ordering.moc"
