// The word-processor server: "word.Application" with its documents. A new
// document holds one empty paragraph; paragraphs are added at its end; a table
// added at the range of a paragraph goes in before that paragraph. A document
// saves itself as .docx.

#include "platform/automation_file.h"
#include "platform/automation_servers.h"
#include "platform/docx_document.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform::servers {

using automation::expectCall;
using automation::integerArgument;
using automation::nameIs;

namespace {

// Columns a table may have, as in the word processor.
constexpr int MaxTableColumns = 63;

class DocumentApplication;

class Document : public AutomationObject {
public:
    explicit Document(std::weak_ptr<DocumentApplication> application)
        : AutomationObject(QStringLiteral("Document")), mApplication(std::move(application)) {
        mContent.blocks.push_back({std::make_shared<docx::Paragraph>(), nullptr});
    }

    void requireOpen() const {
        if (mClosed)
            throw AutomationError(QStringLiteral("The document has been closed"));
    }
    docx::Document& content() {
        requireOpen();
        return mContent;
    }

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override;

private:
    std::shared_ptr<Document> self() {
        return std::static_pointer_cast<Document>(shared_from_this());
    }

    std::weak_ptr<DocumentApplication> mApplication;
    docx::Document mContent;
    bool mClosed = false;
};

using DocumentPtr = std::shared_ptr<Document>;

// What text is inserted into: a paragraph or one cell of a table.
class Range : public AutomationObject {
public:
    Range(DocumentPtr document, std::shared_ptr<docx::Paragraph> paragraph)
        : AutomationObject(QStringLiteral("Range")), mDocument(std::move(document)),
          mParagraph(std::move(paragraph)) {}
    Range(DocumentPtr document, std::shared_ptr<docx::Table> table, int row, int column)
        : AutomationObject(QStringLiteral("Range")), mDocument(std::move(document)),
          mTable(std::move(table)), mRow(row), mColumn(column) {}

    const DocumentPtr& document() const { return mDocument; }
    const std::shared_ptr<docx::Paragraph>& paragraph() const { return mParagraph; }

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override {
        if (nameIs(name, QLatin1String("InsertAfter"))) {
            expectCall(name, kind, CallKind::Method, arguments, 1, 1);
            mDocument->requireOpen();
            const QString text = automation::textArgument(arguments[0], name);
            if (mParagraph)
                mParagraph->text += text;
            else
                mTable->cell(mRow, mColumn) += text;
            return {};
        }
        automation::unknownMember(typeName(), name);
    }

private:
    DocumentPtr mDocument;
    std::shared_ptr<docx::Paragraph> mParagraph;
    std::shared_ptr<docx::Table> mTable;
    int mRow = 0;
    int mColumn = 0;
};

class Paragraph : public AutomationObject {
public:
    Paragraph(DocumentPtr document, std::shared_ptr<docx::Paragraph> paragraph)
        : AutomationObject(QStringLiteral("Paragraph")), mDocument(std::move(document)),
          mParagraph(std::move(paragraph)) {}

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override {
        if (nameIs(name, QLatin1String("Range"))) {
            expectCall(name, kind, CallKind::PropertyGet, arguments, 0, 0);
            mDocument->requireOpen();
            return std::make_shared<Range>(mDocument, mParagraph);
        }
        automation::unknownMember(typeName(), name);
    }

private:
    DocumentPtr mDocument;
    std::shared_ptr<docx::Paragraph> mParagraph;
};

class Paragraphs : public AutomationObject {
public:
    explicit Paragraphs(DocumentPtr document)
        : AutomationObject(QStringLiteral("Paragraphs")), mDocument(std::move(document)) {}

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override {
        if (nameIs(name, QLatin1String("Add"))) {
            expectCall(name, kind, CallKind::Method, arguments, 0, 0);
            auto paragraph = std::make_shared<docx::Paragraph>();
            mDocument->content().blocks.push_back({paragraph, nullptr});
            return std::make_shared<Paragraph>(mDocument, std::move(paragraph));
        }
        automation::unknownMember(typeName(), name);
    }

private:
    DocumentPtr mDocument;
};

class Cell : public AutomationObject {
public:
    Cell(DocumentPtr document, std::shared_ptr<docx::Table> table, int row, int column)
        : AutomationObject(QStringLiteral("Cell")), mDocument(std::move(document)),
          mTable(std::move(table)), mRow(row), mColumn(column) {}

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override {
        if (nameIs(name, QLatin1String("Range"))) {
            expectCall(name, kind, CallKind::PropertyGet, arguments, 0, 0);
            mDocument->requireOpen();
            return std::make_shared<Range>(mDocument, mTable, mRow, mColumn);
        }
        automation::unknownMember(typeName(), name);
    }

private:
    DocumentPtr mDocument;
    std::shared_ptr<docx::Table> mTable;
    int mRow;
    int mColumn;
};

// A column or a row of a table: what the table lets a program set on it.
class TablePart : public AutomationObject {
public:
    enum class Kind { Column, Row };
    TablePart(DocumentPtr document, std::shared_ptr<docx::Table> table, Kind kind, int index)
        : AutomationObject(kind == Kind::Column ? QStringLiteral("Column") : QStringLiteral("Row")),
          mDocument(std::move(document)), mTable(std::move(table)), mKind(kind), mIndex(index) {}

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override {
        const bool column = mKind == Kind::Column;
        if (column ? nameIs(name, QLatin1String("Width"))
                   : nameIs(name, QLatin1String("HeadingFormat"))) {
            expectCall(name, kind, CallKind::PropertyPut, arguments, 1, 1);
            mDocument->requireOpen();
            const QVariant& value = arguments[0].value();
            bool ok = !arguments[0].isObject() && value.isValid();
            const double number = ok ? value.toDouble(&ok) : 0;
            if (!ok || (column && (!std::isfinite(number) || number < 0)))
                throw AutomationError(QStringLiteral("Type mismatch: \"%1\"").arg(name));
            if (column)
                mTable->widths[static_cast<size_t>(mIndex - 1)] = number;
            else
                setHeading(number != 0);
            return {};
        }
        automation::unknownMember(typeName(), name);
    }

private:
    // Rows repeat at the top of each page only as an unbroken run from the
    // first row.
    void setHeading(bool heading) {
        if (heading && mIndex == mTable->headingRows + 1)
            mTable->headingRows = mIndex;
        else if (!heading && mIndex <= mTable->headingRows)
            mTable->headingRows = mIndex - 1;
    }

    DocumentPtr mDocument;
    std::shared_ptr<docx::Table> mTable;
    Kind mKind;
    int mIndex;
};

class Table : public AutomationObject {
public:
    Table(DocumentPtr document, std::shared_ptr<docx::Table> table)
        : AutomationObject(QStringLiteral("Table")), mDocument(std::move(document)),
          mTable(std::move(table)) {}

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override {
        if (nameIs(name, QLatin1String("Cell"))) {
            expectCall(name, kind, CallKind::Method, arguments, 2, 2);
            mDocument->requireOpen();
            const int row = integerArgument(arguments[0], name);
            const int column = integerArgument(arguments[1], name);
            if (row < 1 || row > mTable->rows || column < 1 || column > mTable->columns)
                throw AutomationError(
                    QStringLiteral("The table has no cell (%1, %2)").arg(row).arg(column));
            return std::make_shared<Cell>(mDocument, mTable, row, column);
        }
        const bool columns = nameIs(name, QLatin1String("Columns"));
        if (columns || nameIs(name, QLatin1String("Rows"))) {
            expectCall(name, kind, CallKind::PropertyGet, arguments, 1, 1);
            mDocument->requireOpen();
            const int index = integerArgument(arguments[0], name);
            if (index < 1 || index > (columns ? mTable->columns : mTable->rows))
                throw AutomationError(
                    QStringLiteral("The table has no %1 %2").arg(name).arg(index));
            return std::make_shared<TablePart>(
                mDocument, mTable, columns ? TablePart::Kind::Column : TablePart::Kind::Row, index);
        }
        automation::unknownMember(typeName(), name);
    }

private:
    DocumentPtr mDocument;
    std::shared_ptr<docx::Table> mTable;
};

class Tables : public AutomationObject {
public:
    explicit Tables(DocumentPtr document)
        : AutomationObject(QStringLiteral("Tables")), mDocument(std::move(document)) {}

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override {
        if (nameIs(name, QLatin1String("Add"))) {
            expectCall(name, kind, CallKind::Method, arguments, 3, 3);
            return add(arguments[0], integerArgument(arguments[1], name),
                       integerArgument(arguments[2], name));
        }
        automation::unknownMember(typeName(), name);
    }

private:
    OleVariant add(const OleVariant& where, int rows, int columns) {
        const auto range = std::dynamic_pointer_cast<Range>(where.object());
        if (!range || range->document() != mDocument || !range->paragraph())
            throw AutomationError(
                QStringLiteral("A table needs the range of a paragraph of its document"));
        if (rows < 1 || columns < 1 || columns > MaxTableColumns)
            throw AutomationError(QStringLiteral("A table cannot have %1 rows and %2 columns")
                                      .arg(rows)
                                      .arg(columns));
        std::vector<docx::Block>& blocks = mDocument->content().blocks;
        const auto at = std::find_if(blocks.begin(), blocks.end(), [&](const docx::Block& block) {
            return block.paragraph == range->paragraph();
        });
        if (at == blocks.end())
            throw AutomationError(QStringLiteral("The paragraph is no longer in the document"));
        auto table = std::make_shared<docx::Table>(rows, columns);
        blocks.insert(at, {nullptr, table});
        return std::make_shared<Table>(mDocument, std::move(table));
    }

    DocumentPtr mDocument;
};

class DocumentApplication : public AutomationObject {
public:
    DocumentApplication() : AutomationObject(QStringLiteral("word.Application")) {}

    DocumentPtr addDocument() {
        auto document = std::make_shared<Document>(
            std::static_pointer_cast<DocumentApplication>(shared_from_this()));
        mDocuments.push_back(document);
        return document;
    }
    void remove(const Document* document) {
        std::erase_if(mDocuments, [document](const auto& each) { return each.get() == document; });
    }

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override;

private:
    std::vector<DocumentPtr> mDocuments;
};

class Documents : public AutomationObject {
public:
    explicit Documents(std::shared_ptr<DocumentApplication> application)
        : AutomationObject(QStringLiteral("Documents")), mApplication(std::move(application)) {}

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override {
        if (nameIs(name, QLatin1String("Add"))) {
            expectCall(name, kind, CallKind::Method, arguments, 0, 0);
            return mApplication->addDocument();
        }
        automation::unknownMember(typeName(), name);
    }

private:
    std::shared_ptr<DocumentApplication> mApplication;
};

OleVariant DocumentApplication::dispatch(const QString& name, CallKind kind,
                                         const QList<OleVariant>& arguments) {
    if (nameIs(name, QLatin1String("Documents"))) {
        expectCall(name, kind, CallKind::PropertyGet, arguments, 0, 0);
        return std::make_shared<Documents>(
            std::static_pointer_cast<DocumentApplication>(shared_from_this()));
    }
    if (nameIs(name, QLatin1String("ActiveDocument"))) {
        expectCall(name, kind, CallKind::PropertyGet, arguments, 0, 0);
        if (mDocuments.empty())
            throw AutomationError(QStringLiteral("No document is open"));
        return mDocuments.back();
    }
    automation::unknownMember(typeName(), name);
}

OleVariant Document::dispatch(const QString& name, CallKind kind,
                              const QList<OleVariant>& arguments) {
    if (nameIs(name, QLatin1String("Paragraphs"))) {
        expectCall(name, kind, CallKind::PropertyGet, arguments, 0, 0);
        requireOpen();
        return std::make_shared<Paragraphs>(self());
    }
    if (nameIs(name, QLatin1String("Tables"))) {
        expectCall(name, kind, CallKind::PropertyGet, arguments, 0, 0);
        requireOpen();
        return std::make_shared<Tables>(self());
    }
    if (nameIs(name, QLatin1String("SaveAs"))) {
        expectCall(name, kind, CallKind::Method, arguments, 1, 1);
        const docx::Document& document = content();
        const QString target = automation::saveName(automation::textArgument(arguments[0], name),
                                                    QStringLiteral(".docx"));
        automation::writeThroughTemporary(
            target, [&](const QByteArray& path) { docx::save(document, path); });
        return {};
    }
    if (nameIs(name, QLatin1String("Close"))) {
        expectCall(name, kind, CallKind::Method, arguments, 0, 0);
        requireOpen();
        mClosed = true;
        mContent = {};
        // The application may hold the last reference to this document.
        const auto keep = self();
        if (const auto application = mApplication.lock())
            application->remove(this);
        return {};
    }
    automation::unknownMember(typeName(), name);
}

} // namespace

AutomationObjectPtr createDocumentApplication() {
    return std::make_shared<DocumentApplication>();
}

} // namespace platform::servers
