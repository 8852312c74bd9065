#include "automation_exports.h"
#include "office_readback.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

// Exports of 100 000 sales must each stay well under 5 s; a cost per call that
// grew with the calls made before would show here at once.
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

qint64 timed(const char* what, const std::function<void()>& action) {
    QElapsedTimer timer;
    timer.start();
    action();
    const qint64 elapsed = timer.elapsed();
    std::printf("%d rows to %s: %lld ms\n", Rows, what, static_cast<long long>(elapsed));
    return elapsed;
}

} // namespace

TEST(AutomationSpeed, HundredThousandRowsToASpreadsheet) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("sales.xlsx"));
    const QList<QVariantList> rows = sales();
    EXPECT_LT(timed(".xlsx", [&] { automationexports::exportSheet(Header, rows, fileName); }),
              5000);
    const auto sheet =
        officereadback::readZipEntry(fileName, QStringLiteral("xl/worksheets/sheet1.xml"));
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->contains(R"(<dimension ref="A1:F100001"/>)"));
}

TEST(AutomationSpeed, HundredThousandRowsToADocument) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("sales.docx"));
    QList<QStringList> rows;
    for (const QVariantList& sale : sales()) {
        QStringList texts;
        for (const QVariant& value : sale)
            texts.append(value.toString());
        rows.append(texts);
    }
    EXPECT_LT(timed(".docx", [&] { automationexports::exportDocument(Header, rows, fileName); }),
              5000);
    const auto document =
        officereadback::readZipEntry(fileName, QStringLiteral("word/document.xml"));
    ASSERT_TRUE(document);
    EXPECT_EQ(document->count("<w:tr>"), Rows + 1);
    EXPECT_EQ(document->count("<w:tc><w:p/></w:tc>"), Rows + 1 + Rows / 3); // column 1, empty notes
}
