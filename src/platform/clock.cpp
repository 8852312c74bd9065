#include "platform/clock.h"

#include <QTimeZone>

#include <optional>

namespace platform {

namespace {

struct PinnedTime {
    QDateTime local;
    int offsetSeconds = 0;
};

std::optional<PinnedTime>& pinnedTime() {
    static std::optional<PinnedTime> instance;
    return instance;
}

} // namespace

QDateTime Clock::nowLocal() {
    if (pinnedTime())
        return pinnedTime()->local;
    return QDateTime::currentDateTime();
}

QDateTime Clock::nowUtc() {
    if (pinnedTime()) {
        const PinnedTime& pinned = *pinnedTime();
        QDateTime wall(pinned.local.date(), pinned.local.time(), Qt::UTC);
        return wall.addSecs(-pinned.offsetSeconds);
    }
    return QDateTime::currentDateTimeUtc();
}

void Clock::pin(const QDateTime& local, int utcOffsetSeconds) {
    pinnedTime() = PinnedTime{local, utcOffsetSeconds};
}

void Clock::release() {
    pinnedTime().reset();
}

bool Clock::pinned() {
    return pinnedTime().has_value();
}

namespace regional {

QString shortDate(const QDate& date) {
    return QStringLiteral("%1-%2-%3").arg(date.year()).arg(date.month()).arg(date.day());
}

QString longTime(const QTime& time) {
    return QStringLiteral("%1:%2:%3")
        .arg(time.hour())
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

QString dateTimeText(const QDateTime& dateTime) {
    return shortDate(dateTime.date()) + QLatin1Char(' ') + longTime(dateTime.time());
}

} // namespace regional

} // namespace platform
