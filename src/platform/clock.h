#pragma once

#include <QDateTime>
#include <QString>

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
} // namespace regional

} // namespace platform
