#include "records/module_descriptor.h"
#include "records/module_storage.h"
#include "records/statements.h"

#include <gtest/gtest.h>

using namespace records;

TEST(Statements, InsertIsOneLineWithQuotedValues) {
    EXPECT_EQ(insertStatement({{"标题", "a"}, {"备注", "b c"}}),
              "Insert into data (标题,备注) values ('a','b c')");
    EXPECT_EQ(insertStatement({{"商品", "米"}, {"金额", ""}, {"出货人", ""}, {"备注", ""}}),
              "Insert into data (商品,金额,出货人,备注) values ('米','','','')");
}

TEST(Statements, UpdateHasOneLinePerColumnAndTheKeyLine) {
    EXPECT_EQ(updateStatement({{"标题", "t"}, {"备注", ""}}, "12"),
              "update data  set 标题='t' \r\n, 备注='' \r\nwhere  编号=12\r\n");
}

TEST(Statements, QuotesInTextsAreDoubledSoTheyStayInTheirLiteral) {
    EXPECT_EQ(insertStatement({{"标题", "it's"}, {"备注", "'); delete from data; --"}}),
              "Insert into data (标题,备注) values ('it''s','''); delete from data; --')");
    EXPECT_EQ(updateStatement({{"标题", "x' or '1'='1"}}, "3"),
              "update data  set 标题='x'' or ''1''=''1' \r\nwhere  编号=3\r\n");
}

TEST(Statements, OnlyDigitsMakeAKey) {
    EXPECT_TRUE(isRecordKey("0"));
    EXPECT_TRUE(isRecordKey("1234"));
    EXPECT_FALSE(isRecordKey(""));
    EXPECT_FALSE(isRecordKey("1 or 1=1"));
    EXPECT_FALSE(isRecordKey("-1"));
    EXPECT_FALSE(isRecordKey("１"));
    EXPECT_EQ(countText("共", 12, "个记录"), QStringLiteral("共12个记录"));
}

TEST(ModuleStorage, ConnectionStringIsTheJetForm) {
    EXPECT_EQ(connectionString("/opt/marvanto/", "备忘录.mdb"),
              "Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data "
              "Source=/opt/marvanto/database\\备忘录.mdb;Persist Security Info=True");
    EXPECT_EQ(connectionString("/opt/marvanto", "a.mdb"),
              connectionString("/opt/marvanto/", "a.mdb"));
}

// Every descriptor must agree with its table: list query columns, statements,
// row loads, widths.
TEST(Descriptors, AgreeWithTheirTables) {
    const ModuleDescriptor* all[] = {
        &salesDescriptor(),       &purchaseDescriptor(),    &notepadDescriptor(),
        &remittanceDescriptor(),  &staffLeaveDescriptor(),  &salaryDescriptor(),
        &addressBookDescriptor(), &electricityDescriptor(), &memoDescriptor()};
    ASSERT_EQ(moduleTables().size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) {
        const ModuleDescriptor& d = *all[i];
        const ModuleTable& table = moduleTables()[i];
        SCOPED_TRACE(d.windowClass.toStdString());
        EXPECT_EQ(d.databaseFile, table.fileName);
        // The list query names the table's columns in the table's order.
        const QString columns = d.listQuery.section(' ', 1, 1);
        EXPECT_EQ(columns.split(','), table.columns);
        EXPECT_EQ(d.columnWidths.size(), static_cast<std::size_t>(table.columns.size()));
        for (const auto& written : d.addColumns) {
            EXPECT_TRUE(table.columns.contains(written.column));
            EXPECT_NE(written.column, QStringLiteral("编号"));
            EXPECT_NE(written.column, QStringLiteral("时间"));
        }
        // A row load copies a field into the box of the same column.
        for (const auto& [field, box] : d.rowLoad) {
            if (box == QStringLiteral("ID")) {
                EXPECT_EQ(field, 0);
                continue;
            }
            bool found = false;
            for (const auto& c : d.editColumns)
                found = found || (c.box == box && table.columns[field] == c.column);
            EXPECT_TRUE(found) << box.toStdString();
        }
        for (const QString& name : d.addRequired + d.editRequired + d.addClears + d.refreshClears) {
            bool known = name == QStringLiteral("ID");
            for (const auto& box : d.boxes)
                known = known || box.name == name;
            EXPECT_TRUE(known) << name.toStdString();
        }
    }
}
