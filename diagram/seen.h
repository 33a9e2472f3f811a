#pragma once

// What each stage of one reading saw, kept on request so that a bad reading of someone's
// picture can be understood from the pictures alone.

#include "diagram/diagram.h"

#include <opencv2/core.hpp>

#include <string>
#include <utility>
#include <vector>

namespace diagram {

struct Seen {
    cv::Mat grey;     // the picture, upright, one channel
    cv::Mat ink;      // 255 where the reader took ink
    cv::Mat faint;    // the ink that holds the lines together
    cv::Mat lattice;  // the picture in colour with the board's lines found drawn over it
    cv::Mat straight; // the board drawn square, a point every boardPitch pixels
    // Each stone as it was cut from the straightened board, named by its point and reading.
    std::vector<std::pair<std::string, cv::Mat>> crops;
    // Keep the straightened board alone: what a window shows beside the board it read costs
    // no copies of a large page.
    bool straightOnly = false;
};

// As readFile, keeping what each stage saw in `seen`; a reading turned upright keeps the
// stages of the turned picture.
Result readFileSeen(const std::string& path, Seen& seen);
// As readFile, readEncoded and readPixels, keeping in `seen` what it asks for. `seen` keeps
// its straightOnly; the rest is set afresh.
Result readFileSeen(const std::string& path, Seen& seen, const StopFlag* stop);
Result readEncodedSeen(const std::vector<std::uint8_t>& bytes, Seen& seen, const StopFlag* stop = nullptr);
Result readPixelsSeen(int width, int height, int stride, int channels, const std::uint8_t* data, Seen& seen,
                      const StopFlag* stop = nullptr);

// Writes the pictures of `seen` into the folder `dir`, which must exist; false when a file
// could not be written.
bool writeSeen(const Seen& seen, const std::string& dir);

} // namespace diagram
