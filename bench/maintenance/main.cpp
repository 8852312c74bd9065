// bench_maintenance: "备份数据库" of the nine databases, with a sales database
// of 100 000 and of 1 000 000 rows, against SQLite's online backup of the same
// files as `sqlite3 SOURCE ".backup TARGET"` does it; and a restore against
// the same pair of `.backup` (the current files) and `.restore` (the backup
// into them). Medians of the runs, their ratio, measured in the same run.
//
//   MARVANTO_BENCH_DIR=/some/disk/folder bench_maintenance [runs]

#include "common/app_folder.h"
#include "common/sales_rows.h"

#include "maintenance/backup.h"
#include "maintenance/backup_list.h"
#include "maintenance/restore.h"
#include "platform/message_box.h"
#include "records/module_storage.h"

#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double seconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// `sqlite3 from ".backup to"`: the online backup into a new file, whose
// commit syncs it as the shell's default does.
void sqliteBackup(const QString& from, const QString& to) {
    sqlite3* source = nullptr;
    sqlite3* target = nullptr;
    sqlite3_open_v2(from.toUtf8().constData(), &source, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_open(to.toUtf8().constData(), &target);
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
    sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    sqlite3_close(target);
    sqlite3_close(source);
}

void removeFolder(const QString& path) {
    QDir(path).removeRecursively();
}

void measure(int rows, int runs, const QString& base) {
    QTemporaryDir folder(base + QStringLiteral("/bench-maintenance-XXXXXX"));
    bench::prepareAppFolder(folder.path());
    for (const records::ModuleTable& table : records::moduleTables()) {
        const QString path = records::databasePath(table.fileName);
        if (table.fileName == records::moduleTables()[0].fileName) {
            bench::fillSales(path, rows, 2000, 25, 0);
            continue;
        }
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        sqlite3_exec(db, records::createTableStatement(table).c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    const QString backupFolder = folder.filePath(QStringLiteral("Backup"));
    const QString reference = folder.filePath(QStringLiteral("reference"));

    std::vector<double> ours, theirs, ourRestores, theirRestores;
    for (int run = 0; run < runs; ++run) {
        removeFolder(backupFolder);
        removeFolder(reference);
        theirs.push_back(seconds([&] {
            QDir().mkpath(reference);
            for (const QString& file : maintenance::backupOrder())
                sqliteBackup(records::databasePath(file), reference + QLatin1Char('/') + file);
        }));
        ours.push_back(seconds([&] {
            maintenance::backupDatabases(QStringLiteral("2026-12-10 9:00:0%1").arg(run),
                                         QStringLiteral("备份说明"), 0);
        }));

        // The restore: the automatic backup of the current files and the
        // copy of the backup into them, against the same two copies by SQLite.
        const QList<maintenance::BackupEntry> backups = maintenance::listBackups(backupFolder);
        ourRestores.push_back(seconds([&] {
            maintenance::restoreBackup(backups.first(),
                                       QStringLiteral("2026-12-10 10:00:0%1").arg(run), [] {});
        }));
        const QString pair = folder.filePath(QStringLiteral("pair"));
        removeFolder(pair);
        theirRestores.push_back(seconds([&] {
            QDir().mkpath(pair);
            for (const QString& file : maintenance::backupOrder()) {
                sqliteBackup(records::databasePath(file), pair + QLatin1Char('/') + file);
                sqliteBackup(reference + QLatin1Char('/') + file, records::databasePath(file));
            }
        }));
    }
    const double size =
        static_cast<double>(
            QFileInfo(records::databasePath(records::moduleTables()[0].fileName)).size()) /
        1e6;
    std::printf("%d sales rows (sales database %.0f MB), medians of %d runs:\n", rows, size, runs);
    std::printf("  backup of the nine   %.3f s   sqlite3 .backup  %.3f s   ratio %.2f  (target "
                "at most 1.5)\n",
                median(ours), median(theirs), median(ours) / median(theirs));
    std::printf("  restore of the nine  %.3f s   .backup+.restore %.3f s   ratio %.2f  (target "
                "at most 1.5)\n",
                median(ourRestores), median(theirRestores),
                median(ourRestores) / median(theirRestores));
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    platform::setMessageBoxAnswerer([](const QString&, const QString&, unsigned flags) {
        return (flags & 0xF) == platform::mb::YesNo ? platform::IdYes : platform::IdOk;
    });
    const QString base = qEnvironmentVariable("MARVANTO_BENCH_DIR", QDir::tempPath());
    for (const int rows : {100000, 1000000})
        measure(rows, runs, base);
    return 0;
}
