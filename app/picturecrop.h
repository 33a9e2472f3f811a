#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

// A picture in which no board was found, shown in a window of its own: the operator drags a
// rectangle around the board, and that part is read. Esc closes it.
class PictureCrop : public QWidget {
    Q_OBJECT
public:
    PictureCrop(QWidget* main, const QImage& picture, const QString& source, std::function<void(const QImage&)> read);

    // Where the picture is drawn, in this window's pixels.
    QRectF pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage picture_;
    std::function<void(const QImage&)> read_;
    QPointF from_;
    QPointF to_;
    bool dragging_ = false;
};
