#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "transcribe/readboard.h"

class QImage;
class QMimeData;
class TForm1;

namespace diagram {
struct StraightReading;
}

// Ctrl+V with a picture on the clipboard, and a picture dropped anywhere on the window, read
// the board from the picture. Text on the clipboard and text drops stay the controls' own.
class PicturePaste : public QObject {
    Q_OBJECT
public:
    explicit PicturePaste(TForm1& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The picture files that a drop would read: local files whose names or first bytes say
    // picture.
    static QStringList pictureFiles(const QMimeData* mime);
    bool inWindow(QObject* watched) const;
    bool pastePicture();
    bool acceptsDrop(const QMimeData* mime) const;
    void drop(const QMimeData* mime);
    void readImage(const QImage& image, const QString& source);
    void readFile(const QString& path);
    void readBytes(const QByteArray& bytes, const QString& source);
    PictureUse askUse();
    // `original` decodes the picture again, for the operator to show where its board is.
    void takeReading(const diagram::StraightReading& reading, const QString& source, PictureUse use,
                     const std::function<QImage()>& original);
    void offerCrop(const QImage& picture, const QString& source);

    TForm1& window_;
};
