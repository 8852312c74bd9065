#pragma once

// Sales amounts as the totals read them: the text of 金额, trimmed, as a
// whole number of yuan, summed in the signed 32-bit range. Digits and the
// minus sign typed in full width (as a Chinese input method gives them) are
// read as the digits and sign they are; the stored text stays as typed.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {
class AdoQuery;
}

namespace sales {

// The text without blanks and control characters (codes up to 32) at either end.
QString trimmedAmount(std::string_view text);

// An amount text as a total reads it.
enum class AmountKind {
    Blank,      // nothing but blanks: adds nothing
    Whole,      // a whole number in the signed 32-bit range
    NotWhole,   // anything else that is not a whole number (12.5, 1e3, 12元)
    OutOfRange, // a whole number beyond the signed 32-bit range
};
struct AmountReading {
    AmountKind kind = AmountKind::Blank;
    std::int32_t value = 0;
};
AmountReading readAmount(QStringView text);

// Why an amount typed into the sales window cannot be stored ("金额必须是整数"
// for a text a total could not read), or nothing when a total can read it.
// Blank text is left to the window's own check of empty boxes.
std::optional<QString> amountEntryProblem(const QString& typed);

// One row's amount: the row's key 编号 (as stored, UTF-8) and its trimmed 金额.
struct RowAmount {
    std::string_view key;
    QString text;
};

// Walks the open result from the cursor to its end, as many steps as it has
// rows, and returns the amount of every row whose 金额 is not blank, in row
// order. The cursor is left past the last row. The keys are the result's own
// texts: they hold while the result stays as it is.
std::vector<RowAmount> collectAmounts(platform::AdoQuery& query);

// The amount texts alone, as the working lists hold them.
QStringList amountTexts(const std::vector<RowAmount>& amounts);

// The sum of amounts, added in order. It stops at the first amount that is
// not a whole number or that would take the sum out of range: then `error`
// says in Chinese that the total could not be computed, naming the row's
// 编号 and amount text, and `total` must not be shown as the period's total.
struct AmountSum {
    std::int32_t total = 0;
    QString error;
    bool failed() const { return !error.isEmpty(); }
};
AmountSum sumAmounts(const std::vector<RowAmount>& amounts);

// The twelve month totals of a year in one pass over the rows of `query`,
// whose text is the year's scan query: each month's sum as sumAmounts gives
// it over the rows of that month's own query, in the same order.
// `yearBytes` is the length of the year's text and "-" in UTF-8.
std::array<AmountSum, 12> sumMonths(platform::AdoQuery& query, std::size_t yearBytes);

// a + b, or nothing when the sum leaves the signed 32-bit range.
std::optional<std::int32_t> checkedAdd(std::int32_t a, std::int32_t b);

} // namespace sales
