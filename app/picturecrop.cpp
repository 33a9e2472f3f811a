#include "app/picturecrop.h"

#include "board/texts.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int HintHeight = 22;
// A smaller rectangle is a click, not a board.
constexpr int SmallestDrag = 16;

} // namespace

PictureCrop::PictureCrop(QWidget* main, const QImage& picture, const QString& source, std::function<void(const QImage&)> read)
    : QWidget(main, Qt::Window)
    , picture_(picture)
    , read_(std::move(read))
{
    setObjectName(QStringLiteral("PictureCrop"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(texts::CropWindowTitle.arg(source));
    setCursor(Qt::CrossCursor);
    // The whole picture, as large as the screen allows and never magnified.
    const QScreen* screen = main ? main->screen() : QGuiApplication::primaryScreen();
    const QSize room = (screen ? screen->availableGeometry().size() : QSize(1280, 800)) * 0.9;
    QSize shown = picture_.size();
    if (shown.width() > room.width() || shown.height() + HintHeight > room.height())
        shown.scale(room.width(), room.height() - HintHeight, Qt::KeepAspectRatio);
    resize(qMax(shown.width(), 320), shown.height() + HintHeight);
}

QRectF PictureCrop::pictureRect() const
{
    QSizeF shown = picture_.size();
    shown.scale(QSizeF(width(), qMax(1, height() - HintHeight)), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - shown.width()) / 2, 0), shown);
}

void PictureCrop::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(pictureRect(), picture_);
    if (dragging_) {
        p.setPen(QPen(QColor(0, 0, 255), 2, Qt::DashLine));
        p.setBrush(QColor(0, 0, 255, 40));
        p.drawRect(QRectF(from_, to_).normalized());
    }
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRectF(0, height() - HintHeight, width(), HintHeight), Qt::AlignCenter, texts::CropWindowHint);
}

void PictureCrop::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    from_ = to_ = event->position();
    update();
}

void PictureCrop::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    to_ = event->position();
    update();
}

void PictureCrop::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_ || event->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    to_ = event->position();
    update();
    const QRectF shown = pictureRect();
    const QRectF dragged = QRectF(from_, to_).normalized() & shown;
    if (dragged.width() < SmallestDrag || dragged.height() < SmallestDrag)
        return;
    const qreal scale = picture_.width() / shown.width();
    const QRect part = QRectF((dragged.left() - shown.left()) * scale, (dragged.top() - shown.top()) * scale,
                              dragged.width() * scale, dragged.height() * scale)
                           .toAlignedRect()
                       & picture_.rect();
    const QImage cut = picture_.copy(part);
    // The reading asks and shows its own windows: this one goes first, and the reading starts
    // once the release is done with.
    QTimer::singleShot(0, parentWidget(), [read = read_, cut] { read(cut); });
    close();
}

void PictureCrop::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
