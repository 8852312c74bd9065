#include "records/address_book_window.h"
#include "records/purchase_window.h"
#include "records/whole_number.h"

#include <gtest/gtest.h>

using namespace records;

TEST(WholeNumber, SignAndDigitsWithinThirtyTwoBits) {
    EXPECT_EQ(wholeNumber(u"0"), 0);
    EXPECT_EQ(wholeNumber(u"350"), 350);
    EXPECT_EQ(wholeNumber(u"-50"), -50);
    EXPECT_EQ(wholeNumber(u"+7"), 7);
    EXPECT_EQ(wholeNumber(u"007"), 7);
    EXPECT_EQ(wholeNumber(u"2147483647"), 2147483647);
    EXPECT_EQ(wholeNumber(u"-2147483648"), INT32_MIN);
    // Leading zeros do not count towards the range.
    EXPECT_EQ(wholeNumber(u"000000000000002147483647"), 2147483647);
    for (const char16_t* bad : {u"", u"-", u"+", u"2147483648", u"-2147483649", u"99999999999999",
                                u"2.5", u"12元", u" 12", u"12 ", u"1e3", u"0x10", u"１２", u"--1"})
        EXPECT_FALSE(wholeNumber(bad)) << QString::fromUtf16(bad).toStdString();
}

TEST(PurchaseTotal, ProductOfWholeNumbersOnly) {
    EXPECT_EQ(totalPrice("12", "25"), QStringLiteral("300"));
    EXPECT_EQ(totalPrice("3", "-4"), QStringLiteral("-12"));
    EXPECT_EQ(totalPrice("0", "25"), QStringLiteral("0"));
    EXPECT_FALSE(totalPrice("12", "2.5"));
    EXPECT_FALSE(totalPrice("", "25"));
    EXPECT_FALSE(totalPrice("12", ""));
    // A product beyond 32 bits is refused, not wrapped.
    EXPECT_EQ(totalPrice("46340", "46340"), QStringLiteral("2147395600"));
    EXPECT_FALSE(totalPrice("65536", "65536"));
    EXPECT_FALSE(totalPrice("-65536", "32769"));
}

TEST(PurchaseQuantity, DigitsAndBackspaceOnly) {
    for (char c = '0'; c <= '9'; ++c)
        EXPECT_TRUE(isQuantityCharacter(QLatin1Char(c)));
    EXPECT_TRUE(isQuantityCharacter(QChar(8)));
    for (QChar c : QStringLiteral("a-.+ \r\n\t１元"))
        EXPECT_FALSE(isQuantityCharacter(c)) << int(c.unicode());
}

TEST(Searches, QuotesDoubledAndOnlyTableColumns) {
    EXPECT_EQ(goodsSearchQuery("米"), "Select * from data where 商品 like '%米%'");
    EXPECT_EQ(goodsSearchQuery("a'b"), "Select * from data where 商品 like '%a''b%'");

    const QStringList columns = {"编号", "姓名", "电话", "地址", "时间", "备注"};
    EXPECT_EQ(contactSearchQuery(columns, "电话", "138"),
              "Select * from data where 电话 like '%138%'");
    EXPECT_EQ(contactSearchQuery(columns, "姓名", ""), "Select * from data where 姓名 like '%%'");
    EXPECT_EQ(contactSearchQuery(columns, "备注", "O'Neil"),
              "Select * from data where 备注 like '%O''Neil%'");
    // Anything but a column name is never composed into the statement.
    for (const char* column :
         {"", "电话 ", "1=1 or 姓名", "姓名--", "data", "电话;drop table data"})
        EXPECT_FALSE(contactSearchQuery(columns, QString::fromUtf8(column), "x")) << column;
}

TEST(AddressBookLayout, EntryBoxesAndButtonsInAGroupBoxBesideTheSearch) {
    AddressBookWindow window;
    auto* entry = window.findChild<QWidget*>(QStringLiteral("GroupBox1"));
    auto* search = window.findChild<QWidget*>(QStringLiteral("GroupBox2"));
    ASSERT_TRUE(entry && search);
    for (const char* name :
         {"XingMing", "DianHua", "DiZhi", "Beizhu", "Add", "Button2", "SX", "Del"})
        EXPECT_TRUE(entry->isAncestorOf(window.findChild<QWidget*>(name))) << name;
    for (const char* name : {"SearchKeywords", "SearchOptiong", "Button1", "ID"})
        EXPECT_TRUE(search->isAncestorOf(window.findChild<QWidget*>(name))) << name;
    window.show();
    EXPECT_EQ(entry->parentWidget(), search->parentWidget());
    EXPECT_GT(search->x(), entry->geometry().right());
    EXPECT_EQ(search->y(), entry->y());
}
