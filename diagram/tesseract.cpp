#include "diagram/tesseract.h"

#include <QByteArray>
#include <QLibrary>
#include <QProcess>

#include <optional>

namespace diagram {
namespace {

template <typename F>
bool resolve(QLibrary& library, F& function, const char* name)
{
    function = reinterpret_cast<F>(library.resolve(name));
    return function != nullptr;
}

void quietLeptonica()
{
    // Leptonica's complaints about a cut it is handed would only repeat the reading's doubt.
#ifdef _WIN32
    // The names the Windows build gives them, beside the programs.
    static QLibrary& leptonica = *new QLibrary(QStringLiteral("libleptonica-1.82.0"));
#else
    static QLibrary& leptonica = *new QLibrary(QStringLiteral("lept"), 5);
#endif
    using SetSeverity = int (*)(int);
    constexpr int printNothing = 6;
    if (const auto set = reinterpret_cast<SetSeverity>(leptonica.resolve("setMsgSeverity")))
        set(printNothing);
}

void oneOpenMpThread()
{
    // Tesseract splits each step of its network over OpenMP threads; on a small machine shared
    // with other work those threads wait on one another, and a page reads several times slower
    // than with one thread. The engines already run one to a core. OpenMP keeps the setting
    // for each thread apart, so each thread that makes an engine sets it for itself.
    using SetLevels = void (*)(int);
    static QLibrary& openMp = *new QLibrary(QStringLiteral("gomp"), 1);
    static const auto set = reinterpret_cast<SetLevels>(openMp.resolve("omp_set_max_active_levels"));
    if (set)
        set(0);
}

std::optional<Tesseract> load()
{
    // Held for the whole run, as the library stays loaded: a handle dropped here leaves Qt's
    // record of it to be found by no one, which the leak checker reports at exit now and then.
#ifdef _WIN32
    static QLibrary& library = *new QLibrary(QStringLiteral("libtesseract53"));
#else
    static QLibrary& library = *new QLibrary(QStringLiteral("tesseract"), 5);
#endif
    if (!library.load())
        return std::nullopt;
    Tesseract t{};
    const bool all = resolve(library, t.create, "TessBaseAPICreate") && resolve(library, t.destroy, "TessBaseAPIDelete")
                     && resolve(library, t.init, "TessBaseAPIInit4") && resolve(library, t.setVariable, "TessBaseAPISetVariable")
                     && resolve(library, t.setPageSegMode, "TessBaseAPISetPageSegMode")
                     && resolve(library, t.setImage, "TessBaseAPISetImage") && resolve(library, t.text, "TessBaseAPIGetUTF8Text")
                     && resolve(library, t.meanConfidence, "TessBaseAPIMeanTextConf")
                     && resolve(library, t.clear, "TessBaseAPIClear") && resolve(library, t.deleteText, "TessDeleteText")
                     && resolve(library, t.iterator, "TessBaseAPIGetIterator")
                     && resolve(library, t.deleteIterator, "TessResultIteratorDelete")
                     && resolve(library, t.iteratorText, "TessResultIteratorGetUTF8Text")
                     && resolve(library, t.next, "TessResultIteratorNext")
                     && resolve(library, t.choices, "TessResultIteratorGetChoiceIterator")
                     && resolve(library, t.deleteChoices, "TessChoiceIteratorDelete")
                     && resolve(library, t.choiceText, "TessChoiceIteratorGetUTF8Text")
                     && resolve(library, t.choiceConfidence, "TessChoiceIteratorConfidence")
                     && resolve(library, t.nextChoice, "TessChoiceIteratorNext")
                     && resolve(library, t.recognize, "TessBaseAPIRecognize")
                     && resolve(library, t.pageIterator, "TessResultIteratorGetPageIteratorConst")
                     && resolve(library, t.atBeginningOf, "TessPageIteratorIsAtBeginningOf")
                     && resolve(library, t.confidence, "TessResultIteratorConfidence");
    if (!all)
        return std::nullopt;
    quietLeptonica();
    // The library stays loaded for the rest of the run: QLibrary unloads only when told to.
    return t;
}

} // namespace

const Tesseract* tesseract()
{
    static const std::optional<Tesseract> loaded = load();
    return loaded ? &*loaded : nullptr;
}

TessBaseAPI* newEngine(const Tesseract& t, const char* languages)
{
    oneOpenMpThread();
    TessBaseAPI* api = t.create();
    if (!api)
        return nullptr;
    const char* names[] = {"load_system_dawg", "load_freq_dawg", "debug_file"};
    static const QByteArray nowhere = QProcess::nullDevice().toLocal8Bit();
    const char* values[] = {"0", "0", nowhere.constData()};
    if (t.init(api, nullptr, languages, tesseract::OEM_LSTM_ONLY, nullptr, 0, const_cast<char**>(names),
               const_cast<char**>(values), 3, 0)
        != 0) {
        t.destroy(api);
        return nullptr;
    }
    t.setVariable(api, "user_defined_dpi", "300");
    return api;
}

} // namespace diagram
