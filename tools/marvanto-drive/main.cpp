// marvanto-drive [--app-dir DIR] SCRIPT...
// Starts the program in this process, as if its executable lay in DIR, and
// plays the scripts in order. Exits 0 when every line held, 1 at the first
// line that did not, 2 for a bad command line or script.
//
// Helpers that prepare a program folder before a script, as another program
// would leave it:
//   marvanto-drive --hold-locks MS FILE...   takes an exclusive lock on each
//       database, prints "locked" and holds the locks for MS milliseconds
//   marvanto-drive --sql FILE STATEMENT     runs one statement on a database

#include "driver.h"

#include "app/program.h"
#include "platform/app_dir.h"

#include <sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

int holdLocks(int milliseconds, char** files, int count) {
    std::vector<sqlite3*> held;
    for (int i = 0; i < count; ++i) {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(files[i], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
            sqlite3_exec(db, "begin exclusive", nullptr, nullptr, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "marvanto-drive: cannot lock %s\n", files[i]);
            return 2;
        }
        held.push_back(db);
    }
    std::printf("locked\n");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    for (sqlite3* db : held) {
        sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    return 0;
}

int runStatement(const char* file, const char* statement) {
    sqlite3* db = nullptr;
    char* error = nullptr;
    if (sqlite3_open_v2(file, &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, statement, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "marvanto-drive: %s: %s\n", file, error ? error : sqlite3_errmsg(db));
        sqlite3_free(error);
        sqlite3_close(db);
        return 2;
    }
    sqlite3_close(db);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--hold-locks") == 0)
        return holdLocks(std::atoi(argv[2]), argv + 3, argc - 3);
    if (argc == 4 && std::strcmp(argv[1], "--sql") == 0)
        return runStatement(argv[2], argv[3]);
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
    QElapsedTimer startUp;
    startUp.start();
    program.start();
    program.finishStart();
    driver.setStartUpTime(startUp.elapsed());
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
