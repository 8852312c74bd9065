#include "app/program.h"

#include <QApplication>

int main(int argc, char** argv) {
    // The calendar's web view shares one OpenGL context with the windows.
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    app::Program program;
    program.start();
    return application.exec();
}
