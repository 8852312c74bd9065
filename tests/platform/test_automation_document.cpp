#include "automation_exports.h"
#include "office_readback.h"
#include "platform/automation.h"
#include "platform/docx_document.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform;
using automationexports::exportDocument;
using officereadback::DocumentBody;
using officereadback::readDocumentBody;

namespace {

class AutomationDocument : public ::testing::Test {
protected:
    QString path(const QString& name) const { return mFolder.filePath(name); }
    QStringList files() const {
        return QDir(mFolder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QTemporaryDir mFolder;
};

} // namespace

TEST_F(AutomationDocument, WritesOneTableWithAnEmptyFirstColumn) {
    const QStringList header{QStringLiteral("编号"), QStringLiteral("商品"), QStringLiteral("金额"),
                             QStringLiteral("时间")};
    exportDocument(header,
                   {{QStringLiteral("1"), QStringLiteral("米"), QStringLiteral("350"),
                     QStringLiteral("2009-2-14 9:05:07")},
                    {QStringLiteral("2"), QStringLiteral("油"), QString(),
                     QStringLiteral("2009-2-15 0:00:00")},
                    {QStringLiteral("3"), QStringLiteral("盐"), QStringLiteral("7"), QString()}},
                   path(QStringLiteral("sales.docx")));

    EXPECT_EQ(
        officereadback::zipEntryNames(path(QStringLiteral("sales.docx"))),
        QStringList({QStringLiteral("[Content_Types].xml"), QStringLiteral("_rels/.rels"),
                     QStringLiteral("word/_rels/document.xml.rels"),
                     QStringLiteral("word/styles.xml"), QStringLiteral("word/document.xml")}));
    const DocumentBody body = readDocumentBody(path(QStringLiteral("sales.docx")));
    // The document's first paragraph, the table, and the added paragraph the
    // table was put in front of.
    EXPECT_EQ(body.elements, QStringList({QStringLiteral("p"), QStringLiteral("tbl"),
                                          QStringLiteral("p"), QStringLiteral("sectPr")}));
    ASSERT_EQ(body.tables.size(), 1);
    const QList<QStringList> expected{
        {QString(), QStringLiteral("商品"), QStringLiteral("金额"), QStringLiteral("时间")},
        {QString(), QStringLiteral("米"), QStringLiteral("350"),
         QStringLiteral("2009-2-14 9:05:07")},
        {QString(), QStringLiteral("油"), QString(), QStringLiteral("2009-2-15 0:00:00")},
        {QString(), QStringLiteral("盐"), QStringLiteral("7"), QString()},
    };
    EXPECT_EQ(body.tables[0], expected);
}

TEST_F(AutomationDocument, TextsKeepMarkupCharactersSpacesTabsAndLineBreaks) {
    const QStringList odd{
        QStringLiteral("a & b <c> \"d\" 'e'"),
        QStringLiteral("  spaced  "),
        QStringLiteral("col\tumn\t"),
        QStringLiteral("line 1\r\nline 2\nline 3\rline 4"),
        QStringLiteral("bell\a and nul") + QChar(0) + QStringLiteral("!"),
        QStringLiteral("𠮷野家 🍚"),
    };
    QList<QStringList> rows;
    for (const QString& text : odd)
        rows.append({QString(), text});
    exportDocument({QString(), QStringLiteral("备注")}, rows, path(QStringLiteral("odd.docx")));

    const DocumentBody body = readDocumentBody(path(QStringLiteral("odd.docx")));
    ASSERT_EQ(body.tables.size(), 1);
    const QList<QStringList>& table = body.tables[0];
    ASSERT_EQ(table.size(), odd.size() + 1);
    EXPECT_EQ(table[1][1], odd[0]);
    EXPECT_EQ(table[2][1], odd[1]);
    EXPECT_EQ(table[3][1], odd[2]);
    EXPECT_EQ(table[4][1], QStringLiteral("line 1\nline 2\nline 3\nline 4"));
    EXPECT_EQ(table[5][1], QStringLiteral("bell and nul!"));
    EXPECT_EQ(table[6][1], odd[5]);
}

TEST_F(AutomationDocument, InsertedValuesFollowEachOtherInParagraphsAndCells) {
    const OleVariant word = Automation::createOleObject(QStringLiteral("word.Application"));
    const OleVariant document = word.invoke(QStringLiteral("Documents"), CallKind::PropertyGet)
                                    .invoke(QStringLiteral("Add"), CallKind::Method);
    const OleVariant paragraphs =
        document.invoke(QStringLiteral("Paragraphs"), CallKind::PropertyGet);
    const OleVariant title = paragraphs.invoke(QStringLiteral("Add"), CallKind::Method)
                                 .invoke(QStringLiteral("Range"), CallKind::PropertyGet);
    title.invoke(QStringLiteral("InsertAfter"), CallKind::Method, {QStringLiteral("销售")});
    title.invoke(QStringLiteral("insertafter"), CallKind::Method, {QStringLiteral("清单")});
    const OleVariant place = paragraphs.invoke(QStringLiteral("Add"), CallKind::Method)
                                 .invoke(QStringLiteral("Range"), CallKind::PropertyGet);
    const OleVariant table = document.invoke(QStringLiteral("Tables"), CallKind::PropertyGet)
                                 .invoke(QStringLiteral("Add"), CallKind::Method, {place, 1, 2});
    const OleVariant cell = table.invoke(QStringLiteral("Cell"), CallKind::Method, {1, 1})
                                .invoke(QStringLiteral("Range"), CallKind::PropertyGet);
    cell.invoke(QStringLiteral("InsertAfter"), CallKind::Method, {12});
    cell.invoke(QStringLiteral("InsertAfter"), CallKind::Method, {QStringLiteral("件")});
    table.invoke(QStringLiteral("Cell"), CallKind::Method, {1, 2})
        .invoke(QStringLiteral("Range"), CallKind::PropertyGet)
        .invoke(QStringLiteral("InsertAfter"), CallKind::Method,
                {QDateTime(QDate(2009, 2, 14), QTime(9, 5, 7))});
    document.invoke(QStringLiteral("SaveAs"), CallKind::Method, {path(QStringLiteral("two.docx"))});

    const DocumentBody body = readDocumentBody(path(QStringLiteral("two.docx")));
    EXPECT_EQ(body.elements,
              QStringList({QStringLiteral("p"), QStringLiteral("p"), QStringLiteral("tbl"),
                           QStringLiteral("p"), QStringLiteral("sectPr")}));
    EXPECT_EQ(body.paragraphs, QStringList({QString(), QStringLiteral("销售清单"), QString()}));
    EXPECT_EQ(body.tables.value(0),
              QList<QStringList>({{QStringLiteral("12件"), QStringLiteral("2009-2-14 9:05:07")}}));
}

TEST_F(AutomationDocument, BadCallsThrow) {
    const OleVariant word = Automation::createOleObject(QStringLiteral("word.Application"));
    EXPECT_THROW(word.invoke(QStringLiteral("ActiveDocument"), CallKind::MethodOrGet),
                 AutomationError);
    const OleVariant document = word.invoke(QStringLiteral("Documents"), CallKind::MethodOrGet)
                                    .invoke(QStringLiteral("Add"), CallKind::MethodOrGet);
    const OleVariant tables = document.invoke(QStringLiteral("Tables"), CallKind::MethodOrGet);
    const OleVariant range = document.invoke(QStringLiteral("Paragraphs"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("Add"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("Range"), CallKind::MethodOrGet);
    const auto addTable = [&](const QList<OleVariant>& arguments) {
        return tables.invoke(QStringLiteral("Add"), CallKind::Method, arguments);
    };
    EXPECT_THROW(addTable({QStringLiteral("here"), 1, 1}), AutomationError);
    EXPECT_THROW(addTable({range, 0, 1}), AutomationError);
    EXPECT_THROW(addTable({range, 1, 64}), AutomationError);
    EXPECT_THROW(addTable({range, 1}), AutomationError);
    // A range of another document.
    const OleVariant other = Automation::createOleObject(QStringLiteral("word.Application"))
                                 .invoke(QStringLiteral("Documents"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("Add"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("Paragraphs"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("Add"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("Range"), CallKind::MethodOrGet);
    EXPECT_THROW(addTable({other, 1, 1}), AutomationError);

    const OleVariant table = addTable({range, 2, 3});
    EXPECT_THROW(table.invoke(QStringLiteral("Cell"), CallKind::Method, {3, 1}), AutomationError);
    EXPECT_THROW(table.invoke(QStringLiteral("Cell"), CallKind::Method, {1, 0}), AutomationError);
    EXPECT_THROW(table.invoke(QStringLiteral("Cell"), CallKind::PropertyPut, {1, 1, 1}),
                 AutomationError);
    const OleVariant cellRange = table.invoke(QStringLiteral("Cell"), CallKind::Method, {2, 3})
                                     .invoke(QStringLiteral("Range"), CallKind::MethodOrGet);
    EXPECT_THROW(cellRange.invoke(QStringLiteral("InsertAfter"), CallKind::Method, {QVariant()}),
                 AutomationError);
    // A table does not go into a cell.
    EXPECT_THROW(addTable({cellRange, 1, 1}), AutomationError);

    document.invoke(QStringLiteral("Close"), CallKind::Method);
    EXPECT_THROW(word.invoke(QStringLiteral("ActiveDocument"), CallKind::MethodOrGet),
                 AutomationError);
    EXPECT_THROW(
        cellRange.invoke(QStringLiteral("InsertAfter"), CallKind::Method, {QStringLiteral("x")}),
        AutomationError);
    EXPECT_THROW(document.invoke(QStringLiteral("SaveAs"), CallKind::Method,
                                 {path(QStringLiteral("x.docx"))}),
                 AutomationError);
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(AutomationDocument, TheExtensionRuleAndUnwritableTargets) {
    exportDocument({QString(), QStringLiteral("a")}, {}, path(QStringLiteral("清单")));
    exportDocument({QString(), QStringLiteral("a")}, {}, path(QStringLiteral("list.doc")));
    EXPECT_EQ(files(), QStringList({QStringLiteral("list.doc"), QStringLiteral("清单.docx")}));
    EXPECT_THROW(exportDocument({QString(), QStringLiteral("a")}, {},
                                path(QStringLiteral("missing/list.docx"))),
                 AutomationError);
    ASSERT_TRUE(QDir(mFolder.path()).mkdir(QStringLiteral("taken.docx")));
    EXPECT_THROW(
        exportDocument({QString(), QStringLiteral("a")}, {}, path(QStringLiteral("taken"))),
        AutomationError);
    EXPECT_EQ(files(), QStringList({QStringLiteral("list.doc"), QStringLiteral("清单.docx")}));
}

TEST(DocumentTable, ColumnWidthsFitTheTextWidth) {
    using docx::columnTwips;
    // Set widths as they are; unset columns share the rest.
    EXPECT_EQ(columnTwips({12, 75, 0, 0}, 8000), (std::vector<int>{240, 1500, 3130, 3130}));
    // Too wide: all narrowed in proportion; unset columns get nothing left.
    EXPECT_EQ(columnTwips({100, 300, 0}, 4000), (std::vector<int>{1000, 3000, 0}));
    EXPECT_EQ(columnTwips({0, 0}, 1000), (std::vector<int>{500, 500}));
}

TEST_F(AutomationDocument, ColumnWidthsHeadingRowsAndFontAreWritten) {
    const OleVariant word = Automation::createOleObject(QStringLiteral("word.Application"));
    word.invoke(QStringLiteral("documents"), CallKind::MethodOrGet)
        .invoke(QStringLiteral("Add"), CallKind::MethodOrGet);
    const OleVariant document =
        word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet);
    const OleVariant range = document.invoke(QStringLiteral("paragraphs"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("Add"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("range"), CallKind::MethodOrGet);
    const OleVariant table = document.invoke(QStringLiteral("tables"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("Add"), CallKind::Method, {range, 4, 3});
    const auto part = [&](const char* collection, int index) {
        return table.invoke(QString::fromLatin1(collection), CallKind::MethodOrGet, {index});
    };
    part("Columns", 1).invoke(QStringLiteral("Width"), CallKind::PropertyPut, {12});
    part("Columns", 2).invoke(QStringLiteral("Width"), CallKind::PropertyPut, {75.5});
    EXPECT_THROW(part("Columns", 4), AutomationError);
    EXPECT_THROW(part("Rows", 5), AutomationError);
    EXPECT_THROW(part("Columns", 3).invoke(QStringLiteral("Width"), CallKind::PropertyPut, {-1}),
                 AutomationError);
    // Only an unbroken run of rows from the first repeats.
    part("Rows", 3).invoke(QStringLiteral("HeadingFormat"), CallKind::PropertyPut, {true});
    part("Rows", 1).invoke(QStringLiteral("HeadingFormat"), CallKind::PropertyPut, {true});
    part("Rows", 2).invoke(QStringLiteral("HeadingFormat"), CallKind::PropertyPut, {true});
    part("Rows", 2).invoke(QStringLiteral("HeadingFormat"), CallKind::PropertyPut, {false});
    document.invoke(QStringLiteral("saveas"), CallKind::Method, {path(QStringLiteral("w.docx"))});

    const QString body = QString::fromUtf8(
        officereadback::requireZipEntry(path(QStringLiteral("w.docx")), "word/document.xml"));
    EXPECT_TRUE(body.contains(QStringLiteral(R"(<w:tblLayout w:type="fixed"/>)")));
    // The third column takes the rest of the 8306 twips of text width.
    EXPECT_TRUE(body.contains(QStringLiteral(
        R"(<w:tblGrid><w:gridCol w:w="240"/><w:gridCol w:w="1510"/><w:gridCol w:w="6556"/></w:tblGrid>)")));
    EXPECT_TRUE(body.contains(QStringLiteral(R"(<w:tcW w:w="1510" w:type="dxa"/>)")));
    EXPECT_EQ(body.count(QStringLiteral("<w:tblHeader/>")), 1);
    EXPECT_TRUE(body.contains(QStringLiteral("<w:tr><w:trPr><w:tblHeader/></w:trPr><w:tc>")));
    const QByteArray styles =
        officereadback::requireZipEntry(path(QStringLiteral("w.docx")), "word/styles.xml");
    EXPECT_TRUE(styles.contains(R"(w:eastAsia="WenQuanYi Micro Hei")"));
}
