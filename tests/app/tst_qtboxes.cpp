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

QTEST_MAIN(TestQtBoxes)
#include "tst_qtboxes.moc"
