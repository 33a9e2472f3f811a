#pragma once

// The grey of a JPEG as it stores it: the luma channel, decoded alone. Grey rebuilt from the
// decoded colours is the same except where a colour was clipped at black or white, which in a
// photo or scan of a printed page happens around every dark number.

#include <opencv2/core.hpp>

#include <cstddef>
#include <cstdint>

namespace diagram {

struct JpegLuma {
    // The JPEG stores grey or luma and chroma; false for CMYK and other colour spaces.
    bool stored = false;
    // Empty when the data could not be decoded.
    cv::Mat grey;
};

JpegLuma jpegLuma(const std::uint8_t* data, std::size_t size);

} // namespace diagram
