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

namespace {

// The frame of a point in doubt: a colour no cell takes, so that a cell's own colours keep
// their meaning under it.
const QColor DoubtColour(255, 0, 0);
const QColor FocusColour = QColor::fromRgba(colours::Focus);
constexpr int HintHeight = 22;

// F6, from either window: the keyboard goes back to the main window, to the next point in doubt.
void goToNextDoubt(TForm1& main)
{
    if (main.working() || QApplication::activeModalWidget() || !anyUnsurePoint(main.form()))
        return;
    main.activateWindow();
    main.dispatch([&main] { nextUnsurePoint(main.form(), main.ui()); });
}

} // namespace

PictureWindow::PictureWindow(TForm1& main, const QImage& straight, int pitch, const QString& source)
    : QWidget(&main, Qt::Window)
    , main_(main)
    , straight_(straight)
    , pitch_(pitch)
{
    setObjectName(QStringLiteral("PictureWindow"));
    setWindowTitle(texts::PictureWindowTitle.arg(source));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::ClickFocus);
    resize(520, 520 + HintHeight);
}

void PictureWindow::setMarks(const std::array<bool, 361>& unsure, std::optional<std::pair<int, int>> focus)
{
    if (unsure == unsure_ && focus == focus_)
        return;
    unsure_ = unsure;
    focus_ = focus;
    update();
}

void PictureWindow::showBeside()
{
    if (!placed_) {
        placed_ = true;
        const QRect frame = main_.frameGeometry();
        const QScreen* screen = main_.screen();
        const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
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
    const qreal side = qMax(1, qMin(width(), height() - HintHeight));
    return QRectF((width() - side) / 2, 0, side, side);
}

QRectF PictureWindow::pointRect(int x, int y) const
{
    // The picture shows the points from half a line before the first to half a line after
    // the last.
    const QRectF board = boardRect();
    const qreal step = board.width() / 19;
    return QRectF(board.left() + (x - 1) * step, board.top() + (y - 1) * step, step, step);
}

void PictureWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRectF source(pitch_ / 2.0, pitch_ / 2.0, 19.0 * pitch_, 19.0 * pitch_);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(boardRect(), straight_, source);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal step = boardRect().width() / 19;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(DoubtColour, qMax<qreal>(2, step / 10)));
    for (int i = 0; i < 361; ++i) {
        if (unsure_[std::size_t(i)])
            p.drawRect(pointRect(i % 19 + 1, i / 19 + 1).adjusted(step / 10, step / 10, -step / 10, -step / 10));
    }
    if (focus_) {
        p.setPen(QPen(FocusColour, qMax<qreal>(3, step / 6)));
        p.drawEllipse(pointRect(focus_->first, focus_->second).adjusted(-step / 8, -step / 8, step / 8, step / 8));
    }
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRectF(0, height() - HintHeight, width(), HintHeight), Qt::AlignCenter, texts::PictureWindowHint);
}

void PictureWindow::mousePressEvent(QMouseEvent* event)
{
    const QRectF board = boardRect();
    if (!board.contains(event->position()))
        return;
    const qreal step = board.width() / 19;
    const int x = qBound(1, int((event->position().x() - board.left()) / step) + 1, 19);
    const int y = qBound(1, int((event->position().y() - board.top()) / step) + 1, 19);
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

void BoardMarks::setMarks(const std::array<bool, 361>& unsure)
{
    const bool any = std::find(unsure.begin(), unsure.end(), true) != unsure.end();
    // Placed over the cells once each time it appears; every event passes here.
    if (any && isHidden()) {
        QRect over;
        for (int y = 1; y <= 19; ++y) {
            for (int x = 1; x <= 19; ++x)
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
    for (int i = 0; i < 361; ++i) {
        if (!unsure_[std::size_t(i)])
            continue;
        const QLineEdit* cell = main_.cell(i % 19 + 1, i / 19 + 1);
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
