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
        : rows(rowCount), columns(columnCount), cells(size_t(rowCount) * size_t(columnCount)) {}
    // Row and column counted from 1.
    QString& cell(int row, int column) { return cells[size_t(row - 1) * columns + (column - 1)]; }
    const QString& cell(int row, int column) const {
        return cells[size_t(row - 1) * columns + (column - 1)];
    }

    int rows;
    int columns;
    std::vector<QString> cells;
};

// One of the two.
struct Block {
    std::shared_ptr<Paragraph> paragraph;
    std::shared_ptr<Table> table;
};

struct Document {
    std::vector<Block> blocks;
};

// Writes the document as a .docx package to exactly this path. Throws
// AutomationError when the file cannot be written.
void save(const Document& document, const QByteArray& path);

} // namespace platform::docx
