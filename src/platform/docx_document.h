#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

// The content of a word-processor document as the document server builds it:
// paragraphs and tables, in order. A text may hold line breaks ("\r", "\n" or
// both), which start new paragraphs, and tabs.
namespace platform::docx {

struct Paragraph {
    QString text;
};

struct Table {
    Table(int rowCount, int columnCount)
        : rows(rowCount), columns(columnCount), cells(size_t(rowCount) * size_t(columnCount)),
          widths(size_t(columnCount)) {}
    // Row and column counted from 1.
    QString& cell(int row, int column) { return cells[size_t(row - 1) * columns + (column - 1)]; }
    const QString& cell(int row, int column) const {
        return cells[size_t(row - 1) * columns + (column - 1)];
    }

    int rows;
    int columns;
    std::vector<QString> cells;
    // Column widths in points; 0 where none was set. The table is laid out
    // with fixed widths: unset columns share what is left of the text width,
    // and a table wider than the text is narrowed to fit, in proportion.
    std::vector<double> widths;
    // The leading rows that repeat at the top of every page.
    int headingRows = 0;
};

// The widths of a table's columns in twentieths of a point, as they are
// written: the set widths, the unset ones sharing the rest of `textWidth`,
// the whole narrowed in proportion when it is wider than `textWidth`.
std::vector<int> columnTwips(const std::vector<double>& widthsInPoints, int textWidth);

// One of the two.
struct Block {
    std::shared_ptr<Paragraph> paragraph;
    std::shared_ptr<Table> table;
};

struct Document {
    std::vector<Block> blocks;
};

// The font the program names for its text, Chinese and Latin alike.
inline constexpr char FontName[] = "WenQuanYi Micro Hei";

// Writes the document as a .docx package to exactly this path. Throws
// AutomationError when the file cannot be written.
void save(const Document& document, const QByteArray& path);

} // namespace platform::docx
