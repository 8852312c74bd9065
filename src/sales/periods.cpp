#include "sales/periods.h"

#include "platform/ado.h"
#include "records/whole_number.h"
#include "sales/amounts.h"

#include <algorithm>

namespace sales {

namespace {

std::string quoted(const QString& text) {
    return platform::quoteDoubled(text.toStdString());
}

QString datePattern(Period period, const QDate& date) {
    switch (period) {
    case Period::Year:
        return QStringLiteral("%1-%").arg(date.year());
    case Period::Month:
        return QStringLiteral("%1-%2-%").arg(date.year()).arg(date.month());
    case Period::Day:
        return QStringLiteral("%1-%2-%3 %").arg(date.year()).arg(date.month()).arg(date.day());
    }
    return {};
}

// Wide enough for any bar, small enough for any widget.
constexpr std::int64_t WidestBar = 16'777'215;

} // namespace

std::string periodQuery(Period period, const QDate& date) {
    return "Select * from data where 时间 like '" + quoted(datePattern(period, date)) +
           "'  ORDER BY 编号 desc";
}

QString periodStatus(Period period, const QDate& date, std::int32_t total) {
    const QString amount = QString::number(total) + QStringLiteral("元");
    switch (period) {
    case Period::Year:
        return QStringLiteral("%1年度营业额:").arg(date.year()) + amount;
    case Period::Month:
        return QStringLiteral("%1年%2月营业额:").arg(date.year()).arg(date.month()) + amount;
    case Period::Day:
        return QStringLiteral("%1年%2月%3日营业额:")
                   .arg(date.year())
                   .arg(date.month())
                   .arg(date.day()) +
               amount;
    }
    return {};
}

std::string dateTextQuery(const QString& dateText) {
    return "Select * from data where 时间 like '%" + quoted(dateText) + "%'";
}

QString dateTextStatus(const QString& dateText, std::int32_t total, int rows) {
    return dateText + QStringLiteral(" 营业额:") + QString::number(total) +
           QStringLiteral("元 共") + QString::number(rows) + QStringLiteral(" 个记录");
}

std::string monthQuery(const QString& year, const QString& month) {
    return "Select * from data where 时间 like '" + quoted(year + u'-' + month + u'-') + "%'";
}

std::optional<std::string> yearScanQuery(const QString& year) {
    if (year.contains(u'%') || year.contains(u'_'))
        return std::nullopt;
    return "select 编号, 金额, 时间 from data where 时间 like '" + quoted(year + u'-') + "%'";
}

std::optional<int> monthOfTime(std::string_view time, std::size_t yearBytes) {
    if (time.size() <= yearBytes)
        return std::nullopt;
    const std::string_view rest = time.substr(yearBytes);
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash > 2 || rest[0] == '0')
        return std::nullopt;
    int month = 0;
    for (const char c : rest.substr(0, dash)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        month = month * 10 + (c - '0');
    }
    return month >= 1 && month <= 12 ? std::optional<int>(month) : std::nullopt;
}

QString yearLabel(const QString& year, std::int32_t total) {
    return year + QStringLiteral("年 每月营业额趋势图共") + QString::number(total) +
           QStringLiteral("元");
}

std::optional<Chart> chartOf(const QStringList& monthTexts) {
    std::array<std::int32_t, 12> months{};
    Chart chart;
    for (std::size_t k = 0; k < months.size(); ++k) {
        const auto value = k < static_cast<std::size_t>(monthTexts.size())
                               ? records::wholeNumber(monthTexts[static_cast<qsizetype>(k)])
                               : std::nullopt;
        if (!value)
            return std::nullopt;
        const auto total = checkedAdd(chart.yearTotal, *value);
        if (!total)
            return std::nullopt;
        months[k] = *value;
        chart.yearTotal = *total;
    }
    const std::int64_t average = chart.yearTotal / 12;
    if (average == 0)
        return chart;
    std::array<int, 12> widths{};
    for (std::size_t k = 0; k < months.size(); ++k) {
        const std::int64_t width = months[k] / average * 10;
        widths[k] = static_cast<int>(std::clamp<std::int64_t>(width, 0, WidestBar));
    }
    chart.widths = widths;
    return chart;
}

} // namespace sales
