// Renders the main window of either program to a PNG without a display:
//   ranvel_render out.png [small]
#include "app/appearance.h"
#include "app/tform1.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyleFactory>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: ranvel_render out.png [small]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    installFonts();
    const bool small = argc > 2 && QByteArray(argv[2]) == "small";
    TForm1 window(small ? BuildKind::smallScreen() : BuildKind::standard());
    window.show();
    window.cell(1, 1)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
