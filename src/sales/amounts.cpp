#include "sales/amounts.h"
#include "sales/periods.h"

#include "platform/ado.h"
#include "platform/stored_text.h"
#include "records/whole_number.h"

#include <algorithm>
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
const char* const KeyField = "编号";

// Full-width digits ０ to ９, the full-width minus and plus become their ASCII
// forms; everything else stays.
QString halfWidthNumber(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'０' && u <= u'９')
            out += QChar(u'0' + (u - u'０'));
        else if (u == u'－')
            out += u'-';
        else if (u == u'＋')
            out += u'+';
        else
            out += c;
    }
    return out;
}

// An optional sign and one or more ASCII digits, whatever their value.
bool spellsWholeNumber(QStringView text) {
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+'))
        text = text.mid(1);
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

QString cannotCompute(const QString& reason) {
    return QStringLiteral("无法计算营业额:") + reason;
}

} // namespace

QString trimmedAmount(std::string_view text) {
    // Bytes up to 32 are never part of a longer UTF-8 character.
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
        text.remove_suffix(1);
    return platform::storedText(text);
}

AmountReading readAmount(QStringView text) {
    if (text.isEmpty())
        return {};
    // Nearly every amount is typed in ASCII, which needs no conversion.
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    const QString number = ascii ? QString() : halfWidthNumber(text);
    const QStringView halfWidth = ascii ? text : QStringView(number);
    if (const auto value = records::wholeNumber(halfWidth))
        return {AmountKind::Whole, *value};
    return {spellsWholeNumber(halfWidth) ? AmountKind::OutOfRange : AmountKind::NotWhole, 0};
}

std::optional<QString> amountEntryProblem(const QString& typed) {
    switch (readAmount(trimmedAmount(typed.toStdString())).kind) {
    case AmountKind::Blank:
    case AmountKind::Whole:
        return std::nullopt;
    case AmountKind::NotWhole:
        return QStringLiteral("金额必须是整数");
    case AmountKind::OutOfRange:
        return QStringLiteral("金额超出范围,必须在 -2147483648 到 2147483647 之间");
    }
    return std::nullopt;
}

std::vector<RowAmount> collectAmounts(platform::AdoQuery& query) {
    std::vector<RowAmount> amounts;
    const int rows = query.recordCount();
    if (rows == 0)
        return amounts;
    const platform::AdoResult& result = query.result();
    const int amountField = result.fieldIndex(AmountField);
    const int keyField = result.fieldIndex(KeyField);
    if (amountField < 0)
        query.fieldByName(AmountField); // throws the missing field's error
    if (keyField < 0)
        query.fieldByName(KeyField);
    ControlsDisabled quiet(query);
    for (int i = 0; i < rows && !query.eof(); ++i) {
        QString amount = trimmedAmount(query.field(amountField));
        if (!amount.isEmpty())
            amounts.push_back({query.field(keyField), std::move(amount)});
        query.next();
    }
    return amounts;
}

QStringList amountTexts(const std::vector<RowAmount>& amounts) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(amounts.size()));
    for (const RowAmount& amount : amounts)
        texts.append(amount.text);
    return texts;
}

namespace {

// Adds one amount (trimmed, not blank) to a sum that has not failed; `key`
// gives the row's 编号 when the message needs it.
template <typename Key> void addAmount(AmountSum& sum, const QString& text, const Key& key) {
    const AmountReading reading = readAmount(text);
    const auto row = [&] { return QStringLiteral("编号 %1 的金额 '%2'").arg(key(), text); };
    if (reading.kind == AmountKind::NotWhole) {
        sum.error = cannotCompute(row() + QStringLiteral(" 不是整数"));
        return;
    }
    if (reading.kind == AmountKind::OutOfRange) {
        sum.error = cannotCompute(row() + QStringLiteral(" 超出整数范围"));
        return;
    }
    const auto next = checkedAdd(sum.total, reading.value);
    if (!next) {
        sum.error =
            cannotCompute(QStringLiteral("加上") + row() + QStringLiteral(" 后总额超出整数范围"));
        return;
    }
    sum.total = *next;
}

} // namespace

AmountSum sumAmounts(const std::vector<RowAmount>& amounts) {
    AmountSum sum;
    for (const RowAmount& amount : amounts) {
        addAmount(sum, amount.text, [&] { return platform::storedText(amount.key); });
        if (sum.failed())
            break;
    }
    return sum;
}

std::array<AmountSum, 12> sumMonths(platform::AdoQuery& query, std::size_t yearBytes) {
    std::array<AmountSum, 12> sums{};
    // Fields: 编号, 金额, 时间.
    query.scan([&](const std::vector<std::string_view>& fields) {
        const std::optional<int> month = monthOfTime(fields[2], yearBytes);
        if (!month || sums[*month - 1].failed())
            return;
        const QString amount = trimmedAmount(fields[1]);
        if (!amount.isEmpty())
            addAmount(sums[*month - 1], amount, [&] { return platform::storedText(fields[0]); });
    });
    return sums;
}

std::optional<std::int32_t> checkedAdd(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = std::int64_t{a} + b;
    if (sum < std::numeric_limits<std::int32_t>::min() ||
        sum > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(sum);
}

} // namespace sales
