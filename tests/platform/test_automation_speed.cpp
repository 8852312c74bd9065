#include "automation_exports.h"
#include "office_readback.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// Exports of 100 000 sales are written whole. How long they take is measured by
// bench/export, away from a test run that may share the machine.
namespace {

constexpr int Rows = 100000;

const QStringList Header{QStringLiteral("编号"),   QStringLiteral("商品"), QStringLiteral("金额"),
                         QStringLiteral("发货人"), QStringLiteral("备注"), QStringLiteral("时间")};

QList<QVariantList> sales() {
    QList<QVariantList> rows;
    rows.reserve(Rows);
    for (int row = 1; row <= Rows; ++row)
        rows.append({row, QStringLiteral("商品%1").arg(row % 97), QString::number(row % 1000),
                     QStringLiteral("张三"),
                     row % 3 ? QStringLiteral("备注 %1").arg(row) : QString(),
                     QStringLiteral("2009-%1-%2 %3:05:07")
                         .arg(row % 12 + 1)
                         .arg(row % 28 + 1)
                         .arg(row % 24)});
    return rows;
}

} // namespace

TEST(AutomationLargeLists, HundredThousandRowsToASpreadsheet) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("sales.xlsx"));
    automationexports::exportSheet(Header, sales(), fileName);
    const auto sheet =
        officereadback::readZipEntry(fileName, QStringLiteral("xl/worksheets/sheet1.xml"));
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->contains(R"(<dimension ref="A1:F100001"/>)"));
    EXPECT_EQ(sheet->count("<row "), Rows + 1);
}

TEST(AutomationLargeLists, HundredThousandRowsToADocument) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("sales.docx"));
    QList<QStringList> rows;
    for (const QVariantList& sale : sales()) {
        QStringList texts;
        for (const QVariant& value : sale)
            texts.append(value.toString());
        rows.append(texts);
    }
    automationexports::exportDocument(Header, rows, fileName);
    const auto document =
        officereadback::readZipEntry(fileName, QStringLiteral("word/document.xml"));
    ASSERT_TRUE(document);
    EXPECT_EQ(document->count("<w:tr>"), Rows + 1);
    EXPECT_EQ(document->count("<w:p/></w:tc>"), Rows + 1 + Rows / 3); // column 1, empty notes
}
