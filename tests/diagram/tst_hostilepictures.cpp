#include "diagram/diagram.h"
#include "support/hostilepictures.h"

#include <QtTest>

#include <vector>

// Hostile and unusual pictures through the reader, from a file and from the same bytes in
// memory: each is refused for its reason, or read as the picture it was made from. None may
// crash, hang or take the memory of its claimed size.
class TestHostilePictures : public QObject {
    Q_OBJECT
private slots:
    void readsOrRefuses_data();
    void readsOrRefuses();
};

void TestHostilePictures::readsOrRefuses_data()
{
    QTest::addColumn<int>("index");
    const QList<hostile::Case> cases = hostile::cases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases[i].name) << i;
}

void TestHostilePictures::readsOrRefuses()
{
    QFETCH(int, index);
    const hostile::Case c = hostile::cases().at(index);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = c.make(QDir(dir.path()));
    const diagram::Result read = diagram::readFile(QFile::encodeName(path).toStdString());
    QCOMPARE(int(read.failure), int(c.failure));
    if (c.failure == diagram::Failure::None) {
        const diagram::Result reference = diagram::readFile(QFile::encodeName(hostile::referencePicture()).toStdString());
        QCOMPARE(int(reference.failure), int(diagram::Failure::None));
        QCOMPARE(QString::fromStdString(diagram::boardText(read.board)), QString::fromStdString(diagram::boardText(reference.board)));
    } else {
        QVERIFY(!read.reason.empty());
    }
    if (c.failure == diagram::Failure::UnreadFormat)
        QVERIFY(!read.format.empty());
    if (QTest::currentDataTag() == QByteArray("TIFF with its board on page 2"))
        QCOMPARE(read.pages, 2);
    if (!c.bytes)
        return;
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const diagram::Result fromMemory = diagram::readEncoded(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    QCOMPARE(int(fromMemory.failure), int(read.failure));
    QCOMPARE(diagram::boardText(fromMemory.board), diagram::boardText(read.board));
}

QTEST_GUILESS_MAIN(TestHostilePictures)
#include "tst_hostilepictures.moc"
