#include "diagram/pagetext.h"

#include "diagram/tesseract.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <memory>

namespace diagram {
namespace {

// capi.h declares its enumerations in Tesseract's namespace when it is read as C++.
using tesseract::PSM_SINGLE_BLOCK;
using tesseract::RIL_SYMBOL;
using tesseract::RIL_TEXTLINE;
using tesseract::RIL_WORD;

// Tuning. Lengths are in board pitches unless they say otherwise.

// The page is drawn straight, over the board's own mapping, at this many pixels a pitch:
// printed text is about 0.4 of a pitch high, and Tesseract reads best at 20 to 30 px.
constexpr double textPitch = 64.0;
// The lines are found on a small copy, this many pixels a pitch, where the ink of a stroke
// shrunk into a pixel still leaves this much grey.
constexpr double glancePitch = 16.0;
constexpr int leastInk = 40;
// How far past the board's edge lines the page is looked at.
constexpr double pageReach = 14.0;
// The board's stones reach this far past its edge lines; the coordinates beside it this far.
constexpr double boardReach = 0.62, coordinateReach = 1.75;
// The words of a line are joined across gaps up to this; lines are this high.
constexpr double wordGap = 1.0;
// Lines are at most this high: a caption may be printed as large as a stone (sgf2dg's is),
// once the stone icons of notes are taken out.
constexpr double leastLineHeight = 0.14, mostLineHeight = 1.4, leastLineWidth = 0.3;
// A note's stone icon covers this radius about its centre.
constexpr double iconReach = 0.55;
// Lines nearest the board are read first: a page's commentary can run on for a column.
constexpr std::size_t mostLines = 14;

using Api = std::unique_ptr<TessBaseAPI, decltype(&TessBaseAPIDelete)>;

// Loading the language data costs more than reading a page: the notes' thread keeps one
// engine for its whole life.
TessBaseAPI* engine(const Tesseract& tess)
{
    thread_local Api api(nullptr, tess.destroy);
    thread_local bool failed = false;
    if (api || failed)
        return api.get();
    // Without the Japanese data, the English alone still reads notes printed with "at".
    TessBaseAPI* made = newEngine(tess, "eng+jpn");
    if (!made)
        made = newEngine(tess, "eng");
    if (!made) {
        failed = true;
        return nullptr;
    }
    tess.setPageSegMode(made, PSM_SINGLE_BLOCK);
    api.reset(made);
    return api.get();
}

struct Straight {
    cv::Mat ink; // 255 where there is ink
    cv::Point2d origin; // board coordinates of the top left pixel
};

// The page about the board, drawn flat and small, to find its lines: a photo's perspective
// holds for the page's plane.
Straight glanceAtPage(const Ink& ink, const Grid& grid)
{
    const cv::Matx33d back = grid.toPicture.inv();
    double left = 1, top = 1, right = go::BoardSize, bottom = go::BoardSize;
    const cv::Size size = ink.dark.size();
    for (const cv::Point2d corner : {cv::Point2d(0, 0), {double(size.width), 0}, {0, double(size.height)},
                                     {double(size.width), double(size.height)}}) {
        const cv::Point2d q = mapPoint(back, corner);
        if (!std::isfinite(q.x) || !std::isfinite(q.y))
            continue;
        left = std::min(left, q.x);
        right = std::max(right, q.x);
        top = std::min(top, q.y);
        bottom = std::max(bottom, q.y);
    }
    left = std::max(left, 1 - pageReach);
    top = std::max(top, 1 - pageReach);
    right = std::min(right, go::BoardSize + pageReach);
    bottom = std::min(bottom, go::BoardSize + pageReach);
    // Shrunk first by area, so that thin strokes leave their grey behind.
    const double shrink = std::min(1.0, glancePitch / grid.pitch);
    cv::Mat small;
    cv::resize(ink.dark, small, cv::Size(), shrink, shrink, cv::INTER_AREA);
    const cv::Matx33d toSmall(shrink, 0, 0, 0, shrink, 0, 0, 0, 1);
    Straight s;
    s.origin = {left, top};
    const cv::Matx33d toBoard(1 / glancePitch, 0, left, 0, 1 / glancePitch, top, 0, 0, 1);
    const cv::Size out(int((right - left) * glancePitch), int((bottom - top) * glancePitch));
    cv::warpPerspective(small, s.ink, cv::Mat(toSmall * grid.toPicture * toBoard), out,
                        cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT, 0);
    cv::threshold(s.ink, s.ink, leastInk, 255, cv::THRESH_BINARY);
    return s;
}

cv::Rect boardArea(const Straight& s, double reachX, double reachY)
{
    const auto px = [&](double x, double origin) { return int((x - origin) * glancePitch); };
    return {cv::Point(px(1 - reachX, s.origin.x), px(1 - reachY, s.origin.y)),
            cv::Point(px(go::BoardSize + reachX, s.origin.x), px(go::BoardSize + reachY, s.origin.y))};
}

// The boxes of the lines of text off the board, in board coordinates, in reading order.
std::vector<cv::Rect2d> lineBoxes(const Straight& s, const std::vector<cv::Point2d>& icons)
{
    cv::Mat ink = s.ink.clone();
    const cv::Rect all(0, 0, ink.cols, ink.rows);
    for (const cv::Point2d& c : icons)
        cv::circle(ink, cv::Point(int((c.x - s.origin.x) * glancePitch), int((c.y - s.origin.y) * glancePitch)),
                   int(std::ceil(iconReach * glancePitch)), 0, cv::FILLED);
    ink(boardArea(s, boardReach, boardReach) & all) = 0;
    // The coordinates beside the board stand one to a row; above and below they make one line,
    // which the grammar leaves out.
    const cv::Rect board = boardArea(s, boardReach, boardReach);
    const cv::Rect sides = boardArea(s, coordinateReach, boardReach);
    ink(cv::Rect(sides.tl(), cv::Point(board.x, sides.br().y)) & all) = 0;
    ink(cv::Rect(cv::Point(board.br().x, sides.y), sides.br()) & all) = 0;
    cv::Mat joined;
    cv::dilate(ink, joined, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(int(wordGap * glancePitch), 1)));
    cv::Mat labels, stats, centres;
    const int count = cv::connectedComponentsWithStats(joined, labels, stats, centres, 8, CV_32S);
    std::vector<cv::Rect> boxes;
    for (int i = 1; i < count; ++i) {
        const cv::Rect r(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                         stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
        if (r.height < leastLineHeight * glancePitch || r.height > mostLineHeight * glancePitch
            || r.width < leastLineWidth * glancePitch)
            continue;
        boxes.push_back(r);
    }
    const auto distance = [&](const cv::Rect& r) {
        const int dx = std::max({board.x - r.br().x, r.x - board.br().x, 0});
        const int dy = std::max({board.y - r.br().y, r.y - board.br().y, 0});
        return std::hypot(dx, dy);
    };
    std::sort(boxes.begin(), boxes.end(), [&](const cv::Rect& a, const cv::Rect& b) { return distance(a) < distance(b); });
    if (boxes.size() > mostLines)
        boxes.resize(mostLines);
    std::sort(boxes.begin(), boxes.end(), [](const cv::Rect& a, const cv::Rect& b) {
        return a.y + a.height / 2 < b.y || (a.y <= b.y + b.height / 2 && a.x < b.x);
    });
    std::vector<cv::Rect2d> onBoard;
    for (const cv::Rect& r : boxes) {
        const double pad = 1.0 / glancePitch;
        onBoard.emplace_back(s.origin.x + r.x / glancePitch - pad, s.origin.y + r.y / glancePitch - pad,
                             r.width / glancePitch + 2 * pad, r.height / glancePitch + 2 * pad);
    }
    return onBoard;
}

// The lines drawn large and flat, stacked one under another, so that Tesseract reads them all
// in one call, in order.
cv::Mat stacked(const Ink& ink, const Grid& grid, const std::vector<cv::Rect2d>& boxes)
{
    const int pad = int(0.25 * textPitch);
    int width = 0, height = pad;
    for (const cv::Rect2d& r : boxes) {
        width = std::max(width, int(r.width * textPitch) + 2 * pad);
        height += int(r.height * textPitch) + pad;
    }
    cv::Mat sheet(height, width, CV_8U, cv::Scalar(255));
    int y = pad;
    for (const cv::Rect2d& r : boxes) {
        const cv::Rect into(pad, y, int(r.width * textPitch), int(r.height * textPitch));
        const cv::Matx33d toBoard(1 / textPitch, 0, r.x, 0, 1 / textPitch, r.y, 0, 0, 1);
        cv::Mat line = sheet(into);
        cv::warpPerspective(ink.even, line, cv::Mat(grid.toPicture * toBoard), into.size(),
                            cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT, 255);
        y += into.height + pad;
    }
    return sheet;
}

std::vector<TextLine> recognise(const cv::Mat& sheet)
{
    std::vector<TextLine> lines;
    const Tesseract* tess = tesseract();
    TessBaseAPI* api = tess ? engine(*tess) : nullptr;
    if (!api)
        return lines;
    tess->setImage(api, sheet.data, sheet.cols, sheet.rows, 1, int(sheet.step));
    if (tess->recognize(api, nullptr) != 0)
        return lines;
    TessResultIterator* it = tess->iterator(api);
    if (!it)
        return lines;
    const TessPageIterator* page = tess->pageIterator(it);
    do {
        char* text = tess->iteratorText(it, RIL_SYMBOL);
        if (!text)
            continue;
        if (lines.empty() || tess->atBeginningOf(page, RIL_TEXTLINE))
            lines.emplace_back();
        const float sure = std::clamp(tess->confidence(it, RIL_SYMBOL) / 100.0f, 0.0f, 1.0f);
        TextLine symbol = textLine(text, sure);
        tess->deleteText(text);
        TextLine& line = lines.back();
        if (!line.text.empty() && tess->atBeginningOf(page, RIL_WORD)) {
            line.text += U' ';
            line.sureness.push_back(1.0f);
        }
        line.text += symbol.text;
        line.sureness.insert(line.sureness.end(), symbol.sureness.begin(), symbol.sureness.end());
    } while (tess->next(it, RIL_SYMBOL));
    tess->deleteIterator(it);
    tess->clear(api);
    return lines;
}

} // namespace

std::vector<TextLine> readPageText(const Ink& ink, const Grid& grid, const std::vector<cv::Point2d>& icons)
{
    const Straight page = glanceAtPage(ink, grid);
    if (page.ink.empty())
        return {};
    const std::vector<cv::Rect2d> boxes = lineBoxes(page, icons);
    if (boxes.empty())
        return {};
    return recognise(stacked(ink, grid, boxes));
}

} // namespace diagram
