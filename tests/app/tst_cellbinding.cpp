#include "app/tform1.h"
#include "board/cellname.h"
#include "board/messages.h"
#include "board/texts.h"
#include "support/boxanswerer.h"

#include <QtTest>
#include <QLineEdit>

// The exit handling of a cell runs once per departure and before the next cell's enter
// handling, also when it shows a real modal box.
class TestCellBinding : public QObject {
    Q_OBJECT
private slots:
    void duplicateWarnedOnce_data();
    void duplicateWarnedOnce();
    void arrowConvertsBeforeHighlight();
    void enterWalksToSaveAndPressesIt();
    void keyboardEntrySelectsAll();
};

enum class Leave { Enter, CtrlEnter, AltEnter, KeypadEnter, Tab, Arrow, Click };
Q_DECLARE_METATYPE(Leave)

namespace {

void typeInto(TForm1& w, int x, int y, const QString& text)
{
    QLineEdit* c = w.cell(x, y);
    c->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), c);
    c->selectAll();
    QTest::keyClicks(c, text);
}

} // namespace

void TestCellBinding::duplicateWarnedOnce_data()
{
    QTest::addColumn<Leave>("leave");
    QTest::addColumn<QPoint>("next");
    QTest::newRow("Enter") << Leave::Enter << QPoint(2, 2);
    QTest::newRow("Ctrl+Enter") << Leave::CtrlEnter << QPoint(2, 2);
    QTest::newRow("Alt+Enter") << Leave::AltEnter << QPoint(2, 2);
    QTest::newRow("keypad Enter") << Leave::KeypadEnter << QPoint(2, 2);
    QTest::newRow("Tab") << Leave::Tab << QPoint(2, 2);
    QTest::newRow("Right arrow") << Leave::Arrow << QPoint(2, 2);
    QTest::newRow("mouse click") << Leave::Click << QPoint(9, 9);
}

void TestCellBinding::duplicateWarnedOnce()
{
    QFETCH(Leave, leave);
    QFETCH(QPoint, next);
    TForm1 w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    BoxAnswerer answerer;
    typeInto(w, 5, 5, QStringLiteral("7"));
    w.cell(6, 6)->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), w.cell(6, 6));
    QCOMPARE(answerer.seen.size(), 0);

    typeInto(w, 1, 2, QStringLiteral("7"));
    QLineEdit* from = w.cell(1, 2);
    QLineEdit* to = w.cell(next.x(), next.y());
    switch (leave) {
    case Leave::Enter:
        QTest::keyClick(from, Qt::Key_Return);
        break;
    // Through the window, as the system delivers keys, shortcut handling included.
    case Leave::CtrlEnter:
        QTest::keyClick(w.windowHandle(), Qt::Key_Return, Qt::ControlModifier);
        break;
    case Leave::AltEnter:
        QTest::keyClick(w.windowHandle(), Qt::Key_Return, Qt::AltModifier);
        break;
    case Leave::KeypadEnter:
        QTest::keyClick(from, Qt::Key_Enter, Qt::KeypadModifier);
        break;
    case Leave::Tab:
        QTest::keyClick(from, Qt::Key_Tab);
        break;
    case Leave::Arrow:
        QTest::keyClick(from, Qt::Key_Right);
        break;
    case Leave::Click:
        QTest::mouseClick(to, Qt::LeftButton);
        break;
    }
    QTRY_COMPARE(QApplication::focusWidget(), to);
    QTRY_COMPARE(answerer.seen.size(), 1);
    // Whatever the leaving posted has run by now: a second box would be counted.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen[0].title, texts::TitleWarning);
    const messages::BoxAndLog dup = messages::duplicateEntry(QStringLiteral("7"), 5, 5);
    QCOMPARE(answerer.seen[0].text, QString(dup.box).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(w.form().memo.count(dup.log), qsizetype(1));
    QCOMPARE(from->text(), QStringLiteral("7"));
    QCOMPARE(w.cell(5, 5)->text(), QStringLiteral("7"));
    QCOMPARE(w.form().controlMei, cellName(next.x(), next.y()));
    QCOMPARE(to->palette().color(QPalette::Base), QColor(Qt::blue));
    QCOMPARE(w.form().cell(next.x(), next.y()).background, colours::Focus);
    // The cell left behind shows its stone, not the highlight.
    QCOMPARE(from->palette().color(QPalette::Base), QColor(Qt::black));
}

void TestCellBinding::arrowConvertsBeforeHighlight()
{
    TForm1 w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    BoxAnswerer answerer;
    qobject_cast<QLineEdit*>(w.control(QStringLiteral("txtPuls")))->setText(QStringLiteral("100"));
    typeInto(w, 3, 3, QStringLiteral("5"));
    QTest::keyClick(w.cell(3, 3), Qt::Key_Down);
    QTRY_COMPARE(QApplication::focusWidget(), w.cell(3, 4));
    QCOMPARE(w.cell(3, 3)->text(), QStringLiteral("105"));
    QCOMPARE(w.cell(3, 3)->palette().color(QPalette::Base), QColor(Qt::black));
    QCOMPARE(w.form().cellTextOnEnter, QString());
    QCOMPARE(answerer.seen.size(), 0);
}

void TestCellBinding::enterWalksToSaveAndPressesIt()
{
    TForm1 w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    BoxAnswerer answerer({Qt::Key_Escape});
    w.form().cell(2, 19).enabled = false;
    w.showModel();
    typeInto(w, 19, 18, QString());
    QTest::keyClick(w.cell(19, 18), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), w.cell(1, 19));
    QTest::keyClick(w.cell(1, 19), Qt::Key_Return);
    // The disabled cell is passed over.
    QTRY_COMPARE(QApplication::focusWidget(), w.cell(3, 19));
    w.cell(19, 19)->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(w.cell(19, 19), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), w.control(QStringLiteral("cmdSave")));
    QCOMPARE(answerer.seen.size(), 0);
    // A second Enter presses Save, which asks first.
    QTest::keyClick(w.control(QStringLiteral("cmdSave")), Qt::Key_Return);
    QTRY_COMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen[0].title, texts::TitleConfirm);
    QVERIFY(answerer.seen[0].text.startsWith(QString(texts::SaveConfirm).replace("\r\n", "\n")));
}

void TestCellBinding::keyboardEntrySelectsAll()
{
    TForm1 w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    BoxAnswerer answerer;
    typeInto(w, 8, 8, QStringLiteral("12"));
    QTest::keyClick(w.cell(8, 8), Qt::Key_Right);
    QTRY_COMPARE(QApplication::focusWidget(), w.cell(9, 8));
    QTest::keyClick(w.cell(9, 8), Qt::Key_Left);
    QTRY_COMPARE(QApplication::focusWidget(), w.cell(8, 8));
    QCOMPARE(w.cell(8, 8)->selectedText(), QStringLiteral("12"));
    // Typing replaces the number.
    QTest::keyClicks(w.cell(8, 8), QStringLiteral("3"));
    QCOMPARE(w.cell(8, 8)->text(), QStringLiteral("3"));
}

QTEST_MAIN(TestCellBinding)
#include "tst_cellbinding.moc"
