#pragma once

// When a started program is ready for its user, watched from inside it by
// bench_startup's programs: the window's first picture, then the window
// active (its caption drawn active: a picture after the activation), then an
// input event posted to the window and answered. At that moment the watch
// prints its steps and the memory resident in the process and its children,
// says "interactive" and ends the process.

#include "process_clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>

namespace bench {

// Resident kilobytes of a process from /proc.
inline long residentKb(const QString& pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// This process and every process it started (the web engine's helpers).
inline long residentWithChildrenKb() {
    const QString self = QString::number(QCoreApplication::applicationPid());
    long total = residentKb(self);
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> rest = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (rest.size() > 1 && rest[1] == self.toLatin1())
            total += residentKb(pid);
    }
    return total;
}

class InteractiveWatch : public QObject {
public:
    // `isWindow` picks the window watched; `frameReady` says whether a paint
    // of it shows the whole window (the skinned frame drawn).
    InteractiveWatch(std::function<bool(QObject*)> isWindow,
                     std::function<bool(QWidget*)> frameReady, std::map<std::string, double>& steps)
        : mIsWindow(std::move(isWindow)), mFrameReady(std::move(frameReady)), mSteps(steps) {}

    static constexpr QEvent::Type Probe = static_cast<QEvent::Type>(QEvent::User + 917);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType() || !mIsWindow(watched))
            return false;
        auto* window = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::Paint:
            if (!mFrameReady(window))
                return false;
            // The picture is done once the paint event has run.
            static_cast<QObject*>(window)->event(event);
            if (!mSteps.count("first picture"))
                mSteps["first picture"] = now();
            if (window->isActiveWindow() && !mActivePicture) {
                mActivePicture = true;
                mSteps["active caption drawn"] = now();
                QCoreApplication::postEvent(window, new QEvent(Probe));
            }
            return true;
        case QEvent::WindowActivate:
            if (!mSteps.count("window active"))
                mSteps["window active"] = now();
            // A window whose look does not change when active is drawn again
            // all the same: the next picture is the one the user sees active.
            window->update();
            return false;
        default:
            break;
        }
        if (event->type() == Probe) {
            mSteps["input answered"] = now();
            for (const auto& [name, at] : mSteps)
                process_clock::printStep(name.c_str(), at);
            std::printf("rss %ld\n", residentWithChildrenKb());
            std::puts("interactive");
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }

private:
    static double now() { return process_clock::sinceSpawn(process_clock::nowNs()); }

    std::function<bool(QObject*)> mIsWindow;
    std::function<bool(QWidget*)> mFrameReady;
    std::map<std::string, double>& mSteps;
    bool mActivePicture = false;
};

} // namespace bench
