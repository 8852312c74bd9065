// bench_server: the books on a PostgreSQL server (MARVANTO_TEST_SERVER_URL,
// see run-bench-server.sh). A sales table of 100 000 rows is restored into
// the server from a file; the sales window's refresh (list query, static
// result, grid ready to show) is timed against psql reading the same rows
// into nothing (and libpq alone reading every field), in the same run; the same refresh on the file
// against SQLite is printed beside it. Then the memo window's add (statement, commit, refresh) on
// the server and on the file.
//
//   run-bench-server.sh [BUILD_DIR] [rows]

#include "common/app_folder.h"
#include "common/record_timing.h"
#include "common/sales_rows.h"
#include "maintenance/restore.h"
#include "platform/data_dir.h"
#include "platform/message_box.h"
#include "platform/server_conf.h"
#include "records/module_descriptor.h"
#include "records/module_storage.h"
#include "records/record_window.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using bench::Clock;
using bench::median;
using bench::seconds;

// Seconds a refresh of the window takes, ready to show; the median of rounds.
double refreshTime(records::RecordWindow& window) {
    std::vector<double> rounds;
    for (int round = 0; round < 7; ++round) {
        const auto start = Clock::now();
        window.refresh();
        window.grid()->viewport()->repaint();
        rounds.push_back(seconds(Clock::now() - start));
    }
    return median(rounds);
}

// psql reading the list query's rows unaligned into nothing.
double psqlTime(const QString& url, const QString& sql) {
    std::vector<double> rounds;
    for (int round = 0; round < 7; ++round) {
        QProcess psql;
        const auto start = Clock::now();
        psql.start(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-qAt"),
                                            QStringLiteral("-o"), QStringLiteral("/dev/null"),
                                            QStringLiteral("-d"), url, QStringLiteral("-c"), sql});
        psql.waitForFinished(-1);
        rounds.push_back(seconds(Clock::now() - start));
        if (psql.exitCode() != 0)
            std::fprintf(stderr, "psql: %s\n", psql.readAllStandardError().constData());
    }
    return median(rounds);
}

// libpq alone: the query's whole result, every field read as text.
double libpqTime(const QString& url, const QString& sql) {
    std::vector<double> rounds;
    PGconn* conn = PQconnectdb(url.toUtf8().constData());
    for (int round = 0; round < 7; ++round) {
        const auto start = Clock::now();
        PGresult* result = PQexec(conn, sql.toUtf8().constData());
        std::size_t bytes = 0;
        for (int row = 0; row < PQntuples(result); ++row) {
            for (int field = 0; field < PQnfields(result); ++field)
                bytes += std::char_traits<char>::length(PQgetvalue(result, row, field));
        }
        PQclear(result);
        rounds.push_back(seconds(Clock::now() - start));
    }
    PQfinish(conn);
    return median(rounds);
}

// SQLite stepping through the list query and reading every field as text.
double sqliteTime(const QString& path, const std::string& sql) {
    std::vector<double> rounds;
    for (int round = 0; round < 7; ++round) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        const auto start = Clock::now();
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                sqlite3_column_text(stmt, c);
        }
        sqlite3_finalize(stmt);
        rounds.push_back(seconds(Clock::now() - start));
        sqlite3_close(db);
    }
    return median(rounds);
}

void setServer(const QString& url) {
    QFile conf(platform::dataPath(platform::ServerConfName));
    if (url.isEmpty()) {
        conf.remove();
        return;
    }
    conf.open(QIODevice::WriteOnly);
    conf.write("[server]\nurl=" + url.toUtf8() + "\n");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString url = qEnvironmentVariable("MARVANTO_TEST_SERVER_URL");
    if (url.isEmpty()) {
        std::fprintf(stderr, "bench_server: run it with bench/server/run-bench-server.sh\n");
        return 2;
    }
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/bench-XXXXXX"));
    bench::prepareAppFolder(dir.path());
    platform::setMessageBoxAnswerer([](const QString& text, const QString&, unsigned) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return platform::IdOk;
    });
    const records::ModuleDescriptor& sales = records::salesDescriptor();
    const records::ModuleDescriptor& memo = records::memoDescriptor();
    const QString salesFile = records::databasePath(sales.databaseFile);
    bench::fillSales(salesFile, rows, 2026, 1, 0);
    for (const records::ModuleTable& table : records::moduleTables()) {
        if (table.fileName != memo.databaseFile)
            continue;
        sqlite3* db = nullptr;
        sqlite3_open(records::databasePath(table.fileName).toUtf8().constData(), &db);
        sqlite3_exec(db, records::createTableStatement(table).c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

    // On the files.
    double fileRefresh = 0;
    double fileAdd = 0;
    {
        records::RecordWindow window(sales);
        window.create();
        window.resize(800, 600);
        window.show();
        fileRefresh = refreshTime(window);
        records::RecordWindow memoWindow(memo);
        memoWindow.create();
        fileAdd = bench::addCost(memoWindow);
    }
    const double sqlite = sqliteTime(salesFile, sales.listQuery.toStdString());

    // On the server, the same rows.
    setServer(url);
    const auto loadStart = Clock::now();
    maintenance::restoreDatabaseToServer(salesFile, sales.databaseFile);
    const double load = seconds(Clock::now() - loadStart);
    records::RecordWindow window(sales);
    window.create();
    window.resize(800, 600);
    window.show();
    const double serverRefresh = refreshTime(window);
    const QString listOnServer = QStringLiteral("Select 编号,商品,金额,时间,出货人,备注 from "
                                                "\"销售记录\".data ORDER BY 编号 desc");
    const double psql = psqlTime(url, listOnServer);
    const double libpq = libpqTime(url, listOnServer);
    records::RecordWindow memoWindow(memo);
    memoWindow.create();
    const double serverAdd = bench::addCost(memoWindow);

    std::printf("rows                          %d (%s)\n", window.query().recordCount(),
                qPrintable(window.statusText()));
    std::printf("restore of the rows into the server %.3f s\n", load);
    std::printf("refresh, server                %.3f s\n", serverRefresh);
    std::printf("psql reading the same rows     %.3f s\n", psql);
    std::printf("ratio refresh / psql           %.2f  (target <= 1.5)\n", serverRefresh / psql);
    std::printf("libpq alone reading the rows   %.3f s  (ratio %.2f)\n", libpq,
                serverRefresh / libpq);
    std::printf("refresh, file                  %.3f s\n", fileRefresh);
    std::printf("SQLite reading the same rows   %.3f s  (ratio %.2f)\n", sqlite,
                fileRefresh / sqlite);
    std::printf("add, server (commit, fsync on) %.2f ms\n", serverAdd);
    std::printf("add, file (synchronous=EXTRA)  %.2f ms\n", fileAdd);
    return 0;
}
