// bench_startup: time from process start to the main window interactive
// (painted, skinned, with its active caption, answering input), and the memory
// then resident, against the same program with its skin inactive and against a
// minimal Qt program showing one window of the same size. Each is started as
// a process several times; the medians are printed with their ratios, and the
// steps of each start as the process itself timed them, from the moment it was
// started: starting it and loading its libraries, their initializers, making
// the application, each window, and telling the bench of the picture.
//
//   QT_QPA_PLATFORM=offscreen bench_startup [runs]

#include "interactive_watch.h"
#include "process_clock.h"

#include "app/main_window.h"
#include "app/program.h"
#include "platform/app_dir.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/skin_manager.h"

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

// Each of the program's windows takes its class name first thing as it is
// made, then its first child: the steps of program start.
class WindowSteps : public QObject {
public:
    explicit WindowSteps(std::map<std::string, double>& steps) : mSteps(steps) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ChildAdded && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow() &&
            watched->objectName().startsWith(QLatin1String("TForm"))) {
            const std::string step = "making " + watched->objectName().toStdString();
            if (!mSteps.count(step))
                mSteps[step] = now();
        }
        return false;
    }

private:
    std::map<std::string, double>& mSteps;
};

int child(int argc, char** argv, bool skinActive) {
    std::map<std::string, double> steps;
    steps["main"] = now();
    steps["libraries loaded"] = process_clock::sinceSpawn(process_clock::librariesLoadedNs);
    QApplication application(argc, argv);
    steps["application made"] = now();
    platform::setAppDir(QStringLiteral(MARVANTO_STAGE_DIR));
    WindowSteps windowSteps(steps);
    application.installEventFilter(&windowSteps);
    // The main window, with the skinned frame on it when the skin is active.
    bench::InteractiveWatch watch(
        [](QObject* object) { return object->objectName() == QLatin1String("TForm1"); },
        [skinActive](QWidget* window) {
            if (!skinActive)
                return true;
            skin::TSkinManage* manager = skin::TSkinManage::instance();
            skin::TWinSkinForm* form = manager ? manager->FindSkinForm(window) : nullptr;
            return form && form->frameShown();
        },
        steps);
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
    double residentMb = 0;
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
    while (!out.contains("interactive\n")) {
        if (!process.waitForReadyRead(30000)) {
            std::fprintf(stderr,
                         "%s never became interactive (no window manager to activate it?)\n",
                         qPrintable(program));
            std::exit(1);
        }
        out += process.readAllStandardOutput();
        if (out.contains("interactive\n"))
            run.seconds = timer.nsecsElapsed() / 1e9;
    }
    process.waitForFinished(30000);
    for (const QByteArray& line : out.split('\n')) {
        if (line.startsWith("rss "))
            run.residentMb = line.mid(4).toDouble() / 1024;
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
    double residentMb;
    std::map<std::string, double> steps;

    double step(const std::string& name) const {
        const auto found = steps.find(name);
        return found == steps.end() ? 0 : found->second;
    }
};

Figures measure(const QString& program, const QStringList& arguments, int runs,
                const QString& home) {
    std::vector<double> totals;
    std::vector<double> resident;
    std::map<std::string, std::vector<double>> steps;
    for (int i = 0; i < runs; ++i) {
        const Run run = runOnce(program, arguments, home);
        totals.push_back(run.seconds);
        resident.push_back(run.residentMb);
        for (const auto& [name, at] : run.steps)
            steps[name].push_back(at);
    }
    Figures figures{median(totals), median(resident), {}};
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
        {"spawn", "starting, loading libraries"},
        {"libraries loaded", "library initializers"},
        {"main", "making the application"},
        {"application made", "first steps"},
        {"first picture", "until the window is active"},
        {"window active", "to the active caption drawn"},
        {"active caption drawn", "to a posted input answered"},
        {"input answered", "telling the bench"},
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

    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default"));
    std::printf("start to an interactive main window (painted with its active caption and "
                "answering a posted input event), median of %d runs (platform %s):\n",
                runs, qPrintable(platform));
    std::printf("  skin active     %.3f s   %5.1f MB resident\n", active.seconds,
                active.residentMb);
    std::printf("  skin inactive   %.3f s   %5.1f MB\n", inactive.seconds, inactive.residentMb);
    std::printf("  minimal window  %.3f s   %5.1f MB\n", minimal.seconds, minimal.residentMb);
    std::printf("  time to interactive, active / minimal  %.2f  (target at most 2)\n",
                active.seconds / minimal.seconds);
    std::printf("  resident memory, active / minimal      %.2f  (target at most 2.5)\n",
                active.residentMb / minimal.residentMb);
    std::printf("  first picture, active / inactive       %.2f  (target at most 1.15)\n",
                active.step("first picture") / inactive.step("first picture"));
    std::printf("  first picture, active / minimal        %.2f  (target at most 4)\n",
                active.step("first picture") / minimal.step("first picture"));
    printSteps("skin active", active);
    printSteps("skin inactive", inactive);
    printSteps("minimal window", minimal);
    return 0;
}
