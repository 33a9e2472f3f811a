#include "app/picturecrop.h"
#include "app/picturewindow.h"
#include "app/tform1.h"
#include "board/cellname.h"
#include "board/colours.h"
#include "board/lifecycle.h"
#include "board/texts.h"
#include "transcribe/nextfigure.h"
#include "transcribe/readboard.h"
#include "ordering/moveordering.h"
#include "sgf/save.h"
#include "support/realgame.h"
#include "diagram/diagram.h"
#include "support/hostilepictures.h"
#include "support/windowui.h"

#include <QtTest>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>

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
    void marksFollowFocus();
    void proofreadWithKeys_data();
    void proofreadWithKeys();
    void cropWhereNoBoard();
    void figuresDropped_data();
    void figuresDropped();
};

enum class Way { PastePicture, PasteText, DropFile };
Q_DECLARE_METATYPE(Way)

namespace {

// A page that the reader reads with several points in doubt, the first two apart and neither
// showing a number that stands twice on the board (confirming such a point keeps it marked).
#define MarkedPicture "own_c059_print.jpg"

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

// Pixels of a pure mark colour in `area` of `image`: the pictures and the board have none of
// these, so any found were drawn as marks.
int pixelsOf(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += qAbs(qRed(p) - qRed(colour)) < 40 && qAbs(qGreen(p) - qGreen(colour)) < 40 && qAbs(qBlue(p) - qBlue(colour)) < 40;
        }
    }
    return count;
}

// A file dragged onto the widget and dropped there: whether the drag, and the drop, were taken.
std::pair<bool, bool> dropFile(QWidget* target, const QString& path, QPoint at)
{
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return {enter.isAccepted(), drop.isAccepted()};
}

const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);

QList<CellPos> unsurePoints(const Form& f)
{
    QList<CellPos> out;
    for (int i = 0; i < 361; ++i) {
        if (f.unsurePoints[size_t(i)])
            out.append({i % 19 + 1, i / 19 + 1});
    }
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
    const QString path = QStringLiteral(RANVEL_TEST_DATA "/diagrams/") + picture;
    // Text pasted needs no reading: the picture is only there to be passed over.
    const diagram::Result read
        = way == Way::PasteText ? diagram::Result() : diagram::readFile(QFile::encodeName(path).toStdString());
    // Compared with a reading that found no board, a paste that read nothing would pass.
    QCOMPARE(read.failure == diagram::Failure::None, !picture.startsWith(QLatin1String("noboard")));

    ShownWindow s(small ? BuildKind::smallScreen() : BuildKind::standard());
    TForm1& w = s.w;
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
    case Way::DropFile:
        QCOMPARE(dropFile(cell, path, cell->rect().center()), std::pair(true, true));
        break;
    }
    QTRY_COMPARE(w.form().memo.isEmpty(), false);
    QCOMPARE(shownBoard(w), expected);
    if (read.failure != diagram::Failure::None) {
        QCOMPARE(s.ui.boxes.size(), 1);
        QCOMPARE(s.ui.boxes.first().kind, BoxKind::Error);
        QVERIFY(total->text().isEmpty());
        return;
    }
    QVERIFY(!total->text().isEmpty());
    QVERIFY(s.ui.boxes.isEmpty());
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

    ShownWindow s;
    TForm1& w = s.w;
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
        QVERIFY(dropFile(cell, path, QPoint(2, 2)).first);
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
    // The question over the record comes before the reading, the refusal after it.
    QTRY_COMPARE(s.ui.boxes.size(), way == Hostile::PasteThenEsc ? 1 : 2);
    QCOMPARE(s.ui.boxes.first().buttons, BoxButtons::YesNoKeep);
    if (way != Hostile::PasteThenEsc)
        QCOMPARE(s.ui.boxes.last().kind, BoxKind::Error);
    QCOMPARE(recordOf(w.form()), before);
}

// A picture pasted over a typed record: the focus goes to the first point in doubt, whose
// cell is framed on the board and marked on the picture window; F6 moves the focus and the
// marks with it, Enter takes a frame away, Esc closes the picture and F7 shows it again.
void TestPicturePaste::marksFollowFocus()
{
    ShownWindow s;
    TForm1& w = s.w;
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.cell(4, 4)->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), w.cell(4, 4));
    QTest::keyClicks(w.cell(4, 4), QStringLiteral("1"));
    QTest::keyClick(w.cell(4, 4), Qt::Key_Return);
    QCOMPARE(w.form().fromPicture, false);
    QVERIFY(!w.pictureWindow());
    // The cell clicked last, which the focus must leave for the first point in doubt.
    w.cell(3, 3)->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), w.cell(3, 3));

    const QImage image(QStringLiteral(RANVEL_TEST_DATA "/corpus/") + QStringLiteral(MarkedPicture));
    QVERIFY(!image.isNull());
    QGuiApplication::clipboard()->setImage(image);
    QTest::keySequence(w.cell(3, 3), QKeySequence::Paste);
    QTRY_VERIFY(w.form().fromPicture);
    QCOMPARE(s.ui.boxes.size(), 1);
    QCOMPARE(s.ui.boxes.first().kind, BoxKind::Confirm);
    const QList<CellPos> doubts = unsurePoints(w.form());
    QVERIFY(doubts.size() >= 2);
    const CellPos first = doubts[0], second = doubts[1];
    QTRY_COMPARE(QApplication::focusWidget(), w.cell(first.x, first.y));

    PictureWindow* picture = w.pictureWindow();
    QVERIFY(picture && picture->isVisible());
    // Inside the cell by more than the neighbours overlap it.
    const auto cellArea = [&](const CellPos& p) { return w.cell(p.x, p.y)->geometry().adjusted(2, 2, -2, -2); };
    const auto pointArea = [&](const CellPos& p) { return picture->pointRect(p.x, p.y).toAlignedRect().adjusted(-4, -4, 4, 4); };

    QImage board = w.grab().toImage();
    for (const CellPos& p : doubts)
        QVERIFY2(pixelsOf(board, cellArea(p), Red) > 20, qPrintable(cellName(p.x, p.y)));
    for (int x = 1; x <= 19; ++x) {
        if (!std::any_of(doubts.begin(), doubts.end(), [&](const CellPos& d) { return d.x == x && d.y == 19; }))
            QCOMPARE(pixelsOf(board, cellArea({x, 19}), Red), 0);
    }
    QImage shown = picture->grab().toImage();
    QVERIFY(pixelsOf(shown, pointArea(first), Red) > 20);
    QVERIFY(pixelsOf(shown, pointArea(first), Blue) > 20);
    QCOMPARE(pixelsOf(shown, pointArea(second), Blue), 0);
    // Magnified below the board: the focused point framed in blue, itself in doubt in red.
    const QRect loupe = picture->loupeRect().toAlignedRect();
    QVERIFY(loupe.top() >= picture->pointRect(19, 19).bottom() && loupe.width() > 3 * picture->pointRect(1, 1).width());
    QVERIFY(pixelsOf(shown, loupe, Blue) > 100);
    QVERIFY(pixelsOf(shown, loupe, Red) > 100);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QTRY_COMPARE(QApplication::focusWidget(), w.cell(second.x, second.y));
    shown = picture->grab().toImage();
    QVERIFY(pixelsOf(shown, pointArea(second), Blue) > 20);
    QCOMPARE(pixelsOf(shown, pointArea(first), Blue), 0);

    QTest::keyClick(w.cell(second.x, second.y), Qt::Key_Return);
    board = w.grab().toImage();
    QCOMPARE(pixelsOf(board, cellArea(second), Red), 0);
    QVERIFY(pixelsOf(board, cellArea(first), Red) > 20);

    picture->close();
    QVERIFY(!picture->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7);
    QTRY_VERIFY(picture->isVisible());
    // F6 pressed on the picture takes the keyboard back to a point still in doubt.
    w.cell(1, 1)->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(picture, Qt::Key_F6);
    QTRY_VERIFY(QApplication::focusWidget() && QApplication::focusWidget() != w.cell(1, 1));
    const auto landed = cellOfName(QApplication::focusWidget()->objectName());
    QVERIFY(landed && w.form().unsurePoints[size_t((landed->y - 1) * 19 + landed->x - 1)]);
}

void TestPicturePaste::proofreadWithKeys_data()
{
    QTest::addColumn<QString>("picture");
    // The pictures of the sample that the reader doubts most, of every kind and renderer.
    for (const char* name : {"outside_gillius-cond_scan.jpg", "own_dejavu-condensed_screen.png", "own_c059_clean.png", "own_ipagothic_scan.jpg",
                             "own_p052_scan.jpg", "gofonts_scan200_15pt.jpg", "gofonts_clean150_15pt.png",
                             "gofonts_screen120_15pt.png", "wgo_560_glass_wood.jpg", "psgo_scan_rm200.jpg",
                             "sgf2dg_photo250_exif6.jpg"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// A picture checked as an operator would, with its truth standing for what the picture window
// shows: from the paste, the number typed where the focused point in doubt is wrong (Delete
// where no stone is) and Enter; F6 only where the focus is on no point in doubt. Held to the
// walk's targets: no box, every point in doubt reached once with its text selected, at most
// four keys a point, and no cell left wrong. The figures are printed for the README.
void TestPicturePaste::proofreadWithKeys()
{
    QFETCH(QString, picture);
    QFile manifest(QStringLiteral(RANVEL_TEST_DATA "/corpus/manifest.json"));
    QVERIFY(manifest.open(QIODevice::ReadOnly));
    QStringList truth;
    int moves = 0;
    for (const QJsonValue& value : QJsonDocument::fromJson(manifest.readAll()).object().value(QStringLiteral("pictures")).toArray()) {
        if (value.toObject().value(QStringLiteral("file")).toString() != picture)
            continue;
        moves = value.toObject().value(QStringLiteral("moves")).toInt();
        for (const QJsonValue& line : value.toObject().value(QStringLiteral("board")).toArray())
            truth += line.toString().split(QLatin1Char(' '));
    }
    QCOMPARE(truth.size(), 361);
    const auto truthAt = [&](const CellPos& p) {
        const QString t = truth[(p.y - 1) * 19 + p.x - 1];
        return t == QLatin1String(".") ? QString() : t;
    };
    const auto shownAt = [&](TForm1& w, const CellPos& p) {
        const QString t = w.form().cell(p.x, p.y).text;
        return t.startsWith(QLatin1Char('B')) ? QStringLiteral("B") : t;
    };
    const auto wrongCells = [&](TForm1& w) {
        QStringList wrong;
        for (int i = 0; i < 361; ++i) {
            const CellPos p{i % 19 + 1, i / 19 + 1};
            if (shownAt(w, p) != truthAt(p))
                wrong << cellName(p.x, p.y);
        }
        return wrong;
    };

    ShownWindow s;
    TForm1& w = s.w;
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const QImage image(QStringLiteral(RANVEL_TEST_DATA "/corpus/") + picture);
    QVERIFY(!image.isNull());
    QGuiApplication::clipboard()->setImage(image);
    QElapsedTimer clock;
    clock.start();
    QTest::keySequence(&w, QKeySequence::Paste);
    QTRY_VERIFY_WITH_TIMEOUT(w.form().fromPicture, 60000);
    const qint64 readMs = clock.elapsed();
    const qsizetype boxesBefore = s.ui.boxes.size();
    const QList<CellPos> doubts = unsurePoints(w.form());
    const QStringList wrongBefore = wrongCells(w);
    const qsizetype duplicatesRead = w.form().memo.count(texts::DupAlready);

    int keys = 0, corrected = 0, unselected = 0, steps = 0;
    QHash<int, int> visits;
    while (!unsurePoints(w.form()).isEmpty() && ++steps < 4 * 361) {
        // A progress window shown meanwhile, or the picture's own window, gives the activation
        // back a moment later.
        QTRY_VERIFY(w.isActiveWindow() && QApplication::focusWidget());
        auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        const auto pos = focused ? cellOfName(focused->objectName()) : std::nullopt;
        if (!pos || !w.form().unsurePoints[size_t((pos->y - 1) * 19 + pos->x - 1)]) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
            ++keys;
            continue;
        }
        ++visits[(pos->y - 1) * 19 + pos->x - 1];
        unselected += !focused->text().isEmpty() && focused->selectedText() != focused->text();
        const QString want = truthAt(*pos);
        if (shownAt(w, *pos) != want) {
            ++corrected;
            if (want.isEmpty()) {
                QTest::keyClick(focused, Qt::Key_Delete);
                ++keys;
            } else {
                QTest::keyClicks(focused, want);
                keys += int(want.size());
            }
        }
        QTest::keyClick(focused, Qt::Key_Return);
        ++keys;
    }
    const qint64 walkMs = clock.elapsed() - readMs;
    const int twice = int(std::count_if(visits.begin(), visits.end(), [](int n) { return n > 1; }));
    const int never = int(std::count_if(doubts.begin(), doubts.end(), [&](const CellPos& p) { return !visits.contains((p.y - 1) * 19 + p.x - 1); }));
    const int boxes = int(s.ui.boxes.size() - boxesBefore);
    const QStringList wrongAfter = wrongCells(w);
    // Numbers that came to stand twice while checking, logged and marked instead of boxed.
    const int duplicates = int(w.form().memo.count(texts::DupAlready) - duplicatesRead);
    qInfo("%s: %d in doubt, %d wrong after reading, %d corrected; %d keys, %.2f a point; %d boxes, %d duplicates logged; "
          "%d visited twice, %d never, %d unselected; %d left wrong; total %s of %d; read %.1f s, walked %.1f s",
          qPrintable(picture), int(doubts.size()), int(wrongBefore.size()), corrected, keys,
          doubts.isEmpty() ? 0.0 : double(keys) / double(doubts.size()), boxes, duplicates, twice, never, unselected, int(wrongAfter.size()),
          qPrintable(w.form().souTesuu), moves, readMs / 1000.0, walkMs / 1000.0);
    QVERIFY(unsurePoints(w.form()).isEmpty());
    QCOMPARE(boxes, 0);
    QCOMPARE(twice, 0);
    QCOMPARE(never, 0);
    QCOMPARE(unselected, 0);
    QVERIFY(keys <= 4 * doubts.size());
    QVERIFY2(wrongAfter.isEmpty(), qPrintable(wrongAfter.join(QLatin1Char(' '))));
    QCOMPARE(w.form().souTesuu, QString::number(moves));
    // The missing-number list followed every correction: the numbers the board lacks, no more.
    // So does it a total typed over the read one, longer and then shorter again.
    auto* total = qobject_cast<QLineEdit*>(w.control(QStringLiteral("SouTesuu")));
    for (const int typed : {moves + 2, moves}) {
        QStringList missing, listed;
        for (int n = 1; n <= typed; ++n) {
            if (!truth.contains(QString::number(n)))
                missing << QString::number(n);
        }
        total->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), total);
        total->selectAll();
        QTest::keyClicks(total, QString::number(typed));
        QTest::keyClick(total, Qt::Key_Return);
        for (int r = 1; r <= MoveList::LastRow; ++r) {
            if (!w.form().stringGrid2.at(0, r).isEmpty())
                listed << w.form().stringGrid2.at(0, r);
        }
        QCOMPARE(listed, missing);
    }
}

// A whole screen with two web boards side by side, touching, which the reader takes for no board:
// the refusal is followed by the picture in a window of its own, a rectangle dragged around the
// first board there is read, and the board is the one the reader reads from that board alone.
void TestPicturePaste::cropWhereNoBoard()
{
    const QString boardPath = QStringLiteral(RANVEL_TEST_DATA "/corpus/wgo_420_glass_wood.png");
    const QImage board(boardPath);
    QVERIFY(!board.isNull());
    QImage screen(1920, 1080, QImage::Format_RGB32);
    screen.fill(Qt::white);
    QPainter painter(&screen);
    painter.fillRect(0, 0, 1920, 64, QColor(40, 60, 120));
    painter.fillRect(0, 64, 320, 1016, QColor(230, 230, 230));
    for (int i = 0; i < 30; ++i)
        painter.drawText(20, 100 + i * 30, QStringLiteral("Player %1  5d").arg(i));
    const QPoint at(700, 200);
    painter.drawImage(at, board);
    painter.drawImage(at + QPoint(board.width(), 0), board.mirrored(true, false));
    painter.end();

    ShownWindow s;
    TForm1& w = s.w;
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QGuiApplication::clipboard()->setImage(screen);
    QTest::keySequence(&w, QKeySequence::Paste);
    QTRY_VERIFY_WITH_TIMEOUT(w.findChild<PictureCrop*>(), 60000);
    QCOMPARE(s.ui.boxes.size(), 1);
    QCOMPARE(s.ui.boxes.first().kind, BoxKind::Error);
    QVERIFY(!w.form().fromPicture);

    QPointer<PictureCrop> crop = w.findChild<PictureCrop*>();
    QVERIFY(QTest::qWaitForWindowExposed(crop));
    QVERIFY(crop);
    const QRectF shown = crop->pictureRect();
    const qreal scale = shown.width() / screen.width();
    const auto onCrop = [&](QPointF p) { return (shown.topLeft() + p * scale).toPoint(); };
    const QRect around = QRect(at, board.size()).adjusted(-12, -12, 12, 12);
    QTest::mousePress(crop, Qt::LeftButton, Qt::NoModifier, onCrop(around.topLeft()));
    QTest::mouseMove(crop, onCrop(around.center()));
    QTest::mouseRelease(crop, Qt::LeftButton, Qt::NoModifier, onCrop(around.bottomRight()));
    QTRY_VERIFY_WITH_TIMEOUT(w.form().fromPicture, 60000);
    QCOMPARE(s.ui.boxes.size(), 1);
    const diagram::Result alone = diagram::readFile(QFile::encodeName(boardPath).toStdString());
    QCOMPARE(alone.failure, diagram::Failure::None);
    QCOMPARE(shownBoard(w), QString::fromStdString(diagram::boardText(alone.board)).remove(QLatin1Char('?')));
}

QTEST_MAIN(TestPicturePaste)
#include "tst_picturepaste.moc"

void TestPicturePaste::figuresDropped_data()
{
    QTest::addColumn<QString>("set");
    for (const char* style : {"continued", "restarted", "hundreds"})
        QTest::newRow(style) << QStringLiteral("pro_kisei28_g7_%1").arg(QLatin1String(style));
}

// A game's three figures dropped one after another, each after the first read as the next
// figure of the record, leave the record that the same readings leave without the window, and
// Save writes the game as it was played.
void TestPicturePaste::figuresDropped()
{
    QFETCH(QString, set);
    const QString folder = QStringLiteral(RANVEL_TEST_DATA "/figures/") + set;
    QStringList paths;
    for (int k = 1; k <= 3; ++k)
        paths << QDir::toNativeSeparators(folder + QStringLiteral("/fig%1.png").arg(k));

    Form plain;
    FormCreate(plain);
    ScriptedUi plainUi;
    for (int k = 0; k < paths.size(); ++k) {
        const diagram::Result read = diagram::readFile(QFile::encodeName(paths[k]).toStdString());
        QCOMPARE(read.failure, diagram::Failure::None);
        if (k == 0)
            enterReading(plain, plainUi, read, paths[k]);
        else
            enterNextFigure(plain, plainUi, read, paths[k]);
    }

    ShownWindow s;
    TForm1& w = s.w;
    WindowUi& ui = s.ui;
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // New record or next figure: No reads the next figure.
    ui.answers << Answer::No << Answer::No;
    for (int k = 0; k < paths.size(); ++k) {
        QVERIFY(dropFile(w.cell(10, 10), paths[k], w.cell(10, 10)->rect().center()).second);
        QTRY_VERIFY_WITH_TIMEOUT(w.form().memo.contains(paths[k]), 60000);
    }
    QCOMPARE(ui.boxes.size(), 2);
    for (const ScriptedUi::Box& b : ui.boxes)
        QCOMPARE(b.buttons, BoxButtons::YesNoKeep);

    const Form& f = w.form();
    QCOMPARE(f.souTesuu, plain.souTesuu);
    for (int i = 0; i < 361; ++i) {
        QCOMPARE(f.cells[size_t(i)].text, plain.cells[size_t(i)].text);
        QCOMPARE(f.unsurePoints[size_t(i)], plain.unsurePoints[size_t(i)]);
    }
    for (int r = 1; r <= MoveList::LastRow; ++r) {
        QCOMPARE(f.stringGrid2.at(0, r), plain.stringGrid2.at(0, r));
        QCOMPARE(f.stringGrid2.at(1, r), plain.stringGrid2.at(1, r));
    }
    QFile manifest(QStringLiteral(RANVEL_TEST_DATA "/figures/figures.json"));
    QVERIFY(manifest.open(QIODevice::ReadOnly));
    QString moves;
    for (const QJsonValue& v : QJsonDocument::fromJson(manifest.readAll()).array()) {
        if (v.toObject().value(QStringLiteral("set")).toString() == set)
            moves = v.toObject().value(QStringLiteral("moves")).toString();
    }
    QVERIFY(!moves.isEmpty());
    QTemporaryDir work;
    const QString saved = work.filePath(QStringLiteral("game.sgf"));
    ui.savePaths << saved;
    w.dispatch([&] { cmdSaveClick(w.form(), w.ui()); });
    QFile file(saved);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(w.form().memo.right(400)));
    const auto game = readGame(file.readAll());
    QVERIFY(game);
    QString played;
    for (const GameMove& m : game->moves)
        played += QString(QChar('a' + m.point.x() - 1)) + QChar('a' + m.point.y() - 1);
    QCOMPARE(played, moves);
}
