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

namespace {

// Reads `least` to `most` decimal digits at `at`, then the separator `then`
// unless it is 0.
std::optional<int> field(QStringView text, qsizetype& at, int least, int most, char16_t then) {
    int value = 0;
    int count = 0;
    while (at < text.size() && count < most && text[at] >= u'0' && text[at] <= u'9') {
        value = value * 10 + (text[at].unicode() - u'0');
        ++at;
        ++count;
    }
    if (count < least)
        return std::nullopt;
    if (then) {
        if (at >= text.size() || text[at] != then)
            return std::nullopt;
        ++at;
    }
    return value;
}

} // namespace

std::optional<DateAndTime> readDateTime(QStringView text) {
    if (text.size() < 14 || text.size() > 19)
        return std::nullopt;
    qsizetype at = 0;
    const auto year = field(text, at, 4, 4, u'-');
    const auto month = year ? field(text, at, 1, 2, u'-') : std::nullopt;
    const auto day = month ? field(text, at, 1, 2, u' ') : std::nullopt;
    const auto hour = day ? field(text, at, 1, 2, u':') : std::nullopt;
    const auto minute = hour ? field(text, at, 2, 2, u':') : std::nullopt;
    const auto second = minute ? field(text, at, 2, 2, 0) : std::nullopt;
    if (!second || at != text.size() || !QDate::isValid(*year, *month, *day) ||
        !QTime::isValid(*hour, *minute, *second))
        return std::nullopt;
    return DateAndTime{QDate(*year, *month, *day), QTime(*hour, *minute, *second)};
}

} // namespace regional

} // namespace platform
