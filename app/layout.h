#pragma once

#include "board/buildkind.h"
#include "board/colours.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

enum class ControlType { Cell, Label, Edit, Button, Toggle, RadioGroup, Memo, Grid };

struct FontStyle {
    QString face;       // empty: the window font
    int pixelHeight = 0;
    bool bold = false;
    Rgb colour = colours::Black;
};

// One control of the window, as the layout places it.
struct ControlDef {
    QString name;
    ControlType type;
    QRect geometry;
    QString text;
    FontStyle font;
    int tabOrder = -1; // -1: none
    bool tabStop = false;
    bool visible = true;
    bool hasBackground = false;
    Rgb background = colours::White;
};

struct WindowLayout {
    QSize outerSize;
    QSize clientSize;
    FontStyle windowFont;
    std::vector<ControlDef> controls;

    const ControlDef* find(const QString& name) const;
};

// The whole window of a build, every control in one table.
WindowLayout windowLayout(const BuildKind& kind);
