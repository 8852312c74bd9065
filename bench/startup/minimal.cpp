// The reference of bench_startup: a Qt program that shows one window of the
// main window's size and reports when it is interactive, with the same steps
// the program reports before its windows.
#include "interactive_watch.h"
#include "process_clock.h"

#include <QApplication>
#include <QWidget>

#include <cstdlib>

int main(int argc, char** argv) {
    std::map<std::string, double> steps;
    steps["main"] = process_clock::sinceSpawn(process_clock::nowNs());
    steps["libraries loaded"] = process_clock::sinceSpawn(process_clock::librariesLoadedNs);
    QApplication application(argc, argv);
    steps["application made"] = process_clock::sinceSpawn(process_clock::nowNs());
    QWidget window;
    bench::InteractiveWatch watch([&window](QObject* object) { return object == &window; },
                                  [](QWidget*) { return true; }, steps);
    application.installEventFilter(&watch);
    window.resize(std::atoi(argc > 1 ? argv[1] : "568"), std::atoi(argc > 2 ? argv[2] : "500"));
    window.show();
    return application.exec();
}
