#include "automation_exports.h"
#include "office_readback.h"
#include "platform/automation.h"
#include "platform/xlsx_sheet.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

using namespace platform;
using automationexports::exportSheet;
using officereadback::readSheetCells;
using officereadback::SheetCell;

namespace {

const QStringList SalesHeader{QStringLiteral("编号"), QStringLiteral("商品"),
                              QStringLiteral("金额"), QStringLiteral("发货人"),
                              QStringLiteral("备注"), QStringLiteral("时间")};

// Serial day number of 2009-2-14 9:05:07: 39858 days after 1899-12-30 and
// 32707 seconds.
const double ValentineSerial = 39858 + 32707.0 / 86400;

class AutomationSpreadsheet : public ::testing::Test {
protected:
    QString path(const QString& name) const { return mFolder.filePath(name); }
    QStringList files() const {
        return QDir(mFolder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QTemporaryDir mFolder;
};

} // namespace

TEST_F(AutomationSpreadsheet, WritesTypedCellsUnderTheHeaderRow) {
    const QList<QVariantList> rows{
        {1, QStringLiteral("米"), QStringLiteral("350"), QStringLiteral("张三"), QVariant(),
         QStringLiteral("2009-2-14 9:05:07")},
        {2, QStringLiteral("油 & <盐>"), 12.5, QString(), QStringLiteral("  留空格 "),
         QDateTime(QDate(2009, 2, 14), QTime(9, 5, 7))},
        {QVariant(), QStringLiteral("2009-2-30 9:05:07"), -3, true, QDate(2009, 2, 14),
         QStringLiteral("2009-12-31 23:59:59")},
    };
    exportSheet(SalesHeader, rows, path(QStringLiteral("sales.xlsx")));

    const QMap<QString, SheetCell> cells = readSheetCells(path(QStringLiteral("sales.xlsx")));
    const auto text = [&](const char* reference) {
        const SheetCell cell = cells.value(QString::fromLatin1(reference));
        EXPECT_TRUE(cell.type == QLatin1String("inlineStr") || cell.type == QLatin1String("s"))
            << reference << " has type " << cell.type.toStdString();
        return cell.value;
    };
    const auto number = [&](const char* reference, const char* format) {
        const SheetCell cell = cells.value(QString::fromLatin1(reference));
        EXPECT_TRUE(cell.type.isEmpty() || cell.type == QLatin1String("n"))
            << reference << " has type " << cell.type.toStdString();
        EXPECT_EQ(cell.format, QLatin1String(format)) << reference;
        return cell.value.toDouble();
    };

    for (int column = 0; column < SalesHeader.size(); ++column)
        EXPECT_EQ(
            text(QStringLiteral("%1%2").arg(QChar('A' + column)).arg(1).toLatin1().constData()),
            SalesHeader[column]);

    EXPECT_EQ(number("A2", "General"), 1);
    EXPECT_EQ(text("B2"), QStringLiteral("米"));
    EXPECT_EQ(number("C2", "General"), 350); // a text that spells a number
    EXPECT_FALSE(cells.contains(QStringLiteral("E2")));
    EXPECT_NEAR(number("F2", "yyyy-m-d h:mm:ss"), ValentineSerial, 1e-9);

    EXPECT_EQ(text("B3"), QStringLiteral("油 & <盐>"));
    EXPECT_EQ(number("C3", "General"), 12.5);
    EXPECT_FALSE(cells.contains(QStringLiteral("D3"))); // an empty text is an empty cell
    EXPECT_EQ(text("E3"), QStringLiteral("  留空格 "));
    EXPECT_NEAR(number("F3", "yyyy-m-d h:mm:ss"), ValentineSerial, 1e-9);

    EXPECT_FALSE(cells.contains(QStringLiteral("A4")));
    EXPECT_EQ(text("B4"), QStringLiteral("2009-2-30 9:05:07")); // no such day
    EXPECT_EQ(number("C4", "General"), -3);
    EXPECT_EQ(cells.value(QStringLiteral("D4")).type, QStringLiteral("b"));
    EXPECT_EQ(cells.value(QStringLiteral("D4")).value, QStringLiteral("1"));
    EXPECT_EQ(number("E4", "yyyy-m-d"), 39858);
    EXPECT_NEAR(number("F4", "yyyy-m-d h:mm:ss"), 40178 + 86399.0 / 86400, 1e-9);

    EXPECT_EQ(cells.size(), 6 + 5 + 5 + 5);
}

TEST_F(AutomationSpreadsheet, OnlyFullDateTimeTextsBecomeDateTimes) {
    const QStringList texts{
        QStringLiteral("2009-02-04 09:05:07"), // leading zeros are fine
        QStringLiteral("2009-2-14"),           QStringLiteral("9:05:07"),
        QStringLiteral("2009-2-14 9:5:07"),    QStringLiteral("2009-2-14 24:00:00"),
        QStringLiteral("2009/2/14 9:05:07"),   QStringLiteral("2009-2-14 9:05:07 "),
        QStringLiteral("1899-12-31 0:00:00"),  QStringLiteral("20090-2-14 9:05:07"),
    };
    QVariantList row;
    for (const QString& value : texts)
        row.append(value);
    exportSheet({}, {row}, path(QStringLiteral("dates.xlsx")));

    const QMap<QString, SheetCell> cells = readSheetCells(path(QStringLiteral("dates.xlsx")));
    EXPECT_EQ(cells.value(QStringLiteral("A2")).format, QStringLiteral("yyyy-m-d h:mm:ss"));
    EXPECT_NEAR(cells.value(QStringLiteral("A2")).value.toDouble(), 39848 + 32707.0 / 86400, 1e-9);
    for (int column = 1; column < texts.size(); ++column) {
        const SheetCell cell = cells.value(QStringLiteral("%1%2").arg(QChar('A' + column)).arg(2));
        EXPECT_EQ(cell.value, texts[column]);
        EXPECT_EQ(cell.format, QStringLiteral("General")) << texts[column].toStdString();
    }
}

TEST(SpreadsheetTyping, TextsThatSpellNumbersBecomeNumbers) {
    const std::pair<const char16_t*, double> numbers[] = {
        {u"350", 350}, {u" 12.5 ", 12.5}, {u"-3", -3},
        {u"+7", 7},    {u"0", 0},         {u"0.25", 0.25},
        {u".5", 0.5},  {u"\t8\t", 8},     {u"123456789012345", 123456789012345.0}};
    for (const auto& [text, number] : numbers)
        EXPECT_EQ(xlsx::numberText(text), number) << QString::fromUtf16(text).toStdString();
    // Codes with leading zeros, more digits than a number keeps, and
    // anything but plain digits stay text.
    for (const char16_t* text : {u"007", u"-00", u"1234567890123456", u"1,000", u"1e3", u"1.2.3",
                                 u"12元", u"１２", u"", u"-", u".", u"1 2"})
        EXPECT_EQ(xlsx::numberText(text), std::nullopt) << QString::fromUtf16(text).toStdString();
}

TEST_F(AutomationSpreadsheet, ColumnsTakeTheirWidthsAndLineBreaksWrap) {
    OleVariant excel = Automation::createOleObject(QStringLiteral("Excel.Application"));
    const OleVariant book = excel.invoke(QStringLiteral("workbooks"), CallKind::MethodOrGet)
                                .invoke(QStringLiteral("Add"), CallKind::MethodOrGet);
    const auto width = [&](int column, const QVariant& characters) {
        excel.invoke(QStringLiteral("Columns"), CallKind::MethodOrGet, {column})
            .invoke(QStringLiteral("ColumnWidth"), CallKind::PropertyPut, {characters});
    };
    width(2, 39.29);
    width(3, 5); // a date column stays wide enough for its dates
    EXPECT_THROW(width(4, -1), AutomationError);
    EXPECT_THROW(width(4, QStringLiteral("wide")), AutomationError);
    const auto put = [&](int column, const QString& value) {
        excel.invoke(QStringLiteral("Cells"), CallKind::PropertyPut, {1, column, value});
    };
    put(1, QStringLiteral("one line"));
    put(2, QStringLiteral("两行\r\n备注"));
    put(3, QStringLiteral("2009-2-14 9:05:07"));
    book.invoke(QStringLiteral("SaveAs"), CallKind::Method, {path(QStringLiteral("w.xlsx"))});

    const QString sheet = QString::fromUtf8(officereadback::requireZipEntry(
        path(QStringLiteral("w.xlsx")), "xl/worksheets/sheet1.xml"));
    const auto columnWidth = [&](int column) {
        const QRegularExpression col(
            QStringLiteral(R"re(<col min="%1" max="%1" width="([0-9.]+)")re").arg(column));
        const QRegularExpressionMatch match = col.match(sheet);
        return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
    };
    EXPECT_NEAR(columnWidth(2), 39.29 + 5.0 / 7, 0.02); // the padding is added on writing
    EXPECT_GE(columnWidth(3), 18);
    EXPECT_EQ(columnWidth(1), 0);
    // The cell with the line break has a style of its own, one that wraps.
    const QRegularExpression styled(QStringLiteral(R"re(<c r="B1" s="(\d+)")re"));
    EXPECT_TRUE(styled.match(sheet).hasMatch());
    EXPECT_FALSE(sheet.contains(QStringLiteral(R"(<c r="A1" s=)")));
    const QByteArray styles =
        officereadback::requireZipEntry(path(QStringLiteral("w.xlsx")), "xl/styles.xml");
    EXPECT_TRUE(styles.contains(R"(wrapText="1")"));
}

TEST_F(AutomationSpreadsheet, TheExtensionIsAddedOnlyToANameWithout) {
    exportSheet({QStringLiteral("a")}, {}, path(QStringLiteral("销售清单")));
    exportSheet({QStringLiteral("b")}, {}, path(QStringLiteral("list.xls")));
    EXPECT_EQ(files(), QStringList({QStringLiteral("list.xls"), QStringLiteral("销售清单.xlsx")}));
    EXPECT_EQ(readSheetCells(path(QStringLiteral("list.xls"))).value(QStringLiteral("A1")).value,
              QStringLiteral("b"));

    // Saving again replaces the file.
    exportSheet({QStringLiteral("c")}, {}, path(QStringLiteral("list.xls")));
    EXPECT_EQ(readSheetCells(path(QStringLiteral("list.xls"))).value(QStringLiteral("A1")).value,
              QStringLiteral("c"));
}

TEST_F(AutomationSpreadsheet, CellsGoToTheWorkbookAddedLast) {
    OleVariant excel = Automation::createOleObject(QStringLiteral("Excel.Application"));
    const auto put = [&](const QVariant& value) {
        excel.invoke(QStringLiteral("Cells"), CallKind::PropertyPut, {1, 1, value});
    };
    // No workbook yet.
    EXPECT_THROW(put(QStringLiteral("x")), AutomationError);

    const OleVariant workbooks = excel.invoke(QStringLiteral("Workbooks"), CallKind::PropertyGet);
    const OleVariant first = workbooks.invoke(QStringLiteral("add"), CallKind::Method);
    put(QStringLiteral("first"));
    const OleVariant second = workbooks.invoke(QStringLiteral("ADD"), CallKind::Method);
    put(QStringLiteral("second"));
    second.invoke(QStringLiteral("Close"), CallKind::Method);
    EXPECT_THROW(second.invoke(QStringLiteral("SaveAs"), CallKind::Method,
                               {path(QStringLiteral("closed.xlsx"))}),
                 AutomationError);
    put(QStringLiteral("first again")); // back on the first workbook
    first.invoke(QStringLiteral("saveas"), CallKind::Method, {path(QStringLiteral("first.xlsx"))});
    EXPECT_EQ(readSheetCells(path(QStringLiteral("first.xlsx"))).value(QStringLiteral("A1")).value,
              QStringLiteral("first again"));
    first.invoke(QStringLiteral("close"), CallKind::Method);
    EXPECT_THROW(put(QStringLiteral("x")), AutomationError);
    EXPECT_EQ(files(), QStringList{QStringLiteral("first.xlsx")});
}

TEST_F(AutomationSpreadsheet, BadCellsAndCallsThrow) {
    OleVariant excel = Automation::createOleObject(QStringLiteral("Excel.Application"));
    excel.invoke(QStringLiteral("workbooks"), CallKind::MethodOrGet)
        .invoke(QStringLiteral("Add"), CallKind::MethodOrGet);
    const auto put = [&](const QList<OleVariant>& arguments) {
        excel.invoke(QStringLiteral("Cells"), CallKind::PropertyPut, arguments);
    };
    EXPECT_THROW(put({0, 1, 1}), AutomationError);
    EXPECT_THROW(put({1, 16385, 1}), AutomationError);
    EXPECT_THROW(put({1048577, 1, 1}), AutomationError);
    EXPECT_THROW(put({QStringLiteral("A"), 1, 1}), AutomationError);
    EXPECT_THROW(put({1, 1}), AutomationError);
    EXPECT_THROW(put({1, 1, excel}), AutomationError);
    EXPECT_THROW(put({1, 1, std::numeric_limits<double>::quiet_NaN()}), AutomationError);
    EXPECT_THROW(put({1, 1, QString(32768, QLatin1Char('x'))}), AutomationError);
    put({1, 1, QString(32767, QLatin1Char('x'))});
    put({1048576, 16384, 1});
    EXPECT_THROW(excel.invoke(QStringLiteral("Cells"), CallKind::MethodOrGet, {1, 1}),
                 AutomationError);
    EXPECT_THROW(excel.invoke(QStringLiteral("Workbooks"), CallKind::PropertyPut, {1}),
                 AutomationError);
}

TEST_F(AutomationSpreadsheet, AnUnwritableTargetThrowsAndWritesNothing) {
    OleVariant excel = Automation::createOleObject(QStringLiteral("Excel.Application"));
    const OleVariant book = excel.invoke(QStringLiteral("workbooks"), CallKind::MethodOrGet)
                                .invoke(QStringLiteral("Add"), CallKind::MethodOrGet);
    excel.invoke(QStringLiteral("Cells"), CallKind::PropertyPut, {1, 1, 1});
    const auto save = [&](const QVariant& name) {
        book.invoke(QStringLiteral("SaveAS"), CallKind::Method, {name});
    };
    EXPECT_THROW(save(path(QStringLiteral("missing/out.xlsx"))), AutomationError);
    ASSERT_TRUE(QDir(mFolder.path()).mkdir(QStringLiteral("taken.xlsx")));
    EXPECT_THROW(save(path(QStringLiteral("taken"))), AutomationError);
    EXPECT_THROW(save(QString()), AutomationError);
    EXPECT_THROW(save(QVariant()), AutomationError);
    EXPECT_TRUE(files().isEmpty());
    // The workbook is still there to be saved elsewhere.
    save(path(QStringLiteral("out.xlsx")));
    EXPECT_EQ(files(), QStringList{QStringLiteral("out.xlsx")});
}

// The sheet keeps its cells in a log and streams them to the file on saving;
// whatever order they come in, the file holds the last value of each cell.
TEST_F(AutomationSpreadsheet, CellsSetInAnyOrderAreWrittenWithTheirLastValues) {
    const auto save = [&](xlsx::Sheet& sheet, const QString& name) {
        sheet.save(QFile::encodeName(path(name)));
        return readSheetCells(path(name));
    };
    const auto values = [](const QMap<QString, SheetCell>& cells) {
        QStringList seen;
        for (auto cell = cells.begin(); cell != cells.end(); ++cell)
            seen << cell.key() + QLatin1Char('=') + cell.value().value;
        return seen;
    };

    // Row after row, but columns out of order, set twice and cleared again.
    xlsx::Sheet inRows;
    inRows.setCell(1, 3, QStringLiteral("c"));
    inRows.setCell(1, 1, QStringLiteral("a"));
    inRows.setCell(1, 2, 5);
    inRows.setCell(1, 1, QVariant());
    inRows.setCell(1, 2, QStringLiteral("b"));
    inRows.setCell(2, 2, QString());
    inRows.setCell(3, 1, true);
    EXPECT_EQ(values(save(inRows, QStringLiteral("rows.xlsx"))),
              QStringList({"A3=1", "B1=b", "C1=c"}));
    // Saved again from what it keeps, once the rows written while they came
    // have gone to the first file.
    EXPECT_EQ(values(save(inRows, QStringLiteral("rows again.xlsx"))),
              QStringList({"A3=1", "B1=b", "C1=c"}));

    // Back up to rows already set: the sheet is sorted on saving.
    xlsx::Sheet anyOrder;
    anyOrder.setCell(3, 2, QStringLiteral("three"));
    anyOrder.setCell(1, 1, 1);
    anyOrder.setCell(5, 1, QStringLiteral("2009-2-14 9:05:07"));
    anyOrder.setCell(3, 2, QStringLiteral("three again"));
    anyOrder.setCell(2, 1, 2);
    anyOrder.setCell(1, 1, QVariant());
    anyOrder.setCell(1, 2, QStringLiteral("两行\n文字"));
    QMap<QString, SheetCell> sorted = save(anyOrder, QStringLiteral("any.xlsx"));
    const SheetCell date = sorted.take(QStringLiteral("A5"));
    EXPECT_EQ(date.format, QStringLiteral("yyyy-m-d h:mm:ss"));
    EXPECT_NEAR(date.value.toDouble(), ValentineSerial, 1e-9);
    EXPECT_EQ(values(sorted), QStringList({"A2=2", "B1=两行\n文字", "B3=three again"}));

    // A saved sheet stays: it can be changed and saved again.
    anyOrder.setCell(4, 3, QStringLiteral("later"));
    EXPECT_EQ(values(save(anyOrder, QStringLiteral("again.xlsx"))).size(), 5);
    EXPECT_EQ(values(readSheetCells(path(QStringLiteral("any.xlsx")))).size(), 4);

    // A sheet without cells is an empty sheet.
    xlsx::Sheet empty;
    EXPECT_TRUE(save(empty, QStringLiteral("empty.xlsx")).isEmpty());
}

// Many rows with long texts run through more than one buffer of the log and
// are written while they come; a cell set above them afterwards still counts.
TEST_F(AutomationSpreadsheet, ALargeSheetComesBackWhole) {
    constexpr int Rows = 3000;
    const auto longText = [](int row) {
        return QStringLiteral("第%1行").arg(row) + QString(400 + row % 7, QChar(u'货'));
    };
    const auto fill = [&](xlsx::Sheet& sheet) {
        for (int row = 1; row <= Rows; ++row) {
            sheet.setCell(row, 1, row);
            sheet.setCell(row, 2, longText(row));
            sheet.setCell(row, 3, QDate(2009, 1, 1).addDays(row));
        }
    };
    const auto check = [&](const QString& name, const QString& firstText) {
        const QMap<QString, SheetCell> cells = readSheetCells(path(name));
        ASSERT_EQ(cells.size(), 3 * Rows);
        for (int row = 1; row <= Rows; ++row) {
            const QString at = QString::number(row);
            ASSERT_EQ(cells.value(QLatin1Char('A') + at).value.toInt(), row);
            ASSERT_EQ(cells.value(QLatin1Char('B') + at).value,
                      row == 1 ? firstText : longText(row));
            ASSERT_EQ(cells.value(QLatin1Char('C') + at).value.toInt(), 39814 + row);
        }
    };

    xlsx::Sheet inOrder;
    fill(inOrder);
    inOrder.save(QFile::encodeName(path(QStringLiteral("large.xlsx"))));
    check(QStringLiteral("large.xlsx"), longText(1));

    xlsx::Sheet backToTheTop;
    fill(backToTheTop);
    backToTheTop.setCell(1, 2, QStringLiteral("改过"));
    backToTheTop.save(QFile::encodeName(path(QStringLiteral("changed.xlsx"))));
    check(QStringLiteral("changed.xlsx"), QStringLiteral("改过"));
}
