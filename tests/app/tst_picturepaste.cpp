#include "app/tform1.h"
#include "board/cellname.h"
#include "board/colours.h"
#include "diagram/diagram.h"
#include "support/hostilepictures.h"
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
    void hostileLeavesRecord_data();
    void hostileLeavesRecord();
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

// Everything of the record that the operator typed or the program set, to the byte.
QByteArray recordOf(const Form& f)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    for (const Cell& c : f.cells)
        s << c.text << c.background << c.textColour << c.enabled << int(c.tag);
    for (const MoveList* list : {&f.stringGrid1, &f.stringGrid2}) {
        for (const auto& row : list->cells)
            s << row[0] << row[1];
    }
    s << f.souTesuu << f.txtPuls << int(f.radioGroup1) << f.gameInfo << f.caption << f.lblHyoudai << f.currentFileName;
    return out;
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
    // Compared with a reading that found no board, a paste that read nothing would pass.
    QCOMPARE(read.failure == diagram::Failure::None, !picture.startsWith(QLatin1String("noboard")));

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

enum class Hostile { Paste, Drop, PasteThenEsc };
Q_DECLARE_METATYPE(Hostile)

void TestPicturePaste::hostileLeavesRecord_data()
{
    QTest::addColumn<int>("index"); // into hostile::cases(), -1 for the reference picture
    QTest::addColumn<Hostile>("way");
    const QList<hostile::Case> cases = hostile::cases();
    for (int i = 0; i < cases.size(); ++i) {
        if (cases[i].failure == diagram::Failure::None)
            continue;
        if (cases[i].bytes)
            QTest::newRow(qPrintable(QStringLiteral("%1, pasted").arg(QLatin1String(cases[i].name)))) << i << Hostile::Paste;
        QTest::newRow(qPrintable(QStringLiteral("%1, dropped").arg(QLatin1String(cases[i].name)))) << i << Hostile::Drop;
    }
    QTest::newRow("page pasted, Esc while it is read") << -1 << Hostile::PasteThenEsc;
}

// A typed record on the board; a hostile picture pasted or dropped on it, or a good one whose
// reading the operator stops: the record stays exactly as it was, and a refusal says why.
void TestPicturePaste::hostileLeavesRecord()
{
    QFETCH(int, index);
    QFETCH(Hostile, way);
    QTemporaryDir dir;
    const QString path = index < 0 ? hostile::referencePicture() : hostile::cases().at(index).make(QDir(dir.path()));

    WindowUi ui;
    TForm1 w(BuildKind::standard(), &ui);
    ui.window = &w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.cell(4, 4)->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), w.cell(4, 4));
    for (const char* move : {"1", "2", "3"}) {
        QTest::keyClicks(QApplication::focusWidget(), QLatin1String(move));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(w.form().cell(6, 4).text, QStringLiteral("3"));
    const QByteArray before = recordOf(w.form());
    QWidget* cell = QApplication::focusWidget();

    if (way == Hostile::Drop) {
        auto* mime = new QMimeData;
        mime->setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(cell, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(cell, &drop);
        delete mime;
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        auto* mime = new QMimeData;
        mime->setData(QStringLiteral("image/png"), f.readAll());
        QGuiApplication::clipboard()->setMimeData(mime);
        if (way == Hostile::PasteThenEsc)
            QTimer::singleShot(0, &w, [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
        QTest::keySequence(cell, QKeySequence::Paste);
    }
    if (way == Hostile::PasteThenEsc) {
        QVERIFY(ui.boxes.isEmpty());
    } else {
        QTRY_COMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes.first().kind, BoxKind::Error);
    }
    QCOMPARE(recordOf(w.form()), before);
}

QTEST_MAIN(TestPicturePaste)
#include "tst_picturepaste.moc"
