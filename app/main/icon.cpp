// Writes the program's icon at one size to a PNG, for the desktop's icon theme:
//   ranvel_icon size out.png
#include "app/appearance.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size < 1 || size > 1024) {
        std::fprintf(stderr, "usage: ranvel_icon size out.png\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The letters are drawn with the window's Tahoma, which needs the application's font set-up.
    QGuiApplication app(argc, argv);
    installFonts();
    if (!iconImage(size).save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
