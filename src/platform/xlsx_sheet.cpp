#include "platform/xlsx_sheet.h"

#include "platform/automation.h"

#include <QDate>
#include <QDateTime>
#include <QLibrary>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace platform::xlsx {

namespace {

// Width, in characters, of a column that shows dates: the spreadsheet
// application widens a column of default width when a date is entered.
constexpr double DateColumnWidth = 18;

// The writer library is loaded the first time a cell is typed rather than with
// the program: it brings a cryptography library along, and the two would cost
// every start a few milliseconds for an export most starts never make.
#define MARVANTO_XLSX_FUNCTIONS(X)                                                                 \
    X(lxw_datetime_to_excel_datetime)                                                              \
    X(lxw_strerror)                                                                                \
    X(workbook_new_opt)                                                                            \
    X(workbook_add_worksheet)                                                                      \
    X(workbook_add_format)                                                                         \
    X(format_set_num_format)                                                                       \
    X(format_set_text_wrap)                                                                        \
    X(lxw_workbook_free)                                                                           \
    X(worksheet_set_column)                                                                        \
    X(worksheet_write_number)                                                                      \
    X(worksheet_write_boolean)                                                                     \
    X(worksheet_write_string)                                                                      \
    X(workbook_close)

struct Writer {
#define MARVANTO_XLSX_POINTER(name) decltype(&::name) name = nullptr;
    MARVANTO_XLSX_FUNCTIONS(MARVANTO_XLSX_POINTER)
#undef MARVANTO_XLSX_POINTER
};

// The library's functions; throws AutomationError when it cannot be loaded.
const Writer& writer() {
    static Writer functions;
    static bool loaded = false;
    if (loaded)
        return functions;
    QLibrary library(QStringLiteral("xlsxwriter"), QStringLiteral(LXW_SOVERSION));
    Writer found;
    bool complete = library.load();
#define MARVANTO_XLSX_RESOLVE(name)                                                                \
    found.name = reinterpret_cast<decltype(&::name)>(library.resolve(#name));                      \
    complete = complete && found.name;
    MARVANTO_XLSX_FUNCTIONS(MARVANTO_XLSX_RESOLVE)
#undef MARVANTO_XLSX_RESOLVE
    if (!complete)
        throw AutomationError(QStringLiteral("Cannot load the spreadsheet writer %1: %2")
                                  .arg(library.fileName(), library.errorString()));
    functions = found;
    loaded = true;
    return functions;
}

std::optional<double> serialOf(const QDate& date, const QTime& time) {
    if (!date.isValid() || date.year() < 1900 || date.year() > 9999)
        return std::nullopt;
    lxw_datetime value{date.year(), date.month(),  date.day(),
                       time.hour(), time.minute(), time.second() + time.msec() / 1000.0};
    return writer().lxw_datetime_to_excel_datetime(&value);
}

// Reads 1 to `most` decimal digits at `at`.
std::optional<int> digits(QStringView text, qsizetype& at, int least, int most) {
    int value = 0;
    int count = 0;
    while (at < text.size() && count < most && text[at] >= QLatin1Char('0') &&
           text[at] <= QLatin1Char('9')) {
        value = value * 10 + (text[at].unicode() - '0');
        ++at;
        ++count;
    }
    if (count < least)
        return std::nullopt;
    return value;
}

bool separator(QStringView text, qsizetype& at, char expected) {
    if (at >= text.size() || text[at] != QLatin1Char(expected))
        return false;
    ++at;
    return true;
}

// A text of the form yyyy-M-d H:mm:ss (leading zeros allowed) holding a real
// date and time, as its serial day number.
std::optional<double> dateTimeText(QStringView text) {
    if (text.size() < 14 || text.size() > 19)
        return std::nullopt;
    qsizetype at = 0;
    const auto year = digits(text, at, 4, 4);
    if (!year || !separator(text, at, '-'))
        return std::nullopt;
    const auto month = digits(text, at, 1, 2);
    if (!month || !separator(text, at, '-'))
        return std::nullopt;
    const auto day = digits(text, at, 1, 2);
    if (!day || !separator(text, at, ' '))
        return std::nullopt;
    const auto hour = digits(text, at, 1, 2);
    if (!hour || !separator(text, at, ':'))
        return std::nullopt;
    const auto minute = digits(text, at, 2, 2);
    if (!minute || !separator(text, at, ':'))
        return std::nullopt;
    const auto second = digits(text, at, 2, 2);
    if (!second || at != text.size())
        return std::nullopt;
    const QTime time(*hour, *minute, *second);
    if (!time.isValid())
        return std::nullopt;
    return serialOf(QDate(*year, *month, *day), time);
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool hasLineBreak(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

bool isNumber(int typeId) {
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void failed(const char* what, lxw_error error) {
    throw AutomationError(QStringLiteral("%1: %2").arg(
        QLatin1String(what), QString::fromUtf8(writer().lxw_strerror(error))));
}

} // namespace

std::optional<double> numberText(QStringView text) {
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    QStringView body = text;
    if (!body.isEmpty() && (body.front() == u'-' || body.front() == u'+'))
        body = body.mid(1);
    int digitCount = 0;
    bool point = false;
    for (const QChar c : body) {
        if (c == u'.' && !point)
            point = true;
        else if (c >= u'0' && c <= u'9')
            ++digitCount;
        else
            return std::nullopt;
    }
    if (digitCount == 0 || digitCount > 15)
        return std::nullopt;
    if (body.size() > 1 && body[0] == u'0' && body[1] != u'.')
        return std::nullopt;
    bool ok = false;
    const double number = text.toString().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

Sheet::Cell Sheet::typed(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    const int type = value.typeId();
    if (type == QMetaType::Bool)
        return {Kind::Boolean, value.toBool() ? 1.0 : 0.0, {}};
    if (isNumber(type)) {
        const double number = value.toDouble();
        if (!std::isfinite(number))
            throw AutomationError(QStringLiteral("A cell cannot hold %1").arg(number));
        return {Kind::Number, number, {}};
    }
    if (type == QMetaType::QDateTime) {
        const QDateTime dateTime = value.toDateTime();
        if (const auto serial = serialOf(dateTime.date(), dateTime.time()))
            return {Kind::DateTime, *serial, {}};
        throw AutomationError(QStringLiteral("Date-time out of range for a cell"));
    }
    if (type == QMetaType::QDate) {
        if (const auto serial = serialOf(value.toDate(), QTime(0, 0)))
            return {Kind::Date, *serial, {}};
        throw AutomationError(QStringLiteral("Date out of range for a cell"));
    }
    if (!value.canConvert<QString>())
        throw AutomationError(QStringLiteral("Type mismatch: a cell cannot hold %1")
                                  .arg(QLatin1String(value.typeName())));
    QString text = value.toString();
    if (text.isEmpty())
        return {};
    if (text.size() > MaxTextLength)
        throw AutomationError(
            QStringLiteral("A text of %1 characters does not fit in a cell").arg(text.size()));
    if (const auto serial = dateTimeText(text))
        return {Kind::DateTime, *serial, {}};
    if (const auto number = numberText(text))
        return {Kind::Number, *number, {}};
    return {Kind::Text, 0, std::move(text)};
}

void Sheet::setCell(int row, int column, const QVariant& value) {
    if (row < 1 || row > MaxRows || column < 1 || column > MaxColumns)
        throw AutomationError(QStringLiteral("No cell at row %1, column %2").arg(row).arg(column));
    Cell cell = typed(value);
    if (static_cast<size_t>(row) > mRows.size())
        mRows.resize(row);
    std::vector<Cell>& cells = mRows[row - 1];
    if (static_cast<size_t>(column) > cells.size())
        cells.resize(column);
    if (cell.kind == Kind::DateTime || cell.kind == Kind::Date) {
        if (static_cast<size_t>(column) > mDateColumns.size())
            mDateColumns.resize(column);
        mDateColumns[column - 1] = true;
    }
    cells[column - 1] = std::move(cell);
}

void Sheet::setColumnWidth(int column, double characters) {
    if (column < 1 || column > MaxColumns)
        throw AutomationError(QStringLiteral("No column %1").arg(column));
    if (!std::isfinite(characters) || characters < 0 || characters > 255)
        throw AutomationError(
            QStringLiteral("A column cannot be %1 characters wide").arg(characters));
    if (static_cast<size_t>(column) > mColumnWidths.size())
        mColumnWidths.resize(column);
    mColumnWidths[column - 1] = characters;
}

void Sheet::save(const QByteArray& path) const {
    const Writer& lxw = writer();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = lxw.workbook_new_opt(path.constData(), &options);
    if (!book)
        throw AutomationError(QStringLiteral("Cannot start a workbook"));
    lxw_worksheet* sheet = lxw.workbook_add_worksheet(book, nullptr);
    lxw_format* dateTimeFormat = lxw.workbook_add_format(book);
    lxw.format_set_num_format(dateTimeFormat, "yyyy-m-d h:mm:ss");
    lxw_format* dateFormat = lxw.workbook_add_format(book);
    lxw.format_set_num_format(dateFormat, "yyyy-m-d");
    if (!sheet) {
        lxw.lxw_workbook_free(book);
        throw AutomationError(QStringLiteral("Cannot add a worksheet"));
    }

    lxw_format* wrapFormat = lxw.workbook_add_format(book);
    lxw.format_set_text_wrap(wrapFormat);

    lxw_error error = LXW_NO_ERROR;
    const size_t widthColumns = std::max(mDateColumns.size(), mColumnWidths.size());
    for (size_t column = 0; column < widthColumns && !error; ++column) {
        const bool dates = column < mDateColumns.size() && mDateColumns[column];
        const double set = column < mColumnWidths.size() ? mColumnWidths[column] : 0;
        if (dates || set > 0)
            error = lxw.worksheet_set_column(sheet, column, column,
                                             dates ? std::max(set, DateColumnWidth) : set, nullptr);
    }
    for (size_t row = 0; row < mRows.size() && !error; ++row) {
        const std::vector<Cell>& cells = mRows[row];
        for (size_t column = 0; column < cells.size() && !error; ++column) {
            const Cell& cell = cells[column];
            switch (cell.kind) {
            case Kind::Empty:
                break;
            case Kind::Number:
                error = lxw.worksheet_write_number(sheet, row, column, cell.number, nullptr);
                break;
            case Kind::Boolean:
                error = lxw.worksheet_write_boolean(sheet, row, column, cell.number != 0, nullptr);
                break;
            case Kind::DateTime:
                error = lxw.worksheet_write_number(sheet, row, column, cell.number, dateTimeFormat);
                break;
            case Kind::Date:
                error = lxw.worksheet_write_number(sheet, row, column, cell.number, dateFormat);
                break;
            case Kind::Text:
                error =
                    lxw.worksheet_write_string(sheet, row, column, cell.text.toUtf8().constData(),
                                               hasLineBreak(cell.text) ? wrapFormat : nullptr);
                break;
            }
        }
    }
    if (error) {
        lxw.lxw_workbook_free(book);
        failed("Cannot fill the worksheet", error);
    }
    error = lxw.workbook_close(book);
    if (error)
        failed("Cannot write the workbook", error);
}

} // namespace platform::xlsx
