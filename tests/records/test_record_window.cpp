#include "platform/app_dir.h"
#include "platform/message_box.h"
#include "records/module_storage.h"
#include "records/record_window.h"
#include "records/result_model.h"

#include <sqlite3.h>

#include <QAbstractItemModelTester>
#include <QDir>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace records;

namespace {

// A program folder of its own with an empty sales database, and message
// boxes answered by the test.
class RecordWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mDir.isValid());
        platform::setAppDir(mDir.path());
        QDir(mDir.path()).mkdir(QStringLiteral("database"));
        for (const ModuleTable& table : moduleTables()) {
            if (table.fileName != salesDescriptor().databaseFile)
                continue;
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(databasePath(table.fileName).toUtf8().constData(), &db),
                      SQLITE_OK);
            ASSERT_EQ(
                sqlite3_exec(db, createTableStatement(table).c_str(), nullptr, nullptr, nullptr),
                SQLITE_OK);
            sqlite3_close(db);
        }
        platform::setMessageBoxAnswerer(
            [this](const QString& text, const QString&, unsigned flags) {
                mBoxes << text;
                return (flags & 0xF) == platform::mb::YesNo ? platform::IdYes : platform::IdOk;
            });
    }
    void TearDown() override { platform::setMessageBoxAnswerer({}); }

    QTemporaryDir mDir;
    QStringList mBoxes;
};

} // namespace

TEST_F(RecordWindowTest, GridModelPassesTheModelTester) {
    for (const QString& name : {wordlists::StaffNames, wordlists::GoodsNames, wordlists::Amounts}) {
        QFile list(platform::appPath(name));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    }
    RecordWindow sales(salesDescriptor());
    sales.create();
    QAbstractItemModelTester tester(sales.grid()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (int i = 0; i < 30; ++i) {
        sales.setBoxText(QStringLiteral("ShangPin"), QStringLiteral("米%1").arg(i));
        sales.setBoxText(QStringLiteral("JinEr"), QString::number(i * 10));
        sales.add();
    }
    EXPECT_EQ(sales.grid()->model()->rowCount(), 30);
    sales.query().moveTo(5);
    sales.deleteCurrent();
    EXPECT_EQ(sales.grid()->model()->rowCount(), 29);
    sales.query().setSql("select 1");
    EXPECT_EQ(sales.grid()->model()->rowCount(), 0);
    EXPECT_EQ(mBoxes, QStringList{QStringLiteral("您真的要删除该记录吗?")});
}
