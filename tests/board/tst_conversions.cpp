#include "board/cellname.h"
#include "board/colours.h"
#include "board/conversions.h"
#include "board/go.h"

#include <QtTest>

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    void integerTest_data();
    void integerTest();
    void conversionErrorText();
    void widthAndCase_data();
    void widthAndCase();
    void letters_data();
    void letters();
    void cellNameParse_data();
    void cellNameParse();
    void stoneColour_data();
    void stoneColour();
};

void TestConversions::integerTest_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "12" << true << 12;
    QTest::newRow("leading blanks") << "  12" << true << 12;
    QTest::newRow("plus") << "+12" << true << 12;
    QTest::newRow("minus") << "-3" << true << -3;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("dollar hex") << "$1F" << true << 31;
    QTest::newRow("x hex") << "x1f" << true << 31;
    QTest::newRow("X hex") << "X10" << true << 16;
    QTest::newRow("0x hex") << "0x10" << true << 16;
    QTest::newRow("0X hex") << "0XfF" << true << 255;
    QTest::newRow("signed hex") << "-$10" << true << -16;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("min") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("minus zero") << "-0" << true << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blank") << " " << false << 0;
    QTest::newRow("trailing blank") << "12 " << false << 0;
    QTest::newRow("fraction") << "1.5" << false << 0;
    QTest::newRow("handicap label") << "B1" << false << 0;
    QTest::newRow("lone minus") << "-" << false << 0;
    QTest::newRow("lone plus") << "+" << false << 0;
    QTest::newRow("lone dollar") << "$" << false << 0;
    QTest::newRow("lone 0x") << "0x" << false << 0;
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("too small") << "-2147483649" << false << 0;
    QTest::newRow("hex too large") << "$80000000" << false << 0;
    QTest::newRow("tab before") << "\t12" << false << 0;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << false << 0;
    QTest::newRow("double sign") << "--1" << false << 0;
    QTest::newRow("hex in decimal") << "1F" << false << 0;
    QTest::newRow("sign after blank after sign") << "- 1" << false << 0;
}

void TestConversions::integerTest()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    QCOMPARE(isInteger(text), ok);
    const auto v = tryToInteger(text);
    QCOMPARE(v.has_value(), ok);
    if (ok) {
        QCOMPARE(*v, value);
        QCOMPARE(toInteger(text), value);
    } else {
        QVERIFY_THROWS_EXCEPTION(ConversionError, toInteger(text));
    }
}

void TestConversions::conversionErrorText()
{
    try {
        toInteger(QStringLiteral("abc"));
        QFAIL("no exception");
    } catch (const ConversionError& e) {
        QCOMPARE(e.text(), QStringLiteral("abc"));
        QCOMPARE(e.message(), QStringLiteral("'abc' is not a valid integer value."));
    }
}

void TestConversions::widthAndCase_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("ascii lower") << "b12" << "B12";
    QTest::newRow("full-width digits") << QStringLiteral("１２") << "12";
    QTest::newRow("full-width lower letter") << QStringLiteral("ｂ３") << "B3";
    QTest::newRow("full-width upper letter") << QStringLiteral("Ｂ") << "B";
    QTest::newRow("full-width minus") << QStringLiteral("－５") << "-5";
    QTest::newRow("ideographic space") << QStringLiteral("１\u3000２") << "1 2";
    QTest::newRow("katakana") << QStringLiteral("カタカナ") << QStringLiteral("ｶﾀｶﾅ");
    QTest::newRow("voiced") << QStringLiteral("ガ") << QStringLiteral("ｶﾞ");
    QTest::newRow("semi-voiced") << QStringLiteral("パ") << QStringLiteral("ﾊﾟ");
    QTest::newRow("vu") << QStringLiteral("ヴ") << QStringLiteral("ｳﾞ");
    QTest::newRow("long mark and dot") << QStringLiteral("ー・") << QStringLiteral("ｰ･");
    QTest::newRow("brackets and stops") << QStringLiteral("「。」、") << QStringLiteral("｢｡｣､");
    QTest::newRow("half-width stays") << QStringLiteral("ﾌｧｲﾙ") << QStringLiteral("ﾌｧｲﾙ");
    QTest::newRow("kanji stays") << QStringLiteral("手番") << QStringLiteral("手番");
    QTest::newRow("hiragana stays") << QStringLiteral("あ") << QStringLiteral("あ");
    QTest::newRow("sharp s keeps length") << QStringLiteral("ß") << QStringLiteral("ß");
}

void TestConversions::widthAndCase()
{
    QFETCH(QString, in);
    QTEST(::widthAndCase(in), "out");
}

void TestConversions::letters_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("ato1");
    QTest::addColumn<bool>("ititoa");
    QTest::newRow("a 1") << "a" << "1" << true << true;
    QTest::newRow("i 9") << "i" << "9" << true << true;
    QTest::newRow("s 19") << "s" << "19" << true << true;
    QTest::newRow("t") << "t" << "20" << false << false;
    QTest::newRow("upper A") << "A" << "0" << false << false;
    QTest::newRow("two letters") << "aa" << "01" << false << false;
    QTest::newRow("empty") << "" << "" << false << false;
    QTest::newRow("blank number") << "b" << " 2" << true << false;
}

void TestConversions::letters()
{
    QFETCH(QString, letter);
    QFETCH(QString, number);
    QFETCH(bool, ato1);
    QFETCH(bool, ititoa);
    const auto n = Ato1(letter);
    QCOMPARE(n.has_value(), ato1);
    if (ato1)
        QCOMPARE(*ItitoA(*n), letter);
    const auto l = ItitoA(number);
    QCOMPARE(l.has_value(), ititoa);
    if (ititoa)
        QCOMPARE(*Ato1(*l), number);
}

void TestConversions::cellNameParse_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    for (int x : {1, 3, 9, 10, 12, 19})
        for (int y : {1, 3, 9, 10, 12, 19})
            QTest::addRow("%d,%d", x, y) << x << y;
}

void TestConversions::cellNameParse()
{
    QFETCH(int, x);
    QFETCH(int, y);
    const QString name = cellName(x, y);
    const CellNameParts p = parseCellName(name);
    QCOMPARE(p.column, QString::number(x));
    QCOMPARE(p.row, QString::number(y));
    const auto pos = cellOfName(name);
    QVERIFY(pos);
    QCOMPARE(pos->x, x);
    QCOMPARE(pos->y, y);
    QVERIFY(!cellOfName(QStringLiteral("Edit%1_%2").arg(x).arg(y + 19)));
}

void TestConversions::stoneColour_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("first");
    QTest::addColumn<bool>("black");
    QTest::newRow("1 black first") << 1 << 0 << true;
    QTest::newRow("2 black first") << 2 << 0 << false;
    QTest::newRow("1 white first") << 1 << 1 << false;
    QTest::newRow("2 white first") << 2 << 1 << true;
    QTest::newRow("-1 black first") << -1 << 0 << false;
    QTest::newRow("-1 white first") << -1 << 1 << false;
    QTest::newRow("-2 black first") << -2 << 0 << false;
    QTest::newRow("-2 white first") << -2 << 1 << true;
}

void TestConversions::stoneColour()
{
    QFETCH(int, n);
    QFETCH(int, first);
    QTEST(go::isBlackMove(n, go::FirstPlayer(first)), "black");
}

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
