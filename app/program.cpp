#include "app/program.h"

#include "app/appearance.h"
#include "app/tform1.h"

#include <QApplication>
#include <QLineEdit>
#include <QStringList>
#include <QStyleFactory>
#include <QTimer>

int runProgram(int argc, char** argv, const BuildKind& kind)
{
    QApplication app(argc, argv);
    // The application title names the program to the desktop. Qt would append a display
    // name to every window title, so none is set: the caption stays exactly as laid out.
    QApplication::setApplicationName(kind.applicationTitle);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    installFonts();
    QApplication::setWindowIcon(applicationIcon());
    TForm1 window(kind);
    window.show();
    window.cell(1, 1)->setFocus(Qt::TabFocusReason);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        QTimer::singleShot(0, &window, [&window, path = arguments.at(1)] { window.openGiven(path); });
    return app.exec();
}
