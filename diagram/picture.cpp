#include "diagram/picture.h"

#include <leptonica/allheaders.h>
#include <opencv2/core/utils/logger.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdlib>
#include <string>

namespace diagram {
namespace {

// OpenCV reads its own limits from the environment once, at its first decode; they stand
// behind the header check below for formats Leptonica does not know.
bool setDecoderLimits()
{
    setenv("OPENCV_IO_MAX_IMAGE_PIXELS", std::to_string(maxPixels).c_str(), 0);
    setenv("OPENCV_IO_MAX_IMAGE_WIDTH", std::to_string(maxSide).c_str(), 0);
    setenv("OPENCV_IO_MAX_IMAGE_HEIGHT", std::to_string(maxSide).c_str(), 0);
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

Picture tooLarge(long long width, long long height)
{
    return failed(Failure::TooLarge, "The picture is too large: " + std::to_string(width) + " x " +
                                         std::to_string(height) + " pixels.");
}

bool isTooLarge(long long width, long long height)
{
    return width > maxSide || height > maxSide || width * height > maxPixels;
}

// A clipboard picture may be transparent where the page is blank: paper is white there.
cv::Mat onWhite(const cv::Mat& bgra)
{
    cv::Mat grey, alpha;
    cv::cvtColor(bgra, grey, cv::COLOR_BGRA2GRAY);
    cv::extractChannel(bgra, alpha, 3);
    cv::Mat blended;
    grey.convertTo(blended, CV_32F);
    cv::Mat a;
    alpha.convertTo(a, CV_32F, 1.0 / 255);
    blended = blended.mul(a) + (1.0 - a) * 255.0;
    blended.convertTo(grey, CV_8U);
    return grey;
}

} // namespace

Picture decodePicture(const std::vector<std::uint8_t>& bytes)
{
    static const bool limitsSet = setDecoderLimits();
    (void)limitsSet;
    if (bytes.empty())
        return failed(Failure::NotAPicture, "The file is empty.");

    l_int32 format = 0, width = 0, height = 0, bps = 0, spp = 0, colormapped = 0;
    if (pixReadHeaderMem(bytes.data(), bytes.size(), &format, &width, &height, &bps, &spp, &colormapped) == 0
        && isTooLarge(width, height))
        return tooLarge(width, height);

    Picture p;
    try {
        const cv::Mat raw(1, int(bytes.size()), CV_8UC1, const_cast<std::uint8_t*>(bytes.data()));
        p.grey = cv::imdecode(raw, cv::IMREAD_GRAYSCALE);
    } catch (const cv::Exception&) {
        // The decoder refuses dimensions over its limits by throwing.
        return failed(Failure::TooLarge, "The picture is too large.");
    }
    if (p.grey.empty())
        return failed(Failure::NotAPicture, "The file is not a picture this program can read.");
    return p;
}

Picture pictureOfPixels(int width, int height, int stride, int channels, const std::uint8_t* data)
{
    if (width <= 0 || height <= 0 || !data || (channels != 1 && channels != 3 && channels != 4)
        || stride < width * channels)
        return failed(Failure::NotAPicture, "The pixels given are not a picture.");
    if (isTooLarge(width, height))
        return tooLarge(width, height);
    const cv::Mat in(height, width, CV_8UC(channels), const_cast<std::uint8_t*>(data), std::size_t(stride));
    Picture p;
    if (channels == 1)
        p.grey = in.clone();
    else if (channels == 3)
        cv::cvtColor(in, p.grey, cv::COLOR_BGR2GRAY);
    else
        p.grey = onWhite(in);
    return p;
}

} // namespace diagram
