// marvanto-drive [--app-dir DIR] SCRIPT...
// Starts the program in this process, as if its executable lay in DIR, and
// plays the scripts in order. Exits 0 when every line held, 1 at the first
// line that did not, 2 for a bad command line or script.

#include "driver.h"

#include "app/program.h"
#include "platform/app_dir.h"

#include <QApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    if (arguments.size() >= 2 && arguments[0] == QLatin1String("--app-dir")) {
        platform::setAppDir(arguments[1]);
        arguments = arguments.mid(2);
    }
    if (arguments.isEmpty()) {
        std::fprintf(stderr, "usage: marvanto-drive [--app-dir DIR] SCRIPT...\n");
        return 2;
    }

    struct Script {
        QString name;
        std::vector<drive::Action> actions;
    };
    std::vector<Script> scripts;
    for (const QString& name : arguments) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "marvanto-drive: cannot read %s\n", qPrintable(name));
            return 2;
        }
        try {
            scripts.push_back({name, drive::parseScript(QString::fromUtf8(file.readAll()))});
        } catch (const drive::ScriptError& error) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(name), error.what());
            return 2;
        }
    }

    app::Program program;
    drive::Driver driver(program);
    // The first line runs before the event loop has handled anything, so a
    // script can see the program as its creation left it (the clock not yet
    // ticked).
    program.start();
    int played = 0;
    for (const Script& script : scripts) {
        for (const drive::Action& action : script.actions) {
            try {
                driver.play(action);
                ++played;
            } catch (const std::exception& failure) {
                std::fprintf(stderr, "%s:%d: %s\n%s\n", qPrintable(script.name), action.line,
                             qPrintable(action.source), failure.what());
                return 1;
            }
        }
    }
    std::printf("marvanto-drive: %d actions held\n", played);
    return 0;
}
