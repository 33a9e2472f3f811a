#include "board/colours.h"
#include "board/form.h"
#include "entry/handicap.h"

#include <QtTest>

namespace {

// "x,y=text ..." for every cell that holds a handicap label, in row order.
QString stonesOnBoard(const Form& f)
{
    QStringList parts;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            if (f.cell(x, y).text.startsWith(QLatin1Char('B')))
                parts << QStringLiteral("%1,%2=%3").arg(x).arg(y).arg(f.cell(x, y).text);
        }
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestHandicap : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<QString>("points"); // "x,y x,y ..." in the order read

        const QByteArray head = "(;CA[shift_jis]";
        const QByteArray tail = "SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1]";
        QTest::newRow("four stones") << head + "AB[dd][pp][dp][pd]" + tail << true << "4,4 16,16 4,16 16,4";
        QTest::newRow("no AB") << head + tail << false << "";
        QTest::newRow("space ends the list") << head + "AB[dd] [pp]" + tail << true << "4,4";
        QTest::newRow("line break already gone") << head + "AB[dd][pp]" << true << "4,4 16,16";
        QTest::newRow("two AB lists") << head + "AB[dd]PB[x]AB[pp]" + tail << true << "4,4 16,16";
        QTest::newRow("third AB not read") << head + "AB[aa]AB[bb]AB[cc]" << true << "1,1 2,2";
        QTest::newRow("AB inside a name") << "(;PB[ABE]" + tail << true << "";
        QTest::newRow("three-letter value ends") << head + "AB[dd][ppp][aa]" << true << "4,4";
        QTest::newRow("at the very end") << QByteArray("AB[ss]") << true << "19,19";
        QTest::newRow("cut short") << QByteArray("AB[ss][a") << true << "19,19";
        QTest::newRow("tt before any point") << QByteArray("AB[tt][cd]") << true << "3,4";
        QTest::newRow("half a point before any") << QByteArray("AB[ta][bt]") << true << "2,1";
        QTest::newRow("tt keeps the point before") << QByteArray("AB[cd][tt][te]") << true << "3,4 3,4 3,5";
        QTest::newRow("upper case is no letter") << QByteArray("AB[DD][dd]") << true << "4,4";
        QTest::newRow("AW not read") << head + "AW[dd]" + tail << false << "";
        QTest::newRow("coordinates carry to the second list") << QByteArray("AB[cd]XAB[te]") << true << "3,4 3,5";
    }

    void parse()
    {
        QFETCH(QByteArray, header);
        const HandicapList list = parseHandicapList(header);
        QTEST(list.listed, "listed");
        QStringList read;
        for (const CellPos& p : list.points)
            read << QStringLiteral("%1,%2").arg(p.x).arg(p.y);
        QTEST(read.join(QLatin1Char(' ')), "points");
    }

    void placesNumberedLockedStones_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<int>("firstPlayer");
        QTest::addColumn<QString>("stones");

        QTest::newRow("row order") << QByteArray("(;AB[dd][pp][dp][pd]SZ[19]") << 1
                                   << "4,4=B1 16,4=B2 4,16=B3 16,16=B4";
        QTest::newRow("later row listed first") << QByteArray("(;AB[pd][dp]") << 1 << "16,4=B1 4,16=B2";
        QTest::newRow("same row, right listed first") << QByteArray("AB[pd][dd]") << 1 << "4,4=B1 16,4=B2";
        QTest::newRow("listed twice counts once") << QByteArray("AB[dd][dd][pp]") << 1 << "4,4=B1 16,16=B2";
        QTest::newRow("no AB") << QByteArray("(;SZ[19]MULTIGO") << 0 << "";
        QTest::newRow("AB but nothing readable") << QByteArray("(;PB[ABE]") << 1 << "";
    }

    void placesNumberedLockedStones()
    {
        QFETCH(QByteArray, header);
        Form f;
        f.gameInfo = header;
        OkiisiSet(f);
        QTEST(int(f.radioGroup1), "firstPlayer");
        QTEST(stonesOnBoard(f), "stones");
        for (const Cell& c : f.cells) {
            const bool stone = c.text.startsWith(QLatin1Char('B'));
            QCOMPARE(c.enabled, !stone);
            QCOMPARE(c.tag, stone ? CellOrigin::LoadedHandicap : CellOrigin::Typed);
            if (stone)
                QCOMPARE(c.background, colours::Black);
        }
        QCOMPARE(f.memo, Form().memo);
    }

    // Every label is renumbered in row order, each above the highest on the board at its turn.
    void numbersAfterExistingLabels()
    {
        Form f;
        f.cell(5, 1).text = QStringLiteral("B7");
        f.cell(2, 1).text = QStringLiteral("Bx");
        f.gameInfo = "AB[cc][aa]";
        OkiisiSet(f);
        QCOMPARE(stonesOnBoard(f), QStringLiteral("1,1=B8 2,1=B9 5,1=B10 3,3=B11"));
    }

    void leavesOtherCellsAlone()
    {
        Form f;
        f.cell(5, 5).text = QStringLiteral("12");
        f.cell(5, 5).background = colours::White;
        f.gameInfo = "AB[dd]";
        OkiisiSet(f);
        QCOMPARE(f.cell(5, 5).text, QStringLiteral("12"));
        QCOMPARE(f.cell(5, 5).background, colours::White);
        QVERIFY(f.cell(5, 5).enabled);
        QCOMPARE(f.cell(4, 4).text, QStringLiteral("B1"));
    }
};

QTEST_GUILESS_MAIN(TestHandicap)
#include "tst_handicap.moc"
