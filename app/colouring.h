#pragma once

#include "board/colours.h"

#include <QColor>
#include <QPalette>

class QWidget;

QColor colourOf(Rgb rgb);
// Every colour group, so that a disabled control keeps its colours.
void setColours(QWidget* w, QPalette::ColorRole background, Rgb back, QPalette::ColorRole foreground, Rgb fore);
// A cell keeps its stone's background when disabled, but its number is drawn grey: a loaded
// black move or a handicap label holds black text on black.
void setCellColours(QWidget* w, Rgb back, Rgb fore);
void setForeground(QWidget* w, Rgb fore);
