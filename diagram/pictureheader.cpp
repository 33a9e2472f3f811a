#include "diagram/pictureheader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>

namespace diagram {
namespace {

// Bounds on walks through a header, so that a crafted file cannot loop or run long.
constexpr int mostChunks = 4096;
constexpr int mostPages = 1000;
// Where a JPEG's end mark is sought: some cameras append their own data after it.
constexpr std::size_t jpegTailSearched = 4096;

class Bytes {
public:
    Bytes(const ReadAt& read, std::uint64_t size)
        : read_(read)
        , size_(size)
    {
    }

    std::uint64_t size() const { return size_; }
    bool has(std::uint64_t offset, std::uint64_t n) const { return offset <= size_ && n <= size_ - offset; }

    std::string text(std::uint64_t offset, std::size_t n) const
    {
        std::string s(n, '\0');
        if (!has(offset, n) || read_(offset, reinterpret_cast<std::uint8_t*>(s.data()), n) != n)
            return {};
        return s;
    }
    unsigned u8(std::uint64_t offset) const
    {
        std::uint8_t b = 0;
        return has(offset, 1) && read_(offset, &b, 1) == 1 ? b : 0;
    }
    unsigned u16(std::uint64_t offset, bool bigEndian) const
    {
        const unsigned a = u8(offset), b = u8(offset + 1);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    }
    std::uint32_t u24le(std::uint64_t offset) const
    {
        return std::uint32_t(u8(offset)) | std::uint32_t(u8(offset + 1)) << 8 | std::uint32_t(u8(offset + 2)) << 16;
    }
    std::uint32_t u32(std::uint64_t offset, bool bigEndian) const
    {
        const std::uint32_t hi = u16(offset, bigEndian), lo = u16(offset + 2, bigEndian);
        return bigEndian ? (hi << 16 | lo) : (lo << 16 | hi);
    }

private:
    const ReadAt& read_;
    std::uint64_t size_;
};

bool startsWith(const Bytes& b, std::uint64_t offset, const char* magic, std::size_t n)
{
    return b.text(offset, n) == std::string(magic, n);
}

PictureHeader other(const char* name, long long width = 0, long long height = 0)
{
    PictureHeader h;
    h.format = Format::Other;
    h.name = name;
    h.width = width;
    h.height = height;
    return h;
}

// A TIFF directory, as TIFF files and EXIF blocks hold them.
struct TiffStart {
    std::uint64_t base = 0; // offsets count from here
    bool bigEndian = false;
};

std::optional<TiffStart> tiffStart(const Bytes& b, std::uint64_t base)
{
    const std::string order = b.text(base, 2);
    if (order != "II" && order != "MM")
        return std::nullopt;
    TiffStart t{base, order == "MM"};
    if (b.u16(base + 2, t.bigEndian) != 42)
        return std::nullopt;
    return t;
}

// An entry's value when it is one SHORT or LONG, stored in the entry itself.
std::optional<std::uint32_t> entryValue(const Bytes& b, const TiffStart& t, std::uint64_t entry)
{
    const unsigned type = b.u16(entry + 2, t.bigEndian);
    if (type == 3)
        return b.u16(entry + 8, t.bigEndian);
    if (type == 4)
        return b.u32(entry + 8, t.bigEndian);
    return std::nullopt;
}

struct Directory {
    std::uint32_t width = 0, height = 0, orientation = 1;
    std::uint32_t next = 0;
    bool read = false;
};

Directory directoryAt(const Bytes& b, const TiffStart& t, std::uint32_t offset)
{
    Directory d;
    const std::uint64_t at = t.base + offset;
    const unsigned count = b.u16(at, t.bigEndian);
    if (count == 0 || !b.has(at + 2, std::uint64_t(count) * 12 + 4))
        return d;
    for (unsigned i = 0; i < count; ++i) {
        const std::uint64_t entry = at + 2 + std::uint64_t(i) * 12;
        const unsigned tag = b.u16(entry, t.bigEndian);
        const auto value = entryValue(b, t, entry);
        if (!value)
            continue;
        if (tag == 256)
            d.width = *value;
        else if (tag == 257)
            d.height = *value;
        else if (tag == 274)
            d.orientation = *value;
    }
    d.next = b.u32(at + 2 + std::uint64_t(count) * 12, t.bigEndian);
    d.read = true;
    return d;
}

int validOrientation(std::uint32_t o)
{
    return o >= 1 && o <= 8 ? int(o) : 1;
}

int exifOrientation(const Bytes& b, std::uint64_t base)
{
    const auto t = tiffStart(b, base);
    if (!t)
        return 1;
    const Directory d = directoryAt(b, *t, b.u32(base + 4, t->bigEndian));
    return d.read ? validOrientation(d.orientation) : 1;
}

PictureHeader png(const Bytes& b)
{
    PictureHeader h;
    h.format = Format::Png;
    h.name = "PNG";
    // A header cut inside its size is damaged, not a picture of no pixels.
    if (b.text(12, 4) != "IHDR" || !b.has(16, 8)) {
        h.broken = true;
        return h;
    }
    h.width = b.u32(16, true);
    h.height = b.u32(20, true);
    std::uint64_t at = 8;
    for (int i = 0; i < mostChunks && b.has(at, 12); ++i) {
        const std::uint32_t length = b.u32(at, true);
        const std::string type = b.text(at + 4, 4);
        if (type == "IDAT" || type == "IEND")
            break;
        if (type == "eXIf")
            h.orientation = exifOrientation(b, at + 8);
        else if (type == "acTL")
            h.pages = int(std::clamp<std::uint32_t>(b.u32(at + 8, true), 1, mostPages));
        at += 12 + std::uint64_t(length);
    }
    h.truncated = b.size() < 12 || b.text(b.size() - 8, 4) != "IEND";
    return h;
}

bool isStartOfFrame(unsigned marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

PictureHeader jpeg(const Bytes& b)
{
    PictureHeader h;
    h.format = Format::Jpeg;
    h.name = "JPEG";
    bool frame = false;
    std::uint64_t at = 2;
    for (int i = 0; i < mostChunks && b.has(at, 2); ++i) {
        if (b.u8(at) != 0xFF)
            break;
        const unsigned marker = b.u8(at + 1);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)
            break;
        const unsigned length = b.u16(at + 2, true);
        if (length < 2)
            break;
        if (marker == 0xE1 && b.text(at + 4, 6) == std::string("Exif\0\0", 6))
            h.orientation = exifOrientation(b, at + 10);
        if (isStartOfFrame(marker) && !frame) {
            h.height = b.u16(at + 5, true);
            h.width = b.u16(at + 7, true);
            frame = true;
        }
        at += 2 + length;
    }
    h.broken = !frame;
    const std::size_t tail = std::size_t(std::min<std::uint64_t>(b.size(), jpegTailSearched));
    const std::string end = b.text(b.size() - tail, tail);
    h.truncated = end.find("\xFF\xD9") == std::string::npos;
    return h;
}

PictureHeader bmp(const Bytes& b)
{
    PictureHeader h;
    h.format = Format::Bmp;
    h.name = "BMP";
    const std::uint32_t pixels = b.u32(10, false);
    const std::uint32_t info = b.u32(14, false);
    long long bits = 0;
    std::uint32_t compression = 0;
    if (info == 12) {
        h.width = b.u16(18, false);
        h.height = b.u16(20, false);
        bits = b.u16(24, false);
    } else if (info >= 40 && b.has(14, info)) {
        h.width = std::int32_t(b.u32(18, false));
        h.height = std::int32_t(b.u32(22, false));
        bits = b.u16(28, false);
        compression = b.u32(30, false);
        // Rows stored top to bottom are counted negative.
        if (h.height < 0)
            h.height = -h.height;
    } else {
        h.broken = true;
        return h;
    }
    if (h.width <= 0 || h.height <= 0 || bits == 0) {
        h.broken = true;
        return h;
    }
    // Uncompressed rows have a known length; the data must hold them all.
    const bool plain = compression == 0 || compression == 3 || compression == 6;
    if (plain && h.width < (1LL << 31)) {
        const long long row = (h.width * bits + 31) / 32 * 4;
        h.truncated = !b.has(pixels, std::uint64_t(row) * std::uint64_t(h.height));
    }
    return h;
}

PictureHeader tiff(const Bytes& b)
{
    PictureHeader h;
    h.format = Format::Tiff;
    h.name = "TIFF";
    const auto t = tiffStart(b, 0);
    if (!t) {
        h.broken = true;
        return h;
    }
    std::uint32_t offset = b.u32(4, t->bigEndian);
    std::set<std::uint32_t> seen;
    int pages = 0;
    while (offset != 0 && pages < mostPages && seen.insert(offset).second) {
        const Directory d = directoryAt(b, *t, offset);
        if (!d.read)
            break;
        if (pages == 0) {
            h.width = d.width;
            h.height = d.height;
            h.orientation = validOrientation(d.orientation);
        }
        ++pages;
        offset = d.next;
    }
    h.pages = std::max(1, pages);
    h.broken = pages == 0 || h.width <= 0 || h.height <= 0;
    return h;
}

PictureHeader webp(const Bytes& b)
{
    PictureHeader h;
    h.format = Format::WebP;
    h.name = "WebP";
    h.truncated = !b.has(0, std::uint64_t(b.u32(4, false)) + 8);
    const std::string chunk = b.text(12, 4);
    const std::uint64_t data = 20;
    if (chunk == "VP8 " && b.text(data + 3, 3) == "\x9d\x01\x2a") {
        h.width = b.u16(data + 6, false) & 0x3fff;
        h.height = b.u16(data + 8, false) & 0x3fff;
    } else if (chunk == "VP8L" && b.u8(data) == 0x2f) {
        const std::uint32_t bits = b.u32(data + 1, false);
        h.width = (bits & 0x3fff) + 1;
        h.height = (bits >> 14 & 0x3fff) + 1;
    } else if (chunk == "VP8X") {
        // The decoder reads a still picture only.
        if (b.u8(data) & 0x02)
            return other("animated WebP");
        h.width = b.u24le(data + 4) + 1LL;
        h.height = b.u24le(data + 7) + 1LL;
        std::uint64_t at = 12;
        for (int i = 0; i < mostChunks && b.has(at, 8); ++i) {
            const std::uint32_t length = b.u32(at + 4, false);
            if (b.text(at, 4) == "EXIF") {
                const bool prefixed = b.text(at + 8, 6) == std::string("Exif\0\0", 6);
                h.orientation = exifOrientation(b, at + 8 + (prefixed ? 6 : 0));
                break;
            }
            at += 8 + std::uint64_t(length) + (length & 1);
        }
    } else {
        h.broken = true;
    }
    return h;
}

bool isHeif(const std::string& brand)
{
    static const std::set<std::string> brands{"heic", "heix", "hevc", "heim", "heis", "hevm", "hevs", "mif1", "msf1"};
    return brands.count(brand) > 0;
}

// Picture formats that are recognised only to be refused by name.
PictureHeader otherFormat(const Bytes& b)
{
    const std::string head = b.text(0, std::size_t(std::min<std::uint64_t>(b.size(), 16)));
    auto starts = [&](const char* magic, std::size_t n) { return head.size() >= n && head.compare(0, n, magic, n) == 0; };
    if (starts("GIF87a", 6) || starts("GIF89a", 6))
        return other("GIF", b.u16(6, false), b.u16(8, false));
    if (b.text(4, 4) == "ftyp") {
        const std::string brand = b.text(8, 4);
        if (isHeif(brand))
            return other("HEIC");
        if (brand == "avif" || brand == "avis")
            return other("AVIF");
    }
    if (starts("#?RADIANCE", 10) || starts("#?RGBE", 6))
        return other("Radiance HDR");
    if (starts("PF\n", 3) || starts("Pf\n", 3) || starts("PF\r", 3) || starts("Pf\r", 3))
        return other("PFM");
    if (head.size() >= 3 && head[0] == 'P' && head[1] >= '1' && head[1] <= '7' && head[2] != '\0'
        && std::strchr(" \t\r\n", head[2]))
        return other("PNM");
    if (starts("\x76\x2f\x31\x01", 4))
        return other("OpenEXR");
    if (starts("\x00\x00\x00\x0cjP  \r\n\x87\n", 12) || starts("\xff\x4f\xff\x51", 4))
        return other("JPEG 2000");
    if (starts("\xff\x0a", 2) || starts("\x00\x00\x00\x0cJXL \r\n\x87\n", 12))
        return other("JPEG XL");
    if (b.text(128, 4) == "DICM")
        return other("DICOM");
    if (starts("\x59\xa6\x6a\x95", 4))
        return other("Sun raster");
    if (starts("%PDF", 4))
        return other("PDF");
    if (starts("8BPS", 4))
        return other("Photoshop");
    if (starts("II+\0", 4) || starts("MM\0+", 4))
        return other("BigTIFF");
    if (starts("gimp xcf", 8))
        return other("XCF");
    if (starts("qoif", 4))
        return other("QOI");
    if (starts("<svg", 4) || starts("<?xml", 5))
        return other("SVG");
    return {};
}

} // namespace

PictureHeader readPictureHeader(const ReadAt& read, std::uint64_t size)
{
    const Bytes b(read, size);
    if (startsWith(b, 0, "\x89PNG\r\n\x1a\n", 8))
        return png(b);
    if (startsWith(b, 0, "\xff\xd8\xff", 3))
        return jpeg(b);
    if (startsWith(b, 0, "BM", 2))
        return bmp(b);
    if (startsWith(b, 0, "II*\0", 4) || startsWith(b, 0, "MM\0*", 4))
        return tiff(b);
    if (startsWith(b, 0, "RIFF", 4) && startsWith(b, 8, "WEBP", 4))
        return webp(b);
    return otherFormat(b);
}

PictureHeader readPictureHeader(const std::uint8_t* data, std::size_t size)
{
    const ReadAt read = [data, size](std::uint64_t offset, std::uint8_t* out, std::size_t n) -> std::size_t {
        if (offset >= size)
            return 0;
        const std::size_t count = std::min<std::size_t>(n, size - std::size_t(offset));
        std::memcpy(out, data + offset, count);
        return count;
    };
    return readPictureHeader(read, size);
}

} // namespace diagram
