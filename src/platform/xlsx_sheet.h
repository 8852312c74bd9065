#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace platform::xlsx {

// A text the spreadsheet application takes for a number when it is
// assigned to a cell: an optional sign, digits with at most one decimal
// point, blanks around them. A text with a leading zero before another digit
// ("007", a code) or with more than 15 digits (more than a cell's number
// keeps) stays text, as do thousands separators and exponents.
std::optional<double> numberText(QStringView text);

// The one worksheet of a workbook that the spreadsheet server fills. Cells are
// typed as the spreadsheet application types what it is given: numbers and
// texts that spell numbers (numberText) as numbers, a QDateTime or a text of
// the form yyyy-M-d H:mm:ss as a date-time shown as yyyy-m-d h:mm:ss, a QDate
// as a date shown as yyyy-m-d, booleans as booleans, other texts as texts (a
// text with a line break wraps in its cell), a null value or an empty text as
// an empty cell. A cell set again takes the last value.
//
// The cells are not held in memory: each is typed when it is set and appended
// to a log in an unnamed temporary file. While the cells come row after row
// (in any order within a row), a thread of the sheet's own writes them to the
// writer library in constant-memory mode as they come, and a save only closes
// that workbook and moves it into place. Once a cell goes to a row above one
// already set, or when a sheet is saved a second time, the save writes the
// rows from the log instead, reading it whole and sorting it when the rows
// came out of order. A sheet costs the program a few megabytes of buffers
// whatever its size.
class Sheet {
public:
    static constexpr int MaxRows = 1048576;
    static constexpr int MaxColumns = 16384;
    static constexpr int MaxTextLength = 32767;

    Sheet();
    ~Sheet();
    Sheet(Sheet&&) noexcept;
    Sheet& operator=(Sheet&&) noexcept;

    // Sets the cell at row and column, both counted from 1. Throws
    // AutomationError for a position outside the sheet or a value a cell
    // cannot hold (an object, a text longer than MaxTextLength, a number that
    // is not finite), and when the temporary file cannot be written.
    void setCell(int row, int column, const QVariant& value);

    // The width of a column, counted from 1, in characters of the default
    // font. A column that shows dates is never narrower than its dates.
    void setColumnWidth(int column, double characters);

    // Writes a workbook with this sheet as "Sheet1" to exactly this path. The
    // sheet stays as it was: it can be saved again, or changed and saved.
    // Throws AutomationError when the file cannot be written.
    void save(const QByteArray& path);

private:
    class CellLog;
    std::unique_ptr<CellLog> mLog;     // made with the first cell
    std::vector<bool> mDateColumns;    // columns widened for their dates
    std::vector<double> mColumnWidths; // set widths; 0: the default
};

} // namespace platform::xlsx
