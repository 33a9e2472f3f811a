#include "diagram/grid.h"
#include "diagram/lighting.h"
#include "diagram/numbers.h"
#include "diagram/straightening.h"

#include <opencv2/imgproc.hpp>

#include <QtTest>

// The stage that reads the stones' numbers, on stones drawn straight onto a sheet in OpenCV's
// own stroke typefaces, which the network never saw.
class TestStoneNumbers : public QObject {
    Q_OBJECT
private slots:
    void readsStone_data();
    void readsStone();
};

Q_DECLARE_METATYPE(diagram::Stone)

namespace {

constexpr int pitch = diagram::boardPitch;

// A 19 x 19 sheet with one stone in the middle, and what is printed on it.
diagram::StraightBoard sheetWith(diagram::Stone stone, const QString& text, int face, bool scribble)
{
    cv::Mat grey(20 * pitch, 20 * pitch, CV_8U, cv::Scalar(255));
    for (int i = 1; i <= 19; ++i) {
        cv::line(grey, {i * pitch, pitch}, {i * pitch, 19 * pitch}, 0, 2);
        cv::line(grey, {pitch, i * pitch}, {19 * pitch, i * pitch}, 0, 2);
    }
    const cv::Point centre(10 * pitch, 10 * pitch);
    const bool black = stone == diagram::Stone::Black;
    cv::circle(grey, centre, int(0.46 * pitch), black ? 0 : 255, cv::FILLED, cv::LINE_AA);
    cv::circle(grey, centre, int(0.46 * pitch), 0, 2, cv::LINE_AA);
    const int ink = black ? 255 : 0;
    if (!text.isEmpty()) {
        const std::string s = text.toStdString();
        int base = 0;
        const double scale = s.size() == 3 ? 0.62 : 0.8;
        const int thickness = 2;
        const cv::Size size = cv::getTextSize(s, face, scale, thickness, &base);
        cv::putText(grey, s, centre + cv::Point(-size.width / 2, size.height / 2), face, scale, ink, thickness,
                    cv::LINE_AA);
    }
    if (scribble) {
        cv::line(grey, centre + cv::Point(-14, -10), centre + cv::Point(12, 12), ink, 3, cv::LINE_AA);
        cv::line(grey, centre + cv::Point(-14, 12), centre + cv::Point(12, -10), ink, 3, cv::LINE_AA);
    }
    const diagram::Ink separated = diagram::separateInk(grey);
    diagram::Grid grid;
    grid.toPicture = cv::Matx33d(pitch, 0, 0, 0, pitch, 0, 0, 0, 1);
    grid.pitch = pitch;
    return diagram::straighten(separated, grid);
}

} // namespace

void TestStoneNumbers::readsStone_data()
{
    QTest::addColumn<diagram::Stone>("stone");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("face");
    QTest::addColumn<bool>("scribble");
    QTest::addColumn<int>("number"); // what must be read
    QTest::addColumn<bool>("unsure");
    using diagram::Stone;
    QTest::newRow("white 7") << Stone::White << "7" << int(cv::FONT_HERSHEY_SIMPLEX) << false << 7 << false;
    QTest::newRow("black 4") << Stone::Black << "4" << int(cv::FONT_HERSHEY_DUPLEX) << false << 4 << false;
    QTest::newRow("white 58") << Stone::White << "58" << int(cv::FONT_HERSHEY_DUPLEX) << false << 58 << false;
    QTest::newRow("black 90") << Stone::Black << "90" << int(cv::FONT_HERSHEY_SIMPLEX) << false << 90 << false;
    QTest::newRow("white 146") << Stone::White << "146" << int(cv::FONT_HERSHEY_SIMPLEX) << false << 146 << false;
    // Three digits of a stroke face: read, and left in doubt for a look; the serif face's 5 is
    // as near a 6 as the reading gets, and only the doubt is held to.
    QTest::newRow("black 203") << Stone::Black << "203" << int(cv::FONT_HERSHEY_DUPLEX) << false << 203 << true;
    QTest::newRow("white 385 serif") << Stone::White << "385" << int(cv::FONT_HERSHEY_COMPLEX) << false << -1 << true;
    QTest::newRow("black without ink: handicap") << Stone::Black << "" << 0 << false << 0 << false;
    QTest::newRow("white without ink: in doubt") << Stone::White << "" << 0 << false << 0 << true;
    // Ink that is no number is never read as a confident handicap stone.
    QTest::newRow("black with a cross") << Stone::Black << "" << 0 << true << -1 << true;
    QTest::newRow("white with a cross") << Stone::White << "" << 0 << true << -1 << true;
}

void TestStoneNumbers::readsStone()
{
    QFETCH(diagram::Stone, stone);
    QFETCH(QString, text);
    QFETCH(int, face);
    QFETCH(bool, scribble);
    QFETCH(int, number);
    QFETCH(bool, unsure);
    const diagram::StraightBoard sheet = sheetWith(stone, text, face, scribble);
    const std::vector<diagram::StoneNumber> read = diagram::readStoneNumbers(sheet, {{10, 10, stone}});
    QCOMPARE(read.size(), std::size_t(1));
    QCOMPARE(read[0].ink, !text.isEmpty() || scribble);
    if (number >= 0)
        QCOMPARE(read[0].number, number);
    QCOMPARE(read[0].unsure, unsure);
}

QTEST_GUILESS_MAIN(TestStoneNumbers)
#include "tst_stonenumbers.moc"
