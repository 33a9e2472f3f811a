#include "app/layout.h"

#include "board/cellname.h"
#include "board/form.h"
#include "board/go.h"
#include "board/texts.h"

namespace {

const QString Tahoma = QStringLiteral("Tahoma");
constexpr Rgb Blue = 0xFF0000FF;

FontStyle windowFont()
{
    return {Tahoma, 11, false, colours::Black};
}

FontStyle tahoma(int px, bool bold = false, Rgb colour = colours::Black)
{
    return {Tahoma, px, bold, colour};
}

// The frame the window manager adds around the client area of a 1036 x 727 window.
constexpr int FrameWidth = 8;
constexpr int FrameHeight = 34;

struct Geometry {
    int cellHeight;
    int rowPitch;
    int rowTop;          // top of row y is rowPitch*y + rowTop
    int bottomLabelTop;
    int rowLabelTop;     // top of the row label y is rowPitch*y + rowLabelTop
};

Geometry boardGeometry(bool small)
{
    return small ? Geometry{25, 24, 32, 520, 40} : Geometry{33, 32, 24, 664, 32};
}

int columnLabelLeft(int x)
{
    return x <= 9 ? 32 * x + 8 : 32 * x;
}

QSize labelSize(int n)
{
    return {n < 10 ? 7 : 14, 16};
}

ControlDef label(const QString& name, QPoint at, QSize size, const QString& text, FontStyle font = windowFont())
{
    ControlDef c{name, ControlType::Label, QRect(at, size), text, font};
    return c;
}

void addNumberLabels(std::vector<ControlDef>& out, const Geometry& g)
{
    const FontStyle font = tahoma(13);
    auto add = [&](int number, int nameIndex, QPoint at) {
        out.push_back(label(QStringLiteral("Label%1").arg(nameIndex), at, labelSize(number), QString::number(number), font));
    };
    for (int x = 1; x <= go::BoardSize; ++x)
        add(x, 61 + x, {columnLabelLeft(x), 40});
    // Below the board: Label1..Label4 then Label6..Label20 (Label5 is a row label).
    for (int x = 1; x <= go::BoardSize; ++x)
        add(x, x <= 4 ? x : x + 1, {columnLabelLeft(x), g.bottomLabelTop});
    for (int y = 1; y <= go::BoardSize; ++y)
        add(y, y == 1 ? 5 : go::BoardSize + y, {8, g.rowPitch * y + g.rowLabelTop});
    for (int y = 1; y <= go::BoardSize; ++y)
        add(y, 42 + y, {640, g.rowPitch * y + g.rowLabelTop});
}

void addCells(std::vector<ControlDef>& out, const Geometry& g)
{
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            ControlDef c{cellName(x, y), ControlType::Cell, QRect(32 * x - 8, g.rowPitch * y + g.rowTop, 33, g.cellHeight),
                          QString(), tahoma(15)};
            // Positions 285 to 288 belong to controls that Tab never reaches.
            c.tabOrder = go::pointOf(x, y) + (y >= 16 ? 4 : 0);
            c.tabStop = true;
            c.hasBackground = true;
            c.background = emptyColour(x, y);
            out.push_back(c);
        }
    }
}

enum class Shown { Always, StandardOnly, Never };

// One control of the side panel: where each build puts it, and what it shows.
struct PanelRow {
    QString name;
    ControlType type;
    QRect standard;
    QRect small;
    int tabOrder; // -1: none
    bool tabStop;
    QString caption;
    FontStyle font;
    Shown shown = Shown::Always;
    Rgb background = 0; // 0: the control's own
};

std::vector<PanelRow> panelRows()
{
    const FontStyle command = tahoma(13, true, Blue);
    const FontStyle plain = windowFont();
    const QSize b(121, 33);
    const QSize s(105, 25);
    return {
        {QStringLiteral("lblHyoudai"), ControlType::Label, QRect(24, 16, 86, 16), QRect(24, 16, 86, 16), -1, false,
         texts::TitleNewInput, FontStyle{texts::MinchoFace, 16, true, Blue}},
        {QStringLiteral("Label39"), ControlType::Label, QRect(920, 8, 51, 21), QRect(664, 296, 51, 21), -1, false,
         texts::TotalCaption, tahoma(17)},
        {QStringLiteral("SouTesuu"), ControlType::Edit, QRect(920, 32, 57, 29), QRect(720, 296, 57, 29), 287, false,
         QString(), tahoma(17, true, Blue)},
        {QStringLiteral("Label40"), ControlType::Label, QRect(984, 40, 17, 21), QRect(784, 304, 17, 21), -1, false,
         texts::Te, tahoma(17)},
        {QStringLiteral("Label81"), ControlType::Label, QRect(912, 72, 88, 13), QRect(800, 296, 88, 13), -1, false,
         texts::OffsetCaption, plain},
        {QStringLiteral("txtPuls"), ControlType::Edit, QRect(936, 88, 41, 24), QRect(824, 312, 41, 24), 374, false,
         QString(), tahoma(13)},
        {QStringLiteral("RadioGroup1"), ControlType::RadioGroup, QRect(912, 120, 89, 41), QRect(664, 336, 89, 41), 375, true,
         texts::FirstPlayerCaption, plain},
        {QStringLiteral("lblOkiisi"), ControlType::Label, QRect(920, 168, 84, 13), QRect(672, 384, 84, 13), -1, false,
         texts::HandicapHint, plain},
        {QStringLiteral("cmdKensaku"), ControlType::Button, QRect(904, 192, 49, 25), QRect(768, 344, 49, 25), 377, false,
         texts::SearchCaption, plain},
        {QStringLiteral("txtKensaku"), ControlType::Edit, QRect(960, 192, 41, 24), QRect(824, 344, 41, 24), 376, false,
         QString(), tahoma(13)},
        {QStringLiteral("Label83"), ControlType::Label, QRect(1005, 200, 12, 13), QRect(869, 352, 12, 13), -1, false,
         texts::Te, plain},
        {QStringLiteral("Button1"), ControlType::Button, QRect(QPoint(896, 240), b), QRect(QPoint(664, 408), s), 288, false,
         texts::Button1Caption, plain},
        {QStringLiteral("Button2"), ControlType::Button, QRect(QPoint(896, 280), b), QRect(QPoint(784, 408), s), 372, false,
         texts::Button2Caption, plain},
        {QStringLiteral("cmdLockKaizyo2"), ControlType::Toggle, QRect(QPoint(896, 320), b), QRect(QPoint(664, 440), s), -1,
         false, texts::LockCaption, plain, Shown::Never},
        {QStringLiteral("cmdLockKaizyo"), ControlType::Toggle, QRect(QPoint(896, 320), b), QRect(QPoint(664, 440), s), -1,
         false, texts::LockCaption, plain, Shown::Never},
        {QStringLiteral("cmdNew"), ControlType::Button, QRect(QPoint(896, 360), b), QRect(QPoint(664, 472), s), 371, true,
         texts::NewCaption, command},
        {QStringLiteral("cmdOpen"), ControlType::Button, QRect(QPoint(896, 400), b), QRect(QPoint(664, 504), s), 370, true,
         texts::OpenCaption, command},
        {QStringLiteral("cmdSave"), ControlType::Button, QRect(QPoint(896, 440), b), QRect(QPoint(784, 472), s), 368, true,
         texts::SaveCaption, command},
        {QStringLiteral("cmdShuuryou"), ControlType::Button, QRect(QPoint(896, 480), b), QRect(QPoint(784, 504), s), 369, true,
         texts::QuitCaption, command},
        {QStringLiteral("Label42"), ControlType::Label, QRect(656, 48, 116, 13), QRect(656, 48, 116, 13), -1, false,
         texts::ListCaption2, plain},
        {QStringLiteral("StringGrid2"), ControlType::Grid, QRect(664, 64, 105, 449), QRect(664, 64, 105, 225), 373, false,
         QString(), tahoma(15)},
        {QStringLiteral("Label41"), ControlType::Label, QRect(672, 520, 72, 13), QRect(784, 440, 72, 13), -1, false,
         texts::LogCaption, plain, Shown::StandardOnly},
        {QStringLiteral("Memo1"), ControlType::Memo, QRect(664, 536, 353, 137), QRect(856, 440, 17, 25), 366, false,
         texts::MemoInitial, plain, Shown::StandardOnly, colours::Log},
        // Hidden text storage and the list of a loaded file.
        {QStringLiteral("GameInfo"), ControlType::Edit, QRect(576, 8, 17, 21), QRect(576, 8, 17, 21), 286, false, QString(),
         plain, Shown::Never},
        {QStringLiteral("SankouZu"), ControlType::Edit, QRect(592, 8, 17, 25), QRect(592, 8, 17, 25), 367, false,
         texts::SankouZuInitial, plain, Shown::Never},
        {QStringLiteral("ControlMei"), ControlType::Edit, QRect(608, 8, 17, 21), QRect(608, 8, 17, 21), 285, false, QString(),
         plain, Shown::Never},
        {QStringLiteral("lblNyuuryokuSumi"), ControlType::Label, QRect(776, 48, 127, 13), QRect(776, 48, 127, 13), -1, false,
         texts::ListCaption1, plain, Shown::Never},
        {QStringLiteral("StringGrid1"), ControlType::Grid, QRect(784, 64, 105, 449), QRect(784, 64, 105, 225), 365, false,
         QString(), tahoma(15), Shown::Never, colours::LockedList},
    };
}

void addPanel(std::vector<ControlDef>& out, bool small)
{
    for (const PanelRow& row : panelRows()) {
        ControlDef c{row.name, row.type, small ? row.small : row.standard, row.caption, row.font};
        c.tabOrder = row.tabOrder;
        c.tabStop = row.tabStop;
        c.visible = row.shown == Shown::Always || (row.shown == Shown::StandardOnly && !small);
        c.hasBackground = row.background != 0;
        if (c.hasBackground)
            c.background = row.background;
        out.push_back(c);
    }
}

} // namespace

const ControlDef* WindowLayout::find(const QString& name) const
{
    for (const ControlDef& c : controls) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

WindowLayout windowLayout(const BuildKind& kind)
{
    WindowLayout w;
    w.outerSize = kind.small ? QSize(913, 580) : QSize(1036, 727);
    w.clientSize = w.outerSize - QSize(FrameWidth, FrameHeight);
    w.windowFont = windowFont();
    const Geometry g = boardGeometry(kind.small);
    addCells(w.controls, g);
    addNumberLabels(w.controls, g);
    addPanel(w.controls, kind.small);
    return w;
}
