// The floor of ranvel's start: a plain Qt Widgets program showing the same controls at the same
// places (361 line edits, the labels, the buttons, the radio group, the log, two 500-row
// lists), linked to Qt's widgets and the record's core only.

#include "app/layout.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

namespace {

QWidget* plainControl(const ControlDef& def, QWidget* parent)
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
    case ControlType::Grid:
        return new QTableWidget(500, 2, parent);
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const WindowLayout layout = windowLayout(BuildKind::standard());
    QWidget window;
    window.resize(layout.clientSize);
    for (const ControlDef& def : layout.controls) {
        QWidget* c = plainControl(def, &window);
        c->setGeometry(def.geometry);
        c->setVisible(def.visible);
    }
    window.show();
    return app.exec();
}
