#pragma once

#include <QIcon>
#include <QImage>

// Makes the window's faces available: Tahoma from the Wine fonts, the proportional Mincho
// face for the title. Safe to call more than once.
void installFonts();

// 32 x 32, 16 colours: "Zek" in light grey stepping diagonally on dark red.
QImage iconImage();
// The same icon at size x size for the desktop's icon theme, scaled by nearest neighbour so that
// its pixels stay sharp and its colours stay the two of the original.
QImage iconImage(int size);
QIcon applicationIcon();
