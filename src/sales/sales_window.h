#pragma once

#include "records/record_window.h"
#include "sales/amounts.h"
#include "sales/periods.h"

#include <exception>

class QAction;
class QDateEdit;
class QLineEdit;
class QStringListModel;

namespace sales {

class TrendPage;

// The sales window TForm2: the record window of the sales with navigation
// buttons, a date picker feeding the date text, the period totals 查看,
// 年销售, 月销售 and 日销售, the trend page, and the menus 辅 助 (export) and
// 工 具 (calculator, calendar).
class SalesWindow : public records::RecordWindow {
    Q_OBJECT
public:
    explicit SalesWindow(QWidget* parent = nullptr);

    // The export items of the menu 辅 助; whoever writes the export connects
    // to them.
    QAction* excelAction() const { return mExcel; }
    QAction* wordAction() const { return mWord; }

    TrendPage* trendPage() const { return mTrend; }

    // The period buttons.
    void showDateText();            // 查看: the rows whose 时间 contains EditDate's text
    void showPeriod(Period period); // 年销售, 月销售, 日销售: the current local period
    void runTrend();                // 查看年度营业趋势: the twelve months of YearE
    void runMonthQuery();           // one month: the text of MonthE
    void runTrendMonth(int month);  // MonthE set to the month (its query runs); a failure rethrown

    // Writes the picker's date into EditDate.
    void writeDateText();

signals:
    void calendarRequested();

protected:
    void beforeCreation() override;
    std::optional<QString> refusedEntries() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildListPageRow();
    void buildMenus();
    void showCount();
    // Clears the working list and the boxes a refresh clears, opens the
    // period's rows and sums their amounts into the list.
    AmountSum periodTotal(const std::string& sql, QStringListModel* list);
    [[noreturn]] void failTotal(const AmountSum& sum);
    QStringListModel* workingList(Period period) const;
    void updateChart();

    TrendPage* mTrend = nullptr;
    QDateEdit* mPicker = nullptr;
    QLineEdit* mDateText = nullptr;
    QAction* mExcel = nullptr;
    QAction* mWord = nullptr;
    bool mTrendRunning = false;
    std::exception_ptr mMonthFailure;
};

} // namespace sales
