#include "app/layout.h"

#include "board/cellname.h"
#include "board/form.h"
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
    for (int x = 1; x <= 19; ++x)
        add(x, 61 + x, {columnLabelLeft(x), 40});
    // Below the board: Label1..Label4 then Label6..Label20 (Label5 is a row label).
    for (int x = 1; x <= 19; ++x)
        add(x, x <= 4 ? x : x + 1, {columnLabelLeft(x), g.bottomLabelTop});
    for (int y = 1; y <= 19; ++y)
        add(y, y == 1 ? 5 : 19 + y, {8, g.rowPitch * y + g.rowLabelTop});
    for (int y = 1; y <= 19; ++y)
        add(y, 42 + y, {640, g.rowPitch * y + g.rowLabelTop});
}

void addCells(std::vector<ControlDef>& out, const Geometry& g)
{
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            ControlDef c{cellName(x, y), ControlType::Cell, QRect(32 * x - 8, g.rowPitch * y + g.rowTop, 33, g.cellHeight),
                          QString(), tahoma(15)};
            // Positions 285 to 288 belong to controls that Tab never reaches.
            c.tabOrder = 19 * (y - 1) + (x - 1) + (y >= 16 ? 4 : 0);
            c.tabStop = true;
            c.hasBackground = true;
            c.background = emptyColour(x, y);
            out.push_back(c);
        }
    }
}

ControlDef control(const QString& name, ControlType type, QRect r, const QString& text, FontStyle font,
                    int tabOrder = -1, bool tabStop = false)
{
    ControlDef c{name, type, r, text, font};
    c.tabOrder = tabOrder;
    c.tabStop = tabStop;
    return c;
}

// Where the side panel differs between the builds.
struct Panel {
    QRect grid2, grid1, label39, souTesuu, label40, label81, txtPuls, radio, kensaku, txtKensaku, label83, okiisi;
    QRect button1, button2, lock, cmdNew, cmdOpen, cmdSave, cmdShuuryou, label41, memo;
    bool logShown;
};

Panel standardPanel()
{
    const QSize b(121, 33);
    return {QRect(664, 64, 105, 449), QRect(784, 64, 105, 449), QRect(920, 8, 51, 21), QRect(920, 32, 57, 29),
            QRect(984, 40, 17, 21), QRect(912, 72, 88, 13), QRect(936, 88, 41, 24), QRect(912, 120, 89, 41),
            QRect(904, 192, 49, 25), QRect(960, 192, 41, 24), QRect(1005, 200, 12, 13), QRect(920, 168, 84, 13),
            QRect(QPoint(896, 240), b), QRect(QPoint(896, 280), b), QRect(QPoint(896, 320), b), QRect(QPoint(896, 360), b),
            QRect(QPoint(896, 400), b), QRect(QPoint(896, 440), b), QRect(QPoint(896, 480), b), QRect(672, 520, 72, 13),
            QRect(664, 536, 353, 137), true};
}

Panel smallPanel()
{
    const QSize b(105, 25);
    return {QRect(664, 64, 105, 225), QRect(784, 64, 105, 225), QRect(664, 296, 51, 21), QRect(720, 296, 57, 29),
            QRect(784, 304, 17, 21), QRect(800, 296, 88, 13), QRect(824, 312, 41, 24), QRect(664, 336, 89, 41),
            QRect(768, 344, 49, 25), QRect(824, 344, 41, 24), QRect(869, 352, 12, 13), QRect(672, 384, 84, 13),
            QRect(QPoint(664, 408), b), QRect(QPoint(784, 408), b), QRect(QPoint(664, 440), b), QRect(QPoint(664, 472), b),
            QRect(QPoint(664, 504), b), QRect(QPoint(784, 472), b), QRect(QPoint(784, 504), b), QRect(784, 440, 72, 13),
            QRect(856, 440, 17, 25), false};
}

void addPanel(std::vector<ControlDef>& out, const Panel& p)
{
    const FontStyle command = tahoma(13, true, Blue);
    auto push = [&](ControlDef c) { out.push_back(std::move(c)); };

    ControlDef title = label(QStringLiteral("lblHyoudai"), {24, 16}, {86, 16}, texts::TitleNewInput,
                              FontStyle{texts::MinchoFace, 16, true, Blue});
    push(title);
    push(label(QStringLiteral("Label39"), p.label39.topLeft(), p.label39.size(), texts::TotalCaption, tahoma(17)));
    push(control(QStringLiteral("SouTesuu"), ControlType::Edit, p.souTesuu, QString(), tahoma(17, true, Blue), 287));
    push(label(QStringLiteral("Label40"), p.label40.topLeft(), p.label40.size(), texts::Te, tahoma(17)));
    push(label(QStringLiteral("Label81"), p.label81.topLeft(), p.label81.size(), texts::OffsetCaption));
    push(control(QStringLiteral("txtPuls"), ControlType::Edit, p.txtPuls, QString(), tahoma(13), 374));
    push(control(QStringLiteral("RadioGroup1"), ControlType::RadioGroup, p.radio, texts::FirstPlayerCaption, windowFont(), 375, true));
    push(label(QStringLiteral("lblOkiisi"), p.okiisi.topLeft(), p.okiisi.size(), texts::HandicapHint));
    push(control(QStringLiteral("cmdKensaku"), ControlType::Button, p.kensaku, texts::SearchCaption, windowFont(), 377));
    push(control(QStringLiteral("txtKensaku"), ControlType::Edit, p.txtKensaku, QString(), tahoma(13), 376));
    push(label(QStringLiteral("Label83"), p.label83.topLeft(), p.label83.size(), texts::Te));
    push(control(QStringLiteral("Button1"), ControlType::Button, p.button1, texts::Button1Caption, windowFont(), 288));
    push(control(QStringLiteral("Button2"), ControlType::Button, p.button2, texts::Button2Caption, windowFont(), 372));
    ControlDef lock = control(QStringLiteral("cmdLockKaizyo2"), ControlType::Toggle, p.lock, texts::LockCaption, windowFont());
    lock.visible = false;
    push(lock);
    ControlDef spareLock = control(QStringLiteral("cmdLockKaizyo"), ControlType::Toggle, p.lock, texts::LockCaption, windowFont());
    spareLock.visible = false;
    push(spareLock);
    push(control(QStringLiteral("cmdNew"), ControlType::Button, p.cmdNew, texts::NewCaption, command, 371, true));
    push(control(QStringLiteral("cmdOpen"), ControlType::Button, p.cmdOpen, texts::OpenCaption, command, 370, true));
    push(control(QStringLiteral("cmdSave"), ControlType::Button, p.cmdSave, texts::SaveCaption, command, 368, true));
    push(control(QStringLiteral("cmdShuuryou"), ControlType::Button, p.cmdShuuryou, texts::QuitCaption, command, 369, true));
    push(label(QStringLiteral("Label42"), {656, 48}, {116, 13}, texts::ListCaption2));
    ControlDef grid2 = control(QStringLiteral("StringGrid2"), ControlType::Grid, p.grid2, QString(), tahoma(15), 373);
    push(grid2);
    ControlDef log = label(QStringLiteral("Label41"), p.label41.topLeft(), p.label41.size(), texts::LogCaption);
    log.visible = p.logShown;
    push(log);
    ControlDef memo = control(QStringLiteral("Memo1"), ControlType::Memo, p.memo, texts::MemoInitial, windowFont(), 366);
    memo.visible = p.logShown;
    memo.hasBackground = true;
    memo.background = colours::Log;
    push(memo);

    // Hidden text storage and the list of a loaded file.
    ControlDef gameInfo = control(QStringLiteral("GameInfo"), ControlType::Edit, QRect(576, 8, 17, 21), QString(), windowFont(), 286);
    gameInfo.visible = false;
    push(gameInfo);
    ControlDef sankouZu = control(QStringLiteral("SankouZu"), ControlType::Edit, QRect(592, 8, 17, 25), texts::SankouZuInitial,
                                   windowFont(), 367);
    sankouZu.visible = false;
    push(sankouZu);
    ControlDef controlMei = control(QStringLiteral("ControlMei"), ControlType::Edit, QRect(608, 8, 17, 21), QString(), windowFont(), 285);
    controlMei.visible = false;
    push(controlMei);
    ControlDef listCaption = label(QStringLiteral("lblNyuuryokuSumi"), {776, 48}, {127, 13}, texts::ListCaption1);
    listCaption.visible = false;
    push(listCaption);
    ControlDef grid1 = control(QStringLiteral("StringGrid1"), ControlType::Grid, p.grid1, QString(), tahoma(15), 365);
    grid1.visible = false;
    grid1.hasBackground = true;
    grid1.background = colours::LockedList;
    push(grid1);
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
    addPanel(w.controls, kind.small ? smallPanel() : standardPanel());
    return w;
}
