#include "app/appearance.h"
#include "app/tform1.h"
#include "support/scriptedui.h"

#include <QtTest>
#include <QFontInfo>
#include <QLabel>

class TestAppearance : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFonts(); }
    void icon();
    void faces_data();
    void faces();
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
    QFETCH(QString, family);
    ScriptedUi ui;
    TForm1 w(BuildKind::standard(), &ui);
    QCOMPARE(QFontInfo(w.control(control)->font()).family(), family);
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
