#include "sales/trend_page.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStringListModel>

#include <limits>

namespace sales {

namespace {

const char* const MonthCaptions[12] = {"一月份", "二月份", "三月份",   "四月份",
                                       "五月份", "六月份", "七月份",   "八月份",
                                       "九月份", "十月份", "十一月份", "十二月份"};

} // namespace

Shape::Shape(const QColor& fill, QWidget* parent) : QWidget(parent), mFill(fill) {}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), mFill);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

TrendPage::TrendPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet2"));

    // One group box holds the chart and, below it, the year and the run.
    auto* chart = new QGroupBox(this);
    chart->setObjectName(QStringLiteral("GroupBox1"));
    chart->setGeometry(8, 6, 623, 330);

    auto* background = new Shape(Qt::white, chart);
    background->setObjectName(QStringLiteral("Shape13"));
    background->setGeometry(4, 9, 613, 281);

    for (int k = 0; k < 12; ++k) {
        const int top = BarTops[static_cast<std::size_t>(k)];
        auto* caption = new QLabel(QString::fromUtf8(MonthCaptions[k]), chart);
        caption->setObjectName(QStringLiteral("Label%1").arg(6 + k));
        caption->setGeometry(5, top - 1, 55, 18);
        auto* total = new QLineEdit(chart);
        total->setObjectName(QStringLiteral("MT%1").arg(k + 1));
        total->setGeometry(60, top - 2, 60, 20);
        auto* unit = new QLabel(QStringLiteral("元"), chart);
        unit->setGeometry(123, top - 1, 16, 18);
        auto* bar = new Shape(Qt::red, chart);
        bar->setObjectName(QStringLiteral("Shape%1").arg(k + 1));
        bar->setGeometry(BarLeft, top, StartWidth, BarHeight);
        mMonthTotals[static_cast<std::size_t>(k)] = total;
        mBars[static_cast<std::size_t>(k)] = bar;
    }

    // Below the chart: the year (any whole number), the run and the year total.
    const int row = 298;
    mYear = new QSpinBox(chart);
    mYear->setObjectName(QStringLiteral("YearE"));
    mYear->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    mYear->setSingleStep(1);
    mYear->setGeometry(6, row, 81, 24);
    auto* yearUnit = new QLabel(QStringLiteral("年"), chart);
    yearUnit->setObjectName(QStringLiteral("Label5"));
    yearUnit->setGeometry(92, row + 3, 16, 18);
    mRun = new QPushButton(QStringLiteral("查看年度营业趋势"), chart);
    mRun->setObjectName(QStringLiteral("Button5"));
    mRun->setGeometry(116, row, 140, 25);
    mYearLabel = new QLabel(QStringLiteral("..."), chart);
    mYearLabel->setObjectName(QStringLiteral("LabelYYE"));
    mYearLabel->setTextFormat(Qt::PlainText);
    mYearLabel->setGeometry(270, row + 3, 345, 18);

    mMonth = new QLineEdit(chart);
    mMonth->setObjectName(QStringLiteral("MonthE"));
    mMonth->setGeometry(6, row, 40, 21);
    mMonth->hide();
    mMonthButton = new QPushButton(QStringLiteral("按月获取业绩"), chart);
    mMonthButton->setObjectName(QStringLiteral("Button4"));
    mMonthButton->setGeometry(54, row, 100, 25);
    mMonthButton->hide();

    mYearList = addWorkingList(QStringLiteral("allyear"), QStringLiteral("本年度营业额"), 12);
    mMonthList = addWorkingList(QStringLiteral("allmonth"), QStringLiteral("本月营业额"), 220);
    mDayList = addWorkingList(QStringLiteral("allDAY"), QStringLiteral("今日营业额"), 428);
}

QStringListModel* TrendPage::addWorkingList(const QString& name, const QString& caption, int left) {
    // Never shown: the amounts of the last run that used the list.
    auto* group = new QGroupBox(caption, this);
    group->setGeometry(left, 350, 200, 100);
    group->hide();
    auto* model = new QStringListModel(group);
    auto* view = new QListView(group);
    view->setObjectName(name);
    view->setUniformItemSizes(true);
    view->setGeometry(8, 20, 184, 72);
    view->setModel(model);
    return model;
}

void TrendPage::setBarWidth(int month, int width) {
    bar(month)->resize(width, BarHeight);
}

} // namespace sales
