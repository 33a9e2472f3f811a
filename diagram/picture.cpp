#include "diagram/picture.h"

#include "diagram/jpegluma.h"
#include "diagram/pictureheader.h"

#include <opencv2/imgproc.hpp>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#ifdef _WIN32
#include <QFile>
#include <QFileInfo>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace diagram {
namespace {

Picture failed(Failure failure, std::string reason)
{
    Picture p;
    p.failure = failure;
    p.reason = std::move(reason);
    return p;
}

std::string sizeText(long long width, long long height)
{
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

// Refuses by the size alone, whatever the format.
Picture checkSize(long long width, long long height)
{
    if (width > maxSide || height > maxSide || width * height > maxPixels)
        return failed(Failure::TooLarge, "The picture is too large: " + sizeText(width, height) + ".");
    const long long shorter = std::min(width, height), longer = std::max(width, height);
    if (shorter > 0 && double(longer) / double(shorter) > maxAspect)
        return failed(Failure::TooThin, "The picture is too thin to hold a board: " + sizeText(width, height) + ".");
    if (shorter < minSide)
        return failed(Failure::TooSmall, "The picture is too small to hold a board: " + sizeText(width, height) + ".");
    return {};
}

Picture checkFormat(const PictureHeader& h)
{
    switch (h.format) {
    case Format::Unknown:
        return failed(Failure::NotAPicture, "The file is not a picture.");
    case Format::Other:
        return failed(Failure::UnreadFormat, h.name + " pictures are not read; PNG, JPEG, BMP, TIFF and WebP are.");
    default:
        break;
    }
    if (h.broken || h.width <= 0 || h.height <= 0)
        return failed(Failure::Damaged, "The " + h.name + " file is damaged: its header cannot be read.");
    // A decoder fills what is missing with grey: a board read from it would lack its stones there.
    if (h.truncated)
        return failed(Failure::Damaged, "The " + h.name + " file is cut short.");
    return checkSize(h.width, h.height);
}

Picture checkHeader(const PictureHeader& h)
{
    Picture p = checkFormat(h);
    p.format = h.name;
    return p;
}

// As the EXIF orientation says the picture is to be shown.
cv::Mat upright(const cv::Mat& m, int orientation)
{
    cv::Mat out;
    switch (orientation) {
    case 2:
        cv::flip(m, out, 1);
        return out;
    case 3:
        cv::rotate(m, out, cv::ROTATE_180);
        return out;
    case 4:
        cv::flip(m, out, 0);
        return out;
    case 5:
        cv::transpose(m, out);
        return out;
    case 6:
        cv::rotate(m, out, cv::ROTATE_90_CLOCKWISE);
        return out;
    case 7:
        cv::transpose(m, out);
        cv::rotate(out, out, cv::ROTATE_180);
        return out;
    case 8:
        cv::rotate(m, out, cv::ROTATE_90_COUNTERCLOCKWISE);
        return out;
    default:
        return m;
    }
}

cv::Mat eightBit(const cv::Mat& m)
{
    cv::Mat out;
    switch (m.depth()) {
    case CV_8U:
        return m;
    case CV_16U:
        m.convertTo(out, CV_8U, 1.0 / 257);
        return out;
    case CV_32F:
    case CV_64F: {
        // Light as a share of full white; what is brighter than white is white.
        cv::Mat finite = m.clone();
        cv::patchNaNs(finite, 0);
        finite.convertTo(out, CV_8U, 255.0);
        return out;
    }
    default:
        cv::normalize(m, out, 0, 255, cv::NORM_MINMAX, CV_8U);
        return out;
    }
}

cv::Mat overWhite(const cv::Mat& grey, const cv::Mat& alpha)
{
    // A BMP that stores 32 bits a pixel often leaves the fourth byte 0: it is no alpha then.
    if (cv::countNonZero(alpha) == 0)
        return grey;
    cv::Mat g, a;
    grey.convertTo(g, CV_32F);
    alpha.convertTo(a, CV_32F, 1.0 / 255);
    cv::Mat blended = g.mul(a) + (1.0 - a) * 255.0;
    cv::Mat out;
    blended.convertTo(out, CV_8U);
    return out;
}

const char* qtFormatOf(Format format)
{
    switch (format) {
    case Format::Png:
        return "png";
    case Format::Jpeg:
        return "jpeg";
    case Format::Bmp:
        return "bmp";
    case Format::Tiff:
        return "tiff";
    case Format::WebP:
        return "webp";
    default:
        return "";
    }
}

// The decoded pixels as OpenCV lays them out: one grey channel, or blue, green, red and, where
// the picture has it, alpha; 8 bits a channel, or 16 where the picture holds more.
cv::Mat matOf(const QImage& image)
{
    const bool alpha = image.hasAlphaChannel();
    switch (image.format()) {
    case QImage::Format_Grayscale8:
        return cv::Mat(image.height(), image.width(), CV_8UC1, const_cast<uchar*>(image.constBits()),
                       std::size_t(image.bytesPerLine())).clone();
    case QImage::Format_Grayscale16:
        return cv::Mat(image.height(), image.width(), CV_16UC1, const_cast<uchar*>(image.constBits()),
                       std::size_t(image.bytesPerLine())).clone();
    default:
        break;
    }
    cv::Mat out;
    if (image.depth() > 32) {
        // RGBA64 holds red, green, blue and alpha as 16-bit words in that order.
        const QImage deep = image.convertToFormat(QImage::Format_RGBA64);
        const cv::Mat rgba(deep.height(), deep.width(), CV_16UC4, const_cast<uchar*>(deep.constBits()),
                           std::size_t(deep.bytesPerLine()));
        cv::cvtColor(rgba, out, alpha ? cv::COLOR_RGBA2BGRA : cv::COLOR_RGBA2BGR);
        return out;
    }
    // ARGB32 is blue, green, red, alpha in memory on a little-endian machine, RGB32 the same
    // with the alpha byte full.
    const QImage argb = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const cv::Mat bgra(argb.height(), argb.width(), CV_8UC4, const_cast<uchar*>(argb.constBits()),
                       std::size_t(argb.bytesPerLine()));
    if (alpha)
        return bgra.clone();
    cv::cvtColor(bgra, out, cv::COLOR_BGRA2BGR);
    return out;
}

// The grey of an opaque colour PNG as libpng makes it, which the reader was tuned on: 0.299 red
// and 0.587 green in its fixed point, out of 32768, truncated. Rounded or weighed otherwise, a
// screenshot's pale colours come out a step lighter.
constexpr unsigned pngRed = 9797, pngGreen = 19234, pngBlue = 3737;

cv::Mat pngGrey(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    cv::Mat grey(rgb.height(), rgb.width(), CV_8UC1);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        auto* out = grey.ptr<std::uint8_t>(y);
        for (int x = 0; x < rgb.width(); ++x)
            out[x] = std::uint8_t((pngRed * unsigned(qRed(in[x])) + pngGreen * unsigned(qGreen(in[x]))
                                   + pngBlue * unsigned(qBlue(in[x])))
                                  >> 15);
    }
    return grey;
}

// Qt's readers, or for a JPEG that stores luma, that luma as the reader was tuned on.
cv::Mat decodeGrey(const std::uint8_t* data, std::size_t size, const PictureHeader& h, Picture& refused)
{
    if (h.format == Format::Jpeg) {
        const JpegLuma luma = jpegLuma(data, size);
        if (luma.stored && luma.grey.empty())
            refused = failed(Failure::Damaged, "The " + h.name + " file is damaged: its pixels cannot be decoded.");
        if (luma.stored)
            return luma.grey;
    }
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, qtFormatOf(h.format));
    // The header has told the format: Qt would otherwise load every image plugin it has to ask
    // each whether it knows the data better.
    reader.setAutoDetectImageFormat(false);
    // The turn is applied from the header, on every path.
    reader.setAutoTransform(false);
    // Qt's own limit is below the largest picture read, in its deepest pixels.
    reader.setAllocationLimit(int(maxPixels * 16 / (1024 * 1024)) + 1);
    const QImage decoded = reader.read();
    if (decoded.isNull()) {
        if (reader.error() == QImageReader::UnsupportedFormatError)
            refused = failed(Failure::UnreadFormat, h.name + " pictures cannot be read here: Qt's image format plugins are not installed.");
        else
            refused = failed(Failure::Damaged, "The " + h.name + " file is damaged: its pixels cannot be decoded.");
        return {};
    }
    const bool grey = decoded.format() == QImage::Format_Grayscale8 || decoded.format() == QImage::Format_Grayscale16;
    if (h.format == Format::Png && !grey && !decoded.hasAlphaChannel() && decoded.depth() <= 32)
        return pngGrey(decoded);
    return greyOf(matOf(decoded));
}

Picture decodeChecked(const std::uint8_t* data, std::size_t size, const PictureHeader& h)
{
    Picture p;
    try {
        const cv::Mat grey = decodeGrey(data, size, h, p);
        if (p.failure != Failure::None)
            return p;
        // A header that claims one size while the data holds another is not trusted either.
        p = checkSize(grey.cols, grey.rows);
        if (p.failure != Failure::None)
            return p;
        p.grey = upright(grey, h.orientation);
    } catch (const cv::Exception& e) {
        return failed(Failure::Damaged, "The " + h.name + " file is damaged: " + e.msg);
    } catch (const std::bad_alloc&) {
        return failed(Failure::TooLarge, "The picture is too large for the memory at hand.");
    }
    p.format = h.name;
    p.pages = h.pages;
    return p;
}

#ifndef _WIN32
// Closes the file however the read ends.
class FileHandle {
public:
    explicit FileHandle(int fd)
        : fd_(fd)
    {
    }
    ~FileHandle()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

std::size_t readAt(int fd, std::uint64_t offset, std::uint8_t* out, std::size_t n)
{
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = pread(fd, out + done, n - done, off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += std::size_t(got);
    }
    return done;
}
#endif

// The header checked, then the whole file read and decoded; `readAt` reads from an offset.
template <typename ReadAt>
Picture loadChecked(const std::string& path, std::uint64_t size, ReadAt readAt)
{
    const PictureHeader h = readPictureHeader(readAt, size);
    if (Picture refused = checkHeader(h); refused.failure != Failure::None)
        return refused;

    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(std::size_t(size));
    } catch (const std::bad_alloc&) {
        return failed(Failure::TooLarge, "The picture is too large for the memory at hand.");
    }
    if (readAt(0, bytes.data(), bytes.size()) != bytes.size())
        return failed(Failure::Unreadable, "The file cannot be read: " + path);
    return decodeChecked(bytes.data(), bytes.size(), h);
}

} // namespace

cv::Mat greyOf(const cv::Mat& decoded)
{
    const cv::Mat m = eightBit(decoded);
    cv::Mat grey;
    switch (m.channels()) {
    case 1:
        return m;
    case 2: {
        cv::Mat planes[2];
        cv::split(m, planes);
        return overWhite(planes[0], planes[1]);
    }
    case 3:
        cv::cvtColor(m, grey, cv::COLOR_BGR2GRAY);
        return grey;
    default: {
        std::vector<cv::Mat> planes;
        cv::split(m, planes);
        cv::Mat bgr;
        cv::merge(std::vector<cv::Mat>(planes.begin(), planes.begin() + 3), bgr);
        cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
        return m.channels() == 4 ? overWhite(grey, planes[3]) : grey;
    }
    }
}

Picture decodePicture(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.empty())
        return failed(Failure::NotAPicture, "The file is empty.");
    const PictureHeader h = readPictureHeader(bytes.data(), bytes.size());
    if (Picture refused = checkHeader(h); refused.failure != Failure::None)
        return refused;
    return decodeChecked(bytes.data(), bytes.size(), h);
}

#ifdef _WIN32
// Windows hands names over as UTF-16: the path, UTF-8 here, goes through Qt to reach names in
// Japanese.
Picture loadPicture(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(path));
    if (!info.exists())
        return failed(Failure::Unreadable, "There is no such file: " + path);
    if (info.isDir())
        return failed(Failure::NotAFile, "This is a folder, not a file: " + path);
    if (!info.isFile())
        return failed(Failure::NotAFile, "This is not a file but a device or a pipe: " + path);
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly))
        return failed(Failure::Unreadable, "The file cannot be opened: " + path + ": " + file.errorString().toStdString());
    const qint64 size = file.size();
    if (size == 0)
        return failed(Failure::NotAPicture, "The file is empty.");
    if (size > maxFileBytes)
        return failed(Failure::TooLarge, "The file is too large to be a picture: " + path);
    return loadChecked(path, std::uint64_t(size), [&file](std::uint64_t offset, std::uint8_t* out, std::size_t n) {
        if (!file.seek(qint64(offset)))
            return std::size_t(0);
        const qint64 got = file.read(reinterpret_cast<char*>(out), qint64(n));
        return got > 0 ? std::size_t(got) : std::size_t(0);
    });
}
#else
Picture loadPicture(const std::string& path)
{
    // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
    const FileHandle file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.fd() < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return failed(Failure::Unreadable, "There is no such file: " + path);
        return failed(Failure::Unreadable, "The file cannot be opened: " + path + ": " + std::strerror(error));
    }
    struct stat info {};
    if (fstat(file.fd(), &info) != 0)
        return failed(Failure::Unreadable, "The file cannot be read: " + path);
    if (S_ISDIR(info.st_mode))
        return failed(Failure::NotAFile, "This is a folder, not a file: " + path);
    if (!S_ISREG(info.st_mode))
        return failed(Failure::NotAFile, "This is not a file but a device or a pipe: " + path);
    if (info.st_size == 0)
        return failed(Failure::NotAPicture, "The file is empty.");

    if (info.st_size > maxFileBytes)
        return failed(Failure::TooLarge, "The file is too large to be a picture: " + path);

    const int fd = file.fd();
    return loadChecked(path, std::uint64_t(info.st_size),
                       [fd](std::uint64_t offset, std::uint8_t* out, std::size_t n) { return readAt(fd, offset, out, n); });
}
#endif

bool writePng(const std::string& path, const cv::Mat& pixels)
{
    if (pixels.depth() != CV_8U || pixels.empty())
        return false;
    QImage::Format format = QImage::Format_Invalid;
    switch (pixels.channels()) {
    case 1:
        format = QImage::Format_Grayscale8;
        break;
    case 3:
        format = QImage::Format_BGR888;
        break;
    case 4:
        format = QImage::Format_ARGB32;
        break;
    default:
        return false;
    }
    const QImage image(pixels.data, pixels.cols, pixels.rows, qsizetype(pixels.step), format);
    QImageWriter writer(QString::fromStdString(path), "png");
    return writer.write(image);
}

Picture pictureOfPixels(int width, int height, int stride, int channels, const std::uint8_t* data)
{
    if (width <= 0 || height <= 0 || !data || (channels != 1 && channels != 3 && channels != 4)
        || stride < width * channels)
        return failed(Failure::NotAPicture, "The pixels given are not a picture.");
    if (Picture refused = checkSize(width, height); refused.failure != Failure::None)
        return refused;
    const cv::Mat in(height, width, CV_8UC(channels), const_cast<std::uint8_t*>(data), std::size_t(stride));
    Picture p;
    try {
        p.grey = channels == 1 ? in.clone() : greyOf(in);
    } catch (const cv::Exception& e) {
        return failed(Failure::Fault, "The pixels could not be turned grey: " + e.msg);
    } catch (const std::bad_alloc&) {
        return failed(Failure::TooLarge, "The picture is too large for the memory at hand.");
    }
    return p;
}

} // namespace diagram
