#pragma once

// Export of the sales list the grid shows, the full list or a period view,
// through the office applications' automation objects: to a spreadsheet
// workbook or to a document holding one table.

#include <QVariant>

#include <vector>

class QTableView;
class QWidget;

namespace platform {
class AdoQuery;
class AdoResult;
class SaveDialog;
} // namespace platform

namespace sales {

// A field as the spreadsheet gets it: null as null, whole numbers and decimals
// as numbers, a date-time column (and 时间, kept as text by the database) as a
// date-time when its text is one in the regional form, everything else as text.
QVariant typedFieldValue(const platform::AdoResult& result, int row, int field);

// The width of a spreadsheet column, in characters of the sheet's default
// font, that shows as many pixels as a grid column of this width.
double spreadsheetColumnWidth(int pixels);

// The widths, in points, of the document table's columns for the grid's
// column widths in pixels: table column 1, which stays empty, is narrow;
// every other column is as wide as its grid column.
std::vector<double> documentColumnWidths(const std::vector<int>& gridPixels);

// An export that runs longer than this shows its progress.
inline constexpr int ProgressDelayMs = 500;

// Asks the dialog for a file name, then writes the query's result as the grid
// shows it: row 1 the field names, then every row's fields, typed; each
// column as wide as its grid column. Tells the user how it went. A completed export leaves the
// query past its last row.
void exportToSpreadsheet(platform::AdoQuery& query, QTableView* grid, platform::SaveDialog& dialog,
                         QWidget* parent = nullptr);

// Asks the dialog for a file name, then writes one table of (rows + 1) rows
// and as many columns as the grid has: row 1 the titles of the grid's columns
// 2 to last, then every row's values of those columns as text; table column 1
// stays empty and the key column is not written. The columns are as wide as
// the grid's and the title row repeats on every page. Tells the user how it
// went.
void exportToDocument(platform::AdoQuery& query, QTableView* grid, platform::SaveDialog& dialog,
                      QWidget* parent = nullptr);

} // namespace sales
