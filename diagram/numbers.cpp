#include "diagram/numbers.h"

#include <tesseract/baseapi.h>
#include <opencv2/imgproc.hpp>
#ifdef DIAGRAM_DEBUG
#include <opencv2/imgcodecs.hpp>
#endif

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

namespace diagram {
namespace {

// Tesseract takes a tenth of a second to load its model; each thread keeps one engine.
tesseract::TessBaseAPI* engine()
{
    thread_local std::unique_ptr<tesseract::TessBaseAPI> api;
    thread_local bool failed = false;
    if (api || failed)
        return api.get();
    auto made = std::make_unique<tesseract::TessBaseAPI>();
    std::vector<std::string> names{"load_system_dawg", "load_freq_dawg", "debug_file"};
    std::vector<std::string> values{"0", "0", "/dev/null"};
    if (made->Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY, nullptr, 0, &names, &values, false) != 0) {
        failed = true;
        return nullptr;
    }
    made->SetVariable("tessedit_char_whitelist", "0123456789");
    made->SetVariable("user_defined_dpi", "300");
    api = std::move(made);
    return api.get();
}

NumberReading parse(const char* text, float confidence)
{
    NumberReading r;
    if (!text)
        return r;
    std::string digits;
    for (const char* c = text; *c; ++c) {
        if (std::isdigit(static_cast<unsigned char>(*c)))
            digits += *c;
    }
    if (digits.empty() || digits.size() > 3 || digits[0] == '0')
        return r;
    r.number = std::stoi(digits);
    r.confidence = std::clamp(confidence / 100.0f, 0.0f, 1.0f);
    return r;
}

void show(tesseract::TessBaseAPI& api, const cv::Mat& picture, tesseract::PageSegMode mode)
{
    api.SetPageSegMode(mode);
    api.SetImage(picture.data, picture.cols, picture.rows, 1, int(picture.step));
}

NumberReading readOne(tesseract::TessBaseAPI& api, const cv::Mat& picture)
{
    show(api, picture, tesseract::PSM_SINGLE_WORD);
    const std::unique_ptr<char[]> text(api.GetUTF8Text());
    return parse(text.get(), float(api.MeanTextConf()));
}

} // namespace

std::vector<NumberReading> readNumbers(const std::vector<cv::Mat>& pictures)
{
    std::vector<NumberReading> readings(pictures.size());
    tesseract::TessBaseAPI* api = engine();
    if (!api || pictures.empty())
        return readings;

    // One call over a mosaic of every stone's digits costs far less than a call per stone;
    // the few the mosaic leaves in doubt are read again alone.
    constexpr int gap = 48, width = 2400;
    std::vector<cv::Rect> tiles;
    int x = gap, y = gap, rowHeight = 0, mosaicWidth = 0;
    for (const cv::Mat& p : pictures) {
        if (x + p.cols + gap > width && x > gap) {
            x = gap;
            y += rowHeight + gap / 2;
            rowHeight = 0;
        }
        tiles.emplace_back(x, y, p.cols, p.rows);
        x += p.cols + gap;
        rowHeight = std::max(rowHeight, p.rows);
        mosaicWidth = std::max(mosaicWidth, x);
    }
    cv::Mat mosaic(y + rowHeight + gap, mosaicWidth, CV_8U, cv::Scalar(255));
    for (std::size_t i = 0; i < pictures.size(); ++i)
        pictures[i].copyTo(mosaic(tiles[i]));

#ifdef DIAGRAM_DEBUG
    cv::imwrite("/tmp/dg/mosaic.png", mosaic);
#endif
    show(*api, mosaic, tesseract::PSM_SINGLE_BLOCK);
    std::vector<int> words(pictures.size(), 0);
    if (api->Recognize(nullptr) == 0) {
        std::unique_ptr<tesseract::ResultIterator> it(api->GetIterator());
        if (it) {
            do {
                int left, top, right, bottom;
                if (!it->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom))
                    continue;
                const cv::Point middle((left + right) / 2, (top + bottom) / 2);
                for (std::size_t i = 0; i < tiles.size(); ++i) {
                    if (!tiles[i].contains(middle))
                        continue;
                    const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
                    readings[i] = parse(text.get(), it->Confidence(tesseract::RIL_WORD));
                    ++words[i];
                }
            } while (it->Next(tesseract::RIL_WORD));
        }
    }
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (words[i] == 1 && readings[i].number != 0 && readings[i].confidence >= 0.6f)
            continue;
        const NumberReading alone = readOne(*api, pictures[i]);
#ifdef DIAGRAM_DEBUG
        fprintf(stderr, "alone %zu words %d mosaic %d %.2f alone %d %.2f\n", i, words[i], readings[i].number, readings[i].confidence, alone.number, alone.confidence);
#endif
        if (words[i] != 1 || alone.confidence > readings[i].confidence)
            readings[i] = alone;
    }
    api->Clear();
    return readings;
}

} // namespace diagram
