#include "app/picturepaste.h"

#include "app/tform1.h"
#include "board/cellname.h"
#include "board/texts.h"
#include "diagram/diagram.h"
#include "entry/readboard.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QUrl>

namespace {

// What the reader decodes; other files are left to whatever else takes drops.
bool namesPicture(const QString& path)
{
    static const QStringList suffixes{"png", "jpg", "jpeg", "jpe", "bmp", "dib", "tif", "tiff"};
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

// Text wins: a program that copies text often adds a picture of it.
bool clipboardHoldsPicture(const QMimeData* mime)
{
    return mime && mime->hasImage() && !mime->hasText();
}

// Holds the wait cursor while a picture is read: a page can take a second.
class Busy {
public:
    Busy() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Busy() { QGuiApplication::restoreOverrideCursor(); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
};

// Transparent parts on white, as a page shows them, then the reader's byte order.
QImage flattened(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_BGR888);
    QImage page(image.size(), QImage::Format_RGB32);
    if (page.isNull())
        return page;
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.drawImage(0, 0, image);
    painter.end();
    return page.convertToFormat(QImage::Format_BGR888);
}

} // namespace

PicturePaste::PicturePaste(TForm1& window)
    : QObject(&window)
    , window_(window)
{
    // A key or a drop reaches the control under it first; the application's filter sees it
    // before any control does, whichever has the focus.
    qApp->installEventFilter(this);
    window_.setAcceptDrops(true);
}

QStringList PicturePaste::pictureFiles(const QMimeData* mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile() && namesPicture(url.toLocalFile()))
            files << url.toLocalFile();
    }
    return files;
}

bool PicturePaste::inWindow(QObject* watched) const
{
    const auto* w = qobject_cast<QWidget*>(watched);
    return w && w->window() == &window_;
}

bool PicturePaste::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->matches(QKeySequence::Paste) || !inWindow(watched))
            return false;
        // Holding the keys down must not read the picture again and again.
        return key->isAutoRepeat() ? clipboardHoldsPicture(QGuiApplication::clipboard()->mimeData()) : pastePicture();
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!inWindow(watched) || !acceptsDrop(drag->mimeData()))
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* dropped = static_cast<QDropEvent*>(event);
        if (!inWindow(watched) || !acceptsDrop(dropped->mimeData()))
            return false;
        dropped->acceptProposedAction();
        drop(dropped->mimeData());
        return true;
    }
    default:
        return false;
    }
}

bool PicturePaste::pastePicture()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!clipboardHoldsPicture(mime))
        return false;
    readImage(qvariant_cast<QImage>(mime->imageData()), texts::ClipboardPicture);
    return true;
}

bool PicturePaste::acceptsDrop(const QMimeData* mime) const
{
    return mime && (!pictureFiles(mime).isEmpty() || (mime->hasImage() && !mime->hasUrls()));
}

void PicturePaste::drop(const QMimeData* mime)
{
    // The source of the drag waits for the drop to end; the question and the reading come after.
    const QStringList files = pictureFiles(mime);
    if (!files.isEmpty()) {
        const QString path = files.first();
        QMetaObject::invokeMethod(this, [this, path] { readFile(path); }, Qt::QueuedConnection);
        return;
    }
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    QMetaObject::invokeMethod(this, [this, image] { readImage(image, texts::ClipboardPicture); }, Qt::QueuedConnection);
}

void PicturePaste::readImage(const QImage& image, const QString& source)
{
    diagram::Result result;
    {
        const Busy busy;
        const QImage page = image.isNull() ? QImage() : flattened(image);
        if (page.isNull()) {
            result.failure = image.isNull() ? diagram::Failure::NotAPicture : diagram::Failure::TooLarge;
        } else {
            result = diagram::readPixels(page.width(), page.height(), int(page.bytesPerLine()), 3, page.constBits());
        }
    }
    enter(result, source);
}

void PicturePaste::readFile(const QString& path)
{
    diagram::Result result;
    {
        const Busy busy;
        result = diagram::readFile(QFile::encodeName(path).toStdString());
    }
    enter(result, QDir::toNativeSeparators(path));
}

void PicturePaste::enter(const diagram::Result& result, const QString& source)
{
    // The cell being typed in is left before its text is replaced, so its exit handling sees
    // what the operator typed, and the reading's focus move starts from no cell.
    QPointer<QWidget> cell = QApplication::focusWidget();
    if (cell && (cell->window() != &window_ || !qobject_cast<QLineEdit*>(cell.data())
                 || !cellOfName(cell->objectName())))
        cell = nullptr;
    if (cell && result.failure == diagram::Failure::None)
        cell->clearFocus();
    window_.dispatch([this, &result, &source] { readBoard(window_.form(), window_.ui(), result, source); });
    const QWidget* focus = QApplication::focusWidget();
    if (cell && cell->isEnabled() && (!focus || focus->window() != &window_))
        cell->setFocus(Qt::OtherFocusReason);
}
