#include "app/appearance.h"

#include "board/texts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QPainter>

namespace {

// Debian's fonts-wine installs Tahoma outside fontconfig's path.
const char* const TahomaFiles[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"};

} // namespace

void installFonts()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        for (const char* file : TahomaFiles) {
            if (QFile::exists(QLatin1String(file)))
                QFontDatabase::addApplicationFont(QLatin1String(file));
        }
    }
    // Japanese captions in Tahoma fall back to a Gothic face; the title asks for a proportional Mincho.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    QFont::insertSubstitutions(texts::MinchoFace, {QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho")});
}

QImage iconImage()
{
    const QColor darkRed(0x80, 0x00, 0x00);
    const QColor lightGrey(0xC0, 0xC0, 0xC0);
    QImage rgb(32, 32, QImage::Format_RGB32);
    rgb.fill(darkRed);
    {
        QPainter p(&rgb);
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(16);
        font.setBold(true);
        font.setStyleStrategy(QFont::NoAntialias);
        p.setFont(font);
        p.setPen(lightGrey);
        // One letter a step, from the top left corner to the bottom right one.
        p.drawText(QRect(0, 0, 12, 16), Qt::AlignCenter, QStringLiteral("Z"));
        p.drawText(QRect(10, 8, 12, 16), Qt::AlignCenter, QStringLiteral("e"));
        p.drawText(QRect(20, 16, 12, 16), Qt::AlignCenter, QStringLiteral("k"));
    }
    // The 16 colours of the classic palette, which hold both colours used.
    static const QRgb classic[16] = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                                     0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                     0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
    QList<QRgb> table(std::begin(classic), std::end(classic));
    return rgb.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither | Qt::AvoidDither);
}

QImage iconImage(int size)
{
    const QImage source = iconImage();
    if (size >= source.width())
        return source.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    // Plain nearest neighbour would drop every other column and row, and with them the
    // letters' one-pixel strokes: a pixel of the smaller icon shows a letter when any pixel
    // of its block does.
    const QRgb background = source.pixel(source.width() - 1, 0);
    QImage smaller(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            QRgb shown = background;
            for (int sy = y * source.height() / size; sy < (y + 1) * source.height() / size; ++sy) {
                for (int sx = x * source.width() / size; sx < (x + 1) * source.width() / size; ++sx) {
                    if (source.pixel(sx, sy) != background)
                        shown = source.pixel(sx, sy);
                }
            }
            smaller.setPixel(x, y, shown);
        }
    }
    return smaller.convertToFormat(QImage::Format_Indexed8, source.colorTable(), Qt::ThresholdDither);
}

QIcon applicationIcon()
{
    return QIcon(QPixmap::fromImage(iconImage()));
}
