// Makes the nine empty module databases in a folder: one SQLite file per
// module with its table data. Used by the build's install step and by tests.
// Refuses to overwrite a database that exists.

#include "records/module_storage.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-databases FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists()) {
        std::fprintf(stderr, "make-databases: no folder %s\n", argv[1]);
        return 1;
    }
    for (const auto& table : records::moduleTables()) {
        const QString path = folder.filePath(table.fileName);
        if (QFileInfo::exists(path)) {
            std::fprintf(stderr, "make-databases: %s exists\n", qPrintable(path));
            return 1;
        }
        sqlite3* db = nullptr;
        const QByteArray name = path.toUtf8();
        int rc = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(db, records::createTableStatement(table).c_str(), nullptr, nullptr,
                              nullptr);
        if (rc != SQLITE_OK) {
            std::fprintf(stderr, "make-databases: %s: %s\n", qPrintable(path), sqlite3_errmsg(db));
            sqlite3_close(db);
            return 1;
        }
        sqlite3_close(db);
    }
    return 0;
}
