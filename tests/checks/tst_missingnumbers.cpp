#include "board/conversions.h"
#include "board/form.h"
#include "board/messages.h"
#include "board/lifecycle.h"
#include "board/texts.h"
#include "checks/missingnumbers.h"
#include "support/scriptedui.h"

#include <QTest>

namespace {

const QString Crlf = QStringLiteral("\r\n");
const QString Old = QStringLiteral("old");

// Puts the texts on the board in scan order from the top left.
void placeOnBoard(Form& f, const QStringList& texts)
{
    for (int i = 0; i < texts.size(); ++i)
        f.cell(i % 19 + 1, i / 19 + 1).text = texts[i];
}

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int n = from; n <= to; ++n)
        out << QString::number(n);
    return out;
}

// Column 0 of the data rows from row 1 down to the last row that changed from the filling.
QStringList listedNumbers(const MoveList& list)
{
    QStringList out;
    for (int r = 1; r <= MoveList::LastRow && list.at(0, r) != Old; ++r)
        out << list.at(0, r);
    return out;
}

} // namespace

class TestMissingNumbers : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        f = Form();
        FormCreate(f);
        ui = ScriptedUi();
        // Earlier contents show what the check writes over and what it leaves.
        for (int r = 1; r <= MoveList::LastRow; ++r) {
            f.stringGrid2.at(0, r) = Old;
            f.stringGrid2.at(1, r) = QStringLiteral("ｂ１");
        }
        f.stringGrid1.at(1, 1) = QStringLiteral("ｂ２");
        f.stringGrid1.at(0, 0) = QStringLiteral("x");
    }

    // Cancel at the question, or no total to list up to: nothing is listed or tidied.
    void stopsBeforeListing_data()
    {
        QTest::addColumn<QString>("total");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("warning"); // the box after the question, if any
        QTest::addColumn<QStringList>("focus");
        QTest::newRow("Cancel") << "3" << Answer::Cancel << QString() << QStringList();
        const QStringList total{QStringLiteral("SouTesuu")};
        QTest::newRow("empty total") << "" << Answer::Ok << texts::MissingNeedTotal << total;
        QTest::newRow("blanks for a total") << "   " << Answer::Ok << texts::MissingNeedTotal << total;
        QTest::newRow("tab and blank for a total") << "\t " << Answer::Ok << texts::MissingNeedTotal << total;
    }

    void stopsBeforeListing()
    {
        QFETCH(QString, total);
        QFETCH(Answer, answer);
        QFETCH(QString, warning);
        f.souTesuu = total;
        ui.answers << answer;
        Button1Click(f, ui);
        QCOMPARE(ui.boxes.size(), warning.isEmpty() ? 1 : 2);
        QCOMPARE(ui.boxes[0].kind, BoxKind::Confirm);
        QCOMPARE(ui.boxes[0].text, texts::MissingListUp);
        QCOMPARE(ui.boxes[0].buttons, BoxButtons::OkCancel);
        if (!warning.isEmpty()) {
            QCOMPARE(ui.boxes[1].kind, BoxKind::Warning);
            QCOMPARE(ui.boxes[1].text, warning);
            QCOMPARE(ui.boxes[1].buttons, BoxButtons::Ok);
        }
        QCOMPARE(f.memo, texts::MissingListUp + Crlf + (warning.isEmpty() ? QString() : warning + Crlf));
        QTEST(ui.focusRequests, "focus");
        QCOMPARE(f.stringGrid2.at(0, 1), Old);
        QCOMPARE(f.stringGrid2.at(1, 1), QStringLiteral("ｂ１"));
        QCOMPARE(f.stringGrid1.at(0, 0), QStringLiteral("x"));
    }

    void listsWhatBoardAndLoadedMovesLack_data()
    {
        QTest::addColumn<QStringList>("board");
        QTest::addColumn<QStringList>("loaded");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QStringList>("listed");

        QTest::newRow("empty board") << QStringList{} << QStringList{} << "3" << QStringList{"1", "2", "3"};
        QTest::newRow("all present") << numbers(1, 3) << QStringList{} << "3" << QStringList{};
        QTest::newRow("total 0") << QStringList{} << QStringList{} << "0" << QStringList{};
        QTest::newRow("negative total") << QStringList{} << QStringList{} << "-5" << QStringList{};
        QTest::newRow("leading blanks") << QStringList{"1", "2", "3", "5", "6", "7", "8", "9", "10"} << QStringList{}
                                        << "  12" << QStringList{"4", "11", "12"};
        QTest::newRow("hexadecimal total") << QStringList{"2"} << QStringList{} << "$3" << QStringList{"1", "3"};
        QTest::newRow("number twice on the board") << QStringList{"2", "2"} << QStringList{} << "3"
                                                   << QStringList{"1", "3"};
        QTest::newRow("handicap stones are no moves") << QStringList{"B1", "B2"} << QStringList{} << "2"
                                                      << QStringList{"1", "2"};
        QTest::newRow("off-board move of an opened file") << QStringList{"1"} << QStringList{"2"} << "3"
                                                          << QStringList{"3"};
        QTest::newRow("numbers above the total") << QStringList{"50", "4"} << QStringList{} << "3"
                                                 << QStringList{"1", "2", "3"};
        QTest::newRow("blanks round a cell") << QStringList{" 2 "} << QStringList{} << "3" << QStringList{"1", "3"};
        QTest::newRow("negative numbers") << QStringList{"-1"} << QStringList{} << "2" << QStringList{"1", "2"};
    }

    void listsWhatBoardAndLoadedMovesLack()
    {
        QFETCH(QStringList, board);
        QFETCH(QStringList, loaded);
        QFETCH(QString, total);
        QFETCH(QStringList, listed);
        placeOnBoard(f, board);
        for (int i = 0; i < loaded.size(); ++i)
            f.stringGrid1.at(0, i + 1) = loaded[i];
        f.souTesuu = total;
        Button1Click(f, ui);

        QCOMPARE(listedNumbers(f.stringGrid2), listed);
        QCOMPARE(f.stringGrid2.at(0, listed.size() + 1), Old);
        QCOMPARE(ui.boxes.size(), 2);
        QCOMPARE(ui.boxes[1].kind, BoxKind::Information);
        QCOMPARE(ui.boxes[1].text, texts::MissingDone);
        QCOMPARE(ui.boxes[1].buttons, BoxButtons::Ok);
        QCOMPARE(f.memo, texts::MissingListUp + Crlf + texts::MissingDone + Crlf);
        QCOMPARE(ui.focusRequests, QStringList{QStringLiteral("StringGrid2")});
        // Places are tidied, never written; the header of the loaded list is restored.
        QCOMPARE(f.stringGrid2.at(1, 1), QStringLiteral("B1"));
        QCOMPARE(f.stringGrid2.at(1, MoveList::LastRow), QStringLiteral("B1"));
        QCOMPARE(f.stringGrid1.at(1, 1), QStringLiteral("B2"));
        QCOMPARE(f.stringGrid1.at(0, 0), texts::GridMoveHeader);
        QCOMPARE(f.stringGrid1.at(1, 0), texts::GridPlaceHeader);
        QCOMPARE(f.stringGrid2.at(0, 0), texts::GridMoveHeader);
    }

    void secondRunMovesNumbersUp()
    {
        f.souTesuu = QStringLiteral("5");
        Button1Click(f, ui);
        QCOMPARE(listedNumbers(f.stringGrid2), numbers(1, 5));
        f.stringGrid2.at(1, 4) = QStringLiteral("7");
        f.cell(9, 9).text = QStringLiteral("3");
        Button1Click(f, ui);
        // The row below the new list keeps its number, and the place stays in its row.
        QCOMPARE(listedNumbers(f.stringGrid2), (QStringList{"1", "2", "4", "5", "5"}));
        QCOMPARE(f.stringGrid2.at(1, 4), QStringLiteral("7"));
    }

    void numbersBeyondTheListAreCounted_data()
    {
        QTest::addColumn<QStringList>("board");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("lastListed");
        QTest::addColumn<qint64>("notListed");

        QTest::newRow("exactly fills the list") << QStringList{} << "499" << "499" << qint64(0);
        QTest::newRow("one too many") << QStringList{} << "500" << "499" << qint64(1);
        QTest::newRow("present numbers before the end") << QStringList{"1", "2"} << "600" << "501" << qint64(99);
        QTest::newRow("present numbers beyond the list") << QStringList{"1000", "1100", "5000"} << "1200" << "499"
                                                         << qint64(699);
        QTest::newRow("largest total") << QStringList{"7"} << "2147483647" << "500" << qint64(2147483647 - 500);
    }

    void numbersBeyondTheListAreCounted()
    {
        QFETCH(QStringList, board);
        QFETCH(QString, total);
        QFETCH(qint64, notListed);
        placeOnBoard(f, board);
        f.souTesuu = total;
        Button1Click(f, ui);

        QTEST(f.stringGrid2.at(0, MoveList::LastRow), "lastListed");
        QVERIFY(!f.stringGrid2.at(0, 1).isEmpty() && f.stringGrid2.at(0, 1) != Old);
        QString expectedLog = texts::MissingListUp + Crlf;
        if (notListed > 0)
            expectedLog += messages::notListedLine(notListed) + Crlf;
        expectedLog += texts::MissingDone + Crlf;
        QCOMPARE(f.memo, expectedLog);
        QCOMPARE(ui.boxes.size(), 2);
        QCOMPARE(ui.focusRequests, QStringList{QStringLiteral("StringGrid2")});
    }

    // A total, a board cell or a loaded move that is no integer ends the check with the
    // conversion error: everything up to the conversion has happened, nothing after it.
    void textThatIsNoIntegerEndsTheCheck_data()
    {
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("onBoard");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QString>("bad");
        QTest::newRow("total with a trailing blank") << "12 " << "" << "" << "12 ";
        QTest::newRow("total of letters") << "abc" << "" << "" << "abc";
        QTest::newRow("total a fraction") << "1.5" << "" << "" << "1.5";
        QTest::newRow("total in full-width digits") << "１２" << "" << "" << "１２";
        QTest::newRow("board cell") << "3" << "1.5" << "" << "1.5";
        QTest::newRow("loaded move, converted untrimmed") << "3" << "" << "2 " << "2 ";
    }

    void textThatIsNoIntegerEndsTheCheck()
    {
        QFETCH(QString, total);
        QFETCH(QString, onBoard);
        QFETCH(QString, loaded);
        QFETCH(QString, bad);
        f.cell(5, 5).text = onBoard;
        f.stringGrid1.at(0, 1) = loaded;
        f.souTesuu = total;
        try {
            Button1Click(f, ui);
            QFAIL("a text that is no number was taken as one");
        } catch (const ConversionError& e) {
            QCOMPARE(e.text(), bad);
        }
        QCOMPARE(f.memo, texts::MissingListUp + Crlf);
        QVERIFY(ui.focusRequests.isEmpty());
        QCOMPARE(f.stringGrid2.at(0, 1), Old);
        if (bad != total)
            return;
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(f.stringGrid2.at(1, 1), QStringLiteral("B1"));
        QCOMPARE(f.stringGrid1.at(1, 1), QStringLiteral("B2"));
        QCOMPARE(f.stringGrid1.at(0, 0), texts::GridMoveHeader);
    }

    // Clear asks first; either answer leaves its line in the log.
    void clearEmptiesOnlyTheMissingList_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("OK") << Answer::Ok;
        QTest::newRow("Cancel") << Answer::Cancel;
    }

    void clearEmptiesOnlyTheMissingList()
    {
        QFETCH(Answer, answer);
        f.stringGrid1.at(0, 1) = QStringLiteral("9");
        ui.answers << answer;
        Button2Click(f, ui);
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].kind, BoxKind::Confirm);
        QCOMPARE(ui.boxes[0].text, texts::ClearConfirm);
        QCOMPARE(ui.boxes[0].buttons, BoxButtons::OkCancel);
        QCOMPARE(f.memo, texts::ClearLog + Crlf);
        if (answer == Answer::Cancel) {
            QCOMPARE(f.stringGrid2.at(0, 1), Old);
            QCOMPARE(f.stringGrid2.at(1, MoveList::LastRow), QStringLiteral("ｂ１"));
            return;
        }
        for (const int r : {1, 250, MoveList::LastRow}) {
            QCOMPARE(f.stringGrid2.at(0, r), QString());
            QCOMPARE(f.stringGrid2.at(1, r), QString());
        }
        QCOMPARE(f.stringGrid2.at(0, 0), texts::GridMoveHeader);
        QCOMPARE(f.stringGrid2.at(1, 0), texts::GridPlaceHeader);
        QCOMPARE(f.stringGrid1.at(0, 1), QStringLiteral("9"));
    }

private:
    Form f;
    ScriptedUi ui;
};

QTEST_APPLESS_MAIN(TestMissingNumbers)
#include "tst_missingnumbers.moc"
