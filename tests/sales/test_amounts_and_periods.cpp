#include "platform/ado.h"
#include "platform/app_dir.h"
#include "records/module_storage.h"
#include "sales/amounts.h"
#include "sales/periods.h"

#include <sqlite3.h>

#include <QDir>
#include <QTemporaryDir>

#include <optional>

#include <gtest/gtest.h>

using namespace sales;

TEST(Amounts, TrimmedOfBlanksAndControlCharacters) {
    EXPECT_EQ(trimmedAmount(" \t350\r\n "), QStringLiteral("350"));
    EXPECT_EQ(trimmedAmount("\x01\x1f 1 2 \x20"), QStringLiteral("1 2"));
    EXPECT_EQ(trimmedAmount("   "), QString());
    EXPECT_EQ(trimmedAmount(""), QString());
    EXPECT_EQ(trimmedAmount(" 十元 "), QStringLiteral("十元"));
}

namespace {
// Rows numbered from 1 in the order given.
std::vector<RowAmount> rows(const QStringList& texts) {
    static const char* const Keys[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    std::vector<RowAmount> amounts;
    for (const QString& text : texts)
        amounts.push_back({Keys[amounts.size()], text});
    return amounts;
}
} // namespace

TEST(Amounts, FullWidthDigitsAndSignsAreReadAsTheirAsciiForms) {
    EXPECT_EQ(readAmount(u"１２").value, 12);
    EXPECT_EQ(readAmount(u"１２").kind, AmountKind::Whole);
    EXPECT_EQ(readAmount(u"－３５").value, -35);
    EXPECT_EQ(readAmount(u"＋7").value, 7);
    EXPECT_EQ(readAmount(u"-2147483648").value, INT32_MIN);
    EXPECT_EQ(readAmount(u"").kind, AmountKind::Blank);
    for (const char16_t* text : {u"12.5", u"1e3", u"12元", u"1 2", u"１２．５", u"-", u"0x10"})
        EXPECT_EQ(readAmount(text).kind, AmountKind::NotWhole)
            << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(readAmount(u"2147483648").kind, AmountKind::OutOfRange);
    EXPECT_EQ(readAmount(u"－９９９９９９９９９９９").kind, AmountKind::OutOfRange);
}

TEST(Amounts, TypedAmountsAreRefusedWhenNoTotalCouldReadThem) {
    EXPECT_EQ(amountEntryProblem(" 350 "), std::nullopt);
    EXPECT_EQ(amountEntryProblem("１２"), std::nullopt);
    EXPECT_EQ(amountEntryProblem("   "), std::nullopt);
    EXPECT_EQ(amountEntryProblem("12.5"), QStringLiteral("金额必须是整数"));
    EXPECT_EQ(amountEntryProblem("1e3"), QStringLiteral("金额必须是整数"));
    EXPECT_EQ(amountEntryProblem("3000000000"),
              QStringLiteral("金额超出范围,必须在 -2147483648 到 2147483647 之间"));
}

TEST(Amounts, SumStopsAtTheFirstBadAmountNamingItsRow) {
    AmountSum sum = sumAmounts(rows({"100", "-30", "+5", "１０"}));
    EXPECT_EQ(sum.total, 85);
    EXPECT_FALSE(sum.failed());

    sum = sumAmounts({});
    EXPECT_EQ(sum.total, 0);
    EXPECT_FALSE(sum.failed());

    sum = sumAmounts({{"17", "100"}, {"23", "12.5"}, {"30", "7"}});
    EXPECT_EQ(sum.error, QStringLiteral("无法计算营业额:编号 23 的金额 '12.5' 不是整数"));
    EXPECT_EQ(sumAmounts({{"4", "3000000000"}}).error,
              QStringLiteral("无法计算营业额:编号 4 的金额 '3000000000' 超出整数范围"));
}

TEST(Amounts, SumNeverWraps) {
    AmountSum sum = sumAmounts(rows({"2147483647", "-1", "1"}));
    EXPECT_EQ(sum.total, 2147483647);
    EXPECT_FALSE(sum.failed());

    sum = sumAmounts(rows({"2147483000", "647", "1", "5"}));
    EXPECT_EQ(sum.error, QStringLiteral("无法计算营业额:加上编号 3 的金额 '1' 后总额超出整数范围"));

    sum = sumAmounts(rows({"-2147483648", "－1"}));
    EXPECT_EQ(sum.error,
              QStringLiteral("无法计算营业额:加上编号 2 的金额 '－1' 后总额超出整数范围"));
}

TEST(Periods, StatusTexts) {
    const QDate day(2009, 2, 14);
    EXPECT_EQ(periodStatus(Period::Year, day, 12800), QStringLiteral("2009年度营业额:12800元"));
    EXPECT_EQ(periodStatus(Period::Month, day, 2100), QStringLiteral("2009年2月营业额:2100元"));
    EXPECT_EQ(periodStatus(Period::Day, day, -35), QStringLiteral("2009年2月14日营业额:-35元"));
    EXPECT_EQ(dateTextStatus("2009-2-14", 350, 3),
              QStringLiteral("2009-2-14 营业额:350元 共3 个记录"));
    EXPECT_EQ(yearLabel("2009", 25600), QStringLiteral("2009年 每月营业额趋势图共25600元"));
}

TEST(Periods, QueryTexts) {
    const QDate day(2009, 2, 4);
    EXPECT_EQ(periodQuery(Period::Year, day),
              "Select * from data where 时间 like '2009-%'  ORDER BY 编号 desc");
    EXPECT_EQ(periodQuery(Period::Month, day),
              "Select * from data where 时间 like '2009-2-%'  ORDER BY 编号 desc");
    EXPECT_EQ(periodQuery(Period::Day, day),
              "Select * from data where 时间 like '2009-2-4 %'  ORDER BY 编号 desc");
    EXPECT_EQ(dateTextQuery("2009-2"), "Select * from data where 时间 like '%2009-2%'");
    EXPECT_EQ(dateTextQuery("it's"), "Select * from data where 时间 like '%it''s%'");
    EXPECT_EQ(monthQuery("2009", "12"), "Select * from data where 时间 like '2009-12-%'");
}

// The patterns against the database itself: each period takes exactly its
// own dates, whatever other dates contain the same digits.
class PeriodRows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mDir.isValid());
        platform::setAppDir(mDir.path());
        QDir(mDir.path()).mkdir(QStringLiteral("database"));
        const records::ModuleTable& table = records::moduleTables()[0];
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(records::databasePath(table.fileName).toUtf8().constData(), &db),
                  SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, records::createTableStatement(table).c_str(), nullptr, nullptr,
                               nullptr),
                  SQLITE_OK);
        const char* times[] = {"2009-1-1 0:00:00",  "2009-1-10 9:00:00", "2009-1-19 23:59:59",
                               "2009-1-11 8:00:00", "2009-11-1 8:00:00", "2009-12-1 8:00:00",
                               "2019-1-1 8:00:00",  "12009-1-1 8:00:00", "2008-12-31 23:59:59",
                               "2009-2-1 8:00:00",  "2009-1-2 8:00:00",  "2009-1-31 8:00:00"};
        for (const char* time : times) {
            const std::string insert =
                std::string("insert into data (金额,时间) values ('1','") + time + "')";
            ASSERT_EQ(sqlite3_exec(db, insert.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        }
        sqlite3_close(db);
        mConnection.setConnectionString(records::connectionString(mDir.path(), table.fileName));
        mConnection.open();
    }

    QStringList timesOf(const std::string& sql) {
        platform::AdoQuery query(mConnection);
        query.setSql(sql);
        query.open();
        QStringList times;
        for (int row = 0; row < query.recordCount(); ++row)
            times << QString::fromUtf8(query.result().cell(row, 3));
        times.sort();
        return times;
    }

    QTemporaryDir mDir;
    platform::AdoConnection mConnection;
};

TEST_F(PeriodRows, EachPeriodTakesOnlyItsOwnDates) {
    EXPECT_EQ(timesOf(periodQuery(Period::Day, QDate(2009, 1, 1))),
              QStringList{"2009-1-1 0:00:00"});
    EXPECT_EQ(timesOf(periodQuery(Period::Day, QDate(2009, 1, 3))), QStringList{});
    EXPECT_EQ(timesOf(periodQuery(Period::Month, QDate(2009, 1, 5))),
              (QStringList{"2009-1-1 0:00:00", "2009-1-10 9:00:00", "2009-1-11 8:00:00",
                           "2009-1-19 23:59:59", "2009-1-2 8:00:00", "2009-1-31 8:00:00"}));
    EXPECT_EQ(timesOf(periodQuery(Period::Month, QDate(2009, 11, 5))),
              QStringList{"2009-11-1 8:00:00"});
    EXPECT_EQ(timesOf(periodQuery(Period::Year, QDate(2009, 6, 1))).size(), 9);
    EXPECT_EQ(timesOf(monthQuery("2009", "1")),
              timesOf(periodQuery(Period::Month, QDate(2009, 1, 9))));
    // The date text is a plain "contains": 2009-1-1 also finds the 10th to
    // 19th, and the year 12009.
    EXPECT_EQ(timesOf(dateTextQuery("2009-1-1")),
              (QStringList{"12009-1-1 8:00:00", "2009-1-1 0:00:00", "2009-1-10 9:00:00",
                           "2009-1-11 8:00:00", "2009-1-19 23:59:59"}));
}

// The trend's one pass over a year against the twelve month queries it
// stands for: every month's total and failure the same, whatever the texts
// of 时间 and 金额 hold (leading zeros, a month 13, no dash, another case of
// a year's letters, a quote, amounts that stop a month).
TEST(TrendPass, EachMonthSumsAsItsOwnQueryDoes) {
    QTemporaryDir dir;
    platform::setAppDir(dir.path());
    QDir(dir.path()).mkdir(QStringLiteral("database"));
    const records::ModuleTable& table = records::moduleTables()[0];
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(records::databasePath(table.fileName).toUtf8().constData(), &db),
              SQLITE_OK);
    std::string sql = records::createTableStatement(table) + ";";
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"2009-1-5 8:00:00", "10"},
        {"2009-01-5 8:00:00", "1000"},
        {"2009-1-", "7"},
        {"2009-1", "9000"},
        {"2009-13-1 8:00:00", "5"},
        {"2009-12-31 9:00:00", "２"},
        {"2009-2-1 8:00:00", " 3 "},
        {"2009-2-2 8:00:00", "12.5"},
        {"2009-2-3 8:00:00", "4"},
        {"2009-3-1 8:00:00", ""},
        {"2009-3-2 8:00:00", "   "},
        {"2009-10-1 8:00:00", "-6"},
        {"12009-1-1 8:00:00", "800"},
        {"2009-1x-1", "900"},
        {"ab'c-4-1 8:00:00", "1"},
        {"AB'C-4-2 8:00:00", "2"},
        {"2009-5-1", "2147483647"},
        {"2009-5-2", "1"},
        {"2009-11-1 8:00:00", "99999999999"}};
    const auto literal = [](std::string text) {
        for (std::size_t at = text.find('\''); at != std::string::npos;
             at = text.find('\'', at + 2))
            text.insert(at, 1, '\'');
        return "'" + text + "'";
    };
    for (const auto& [time, amount] : rows)
        sql +=
            "insert into data (金额,时间) values (" + literal(amount) + "," + literal(time) + ");";
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    platform::AdoConnection connection;
    connection.setConnectionString(records::connectionString(dir.path(), table.fileName));
    connection.open();

    for (const QString& year : {QStringLiteral("2009"), QStringLiteral("ab'c"),
                                QStringLiteral("2010"), QStringLiteral("")}) {
        SCOPED_TRACE(year.toStdString());
        platform::AdoQuery query(connection);
        const std::optional<std::string> scan = yearScanQuery(year);
        ASSERT_TRUE(scan);
        query.setSql(*scan);
        const auto sums = sumMonths(query, static_cast<std::size_t>((year + u'-').toUtf8().size()));
        for (int month = 1; month <= 12; ++month) {
            query.setSql(monthQuery(year, QString::number(month)));
            query.open();
            const AmountSum expected = sumAmounts(collectAmounts(query));
            EXPECT_EQ(sums[month - 1].total, expected.total) << month;
            EXPECT_EQ(sums[month - 1].error, expected.error) << month;
        }
    }
    // The patterns' wildcards leave only the twelve queries.
    EXPECT_FALSE(yearScanQuery(QStringLiteral("20%")));
    EXPECT_FALSE(yearScanQuery(QStringLiteral("200_")));
}

TEST(Chart, BarsCompareEachMonthWithTheAverage) {
    QStringList texts(12, QStringLiteral("100"));
    auto chart = chartOf(texts);
    ASSERT_TRUE(chart && chart->widths);
    EXPECT_EQ(chart->yearTotal, 1200);
    for (int width : *chart->widths)
        EXPECT_EQ(width, 10);

    texts = QStringList(12, QStringLiteral("0"));
    texts[4] = QStringLiteral("1200");
    chart = chartOf(texts);
    ASSERT_TRUE(chart && chart->widths);
    EXPECT_EQ((*chart->widths)[4], 120);
    EXPECT_EQ((*chart->widths)[0], 0);

    texts = QStringList(12, QStringLiteral("0"));
    texts[2] = QStringLiteral("23");
    chart = chartOf(texts);
    ASSERT_TRUE(chart && chart->widths);
    EXPECT_EQ((*chart->widths)[2], 230);

    // The quotient first: 150 against an average of 100 is one step, like 100;
    // 199 is still one.
    texts = QStringList{"150", "100", "199", "751", "0", "0", "0", "0", "0", "0", "0", "0"};
    chart = chartOf(texts);
    ASSERT_TRUE(chart && chart->widths);
    EXPECT_EQ((*chart->widths)[0], 10);
    EXPECT_EQ((*chart->widths)[1], 10);
    EXPECT_EQ((*chart->widths)[2], 10);
    EXPECT_EQ((*chart->widths)[3], 70);
}

TEST(Chart, NoBarsForAnAverageOfZeroNoChartForABadMonth) {
    QStringList texts(12, QStringLiteral("0"));
    texts[0] = QStringLiteral("11");
    auto chart = chartOf(texts);
    ASSERT_TRUE(chart);
    EXPECT_EQ(chart->yearTotal, 11);
    EXPECT_FALSE(chart->widths);
    texts[0] = QStringLiteral("-11");
    EXPECT_FALSE(chartOf(texts)->widths);

    for (const char* bad : {"", "12.5", "x"}) {
        texts = QStringList(12, QStringLiteral("100"));
        texts[11] = QString::fromUtf8(bad);
        EXPECT_FALSE(chartOf(texts)) << bad;
    }
    EXPECT_FALSE(chartOf(QStringList(11, QStringLiteral("100"))));
    // A year total beyond 32 bits draws nothing rather than a wrapped chart.
    EXPECT_FALSE(chartOf(QStringList(12, QStringLiteral("2000000000"))));
}

TEST(Chart, NegativeBarsAreEmptyAndHugeOnesStayDrawable) {
    QStringList texts(12, QStringLiteral("0"));
    texts[0] = QStringLiteral("1300");
    texts[1] = QStringLiteral("-100");
    auto chart = chartOf(texts);
    ASSERT_TRUE(chart && chart->widths);
    EXPECT_EQ((*chart->widths)[0], 130);
    EXPECT_EQ((*chart->widths)[1], 0);

    // An average of -1 against the smallest month: no overflow, a wide bar.
    texts = QStringList(12, QStringLiteral("0"));
    texts[0] = QStringLiteral("-2147483648");
    texts[1] = QStringLiteral("2147483636");
    chart = chartOf(texts);
    ASSERT_TRUE(chart && chart->widths);
    EXPECT_EQ(chart->yearTotal, -12);
    EXPECT_EQ((*chart->widths)[0], 16777215);
    EXPECT_EQ((*chart->widths)[1], 0);
}
