// The one entry of the reader's module.

#include "diagram/readerlibrary.h"
#include "diagram/seen.h"
#include "diagram/straightening.h"

namespace diagram {
namespace {

// What the window keeps of a reading: the straightened board alone, not the copies of a page.
Seen straightOnly()
{
    Seen seen;
    seen.straightOnly = true;
    return seen;
}

StraightReading withStraight(Result result, const Seen& seen)
{
    StraightReading out;
    out.result = std::move(result);
    out.pitch = boardPitch;
    const cv::Mat& grey = seen.straight;
    if (!grey.empty() && grey.type() == CV_8UC1)
        out.straight = QImage(grey.data, grey.cols, grey.rows, int(grey.step), QImage::Format_Grayscale8).copy();
    return out;
}

StraightReading fileStraight(const std::string& path, const StopFlag* stop)
{
    Seen seen = straightOnly();
    Result result = readFileSeen(path, seen, stop);
    return withStraight(std::move(result), seen);
}

StraightReading encodedStraight(const std::vector<std::uint8_t>& bytes, const StopFlag* stop)
{
    Seen seen = straightOnly();
    Result result = readEncodedSeen(bytes, seen, stop);
    return withStraight(std::move(result), seen);
}

StraightReading pixelsStraight(int width, int height, int stride, int channels, const std::uint8_t* data,
                               const StopFlag* stop)
{
    Seen seen = straightOnly();
    Result result = readPixelsSeen(width, height, stride, channels, data, seen, stop);
    return withStraight(std::move(result), seen);
}

} // namespace
} // namespace diagram

extern "C" Q_DECL_EXPORT const diagram::ReaderEntries* ranvelReaderEntries()
{
    static const diagram::ReaderEntries entries{diagram::fileStraight, diagram::encodedStraight, diagram::pixelsStraight};
    return &entries;
}
