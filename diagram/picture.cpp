#include "diagram/picture.h"

#include "diagram/pictureheader.h"

#include <leptonica/allheaders.h>
#include <opencv2/core/utils/logger.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace diagram {
namespace {

// The decoders' own messages would only repeat the one reason given.
bool silenceDecoders()
{
    cv::utils::logging::setLogLevel(cv::utils::logging::LOG_LEVEL_SILENT);
    setMsgSeverity(L_SEVERITY_NONE);
    return true;
}

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

Picture decodeChecked(const cv::Mat& raw, const PictureHeader& h)
{
    static const bool silenced = silenceDecoders();
    (void)silenced;
    Picture p;
    try {
        // Without alpha, the decoders' own grey is taken: a JPEG's grey is its Y channel as
        // stored, not one rebuilt from the colours. The turn is applied below, on every path.
        const int flags = h.mayHaveAlpha ? cv::IMREAD_UNCHANGED : cv::IMREAD_GRAYSCALE | cv::IMREAD_IGNORE_ORIENTATION;
        const cv::Mat decoded = cv::imdecode(raw, flags);
        if (decoded.empty())
            return failed(Failure::Damaged, "The " + h.name + " file is damaged: its pixels cannot be decoded.");
        // A header that claims one size while the data holds another is not trusted either.
        p = checkSize(decoded.cols, decoded.rows);
        if (p.failure != Failure::None)
            return p;
        p.grey = upright(greyOf(decoded), h.orientation);
    } catch (const cv::Exception& e) {
        return failed(Failure::Damaged, "The " + h.name + " file is damaged: " + e.msg);
    } catch (const std::bad_alloc&) {
        return failed(Failure::TooLarge, "The picture is too large for the memory at hand.");
    }
    p.format = h.name;
    p.pages = h.pages;
    return p;
}

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
    const cv::Mat raw(1, int(bytes.size()), CV_8UC1, const_cast<std::uint8_t*>(bytes.data()));
    return decodeChecked(raw, h);
}

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

    const std::uint64_t size = std::uint64_t(info.st_size);
    const int fd = file.fd();
    const PictureHeader h = readPictureHeader(
        [fd](std::uint64_t offset, std::uint8_t* out, std::size_t n) { return readAt(fd, offset, out, n); }, size);
    if (Picture refused = checkHeader(h); refused.failure != Failure::None)
        return refused;

    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(std::size_t(size));
    } catch (const std::bad_alloc&) {
        return failed(Failure::TooLarge, "The picture is too large for the memory at hand.");
    }
    if (readAt(fd, 0, bytes.data(), bytes.size()) != bytes.size())
        return failed(Failure::Unreadable, "The file cannot be read: " + path);
    const cv::Mat raw(1, int(bytes.size()), CV_8UC1, bytes.data());
    return decodeChecked(raw, h);
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
