#include "platform/app_dir.h"
#include "platform/message_box.h"
#include "records/module_storage.h"
#include "records/record_window.h"
#include "records/result_model.h"

#include <sqlite3.h>

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDir>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace records;

namespace {

// A program folder of its own with the nine empty databases, and message
// boxes answered by the test.
class RecordWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mDir.isValid());
        platform::setAppDir(mDir.path());
        QDir(mDir.path()).mkdir(QStringLiteral("database"));
        for (const ModuleTable& table : moduleTables()) {
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

    QString cell(RecordWindow& window, int row, int column) {
        return window.grid()->model()->index(row, column).data(Qt::EditRole).toString();
    }

    QTemporaryDir mDir;
    QStringList mBoxes;
};

} // namespace

TEST_F(RecordWindowTest, AnyTextIsStoredAndShownUnchanged) {
    RecordWindow memo(memoDescriptor());
    memo.create();
    ASSERT_TRUE(mBoxes.isEmpty());
    const QString longText = QString(QStringLiteral("长文本")).repeated(3334).left(10000);
    const QString texts[] = {longText, QStringLiteral("line one\nline two\n\nthree"),
                             QStringLiteral("表情 😀🎉 emoji"),
                             QStringLiteral("it's a 'quote' \\ and ;")};
    for (const QString& text : texts) {
        memo.setBoxText(QStringLiteral("BiaoTi"), text.left(50));
        memo.setBoxText(QStringLiteral("Beizhu"), text);
        memo.add();
    }
    ASSERT_TRUE(mBoxes.isEmpty()) << mBoxes.join('|').toStdString();
    ASSERT_EQ(memo.grid()->model()->rowCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(cell(memo, i, 2), texts[i]) << i;
    EXPECT_EQ(cell(memo, 0, 2).size(), 10000);

    // Editing the row with the quote leaves every other row alone.
    memo.grid()->setCurrentIndex(memo.grid()->model()->index(3, 1));
    memo.loadRow();
    EXPECT_EQ(memo.boxText(QStringLiteral("ID")), QStringLiteral("4"));
    memo.setBoxText(QStringLiteral("Beizhu"), QStringLiteral("x' where 1=1 --"));
    memo.edit();
    EXPECT_EQ(cell(memo, 3, 2), QStringLiteral("x' where 1=1 --"));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(cell(memo, i, 2), texts[i]) << i;
}

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
    EXPECT_EQ(sales.statusText(), QStringLiteral("共30个销售记录"));
    // Newest first, one column per field titled with its name.
    EXPECT_EQ(cell(sales, 0, 1), QStringLiteral("米29"));
    EXPECT_EQ(sales.grid()->model()->headerData(4, Qt::Horizontal).toString(),
              QStringLiteral("出货人"));
    EXPECT_EQ(sales.grid()->columnWidth(5), 280);
    sales.query().moveTo(5);
    sales.deleteCurrent();
    EXPECT_EQ(sales.statusText(), QStringLiteral("共29个销售记录"));
    sales.query().setSql("select 1");
    EXPECT_EQ(sales.grid()->model()->rowCount(), 0);
}

TEST_F(RecordWindowTest, LockedDatabaseShowsTheErrorAndKeepsTheBoxes) {
    RecordWindow memo(memoDescriptor());
    memo.create();
    memo.setStatusText(QStringLiteral("共0个记录"));
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(databasePath(QStringLiteral("备忘录.mdb")).toUtf8().constData(), &other),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    memo.setBoxText(QStringLiteral("BiaoTi"), QStringLiteral("标题"));
    memo.setBoxText(QStringLiteral("Beizhu"), QStringLiteral("内容"));
    platform::runGuardedByErrorBox([&] { memo.add(); });
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ASSERT_EQ(mBoxes.size(), 1);
    EXPECT_TRUE(mBoxes[0].contains(QStringLiteral("locked"))) << mBoxes[0].toStdString();
    EXPECT_EQ(memo.boxText(QStringLiteral("BiaoTi")), QStringLiteral("标题"));
    EXPECT_EQ(memo.boxText(QStringLiteral("Beizhu")), QStringLiteral("内容"));
    EXPECT_EQ(memo.statusText(), QStringLiteral("共0个记录"));
    // After the lock is gone the same add goes through.
    memo.add();
    EXPECT_EQ(memo.statusText(), QStringLiteral("共1个记录"));
}

TEST_F(RecordWindowTest, CreationGuardedOrNot) {
    // No word list: the guarded window is silent, its box empty, and it
    // still connects.
    RecordWindow leave(staffLeaveDescriptor());
    leave.create();
    EXPECT_TRUE(mBoxes.isEmpty());
    EXPECT_TRUE(leave.connection().connected());
    EXPECT_EQ(leave.statusText(), QStringLiteral("共0个记录"));
    EXPECT_EQ(qobject_cast<QComboBox*>(leave.box(QStringLiteral("YGName")))->count(), 0);

    // With the list: entries loaded, the typed text kept.
    QFile list(platform::appPath(wordlists::StaffNames));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("甲\r\n\r\n乙");
    list.close();
    RecordWindow salary(salaryDescriptor());
    salary.setBoxText(QStringLiteral("YGName"), QStringLiteral("手写"));
    salary.create();
    auto* names = qobject_cast<QComboBox*>(salary.box(QStringLiteral("YGName")));
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->count(), 3);
    EXPECT_EQ(names->itemText(1), QString());
    EXPECT_EQ(names->currentText(), QStringLiteral("手写"));
    EXPECT_EQ(salary.statusText(), QStringLiteral("共0个记录"));

    // A missing database: the unguarded window reports it.
    QFile::remove(databasePath(QStringLiteral("电费记录.mdb")));
    RecordWindow electricity(electricityDescriptor());
    electricity.create();
    ASSERT_EQ(mBoxes.size(), 1);
    EXPECT_TRUE(mBoxes[0].startsWith(QStringLiteral("数据库文件\"电费记录.mdb\"不存在: ")))
        << mBoxes[0].toStdString();
    EXPECT_FALSE(QFile::exists(databasePath(QStringLiteral("电费记录.mdb"))));
}
