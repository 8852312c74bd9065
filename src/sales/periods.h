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
#include <string_view>

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

// The whole year for the trend's one pass: 编号, 金额 and 时间 of the rows
// whose 时间 begins with the year and "-", in the table's own order. Nothing
// when the year text holds a wildcard of the month queries' patterns (% or _):
// then only the twelve month queries find the same rows.
std::optional<std::string> yearScanQuery(const QString& year);

// The month (1 to 12) that a row of the year's pass belongs to, as the month
// queries match it: the text after the year and "-" (`yearBytes` bytes of
// UTF-8 with the "-") is the month's number without a leading zero, followed
// by "-". Nothing for any other text.
std::optional<int> monthOfTime(std::string_view time, std::size_t yearBytes);

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
