#include "app/qtui.h"
#include "app/tform1.h"
#include "board/messages.h"
#include "board/texts.h"
#include "support/boxanswerer.h"

#include <QtTest>
#include <QLabel>
#include <QLineEdit>

// The window's own boxes: real QMessageBox windows, answered by key.
class TestQtBoxes : public QObject {
    Q_OBJECT
private slots:
    void newAnsweredByKey_data();
    void newAnsweredByKey();
    void quitEscapeIsCancel();
    void defaultAnswers_data();
    void defaultAnswers();
};

void TestQtBoxes::newAnsweredByKey_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("Enter presses OK") << Qt::Key_Return << true;
    QTest::newRow("Escape is Cancel") << Qt::Key_Escape << false;
}

void TestQtBoxes::newAnsweredByKey()
{
    QFETCH(Qt::Key, key);
    QFETCH(bool, cleared);
    TForm1 w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.form().cell(2, 2).text = QStringLiteral("9");
    w.showModel();
    BoxAnswerer answerer({key});
    QTest::mouseClick(w.control(QStringLiteral("cmdNew")), Qt::LeftButton);
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen[0].title, texts::TitleConfirm);
    QCOMPARE(answerer.seen[0].text, messages::newConfirm().replace("\r\n", "\n"));
    QCOMPARE(answerer.seen[0].icon, QMessageBox::Question);
    QCOMPARE(w.cell(2, 2)->text().isEmpty(), cleared);
    QCOMPARE(qobject_cast<QLabel*>(w.control(QStringLiteral("lblHyoudai")))->text(),
             cleared ? texts::TitleNewRecord : texts::TitleNewInput);
}

void TestQtBoxes::quitEscapeIsCancel()
{
    TForm1 w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    BoxAnswerer answerer({Qt::Key_Escape});
    QTest::mouseClick(w.control(QStringLiteral("cmdShuuryou")), Qt::LeftButton);
    QCOMPARE(answerer.seen.size(), 1);
    QVERIFY(!w.quitAccepted());
    QVERIFY(w.isVisible());
    QCOMPARE(w.form().memo, messages::quitQuestion().log + QStringLiteral("\r\n"));
}

Q_DECLARE_METATYPE(BoxButtons)
Q_DECLARE_METATYPE(Answer)

void TestQtBoxes::defaultAnswers_data()
{
    QTest::addColumn<BoxButtons>("buttons");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Answer>("answer");
    QTest::newRow("Open's mode question: Enter is Yes") << BoxButtons::YesNoCancel << Qt::Key_Return << Answer::Yes;
    // A picture pasted over a record: a reflexive Enter must not throw the record away.
    QTest::newRow("picture over a record: Enter is No") << BoxButtons::YesNoKeep << Qt::Key_Return << Answer::No;
    QTest::newRow("picture over a record: Escape is Cancel") << BoxButtons::YesNoKeep << Qt::Key_Escape << Answer::Cancel;
}

void TestQtBoxes::defaultAnswers()
{
    QFETCH(BoxButtons, buttons);
    QFETCH(Qt::Key, key);
    TForm1 w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QtUi ui(w);
    BoxAnswerer answerer({key});
    QTEST(ui.ask(BoxKind::Confirm, messages::figureQuestion(), buttons), "answer");
    QCOMPARE(answerer.seen.size(), 1);
}

QTEST_MAIN(TestQtBoxes)
#include "tst_qtboxes.moc"
