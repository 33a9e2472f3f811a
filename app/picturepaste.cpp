#include "app/picturepaste.h"

#include "app/longwork.h"
#include "app/picturecrop.h"
#include "transcribe/readboard.h"
#include "app/tform1.h"
#include "board/cellname.h"
#include "board/texts.h"
#include "diagram/diagram.h"
#include "diagram/pictureheader.h"
#include "diagram/readerlibrary.h"
#include "transcribe/nextfigure.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QUrl>

#include <algorithm>
#include <iterator>

namespace {

// Names that say picture, in any format the reader tells apart; a file so named is the
// reader's to take or refuse with its reason. Other files are taken only when their first
// bytes say picture.
bool namesPicture(const QString& path)
{
    static const QStringList suffixes{"png",  "jpg", "jpeg", "jpe", "jfif", "bmp", "dib", "tif", "tiff",
                                      "webp", "gif", "heic", "heif", "avif", "hdr", "pfm", "exr", "jp2"};
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

bool looksLikePicture(const QString& path)
{
    const QFileInfo info(path);
    // Only a plain file is opened: a pipe would hold the drop until something wrote to it.
    if (!info.isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4096);
    return diagram::readPictureHeader(reinterpret_cast<const std::uint8_t*>(head.constData()), std::size_t(head.size())).format
           != diagram::Format::Unknown;
}

const char* const encodedTypes[] = {"image/png", "image/jpeg", "image/webp", "image/tiff", "image/bmp"};

// Text wins: a program that copies text often adds a picture of it.
bool clipboardHoldsPicture(const QMimeData* mime)
{
    if (!mime || mime->hasText())
        return false;
    return mime->hasImage()
           || std::any_of(std::begin(encodedTypes), std::end(encodedTypes),
                          [mime](const char* type) { return mime->hasFormat(QLatin1String(type)); });
}

// The clipboard's own encoded bytes, where it offers them, read as a file is: the EXIF turn
// and the transparency are then handled the same way on every path.
QByteArray encodedPicture(const QMimeData* mime)
{
    for (const char* type : encodedTypes) {
        const QString name = QLatin1String(type);
        if (!mime->hasFormat(name))
            continue;
        const QByteArray bytes = mime->data(name);
        if (!bytes.isEmpty())
            return bytes;
    }
    return {};
}

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
    // Qt refuses pictures over 128 MB of pixels by default, half of what the reader takes.
    QImageReader::setAllocationLimit(1024);
}

QStringList PicturePaste::pictureFiles(const QMimeData* mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile() && (namesPicture(url.toLocalFile()) || looksLikePicture(url.toLocalFile())))
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
    const QByteArray encoded = encodedPicture(mime);
    if (!encoded.isEmpty())
        readBytes(encoded, texts::ClipboardPicture);
    else
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
    const PictureUse use = askUse();
    if (use == PictureUse::None)
        return;
    diagram::StraightReading read;
    const QImage page = image.isNull() ? QImage() : flattened(image);
    if (page.isNull()) {
        read.result.failure = image.isNull() ? diagram::Failure::NotAPicture : diagram::Failure::TooLarge;
    } else if (!runBeside(window_, texts::ReadingPicture, [&](const StopFlag& stop) {
                   read = diagram::readPixelsStraight(page.width(), page.height(), int(page.bytesPerLine()), 3,
                                                      page.constBits(), &stop);
               })) {
        return;
    }
    takeReading(read, source, use, [image] { return image; });
}

void PicturePaste::readBytes(const QByteArray& bytes, const QString& source)
{
    const PictureUse use = askUse();
    if (use == PictureUse::None)
        return;
    diagram::StraightReading read;
    if (!runBeside(window_, texts::ReadingPicture, [&](const StopFlag& stop) {
            read = diagram::readEncodedStraight(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), &stop);
        }))
        return;
    takeReading(read, source, use, [bytes] {
        QBuffer buffer;
        buffer.setData(bytes);
        QImageReader reader(&buffer);
        reader.setAutoTransform(true);
        return reader.read();
    });
}

void PicturePaste::readFile(const QString& path)
{
    const PictureUse use = askUse();
    if (use == PictureUse::None)
        return;
    diagram::StraightReading read;
    const std::string name = QFile::encodeName(path).toStdString();
    if (!runBeside(window_, texts::ReadingPicture, [&](const StopFlag& stop) { read = diagram::readFileStraight(name, &stop); }))
        return;
    takeReading(read, QDir::toNativeSeparators(path), use, [path] {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        return reader.read();
    });
}

void PicturePaste::offerCrop(const QImage& picture, const QString& source)
{
    if (picture.isNull())
        return;
    // A board among much else (a whole screen, a page of text) is found once the operator
    // shows where it is. The part is read as a pasted picture, asked about afresh.
    auto* crop = new PictureCrop(&window_, picture, source, [this, source](const QImage& part) { readImage(part, source); });
    crop->show();
    crop->activateWindow();
}

PictureUse PicturePaste::askUse()
{
    // Asked before the reading: the operator answers while the picture is in mind, and the
    // seconds of reading are not spent on a picture pasted by mistake. Nothing is asked, and
    // nothing read, while other work runs.
    PictureUse use = PictureUse::None;
    window_.dispatch([&] { use = askPictureUse(window_.form(), window_.ui()); });
    return use;
}

void PicturePaste::takeReading(const diagram::StraightReading& reading, const QString& source, PictureUse use,
                         const std::function<QImage()>& original)
{
    const diagram::Result& result = reading.result;
    bool taken = false;
    window_.dispatch([&] { taken = readingTaken(window_.form(), window_.ui(), result, source); });
    if (!taken) {
        if (result.failure == diagram::Failure::NoBoard)
            offerCrop(original(), source);
        return;
    }
    // The board, the notes and the places from the rules are worked out on a copy of the
    // record; the window's record stays as it is until that is done, and if Esc stops it.
    QPointer<QWidget> cell;
    const WorkTaken work = runOnCopy(
        window_, texts::ReadingPicture,
        [&](Form& record, Notices& told, const StopFlag& stop) {
            if (use == PictureUse::NextFigure)
                enterNextFigure(record, told, result, source, {}, &stop);
            else
                enterReading(record, told, result, source, &stop);
        },
        [&] {
            // The cell being typed in is left before its text is replaced, so its exit handling
            // sees what the operator typed, and the reading's focus move starts from no cell.
            cell = QApplication::focusWidget();
            if (cell && (cell->window() != &window_ || !qobject_cast<QLineEdit*>(cell.data())
                         || !cellOfName(cell->objectName())))
                cell = nullptr;
            if (cell)
                cell->clearFocus();
        });
    if (!work)
        return;
    window_.setPicture(reading.straight, reading.pitch, source);
    // The reading puts the focus on its first point in doubt; the window may not be active
    // yet after the question, so the cell clicked is given back only where it asked none.
    const QWidget* focus = QApplication::focusWidget();
    if (cell && cell->isEnabled() && !work.focusMoved && (!focus || focus->window() != &window_))
        cell->setFocus(Qt::OtherFocusReason);
}
