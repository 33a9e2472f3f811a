#include "app/tform1.h"
#include "board/cellname.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/texts.h"
#include "support/folders.h"
#include "support/scriptedui.h"
#include "support/listview.h"

#include <QtTest>
#include <QMimeData>
#include <QTemporaryDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

// The window as the operator meets it: every control where it belongs, the tab chain, and
// the New and Quit commands with their boxes.
class TestWindow : public QObject {
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void cells_data();
    void cells();
    void numberLabels();
    void tabChain_data();
    void tabChain();
    void tabKeyCrossesTheGap();
    void cellsRefuseTextDrops();
    void acceleratorSeesAnOpenListEditor_data();
    void acceleratorSeesAnOpenListEditor();
    void freshStart();
    void openGivenFile_data();
    void openGivenFile();
    void newCommand_data();
    void newCommand();
    void quitCommand_data();
    void quitCommand();
    void conversionErrorBox();
    void dispatchedFailures_data();
    void dispatchedFailures();
    void hiddenHeaderFollowsRecord_data();
    void hiddenHeaderFollowsRecord();

private:
    static QString captionOf(QWidget* w);
};

namespace {

// The standard window with its boxes answered from a script, shown.
struct Shown {
    ScriptedUi ui;
    TForm1 w{BuildKind::standard(), &ui};

    Shown() { w.show(); }
};

} // namespace

QString TestWindow::captionOf(QWidget* w)
{
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* b = qobject_cast<QPushButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* m = qobject_cast<QPlainTextEdit*>(w))
        return m->toPlainText();
    return QString();
}

void TestWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("visible");
    auto row = [](const char* name, QRect r, const QString& caption, bool visible = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << r << caption << visible;
    };
    row("lblHyoudai", QRect(24, 16, 86, 16), texts::TitleNewInput);
    row("Label39", QRect(920, 8, 51, 21), texts::TotalCaption);
    row("SouTesuu", QRect(920, 32, 57, 29), QString());
    row("Label40", QRect(984, 40, 17, 21), texts::Te);
    row("Label81", QRect(912, 72, 88, 13), texts::OffsetCaption);
    row("txtPuls", QRect(936, 88, 41, 24), QString());
    row("RadioGroup1", QRect(912, 120, 89, 41), texts::FirstPlayerCaption);
    row("lblOkiisi", QRect(920, 168, 84, 13), texts::HandicapHint);
    row("cmdKensaku", QRect(904, 192, 49, 25), texts::SearchCaption);
    row("txtKensaku", QRect(960, 192, 41, 24), QString());
    row("Label83", QRect(1005, 200, 12, 13), texts::Te);
    row("Button1", QRect(896, 240, 121, 33), texts::Button1Caption);
    row("Button2", QRect(896, 280, 121, 33), texts::Button2Caption);
    row("cmdLockKaizyo2", QRect(896, 320, 121, 33), texts::LockCaption, false);
    row("cmdLockKaizyo", QRect(896, 320, 121, 33), texts::LockCaption, false);
    row("cmdNew", QRect(896, 360, 121, 33), texts::NewCaption);
    row("cmdOpen", QRect(896, 400, 121, 33), texts::OpenCaption);
    row("cmdSave", QRect(896, 440, 121, 33), texts::SaveCaption);
    row("cmdShuuryou", QRect(896, 480, 121, 33), texts::QuitCaption);
    row("Label42", QRect(656, 48, 116, 13), texts::ListCaption2);
    row("StringGrid2", QRect(664, 64, 105, 449), QString());
    row("Label41", QRect(672, 520, 72, 13), texts::LogCaption);
    row("Memo1", QRect(664, 536, 353, 137), QString());
    row("GameInfo", QRect(576, 8, 17, 21), QString(), false);
    row("SankouZu", QRect(592, 8, 17, 25), texts::SankouZuInitial, false);
    row("ControlMei", QRect(608, 8, 17, 21), QString(), false);
    row("lblNyuuryokuSumi", QRect(776, 48, 127, 13), texts::ListCaption1, false);
    row("StringGrid1", QRect(784, 64, 105, 449), QString(), false);
}

void TestWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    Shown s;
    QWidget* c = s.w.control(name);
    QVERIFY2(c, qPrintable(name));
    QCOMPARE(c->objectName(), name);
    // The title label grows with its text; its place is fixed.
    if (name == QLatin1String("lblHyoudai"))
        QCOMPARE(c->pos(), geometry.topLeft());
    else
        QCOMPARE(c->geometry(), geometry);
    if (!caption.isEmpty() || qobject_cast<QLineEdit*>(c) || qobject_cast<QPlainTextEdit*>(c))
        QCOMPARE(captionOf(c), caption);
    QTEST(c->isVisible(), "visible");
}

void TestWindow::cells_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("background");
    QTest::newRow("Edit1_1") << 1 << 1 << QPoint(24, 56) << QColor(0xE4, 0xAA, 0x5D);
    QTest::newRow("Edit19_1") << 19 << 1 << QPoint(600, 56) << QColor(0xE4, 0xAA, 0x5D);
    QTest::newRow("Edit1_19") << 1 << 19 << QPoint(24, 632) << QColor(0xE4, 0xAA, 0x5D);
    QTest::newRow("Edit19_19") << 19 << 19 << QPoint(600, 632) << QColor(0xE4, 0xAA, 0x5D);
    QTest::newRow("Edit10_10") << 10 << 10 << QPoint(312, 344) << QColor(Qt::yellow);
    QTest::newRow("Edit4_16") << 4 << 16 << QPoint(120, 536) << QColor(Qt::yellow);
    QTest::newRow("Edit5_16") << 5 << 16 << QPoint(152, 536) << QColor(0xE4, 0xAA, 0x5D);
}

void TestWindow::cells()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QPoint, at);
    ScriptedUi ui;
    TForm1 w(BuildKind::standard(), &ui);
    QLineEdit* c = w.cell(x, y);
    QCOMPARE(c->objectName(), cellName(x, y));
    QCOMPARE(c->geometry(), QRect(at, QSize(33, 33)));
    QTEST(c->palette().color(QPalette::Base), "background");
    QVERIFY(c->isEnabled());
    QVERIFY(c->text().isEmpty());
    QCOMPARE(c->font().pixelSize(), 15);
    QCOMPARE(w.control(cellName(x, y)), c);
}

void TestWindow::numberLabels()
{
    ScriptedUi ui;
    TForm1 w(BuildKind::standard(), &ui);
    int count = 0;
    auto check = [&](int n, const QString& name, QPoint at) {
        auto* l = qobject_cast<QLabel*>(w.control(name));
        QVERIFY2(l, qPrintable(name));
        QCOMPARE(l->text(), QString::number(n));
        QCOMPARE(l->geometry(), QRect(at, QSize(n < 10 ? 7 : 14, 16)));
        ++count;
    };
    for (int x = 1; x <= 19; ++x) {
        const int left = x <= 9 ? 32 * x + 8 : 32 * x;
        check(x, QStringLiteral("Label%1").arg(61 + x), {left, 40});
        // Label5 stands at the left edge, so the numbers below skip it.
        check(x, QStringLiteral("Label%1").arg(x < 5 ? x : x + 1), {left, 664});
    }
    for (int y = 1; y <= 19; ++y) {
        check(y, y == 1 ? QStringLiteral("Label5") : QStringLiteral("Label%1").arg(19 + y), {8, 32 * y + 32});
        check(y, QStringLiteral("Label%1").arg(42 + y), {640, 32 * y + 32});
    }
    QCOMPARE(count, 76);
    QCOMPARE(w.control(QStringLiteral("Label71"))->x(), 320);
    QCOMPARE(w.control(QStringLiteral("Label70"))->x(), 296);
}

void TestWindow::tabChain_data()
{
    QTest::addColumn<int>("firstPlayer");
    QTest::newRow("black first") << 0;
    QTest::newRow("white first") << 1;
}

void TestWindow::tabChain()
{
    QFETCH(int, firstPlayer);
    ScriptedUi ui;
    TForm1 w(BuildKind::standard(), &ui);
    w.form().radioGroup1 = go::FirstPlayer(firstPlayer);
    w.showModel();
    w.show();
    QStringList expected;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            expected << cellName(x, y);
    expected << "cmdSave" << "cmdShuuryou" << "cmdOpen" << "cmdNew";
    QStringList names;
    for (QWidget* c : w.tabChain())
        names << c->objectName();
    // The radio group closes the chain through its checked button, and through it alone.
    QCOMPARE(names.mid(0, expected.size()), expected);
    QCOMPARE(names.size(), expected.size() + 1);
    auto* radio = qobject_cast<QRadioButton*>(w.tabChain().at(expected.size()));
    QVERIFY(radio && radio->isChecked());
    QCOMPARE(radio->text(), firstPlayer == 0 ? texts::Black : texts::White);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.control(QStringLiteral("cmdNew"))->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.control(QStringLiteral("cmdNew")), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), radio);
    for (const char* noStop : {"SouTesuu", "txtPuls", "txtKensaku", "Button1", "Button2", "cmdKensaku", "Memo1",
                               "StringGrid2", "StringGrid1"})
        QVERIFY2(!names.contains(QLatin1String(noStop)), noStop);
    QCOMPARE(w.control(QStringLiteral("cmdLockKaizyo2"))->focusPolicy(), Qt::NoFocus);
}

void TestWindow::tabKeyCrossesTheGap()
{
    Shown s;
    QVERIFY(QTest::qWaitForWindowActive(&s.w));
    s.w.cell(19, 15)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(s.w.cell(19, 15), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.w.cell(1, 16));
    s.w.cell(19, 19)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(s.w.cell(19, 19), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.w.control(QStringLiteral("cmdSave")));
}

// A text dropped on a cell would pass by its entry and exit handling.
void TestWindow::cellsRefuseTextDrops()
{
    Shown s;
    QVERIFY(QTest::qWaitForWindowExposed(&s.w));
    QMimeData text;
    text.setText(QStringLiteral("12"));
    const QPoint at = s.w.cell(5, 5)->geometry().center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(s.w.windowHandle(), &enter);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(s.w.windowHandle(), &drop);
    QVERIFY(!enter.isAccepted());
    QVERIFY(s.w.cell(5, 5)->text().isEmpty());
    QVERIFY(s.w.form().cell(5, 5).text.isEmpty());
}

// Alt+S reaches Save while the place of a move is still in a list's editor: the place is
// part of the record that is saved.
void TestWindow::acceleratorSeesAnOpenListEditor_data()
{
    QTest::addColumn<QString>("list");
    QTest::newRow("missing-number list") << "StringGrid2";
    QTest::newRow("list of an opened file") << "StringGrid1";
}

void TestWindow::acceleratorSeesAnOpenListEditor()
{
    QFETCH(QString, list);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kifu.sgf"));
    Shown s;
    QVERIFY(QTest::qWaitForWindowActive(&s.w));
    Form& f = s.w.form();
    if (list == QLatin1String("StringGrid1")) {
        // Move 2 fell on move 1's point; the operator corrects the place to 3's.
        writeFile(path, texts::FreshHeaderPlain.toLatin1() + "\r\n;B[aa];W[aa];B[bb])\r\n");
        s.ui.answers = {Answer::No};
        s.ui.openPaths = {path};
        QTest::mouseClick(s.w.control(QStringLiteral("cmdOpen")), Qt::LeftButton);
        QCOMPARE(f.stringGrid1.at(0, 1), QStringLiteral("2"));
    } else {
        f.cell(1, 1).text = QStringLiteral("1");
        f.cell(2, 2).text = QStringLiteral("3");
        f.stringGrid2.at(0, 1) = QStringLiteral("2");
        s.w.showModel();
        s.ui.savePaths = {path};
    }
    auto* grid = qobject_cast<QTableView*>(s.w.control(list));
    grid->setFocus(Qt::MouseFocusReason);
    grid->setCurrentIndex(grid->model()->index(1, 1));
    grid->edit(grid->model()->index(1, 1));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor && grid->isAncestorOf(editor));
    editor->setText(QStringLiteral("3"));
    QTest::keyClick(s.w.windowHandle(), Qt::Key_S, Qt::AltModifier);

    // The accelerator presses the button as a click after a short delay.
    QTRY_VERIFY(s.ui.boxes.size() >= 2);
    QCOMPARE(s.ui.boxes.last().kind, BoxKind::Information);
    QCOMPARE(readFile(path), texts::FreshHeaderPlain.toLatin1() + "\r\n;B[aa];W[bb];B[bb]\r\n)\r\n");
}

void TestWindow::freshStart()
{
    Shown s;
    Form& f = s.w.form();
    QCOMPARE(s.w.windowTitle(), texts::Caption);
    QVERIFY(f.memo.isEmpty());
    QVERIFY(qobject_cast<QPlainTextEdit*>(s.w.control(QStringLiteral("Memo1")))->toPlainText().isEmpty());
    QCOMPARE(f.radioGroup1, go::FirstPlayer::Black);
    QVERIFY(qobject_cast<QRadioButton*>(s.w.findChildren<QRadioButton*>().value(0))->isChecked());
    QVERIFY(!s.w.control(QStringLiteral("cmdLockKaizyo2"))->isVisible());
    auto* grid2 = qobject_cast<QTableView*>(s.w.control(QStringLiteral("StringGrid2")));
    QCOMPARE(shownText(grid2, 0, 0), texts::GridMoveHeader);
    QCOMPARE(shownText(grid2, 0, 1), texts::GridPlaceHeader);
    QCOMPARE(grid2->model()->rowCount(), 500);
    QCOMPARE(grid2->model()->columnCount(), 2);
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            QVERIFY(s.w.cell(x, y)->isEnabled() && s.w.cell(x, y)->text().isEmpty());
    QVERIFY(s.ui.boxes.isEmpty());
    QCOMPARE(s.w.size(), s.w.layout().clientSize);
    QCOMPARE(s.w.layout().outerSize, QSize(1036, 727));
}

// A file the desktop names on the command line, in a folder with a Japanese name: opened as
// Open opens one, with its mode asked and no dialog.
void TestWindow::openGivenFile_data()
{
    QTest::addColumn<Answer>("mode");
    QTest::addColumn<bool>("opened");
    QTest::newRow("edit") << Answer::Yes << true;
    QTest::newRow("new") << Answer::No << true;
    QTest::newRow("cancelled") << Answer::Cancel << false;
}

void TestWindow::openGivenFile()
{
    QFETCH(Answer, mode);
    QFETCH(bool, opened);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("棋譜")));
    const QString path = writeFile(dir.filePath(QStringLiteral("棋譜/第1局.sgf")), "(;GM[1]FF[4]SZ[19];B[pd];W[dp])\r\n");
    ScriptedUi ui;
    ui.answers << mode;
    TForm1 w(BuildKind::standard(), &ui);
    w.show();
    w.openGiven(path);
    QCOMPARE(ui.openDialogs, 0);
    QVERIFY(!ui.boxes.isEmpty());
    QCOMPARE(ui.boxes.first().buttons, BoxButtons::YesNoCancel);
    QCOMPARE(w.form().currentFileName, opened ? path : QString());
    QCOMPARE(w.cell(16, 4)->text().isEmpty(), !opened);
    QCOMPARE(w.cell(4, 16)->text().isEmpty(), !opened);
}

void TestWindow::newCommand_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::newRow("OK") << Answer::Ok;
    QTest::newRow("Cancel") << Answer::Cancel;
}

void TestWindow::newCommand()
{
    QFETCH(Answer, answer);
    Shown s;
    Form& f = s.w.form();
    // A record in progress, as typing and opening leave it.
    f.cell(3, 3).text = QStringLiteral("5");
    f.cell(3, 3).background = colours::Black;
    f.cell(4, 4).enabled = false;
    f.stringGrid2.at(0, 1) = QStringLiteral("7");
    f.stringGrid2.at(1, 1) = QStringLiteral("5");
    f.stringGrid2.currentRow = 7;
    f.gameInfo = "(;GM[1]";
    f.txtPuls = QStringLiteral("100");
    f.souTesuu = QStringLiteral("120");
    f.radioGroup1 = go::FirstPlayer::White;
    f.lockShown = true;
    f.lblOkiisiShown = false;
    f.caption = texts::CaptionKeepMode;
    f.currentFileName = QStringLiteral("/tmp/a.sgf");
    f.moveTable[1000] = QStringLiteral("aa");
    f.logLine(QStringLiteral("x"));
    s.w.showModel();
    const QString logBefore = f.memo;

    s.ui.answers << answer;
    QTest::mouseClick(s.w.control(QStringLiteral("cmdNew")), Qt::LeftButton);

    QCOMPARE(s.ui.boxes.size(), 1);
    QCOMPARE(s.ui.boxes[0].title, texts::TitleConfirm);
    QCOMPARE(s.ui.boxes[0].kind, BoxKind::Confirm);
    QCOMPARE(s.ui.boxes[0].text, messages::newConfirm());
    QCOMPARE(s.ui.boxes[0].buttons, BoxButtons::OkCancel);
    // Neither answer touches these.
    QCOMPARE(f.souTesuu, QStringLiteral("120"));
    QCOMPARE(s.w.windowTitle(), texts::CaptionKeepMode);
    if (answer == Answer::Cancel) {
        QCOMPARE(f.memo, logBefore);
        QCOMPARE(s.w.cell(3, 3)->text(), QStringLiteral("5"));
        QCOMPARE(f.txtPuls, QStringLiteral("100"));
        QCOMPARE(f.gameInfo, QByteArray("(;GM[1]"));
        QCOMPARE(qobject_cast<QTableView*>(s.w.control(QStringLiteral("StringGrid2")))->currentIndex().row(), 7);
        QVERIFY(s.w.control(QStringLiteral("cmdLockKaizyo2"))->isVisible());
        return;
    }
    QCOMPARE(f.memo, texts::NewLog + QStringLiteral("\r\n"));
    QCOMPARE(qobject_cast<QPlainTextEdit*>(s.w.control(QStringLiteral("Memo1")))->toPlainText(), texts::NewLog + "\n");
    QVERIFY(s.w.cell(3, 3)->text().isEmpty());
    QCOMPARE(s.w.cell(3, 3)->palette().color(QPalette::Base), QColor(0xE4, 0xAA, 0x5D));
    QVERIFY(s.w.cell(4, 4)->isEnabled());
    QCOMPARE(s.w.cell(4, 4)->palette().color(QPalette::Base), QColor(Qt::yellow));
    QVERIFY(f.stringGrid2.at(0, 1).isEmpty() && f.stringGrid2.at(1, 1).isEmpty());
    QCOMPARE(f.stringGrid2.at(0, 0), texts::GridMoveHeader);
    QCOMPARE(qobject_cast<QTableView*>(s.w.control(QStringLiteral("StringGrid2")))->currentIndex().row(), 1);
    QVERIFY(f.gameInfo.isEmpty());
    QVERIFY(f.txtPuls.isEmpty());
    QCOMPARE(f.radioGroup1, go::FirstPlayer::Black);
    QVERIFY(!s.w.control(QStringLiteral("cmdLockKaizyo2"))->isVisible());
    QVERIFY(f.lockPressed);
    QCOMPARE(qobject_cast<QLabel*>(s.w.control(QStringLiteral("lblHyoudai")))->text(), texts::TitleNewRecord);
    QVERIFY(s.w.control(QStringLiteral("lblOkiisi"))->isVisible());
    QVERIFY(f.currentFileName.isEmpty());
    QVERIFY(f.moveTable[1000].isEmpty());
}

// Quit, and the window's own close button, ask first.
void TestWindow::quitCommand_data()
{
    QTest::addColumn<bool>("button");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("quits");
    for (const bool button : {true, false}) {
        const char* way = button ? "Quit" : "window closed";
        QTest::addRow("%s, OK", way) << button << Answer::Ok << true;
        QTest::addRow("%s, Cancel", way) << button << Answer::Cancel << false;
    }
}

void TestWindow::quitCommand()
{
    QFETCH(bool, button);
    QFETCH(Answer, answer);
    QFETCH(bool, quits);
    Shown s;
    s.ui.answers << answer;
    if (button) {
        QTest::mouseClick(s.w.control(QStringLiteral("cmdShuuryou")), Qt::LeftButton);
    } else {
        QCOMPARE(s.w.close(), quits);
        QCOMPARE(s.w.isVisible(), !quits);
    }
    QCOMPARE(s.ui.boxes.size(), 1);
    QCOMPARE(s.ui.boxes[0].kind, BoxKind::Confirm);
    QCOMPARE(s.ui.boxes[0].text, messages::quitQuestion().box);
    QCOMPARE(s.ui.boxes[0].buttons, BoxButtons::OkCancel);
    QCOMPARE(s.w.form().memo, messages::quitQuestion().log + QStringLiteral("\r\n"));
    QCOMPARE(s.ui.quitCount, quits ? 1 : 0);
}

void TestWindow::conversionErrorBox()
{
    // A total that is no number ends the missing-number check with the general error box.
    Shown s;
    qobject_cast<QLineEdit*>(s.w.control(QStringLiteral("SouTesuu")))->setText(QStringLiteral("12a"));
    QTest::mouseClick(s.w.control(QStringLiteral("Button1")), Qt::LeftButton);
    QVERIFY(!s.ui.boxes.isEmpty());
    const ScriptedUi::Box& last = s.ui.boxes.last();
    QCOMPARE(last.title, texts::ApplicationTitle);
    QCOMPARE(last.kind, BoxKind::Error);
    QCOMPARE(last.text, QString(texts::NotAnInteger).replace(QStringLiteral("%s"), QStringLiteral("12a")) + ".");
}

// A handler that fails in a way no check foresaw leaves the window standing with an error box;
// while work runs beside the window no handler runs at all.
void TestWindow::dispatchedFailures_data()
{
    QTest::addColumn<int>("failure");
    QTest::addColumn<bool>("working");
    QTest::addColumn<QString>("box");
    QTest::newRow("out of memory") << 1 << false << texts::HandlerFault + texts::ReasonLabel + "std::bad_alloc";
    QTest::newRow("not an exception class") << 2 << false << texts::HandlerFault;
    QTest::newRow("work running") << 1 << true << QString();
}

void TestWindow::dispatchedFailures()
{
    QFETCH(int, failure);
    QFETCH(bool, working);
    Shown s;
    s.w.setWorking(working);
    bool ran = false;
    const bool dispatched = s.w.dispatch([&] {
        ran = true;
        s.w.form().souTesuu = QStringLiteral("12");
        if (failure == 1)
            throw std::bad_alloc();
        throw 7;
    });
    s.w.setWorking(false);
    QCOMPARE(dispatched, !working);
    QCOMPARE(ran, !working);
    if (working) {
        QVERIFY(s.ui.boxes.isEmpty());
        return;
    }
    QCOMPARE(s.ui.boxes.size(), 1);
    QCOMPARE(s.ui.boxes.last().kind, BoxKind::Error);
    QTEST(s.ui.boxes.last().text, "box");
    // What the handler did before it failed is shown, as a failed conversion leaves it.
    QCOMPARE(qobject_cast<QLineEdit*>(s.w.control(QStringLiteral("SouTesuu")))->text(), QStringLiteral("12"));
}

// The hidden header edits are refreshed only when the part they can hold changes; each row
// changes the record after a first header has been shown.
void TestWindow::hiddenHeaderFollowsRecord_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    const QByteArray full(40000, 'a');
    QTest::newRow("short header replaced") << QByteArray("(;GM[1]") << QByteArray("(;GM[1]SZ[19]");
    QTest::newRow("emptied") << QByteArray("(;GM[1]") << QByteArray();
    QTest::newRow("first byte of a long header") << full << QByteArray("b") + full.mid(1);
    QTest::newRow("past what the edit holds") << full << full + "tail";
}

void TestWindow::hiddenHeaderFollowsRecord()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    ScriptedUi ui;
    TForm1 w(BuildKind::standard(), &ui);
    auto* gameInfo = qobject_cast<QLineEdit*>(w.control(QStringLiteral("GameInfo")));
    auto* sankouZu = qobject_cast<QLineEdit*>(w.control(QStringLiteral("SankouZu")));
    for (const QByteArray& header : {first, second}) {
        w.dispatch([&] {
            w.form().gameInfo = header;
            w.form().sankouZu = header;
        });
        const QString expected = QString::fromLocal8Bit(header.left(gameInfo->maxLength()));
        QCOMPARE(gameInfo->text(), expected);
        QCOMPARE(sankouZu->text(), QString::fromLocal8Bit(header.left(sankouZu->maxLength())));
    }
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
