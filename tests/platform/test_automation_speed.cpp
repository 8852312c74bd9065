#include "office_readback.h"
#include "platform/automation.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform;

// Exports of 100 000 sales, as the sales window makes them, must each stay
// well under 5 s; a cost per call that grows with the number of calls made
// before would show here at once.
namespace {

constexpr int Rows = 100000;

QVariantList sale(int row) {
    return {
        row,
        QStringLiteral("商品%1").arg(row % 97),
        QString::number(row % 1000),
        QStringLiteral("张三"),
        row % 3 ? QStringLiteral("备注 %1").arg(row) : QString(),
        QStringLiteral("2009-%1-%2 %3:05:07").arg(row % 12 + 1).arg(row % 28 + 1).arg(row % 24)};
}

} // namespace

TEST(AutomationSpeed, HundredThousandRowsToASpreadsheet) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("sales.xlsx"));
    QElapsedTimer timer;
    timer.start();
    OleVariant excel = Automation::createOleObject(QStringLiteral("Excel.Application"));
    OleVariant book = Automation::createOleObject(QStringLiteral("Excel.Sheet"));
    book = excel.invoke(QStringLiteral("workbooks"), CallKind::MethodOrGet)
               .invoke(QStringLiteral("Add"), CallKind::MethodOrGet);
    const QString cells = QStringLiteral("Cells");
    for (int column = 1; column <= 6; ++column)
        excel.invoke(cells, CallKind::PropertyPut, {1, column, QStringLiteral("列%1").arg(column)});
    for (int row = 2; row <= Rows + 1; ++row) {
        const QVariantList values = sale(row - 1);
        for (int column = 1; column <= values.size(); ++column)
            excel.invoke(cells, CallKind::PropertyPut, {row, column, values[column - 1]});
    }
    book.invoke(QStringLiteral("SaveAS"), CallKind::Method, {fileName});
    book.invoke(QStringLiteral("close"), CallKind::Method);
    const qint64 elapsed = timer.elapsed();
    RecordProperty("milliseconds", static_cast<int>(elapsed));
    std::printf("100000 rows to .xlsx: %lld ms\n", static_cast<long long>(elapsed));
    EXPECT_LT(elapsed, 5000);
    EXPECT_TRUE(officereadback::readZipEntry(fileName, QStringLiteral("xl/worksheets/sheet1.xml")));
}

TEST(AutomationSpeed, HundredThousandRowsToADocument) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("sales.docx"));
    QElapsedTimer timer;
    timer.start();
    const OleVariant word = Automation::createOleObject(QStringLiteral("word.Application"));
    word.invoke(QStringLiteral("documents"), CallKind::MethodOrGet)
        .invoke(QStringLiteral("Add"), CallKind::MethodOrGet);
    const OleVariant range = word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("paragraphs"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("Add"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("range"), CallKind::MethodOrGet);
    const OleVariant table =
        word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet)
            .invoke(QStringLiteral("tables"), CallKind::MethodOrGet)
            .invoke(QStringLiteral("Add"), CallKind::Method, {range, Rows + 1, 6});
    const auto write = [&](int row, int column, const QString& text) {
        table.invoke(QStringLiteral("Cell"), CallKind::Method, {row, column})
            .invoke(QStringLiteral("range"), CallKind::MethodOrGet)
            .invoke(QStringLiteral("InsertAfter"), CallKind::Method, {text});
    };
    for (int column = 2; column <= 6; ++column)
        write(1, column, QStringLiteral("列%1").arg(column));
    for (int row = 2; row <= Rows + 1; ++row) {
        const QVariantList values = sale(row - 1);
        for (int column = 2; column <= values.size(); ++column)
            write(row, column, values[column - 1].toString());
    }
    word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet)
        .invoke(QStringLiteral("saveas"), CallKind::Method, {fileName});
    word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet)
        .invoke(QStringLiteral("close"), CallKind::Method);
    const qint64 elapsed = timer.elapsed();
    RecordProperty("milliseconds", static_cast<int>(elapsed));
    std::printf("100000 rows to .docx: %lld ms\n", static_cast<long long>(elapsed));
    EXPECT_LT(elapsed, 5000);
    EXPECT_TRUE(officereadback::readZipEntry(fileName, QStringLiteral("word/document.xml")));
}
