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

namespace {

// Under the sanitizers a page reads several times slower: of the pages read whole, only those
// that take a path of their own through the decoding and one turned page are read there.
bool readUnderSanitizers(const char* name)
{
#if defined(__SANITIZE_ADDRESS__)
    const QByteArray n(name);
    return !n.startsWith("page ") || n == "page turned 90 degrees";
#else
    Q_UNUSED(name);
    return true;
#endif
}

} // namespace

void TestHostilePictures::readsOrRefuses_data()
{
    QTest::addColumn<int>("index");
    const QList<hostile::Case> cases = hostile::cases();
    for (int i = 0; i < cases.size(); ++i) {
        if (readUnderSanitizers(cases[i].name))
            QTest::newRow(cases[i].name) << i;
    }
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
        int differ = 0;
        for (std::size_t i = 0; i < read.board.points.size(); ++i)
            differ += read.board.points[i].number != reference.board.points[i].number
                      || read.board.points[i].stone != reference.board.points[i].stone;
        QVERIFY2(differ <= c.leeway, qPrintable(QString::fromStdString(diagram::boardText(read.board))));
        // Only the numbers can tell a page turned by hand; the EXIF tag is read before them.
        const bool turnedByHand = QByteArray(QTest::currentDataTag()).startsWith("page ");
        QCOMPARE(read.quarterTurns != 0 || read.mirrored, turnedByHand);
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
