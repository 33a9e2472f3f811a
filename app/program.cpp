#include "app/program.h"

#include <QApplication>

int runProgram(int argc, char** argv, const BuildKind&)
{
    QApplication app(argc, argv);
    return 0;
}
