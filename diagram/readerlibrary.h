#pragma once

// The picture reader as the window uses it: built into a module of its own, with OpenCV and all
// that brings, and loaded when the first picture is read, so that a start that reads none maps
// none of it.

#include "diagram/diagram.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace diagram {

// A reading, and the board as it was straightened: one grey channel, a point every `pitch`
// pixels; null where no board was found.
struct StraightReading {
    Result result;
    QImage straight;
    int pitch = 0;
};

// As readFile, readEncoded and readPixels. When the module cannot be loaded, the reading fails
// with Failure::Fault and says why.
StraightReading readFileStraight(const std::string& path, const StopFlag* stop);
StraightReading readEncodedStraight(const std::vector<std::uint8_t>& bytes, const StopFlag* stop);
StraightReading readPixelsStraight(int width, int height, int stride, int channels, const std::uint8_t* data,
                                   const StopFlag* stop);

// What the module hands over; its one exported function is named readerEntriesName.
struct ReaderEntries {
    StraightReading (*readFile)(const std::string& path, const StopFlag* stop);
    StraightReading (*readEncoded)(const std::vector<std::uint8_t>& bytes, const StopFlag* stop);
    StraightReading (*readPixels)(int width, int height, int stride, int channels, const std::uint8_t* data,
                                  const StopFlag* stop);
};
using ReaderEntriesFunction = const ReaderEntries* (*)();
constexpr const char* readerEntriesName = "ranvelReaderEntries";

} // namespace diagram
