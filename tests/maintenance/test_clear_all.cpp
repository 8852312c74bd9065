#include "program_folder.h"

#include "maintenance/clear_all.h"
#include "records/record_window.h"

#include <QAbstractItemModel>
#include <QTableView>

#include <map>

using namespace maintenance;

namespace {

const records::ModuleDescriptor* descriptorOf(const QString& windowClass) {
    for (const records::ModuleDescriptor* d :
         {&records::memoDescriptor(), &records::notepadDescriptor(),
          &records::remittanceDescriptor(), &records::staffLeaveDescriptor(),
          &records::salaryDescriptor(), &records::electricityDescriptor(),
          &records::salesDescriptor(), &records::purchaseDescriptor(),
          &records::addressBookDescriptor()}) {
        if (d->windowClass == windowClass)
            return d;
    }
    return nullptr;
}

class ClearAll : public ProgramFolder {
protected:
    QString count(const QString& file) {
        return sqlValue(records::databasePath(file), "select count(*) from data");
    }
    void addRows(const QString& file, int rows) {
        for (int i = 0; i < rows; ++i)
            sqlRun(records::databasePath(file), "insert into data (备注) values ('x')");
    }
};

} // namespace

TEST(ClearAllItems, EachItemAsksItsOwnQuestionAndEmptiesItsOwnModule) {
    const std::map<QString, std::pair<QString, QString>> expected = {
        {QStringLiteral("清空全部备忘录记录"),
         {QStringLiteral("备忘录.mdb"), QStringLiteral("备忘录")}},
        {QStringLiteral("清空全部日记记录"),
         {QStringLiteral("记事本.mdb"), QStringLiteral("日记")}},
        {QStringLiteral("清空全部销售记录"),
         {QStringLiteral("销售记录.mdb"), QStringLiteral("销售")}},
        {QStringLiteral("清空全部进货记录"),
         {QStringLiteral("进货记录.mdb"), QStringLiteral("进货")}},
        {QStringLiteral("清空全部汇款记录"),
         {QStringLiteral("汇款记录.mdb"), QStringLiteral("汇款")}},
        {QStringLiteral("清空全部员工工资记录"),
         {QStringLiteral("员工工资发放记录.mdb"), QStringLiteral("员工工资")}},
        {QStringLiteral("清空全部员工请假记录"),
         {QStringLiteral("员工请假记录.mdb"), QStringLiteral("员工请假")}},
        {QStringLiteral("清空全部电费记录"),
         {QStringLiteral("电费记录.mdb"), QStringLiteral("电费")}},
        // The address book asks about 通讯 records, not 通讯录 records.
        {QStringLiteral("清空全部通讯录记录"),
         {QStringLiteral("客户通讯录.mdb"), QStringLiteral("通讯")}},
    };
    // Menu order: the main window's menu and this list agree item by item.
    const QStringList menu = {
        QStringLiteral("清空全部备忘录记录"),   QStringLiteral("清空全部日记记录"),
        QStringLiteral("清空全部销售记录"),     QStringLiteral("清空全部进货记录"),
        QStringLiteral("清空全部汇款记录"),     QStringLiteral("清空全部员工工资记录"),
        QStringLiteral("清空全部员工请假记录"), QStringLiteral("清空全部电费记录"),
        QStringLiteral("清空全部通讯录记录"),
    };
    for (std::size_t i = 0; i < clearAllItems().size(); ++i) {
        const ClearAllItem& item = clearAllItems()[i];
        const auto& [file, noun] = expected.at(menu[static_cast<int>(i)]);
        const records::ModuleDescriptor* descriptor = descriptorOf(item.windowClass);
        ASSERT_NE(descriptor, nullptr) << item.windowClass.toStdString();
        EXPECT_EQ(descriptor->databaseFile, file) << i;
        EXPECT_EQ(item.confirmation, QStringLiteral("您真的要删除所有%1记录吗?").arg(noun)) << i;
    }
}

TEST_F(ClearAll, NoChangesNothingAndYesEmptiesOnlyThatModuleAndRefreshesItsWindow) {
    records::RecordWindow remittances(records::remittanceDescriptor());
    remittances.create();
    records::RecordWindow memo(records::memoDescriptor());
    memo.create();
    addRows(QStringLiteral("汇款记录.mdb"), 3);
    addRows(QStringLiteral("备忘录.mdb"), 2);
    remittances.refresh();
    remittances.setBoxText(QStringLiteral("Jiner"), QStringLiteral("typed"));
    ASSERT_EQ(remittances.statusText(), QStringLiteral("共3条汇款记录"));

    mAnswer = platform::IdNo;
    EXPECT_FALSE(clearAll(remittances, QStringLiteral("您真的要删除所有汇款记录吗?")));
    ASSERT_EQ(mBoxes.size(), 1);
    EXPECT_EQ(mBoxes[0].text, QStringLiteral("您真的要删除所有汇款记录吗?"));
    EXPECT_EQ(mBoxes[0].caption, QStringLiteral("警告"));
    EXPECT_EQ(mBoxes[0].flags, 0x40234u);
    EXPECT_EQ(count(QStringLiteral("汇款记录.mdb")), QStringLiteral("3"));
    EXPECT_EQ(remittances.grid()->model()->rowCount(), 3);

    mBoxes.clear();
    mAnswer = platform::IdYes;
    EXPECT_TRUE(clearAll(remittances, QStringLiteral("您真的要删除所有汇款记录吗?")));
    EXPECT_EQ(mBoxes.size(), 1); // only the question
    EXPECT_EQ(count(QStringLiteral("汇款记录.mdb")), QStringLiteral("0"));
    EXPECT_EQ(count(QStringLiteral("备忘录.mdb")), QStringLiteral("2"));
    // The refresh ran: the window's own list query, count text and boxes.
    EXPECT_EQ(remittances.statusText(), QStringLiteral("共0条汇款记录"));
    EXPECT_EQ(remittances.grid()->model()->rowCount(), 0);
    EXPECT_EQ(remittances.boxText(QStringLiteral("Jiner")), QString());
    EXPECT_EQ(remittances.query().sql(), remittances.descriptor().listQuery.toStdString());
}

TEST_F(ClearAll, AWindowThatNeverConnectedFailsSilently) {
    // The sales window guards its creation: without its database it stays
    // unconnected and says nothing.
    ASSERT_TRUE(QFile::remove(records::databasePath(QStringLiteral("销售记录.mdb"))));
    records::RecordWindow sales(records::salesDescriptor());
    sales.create();
    ASSERT_TRUE(mBoxes.isEmpty());
    sales.setStatusText(QStringLiteral("before"));
    EXPECT_FALSE(clearAll(sales, QStringLiteral("您真的要删除所有销售记录吗?")));
    EXPECT_EQ(mBoxes.size(), 1);
    EXPECT_EQ(sales.statusText(), QStringLiteral("before"));
    EXPECT_FALSE(QFile::exists(records::databasePath(QStringLiteral("销售记录.mdb"))));
}
