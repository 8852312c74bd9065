// bench_startup: time from process start to the main window shown, skinned
// and painted, against the same program with its skin inactive and against a
// minimal Qt program showing one window of the same size. Each is started as
// a process several times; the medians are printed with their ratios, and the
// steps of each start as the process itself timed them, from the moment it was
// started: starting it and loading its libraries, their initializers, making
// the application, each window, and telling the bench of the picture.
//
//   QT_QPA_PLATFORM=offscreen bench_startup [runs]

#include "process_clock.h"

#include "app/main_window.h"
#include "app/program.h"
#include "platform/app_dir.h"
#include "skin/engine/form_window.h"
#include "skin/engine/skin_manager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// Seconds since the process was started.
double now() {
    return process_clock::sinceSpawn(process_clock::nowNs());
}

// Reports the first paint of the main window (with the skinned frame on it
// when the skin is active) and the steps before it, then leaves at once.
class FirstPicture : public QObject {
public:
    FirstPicture(bool skinned, std::map<std::string, double>& steps)
        : mSkinned(skinned), mSteps(steps) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Each of the program's windows takes its class name first thing as
        // it is made, then its first child: the steps of program start.
        if (event->type() == QEvent::ChildAdded && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow() &&
            watched->objectName().startsWith(QLatin1String("TForm"))) {
            const std::string step = "making " + watched->objectName().toStdString();
            if (!mSteps.count(step))
                mSteps[step] = now();
        }
        if (event->type() != QEvent::Paint || watched->objectName() != QLatin1String("TForm1"))
            return false;
        auto* window = static_cast<QWidget*>(watched);
        if (mSkinned) {
            skin::TSkinManage* manager = skin::TSkinManage::instance();
            skin::TWinSkinForm* form = manager ? manager->FindSkinForm(window) : nullptr;
            if (!form || !form->frameShown())
                return false;
        }
        // The picture is done once the paint event has run.
        static_cast<QObject*>(window)->event(event);
        mSteps["first picture"] = now();
        for (const auto& [name, at] : mSteps)
            process_clock::printStep(name.c_str(), at);
        std::puts("painted");
        std::fflush(stdout);
        std::_Exit(0);
    }

private:
    bool mSkinned;
    std::map<std::string, double>& mSteps;
};

int child(int argc, char** argv, bool skinActive) {
    std::map<std::string, double> steps;
    steps["main"] = now();
    steps["libraries loaded"] = process_clock::sinceSpawn(process_clock::librariesLoadedNs);
    QApplication application(argc, argv);
    steps["application made"] = now();
    platform::setAppDir(QStringLiteral(MARVANTO_STAGE_DIR));
    FirstPicture watch(skinActive, steps);
    application.installEventFilter(&watch);
    app::Program program;
    program.setSkinActive(skinActive);
    program.start();
    steps["into the event loop"] = now();
    QTimer::singleShot(0, [&steps] { steps["to the first picture"] = now(); });
    return application.exec();
}

struct Run {
    double seconds = 0;
    std::map<std::string, double> steps;
};

Run runOnce(const QString& program, const QStringList& arguments, const QString& home) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer timer;
    timer.start();
    environment.insert(QStringLiteral("BENCH_STARTUP_SPAWN_NS"),
                       QString::number(process_clock::nowNs()));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Run run;
    QByteArray out;
    while (!out.contains("painted\n")) {
        if (!process.waitForReadyRead(30000)) {
            std::fprintf(stderr, "%s gave no picture\n", qPrintable(program));
            std::exit(1);
        }
        out += process.readAllStandardOutput();
        if (out.contains("painted\n"))
            run.seconds = timer.nsecsElapsed() / 1e9;
    }
    process.waitForFinished(30000);
    for (const QByteArray& line : out.split('\n')) {
        if (!line.startsWith("step "))
            continue;
        const qsizetype last = line.lastIndexOf(' ');
        run.steps[line.mid(5, last - 5).toStdString()] = line.mid(last + 1).toDouble();
    }
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    double seconds;
    std::map<std::string, double> steps;
};

Figures measure(const QString& program, const QStringList& arguments, int runs,
                const QString& home) {
    std::vector<double> totals;
    std::map<std::string, std::vector<double>> steps;
    for (int i = 0; i < runs; ++i) {
        const Run run = runOnce(program, arguments, home);
        totals.push_back(run.seconds);
        for (const auto& [name, at] : run.steps)
            steps[name].push_back(at);
    }
    Figures figures{median(totals), {}};
    for (const auto& [name, values] : steps)
        figures.steps[name] = median(values);
    return figures;
}

// Where the time goes: each step until the next, from the start of the
// process to the bench reading the picture's word (the last window made
// includes showing the main window).
void printSteps(const char* what, const Figures& figures) {
    std::vector<std::pair<double, std::string>> ordered{{0.0, "spawn"}};
    for (const auto& [name, at] : figures.steps)
        ordered.emplace_back(at, name);
    std::sort(ordered.begin(), ordered.end());
    ordered.emplace_back(figures.seconds, "read");
    const std::map<std::string, std::string> shown = {
        {"spawn", "starting, loading libraries"}, {"libraries loaded", "library initializers"},
        {"main", "making the application"},       {"application made", "first steps"},
        {"first picture", "telling the bench"},
    };
    std::printf("  %s, where the time goes (medians):\n", what);
    for (size_t i = 0; i + 1 < ordered.size(); ++i) {
        const std::string& name = ordered[i].second;
        const auto known = shown.find(name);
        std::printf("    %-28s %.3f s\n", (known != shown.end() ? known->second : name).c_str(),
                    ordered[i + 1].first - ordered[i].first);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--child")
        return child(argc, argv, argc > 2 && std::string(argv[2]) == "active");
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QCoreApplication application(argc, argv);
    QTemporaryDir home;
    const QString self = QCoreApplication::applicationFilePath();
    // One start of each first, so that every run finds the files cached.
    runOnce(self, {QStringLiteral("--child"), QStringLiteral("active")}, home.path());
    runOnce(QStringLiteral(MINIMAL_WINDOW), {}, home.path());

    const Figures active =
        measure(self, {QStringLiteral("--child"), QStringLiteral("active")}, runs, home.path());
    const Figures inactive =
        measure(self, {QStringLiteral("--child"), QStringLiteral("inactive")}, runs, home.path());
    const Figures minimal = measure(QStringLiteral(MINIMAL_WINDOW), {}, runs, home.path());

    // The platform decides much of it: on X11 the application object also makes
    // the OpenGL context the web engine shares, which offscreen has none of.
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default"));
    std::printf("start to the main window's first picture, median of %d runs (platform %s):\n",
                runs, qPrintable(platform));
    std::printf("  skin active     %.3f s\n", active.seconds);
    std::printf("  skin inactive   %.3f s\n", inactive.seconds);
    std::printf("  minimal window  %.3f s\n", minimal.seconds);
    std::printf("  active / inactive  %.2f  (target at most 1.15)\n",
                active.seconds / inactive.seconds);
    std::printf("  active / minimal   %.2f  (target at most 4)\n",
                active.seconds / minimal.seconds);
    printSteps("skin active", active);
    printSteps("skin inactive", inactive);
    printSteps("minimal window", minimal);
    return 0;
}
