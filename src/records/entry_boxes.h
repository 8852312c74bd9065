#pragma once

// The entry boxes of the record windows. Each gives back exactly the text it
// holds: no completion writes into a box, no length limit cuts a text, and a
// memo keeps every character, its line breaks in the form they came in.

#include <QPlainTextEdit>
#include <QString>

class QComboBox;
class QLineEdit;

namespace records {

// A single-line box without a length limit below the column's.
QLineEdit* makeLineBox(const QString& name);

// An editable drop-down box. Its text changes only when the user types or
// picks an entry: there is no inline completion (typing "8" must stay "8",
// not become the entry "80"), and a typed text that differs from an entry
// only in case is not replaced by that entry.
QComboBox* makeDropDownBox(const QString& name);

// Lifts the line's length limit (Qt's default cuts at 32 767 characters).
void allowAnyLength(QLineEdit* line);

// A multi-line box. Qt's own plain text turns no-break spaces into blanks
// and line and paragraph separators into line feeds; this box reads its
// blocks as they are. Line breaks that start a block are kept in the form in
// which they arrived ("\n", "\r\n", "\r", U+2029); Enter gives "\n", and
// Shift+Enter the line separator U+2028 inside a block.
class MemoBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoBox(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    // Inserts text at the cursor, its line breaks recorded as they are.
    void insertExactText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace records
