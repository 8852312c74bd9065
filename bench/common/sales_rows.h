#pragma once

// Fills a new sales database with generated rows for the benchmarks: goods,
// amounts of 5 to 304 yuan, staff and notes, dated evenly over the years
// asked for, in the regional form the database writes (2008-3-14 9:05:07).

#include "records/module_storage.h"

#include <sqlite3.h>

#include <QString>

#include <string>

namespace bench {

// blankEvery: one amount in that many is a blank (0: none).
inline void fillSales(const QString& path, int rows, int firstYear, int years, int blankEvery) {
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, records::createTableStatement(records::moduleTables()[0]).c_str(), nullptr,
                 nullptr, nullptr);
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "insert into data (商品,金额,时间,出货人,备注) values (?1,?2,?3,?4,?5)",
                       -1, &insert, nullptr);
    const char* goods[] = {"大米", "面粉", "食用油", "鸡蛋", "矿泉水", "香烟", "方便面"};
    const char* staff[] = {"张伟", "王芳", "李娜", "刘洋"};
    for (int i = 0; i < rows; ++i) {
        const int year = firstYear + static_cast<int>(static_cast<long long>(i) * years / rows);
        const bool blank = blankEvery > 0 && i % blankEvery == 0;
        const std::string amount = blank ? " " : std::to_string(5 + i % 300);
        const std::string time = std::to_string(year) + "-" + std::to_string(1 + i % 12) + "-" +
                                 std::to_string(1 + i % 28) + " " + std::to_string(i % 24) + ":" +
                                 (i % 60 < 10 ? "0" : "") + std::to_string(i % 60) + ":07";
        const std::string note = i % 3 ? "" : "老顾客,月底结账";
        sqlite3_bind_text(insert, 1, goods[i % 7], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 2, amount.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, time.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, staff[i % 4], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 5, note.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

} // namespace bench
