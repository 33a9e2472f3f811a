#include "diagram/notes.h"

#include "diagram/glyphs.h"
#include "diagram/numbers.h"
#include "diagram/stones.h"
#include "diagram/straightening.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <string>

namespace diagram {
namespace {

// Tuning. Lengths are in board pitches unless they say otherwise.

// The circles are sought on a copy where a stone is about this many pixels across.
constexpr double searchPitch = 40.0;
constexpr std::size_t maxIcons = 150;
// The board's own stones reach this far past its edge lines: icons lie beyond.
constexpr double boardReach = 0.6;
// Off-board ink is first looked for on a copy where a pitch is this many pixels: words stay,
// specks and thin rings vanish.
constexpr double glancePitch = 8.0;
// Icons are round edges of about a stone's size, at least this far apart.
constexpr double leastIconGap = 0.7, leastIconRadius = 0.36, mostIconRadius = 0.58;
constexpr double iconEdgeStrength = 150, iconPerfectness = 0.8;
// A board's stone, found as an icon is, has about this radius; icons printed smaller are drawn
// up to the stone's size, as far as this, for the digits to stand as the network learned them.
constexpr double stoneRadius = 0.47, mostIconScale = 1.4;
// Drawn large, an icon's outline is a disc of about a stone's area, give or take this share,
// found within this far of where the circle was.
constexpr double discAreaSpread = 0.4;
constexpr double mostCentreShift = 0.2;
// In icons of a stone's size: icons within half a pitch of height stand on one line of notes;
// icons closer than this across touch, as a picture's stones do, and make no note; a gap wider
// than this parts the moves of a note from the stone they were played at. Notes printed small
// set the word "at" tighter still than their icons: the gap shrinks by the icons' scale to this
// power, which parts commas from "at" on every tuned picture.
constexpr double sameLine = 0.5;
constexpr double touching = 1.1;
constexpr double atGap = 1.65, atTightening = 1.5;

using Icon = NoteIcon;

// How much larger a board's stone is than the notes' icons, which some pages print smaller.
double iconScale(const std::vector<Icon>& icons)
{
    std::vector<double> radii;
    for (const Icon& i : icons) {
        if (i.radius > 0)
            radii.push_back(i.radius);
    }
    if (radii.empty())
        return 1.0;
    std::nth_element(radii.begin(), radii.begin() + long(radii.size() / 2), radii.end());
    return std::clamp(stoneRadius / radii[radii.size() / 2], 1.0, mostIconScale);
}

// Circles of a stone's size off the board, wherever the notes stand. On a small page the
// icons of one note touch those of the next, so the circles are sought by their round edges,
// not as pieces of ink. The page is flat: the board's own mapping places them, straightened,
// beyond its edges.
std::vector<Icon> findIcons(const Ink& ink, const Grid& grid)
{
    const auto boardOutline = [&](double scale, cv::Point2d origin) {
        std::vector<cv::Point> outline;
        const double near = 1 - boardReach, far = go::BoardSize + boardReach;
        for (const cv::Point2d corner : {cv::Point2d(near, near), {far, near}, {far, far}, {near, far}})
            outline.emplace_back((onPicture(grid, corner.x, corner.y) - origin) * scale);
        return outline;
    };
    // Only around the ink off the board, found on a very small copy: most of a page is blank
    // paper, and specks of noise vanish. So do the thin rings of white stones, but not the
    // words beside them.
    const double glance = std::min(1.0, glancePitch / grid.pitch);
    cv::Mat inked;
    cv::resize(ink.dark, inked, cv::Size(), glance, glance, cv::INTER_AREA);
    cv::fillConvexPoly(inked, boardOutline(glance, {}), 0);
    cv::threshold(inked, inked, 64, 255, cv::THRESH_BINARY);
    cv::morphologyEx(inked, inked, cv::MORPH_OPEN, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    std::vector<cv::Point> where;
    cv::findNonZero(inked, where);
    if (where.empty())
        return {};
    const cv::Rect seen = cv::boundingRect(where);
    const int margin = int(std::ceil(2 * grid.pitch));
    const cv::Rect area = cv::Rect(cv::Point(int(seen.x / glance) - margin, int(seen.y / glance) - margin),
                                   cv::Point(int(seen.br().x / glance) + margin, int(seen.br().y / glance) + margin))
                          & cv::Rect(0, 0, ink.even.cols, ink.even.rows);

    const double scale = searchPitch / grid.pitch;
    cv::Mat page;
    cv::resize(ink.even(area), page, cv::Size(), scale, scale, scale < 1 ? cv::INTER_AREA : cv::INTER_LINEAR);
    cv::fillConvexPoly(page, boardOutline(scale, area.tl()), 255);
    cv::GaussianBlur(page, page, cv::Size(3, 3), 0);
    std::vector<cv::Vec3f> circles;
    cv::HoughCircles(page, circles, cv::HOUGH_GRADIENT_ALT, 1.0, leastIconGap * searchPitch, iconEdgeStrength,
                     iconPerfectness, int(leastIconRadius * searchPitch), int(mostIconRadius * searchPitch));
    const cv::Matx33d back = grid.toPicture.inv();
    std::vector<Icon> icons;
    for (const cv::Vec3f& c : circles) {
        const cv::Point2d q = mapPoint(back, {area.x + c[0] / scale, area.y + c[1] / scale});
        if (q.x < 1 - boardReach || q.x > go::BoardSize + boardReach || q.y < 1 - boardReach
            || q.y > go::BoardSize + boardReach)
            icons.push_back({q, c[2] / searchPitch});
    }
    return icons;
}

// The icons drawn straight, each at a stone's place on a row of its own, for the board's own
// steps to tell their colour and cut out their digits.
class IconRow {
public:
    IconRow(const Ink& ink, const Grid& grid, const std::vector<Icon>& icons, double scale)
        : ink_(ink), grid_(grid), icons_(icons), scale_(scale)
    {
        row_.even = cv::Mat(2 * boardPitch, (2 * int(icons.size()) + 1) * boardPitch, CV_8U, cv::Scalar(255));
        draw();
    }

    // Icon k, from 1, stands at the board's point (2k, 1), with room for its outline, which
    // the notes draw a little larger than the board's line spacing.
    cv::Rect cell(int k) const { return {2 * k * boardPitch - reach, boardPitch - reach, 2 * reach, 2 * reach}; }

    // Anything that looked round but is neither stone is a letter or a mark.
    Stone colour(int k) const { return lookAt(row_, {cv::Point(2 * k * boardPitch, boardPitch)}, noteStone).front().stone; }

    // The icons stand on the row's lattice at every other point.
    const StraightBoard& sheet() const { return row_; }
    static StoneSpot spot(int k, Stone stone) { return {2 * k, 1, stone}; }

    // The circles were found on a small copy. Drawn large, the outline of a disc or a ring
    // places it to a pixel; returns how far the centre moved, in board pitches.
    cv::Point2d centred(int k) const
    {
        const double disc = M_PI * 0.25 * boardPitch * boardPitch;
        std::vector<std::vector<cv::Point>> outlines;
        cv::findContours(row_.strokes(cell(k)).clone(), outlines, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_SIMPLE);
        for (const auto& o : outlines) {
            const cv::Moments m = cv::moments(o);
            if (m.m00 < (1 - discAreaSpread) * disc || m.m00 > (1 + discAreaSpread) * disc)
                continue;
            const cv::Point2d off(m.m10 / m.m00 - reach, m.m01 / m.m00 - reach);
            if (std::hypot(off.x, off.y) < mostCentreShift * boardPitch)
                return off / double(boardPitch);
        }
        return {};
    }

    void draw()
    {
        for (int k = 1; k <= int(icons_.size()); ++k) {
            const cv::Point2d q = icons_[std::size_t(k - 1)].onBoard;
            const cv::Rect c = cell(k);
            const double step = 1.0 / (boardPitch * scale_);
            const cv::Matx33d toBoard(step, 0, q.x + (c.x - 2 * k * boardPitch) * step, 0, step,
                                      q.y + (c.y - boardPitch) * step, 0, 0, 1);
            cv::Mat into = row_.even(c);
            cv::warpPerspective(ink_.even, into, cv::Mat(grid_.toPicture * toBoard), c.size(),
                                cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT, 255);
        }
        cv::threshold(row_.even, row_.dark, 0, 255, cv::THRESH_BINARY_INV | cv::THRESH_OTSU);
        cv::Mat smooth;
        cv::GaussianBlur(row_.even, smooth, cv::Size(5, 5), 0);
        cv::adaptiveThreshold(smooth, row_.strokes, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV,
                              boardPitch / 2 + 1, 16);
        row_.strokes |= row_.dark;
    }

private:
    static constexpr int reach = 5 * boardPitch / 8;
    const Ink& ink_;
    const Grid& grid_;
    const std::vector<Icon>& icons_;
    const double scale_;
    StraightBoard row_;
};

// Colours and numbers of the icons in the row as it is drawn.
void readRow(const IconRow& row, const IconRow& digitRow, std::vector<Icon>& icons)
{
    std::vector<StoneSpot> spots;
    std::vector<std::size_t> which;
    for (int k = 1; k <= int(icons.size()); ++k) {
        Icon& icon = icons[std::size_t(k - 1)];
        icon.stone = row.colour(k);
        icon.number = 0;
        icon.mark = 0;
        icon.unsure = true;
        if (icon.stone == Stone::Empty)
            continue;
        spots.push_back(IconRow::spot(k, icon.stone));
        which.push_back(std::size_t(k - 1));
    }
    const std::vector<StoneNumber> numbers = readStoneNumbers(digitRow.sheet(), spots);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        Icon& icon = icons[which[i]];
        // An icon without ink is a place without a number, and is left unsure as before.
        if (!numbers[i].ink)
            continue;
        icon.number = numbers[i].number;
        icon.mark = numbers[i].mark;
        icon.unsure = numbers[i].unsure || (icon.number == 0 && icon.mark == 0);
    }
}

// Two readings that differ only where one saw a 0 and the other a 6 or an 8: the one sure of
// itself stands.
bool zeroOrSix(int a, int b)
{
    const std::string x = std::to_string(a), y = std::to_string(b);
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const std::string pair{std::min(x[i], y[i]), std::max(x[i], y[i])};
        if (x[i] != y[i] && pair != "06" && pair != "08")
            return false;
    }
    return true;
}

// Each icon is read twice, centred as found and centred on its own outline: a digit near the
// rim is lost from one cut and not the other, so a number is sure only where the readings agree
// or differ only in a 0 that one of them doubted. Icons are found on `ink`; on a screened page
// their digits are cut from `digits`, and both readings must be sure.
void readIcons(const Ink& ink, const Ink* digits, const Grid& grid, std::vector<Icon>& icons)
{
    const bool screened = digits != nullptr;
    const double scale = iconScale(icons);
    IconRow row(ink, grid, icons, scale);
    std::optional<IconRow> screenedRow;
    if (screened)
        screenedRow.emplace(*digits, grid, icons, scale);
    const IconRow& digitRow = screened ? *screenedRow : row;
    readRow(row, digitRow, icons);
    const std::vector<Icon> first = icons;
    for (int k = 1; k <= int(icons.size()); ++k)
        icons[std::size_t(k - 1)].onBoard += row.centred(k) / scale;
    row.draw();
    if (screenedRow)
        screenedRow->draw();
    readRow(row, digitRow, icons);
    for (std::size_t i = 0; i < icons.size(); ++i) {
        Icon& icon = icons[i];
        const Icon& before = first[i];
        if (icon.stone != before.stone || icon.mark != before.mark) {
            icon.unsure = true;
        } else if (icon.number == before.number) {
            icon.unsure = screened ? icon.unsure || before.unsure : icon.unsure && before.unsure;
        } else if (!zeroOrSix(icon.number, before.number) || icon.unsure == before.unsure) {
            icon.unsure = true;
        } else if (icon.unsure) {
            icon.number = before.number;
            icon.unsure = false;
        }
    }
}

// Lines of icons in reading order. On a line, the icon after "at" is the place and those
// before it the moves; "at" leaves a wider gap than the comma between two moves. Stones a line
// apart, as on a board, are another diagram, not notes.
std::vector<std::pair<std::vector<const Icon*>, const Icon*>> groups(const std::vector<Icon>& icons)
{
    std::vector<const Icon*> order;
    for (const Icon& i : icons) {
        if (i.stone != Stone::Empty)
            order.push_back(&i);
    }
    const double scale = iconScale(icons), lineGap = sameLine / scale, touchGap = touching / scale,
                 placeGap = atGap / std::pow(scale, atTightening);
    std::sort(order.begin(), order.end(), [](const Icon* a, const Icon* b) { return a->onBoard.y < b->onBoard.y; });
    std::vector<std::vector<const Icon*>> lines;
    for (const Icon* i : order) {
        if (lines.empty() || i->onBoard.y - lines.back().front()->onBoard.y > lineGap)
            lines.emplace_back();
        lines.back().push_back(i);
    }
    std::vector<std::pair<std::vector<const Icon*>, const Icon*>> found;
    for (auto& line : lines) {
        std::vector<const Icon*> moves;
        std::sort(line.begin(), line.end(), [](const Icon* a, const Icon* b) { return a->onBoard.x < b->onBoard.x; });
        const auto touch = std::adjacent_find(line.begin(), line.end(), [&](const Icon* a, const Icon* b) {
            return b->onBoard.x - a->onBoard.x < touchGap;
        });
        if (touch != line.end())
            continue;
        for (std::size_t k = 0; k < line.size(); ++k) {
            const bool afterAt = k > 0 && line[k]->onBoard.x - line[k - 1]->onBoard.x > placeGap && !moves.empty();
            if (!afterAt) {
                moves.push_back(line[k]);
                continue;
            }
            found.push_back({moves, line[k]});
            moves.clear();
        }
    }
    return found;
}

} // namespace

std::vector<NoteIcon> readNoteIcons(const Ink& ink, const Grid& grid, const Ink* digits)
{
    std::vector<Icon> icons = findIcons(ink, grid);
    // A page of a few dozen notes at most; more circles than that are something else, and
    // each costs two readings.
    if (icons.size() < 2 || icons.size() > maxIcons)
        return {};
    readIcons(ink, digits, grid, icons);
    return icons;
}

std::vector<Note> checkNotes(const std::vector<NoteIcon>& icons, const Board& board)
{
    std::map<int, const Point*> numbered;
    std::map<char, std::vector<const Point*>> marked;
    for (const Point& p : board.points) {
        if (p.number > 0)
            numbered[p.number] = &p;
        if (p.mark != 0)
            marked[p.mark].push_back(&p);
    }
    const auto found = groups(icons);
    // The moves printed only in the notes come after the highest number on the board, at most
    // one for each note.
    int last = numbered.empty() ? 0 : numbered.rbegin()->first;
    for (const auto& group : found)
        last += int(group.first.size());
    std::map<int, int> times;
    std::vector<Note> notes;
    for (const auto& [moves, place] : found) {
        // A place without a number is a handicap stone, black, or the stone marked alike on the
        // board; a ring without either is a letter of the text.
        if (place->number == 0 && place->mark == 0 && place->stone != Stone::Black)
            continue;
        const auto stone = numbered.find(place->number);
        const auto sign = marked.find(place->mark);
        const bool placeFits = !place->unsure
                               && (place->mark != 0 ? sign != marked.end() && sign->second.size() == 1
                                                          && sign->second[0]->stone == place->stone
                                                    : stone != numbered.end() && stone->second->stone == place->stone);
        for (const Icon* m : moves) {
            // A move on a taken point comes after the stone it replaces; two letters of a
            // caption read as the same digit do not.
            if (m->number == 0 || (place->number > 0 && m->number <= place->number))
                continue;
            Note note{m->number, place->number, m->unsure || !placeFits, place->mark};
            // The icon's colour must be its move's.
            note.unsure |= m->stone != go::colourOfMove(m->number, board.firstPlayer);
            note.unsure |= numbered.count(m->number) != 0 || (note.at == 0 && note.atMark == 0) || m->number > last;
            ++times[note.move];
            notes.push_back(note);
        }
    }
    for (Note& n : notes)
        n.unsure |= times[n.move] > 1;
    return notes;
}

void addTextNotes(std::vector<Note>& notes, const std::vector<TextNote>& read, const Board& board)
{
    std::map<int, const Point*> numbered;
    bool noNumber = false;
    std::map<char, int> marks;
    for (const Point& p : board.points) {
        if (p.number > 0)
            numbered[p.number] = &p;
        noNumber |= p.stone == Stone::Black && p.number == 0 && p.mark == 0;
        if (p.mark)
            ++marks[p.mark];
    }
    std::vector<Note> fromText;
    for (const TextNote& t : read) {
        Note n{t.move, 0, t.unsure, 0};
        switch (t.place) {
        case TextNote::Place::Stone:
            n.at = t.at;
            n.unsure |= numbered.count(t.at) == 0 || t.move <= t.at;
            break;
        case TextNote::Place::Mark:
            n.atMark = t.mark;
            // A letter printed on two points names neither.
            n.unsure |= marks[t.mark] != 1;
            break;
        case TextNote::Place::NoNumber:
            n.unsure |= !noNumber;
            break;
        case TextNote::Place::Pass:
            n.pass = true;
            break;
        case TextNote::Place::Untold:
            continue;
        }
        fromText.push_back(n);
    }
    // As for the icons: the moves printed only in the notes come after the highest number on
    // the board, at most one for each note.
    const int last = (numbered.empty() ? 0 : numbered.rbegin()->first) + int(fromText.size() + notes.size());
    std::map<int, int> times;
    for (const Note& n : fromText)
        ++times[n.move];
    for (Note& n : fromText) {
        n.unsure |= numbered.count(n.move) != 0 || n.move > last || times[n.move] > 1;
        const auto twin = std::find_if(notes.begin(), notes.end(), [&](const Note& i) { return i.move == n.move; });
        if (twin == notes.end()) {
            notes.push_back(n);
        } else if (twin->at == n.at && twin->atMark == n.atMark && twin->pass == n.pass) {
            twin->unsure = twin->unsure && n.unsure;
        } else {
            twin->unsure = true;
            n.unsure = true;
            notes.push_back(n);
        }
    }
}

} // namespace diagram
