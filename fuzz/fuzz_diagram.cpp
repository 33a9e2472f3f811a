// Picture reading over any bytes: truncated and damaged pictures, random files, headers that
// claim enormous dimensions or formats that are not read. Nothing may crash or hang, a refusal
// gives its reason, and a reading that succeeds gives a board a broken reader could not: each
// number at most once, each stone's colour fitting its number's parity, and no number where
// no stone stands, unless the point is marked for a look.
//
// Input: the bytes of a file, read as an encoded picture, and the same bytes as the raw pixels
// of a small grey picture, enlarged to the size of a page's board.

#include "diagram/diagram.h"
#include "fuzzcheck.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

bool blackByParity(int number, int firstPlayer)
{
    return number % 2 + firstPlayer == 1;
}

void checkBoard(const diagram::Result& result)
{
    if (result.failure != diagram::Failure::None) {
        FUZZ_CHECK(!result.reason.empty());
        return;
    }
    const int first = int(result.board.firstPlayer);
    std::set<int> sure;
    for (const diagram::Point& p : result.board.points) {
        FUZZ_CHECK(p.number >= 0 && p.number <= 999);
        if (p.unsure || p.number == 0)
            continue;
        FUZZ_CHECK(p.stone != diagram::Stone::Empty);
        FUZZ_CHECK((p.stone == diagram::Stone::Black) == blackByParity(p.number, first));
        FUZZ_CHECK(sure.insert(p.number).second);
    }
    for (const diagram::Note& n : result.notes)
        FUZZ_CHECK(n.move >= 1 && n.move <= 999 && n.at >= 0 && n.at <= 999);
}

// The input as a grey picture of `width` columns, each pixel repeated `scale` times both ways.
std::vector<std::uint8_t> enlarged(const unsigned char* data, std::size_t size, int width, int height, int scale)
{
    std::vector<std::uint8_t> out(std::size_t(width * scale) * std::size_t(height * scale));
    for (int y = 0; y < height * scale; ++y) {
        for (int x = 0; x < width * scale; ++x)
            out[std::size_t(y) * std::size_t(width * scale) + std::size_t(x)] = data[std::size_t((y / scale) * width + x / scale) % size];
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const std::vector<std::uint8_t> bytes(data, data + size);
    checkBoard(diagram::readEncoded(bytes));
    if (size > 2) {
        const int width = 24 + data[0] % 40;
        const int height = std::max(1, int((size - 2) / std::size_t(width)));
        // Pictures below the smallest read are refused before the reader sees them.
        const int scale = std::min(12, std::max(1, (130 + std::min(width, height) - 1) / std::min(width, height)));
        const std::vector<std::uint8_t> pixels = enlarged(data + 2, size - 2, width, height, scale);
        checkBoard(diagram::readPixels(width * scale, height * scale, width * scale, 1, pixels.data()));
    }
    return 0;
}
