#include "app/program.h"

#include <QApplication>

int main(int argc, char** argv) {
    // The web engine, loaded with the calendar's web view once the program
    // runs, wants OpenGL contexts shared from before the application exists.
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    app::Program program;
    program.start();
    return application.exec();
}
