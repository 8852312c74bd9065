// bench_sales: a sales table of 1 000 000 rows over three years. Times the
// buttons 年销售, 月销售 and 日销售 and a whole trend run as the buttons run
// them (the window is never painted) against SQLite summing the same amounts
// itself, and the trend against one GROUP BY query of the year's months, in
// the same run.
//
//   QT_QPA_PLATFORM=offscreen bench_sales [rows]

#include "common/sales_rows.h"
#include "platform/app_dir.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "records/module_storage.h"
#include "sales/periods.h"
#include "sales/sales_window.h"
#include "sales/trend_page.h"

#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

template <typename F> double timed(F&& f) {
    const auto start = Clock::now();
    f();
    return seconds(Clock::now() - start);
}

// The references: SQLite itself sums the period's amounts, and one GROUP BY
// query totals the year's twelve months.
long long sqlValue(const QString& path, const char* sql, const char* pattern) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    sqlite3_bind_text(stmt, 1, pattern, -1, SQLITE_STATIC);
    long long sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        sum += sqlite3_column_int64(stmt, sqlite3_column_count(stmt) - 1);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return sum;
}

// SQLite reading the rows a period button lists, every field as text, on a
// connection opened as the program opens its own.
double rowsRead(const QString& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    const auto start = Clock::now();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    const int columns = sqlite3_column_count(stmt);
    long long bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            sqlite3_column_text(stmt, c);
            bytes += sqlite3_column_bytes(stmt, c);
        }
    }
    sqlite3_finalize(stmt);
    const double elapsed = seconds(Clock::now() - start);
    sqlite3_close(db);
    return bytes > 0 ? elapsed : 0;
}

const char* const SumSql = "select sum(cast(trim(金额) as integer)) from data where 时间 like ?1";
const char* const GroupBySql =
    "select substr(时间, 6, instr(substr(时间, 6), '-') - 1) as m, "
    "sum(cast(trim(金额) as integer)) from data where 时间 like ?1 group by m";

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1'000'000;

    QTemporaryDir dir;
    platform::setAppDir(dir.path());
    QDir(dir.path()).mkdir(QStringLiteral("database"));
    for (const QString& list : {records::wordlists::StaffNames, records::wordlists::GoodsNames,
                                records::wordlists::Amounts})
        QFile(platform::appPath(list)).open(QIODevice::WriteOnly);
    const QString path = records::databasePath(records::moduleTables()[0].fileName);
    std::printf("filling %d sales over 2007 to 2009...\n", rows);
    bench::fillSales(path, rows, 2007, 3, 50);
    platform::setMessageBoxAnswerer([](const QString& text, const QString&, unsigned) {
        std::printf("unexpected message box: %s\n", qPrintable(text));
        return platform::IdOk;
    });
    platform::Clock::pin(QDateTime(QDate(2009, 6, 6), QTime(10, 0)), 8 * 3600);

    sales::SalesWindow window;
    const double create = timed([&] { window.create(); });
    const double refresh =
        timed([&] { window.findChild<QPushButton*>(QStringLiteral("SX"))->click(); });

    // Warm the file cache once, then take the best of five of each.
    sqlValue(path, SumSql, "2009-%");
    struct Line {
        const char* name;
        const char* button;
        const char* pattern;
        sales::Period period;
        double sql = 1e9, rows = 1e9, ours = 1e9;
        long long total = 0;
        QString status = {};
    } lines[] = {{"年销售", "Button2", "2009-%", sales::Period::Year},
                 {"月销售", "Button3", "2009-6-%", sales::Period::Month},
                 {"日销售", "Buttontoday", "2009-6-6 %", sales::Period::Day}};
    double groupBy = 1e9, trend = 1e9;
    long long groupTotal = 0;
    for (int i = 0; i < 5; ++i) {
        for (Line& line : lines) {
            line.sql = std::min(line.sql,
                                timed([&] { line.total = sqlValue(path, SumSql, line.pattern); }));
            line.rows = std::min(
                line.rows, rowsRead(path, sales::periodQuery(line.period, QDate(2009, 6, 6))));
            QPushButton* button = window.findChild<QPushButton*>(QString::fromLatin1(line.button));
            line.ours = std::min(line.ours, timed([&] { button->click(); }));
            line.status = window.statusText();
        }
        groupBy =
            std::min(groupBy, timed([&] { groupTotal = sqlValue(path, GroupBySql, "2009-%"); }));
        window.trendPage()->yearBox()->setValue(2009);
        trend = std::min(trend, timed([&] { window.trendPage()->runButton()->click(); }));
    }

    std::printf("creation with first refresh  %8.3f s\n", create);
    std::printf("refresh (full list)          %8.3f s\n", refresh);
    bool met = true;
    for (const Line& line : lines) {
        const double ratio = line.ours / line.sql;
        met = met && ratio <= 1.3;
        std::printf("%s %8.3f s  SQL sum %8.3f s  ratio %.2f  (%s; SQL %lld)\n", line.name,
                    line.ours, line.sql, ratio, qPrintable(line.status), line.total);
        std::printf("       SQLite reading the rows it lists %8.3f s  ratio %.2f\n", line.rows,
                    line.ours / line.rows);
    }
    std::printf("trend run    %8.3f s  GROUP BY %8.3f s  ratio %.2f  (%s; SQL %lld)\n", trend,
                groupBy, trend / groupBy, qPrintable(window.trendPage()->yearLabel()->text()),
                groupTotal);
    std::printf("targets: totals <= 1.3x SQL sum: %s; trend <= 1.5x GROUP BY: %s\n",
                met ? "met" : "MISSED", trend <= 1.5 * groupBy ? "met" : "MISSED");
    return 0;
}
