// The reference of bench_startup: a Qt program that shows one window of the
// main window's size and reports its first picture, with the same steps the
// program reports before its windows.
#include "process_clock.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

double mainAt = 0;
double applicationMadeAt = 0;

class Window : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        const double paintedAt = process_clock::sinceSpawn(process_clock::nowNs());
        process_clock::printStep("libraries loaded",
                                 process_clock::sinceSpawn(process_clock::librariesLoadedNs));
        process_clock::printStep("main", mainAt);
        process_clock::printStep("application made", applicationMadeAt);
        process_clock::printStep("first picture", paintedAt);
        std::puts("painted");
        std::fflush(stdout);
        std::_Exit(0);
    }
};

} // namespace

int main(int argc, char** argv) {
    mainAt = process_clock::sinceSpawn(process_clock::nowNs());
    QApplication application(argc, argv);
    applicationMadeAt = process_clock::sinceSpawn(process_clock::nowNs());
    Window window;
    window.resize(std::atoi(argc > 1 ? argv[1] : "568"), std::atoi(argc > 2 ? argv[2] : "500"));
    window.show();
    return application.exec();
}
