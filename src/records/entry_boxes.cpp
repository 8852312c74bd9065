#include "records/entry_boxes.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>

#include <limits>

namespace records {

namespace {

// The block format property that holds the line break before a block, when
// it is not "\n".
constexpr int BreakBefore = QTextFormat::UserProperty + 1;

// The length of the line break at text[i], 0 when there is none there. These
// are the characters at which a text document starts a new block.
qsizetype breakLength(const QString& text, qsizetype i) {
    const QChar c = text.at(i);
    if (c == u'\r')
        return i + 1 < text.size() && text.at(i + 1) == u'\n' ? 2 : 1;
    if (c == u'\n' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1))
        return 1;
    return 0;
}

QTextBlockFormat formatWithBreak(QTextBlockFormat format, const QString& lineBreak) {
    if (lineBreak == QLatin1String("\n"))
        format.clearProperty(BreakBefore);
    else
        format.setProperty(BreakBefore, lineBreak);
    return format;
}

bool hasBreak(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (breakLength(text, i) > 0)
            return true;
    }
    return false;
}

} // namespace

void allowAnyLength(QLineEdit* line) {
    line->setMaxLength(std::numeric_limits<int>::max());
}

QLineEdit* makeLineBox(const QString& name) {
    auto* line = new QLineEdit;
    line->setObjectName(name);
    allowAnyLength(line);
    return line;
}

QComboBox* makeDropDownBox(const QString& name) {
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(20);
    // The default completer fills in the rest of the first entry that starts
    // with the typed text. Without it the line keeps what was typed; the
    // entries are still there to pick from the list.
    combo->setCompleter(nullptr);
    allowAnyLength(combo->lineEdit());
    return combo;
}

MemoBox::MemoBox(QWidget* parent) : QPlainTextEdit(parent) {}

QString MemoBox::text() const {
    QString text;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin()) {
            const QVariant lineBreak = block.blockFormat().property(BreakBefore);
            text += lineBreak.isValid() ? lineBreak.toString() : QStringLiteral("\n");
        }
        text += block.text();
    }
    return text;
}

void MemoBox::setText(const QString& text) {
    clear();
    insertExactText(text);
    moveCursor(QTextCursor::Start);
}

void MemoBox::insertExactText(const QString& text) {
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = breakLength(text, i);
        if (length == 0) {
            ++i;
            continue;
        }
        cursor.insertText(text.mid(start, i - start));
        // The new block is the one after the break: it carries the break.
        cursor.insertBlock(formatWithBreak(cursor.blockFormat(), text.mid(i, length)));
        i += length;
        start = i;
    }
    cursor.insertText(text.mid(start));
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void MemoBox::keyPressEvent(QKeyEvent* event) {
    // Enter starts a block with a plain line feed (the document would copy the
    // current block's recorded break into it); a typed paragraph separator
    // starts one that keeps it.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = !(event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier));
    const bool plainEnter = enter && !(event->modifiers() & ~Qt::KeypadModifier);
    if (!isReadOnly() && (plainEnter || (!enter && plain && hasBreak(event->text())))) {
        insertExactText(plainEnter ? QStringLiteral("\n") : event->text());
        ensureCursorVisible();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MemoBox::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (!hasBreak(commit) || isReadOnly() || !event->preeditString().isEmpty() ||
        event->replacementLength() != 0) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    insertExactText(commit);
    event->accept();
}

void MemoBox::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly() || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    insertExactText(source->text());
    ensureCursorVisible();
}

} // namespace records
