#include "skin/engine/manager/message.h"
#include "skin/engine/manager/window_info.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace skin;

namespace {

// Answers the messages it is given a result for; counts what it saw.
class Answerer : public QObject {
public:
    std::map<int, qintptr> answers;
    std::vector<Message> seen;

    bool event(QEvent* event) override {
        if (Message* m = skinMessageOf(event)) {
            seen.push_back(*m);
            if (auto it = answers.find(m->msg); it != answers.end())
                answer(*m, it->second);
            return true;
        }
        return QObject::event(event);
    }
};

} // namespace

TEST(Messages, KeepTheirNumbersAsQtEventTypes) {
    ASSERT_TRUE(registerSkinMessages());
    int count = 0;
    const int* numbers = privateMessages(&count);
    EXPECT_EQ(count, 14);
    for (int i = 0; i < count; ++i) // a second reservation of a taken number gives another
        EXPECT_NE(QEvent::registerEventType(numbers[i]), numbers[i]);
}

TEST(Messages, SendTellsNoAnswerApartFromAnAnswerOfZero) {
    Answerer target;
    target.answers[SM_ISSKINNED] = 0;
    target.answers[SM_FRAMEQUERY] = SKINFRAME_MAGIC;
    Message asked{SM_ISSKINNED, 0, 0};
    EXPECT_TRUE(sendMessage(&target, asked));
    EXPECT_EQ(asked.result, 0);
    EXPECT_EQ(sendMessage(&target, SM_FRAMEQUERY, 0, SKINFRAME_MAGIC, -7), SKINFRAME_MAGIC);
    EXPECT_EQ(sendMessage(&target, SM_NCREPAINT, 0, 0, -7), -7);
    EXPECT_EQ(sendMessage(nullptr, SM_NCREPAINT, 0, 0, -7), -7);
    ASSERT_EQ(target.seen.size(), 3u);
    EXPECT_EQ(target.seen[1].lParam, SKINFRAME_MAGIC);
}

TEST(Messages, PostedMessagesArriveFromTheEventLoop) {
    Answerer target;
    postMessage(&target, SM_SKININIT, 0, 1000);
    EXPECT_TRUE(target.seen.empty());
    QCoreApplication::sendPostedEvents(&target);
    ASSERT_EQ(target.seen.size(), 1u);
    EXPECT_EQ(target.seen[0].msg, SM_SKININIT);
    EXPECT_EQ(target.seen[0].lParam, 1000);
}

TEST(Messages, QtEventsMapToWindowMessages) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(-3, 40000), QPointF(), Qt::LeftButton,
                      Qt::LeftButton, Qt::ShiftModifier);
    const Message m = messageFromEvent(&press);
    EXPECT_EQ(m.msg, wm::LButtonDown);
    EXPECT_EQ(m.wParam, mk::LButton | mk::Shift);
    EXPECT_EQ(loWordSigned(m.lParam), -3);
    EXPECT_EQ(hiWordSigned(m.lParam), static_cast<qint16>(40000)) << "16 bits cannot hold it";
    EXPECT_EQ(m.event, &press);

    QMouseEvent right(QEvent::MouseButtonDblClick, QPointF(1, 2), QPointF(), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    EXPECT_EQ(messageFromEvent(&right).msg, wm::RButtonDblClk);
    QEvent leave(QEvent::Leave), focus(QEvent::FocusIn), title(QEvent::WindowTitleChange);
    EXPECT_EQ(messageFromEvent(&leave).msg, wm::MouseLeave);
    EXPECT_EQ(messageFromEvent(&focus).msg, wm::SetFocus);
    EXPECT_EQ(messageFromEvent(&title).msg, wm::SetText);
    QEvent unknown(QEvent::ToolTip);
    EXPECT_EQ(messageFromEvent(&unknown).msg, wm::Null);
}

TEST(WindowInfo, ClassNamesComeFromOneTable) {
    QWidget form;
    form.setObjectName(QStringLiteral("TForm3"));
    QPushButton plain, picture;
    picture.setIcon(QIcon(QPixmap(8, 8)));
    QToolButton launcher;
    launcher.setIcon(QIcon(QPixmap(8, 8)));
    QTabWidget pages;
    auto* page = new QWidget;
    pages.addTab(page, QStringLiteral("a"));
    QDateEdit picker;
    QSpinBox spin;
    QFrame panel, line;
    line.setFrameShape(QFrame::HLine);
    QMessageBox box;
    QFileDialog files;
    QMenu menu;
    QCalendarWidget calendar;
    const std::vector<std::pair<QObject*, const char*>> table = {
        {&form, "TForm3"},
        {&plain, "TButton"},
        {&picture, "TBitBtn"},
        {&launcher, "TBitBtn"},
        {&pages, "TPageControl"},
        {page, "TTabSheet"},
        {pages.findChild<QTabBar*>(), "TTabControl"},
        {&picker, "TDateTimePicker"},
        {&spin, "TSpinEdit"},
        {&panel, "TPanel"},
        {&line, "TBevel"},
        {&box, "#32770"},
        {&files, "#32770"},
        {&menu, "#32768"},
        {&calendar, "SysMonthCal32"},
    };
    for (const auto& [object, name] : table)
        EXPECT_EQ(windowClassName(object), QString::fromLatin1(name)) << name;
    QLineEdit edit;
    edit.setProperty("skinClass", QStringLiteral("TRzButtonEdit"));
    EXPECT_EQ(windowClassName(&edit), QStringLiteral("TRzButtonEdit"));
    plain.setProperty("skinClass", QStringLiteral("TBitBtn"));
    EXPECT_EQ(windowClassName(&plain), QStringLiteral("TBitBtn"));
    // A window named like a form is not one unless it is a window.
    QWidget inner(&form);
    inner.setObjectName(QStringLiteral("TForm4"));
    EXPECT_EQ(windowClassName(&inner), QStringLiteral("QWidget"));
}

TEST(WindowInfo, FactsComeFromFlagsAndState) {
    // A record window: caption and close box only, fixed size.
    QWidget window(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint);
    window.setFixedSize(200, 100);
    WindowFacts f = windowFacts(&window);
    EXPECT_TRUE(f.caption && f.systemMenu);
    EXPECT_FALSE(f.minimizeBox || f.maximizeBox || f.thickFrame || f.child || f.popup);
    EXPECT_EQ(f.style & (ws::Caption | ws::SysMenu | ws::ThickFrame), ws::Caption | ws::SysMenu);

    QWidget plain;
    f = windowFacts(&plain);
    EXPECT_TRUE(f.minimizeBox && f.maximizeBox && f.thickFrame);

    auto* memo = new QPlainTextEdit(&window);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setEnabled(false);
    memo->setLayoutDirection(Qt::RightToLeft);
    f = windowFacts(memo);
    EXPECT_TRUE(f.child && f.vScroll && f.disabled && f.rightToLeft);
    EXPECT_FALSE(f.hScroll);
    EXPECT_EQ(f.style & (ws::Child | ws::VScroll | ws::HScroll | ws::Disabled),
              ws::Child | ws::VScroll | ws::Disabled);
    EXPECT_TRUE(f.exStyle & ws::ExLeftScrollBar);

    QMessageBox box;
    box.setProperty("skinStyle", 0x200);
    EXPECT_TRUE(windowFacts(&box).style & 0x200);
    QMenu menu;
    EXPECT_TRUE(windowFacts(&menu).popup);
}
