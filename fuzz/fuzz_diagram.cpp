// Picture reading over any bytes: truncated and damaged pictures, random files, headers that
// claim enormous dimensions. Nothing may crash or hang, and a reading that succeeds gives a
// whole board.
//
// Input: the bytes of a file, read as an encoded picture, and the same bytes as raw pixels of
// a small grey picture whose width the first byte gives.

#include "diagram/diagram.h"
#include "fuzzcheck.h"

#include <string>
#include <vector>

namespace {

void checkBoard(const diagram::Result& result)
{
    if (result.failure != diagram::Failure::None) {
        FUZZ_CHECK(!result.reason.empty());
        return;
    }
    const std::string text = diagram::boardText(result.board);
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    FUZZ_CHECK(lines == 19);
    FUZZ_CHECK(result.board.firstPlayer == 0 || result.board.firstPlayer == 1);
    for (const diagram::Point& p : result.board.points)
        FUZZ_CHECK(p.number >= 0 && p.number <= 999);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const std::vector<std::uint8_t> bytes(data, data + size);
    checkBoard(diagram::readEncoded(bytes));
    if (size > 1) {
        const int width = 1 + data[0] % 128;
        const int height = int((size - 1) / std::size_t(width));
        if (height > 0)
            checkBoard(diagram::readPixels(width, height, width, 1, data + 1));
    }
    return 0;
}
