#pragma once

#include <QColor>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSpinBox;
class QStringListModel;

namespace sales {

// A filled rectangle with a thin black border.
class Shape : public QWidget {
    Q_OBJECT
public:
    Shape(const QColor& fill, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor mFill;
};

// The page 业绩趋势图 of the sales window: twelve month totals MT1..MT12 with
// their red bars Shape1..Shape12 on the white frame Shape13, the year YearE,
// the run button Button5, the year label LabelYYE, the hidden month MonthE and
// button Button4, and the hidden working lists allyear, allmonth and allDAY.
class TrendPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int BarLeft = 141;
    static constexpr int BarHeight = 16;
    static constexpr int StartWidth = 13;
    static constexpr std::array<int, 12> BarTops = {20,  41,  63,  85,  108, 130,
                                                    152, 174, 196, 219, 240, 262};

    explicit TrendPage(QWidget* parent = nullptr);

    QLineEdit* monthTotal(int month) const { return mMonthTotals[month - 1]; } // 1..12
    QWidget* bar(int month) const { return mBars[month - 1]; }
    void setBarWidth(int month, int width);
    QSpinBox* yearBox() const { return mYear; }
    QLineEdit* monthBox() const { return mMonth; }
    QPushButton* runButton() const { return mRun; }
    QPushButton* monthButton() const { return mMonthButton; }
    QLabel* yearLabel() const { return mYearLabel; }

    QStringListModel* yearList() const { return mYearList; }
    QStringListModel* monthList() const { return mMonthList; }
    QStringListModel* dayList() const { return mDayList; }

private:
    QStringListModel* addWorkingList(const QString& name, const QString& caption, int left);

    std::array<QLineEdit*, 12> mMonthTotals{};
    std::array<Shape*, 12> mBars{};
    QSpinBox* mYear = nullptr;
    QLineEdit* mMonth = nullptr;
    QPushButton* mRun = nullptr;
    QPushButton* mMonthButton = nullptr;
    QLabel* mYearLabel = nullptr;
    QStringListModel* mYearList = nullptr;
    QStringListModel* mMonthList = nullptr;
    QStringListModel* mDayList = nullptr;
};

} // namespace sales
