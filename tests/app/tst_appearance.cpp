#include "app/appearance.h"
#include "app/tform1.h"
#include "board/texts.h"
#include "support/folders.h"
#include "support/scriptedui.h"

#include <QtTest>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

class TestAppearance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFonts(); }
    void icon();
    void themeIcon_data();
    void themeIcon();
    void faces_data();
    void faces();
    void disabledCellsShowTheirNumbers_data();
    void disabledCellsShowTheirNumbers();
};

void TestAppearance::icon()
{
    const QImage image = iconImage();
    QCOMPARE(image.size(), QSize(32, 32));
    QCOMPARE(image.format(), QImage::Format_Indexed8);
    QVERIFY(image.colorCount() <= 16);
    const QRgb darkRed = qRgb(0x80, 0, 0);
    const QRgb grey = qRgb(0xC0, 0xC0, 0xC0);
    // Only the two colours, no transparency, and the letters step from corner to corner.
    int greyTopLeft = 0;
    int greyMiddle = 0;
    int greyBottomRight = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb p = image.pixel(x, y);
            QVERIFY(p == darkRed || p == grey);
            if (p != grey)
                continue;
            if (x < 11 && y < 16)
                ++greyTopLeft;
            else if (x >= 11 && x < 21 && y >= 8 && y < 24)
                ++greyMiddle;
            else if (x >= 21 && y >= 16)
                ++greyBottomRight;
        }
    }
    QVERIFY(greyTopLeft > 10);
    QVERIFY(greyMiddle > 10);
    QVERIFY(greyBottomRight > 10);
    QCOMPARE(image.pixel(31, 0), darkRed);
    QCOMPARE(image.pixel(0, 31), darkRed);
}

void TestAppearance::themeIcon_data()
{
    QTest::addColumn<int>("size");
    for (int size : {16, 32, 48, 64, 128, 256})
        QTest::addRow("%d px", size) << size;
}

// Each pixel of a theme icon shows the colour of the original's pixels it covers: no blended
// colour, and at half size a letter pixel wherever the 2 x 2 block holds one.
void TestAppearance::themeIcon()
{
    QFETCH(int, size);
    const QImage original = iconImage();
    const QImage image = iconImage(size);
    QCOMPARE(image.size(), QSize(size, size));
    const QRgb background = original.pixel(31, 0);
    int letterPixels = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb p = image.pixel(x, y);
            if (p != background)
                ++letterPixels;
            if (size % 32 == 0) {
                QCOMPARE(p, original.pixel(x * 32 / size, y * 32 / size));
            } else if (size == 16) {
                const bool letter = original.pixel(2 * x, 2 * y) != background
                    || original.pixel(2 * x + 1, 2 * y) != background
                    || original.pixel(2 * x, 2 * y + 1) != background
                    || original.pixel(2 * x + 1, 2 * y + 1) != background;
                QCOMPARE(p != background, letter);
            } else {
                QVERIFY(original.colorTable().contains(p));
            }
        }
    }
    int originalLetterPixels = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            originalLetterPixels += original.pixel(x, y) != background;
    // Scaled up, the letters cover about the same share of the icon.
    if (size > 32) {
        const double share = double(letterPixels) / (size * size);
        QVERIFY(qAbs(share - double(originalLetterPixels) / (32 * 32)) < 0.03);
    }
}

void TestAppearance::faces_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("family");
    QTest::newRow("cell") << "Edit1_1" << "Tahoma";
    QTest::newRow("command button") << "cmdNew" << "Tahoma";
    QTest::newRow("title") << "lblHyoudai" << "IPAPMincho";
}

void TestAppearance::faces()
{
    QFETCH(QString, control);
    ScriptedUi ui;
    TForm1 w(BuildKind::standard(), &ui);
    QTEST(QFontInfo(w.control(control)->font()).family(), "family");
}

void TestAppearance::disabledCellsShowTheirNumbers_data()
{
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<int>("lockClicks");
    for (const int clicks : {0, 2}) {
        const char* when = clicks == 0 ? "as opened" : "after release and lock";
        QTest::addRow("handicap stone, %s", when) << QPoint(4, 4) << clicks;
        QTest::addRow("white move, %s", when) << QPoint(16, 4) << clicks;
        QTest::addRow("black move, %s", when) << QPoint(4, 16) << clicks;
    }
}

// The numbers of locked stones are what the operator types as places: drawn grey, they read
// on the black stones as on the white ones.
void TestAppearance::disabledCellsShowTheirNumbers()
{
    QFETCH(QPoint, cell);
    QFETCH(int, lockClicks);
    QTemporaryDir dir;
    const QString path = writeFile(dir.filePath(QStringLiteral("game.sgf")),
                                   "(;CA[shift_jis]AB[dd]SZ[19]MULTIGOGM[1]\r\n;W[pd];B[dp])\r\n");
    ScriptedUi ui;
    ui.answers = {Answer::No};
    ui.openPaths = {path};
    TForm1 w(BuildKind::standard(), &ui);
    w.show();
    QTest::mouseClick(w.control(QStringLiteral("cmdOpen")), Qt::LeftButton);
    for (int i = 0; i < lockClicks; ++i)
        QTest::mouseClick(w.control(QStringLiteral("cmdLockKaizyo2")), Qt::LeftButton);
    QLineEdit* c = w.cell(cell.x(), cell.y());
    QVERIFY(!c->isEnabled());
    QVERIFY(!c->text().isEmpty());

    const QImage image = c->grab().toImage();
    const QColor background = c->palette().color(QPalette::Disabled, QPalette::Base);
    // Inside the frame: the pixel that differs most from the stone is the heart of a digit.
    int text = 0;
    QColor farthest = background;
    auto distance = [&](const QColor& p) { return qAbs(p.lightness() - background.lightness()); };
    for (int y = 4; y < image.height() - 4; ++y) {
        for (int x = 4; x < image.width() - 4; ++x) {
            const QColor p = image.pixelColor(x, y);
            if (distance(p) < 32)
                continue;
            ++text;
            if (distance(p) > distance(farthest))
                farthest = p;
        }
    }
    QVERIFY2(text > 5, qPrintable(QStringLiteral("%1 pixels of text").arg(text)));
    QVERIFY2(qAbs(farthest.red() - farthest.green()) < 16 && qAbs(farthest.green() - farthest.blue()) < 16
                 && farthest.lightness() > 0x50 && farthest.lightness() < 0xB0,
             qPrintable(farthest.name()));
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
