// bench_records: a sales table of 100 000 rows. Times the sales window's
// refresh (list query, static result, grid model ready to show) against
// SQLite stepping through the same query and reading every field as text,
// in the same run (with SQLite's default mutex and without it, as the program
// opens its databases), and reports the memory the loaded result takes and
// the peak while the list is read against the database file's size. Then times
// an add of the memo window (statement, sync, refresh) with the durability
// setting the program uses against SQLite's default and write-ahead logging,
// in the same run, on the disk of the folder given by MARVANTO_BENCH_DIR (the
// system's temporary folder by default).
//
//   QT_QPA_PLATFORM=offscreen bench_records [rows]

#include "common/app_folder.h"
#include "common/peak_memory.h"
#include "common/record_timing.h"
#include "common/sales_rows.h"
#include "platform/app_dir.h"
#include "platform/message_box.h"
#include "records/module_descriptor.h"
#include "records/module_storage.h"
#include "records/record_window.h"

#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using bench::Clock;
using bench::median;
using bench::seconds;

// SQLite alone: step through the list query and read every field as text.
// `flags` are added to the opening flags: SQLITE_OPEN_NOMUTEX opens the
// connection as the program opens its own.
double rawRead(const QString& path, const std::string& sql, int flags, long long* bytes) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | flags, nullptr);
    const auto start = Clock::now();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    const int columns = sqlite3_column_count(stmt);
    long long total = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            sqlite3_column_text(stmt, c);
            total += sqlite3_column_bytes(stmt, c);
        }
    }
    sqlite3_finalize(stmt);
    const double elapsed = seconds(Clock::now() - start);
    sqlite3_close(db);
    *bytes = total;
    return elapsed;
}

void runPragma(records::RecordWindow& window, const std::string& pragma) {
    window.query().setSql(pragma);
    window.query().execSql();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;

    QTemporaryDir dir(qEnvironmentVariableIsEmpty("MARVANTO_BENCH_DIR")
                          ? QDir::tempPath() + QStringLiteral("/bench-XXXXXX")
                          : qEnvironmentVariable("MARVANTO_BENCH_DIR") +
                                QStringLiteral("/bench-XXXXXX"));
    bench::prepareAppFolder(dir.path());
    const records::ModuleDescriptor& sales = records::salesDescriptor();
    const QString path = records::databasePath(sales.databaseFile);
    bench::fillSales(path, rows, 2026, 1, 0);

    platform::setMessageBoxAnswerer([](const QString& text, const QString&, unsigned) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return platform::IdOk;
    });
    records::RecordWindow window(sales);
    // The peak while the list is read, above the program without it.
    const long before = bench::statusKb("VmRSS:");
    bench::resetPeak();
    window.create();
    window.resize(800, 600);
    window.show();
    QApplication::processEvents();

    std::vector<double> ours, raw, rawNoMutex;
    long long bytes = 0;
    for (int round = 0; round < 7; ++round) {
        raw.push_back(rawRead(path, sales.listQuery.toStdString(), 0, &bytes));
        rawNoMutex.push_back(
            rawRead(path, sales.listQuery.toStdString(), SQLITE_OPEN_NOMUTEX, &bytes));
        const auto start = Clock::now();
        window.refresh();
        // Ready to show: the grid lays out the visible rows.
        window.grid()->viewport()->repaint();
        ours.push_back(seconds(Clock::now() - start));
    }
    const double oursMedian = median(ours);
    const double peakMb = (bench::statusKb("VmHWM:") - before) / 1024.0;
    // The grid at the end of the list: Ctrl+End and the picture drawn.
    window.grid()->setFocus();
    const auto endStart = Clock::now();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(window.grid(), &end);
    window.grid()->viewport()->repaint();
    const double endMs = seconds(Clock::now() - endStart) * 1000;
    const int lastRow = window.grid()->currentIndex().row();
    const double fileMb = QFileInfo(path).size() / (1024.0 * 1024.0);
    const double rawMedian = median(raw);
    const double rawNoMutexMedian = median(rawNoMutex);
    std::printf("rows                      %d (%s)\n", window.query().recordCount(),
                qPrintable(window.statusText()));
    std::printf("raw SQLite read as text   %.3f s  (%lld bytes of text)\n", rawMedian, bytes);
    std::printf("raw, without SQLite's mutex %.3f s  (as the program opens its databases)\n",
                rawNoMutexMedian);
    std::printf("refresh (query+result+grid) %.3f s\n", oursMedian);
    std::printf("ratio refresh / raw       %.2f  (target <= 1.3)\n", oursMedian / rawMedian);
    std::printf("ratio refresh / raw without mutex %.2f\n", oursMedian / rawNoMutexMedian);
    std::printf("Ctrl+End in the grid      %.1f ms  (row %d; target <= 50 ms)\n", endMs,
                lastRow + 1);
    std::printf("result in memory          %.1f MB\n", window.query().result().memoryUsed() / 1e6);
    std::printf("peak memory of the list   %.1f MiB for a file of %.1f MiB: %.2f x the file "
                "(target <= 1.5)\n",
                peakMb, fileMb, peakMb / fileMb);

    // What a confirmed add costs on this disk.
    const records::ModuleDescriptor& memoModule = records::memoDescriptor();
    for (const records::ModuleTable& table : records::moduleTables()) {
        if (table.fileName != memoModule.databaseFile)
            continue;
        sqlite3* db = nullptr;
        sqlite3_open(records::databasePath(table.fileName).toUtf8().constData(), &db);
        sqlite3_exec(db, records::createTableStatement(table).c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    records::RecordWindow memo(memoModule);
    memo.create();
    const double extra = bench::addCost(memo);
    runPragma(memo, "pragma synchronous=FULL");
    const double byDefault = bench::addCost(memo);
    runPragma(memo, "pragma journal_mode=WAL");
    const double wal = bench::addCost(memo);
    runPragma(memo, "pragma journal_mode=DELETE");
    std::printf("add, synchronous=EXTRA    %.2f ms  (the program's setting)\n", extra);
    std::printf("add, SQLite's default     %.2f ms  (rollback journal, synchronous=FULL)\n",
                byDefault);
    std::printf("add, WAL, synchronous=FULL %.2f ms\n", wal);
    return 0;
}
