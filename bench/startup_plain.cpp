// The floor of ranvel's start: a plain Qt Widgets program showing the same controls at the same
// places (361 line edits, the labels, the buttons, the radio group, the log, two 500-row
// lists), linked to Qt's widgets and the record's core only.

#include "app/layout.h"
#include "bench/plaincontrol.h"

#include <QApplication>
#include <QWidget>

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
