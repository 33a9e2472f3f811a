#include "app/picturewindow.h"

#include "app/tform1.h"
#include "board/cellname.h"
#include "board/colours.h"
#include "board/texts.h"
#include "entry/unsurepoints.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <algorithm>

namespace {

// The frame of a point in doubt: a colour no cell takes, so that a cell's own colours keep
// their meaning under it.
const QColor DoubtColour(255, 0, 0);
const QColor FocusColour = QColor::fromRgba(colours::Focus);
constexpr int HintHeight = 22;
// The magnified points below the board: this many a side, the side this share of the board's.
constexpr int LoupePoints = 3;
constexpr qreal LoupeShare = 0.6;
// Board, magnified points and hint, with a frame and a title bar, fit beside the small-screen
// window on a 1366 x 768 screen.
constexpr int WindowWidth = 440;
constexpr int WindowHeight = int(WindowWidth * (1 + LoupeShare)) + HintHeight;

// F6, from either window: the keyboard goes back to the main window, to the next point in doubt.
void goToNextDoubt(TForm1& main)
{
    if (main.working() || QApplication::activeModalWidget() || !anyUnsurePoint(main.form()))
        return;
    main.activateWindow();
    main.goToDoubt(false);
}

} // namespace

PictureWindow::PictureWindow(TForm1& main, const QImage& straight, int pitch, const QString& source)
    : QWidget(&main, Qt::Window)
    , main_(main)
    , straight_(straight)
    , source_(source)
    , pitch_(pitch)
{
    setObjectName(QStringLiteral("PictureWindow"));
    setWindowTitle(texts::PictureWindowTitle.arg(source));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::ClickFocus);
    resize(WindowWidth, WindowHeight);
}

void PictureWindow::setMarks(const std::array<bool, go::Points>& unsure, std::optional<std::pair<int, int>> focus)
{
    if (unsure == unsure_ && focus == focus_)
        return;
    unsure_ = unsure;
    focus_ = focus;
    const int left = int(std::count(unsure.begin(), unsure.end(), true));
    setWindowTitle(texts::PictureWindowTitle.arg(source_) + texts::DoubtsLeft.arg(left));
    update();
}

void PictureWindow::showBeside()
{
    if (!placed_) {
        placed_ = true;
        const QRect frame = main_.frameGeometry();
        const QScreen* screen = main_.screen();
        const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
        // The title bar and frame, as the main window has them.
        const int frameHeight = qMax(0, frame.height() - main_.height());
        if (height() + frameHeight > room.height()) {
            const int fitted = qMax(200, room.height() - frameHeight);
            resize(int((fitted - HintHeight) / (1 + LoupeShare)), fitted);
        }
        int x = frame.right() + 1;
        if (x + width() > room.right())
            x = frame.left() - width() - 1 >= room.left() ? frame.left() - width() - 1 : room.right() - width();
        move(qMax(room.left(), x), qMax(room.top(), frame.top()));
    }
    show();
    raise();
    // The keyboard stays with the main window, where the operator types. A platform may
    // activate a window shown only once it is drawn, so the main one is asked again then.
    main_.activateWindow();
    QTimer::singleShot(0, &main_, [main = &main_] { main->activateWindow(); });
}

QRectF PictureWindow::boardRect() const
{
    const qreal side = qMax<qreal>(1, qMin<qreal>(width(), (height() - HintHeight) / (1 + LoupeShare)));
    return QRectF((width() - side) / 2, 0, side, side);
}

QRectF PictureWindow::loupeRect() const
{
    if (!focus_)
        return {};
    const QRectF board = boardRect();
    const qreal side = board.width() * LoupeShare;
    return QRectF((width() - side) / 2, board.bottom(), side, side);
}

QRectF PictureWindow::pointRect(int x, int y) const
{
    // The picture shows the points from half a line before the first to half a line after
    // the last.
    const QRectF board = boardRect();
    const qreal step = board.width() / go::BoardSize;
    return QRectF(board.left() + (x - 1) * step, board.top() + (y - 1) * step, step, step);
}

void PictureWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRectF source(pitch_ / 2.0, pitch_ / 2.0, go::BoardSize * pitch_, go::BoardSize * pitch_);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(boardRect(), straight_, source);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal step = boardRect().width() / go::BoardSize;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(DoubtColour, qMax<qreal>(2, step / 10)));
    for (int i = 0; i < go::Points; ++i) {
        if (unsure_[std::size_t(i)])
            p.drawRect(pointRect(go::columnOf(i), go::rowOf(i)).adjusted(step / 10, step / 10, -step / 10, -step / 10));
    }
    if (focus_) {
        p.setPen(QPen(FocusColour, qMax<qreal>(3, step / 6)));
        p.drawEllipse(pointRect(focus_->first, focus_->second).adjusted(-step / 8, -step / 8, step / 8, step / 8));
    }
    paintLoupe(p);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRectF(0, height() - HintHeight, width(), HintHeight), Qt::AlignCenter, texts::PictureWindowHint);
}

void PictureWindow::paintLoupe(QPainter& p) const
{
    const QRectF area = loupeRect();
    if (area.isEmpty())
        return;
    // The focused point in the middle, or at the side where it is on the edge of the board, so
    // that every one of the points shown is on the board.
    const int half = LoupePoints / 2;
    const int left = qBound(1, focus_->first - half, 20 - LoupePoints);
    const int top = qBound(1, focus_->second - half, 20 - LoupePoints);
    // Point (x, y) stands at (x, y) lines of the straightened board.
    const QRectF source((left - 0.5) * pitch_, (top - 0.5) * pitch_, LoupePoints * pitch_, LoupePoints * pitch_);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(area, straight_, source);
    const qreal step = area.width() / LoupePoints;
    const auto cellRect = [&](int x, int y) {
        return QRectF(area.left() + (x - left) * step, area.top() + (y - top) * step, step, step);
    };
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(DoubtColour, 2));
    for (int y = top; y < top + LoupePoints; ++y) {
        for (int x = left; x < left + LoupePoints; ++x) {
            if (unsure_[std::size_t(go::pointOf(x, y))])
                p.drawRect(cellRect(x, y).adjusted(3, 3, -3, -3));
        }
    }
    p.setPen(QPen(FocusColour, 3));
    p.drawRect(cellRect(focus_->first, focus_->second).adjusted(1.5, 1.5, -1.5, -1.5));
}

void PictureWindow::mousePressEvent(QMouseEvent* event)
{
    const QRectF board = boardRect();
    if (!board.contains(event->position()))
        return;
    const qreal step = board.width() / go::BoardSize;
    const int x = qBound(1, int((event->position().x() - board.left()) / step) + 1, go::BoardSize);
    const int y = qBound(1, int((event->position().y() - board.top()) / step) + 1, go::BoardSize);
    if (main_.working() || !main_.cell(x, y)->isEnabled())
        return;
    main_.activateWindow();
    main_.focusControl(cellName(x, y));
}

void PictureWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_F6 && event->modifiers() == Qt::NoModifier) {
        goToNextDoubt(main_);
        return;
    }
    QWidget::keyPressEvent(event);
}

BoardMarks::BoardMarks(TForm1& main)
    : QWidget(&main)
    , main_(main)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void BoardMarks::setMarks(const std::array<bool, go::Points>& unsure)
{
    const bool any = std::find(unsure.begin(), unsure.end(), true) != unsure.end();
    // Placed over the cells once each time it appears; every event passes here.
    if (any && isHidden()) {
        QRect over;
        for (int y = 1; y <= go::BoardSize; ++y) {
            for (int x = 1; x <= go::BoardSize; ++x)
                over |= main_.cell(x, y)->geometry();
        }
        setGeometry(over.adjusted(-2, -2, 2, 2));
        raise();
    }
    if (unsure != unsure_) {
        unsure_ = unsure;
        update();
    }
    setVisible(any);
}

void BoardMarks::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(DoubtColour, 3));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < go::Points; ++i) {
        if (!unsure_[std::size_t(i)])
            continue;
        const QLineEdit* cell = main_.cell(go::columnOf(i), go::rowOf(i));
        const QRect r(cell->geometry().topLeft() - pos(), cell->geometry().size());
        p.drawRect(QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5));
    }
}

void bindPictureKeys(TForm1& main)
{
    auto* next = new QShortcut(QKeySequence(Qt::Key_F6), &main);
    QObject::connect(next, &QShortcut::activated, &main, [&main] { goToNextDoubt(main); });
    auto* show = new QShortcut(QKeySequence(Qt::Key_F7), &main);
    QObject::connect(show, &QShortcut::activated, &main, [&main] {
        if (!main.working())
            main.showPictureWindow();
    });
}
