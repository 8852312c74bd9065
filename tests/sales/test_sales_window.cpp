#include "platform/app_dir.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "records/module_storage.h"
#include "sales/sales_window.h"
#include "sales/trend_page.h"

#include <sqlite3.h>

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace sales;

namespace {

// A program folder with an empty sales database and word lists, a pinned
// clock, and message boxes answered by the test.
class SalesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mDir.isValid());
        platform::setAppDir(mDir.path());
        QDir(mDir.path()).mkdir(QStringLiteral("database"));
        for (const QString& list : {records::wordlists::StaffNames, records::wordlists::GoodsNames,
                                    records::wordlists::Amounts}) {
            QFile file(platform::appPath(list));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        const records::ModuleTable& table = records::moduleTables()[0];
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(records::databasePath(table.fileName).toUtf8().constData(), &db),
                  SQLITE_OK);
        const int created = sqlite3_exec(db, records::createTableStatement(table).c_str(), nullptr,
                                         nullptr, nullptr);
        sqlite3_close(db);
        ASSERT_EQ(created, SQLITE_OK);
        platform::setMessageBoxAnswerer([this](const QString& text, const QString&, unsigned) {
            mBoxes << text;
            return platform::IdOk;
        });
        platform::Clock::pin(QDateTime(QDate(2009, 2, 14), QTime(9, 5, 7)), 8 * 3600);
    }
    void TearDown() override {
        platform::setMessageBoxAnswerer({});
        platform::Clock::release();
    }

    QTemporaryDir mDir;
    QStringList mBoxes;
};

} // namespace

TEST_F(SalesWindowTest, CreationTakesTheLocalDateAndWritesNoDateText) {
    // Half past midnight at UTC+8 is still the old year in UTC.
    platform::Clock::pin(QDateTime(QDate(2010, 1, 1), QTime(0, 30)), 8 * 3600);
    SalesWindow window;
    window.create();
    EXPECT_TRUE(mBoxes.isEmpty());
    EXPECT_EQ(window.trendPage()->yearBox()->value(), 2010);
    EXPECT_EQ(window.findChild<QDateEdit*>(QStringLiteral("DateTimePicker1"))->date(),
              QDate(2010, 1, 1));
    EXPECT_EQ(window.boxText(QStringLiteral("EditDate")), QString());
    EXPECT_EQ(window.statusText(), QStringLiteral("共0个销售记录"));
    // The year has no bounds.
    QSpinBox* year = window.trendPage()->yearBox();
    year->setValue(-40000);
    EXPECT_EQ(year->value(), -40000);
    year->setValue(1'000'000);
    EXPECT_EQ(year->text(), QStringLiteral("1000000"));
}

TEST_F(SalesWindowTest, TheCalculatorItemStartsTheCalculatorOnThePath) {
    SalesWindow window;
    QMenuBar* bar = window.findChild<QMenuBar*>();
    ASSERT_TRUE(bar);
    QAction* calculatorItem = nullptr;
    for (QAction* item : bar->actions().value(1)->menu()->actions()) {
        if (item->text() == QStringLiteral("计算器"))
            calculatorItem = item;
    }
    ASSERT_NE(calculatorItem, nullptr);

    const QString calculator = mDir.filePath(platform::calculatorPrograms().first());
    QFile program(calculator);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    program.close();
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", mDir.path().toLocal8Bit());
    QStringList started;
    platform::setProgramStarter([&](const QString& name) { started << name; });
    calculatorItem->trigger();
    platform::setProgramStarter({});
    qputenv("PATH", path);
    EXPECT_EQ(started, QStringList{calculator});
}

TEST(TrendPageLayout, YearAndRunSitInTheGroupBoxWithTheBars) {
    TrendPage page;
    auto* chart = page.findChild<QWidget*>(QStringLiteral("GroupBox1"));
    ASSERT_NE(chart, nullptr);
    for (const char* name : {"Shape1", "Shape12", "Shape13", "YearE", "Label5", "Button5",
                             "LabelYYE", "MonthE", "Button4"}) {
        QWidget* control = page.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->parentWidget(), chart) << name;
        EXPECT_TRUE(chart->rect().contains(control->geometry())) << name;
    }
}
