#pragma once

// Sales amounts as the totals read them: the text of 金额, trimmed, as a
// whole number of yuan, summed in the signed 32-bit range.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {
class AdoQuery;
}

namespace sales {

// The text without blanks and control characters (codes up to 32) at either end.
QString trimmedAmount(std::string_view text);

// Walks the open result from the cursor to its end, as many steps as it has
// rows, and returns the trimmed 金额 of every row whose amount is not blank,
// in row order. The cursor is left past the last row.
QStringList collectAmounts(platform::AdoQuery& query);

// The sum of amounts, added in order. It stops at the first amount that is
// not a whole number or that would take the sum out of range: `total` is then
// the sum of the `added` amounts before it and `error` says what went wrong.
struct AmountSum {
    std::int32_t total = 0;
    qsizetype added = 0;
    QString error;
};
AmountSum sumAmounts(const QStringList& amounts);

// a + b, or nothing when the sum leaves the signed 32-bit range.
std::optional<std::int32_t> checkedAdd(std::int32_t a, std::int32_t b);

// The conversion error for a text that is not a whole number.
QString notAnIntegerError(const QString& text);
// The error of a sum that leaves the signed 32-bit range.
QString overflowError();

} // namespace sales
