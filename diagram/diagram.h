#pragma once

// Reading a printed, numbered full-game diagram from a picture: a picture in, a board out.
// Knows nothing of widgets or of the record; the window and ranvel_read both call it.

#include "board/go.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace diagram {

using go::Stone;

struct Point {
    Stone stone = Stone::Empty;
    // The number printed on the stone, 1..999; 0 when none. A black stone without a number
    // is a handicap stone.
    int number = 0;
    // 0..1: how sure the reader is of the stone and its number together.
    float confidence = 1.0f;
    bool unsure = false;
    // A letter or sign printed on a stone instead of a number, that a note names ("73 at a"):
    // the stone of an earlier figure on whose point a move of this one was played. '^' is a
    // triangle, '#' a square, '*' a circle; 0 for none.
    char mark = 0;
};

// The signs printed on points, as `Point::mark` and the notes hold them; letters are held in
// lower case.
constexpr char triangleMark = '^', squareMark = '#', circleMark = '*';

struct Board {
    // x the column 1..19 from the left, y the row 1..19 from the top, as the cells are named.
    Point& at(int x, int y) { return points[std::size_t(go::pointOf(x, y))]; }
    const Point& at(int x, int y) const { return points[std::size_t(go::pointOf(x, y))]; }

    std::array<Point, go::Points> points;
    go::FirstPlayer firstPlayer = go::FirstPlayer::Black;
};

enum class Failure {
    None,
    NotAFile,     // a folder, a device, a pipe
    Unreadable,   // the file cannot be opened or read
    NotAPicture,  // no picture format at all
    UnreadFormat, // a picture in a format that is not read (GIF, HEIC...)
    Damaged,      // cut short, or its header contradicts itself
    TooLarge,
    TooSmall,
    TooThin,
    NoBoard,
    Turned,       // the numbers read no better one way up than another
    Cancelled,
    Fault,        // the reading itself failed: a fault of this program
};

// A move played where a stone already stands, as printed beside the diagram ("158 at 76").
struct Note {
    int move = 0;
    // The number on the stone whose point the move was played on; 0 when that stone shows no
    // number (a handicap stone), or when it could not be read.
    int at = 0;
    // Read badly, or at odds with the board: not to be used without a look.
    bool unsure = false;
    // The mark of the stone named instead of a number ("232 at a"); 0 when a number is named.
    char atMark = 0;
    // The move was a pass ("52 パス"): it names no place.
    bool pass = false;
};

struct Result {
    Failure failure = Failure::None;
    // One line for a person, in English, when the reading failed.
    std::string reason;
    // The file's picture format as it is commonly named ("PNG", "GIF"); empty when it has none.
    std::string format;
    // Pages in the file; only the first is read.
    int pages = 1;
    // The quarter turns (clockwise) and the mirroring that set the picture upright, found from
    // the numbers; the EXIF orientation, applied first, is not counted.
    int quarterTurns = 0;
    bool mirrored = false;
    Board board;
    // In the order printed.
    std::vector<Note> notes;
    // The moves a figure's caption names ("Figure 2 (101-200)"), when it was read; 0 otherwise.
    int captionFirst = 0;
    int captionLast = 0;
    // The lattice's lines go on past a side of the board even when moved out one line: every
    // point may be a line off, and every stone is in doubt.
    bool latticeInDoubt = false;
    // Stones and points in doubt before each number in doubt was weighed against all the
    // others: what tells one reading of a picture from another, which that weighing would blur.
    int stonesInDoubtAsRead = 0;
    int pointsInDoubtAsRead = 0;
};

// Set from another thread to end a reading early; the reading then fails as Cancelled.
using StopFlag = std::atomic<bool>;

// An encoded picture (PNG, JPEG, BMP, TIFF, WebP), told by its first bytes. Dimensions are
// checked before the pixels are decoded, so an absurd header costs nothing. Nothing a picture
// holds throws: every failure is a Result.
Result readEncoded(const std::vector<std::uint8_t>& bytes, const StopFlag* stop = nullptr);
Result readFile(const std::string& path, const StopFlag* stop = nullptr);
// Pixels already in memory: 8-bit rows of `stride` bytes, 1 (grey), 3 (BGR) or 4 (BGRA) channels.
Result readPixels(int width, int height, int stride, int channels, const std::uint8_t* data,
                  const StopFlag* stop = nullptr);

// The first player from the stones, and parity checks: every number whose colour contradicts it
// is marked unsure.
void settleFirstPlayer(Board& board);
// Whether two numbers differ by one digit changed, lost or added, as misreadings go.
bool oneDigitApart(int first, int second);

// After settleFirstPlayer: a number whose colour contradicts its parity takes the one number
// missing from the board with the right parity that lies one digit away, if there is exactly
// one; it stays unsure all the same, for the operator to confirm.
void mendMisreads(Board& board);

// 19 lines of 19 fields separated by single blanks: "." empty, the number, "B" for a handicap
// stone, or the stone's mark ("a", "^"), with "?" appended when unsure. Lines end with "\n".
std::string boardText(const Board& board);
// One line for each note, "158 at 76", "B" for a place without a number, the mark for a marked
// place ("158 at a", "158 at ^"), "158 pass" for a pass, "?" appended when unsure.
std::string notesText(const std::vector<Note>& notes);

} // namespace diagram
