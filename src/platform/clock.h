#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

namespace platform {

// The program's one clock. Normally the system clock; tests and the driver
// pin it to a fixed local time with its offset from UTC, and then it stands
// still until it is pinned again or released.
class Clock {
public:
    static QDateTime nowLocal();
    static QDateTime nowUtc();

    static void pin(const QDateTime& local, int utcOffsetSeconds);
    static void release();
    static bool pinned();
};

// The regional formats the program writes dates and times in: the short date
// year-month-day and the long time hour:minute:second, month, day and hour
// without leading zeros (2010-3-5 9:05:07). The database writes its 时间
// column in the same form.
namespace regional {
QString shortDate(const QDate& date);
QString longTime(const QTime& time);
// Date, one blank, time: the text of the main window's clock.
QString dateTimeText(const QDateTime& dateTime);

// The date and time a text in this form names, leading zeros allowed
// (2010-3-5 9:05:07, 2010-03-05 09:05:07): a four-digit year; month, day and
// hour of one or two digits; minute and second of two. Nothing when the text
// has another form or names no real day or time. Read by hand: this runs for
// every cell of an export, and a format string parsed per call costs more
// than the rest of the cell.
struct DateAndTime {
    QDate date;
    QTime time;
};
std::optional<DateAndTime> readDateTime(QStringView text);
} // namespace regional

} // namespace platform
