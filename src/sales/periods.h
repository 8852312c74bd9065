#pragma once

// The sales periods: the queries that find a period's rows by the text of
// 时间, and the texts that report their totals. 时间 reads year-month-day
// without leading zeros, a blank and the time (2009-2-14 9:05:07), in the
// shop's local time.

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace sales {

enum class Period { Year, Month, Day };

// The rows of the period containing a date, newest first. Each pattern is
// anchored at the start of 时间: the year "2009-%", the month "2009-2-%", the
// day "2009-2-14 %" (the blank keeps the 1st from matching the 10th to 19th).
std::string periodQuery(Period period, const QDate& date);

// 2009年度营业额:T元, 2009年2月营业额:T元, 2009年2月14日营业额:T元.
QString periodStatus(Period period, const QDate& date, std::int32_t total);

// The rows whose 时间 contains a typed date text (2009-2 matches a month),
// in the table's own order.
std::string dateTextQuery(const QString& dateText);

// "<text> 营业额:T元 共N 个记录".
QString dateTextStatus(const QString& dateText, std::int32_t total, int rows);

// The rows of one month of a year, in the table's own order: year and month
// as the trend page's texts hold them.
std::string monthQuery(const QString& year, const QString& month);

// "2009年 每月营业额趋势图共25600元".
QString yearLabel(const QString& year, std::int32_t total);

// The chart of a year from the twelve month texts. Nothing when a month text
// is not a whole number or the year's total leaves the 32-bit range. Without
// widths when the average month (the total divided by 12, towards zero) is 0.
// A bar is (month / average) × 10 pixels, the quotient first; bars below 0
// are 0 pixels.
struct Chart {
    std::int32_t yearTotal = 0;
    std::optional<std::array<int, 12>> widths;
};
std::optional<Chart> chartOf(const QStringList& monthTexts);

} // namespace sales
