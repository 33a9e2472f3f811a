#pragma once

// A window's control as plain Qt Widgets build it, with none of ranvel's own: the floor that
// the window's start is measured against.

#include "app/layout.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

// listItems: the lists with an item in every cell, as the window once built them; without,
// rows with no items yet, the least a 500-row list can be.
inline QWidget* plainControl(const ControlDef& def, QWidget* parent, bool listItems = false)
{
    switch (def.type) {
    case ControlType::Cell:
    case ControlType::Edit:
        return new QLineEdit(def.text, parent);
    case ControlType::Label:
        return new QLabel(def.text, parent);
    case ControlType::Button:
    case ControlType::Toggle:
        return new QPushButton(def.text, parent);
    case ControlType::RadioGroup:
        return new QGroupBox(def.text, parent);
    case ControlType::Memo:
        return new QPlainTextEdit(def.text, parent);
    case ControlType::Grid: {
        auto* grid = new QTableWidget(500, 2, parent);
        for (int r = 0; r < 500 && listItems; ++r) {
            for (int c = 0; c < 2; ++c)
                grid->setItem(r, c, new QTableWidgetItem());
        }
        return grid;
    }
    }
    return nullptr;
}
