#include "tools/figures.h"

#include "board/cellname.h"
#include "board/form.h"
#include "board/go.h"
#include "board/lifecycle.h"
#include "board/ui.h"
#include "transcribe/nextfigure.h"
#include "transcribe/readboard.h"
#include "entry/unsurepoints.h"
#include "sgf/save.h"

#include <QFile>
#include <QString>

#include <cstdio>

namespace {

// Save's questions are answered as the operator who asked for the file would; every box
// is told on standard error instead.
class ToolUi : public Ui {
public:
    explicit ToolUi(QString out) : out_(std::move(out)) {}

    Answer box(const QString& title, BoxKind kind, const QString& text, BoxButtons buttons) override
    {
        if (kind != BoxKind::Confirm)
            std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
        return buttons == BoxButtons::YesNoCancel || buttons == BoxButtons::YesNoKeep ? Answer::Yes : Answer::Ok;
    }
    std::optional<QString> openFileName() override { return std::nullopt; }
    std::optional<QString> saveFileName() override { return out_; }
    void setFocus(const QString&) override {}
    void focusNext() override {}
    void quit() override {}

private:
    QString out_;
};

// A path as the program was given it: UTF-8 on Windows too, where main takes it again from
// the wide command line.
QString pathOf(const char* argument)
{
#ifdef _WIN32
    return QString::fromUtf8(argument);
#else
    return QFile::decodeName(argument);
#endif
}

} // namespace

int readFigures(int argc, char** argv, const ReadPicture& read)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: ranvel_read --sgf OUT.sgf FIGURE1 [FIGURE2...]\n");
        return 2;
    }
    const QString out = pathOf(argv[2]);
    ToolUi ui(out);
    Form f;
    FormCreate(f);
    for (int i = 3; i < argc; ++i) {
        const diagram::Result result = read(argv[i], nullptr);
        if (result.failure != diagram::Failure::None) {
            std::fprintf(stderr, "%s: %s\n", argv[i], result.reason.c_str());
            return 1;
        }
        const QString source = pathOf(argv[i]);
        if (i == 3)
            enterReading(f, ui, result, source);
        else
            enterNextFigure(f, ui, result, source);
    }
    Hozon(f, ui);
    // The processing log, as the window would show it.
    std::fputs(qUtf8Printable(QString(f.memo).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))), stdout);
    std::fflush(stdout);
    int doubtful = 0;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            if (isUnsurePoint(f, {x, y})) {
                std::fprintf(stderr, "in doubt: column %d row %d: %s\n", x, y, qUtf8Printable(f.cell(x, y).text));
                ++doubtful;
            }
        }
    }
    for (int r = 1; r <= MoveList::LastRow; ++r) {
        if (!f.stringGrid2.at(0, r).isEmpty() && f.stringGrid2.at(1, r).isEmpty()) {
            std::fprintf(stderr, "no place: move %s\n", qUtf8Printable(f.stringGrid2.at(0, r)));
            ++doubtful;
        }
    }
    if (f.currentFileName.isEmpty()) {
        std::fprintf(stderr, "%s: not saved\n", argv[2]);
        return 1;
    }
    std::fprintf(stderr, "%s: %s moves, %d in doubt\n", qUtf8Printable(f.currentFileName), qUtf8Printable(f.souTesuu), doubtful);
    return doubtful > 0 ? 3 : 0;
}
