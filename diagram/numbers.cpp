#include "diagram/numbers.h"
#include "diagram/network.h"

#include "diagram/tesseract.h"

#include <opencv2/core/utility.hpp>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <string>

namespace diagram {
namespace {

// Tuning of Tesseract's readings, whose confidences are its own, out of 1.
// A reading of the digits' black-and-white cut, or of each digit alone, stands for the grey
// reading that lost a digit, but is never as sure as a reading of the whole.
constexpr float mostSureOfACut = 0.8f;
// A digit read alone for which Tesseract gave no confidence.
constexpr float digitWithoutConfidence = 0.5f;
// A reading whose shapes and digits disagree, or the surer of two readings in doubt, however
// it was rated.
constexpr float mostSureOfAMismatch = 0.4f;
// A 0's hole lies about its middle, a 6's lower: where the hole's middle lies above this share
// of the digit's height, from the top, the digit is a 0.
constexpr float zeroHoleMiddle = 0.56f;

// One engine of Tesseract's, freed with the thread that made it.
class Engine {
public:
    Engine(const Tesseract& t, TessBaseAPI* api)
        : t(t)
        , api(api)
    {
    }
    ~Engine() { t.destroy(api); }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    const Tesseract& t;
    TessBaseAPI* const api;
};

// Text that Tesseract made, freed by Tesseract.
using Text = std::unique_ptr<char, void (*)(const char*)>;

// Loading Tesseract's model costs more than reading a page; each thread keeps one engine.
Engine* engine()
{
    thread_local std::unique_ptr<Engine> made;
    thread_local bool failed = false;
    if (made || failed)
        return made.get();
    const Tesseract* t = tesseract();
    if (!t) {
        failed = true;
        return nullptr;
    }
    TessBaseAPI* api = newEngine(*t, "eng");
    if (!api) {
        failed = true;
        return nullptr;
    }
    auto e = std::make_unique<Engine>(*t, api);
    t->setVariable(e->api, "tessedit_char_whitelist", "0123456789");
    // Keeps, for each digit, the other digits the network weighed, to tell doubt from a guess.
    t->setVariable(e->api, "lstm_choice_mode", "2");
    made = std::move(e);
    return made.get();
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

void show(Engine& e, const cv::Mat& picture, TessPageSegMode mode)
{
    e.t.setPageSegMode(e.api, mode);
    e.t.setImage(e.api, picture.data, picture.cols, picture.rows, 1, int(picture.step));
}

Text textOf(const Engine& e)
{
    return Text(e.t.text(e.api), e.t.deleteText);
}

// Which digits, from the left, the network read as 6 or 8 while it also weighed a 0: blur
// fills the counter of a small bold 0, and the choice between them is then close.
unsigned zeroWeighed(const Engine& e)
{
    const Tesseract& t = e.t;
    const std::unique_ptr<TessResultIterator, decltype(t.deleteIterator)> it(t.iterator(e.api), t.deleteIterator);
    if (!it)
        return 0;
    unsigned mask = 0;
    int at = 0;
    do {
        const Text chosen(t.iteratorText(it.get(), tesseract::RIL_SYMBOL), t.deleteText);
        if (!chosen || (chosen.get()[0] != '6' && chosen.get()[0] != '8')) {
            ++at;
            continue;
        }
        const std::unique_ptr<TessChoiceIterator, decltype(t.deleteChoices)> choice(t.choices(it.get()), t.deleteChoices);
        do {
            const char* other = t.choiceText(choice.get());
            if (other && other[0] == '0' && t.choiceConfidence(choice.get()) >= 10)
                mask |= 1u << at;
        } while (t.nextChoice(choice.get()));
        ++at;
    } while (at < 8 && t.next(it.get(), tesseract::RIL_SYMBOL));
    return mask;
}

NumberReading readOne(Engine& e, const cv::Mat& picture)
{
    show(e, picture, tesseract::PSM_SINGLE_WORD);
    const Text text = textOf(e);
    NumberReading r = parse(text.get(), float(e.t.meanConfidence(e.api)));
    r.zeroWeighed = zeroWeighed(e);
    return r;
}

NumberReading readApart(Engine& e, const std::vector<cv::Mat>& digits)
{
    std::string text;
    float confidence = mostSureOfACut;
    for (const cv::Mat& d : digits) {
        show(e, d, tesseract::PSM_SINGLE_CHAR);
        const Text one = textOf(e);
        const NumberReading r = parse(one.get(), float(e.t.meanConfidence(e.api)));
        if (!one || std::string(one.get()).find_first_of("0123456789") == std::string::npos)
            return {};
        for (const char* c = one.get(); *c; ++c) {
            if (std::isdigit(static_cast<unsigned char>(*c)))
                text += *c;
        }
        confidence = std::min(confidence, r.confidence > 0 ? r.confidence : digitWithoutConfidence);
    }
    return parse(text.c_str(), confidence * 100);
}

} // namespace

std::vector<NumberReading> readNumbers(const std::vector<Glyphs>& glyphs, const StopFlag* stop)
{
    std::vector<NumberReading> readings(glyphs.size());
    if (glyphs.empty())
        return readings;

    // One call per stone: measured against one call over a mosaic of all the stones' digits,
    // it reads more zeros right (the mosaic's neighbours pull a small bold 0 towards 6) at
    // a similar cost, since the network's work grows with the digits either way. The stones
    // are shared among the cores, each with its own engine; a stone's reading depends on
    // nothing but its own digits.
    auto lengthOf = [](int n) { return n >= 100 ? 3 : n >= 10 ? 2 : 1; };
    cv::parallel_for_(cv::Range(0, int(glyphs.size())), [&](const cv::Range& range) {
        Engine* api = engine();
        if (!api)
            return;
        for (int at = range.start; at < range.end; ++at) {
            if (stop && stop->load(std::memory_order_relaxed))
                break;
            const auto i = std::size_t(at);
            const Glyphs& g = glyphs[i];
            readings[i] = readOne(*api, g.picture);
            // Digits that do not touch are separate shapes: a count that disagrees is doubt.
            // The grey of a blurred last digit is sometimes lost where its black-and-white
            // cut, or the digit read alone, is not.
            if (g.pieces <= lengthOf(readings[i].number))
                continue;
            const NumberReading again = readOne(*api, g.sharp);
            if (again.number != 0 && lengthOf(again.number) == g.pieces) {
                readings[i] = again;
                readings[i].confidence = std::min(again.confidence, mostSureOfACut);
                continue;
            }
            const NumberReading apart = readApart(*api, g.digits);
            if (apart.number != 0 && lengthOf(apart.number) == g.pieces)
                readings[i] = apart;
            else
                readings[i].confidence = std::min(readings[i].confidence, mostSureOfAMismatch);
        }
        api->t.clear(api->api);
    });
    return readings;
}

// Letters a book prints on points, offered beside the digits so that a digit still reads as
// itself; less those it avoids for their likeness to digits (l, o, I, O, S, Z), and i and j,
// whose dot makes them two shapes, so that one shape read as either is a digit misread.
constexpr const char* lettersAndDigits = "0123456789abcdefghkmnpqrstuvwxyzACDEFGHKLMNPQRTUVWXY";
// Tesseract's confidence, out of 1, at which a letter stands.
constexpr float letterSure = 0.7f;

std::vector<Letter> readLetters(const std::vector<Glyphs>& glyphs, const StopFlag* stop)
{
    std::vector<Letter> letters(glyphs.size());
    if (glyphs.empty())
        return letters;
    cv::parallel_for_(cv::Range(0, int(glyphs.size())), [&](const cv::Range& range) {
        Engine* api = engine();
        if (!api)
            return;
        api->t.setVariable(api->api, "tessedit_char_whitelist", lettersAndDigits);
        for (int at = range.start; at < range.end; ++at) {
            if (stop && stop->load(std::memory_order_relaxed))
                break;
            show(*api, glyphs[std::size_t(at)].picture, tesseract::PSM_SINGLE_CHAR);
            const Text text = textOf(*api);
            const float confidence = float(api->t.meanConfidence(api->api)) / 100.0f;
            // One letter, or the same letter in both cases when the case is in doubt ("Cc").
            char letter = 0;
            for (const char* c = text ? text.get() : ""; *c; ++c) {
                const auto u = static_cast<unsigned char>(*c);
                if (std::isspace(u))
                    continue;
                const char lower = char(std::tolower(u));
                if (!std::isalpha(u) || (letter != 0 && letter != lower)) {
                    letter = 0;
                    break;
                }
                letter = lower;
            }
            letters[std::size_t(at)] = {letter, letter != 0 && confidence >= letterSure};
        }
        api->t.setVariable(api->api, "tessedit_char_whitelist", "0123456789");
        api->t.clear(api->api);
    });
    return letters;
}

bool zerosByShape(int& number, const std::vector<std::pair<float, float>>& holes, unsigned zeroWeighed)
{
    bool doubt = false;
    std::string digits = std::to_string(number);
    for (std::size_t i = 1; number != 0 && digits.size() == holes.size() && i < digits.size(); ++i) {
        if (digits[i] != '6')
            continue;
        if (holes[i].second > holes[i].first && holes[i].first + holes[i].second < 2 * zeroHoleMiddle)
            digits[i] = '0';
        else if (holes[i].second <= holes[i].first)
            doubt = true;
    }
    number = std::stoi(digits);
    for (std::size_t i = 1; i < digits.size(); ++i) {
        if ((digits[i] == '6' || digits[i] == '8') && (zeroWeighed >> i & 1u))
            doubt = true;
    }
    return doubt;
}

} // namespace diagram

namespace diagram {
namespace {

// The network's probability above which its reading stands alone. Below it Tesseract is
// asked, and the reading stands only where the two agree. The network is sure of itself on
// shapes it never saw, a serif 5 taken for a 6 at 0.99: only near certainty stands alone.
constexpr float networkSure = 0.995f;
// Some boards label their stones in small print: digits shorter than this, in pitches, are read
// again from a cut drawn up until they stand this high, by at most this much.
constexpr double smallDigits = 0.3, learnedDigits = 0.4, mostZoom = 2.0;
// Tesseract's own confidence, out of 1, at which its 0 stands for the network's 6 or 8, and
// the least odds the network must have left to that 0 itself: Tesseract, sure of itself, has
// read a screen's 238 as 230 where the network gave 230 less than 0.001.
constexpr float tesseractSure = 0.9f;
constexpr float zeroNotRuledOut = 0.01f;
// The network's probability above which no letter Tesseract sees in its place stands: a thin
// glass 5 has been read as "r", where the network was certain of its 5.
constexpr float digitCertain = 0.999f;

int lengthOf(int n)
{
    return n >= 100 ? 3 : n >= 10 ? 2 : n >= 1 ? 1 : 0;
}

// Tesseract's 0 where the network saw a 6 or an 8, and nothing else apart: the network's
// commonest doubt, where Tesseract, sure of itself, is seldom wrong.
bool zeroWhereSix(int network, int tesseract)
{
    const std::string a = std::to_string(network), b = std::to_string(tesseract);
    if (a.size() != b.size() || a == b)
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && !(b[i] == '0' && (a[i] == '6' || a[i] == '8')))
            return false;
    }
    return true;
}

} // namespace

std::vector<StoneNumber> readStoneNumbers(const StraightBoard& sheet, const std::vector<StoneSpot>& spots,
                                          const StopFlag* stop)
{
    std::vector<StoneNumber> out(spots.size());
    std::vector<Glyphs> glyphs(spots.size());
    std::vector<cv::Mat> cells(spots.size());
    // Each stone's cut is its own: the cores share them.
    cv::parallel_for_(cv::Range(0, int(spots.size())), [&](const cv::Range& range) {
        for (int at = range.start; at < range.end; ++at) {
            const auto i = std::size_t(at);
            glyphs[i] = cutGlyphs(sheet, spots[i].x, spots[i].y, spots[i].stone);
            cells[i] = stoneCell(sheet, spots[i].x, spots[i].y, spots[i].stone);
            out[i].ink = !glyphs[i].picture.empty();
        }
    });
    if (stop && stop->load(std::memory_order_relaxed))
        return out;
    const std::vector<CellReading> net = readCells(cells);

    // A lone shape read as one digit may be a letter printed on the point ("a" is near an 8):
    // Tesseract, offered letters too, tells. Signs are told by their outline alone. Ink the
    // network reads as no digit at all is in doubt already; an arc of an outline is no label.
    std::vector<Glyphs> lone;
    std::vector<std::size_t> loneAt;
    for (std::size_t i = 0; i < spots.size(); ++i) {
        const CellReading r = i < net.size() ? net[i] : CellReading{};
        if (glyphs[i].mark != 0) {
            out[i].mark = glyphs[i].mark;
        } else if (out[i].ink && glyphs[i].pieces == 1 && r.number >= 1 && r.number <= 9) {
            lone.push_back(glyphs[i]);
            loneAt.push_back(i);
        }
    }
    const std::vector<Letter> letters = readLetters(lone, stop);
    std::vector<bool> letterInDoubt(spots.size(), false);
    for (std::size_t k = 0; k < letters.size(); ++k) {
        // Where the network is all but certain of its digit, Tesseract's letter is a guess.
        // Between sure and certain, each is sure of its own reading: the digit stands in doubt
        // (a bold serif 7 has been read as "q").
        const CellReading r = loneAt[k] < net.size() ? net[loneAt[k]] : CellReading{};
        if (letters[k].sure && r.confidence < networkSure)
            out[loneAt[k]].mark = letters[k].letter;
        // A letter read in doubt where the network too is unsure of its digit: either may be
        // right.
        letterInDoubt[loneAt[k]] = letters[k].letter != 0
            && (r.confidence < networkSure || (letters[k].sure && r.confidence < digitCertain));
    }

    std::vector<Glyphs> doubtful;
    std::vector<std::size_t> which;
    std::vector<std::size_t> small;
    std::vector<cv::Mat> closer;
    for (std::size_t i = 0; i < spots.size(); ++i) {
        StoneNumber& s = out[i];
        const CellReading r = i < net.size() ? net[i] : CellReading{};
        s.network = r;
        s.number = r.number;
        s.confidence = r.confidence;
        if (s.mark != 0) {
            // A label names its point; it is no move, and no handicap stone either.
            s.number = 0;
            s.confidence = 1.0f;
            s.unsure = false;
            continue;
        }
        if (!s.ink) {
            // Nothing inside: a handicap stone if black and the network sees no digits either.
            s.unsure = r.number != 0 || spots[i].stone == Stone::White;
            if (r.number == 0)
                s.confidence = 1.0f;
            continue;
        }
        // The network too takes a small bold 0 for a 6 now and then; the holes tell them apart,
        // but only as a doubt for Tesseract to settle: the bowl of a 6 cut from a blurred scan
        // can sit as high as a 0's. A 6 whose counter closed up in a small print leaves no hole
        // to tell by. Either doubts only a reading the network is not all but certain of.
        int byShape = s.number;
        const bool zeroInDoubt
            = (zerosByShape(byShape, glyphs[i].holes, 0) || byShape != s.number) && r.confidence < digitCertain;
        // Digits that do not touch are separate shapes: more of them than digits read is doubt.
        const bool fits = glyphs[i].columns <= std::max(1, lengthOf(r.number));
        s.unsure = r.number == 0 || r.confidence < networkSure || !fits || zeroInDoubt || letterInDoubt[i];
        if (s.unsure && r.number != 0 && fits && !zeroInDoubt && !letterInDoubt[i]
            && glyphs[i].span.height < smallDigits * boardPitch) {
            small.push_back(i);
            const cv::Rect& span = glyphs[i].span;
            const double reach = cellReach * std::max(1.0 / mostZoom, span.height / (learnedDigits * boardPitch));
            closer.push_back(stoneCell(sheet, (span.tl() + span.br()) / 2, int(std::lround(reach)), spots[i].stone));
        }
    }
    // Two cuts that read alike, one of them sure, settle a small number.
    const std::vector<CellReading> again = readCells(closer);
    for (std::size_t k = 0; k < again.size(); ++k) {
        StoneNumber& s = out[small[k]];
        s.closer = again[k];
        if (again[k].number == s.number && again[k].confidence >= networkSure) {
            s.unsure = false;
            s.confidence = again[k].confidence;
        }
    }
    for (std::size_t i = 0; i < spots.size(); ++i) {
        if (out[i].unsure && out[i].ink && out[i].mark == 0) {
            doubtful.push_back(std::move(glyphs[i]));
            which.push_back(i);
        }
    }
    // Set when measuring what the network does alone, without Tesseract's second opinion.
    static const bool networkAlone = std::getenv("RANVEL_NETWORK_ALONE") != nullptr;
    if (doubtful.empty() || networkAlone || (stop && stop->load(std::memory_order_relaxed)))
        return out;
    std::vector<std::vector<std::pair<float, float>>> holes;
    for (const Glyphs& g : doubtful)
        holes.push_back(g.holes);
    const std::vector<NumberReading> second = readNumbers(doubtful, stop);
    for (std::size_t k = 0; k < second.size(); ++k) {
        StoneNumber& s = out[which[k]];
        int number = second[k].number;
        const bool doubt = zerosByShape(number, holes[k], second[k].zeroWeighed);
        const bool agree = number == s.number
            || (zeroWhereSix(s.number, number) && second[k].confidence >= tesseractSure
                && s.network.oddsOf(number) >= zeroNotRuledOut);
        if (number != 0 && agree && !doubt) {
            s.number = number;
            s.unsure = false;
            s.confidence = std::max(s.confidence, second[k].confidence);
        } else if (number != 0 && !doubt && (s.number == 0 || (lengthOf(number) == lengthOf(s.number)
                                                               && second[k].confidence > s.confidence))) {
            // Of two readings in doubt, the surer is shown, and the stone stays in doubt.
            s.number = number;
            s.confidence = std::min(second[k].confidence, mostSureOfAMismatch);
        }
    }
    return out;
}

} // namespace diagram
