#include "diagram/boardink.h"
#include "diagram/edges.h"
#include "diagram/grid.h"
#include "diagram/lighting.h"
#include "diagram/notes.h"
#include "diagram/orientation.h"
#include "diagram/picture.h"
#include "diagram/pictureheader.h"
#include "diagram/stonecentres.h"
#include "diagram/stones.h"
#include "diagram/straightening.h"

#include <opencv2/imgproc.hpp>

#include "support/hostilepictures.h"

#include <QtTest>

#include <cmath>
#include <random>

// The reader's stages one by one, on boards drawn here under a known mapping.
class TestStages : public QObject {
    Q_OBJECT
private slots:
    void findsLattice_data();
    void findsLattice();
    void latticeOneLineIn_data();
    void latticeOneLineIn();
    void looksAtStone_data();
    void looksAtStone();
    void readsHeader_data();
    void readsHeader();
    void tellsWayUp_data();
    void tellsWayUp();
    void checksNotes_data();
    void checksNotes();
};

Q_DECLARE_METATYPE(diagram::Stone)

namespace {

// Board coordinates (1..19) to the picture: a turn about the centre, a pitch, and a
// perspective that shrinks the far rows.
cv::Matx33d mapping(double pitch, double degrees, double tilt, cv::Point2d at)
{
    const double a = degrees * M_PI / 180;
    const cv::Matx33d centre(1, 0, -10, 0, 1, -10, 0, 0, 1);
    const cv::Matx33d turn(pitch * std::cos(a), -pitch * std::sin(a), 0, pitch * std::sin(a), pitch * std::cos(a), 0, 0, 0, 1);
    const cv::Matx33d far(1, 0, 0, 0, 1, 0, 0, tilt / pitch, 1);
    const cv::Matx33d place(1, 0, at.x, 0, 1, at.y, 0, 0, 1);
    return place * far * turn * centre;
}

// A game's worth of stones, the same for every row: about half the points, in clusters, as a
// finished game leaves them.
std::vector<std::pair<cv::Point, bool>> stonesOfAGame()
{
    std::mt19937 random(7);
    std::vector<std::pair<cv::Point, bool>> stones;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            if (random() % 100 < 55)
                stones.push_back({{x, y}, (x + 2 * y) % 5 < 2 || random() % 3 == 0});
        }
    }
    return stones;
}

cv::Mat drawBoard(const cv::Matx33d& h, cv::Size size, int paper, int board, bool darkSurround, bool coordinates)
{
    cv::Mat grey(size, CV_8U, cv::Scalar(darkSurround ? 40 : paper));
    const auto at = [&](double x, double y) {
        const cv::Point2d p = diagram::mapPoint(h, {x, y});
        return cv::Point(int(std::lround(p.x * 16)), int(std::lround(p.y * 16)));
    };
    const double pitch = cv::norm(diagram::mapPoint(h, {11, 10}) - diagram::mapPoint(h, {10, 10}));
    if (darkSurround) {
        const std::vector<cv::Point> page{at(-3, -5), at(23, -5), at(23, 26), at(-3, 26)};
        cv::fillConvexPoly(grey, page, paper, cv::LINE_AA, 4);
    }
    // A coloured board runs on past its lines, under the coordinates, with the grain of wood.
    const double edge = board < paper ? -1.2 : 0.2;
    const std::vector<cv::Point> wood{at(edge, edge), at(20 - edge, edge), at(20 - edge, 20 - edge), at(edge, 20 - edge)};
    cv::Mat area(size, CV_8U, cv::Scalar(0));
    cv::fillConvexPoly(area, wood, 255, cv::LINE_AA, 4);
    cv::Mat grain(size, CV_8U);
    for (int y = 0; y < size.height; ++y)
        grain.row(y).setTo(cv::saturate_cast<std::uint8_t>(board + 30 * std::sin(y * 0.7) * std::sin(y * 0.05)));
    grain.copyTo(grey, area);
    const int line = std::max(1, int(pitch / 20));
    for (int k = 1; k <= 19; ++k) {
        cv::line(grey, at(k, 1), at(k, 19), 0, line, cv::LINE_AA, 4);
        cv::line(grey, at(1, k), at(19, k), 0, line, cv::LINE_AA, 4);
        if (coordinates) {
            const cv::Point2d c = diagram::mapPoint(h, {0.0, double(k)});
            cv::putText(grey, std::to_string(20 - k), cv::Point(c) - cv::Point(int(pitch * 0.6), -int(pitch * 0.2)),
                        cv::FONT_HERSHEY_SIMPLEX, pitch / 45, 0, 1, cv::LINE_AA);
        }
    }
    for (const auto& [p, black] : stonesOfAGame()) {
        const int r = int(0.47 * pitch * 16);
        cv::circle(grey, at(p.x, p.y), r, black ? 0 : 255, cv::FILLED, cv::LINE_AA, 4);
        cv::circle(grey, at(p.x, p.y), r, 0, line, cv::LINE_AA, 4);
    }
    return grey;
}

} // namespace

void TestStages::findsLattice_data()
{
    QTest::addColumn<double>("pitch");
    QTest::addColumn<double>("degrees");
    QTest::addColumn<double>("tilt");
    QTest::addColumn<int>("board");
    QTest::addColumn<bool>("darkSurround");
    QTest::addColumn<bool>("coordinates");
    QTest::addColumn<bool>("stages"); // each stage checked on its own too, at the working pitch
    QTest::newRow("straight on paper") << 40.0 << 0.0 << 0.0 << 255 << false << false << false;
    QTest::newRow("turned 10 degrees") << 36.0 << 10.0 << 0.0 << 255 << false << false << false;
    QTest::newRow("turned back 7 degrees, coordinates") << 30.0 << -7.0 << 0.0 << 255 << false << true << false;
    QTest::newRow("in perspective on a dark table") << 34.0 << 3.0 << 0.012 << 255 << true << false << false;
    QTest::newRow("wooden board, coordinates") << 28.0 << 0.0 << 0.0 << 200 << false << true << false;
    QTest::newRow("small stones of a screenshot") << 20.0 << 0.0 << 0.0 << 255 << false << true << false;
    QTest::newRow("wooden board photographed steeply") << 30.0 << 4.0 << 0.03 << 200 << true << false << false;
    QTest::newRow("each stage: straight on paper") << 24.0 << 0.0 << 0.0 << 255 << false << false << true;
    QTest::newRow("each stage: turned 8 degrees") << 24.0 << 8.0 << 0.0 << 255 << false << false << true;
    QTest::newRow("each stage: in perspective") << 24.0 << 2.0 << 0.015 << 255 << false << false << true;
    QTest::newRow("each stage: wooden board") << 24.0 << 0.0 << 0.0 << 200 << false << false << true;
}

// The lattice found maps every point of the board within a tenth of a pitch of where it was
// drawn, whatever surrounds the board. At the working pitch the three stages of finding it are
// checked first, each on its own: the board's ink is the board's and no more, at least half the
// stones are found, once each, and the lattice fitted to their centres, a tenth of them
// displaced, maps every point within a tenth of a pitch.
void TestStages::findsLattice()
{
    QFETCH(double, pitch);
    QFETCH(double, degrees);
    QFETCH(double, tilt);
    QFETCH(int, board);
    QFETCH(bool, darkSurround);
    QFETCH(bool, coordinates);
    QFETCH(bool, stages);
    const int side = int(26 * pitch);
    const cv::Matx33d h = mapping(pitch, degrees, tilt, {side / 2.0, side / 2.0});
    const cv::Mat grey = drawBoard(h, {side, side}, 250, board, darkSurround, coordinates);
    const diagram::Ink ink = diagram::separateInk(grey);
    if (stages) {
        const std::optional<diagram::BoardInk> found = diagram::findBoardInk(ink);
        QVERIFY(found);
        const cv::Rect wide(cv::Point(0, 0), grey.size());
        for (const cv::Point2d p : {cv::Point2d(1, 1), {19, 1}, {1, 19}, {19, 19}})
            QVERIFY(cv::Rect2d(found->box).contains(diagram::mapPoint(h, p)));
        QVERIFY(found->box.width < 23 * pitch && found->box.height < 23 * pitch);
        QVERIFY(found->box != wide);

        diagram::Stones stones = diagram::findStones(found->ink, pitch);
        diagram::findCircles(grey(found->box), pitch, stones.centres);
        const std::vector<cv::Point2d> once = diagram::distinct(stones.centres, pitch);
        const std::size_t drawn = stonesOfAGame().size();
        QVERIFY2(once.size() >= drawn / 2 && once.size() <= drawn, qPrintable(QString::number(once.size())));

        std::vector<cv::Point2d> picture, lattice;
        int k = 0;
        for (const auto& [point, black] : stonesOfAGame()) {
            Q_UNUSED(black);
            cv::Point2d at = diagram::mapPoint(h, cv::Point2d(point));
            if (++k % 10 == 0)
                at += cv::Point2d(0.6 * pitch, 0.4 * pitch);
            picture.push_back(at);
            lattice.emplace_back(point);
        }
        cv::Matx33d fitted;
        QVERIFY(diagram::fitLattice(picture, lattice, fitted, 0.25 * pitch));
        for (const cv::Point2d p : {cv::Point2d(1, 1), {19, 1}, {1, 19}, {19, 19}, {10, 10}})
            QVERIFY(cv::norm(diagram::mapPoint(fitted, p) - diagram::mapPoint(h, p)) < 0.1 * pitch);
        QVERIFY(!diagram::fitLattice({picture.begin(), picture.begin() + 5}, {lattice.begin(), lattice.begin() + 5}, fitted,
                                     0.25 * pitch));
    }
    std::string reason;
    const auto grid = diagram::locateGrid(ink, reason);
    QVERIFY2(grid.has_value(), reason.c_str());
    for (const cv::Point2d p : {cv::Point2d(1, 1), {19, 1}, {1, 19}, {19, 19}, {10, 10}, {4, 16}}) {
        const double off = cv::norm(diagram::onPicture(*grid, p.x, p.y) - diagram::mapPoint(h, p));
        QVERIFY2(off < 0.1 * pitch, qPrintable(QStringLiteral("(%1, %2) is %3 px from where it was drawn").arg(p.x).arg(p.y).arg(off)));
    }
}

void TestStages::latticeOneLineIn_data()
{
    QTest::addColumn<int>("dx"); // lines the lattice is fitted off the board's own
    QTest::addColumn<int>("dy");
    QTest::addColumn<bool>("coordinates");
    QTest::addColumn<unsigned>("sides"); // the sides its lines are seen to go on past
    using namespace diagram;
    QTest::newRow("fitted right") << 0 << 0 << true << 0u;
    QTest::newRow("one row in from the top") << 0 << 1 << true << unsigned(Top);
    QTest::newRow("coordinates taken for the first column") << -1 << 0 << true << unsigned(Right);
    QTest::newRow("one column in from the left") << 1 << 0 << false << unsigned(Left);
    QTest::newRow("one line in from the bottom and the right") << -1 << -1 << true << unsigned(Bottom | Right);
}

// A lattice one line in from a side sees the lines go on past it, and moved out over that
// side it is the board's own again.
void TestStages::latticeOneLineIn()
{
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(bool, coordinates);
    QFETCH(unsigned, sides);
    const double pitch = 32;
    const int side = int(26 * pitch);
    const cv::Matx33d h = mapping(pitch, 0, 0, {side / 2.0, side / 2.0});
    const diagram::Ink ink = diagram::separateInk(drawBoard(h, {side, side}, 250, 255, false, coordinates));
    diagram::Grid grid;
    grid.pitch = pitch;
    grid.toPicture = h * cv::Matx33d(1, 0, dx, 0, 1, dy, 0, 0, 1);
    const diagram::StraightBoard straight = diagram::straighten(ink, grid);
    QCOMPARE(diagram::sidesGoingOn(straight, diagram::classifyStones(straight)), sides);
    const diagram::Grid moved = diagram::movedOut(grid, sides);
    QVERIFY(cv::norm(diagram::onPicture(moved, 1, 1) - diagram::mapPoint(h, {1, 1})) < 0.1 * pitch);
}

void TestStages::looksAtStone_data()
{
    QTest::addColumn<QString>("drawn");
    QTest::addColumn<int>("board");
    QTest::addColumn<int>("noise");
    QTest::addColumn<diagram::Stone>("stone");
    using diagram::Stone;
    QTest::newRow("black disc") << "black" << 255 << 0 << Stone::Black;
    QTest::newRow("white ring") << "white" << 255 << 0 << Stone::White;
    QTest::newRow("white ring, grainy") << "white" << 255 << 40 << Stone::White;
    QTest::newRow("white disc on wood, no outline") << "bare white" << 190 << 0 << Stone::White;
    QTest::newRow("empty crossing") << "" << 255 << 0 << Stone::Empty;
    QTest::newRow("empty crossing, grainy") << "" << 255 << 40 << Stone::Empty;
    QTest::newRow("empty crossing on wood") << "" << 190 << 0 << Stone::Empty;
    QTest::newRow("empty between four black stones") << "between black" << 255 << 0 << Stone::Empty;
    QTest::newRow("empty between four white stones, grainy") << "between white" << 255 << 40 << Stone::Empty;
}

void TestStages::looksAtStone()
{
    QFETCH(QString, drawn);
    QFETCH(int, board);
    QFETCH(int, noise);
    constexpr int p = diagram::boardPitch;
    cv::Mat grey(20 * p, 20 * p, CV_8U, cv::Scalar(board));
    for (int i = 1; i <= 19; ++i) {
        cv::line(grey, {i * p, p}, {i * p, 19 * p}, 0, 2);
        cv::line(grey, {p, i * p}, {19 * p, i * p}, 0, 2);
    }
    const auto put = [&](cv::Point c, bool black, bool outline) {
        cv::circle(grey, c, int(0.48 * p), black ? 0 : 252, cv::FILLED, cv::LINE_AA);
        if (outline)
            cv::circle(grey, c, int(0.48 * p), 0, 2, cv::LINE_AA);
    };
    const cv::Point centre(10 * p, 10 * p);
    if (drawn == "black" || drawn == "white" || drawn == "bare white")
        put(centre, drawn == "black", drawn != "bare white");
    if (drawn.startsWith("between")) {
        for (const cv::Point d : {cv::Point(p, 0), {-p, 0}, {0, p}, {0, -p}})
            put(centre + d, drawn.endsWith("black"), true);
    }
    if (noise > 0) {
        cv::Mat grain(grey.size(), CV_16S);
        cv::randn(grain, 0, noise);
        cv::Mat sum;
        grey.convertTo(sum, CV_16S);
        sum += grain;
        sum.convertTo(grey, CV_8U);
    }
    diagram::Grid grid;
    grid.toPicture = cv::Matx33d(p, 0, 0, 0, p, 0, 0, 0, 1);
    grid.pitch = p;
    const diagram::StraightBoard sheet = diagram::straighten(diagram::separateInk(grey), grid);
    QTEST(diagram::lookAt(sheet, {centre}, diagram::boardStone).front().stone, "stone");
}

QTEST_GUILESS_MAIN(TestStages)
// What a picture's first bytes say, before a pixel is decoded: the format whatever the name, the
// size, the pages, the EXIF turn, and a header cut short or lying.
void TestStages::readsHeader_data()
{
    using namespace hostile;
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("broken");
    QTest::addColumn<bool>("truncated");
    QImage page(37, 19, QImage::Format_Grayscale8);
    page.fill(200);
    const QByteArray png = encoded(page, "PNG");
    const int P = int(diagram::Format::Png), J = int(diagram::Format::Jpeg);
    QTest::newRow("PNG") << png << P << QSize(37, 19) << 1 << 1 << false << false;
    QTest::newRow("PNG cut after its header") << png.left(40) << P << QSize(37, 19) << 1 << 1 << false << true;
    QTest::newRow("PNG cut inside its header") << png.left(20) << P << QSize(0, 0) << 1 << 1 << true << false;
    QTest::newRow("JPEG") << encoded(page, "JPG", 90) << J << QSize(37, 19) << 1 << 1 << false << false;
    QTest::newRow("JPEG stored turned, with its EXIF tag") << jpegTurnedByExif(page) << J << QSize(19, 37) << 1 << 6
                                                           << false << false;
    QTest::newRow("BMP") << encoded(page.convertToFormat(QImage::Format_RGB888), "BMP") << int(diagram::Format::Bmp)
                         << QSize(37, 19) << 1 << 1 << false << false;
    QTest::newRow("TIFF of two pages") << tiffPages({page, page}) << int(diagram::Format::Tiff) << QSize(37, 19) << 2 << 1
                                       << false << false;
    QTest::newRow("GIF") << QByteArray("GIF89a\x25\x00\x13\x00\x00\x00\x00", 13) << int(diagram::Format::Other)
                         << QSize(37, 19) << 1 << 1 << false << false;
    QTest::newRow("text") << QByteArray("152 at 67\n") << int(diagram::Format::Unknown) << QSize(0, 0) << 1 << 1 << false
                          << false;
}

void TestStages::readsHeader()
{
    QFETCH(QByteArray, bytes);
    const diagram::PictureHeader h
        = diagram::readPictureHeader(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    QTEST(int(h.format), "format");
    if (h.format != diagram::Format::Unknown) {
        QTEST(QSize(int(h.width), int(h.height)), "size");
        QTEST(h.pages, "pages");
        QTEST(h.orientation, "orientation");
    }
    QTEST(h.broken, "broken");
    QTEST(h.truncated, "truncated");
}

#include "tst_stages.moc"

void TestStages::tellsWayUp_data()
{
    QTest::addColumn<int>("quarterTurns"); // clockwise, after the mirroring
    QTest::addColumn<bool>("mirrored");
    QTest::newRow("a quarter turn") << 1 << false;
    QTest::newRow("three quarter turns") << 3 << false;
    QTest::newRow("mirrored") << 0 << true;
    QTest::newRow("mirrored, a quarter turn") << 1 << true;
    QTest::newRow("mirrored, upside down") << 2 << true;
}

// A web board's screenshot, turned and mirrored: the way its numbers read best is the way back.
void TestStages::tellsWayUp()
{
    QFETCH(int, quarterTurns);
    QFETCH(bool, mirrored);
    const diagram::Picture page = diagram::loadPicture(RANVEL_TEST_DATA "/corpus/wgo_640_simple_white.png");
    QVERIFY2(!page.grey.empty(), page.reason.c_str());
    const cv::Mat shown = diagram::turned(page.grey, {quarterTurns, mirrored});
    const diagram::Ink ink = diagram::separateInk(shown);
    std::string reason;
    const std::optional<diagram::Grid> grid = diagram::locateGrid(ink, reason);
    QVERIFY2(grid, reason.c_str());
    const diagram::StraightBoard straight = diagram::straighten(ink, *grid);
    const std::optional<diagram::Orientation> way = diagram::bestOrientation(straight, diagram::classifyStones(straight), nullptr);
    QVERIFY(way);
    const cv::Mat back = diagram::turned(shown, *way);
    QCOMPARE(back.size(), page.grey.size());
    QCOMPARE(cv::countNonZero(back != page.grey), 0);
}

void TestStages::checksNotes_data()
{
    // Lines of icons under the board: a number or a letter, then its colour ("b", "w"), "?"
    // when read in doubt; a comma's gap between icons, a wider one before the place after "at".
    QTest::addColumn<QStringList>("lines");
    // The notes, "?" for one in doubt, ";" between them.
    QTest::addColumn<QString>("notes");
    QTest::newRow("a move at a stone") << QStringList{"152w at 67b"} << "152 at 67";
    QTest::newRow("two moves at one stone") << QStringList{"152w 153b at 134w"} << "152 at 134;153 at 134";
    QTest::newRow("at a marked stone") << QStringList{"152w at aw"} << "152 at a";
    QTest::newRow("two lines") << QStringList{"152w at 67b", "153b at 134w"} << "152 at 67;153 at 134";
    QTest::newRow("the icon of the other colour") << QStringList{"153w at 67b"} << "153 at 67?";
    QTest::newRow("a move the board shows") << QStringList{"151b at 67b"} << "151 at 67?";
    QTest::newRow("a place the board does not show") << QStringList{"152w at 99b"} << "152 at 99?";
    QTest::newRow("a place of the other colour") << QStringList{"152w at 67w"} << "152 at 67?";
    QTest::newRow("a place read in doubt") << QStringList{"152w at 67b?"} << "152 at 67?";
    QTest::newRow("a move read in doubt") << QStringList{"152w? at 67b"} << "152 at 67?";
    QTest::newRow("a move before its place is no note") << QStringList{"60w at 67b"} << "";
    QTest::newRow("the same move twice") << QStringList{"152w at 67b", "152w at 134w"} << "152 at 67?;152 at 134?";
    QTest::newRow("past the last move there can be") << QStringList{"160w at 67b"} << "160 at 67?";
    QTest::newRow("a place with no number, white, is text") << QStringList{"152w at 0w"} << "";
}

// The notes' icons checked against the board: 67 black, 134 and "a" white, 151 the highest.
void TestStages::checksNotes()
{
    QFETCH(QStringList, lines);
    diagram::Board board;
    const auto put = [&](int x, int y, diagram::Stone stone, int number, char mark) {
        diagram::Point& p = board.at(x, y);
        p.stone = stone;
        p.number = number;
        p.mark = mark;
    };
    put(3, 3, diagram::Stone::Black, 67, 0);
    put(4, 4, diagram::Stone::White, 134, 0);
    put(5, 5, diagram::Stone::White, 0, 'a');
    put(6, 6, diagram::Stone::Black, 151, 0);
    std::vector<diagram::NoteIcon> icons;
    double y = 21;
    for (const QString& line : lines) {
        double x = 1;
        bool afterAt = false;
        for (QString word : line.split(' ')) {
            if (word == "at") {
                afterAt = true;
                continue;
            }
            diagram::NoteIcon icon;
            icon.unsure = word.endsWith('?');
            word.remove('?');
            icon.stone = word.endsWith('b') ? diagram::Stone::Black : diagram::Stone::White;
            word.chop(1);
            if (word.front().isLetter())
                icon.mark = char(word.front().toLatin1());
            else
                icon.number = word.toInt();
            x += afterAt ? 2.2 : 1.4;
            afterAt = false;
            icon.onBoard = {x, y};
            icons.push_back(icon);
        }
        y += 1.1;
    }
    QStringList got;
    for (const diagram::Note& n : diagram::checkNotes(icons, board))
        got << QString("%1 at %2%3").arg(n.move).arg(n.atMark ? QString(QChar(n.atMark)) : QString::number(n.at), n.unsure ? "?" : "");
    QTEST(got.join(';'), "notes");
}
