#include "board/cellname.h"
#include "board/colours.h"
#include "board/form.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/lifecycle.h"
#include "board/texts.h"
#include "entry/cellentry.h"
#include "support/scriptedui.h"

#include <QTest>

namespace {

const QString Crlf = QStringLiteral("\r\n");

// What the window does around a departure: the enter handling, the operator's typing, the exit handling.
void typeInto(Form& f, Ui& ui, int x, int y, const QString& typed)
{
    Derutoki(f, cellName(x, y));
    f.cell(x, y).text = typed;
    NyuuRyokuGo(f, ui);
}

// A stone's colours: the background and the text of the other colour.
void expectStone(const Cell& c, bool black)
{
    QCOMPARE(c.background, black ? colours::Black : colours::White);
    QCOMPARE(c.textColour, black ? colours::White : colours::Black);
}

QString digitsLog(const QString& text)
{
    return messages::tooManyDigits(text).log + Crlf;
}

} // namespace

class TestCellEntry : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        f = Form();
        FormCreate(f);
        ui = ScriptedUi();
    }

    void enterHighlightsAndRemembers()
    {
        f.cell(3, 12).text = QStringLiteral("42");
        Derutoki(f, QStringLiteral("Edit3_12"));
        QCOMPARE(f.controlMei, QStringLiteral("Edit3_12"));
        QCOMPARE(f.cellTextOnEnter, QStringLiteral("42"));
        QCOMPARE(f.cell(3, 12).background, colours::Focus);
        QCOMPARE(f.cell(3, 12).textColour, colours::White);
        QCOMPARE(f.cell(12, 3).background, colours::Board);
    }

    void offsetOnlyForChangedEntry_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<QString>("stored");

        QTest::newRow("typed into empty cell") << "" << "5" << "100" << "105";
        QTest::newRow("walked through") << "105" << "105" << "100" << "105";
        QTest::newRow("same number typed over itself") << "105" << "5" << "100" << "105";
        QTest::newRow("changed number") << "105" << "6" << "100" << "106";
        QTest::newRow("no offset") << "" << "5" << "" << "5";
        QTest::newRow("negative offset") << "" << "5" << "-10" << "-5";
        QTest::newRow("offset that is no number") << "" << "5" << "abc" << "5";
        QTest::newRow("full-width typed over itself") << "12" << "１２" << "100" << "12";
        QTest::newRow("overflowing sum leaves the typed number") << "" << "2147483647" << "2147483647" << "2147483647";
    }

    void offsetOnlyForChangedEntry()
    {
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, offset);
        f.cell(7, 7).text = before;
        f.txtPuls = offset;
        typeInto(f, ui, 7, 7, typed);
        QTEST(f.cell(7, 7).text, "stored");
        QCOMPARE(f.txtPuls, offset);
    }

    void normalisation_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");

        QTest::newRow("full-width digits") << "１２" << "12";
        QTest::newRow("zero") << "0" << "";
        QTest::newRow("minus zero") << "-0" << "";
        QTest::newRow("double zero") << "00" << "";
        QTest::newRow("letters") << "abc" << "";
        QTest::newRow("fraction") << "1.5" << "";
        QTest::newRow("trailing blank") << "7 " << "";
        QTest::newRow("blank") << " " << "";
        QTest::newRow("leading blank") << " 7" << "7";
        QTest::newRow("plus sign") << "+7" << "7";
        QTest::newRow("leading zeros") << "007" << "7";
        QTest::newRow("hexadecimal") << "$1F" << "31";
        QTest::newRow("full-width minus") << "－３" << "-3";
        QTest::newRow("lower-case label") << "b3" << "B3";
        QTest::newRow("full-width label") << "ｂ３" << "B3";
        QTest::newRow("label typed in full keeps its text") << "B7" << "B7";
    }

    void normalisation()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        typeInto(f, ui, 1, 1, typed);
        const Cell& c = f.cell(1, 1);
        QCOMPARE(c.text, stored);
        if (stored.isEmpty())
            QCOMPARE(c.background, colours::Board);
        else if (stored.startsWith(QLatin1Char('B')))
            expectStone(c, true);
        QVERIFY(ui.boxes.isEmpty());
        QVERIFY(f.memo.isEmpty());
        QCOMPARE(f.radioGroup1, go::FirstPlayer::Black);
    }

    void stoneColour_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<int>("firstPlayer");
        QTest::addColumn<bool>("black");

        QTest::newRow("odd, black first") << "1" << "" << 0 << true;
        QTest::newRow("even, black first") << "2" << "" << 0 << false;
        QTest::newRow("odd, white first") << "1" << "" << 1 << false;
        QTest::newRow("even, white first") << "2" << "" << 1 << true;
        QTest::newRow("offset makes it even") << "5" << "1" << 0 << false;
        QTest::newRow("negative odd, black first") << "-3" << "" << 0 << false;
        QTest::newRow("negative odd, white first") << "-3" << "" << 1 << false;
        QTest::newRow("negative even, black first") << "-2" << "" << 0 << false;
        QTest::newRow("negative even, white first") << "-2" << "" << 1 << true;
        QTest::newRow("negative by offset") << "5" << "-10" << 0 << false;
    }

    void stoneColour()
    {
        QFETCH(QString, typed);
        QFETCH(QString, offset);
        QFETCH(int, firstPlayer);
        QFETCH(bool, black);
        f.radioGroup1 = go::FirstPlayer(firstPlayer);
        f.txtPuls = offset;
        typeInto(f, ui, 2, 9, typed);
        expectStone(f.cell(2, 9), black);
    }

    void emptiedCellGetsItsColourBack_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Rgb>("background");

        QTest::newRow("star point, erased") << 4 << 4 << "" << colours::Star;
        QTest::newRow("star point, zero") << 10 << 16 << "0" << colours::Star;
        QTest::newRow("star point, letters") << 16 << 10 << "x" << colours::Star;
        QTest::newRow("other point, erased") << 5 << 4 << "" << colours::Board;
        QTest::newRow("edge point, zero") << 19 << 19 << "0" << colours::Board;
    }

    void emptiedCellGetsItsColourBack()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QString, typed);
        typeInto(f, ui, x, y, QStringLiteral("7"));
        expectStone(f.cell(x, y), true);
        typeInto(f, ui, x, y, typed);
        QCOMPARE(f.cell(x, y).text, QString());
        QTEST(f.cell(x, y).background, "background");
    }

    void handicapLabelsCount()
    {
        typeInto(f, ui, 1, 1, QStringLiteral("b"));
        typeInto(f, ui, 2, 1, QStringLiteral("ｂ"));
        typeInto(f, ui, 3, 1, QStringLiteral("B"));
        QCOMPARE(f.cell(1, 1).text, QStringLiteral("B1"));
        QCOMPARE(f.cell(2, 1).text, QStringLiteral("B2"));
        QCOMPARE(f.cell(3, 1).text, QStringLiteral("B3"));
        expectStone(f.cell(2, 1), true);

        // B1 and B3 stand: one more than the highest.
        typeInto(f, ui, 2, 1, QString());
        typeInto(f, ui, 1, 2, QStringLiteral("b"));
        QCOMPARE(f.cell(1, 2).text, QStringLiteral("B4"));

        // Only B1 is left.
        typeInto(f, ui, 3, 1, QString());
        typeInto(f, ui, 1, 2, QString());
        typeInto(f, ui, 19, 19, QStringLiteral("b"));
        QCOMPARE(f.cell(19, 19).text, QStringLiteral("B2"));

        QVERIFY(ui.boxes.isEmpty());
        QVERIFY(f.memo.isEmpty());
    }

    void handicapCountReadsEveryLabel_data()
    {
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QString>("next");

        QTest::newRow("none") << QStringList{} << "B1";
        QTest::newRow("label of no number") << QStringList{"BX"} << "B1";
        QTest::newRow("highest last") << QStringList{"B2", "B9"} << "B10";
        QTest::newRow("highest first") << QStringList{"B9", "B2"} << "B10";
        QTest::newRow("loaded labels count too") << QStringList{"B5"} << "B6";
        QTest::newRow("largest 32-bit label") << QStringList{"B2147483647"} << "B2147483648";
    }

    void handicapCountReadsEveryLabel()
    {
        QFETCH(QStringList, labels);
        for (int i = 0; i < labels.size(); ++i)
            f.cell(19, 19 - i).text = labels[i];
        typeInto(f, ui, 1, 1, QStringLiteral("b"));
        QTEST(f.cell(1, 1).text, "next");
    }

    void handicapMakesWhiteFirstAndRecolours()
    {
        typeInto(f, ui, 1, 1, QStringLiteral("1"));
        typeInto(f, ui, 2, 1, QStringLiteral("2"));
        expectStone(f.cell(1, 1), true);
        typeInto(f, ui, 10, 10, QStringLiteral("b"));
        QCOMPARE(f.radioGroup1, go::FirstPlayer::White);
        expectStone(f.cell(1, 1), false);
        expectStone(f.cell(2, 1), true);
        // Erasing the stone does not give black the first move back.
        typeInto(f, ui, 10, 10, QString());
        QCOMPARE(f.radioGroup1, go::FirstPlayer::White);
        QCOMPARE(f.cell(10, 10).background, colours::Star);
    }

    void handicapRefusedInLoadedRecord()
    {
        f.gameInfo = "(;GM[1]FF[4]SZ[19]AB[dd][pp]";
        typeInto(f, ui, 1, 1, QStringLiteral("1"));
        typeInto(f, ui, 4, 4, QStringLiteral("b"));
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].title, texts::TitleWarning);
        QCOMPARE(ui.boxes[0].kind, BoxKind::Warning);
        QCOMPARE(ui.boxes[0].text, texts::NoHandicapInLoaded);
        QCOMPARE(ui.boxes[0].buttons, BoxButtons::Ok);
        QCOMPARE(f.cell(4, 4).text, QString());
        QCOMPARE(f.cell(4, 4).background, colours::Star);
        QCOMPARE(f.radioGroup1, go::FirstPlayer::Black);
        expectStone(f.cell(1, 1), true);
        QVERIFY(f.memo.isEmpty());
    }

    void firstPlayerRecoloursNumbersOnly()
    {
        const QList<std::pair<QString, bool>> stones{
            {"1", false}, {"2", true}, {"-1", false}, {"-2", true}, {"$3", false}};
        for (int i = 0; i < stones.size(); ++i) {
            f.cell(i + 1, 1).text = stones[i].first;
            f.cell(i + 1, 1).background = colours::Focus;
        }
        f.cell(1, 2).text = QStringLiteral("B1");
        f.cell(1, 2).background = colours::Focus;
        f.cell(1, 2).textColour = colours::Board;
        f.cell(2, 2).text = QStringLiteral("1.5");
        f.cell(2, 2).background = colours::Focus;

        f.radioGroup1 = go::FirstPlayer::White;
        RadioGroup1Click(f);
        for (int i = 0; i < stones.size(); ++i)
            expectStone(f.cell(i + 1, 1), stones[i].second);
        QCOMPARE(f.cell(1, 2).background, colours::Focus);
        QCOMPARE(f.cell(1, 2).textColour, colours::Board);
        QCOMPARE(f.cell(2, 2).background, colours::Focus);
        QCOMPARE(f.cell(3, 3).background, colours::Board);
        QCOMPARE(f.cell(4, 4).background, colours::Star);

        f.radioGroup1 = go::FirstPlayer::Black;
        RadioGroup1Click(f);
        for (int i = 0; i < 4; ++i)
            expectStone(f.cell(i + 1, 1), i == 0);
        QVERIFY(ui.boxes.isEmpty());
        QVERIFY(f.memo.isEmpty());
    }

    void duplicateIsReported_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<QString>("stored");

        QTest::newRow("same number") << "7" << "" << "7";
        QTest::newRow("after the offset") << "5" << "2" << "7";
        QTest::newRow("full-width") << "７" << "" << "7";
        QTest::newRow("handicap label") << "b3" << "" << "B3";
    }

    void duplicateIsReported()
    {
        QFETCH(QString, typed);
        QFETCH(QString, offset);
        QFETCH(QString, stored);
        f.cell(10, 2).text = stored;
        f.txtPuls = offset;
        typeInto(f, ui, 3, 5, typed);

        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].kind, BoxKind::Warning);
        QCOMPARE(ui.boxes[0].buttons, BoxButtons::Ok);
        QCOMPARE(ui.boxes[0].text, messages::duplicateEntry(stored, 10, 2).box);
        QCOMPARE(f.memo, messages::duplicateEntry(stored, 10, 2).log);
        QCOMPARE(f.memo.count(Crlf), 4);
        QVERIFY(f.memo.endsWith(Crlf));
        QCOMPARE(f.cell(10, 2).text, stored);
        QCOMPARE(f.cell(3, 5).text, stored);
    }

    void duplicateNamesTheLastOtherCell()
    {
        f.cell(10, 2).text = QStringLiteral("7");
        f.cell(2, 6).text = QStringLiteral("7");
        f.cell(1, 6).text = QStringLiteral("7");
        typeInto(f, ui, 3, 5, QStringLiteral("7"));
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].text, messages::duplicateEntry(QStringLiteral("7"), 2, 6).box);
        // The texts in full, as the operator reads them.
        QCOMPARE(ui.boxes[0].text,
                 QStringLiteral(
                 "手番7は既に入力があります！\r\n"
                 "\r\n"
                 "   重複場所　横2縦6\r\n"
                 "\r\n"
                 "相対手番ではないですか？\r\n"
                 "相対手番なら一度入力値を消して相対手数入力後、\r\n"
                 "再度入力して下さい。\r\n"));
        QCOMPARE(f.memo,
                 QStringLiteral(
                 "手番7は既に入力があります！   重複場所　横2縦6\r\n"
                 "相対手番ではないですか？\r\n"
                 "相対手番なら一度入力値を消して相対手数入力後、\r\n"
                 "再度入力して下さい。\r\n"));
    }

    void cellIsNoDuplicateOfItself()
    {
        typeInto(f, ui, 3, 5, QStringLiteral("7"));
        typeInto(f, ui, 3, 5, QStringLiteral("7"));
        QVERIFY(ui.boxes.isEmpty());
        QVERIFY(f.memo.isEmpty());
    }

    void tooManyDigits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("warned");

        QTest::newRow("1000") << "1000" << "" << "1000" << "1000";
        QTest::newRow("999") << "999" << "" << "999" << "";
        QTest::newRow("1000 by the offset") << "900" << "100" << "1000" << "1000";
        QTest::newRow("999 by the offset") << "899" << "100" << "999" << "";
        QTest::newRow("full-width") << "１２３４" << "" << "1234" << "1234";
        QTest::newRow("negative") << "-1000" << "" << "-1000" << "";
        QTest::newRow("label") << "B1000" << "" << "B1000" << "";
        // A sum past the 32-bit range would be no number to any later rule: the typed number
        // stays, and the warning names the sum.
        QTest::newRow("beyond 32 bits") << "2147483647" << "1" << "2147483647" << "2147483648";
        QTest::newRow("small number, large offset") << "5" << "2147483645" << "5" << "2147483650";
        QTest::newRow("below 32 bits") << "-2147483648" << "-1" << "-2147483648" << "-2147483649";
    }

    void tooManyDigits()
    {
        QFETCH(QString, typed);
        QFETCH(QString, offset);
        QFETCH(QString, warned);
        f.txtPuls = offset;
        typeInto(f, ui, 8, 8, typed);
        QTEST(f.cell(8, 8).text, "stored");
        if (warned.isEmpty()) {
            QVERIFY(ui.boxes.isEmpty());
            QVERIFY(f.memo.isEmpty());
            return;
        }
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].kind, BoxKind::Warning);
        QCOMPARE(ui.boxes[0].buttons, BoxButtons::Ok);
        QCOMPARE(ui.boxes[0].text, messages::tooManyDigits(warned).box);
        QCOMPARE(f.memo, digitsLog(warned));
    }

    void bothChecksDuplicateFirst()
    {
        f.cell(19, 1).text = QStringLiteral("1000");
        typeInto(f, ui, 1, 19, QStringLiteral("1000"));
        QCOMPARE(ui.boxes.size(), 2);
        QCOMPARE(ui.boxes[0].text, messages::duplicateEntry(QStringLiteral("1000"), 19, 1).box);
        QCOMPARE(ui.boxes[1].text, messages::tooManyDigits(QStringLiteral("1000")).box);
        QCOMPARE(f.memo, messages::duplicateEntry(QStringLiteral("1000"), 19, 1).log + digitsLog(QStringLiteral("1000")));
    }

    void logIsAppendedTo()
    {
        f.logLine(QStringLiteral("earlier"));
        typeInto(f, ui, 1, 1, QStringLiteral("1000"));
        QCOMPARE(f.memo, QStringLiteral("earlier") + Crlf + digitsLog(QStringLiteral("1000")));
    }

    void enterMovesOn_data()
    {
        QTest::addColumn<QChar>("key");
        QTest::addColumn<bool>("swallowed");

        QTest::newRow("carriage return") << QChar(13) << true;
        QTest::newRow("line feed") << QChar(10) << false;
        QTest::newRow("digit") << QChar('5') << false;
        QTest::newRow("letter") << QChar('b') << false;
    }

    void enterMovesOn()
    {
        QFETCH(QChar, key);
        QFETCH(bool, swallowed);
        Derutoki(f, QStringLiteral("Edit19_1"));
        QCOMPARE(Edit_KeyPress(f, ui, key), swallowed);
        QCOMPARE(ui.focusNextCount, swallowed ? 1 : 0);
        QVERIFY(ui.focusRequests.isEmpty());
    }

    void offsetBoxKeepsOnlyNonZeroNumbers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");

        QTest::newRow("minus sign alone") << "-" << "";
        QTest::newRow("zero") << "0" << "";
        QTest::newRow("minus zero") << "-0" << "";
        QTest::newRow("letters") << "a" << "";
        QTest::newRow("fraction") << "1.5" << "";
        QTest::newRow("trailing blank") << "12 " << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("number") << "12" << "12";
        QTest::newRow("negative number") << "-5" << "-5";
        QTest::newRow("leading blank") << " 5" << " 5";
    }

    void offsetBoxKeepsOnlyNonZeroNumbers()
    {
        QFETCH(QString, typed);
        f.txtPuls = typed;
        txtPulsChange(f);
        QTEST(f.txtPuls, "kept");
    }

private:
    Form f;
    ScriptedUi ui;
};

QTEST_APPLESS_MAIN(TestCellEntry)
#include "tst_cellentry.moc"
