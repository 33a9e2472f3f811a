#include "app/tform1.h"
#include "board/cellname.h"
#include "board/colours.h"
#include "diagram/diagram.h"
#include "support/windowui.h"

#include <QtTest>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>

// Paste and drop in the real window: a picture on the clipboard or a picture file dropped on a
// cell fills the board as the reader reads it, and text on the clipboard still goes into the
// focused field.
class TestPicturePaste : public QObject {
    Q_OBJECT
private slots:
    void pasteAndDrop_data();
    void pasteAndDrop();
};

enum class Way { PastePicture, PasteText, DropFile };
Q_DECLARE_METATYPE(Way)

namespace {

QString picturePath(const QString& name)
{
    return QStringLiteral(RANVEL_TEST_DATA "/diagrams/") + name;
}

// The board as the cells show it, in the reader's own notation without its doubts.
QString shownBoard(const TForm1& w)
{
    QString text;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const QString cell = w.cell(x, y)->text();
            text += cell.isEmpty() ? QStringLiteral(".") : cell.startsWith(QLatin1Char('B')) ? QStringLiteral("B") : cell;
            text += x < 19 ? QLatin1Char(' ') : QLatin1Char('\n');
        }
    }
    return text;
}

} // namespace

void TestPicturePaste::pasteAndDrop_data()
{
    QTest::addColumn<Way>("way");
    QTest::addColumn<bool>("small");
    QTest::addColumn<QString>("picture");
    const QString screenshot = QStringLiteral("game02_s2_l1_h0__screen220.png");
    QTest::newRow("screenshot pasted, standard window") << Way::PastePicture << false << screenshot;
    QTest::newRow("text pasted into the total") << Way::PasteText << false << screenshot;
    QTest::newRow("handicap page dropped on a cell, small window")
        << Way::DropFile << true << QStringLiteral("game09_s9_l1_h2__clean300.png");
    QTest::newRow("page without a board dropped") << Way::DropFile << false << QStringLiteral("noboard__text.png");
}

void TestPicturePaste::pasteAndDrop()
{
    QFETCH(Way, way);
    QFETCH(bool, small);
    QFETCH(QString, picture);
    const QString path = picturePath(picture);
    // Text pasted needs no reading: the picture is only there to be passed over.
    const diagram::Result read
        = way == Way::PasteText ? diagram::Result() : diagram::readFile(QFile::encodeName(path).toStdString());

    WindowUi ui;
    TForm1 w(small ? BuildKind::smallScreen() : BuildKind::standard(), &ui);
    ui.window = &w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const QString emptyBoard = shownBoard(w);
    const QString expected = read.failure == diagram::Failure::None
        ? QString::fromStdString(diagram::boardText(read.board)).remove(QLatin1Char('?'))
        : emptyBoard;
    QLineEdit* cell = w.cell(3, 3);
    cell->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), cell);

    auto* total = qobject_cast<QLineEdit*>(w.control(QStringLiteral("SouTesuu")));
    switch (way) {
    case Way::PastePicture: {
        const QImage image(path);
        QVERIFY(!image.isNull());
        QGuiApplication::clipboard()->setImage(image);
        QTest::keySequence(cell, QKeySequence::Paste);
        break;
    }
    case Way::PasteText:
        QGuiApplication::clipboard()->setText(QStringLiteral("123"));
        total->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), total);
        QTest::keySequence(total, QKeySequence::Paste);
        QCOMPARE(total->text(), QStringLiteral("123"));
        QCOMPARE(shownBoard(w), emptyBoard);
        QVERIFY(w.form().memo.isEmpty());
        return;
    case Way::DropFile: {
        auto* mime = new QMimeData;
        mime->setUrls({QUrl::fromLocalFile(path)});
        const QPoint at = cell->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(cell, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(cell, &drop);
        QVERIFY(drop.isAccepted());
        delete mime;
        break;
    }
    }
    QTRY_COMPARE(w.form().memo.isEmpty(), false);
    QCOMPARE(shownBoard(w), expected);
    if (read.failure != diagram::Failure::None) {
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes.first().kind, BoxKind::Error);
        QVERIFY(total->text().isEmpty());
        return;
    }
    QVERIFY(!total->text().isEmpty());
    QVERIFY(ui.boxes.isEmpty());
    // The reading leaves the focus somewhere, and a cell that holds it is highlighted as entered.
    // A progress window shown meanwhile gives the activation back when it closes.
    QTRY_VERIFY(QApplication::focusWidget());
    QWidget* focused = QApplication::focusWidget();
    if (const auto pos = cellOfName(focused->objectName()))
        QCOMPARE(w.form().cell(pos->x, pos->y).background, colours::Focus);
    QVERIFY(w.form().memo.contains(QDir::toNativeSeparators(way == Way::DropFile ? path : QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞの画像"))));
}

QTEST_MAIN(TestPicturePaste)
#include "tst_picturepaste.moc"
