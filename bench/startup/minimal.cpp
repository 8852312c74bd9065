// The reference of bench_startup: a Qt program that shows one window of the
// main window's size and reports its first picture.
#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

class Window : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        std::puts("painted");
        std::fflush(stdout);
        std::_Exit(0);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    Window window;
    window.resize(std::atoi(argc > 1 ? argv[1] : "568"), std::atoi(argc > 2 ? argv[2] : "500"));
    window.show();
    return application.exec();
}
