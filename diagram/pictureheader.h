#pragma once

// What an encoded picture says of itself before a pixel is decoded: its format, told by its
// first bytes and never by a file name, its size, its pages and its EXIF turn. A decoder fed
// an absurd header can take gigabytes or assert; this is read first, so it never is.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace diagram {

enum class Format {
    Unknown, // no picture format at all
    Png,
    Jpeg,
    Bmp,
    Tiff,
    WebP,
    Other, // a picture format that is not read: GIF, HEIC, HDR, DICOM...
};

struct PictureHeader {
    Format format = Format::Unknown;
    // The format's common name, for a refusal: "GIF", "HEIC".
    std::string name;
    long long width = 0;
    long long height = 0;
    // Pages (TIFF directories, frames); only the first is read.
    int pages = 1;
    // The EXIF orientation, 1 (as stored) to 8.
    int orientation = 1;
    // The header itself is cut short or contradicts itself.
    bool broken = false;
    // The data ends before the format's end mark: decoders fill the rest with grey.
    bool truncated = false;
};

// Random access to the bytes of a file or a buffer: copies up to n bytes from offset into
// out and returns how many there were.
using ReadAt = std::function<std::size_t(std::uint64_t offset, std::uint8_t* out, std::size_t n)>;

PictureHeader readPictureHeader(const ReadAt& read, std::uint64_t size);
PictureHeader readPictureHeader(const std::uint8_t* data, std::size_t size);

} // namespace diagram
