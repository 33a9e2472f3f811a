#pragma once

#include "board/go.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <array>
#include <optional>

class TForm1;

// The board as the reader saw it, straightened, in a window of its own beside the main one:
// the points read in doubt are framed on it, and the point of the cell in focus is marked and
// shown again below the board, magnified with its neighbours, so that close numbers can be told.
// A click on a point takes the main window to its cell. It holds no record state: the main
// window hands it the marks each time it shows the record.
class PictureWindow : public QWidget {
public:
    PictureWindow(TForm1& main, const QImage& straight, int pitch, const QString& source);

    void setMarks(const std::array<bool, go::Points>& unsure, std::optional<std::pair<int, int>> focus);
    // Shown beside the main window, without taking the keyboard from it.
    void showBeside();
    // Where the point (x, y) is drawn, in this window's pixels.
    QRectF pointRect(int x, int y) const;
    // Where the magnified points are drawn; empty while no cell has the focus.
    QRectF loupeRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRectF boardRect() const;
    void paintLoupe(QPainter& p) const;

    TForm1& main_;
    QImage straight_;
    QString source_;
    int pitch_;
    std::array<bool, go::Points> unsure_{};
    std::optional<std::pair<int, int>> focus_;
    bool placed_ = false;
};

// Drawn over the board cells: a frame around each point read in doubt. The cells keep their
// own colours; mouse and keyboard pass through to them.
class BoardMarks : public QWidget {
public:
    explicit BoardMarks(TForm1& main);

    void setMarks(const std::array<bool, go::Points>& unsure);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TForm1& main_;
    std::array<bool, go::Points> unsure_{};
};

// F6 takes the focus to the next point read in doubt, from the picture window too; F7 shows
// the picture again.
void bindPictureKeys(TForm1& main);
