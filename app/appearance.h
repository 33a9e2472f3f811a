#pragma once

#include <QIcon>
#include <QImage>

// Makes the window's faces available: Tahoma from the Wine fonts, the proportional Mincho
// face for the title. Safe to call more than once.
void installFonts();

// 32 x 32, 16 colours: "Zek" in light grey stepping diagonally on dark red.
QImage iconImage();
QIcon applicationIcon();
