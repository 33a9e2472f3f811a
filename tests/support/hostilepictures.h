#pragma once

// Pictures a clipboard or a downloads folder can hold that are no diagram, or one in a shape
// few programs write: each made small, in a folder of the test's own. The reading of each
// either fails with the failure given, or reads the board of the reference picture it was
// made from.

#include "diagram/diagram.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QString>
#include <QTransform>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include <functional>

namespace hostile {

// The picture the readable shapes are made from: a screenshot the reader reads whole.
inline QString referencePicture()
{
    return QStringLiteral(RANVEL_TEST_DATA "/diagrams/game02_s2_l1_h0__screen220.png");
}

inline QByteArray encoded(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

inline void put16(QByteArray& b, quint16 v)
{
    b.append(char(v & 0xff)).append(char(v >> 8));
}

inline void put32(QByteArray& b, quint32 v)
{
    put16(b, quint16(v & 0xffff));
    put16(b, quint16(v >> 16));
}

// An uncompressed grey TIFF of one page per picture, little-endian.
inline QByteArray tiffPages(const QList<QImage>& pages)
{
    QByteArray b("II*\0", 4);
    put32(b, 8);
    for (int i = 0; i < pages.size(); ++i) {
        const QImage grey = pages[i].convertToFormat(QImage::Format_Grayscale8);
        const quint32 w = quint32(grey.width()), h = quint32(grey.height());
        const quint32 entries = 9, dirSize = 2 + entries * 12 + 4;
        const quint32 pixels = quint32(b.size()) + dirSize;
        const bool last = i + 1 == pages.size();
        put16(b, quint16(entries));
        auto entry = [&](quint16 tag, quint16 type, quint32 value) {
            put16(b, tag);
            put16(b, type);
            put32(b, 1);
            if (type == 3) {
                put16(b, quint16(value));
                put16(b, 0);
            } else {
                put32(b, value);
            }
        };
        entry(256, 4, w);
        entry(257, 4, h);
        entry(258, 3, 8);
        entry(259, 3, 1);
        entry(262, 3, 1);
        entry(273, 4, pixels);
        entry(277, 3, 1);
        entry(278, 4, h);
        entry(279, 4, w * h);
        put32(b, last ? 0 : pixels + w * h);
        for (int y = 0; y < grey.height(); ++y)
            b.append(reinterpret_cast<const char*>(grey.constScanLine(y)), grey.width());
    }
    return b;
}

// A JPEG whose pixels are stored turned a quarter to the left, with the EXIF tag that says to
// turn them back to the right.
inline QByteArray jpegTurnedByExif(const QImage& upright)
{
    const QByteArray stored = encoded(upright.transformed(QTransform().rotate(-90)), "JPG", 95);
    QByteArray exif("Exif\0\0II*\0", 10);
    put32(exif, 8);
    put16(exif, 1);
    put16(exif, 0x0112);
    put16(exif, 3);
    put32(exif, 1);
    put32(exif, 6);
    put32(exif, 0);
    QByteArray app1("\xff\xe1", 2);
    app1.append(char((exif.size() + 2) >> 8)).append(char((exif.size() + 2) & 0xff)).append(exif);
    return stored.left(2) + app1 + stored.mid(2);
}

inline QImage whiteMadeClear(const QImage& page)
{
    QImage clear = page.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < clear.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(clear.scanLine(y));
        for (int x = 0; x < clear.width(); ++x) {
            // Light paper becomes see-through; ink keeps its grey.
            if (qGray(line[x]) > 200)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return clear;
}

inline QByteArray bmpHeader(qint32 width, qint32 height, quint16 bits, quint32 compression)
{
    QByteArray b("BM", 2);
    put32(b, 0);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, quint32(width));
    put32(b, quint32(height));
    put16(b, 1);
    put16(b, bits);
    put32(b, compression);
    for (int i = 0; i < 5; ++i)
        put32(b, 0);
    return b;
}

struct Case {
    const char* name;
    // Makes the file in `dir` and returns its path.
    std::function<QString(const QDir& dir)> make;
    diagram::Failure failure; // None: reads the reference picture's board
    // The file is something a clipboard could hold too.
    bool bytes = true;
    // Points whose reading may differ from the reference's: JPEG's own loss.
    int leeway = 0;
};

inline QString write(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
}

inline QList<Case> cases()
{
    using diagram::Failure;
    auto reference = [] { return QImage(referencePicture()); };
    auto file = [](const char* name, std::function<QByteArray()> bytes) {
        return [name, bytes](const QDir& dir) { return write(dir, QString::fromLatin1(name), bytes()); };
    };
    QList<Case> all;
    all.append({"picture 1 x 801", file("thin.png", [] {
                    QImage i(1, 801, QImage::Format_Grayscale8);
                    i.fill(255);
                    return encoded(i, "PNG");
                }), Failure::TooThin});
    all.append({"picture 2 x 1700", file("thin2.bmp", [] {
                    QImage i(2, 1700, QImage::Format_RGB32);
                    i.fill(Qt::white);
                    return encoded(i, "BMP");
                }), Failure::TooThin});
    all.append({"picture 60 x 60", file("icon.png", [] {
                    QImage i(60, 60, QImage::Format_RGB32);
                    i.fill(Qt::black);
                    return encoded(i, "PNG");
                }), Failure::TooSmall});
    all.append({"Radiance HDR named .png", file("hdr.png", [] {
                    return QByteArray("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 200 +X 200\n") + QByteArray(160000, '\x80');
                }), Failure::UnreadFormat});
    all.append({"PFM named .png", file("pfm.png", [] { return QByteArray("PF\n200 200\n-1.0\n") + QByteArray(480000, '\0'); }),
                Failure::UnreadFormat});
    all.append({"DICOM preamble", file("scan.dcm", [] {
                    return QByteArray(128, '\0') + QByteArray("DICM\x02\x00\x00\x00", 8) + QByteArray(512, '\x01');
                }), Failure::UnreadFormat});
    all.append({"OpenEXR", file("light.exr", [] { return QByteArray("\x76\x2f\x31\x01\x02\x00\x00\x00", 8) + QByteArray(400, 'x'); }),
                Failure::UnreadFormat});
    all.append({"HEIC", file("photo.heic", [] { return QByteArray("\0\0\0\x18" "ftypheic\0\0\0\0mif1heic", 24) + QByteArray(300, 'h'); }),
                Failure::UnreadFormat});
    all.append({"GIF claiming 65535 x 65535", file("bomb.gif", [] {
                    return QByteArray("GIF89a\xff\xff\xff\xff\xf7\0\0", 13) + QByteArray(3000, '\0');
                }), Failure::UnreadFormat});
    all.append({"RLE BMP of 30000 x 30000", file("bomb.bmp", [] { return bmpHeader(30000, 30000, 8, 1) + QByteArray(4096, '\0'); }),
                Failure::TooLarge});
    all.append({"BMP with a width of 0", file("zero.bmp", [] { return bmpHeader(0, 300, 24, 0) + QByteArray(300, '\0'); }),
                Failure::Damaged});
    all.append({"text named .png", file("notes.png", [] { return QByteArray("152 at 67\n"); }), Failure::NotAPicture});
    all.append({"empty file", file("empty.jpg", [] { return QByteArray(); }), Failure::NotAPicture});
    all.append({"JPEG cut at a third", file("cut.jpg", [reference] {
                    const QByteArray whole = encoded(reference(), "JPG", 90);
                    return whole.left(whole.size() / 3);
                }), Failure::Damaged});
    all.append({"TIFF with its board on page 2", file("pages.tif", [reference] {
                    QImage blank(600, 400, QImage::Format_Grayscale8);
                    blank.fill(255);
                    return tiffPages({blank, reference()});
                }), Failure::NoBoard});
    all.append({"600 MB file with a PNG header", [](const QDir& dir) {
                    const QByteArray head = encoded(QImage(referencePicture()), "PNG").left(64);
                    const QString path = write(dir, QStringLiteral("huge.png"), head);
                    QFile(path).resize(600LL * 1024 * 1024); // sparse: costs no disk
                    return path;
                }, Failure::TooLarge, false});
#ifdef Q_OS_UNIX
    // Windows keeps its named pipes out of the folders a file dialog shows.
    all.append({"pipe named .png", [](const QDir& dir) {
                    const QString path = dir.filePath(QStringLiteral("pipe.png"));
                    mkfifo(QFile::encodeName(path).constData(), 0600);
                    return path;
                }, Failure::NotAFile, false});
#endif
    all.append({"folder named .png", [](const QDir& dir) {
                    dir.mkdir(QStringLiteral("folder.png"));
                    return dir.filePath(QStringLiteral("folder.png"));
                }, Failure::NotAFile, false});
    all.append({"PNG clear where the paper is", file("clear.png", [reference] { return encoded(whiteMadeClear(reference()), "PNG"); }),
                Failure::None});
    all.append({"16-bit grey PNG", file("deep.png", [reference] {
                    return encoded(reference().convertToFormat(QImage::Format_Grayscale16), "PNG");
                }), Failure::None});
    all.append({"JPEG turned only by its EXIF tag", file("exif.jpg", [reference] { return jpegTurnedByExif(reference()); }),
                Failure::None, true, 3});
    all.append({"grey TIFF", file("page.tif", [reference] { return tiffPages({reference()}); }), Failure::None});
    all.append({"24-bit BMP", file("page.bmp", [reference] {
                    return encoded(reference().convertToFormat(QImage::Format_RGB888), "BMP");
                }), Failure::None});
    all.append({"lossless WebP", file("page.webp", [reference] { return encoded(reference(), "WEBP", 100); }), Failure::None});
    // Turned back by its numbers.
    for (int degrees : {90, 180, 270}) {
        all.append({degrees == 90 ? "page turned 90 degrees" : degrees == 180 ? "page turned 180 degrees" : "page turned 270 degrees",
                    file("turned.png", [reference, degrees] { return encoded(reference().transformed(QTransform().rotate(degrees)), "PNG"); }),
                    Failure::None});
    }
    all.append({"page mirrored", file("mirrored.png", [reference] { return encoded(reference().mirrored(true, false), "PNG"); }),
                Failure::None});
    return all;
}

} // namespace hostile
