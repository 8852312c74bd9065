#include "sales/amounts.h"

#include "platform/ado.h"
#include "records/whole_number.h"

#include <limits>

namespace sales {

namespace {

// Keeps the grid from following every step of a walk over the result; it
// catches up once at the end.
class ControlsDisabled {
public:
    explicit ControlsDisabled(platform::AdoQuery& query) : mQuery(query) {
        mQuery.disableControls();
    }
    ~ControlsDisabled() { mQuery.enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    platform::AdoQuery& mQuery;
};

const char* const AmountField = "金额";

} // namespace

QString trimmedAmount(std::string_view text) {
    // Bytes up to 32 are never part of a longer UTF-8 character.
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
        text.remove_suffix(1);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList collectAmounts(platform::AdoQuery& query) {
    QStringList amounts;
    const int rows = query.recordCount();
    if (rows == 0)
        return amounts;
    const int field = query.result().fieldIndex(AmountField);
    if (field < 0)
        query.fieldByName(AmountField); // throws the missing field's error
    ControlsDisabled quiet(query);
    for (int i = 0; i < rows && !query.eof(); ++i) {
        QString amount = trimmedAmount(query.field(field));
        if (!amount.isEmpty())
            amounts.append(std::move(amount));
        query.next();
    }
    return amounts;
}

AmountSum sumAmounts(const QStringList& amounts) {
    AmountSum sum;
    for (const QString& text : amounts) {
        const auto value = records::wholeNumber(text);
        if (!value) {
            sum.error = notAnIntegerError(text);
            return sum;
        }
        const auto next = checkedAdd(sum.total, *value);
        if (!next) {
            sum.error = overflowError();
            return sum;
        }
        sum.total = *next;
        ++sum.added;
    }
    return sum;
}

std::optional<std::int32_t> checkedAdd(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = std::int64_t{a} + b;
    if (sum < std::numeric_limits<std::int32_t>::min() ||
        sum > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(sum);
}

QString notAnIntegerError(const QString& text) {
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

QString overflowError() {
    return QStringLiteral("Integer overflow");
}

} // namespace sales
