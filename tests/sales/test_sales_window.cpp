#include "platform/app_dir.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "platform/status_bar.h"
#include "records/module_storage.h"
#include "sales/sales_window.h"
#include "sales/trend_page.h"

#include <sqlite3.h>

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStringListModel>
#include <QTableView>
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
        ASSERT_EQ(sqlite3_open(records::databasePath(table.fileName).toUtf8().constData(), &mDb),
                  SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(mDb, records::createTableStatement(table).c_str(), nullptr, nullptr,
                               nullptr),
                  SQLITE_OK);
        platform::setMessageBoxAnswerer([this](const QString& text, const QString&, unsigned) {
            mBoxes << text;
            return platform::IdOk;
        });
        platform::Clock::pin(QDateTime(QDate(2009, 2, 14), QTime(9, 5, 7)), 8 * 3600);
    }
    void TearDown() override {
        sqlite3_close(mDb);
        platform::setMessageBoxAnswerer({});
        platform::Clock::release();
    }

    void sale(const char* amount, const char* time) {
        const std::string sql = std::string("insert into data (商品,金额,时间) values ('米','") +
                                amount + "','" + time + "')";
        ASSERT_EQ(sqlite3_exec(mDb, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    }

    QTemporaryDir mDir;
    sqlite3* mDb = nullptr;
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
    EXPECT_EQ(window.statusPanels()->panelCount(), 2);
    EXPECT_EQ(window.statusPanels()->panelWidth(0), 300);
    EXPECT_EQ(window.statusPanels()->panelWidth(1), 200);
    // The year has no bounds.
    QSpinBox* year = window.trendPage()->yearBox();
    year->setValue(-40000);
    EXPECT_EQ(year->value(), -40000);
    year->setValue(1'000'000);
    EXPECT_EQ(year->text(), QStringLiteral("1000000"));
}

TEST_F(SalesWindowTest, PeriodsFillTheirWorkingListsAndSetTheColumns) {
    sale(" 100\t", "2009-2-14 9:00:00");
    sale("", "2009-2-14 10:00:00");
    sale("  ", "2009-2-14 11:00:00");
    sale("-30", "2009-2-14 12:00:00");
    sale("7", "2009-1-14 12:00:00");
    sale("9", "2008-2-14 12:00:00");
    SalesWindow window;
    window.create();
    window.setBoxText(QStringLiteral("JinEr"), QStringLiteral("5"));

    window.showPeriod(Period::Day);
    // Newest first, trimmed, blanks left out.
    EXPECT_EQ(window.trendPage()->dayList()->stringList(), (QStringList{"-30", "100"}));
    EXPECT_EQ(window.statusText(), QStringLiteral("2009年2月14日营业额:70元"));
    EXPECT_EQ(window.boxText(QStringLiteral("JinEr")), QString());
    const int widths[] = {50, 100, 60, 100, 280};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(window.grid()->columnWidth(i), widths[i]) << i;
    EXPECT_EQ(window.query().recNo(), 0);

    window.showPeriod(Period::Year);
    EXPECT_EQ(window.trendPage()->yearList()->stringList(), (QStringList{"7", "-30", "100"}));
    EXPECT_EQ(window.statusText(), QStringLiteral("2009年度营业额:77元"));
    EXPECT_EQ(window.trendPage()->dayList()->stringList(), (QStringList{"-30", "100"}));

    // 查看 uses allDAY too, in the table's order, and ends past the last row.
    window.setBoxText(QStringLiteral("EditDate"), QStringLiteral("-14"));
    window.showDateText();
    EXPECT_EQ(window.trendPage()->dayList()->stringList(), (QStringList{"100", "-30", "7", "9"}));
    EXPECT_EQ(window.statusText(), QStringLiteral("-14 营业额:86元 共6 个记录"));
    EXPECT_TRUE(window.query().eof());
    EXPECT_EQ(window.grid()->currentIndex().row(), 5);
    EXPECT_TRUE(mBoxes.isEmpty());
}

TEST_F(SalesWindowTest, TrendRunLeavesDecemberInTheListAndFailsWithoutAConnection) {
    sale("40", "2009-12-24 9:00:00");
    sale("80", "2009-12-25 9:00:00");
    sale("1000", "2009-7-1 9:00:00");
    SalesWindow window;
    window.create();
    window.trendPage()->yearBox()->setValue(2009);
    window.runTrend();
    EXPECT_TRUE(mBoxes.isEmpty());
    EXPECT_EQ(window.trendPage()->monthList()->stringList(), (QStringList{"40", "80"}));
    EXPECT_EQ(window.trendPage()->monthTotal(7)->text(), QStringLiteral("1000"));
    EXPECT_EQ(window.trendPage()->monthTotal(12)->text(), QStringLiteral("120"));
    EXPECT_EQ(window.trendPage()->bar(7)->width(), 100);
    EXPECT_EQ(window.trendPage()->bar(12)->width(), 10);
    EXPECT_EQ(window.statusText(), QStringLiteral("共3个销售记录"));
    EXPECT_EQ(window.grid()->model()->rowCount(), 2);

    // Without its database the guarded creation stops silently; a run then
    // reports the missing file once and stops.
    QFile::remove(records::databasePath(QStringLiteral("销售记录.mdb")));
    SalesWindow unconnected;
    unconnected.create();
    EXPECT_TRUE(mBoxes.isEmpty());
    platform::runGuardedByErrorBox([&] { unconnected.runTrend(); });
    ASSERT_EQ(mBoxes.size(), 1);
    EXPECT_TRUE(mBoxes[0].startsWith(QStringLiteral("数据库文件\"销售记录.mdb\"不存在")))
        << mBoxes[0].toStdString();
    EXPECT_EQ(unconnected.trendPage()->monthTotal(1)->text(), QString());
    EXPECT_EQ(unconnected.trendPage()->bar(1)->width(), TrendPage::StartWidth);
}

TEST_F(SalesWindowTest, MenusOfferExportAndTools) {
    SalesWindow window;
    QMenuBar* bar = window.findChild<QMenuBar*>();
    ASSERT_TRUE(bar);
    QStringList titles;
    for (QAction* menu : bar->actions())
        titles << menu->text();
    EXPECT_EQ(titles, (QStringList{" 辅 助 ", " 工 具 "}));
    EXPECT_EQ(window.excelAction()->objectName(), QStringLiteral("Excel1"));
    EXPECT_EQ(window.excelAction()->text(), QStringLiteral("导出Excel文件"));
    EXPECT_EQ(window.wordAction()->objectName(), QStringLiteral("Word1"));
    EXPECT_EQ(window.wordAction()->text(), QStringLiteral("导出Word文件"));

    const QList<QAction*> tools = bar->actions()[1]->menu()->actions();
    ASSERT_EQ(tools.size(), 2);
    EXPECT_EQ(tools[0]->text(), QStringLiteral("计算器"));
    EXPECT_EQ(tools[1]->text(), QStringLiteral("万年历"));

    // A calculator on the PATH is started; the calendar is asked for.
    const QString calculator = mDir.filePath(platform::calculatorPrograms().first());
    QFile program(calculator);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    program.close();
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", mDir.path().toLocal8Bit());
    QStringList started;
    platform::setProgramStarter([&](const QString& name) { started << name; });
    tools[0]->trigger();
    platform::setProgramStarter({});
    qputenv("PATH", path);
    EXPECT_EQ(started, QStringList{calculator});

    QSignalSpy calendar(&window, &SalesWindow::calendarRequested);
    tools[1]->trigger();
    EXPECT_EQ(calendar.count(), 1);
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
