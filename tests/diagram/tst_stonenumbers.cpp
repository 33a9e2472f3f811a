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
    // Signs printed on points instead of numbers, outlined as books draw them.
    const int r = int(0.26 * pitch);
    if (text == "^" || text == "^^") {
        const std::vector<cv::Point> corners{centre + cv::Point(0, -r), centre + cv::Point(-r, 2 * r / 3),
                                             centre + cv::Point(r, 2 * r / 3)};
        if (text == "^")
            cv::polylines(grey, corners, true, ink, 3, cv::LINE_AA);
        else
            cv::fillConvexPoly(grey, corners, ink, cv::LINE_AA);
    } else if (text == "#") {
        cv::rectangle(grey, centre - cv::Point(r * 4 / 5, r * 4 / 5), centre + cv::Point(r * 4 / 5, r * 4 / 5), ink, 3);
    } else if (text == "*") {
        cv::circle(grey, centre, r * 4 / 5, ink, 3, cv::LINE_AA);
    } else if (!text.isEmpty()) {
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
    QTest::addColumn<char>("mark"); // the label read instead of a number
    using diagram::Stone;
    QTest::newRow("white 7") << Stone::White << "7" << int(cv::FONT_HERSHEY_SIMPLEX) << false << 7 << false << char(0);
    QTest::newRow("black 4") << Stone::Black << "4" << int(cv::FONT_HERSHEY_DUPLEX) << false << 4 << false << char(0);
    QTest::newRow("white 58") << Stone::White << "58" << int(cv::FONT_HERSHEY_DUPLEX) << false << 58 << false << char(0);
    QTest::newRow("black 90") << Stone::Black << "90" << int(cv::FONT_HERSHEY_SIMPLEX) << false << 90 << false << char(0);
    QTest::newRow("white 146") << Stone::White << "146" << int(cv::FONT_HERSHEY_SIMPLEX) << false << 146 << false << char(0);
    // Three digits of stroke faces the network never saw, a serif 5 among them: read, and sure.
    QTest::newRow("black 203") << Stone::Black << "203" << int(cv::FONT_HERSHEY_DUPLEX) << false << 203 << false << char(0);
    QTest::newRow("white 385 serif") << Stone::White << "385" << int(cv::FONT_HERSHEY_COMPLEX) << false << 385 << false << char(0);
    QTest::newRow("black without ink: handicap") << Stone::Black << "" << 0 << false << 0 << false << char(0);
    QTest::newRow("white without ink: in doubt") << Stone::White << "" << 0 << false << 0 << true << char(0);
    // Ink that is no number is never read as a confident handicap stone.
    QTest::newRow("black with a cross") << Stone::Black << "" << 0 << true << -1 << true << char(0);
    QTest::newRow("white with a cross") << Stone::White << "" << 0 << true << -1 << true << char(0);
    // Letters and signs on points are labels that notes name ("61 at a"), never numbers: an
    // "a" is near an 8, a "b" near a 6, a triangle was read as 23.
    const int plain = cv::FONT_HERSHEY_SIMPLEX, serif = cv::FONT_HERSHEY_COMPLEX;
    QTest::newRow("white a") << Stone::White << "a" << plain << false << 0 << false << 'a';
    QTest::newRow("black b") << Stone::Black << "b" << plain << false << 0 << false << 'b';
    QTest::newRow("black A") << Stone::Black << "A" << serif << false << 0 << false << 'a';
    // A letter read in doubt leaves whatever number was read in doubt too.
    QTest::newRow("white c serif") << Stone::White << "c" << serif << false << -1 << true << char(0);
    QTest::newRow("white triangle") << Stone::White << "^" << 0 << false << 0 << false << '^';
    QTest::newRow("white filled triangle") << Stone::White << "^^" << 0 << false << 0 << false << '^';
    QTest::newRow("black triangle") << Stone::Black << "^" << 0 << false << 0 << false << '^';
    QTest::newRow("white square") << Stone::White << "#" << 0 << false << 0 << false << '#';
    QTest::newRow("black circle") << Stone::Black << "*" << 0 << false << 0 << false << '*';
    // Digits alike to those letters stay numbers.
    QTest::newRow("white 8") << Stone::White << "8" << plain << false << 8 << false << char(0);
    QTest::newRow("black 6") << Stone::Black << "6" << plain << false << 6 << false << char(0);
    QTest::newRow("white 0 alone is no circle") << Stone::White << "0" << plain << false << -1 << true << char(0);
}

void TestStoneNumbers::readsStone()
{
    QFETCH(diagram::Stone, stone);
    QFETCH(QString, text);
    QFETCH(int, face);
    QFETCH(bool, scribble);
    QFETCH(int, number);
    const diagram::StraightBoard sheet = sheetWith(stone, text, face, scribble);
    const std::vector<diagram::StoneNumber> read = diagram::readStoneNumbers(sheet, {{10, 10, stone}});
    QCOMPARE(read.size(), std::size_t(1));
    QCOMPARE(read[0].ink, !text.isEmpty() || scribble);
    if (number >= 0)
        QCOMPARE(read[0].number, number);
    QTEST(read[0].unsure, "unsure");
    QTEST(read[0].mark, "mark");
}

QTEST_GUILESS_MAIN(TestStoneNumbers)
#include "tst_stonenumbers.moc"
