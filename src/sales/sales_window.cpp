#include "sales/sales_window.h"

#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "records/entry_boxes.h"
#include "records/module_descriptor.h"
#include "sales/amounts.h"
#include "sales/trend_page.h"

#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QStringListModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <functional>
#include <stdexcept>

namespace sales {

namespace {

// Widths of the first five columns of a period view; the sixth keeps its own.
const std::vector<int> PeriodColumnWidths = {50, 100, 60, 100, 280};

QPushButton* makeButton(const QString& name, const QString& caption, const QString& hint = {}) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setToolTip(hint);
    return button;
}

// Runs an action on each click, showing its errors in the standard error box.
void onClick(QPushButton* button, QObject* context, std::function<void()> action) {
    QObject::connect(button, &QPushButton::clicked, context,
                     [action = std::move(action)] { platform::runGuardedByErrorBox(action); });
}

} // namespace

SalesWindow::SalesWindow(QWidget* parent) : RecordWindow(records::salesDescriptor(), parent) {
    for (const QString& name :
         {QStringLiteral("Add"), QStringLiteral("Button10"), QStringLiteral("Del")}) {
        if (QPushButton* b = button(name))
            b->setToolTip(b->text());
    }
    buildListPageRow();
    mTrend = new TrendPage;
    pages()->addTab(mTrend, QStringLiteral("业绩趋势图"));
    buildMenus();

    onClick(mTrend->runButton(), this, [this] { runTrend(); });
    onClick(mTrend->monthButton(), this, [this] { runMonthQuery(); });
    connect(mTrend->monthBox(), &QLineEdit::textChanged, this, [this] {
        // During a run the failure ends the run; otherwise it is shown here.
        if (!mTrendRunning) {
            platform::runGuardedByErrorBox([this] { runMonthQuery(); });
            return;
        }
        try {
            runMonthQuery();
        } catch (...) {
            mMonthFailure = std::current_exception();
        }
    });
}

void SalesWindow::buildListPageRow() {
    auto* row = new QHBoxLayout;
    const struct {
        const char* name;
        const char* caption;
        const char* hint;
        void (platform::AdoQuery::*move)();
    } moves[] = {{"ButtonFrist", "≮", "第一条", &platform::AdoQuery::first},
                 {"Button8", "<", "上一条", &platform::AdoQuery::prior},
                 {"Button9", ">", "下一条", &platform::AdoQuery::next},
                 {"Button7", "≯", "最后一条", &platform::AdoQuery::last}};
    for (const auto& move : moves) {
        QPushButton* b = makeButton(QString::fromUtf8(move.name), QString::fromUtf8(move.caption),
                                    QString::fromUtf8(move.hint));
        b->setFixedWidth(28);
        row->addWidget(b);
        // Moving the cursor loads nothing into the boxes.
        onClick(b, this, [this, m = move.move] { (query().*m)(); });
    }
    row->addSpacing(12);

    mPicker = new QDateEdit;
    mPicker->setObjectName(QStringLiteral("DateTimePicker1"));
    mPicker->setCalendarPopup(true);
    mPicker->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    row->addWidget(mPicker);
    mDateText = records::makeLineBox(QStringLiteral("EditDate"));
    mDateText->setFixedWidth(90);
    mDateText->installEventFilter(this);
    row->addWidget(mDateText);

    QPushButton* look = makeButton(QStringLiteral("Button1"), QStringLiteral("查看"));
    row->addWidget(look);
    onClick(look, this, [this] { showDateText(); });
    const struct {
        const char* name;
        const char* caption;
        Period period;
    } periods[] = {{"Button2", "年销售", Period::Year},
                   {"Button3", "月销售", Period::Month},
                   {"Buttontoday", "日销售", Period::Day}};
    for (const auto& period : periods) {
        QPushButton* b =
            makeButton(QString::fromUtf8(period.name), QString::fromUtf8(period.caption));
        row->addWidget(b);
        onClick(b, this, [this, p = period.period] { showPeriod(p); });
    }
    row->addStretch(1);
    listPageLayout()->insertLayout(listPageLayout()->indexOf(grid()), row);
}

void SalesWindow::buildMenus() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* helpers = bar->addMenu(QStringLiteral(" 辅 助 "));
    mExcel = helpers->addAction(QStringLiteral("导出Excel文件"));
    mExcel->setObjectName(QStringLiteral("Excel1"));
    mWord = helpers->addAction(QStringLiteral("导出Word文件"));
    mWord->setObjectName(QStringLiteral("Word1"));
    QMenu* tools = bar->addMenu(QStringLiteral(" 工 具 "));
    connect(tools->addAction(QStringLiteral("计算器")), &QAction::triggered, this,
            [] { platform::startCalculator(); });
    connect(tools->addAction(QStringLiteral("万年历")), &QAction::triggered, this,
            [this] { emit calendarRequested(); });
    layout()->setMenuBar(bar);
}

void SalesWindow::beforeCreation() {
    // Today's local date in the picker (EditDate stays empty) and this year
    // on the trend page.
    const QDate today = platform::Clock::nowLocal().date();
    mPicker->setDate(today);
    mTrend->yearBox()->setValue(today.year());
    connect(mPicker, &QDateEdit::dateChanged, this, &SalesWindow::writeDateText);
}

// An amount that no total could read is never stored.
std::optional<QString> SalesWindow::refusedEntries() const {
    return amountEntryProblem(boxText(QStringLiteral("JinEr")));
}

bool SalesWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mDateText && event->type() == QEvent::MouseButtonDblClick)
        writeDateText();
    return RecordWindow::eventFilter(watched, event);
}

void SalesWindow::writeDateText() {
    mDateText->setText(platform::regional::shortDate(mPicker->date()));
}

// ---------------------------------------------------------------- periods

// The status a refresh leaves: the count of all sales. A period's rows
// replace the full list at once, so the list itself is never read, and the
// count is only asked for where it stays in view.
void SalesWindow::showCount() {
    platform::AdoQuery count(connection());
    count.setSql("select count(*) from data");
    count.open();
    const records::ModuleDescriptor& d = descriptor();
    setStatusText(
        records::countText(d.countPrefix, std::stoi(std::string(count.field(0))), d.countSuffix));
}

QStringListModel* SalesWindow::workingList(Period period) const {
    switch (period) {
    case Period::Year:
        return mTrend->yearList();
    case Period::Month:
        return mTrend->monthList();
    case Period::Day:
        return mTrend->dayList();
    }
    return nullptr;
}

AmountSum SalesWindow::periodTotal(const std::string& sql, QStringListModel* list) {
    list->setStringList({});
    query().close();
    clearBoxes(descriptor().refreshClears);
    query().setSql(sql);
    query().open();
    const std::vector<RowAmount> amounts = collectAmounts(query());
    list->setStringList(amountTexts(amounts));
    return sumAmounts(amounts);
}

// A total that could not be computed is never shown as one: the panel and
// the error box both say why.
void SalesWindow::failTotal(const AmountSum& sum) {
    setStatusText(sum.error);
    throw std::runtime_error(sum.error.toStdString());
}

void SalesWindow::showDateText() {
    const QString text = mDateText->text();
    if (text.isEmpty()) {
        platform::showMessage(QStringLiteral("请选择时间段"));
        return;
    }
    const AmountSum sum = periodTotal(dateTextQuery(text), mTrend->dayList());
    if (sum.failed())
        failTotal(sum);
    setColumnWidths(PeriodColumnWidths);
    // The cursor stays past the last row.
    setStatusText(dateTextStatus(text, sum.total, query().recordCount()));
}

void SalesWindow::showPeriod(Period period) {
    const QDate today = platform::Clock::nowLocal().date();
    QStringListModel* list = workingList(period);
    const AmountSum sum = periodTotal(periodQuery(period, today), list);
    if (sum.failed())
        failTotal(sum);
    // An empty list leaves the count text of a refresh.
    if (list->stringList().isEmpty())
        showCount();
    else
        setStatusText(periodStatus(period, today, sum.total));
    setColumnWidths(PeriodColumnWidths);
    query().first();
}

// ---------------------------------------------------------------- trend

void SalesWindow::runTrend() {
    const QScopedValueRollback running(mTrendRunning, true);
    mMonthFailure = nullptr;
    // One pass over the year's rows totals every month. The months before
    // the last one, or before the first that cannot be summed, take their
    // totals at once; that month then runs its own query as the page always
    // does, so the list, the status, the month's working list and the failure
    // end as after the twelve month queries.
    const QString year = mTrend->yearBox()->text();
    if (const std::optional<std::string> scan = yearScanQuery(year)) {
        query().setSql(*scan);
        const std::array<AmountSum, 12> sums =
            sumMonths(query(), static_cast<std::size_t>((year + u'-').toUtf8().size()));
        int last = 1;
        while (last < 12 && !sums[last - 1].failed())
            ++last;
        for (int k = 1; k < last; ++k)
            mTrend->monthTotal(k)->setText(QString::number(sums[k - 1].total));
        updateChart();
        runTrendMonth(last);
        return;
    }
    // A year with a wildcard in it: the twelve month queries themselves.
    for (int month = 1; month <= 12; ++month)
        runTrendMonth(month);
}

void SalesWindow::runTrendMonth(int month) {
    // Each new text of MonthE runs that month's query. A run that failed may
    // have left this month's text there already: it runs all the same.
    QLineEdit* monthBox = mTrend->monthBox();
    const QString text = QString::number(month);
    if (monthBox->text() == text)
        runMonthQuery();
    else
        monthBox->setText(text);
    if (mMonthFailure)
        std::rethrow_exception(std::exchange(mMonthFailure, nullptr));
}

void SalesWindow::runMonthQuery() {
    const QString month = mTrend->monthBox()->text();
    const AmountSum sum =
        periodTotal(monthQuery(mTrend->yearBox()->text(), month), mTrend->monthList());
    showCount();
    // The run stops here: the months before keep their new totals.
    if (sum.failed())
        throw std::runtime_error(sum.error.toStdString());
    for (int k = 1; k <= 12; ++k) {
        if (month == QString::number(k))
            mTrend->monthTotal(k)->setText(QString::number(sum.total));
    }
    updateChart();
}

// The chart follows the twelve month totals; while one of them is not a
// whole number, or the average month is 0, it keeps what it showed.
void SalesWindow::updateChart() {
    QStringList totals;
    for (int k = 1; k <= 12; ++k)
        totals << mTrend->monthTotal(k)->text();
    const auto chart = chartOf(totals);
    if (!chart)
        return;
    mTrend->yearLabel()->setText(yearLabel(mTrend->yearBox()->text(), chart->yearTotal));
    if (!chart->widths)
        return;
    for (int k = 1; k <= 12; ++k)
        mTrend->setBarWidth(k, (*chart->widths)[static_cast<std::size_t>(k - 1)]);
}

} // namespace sales
