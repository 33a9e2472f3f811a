#include "app/tform1.h"
#include "board/cellname.h"
#include "board/messages.h"
#include "board/texts.h"
#include "support/scriptedui.h"

#include <QtTest>
#include <QLabel>
#include <QLineEdit>

// The small-screen window: the same controls, placed for a 913 x 580 screen.
class TestSmallWindow : public QObject {
    Q_OBJECT
private slots:
    void moved_data();
    void moved();
    void unchanged_data();
    void unchanged();
    void cells_data();
    void cells();
    void numberLabels();
    void titles();
};

void TestSmallWindow::moved_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("standard");
    QTest::addColumn<QRect>("small");
    QTest::addColumn<bool>("shownInSmall");
    auto row = [](const char* name, QRect standard, QRect small, bool shown = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << standard << small << shown;
    };
    row("StringGrid2", QRect(664, 64, 105, 449), QRect(664, 64, 105, 225));
    row("StringGrid1", QRect(784, 64, 105, 449), QRect(784, 64, 105, 225), false);
    row("Label39", QRect(920, 8, 51, 21), QRect(664, 296, 51, 21));
    row("SouTesuu", QRect(920, 32, 57, 29), QRect(720, 296, 57, 29));
    row("Label40", QRect(984, 40, 17, 21), QRect(784, 304, 17, 21));
    row("Label81", QRect(912, 72, 88, 13), QRect(800, 296, 88, 13));
    row("txtPuls", QRect(936, 88, 41, 24), QRect(824, 312, 41, 24));
    row("RadioGroup1", QRect(912, 120, 89, 41), QRect(664, 336, 89, 41));
    row("cmdKensaku", QRect(904, 192, 49, 25), QRect(768, 344, 49, 25));
    row("txtKensaku", QRect(960, 192, 41, 24), QRect(824, 344, 41, 24));
    row("Label83", QRect(1005, 200, 12, 13), QRect(869, 352, 12, 13));
    row("lblOkiisi", QRect(920, 168, 84, 13), QRect(672, 384, 84, 13));
    row("Button1", QRect(896, 240, 121, 33), QRect(664, 408, 105, 25));
    row("Button2", QRect(896, 280, 121, 33), QRect(784, 408, 105, 25));
    row("cmdLockKaizyo2", QRect(896, 320, 121, 33), QRect(664, 440, 105, 25), false);
    row("cmdNew", QRect(896, 360, 121, 33), QRect(664, 472, 105, 25));
    row("cmdSave", QRect(896, 440, 121, 33), QRect(784, 472, 105, 25));
    row("cmdOpen", QRect(896, 400, 121, 33), QRect(664, 504, 105, 25));
    row("cmdShuuryou", QRect(896, 480, 121, 33), QRect(784, 504, 105, 25));
    row("Label41", QRect(672, 520, 72, 13), QRect(784, 440, 72, 13), false);
    row("Memo1", QRect(664, 536, 353, 137), QRect(856, 440, 17, 25), false);
}

void TestSmallWindow::moved()
{
    QFETCH(QString, name);
    ScriptedUi ui;
    TForm1 big(BuildKind::standard(), &ui);
    TForm1 w(BuildKind::smallScreen(), &ui);
    big.show();
    w.show();
    QTEST(big.control(name)->geometry(), "standard");
    QTEST(w.control(name)->geometry(), "small");
    QTEST(w.control(name)->isVisible(), "shownInSmall");
}

void TestSmallWindow::unchanged_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"lblHyoudai", "Label42", "lblNyuuryokuSumi", "GameInfo", "SankouZu", "ControlMei"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestSmallWindow::unchanged()
{
    QFETCH(QString, name);
    ScriptedUi ui;
    TForm1 big(BuildKind::standard(), &ui);
    TForm1 w(BuildKind::smallScreen(), &ui);
    QCOMPARE(w.control(name)->geometry(), big.control(name)->geometry());
}

void TestSmallWindow::cells_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("Edit1_1") << 1 << 1 << QPoint(24, 56);
    QTest::newRow("Edit1_19") << 1 << 19 << QPoint(24, 488);
    QTest::newRow("Edit19_19") << 19 << 19 << QPoint(600, 488);
    QTest::newRow("Edit10_10") << 10 << 10 << QPoint(312, 272);
}

void TestSmallWindow::cells()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QPoint, at);
    ScriptedUi ui;
    TForm1 w(BuildKind::smallScreen(), &ui);
    QCOMPARE(w.cell(x, y)->geometry(), QRect(at, QSize(33, 25)));
}

void TestSmallWindow::numberLabels()
{
    ScriptedUi ui;
    TForm1 w(BuildKind::smallScreen(), &ui);
    for (const auto& [name, at] : {std::pair{"Label62", QPoint(40, 40)}, {"Label1", QPoint(40, 520)}, {"Label20", QPoint(608, 520)},
                                   {"Label5", QPoint(8, 64)}, {"Label38", QPoint(8, 496)}, {"Label61", QPoint(640, 496)}})
        QCOMPARE(w.control(QLatin1String(name))->pos(), at);
    QCOMPARE(w.control(QStringLiteral("Label61"))->size(), QSize(14, 16));
}

void TestSmallWindow::titles()
{
    ScriptedUi ui;
    TForm1 w(BuildKind::smallScreen(), &ui);
    QCOMPARE(w.windowTitle(), texts::SmallCaption);
    QCOMPARE(w.form().kind->applicationTitle, texts::SmallApplicationTitle);
    QCOMPARE(w.layout().outerSize, QSize(913, 580));
    TForm1 big(BuildKind::standard(), &ui);
    QCOMPARE(big.form().kind->applicationTitle, texts::ApplicationTitle);
    // The log is written though nobody sees it.
    ui.answers << Answer::Cancel;
    QTest::mouseClick(w.control(QStringLiteral("cmdShuuryou")), Qt::LeftButton);
    QCOMPARE(w.form().memo, messages::quitQuestion().log + QStringLiteral("\r\n"));
}

QTEST_MAIN(TestSmallWindow)
#include "tst_smallwindow.moc"
