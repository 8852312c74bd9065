#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace skin {

// Keeps an object's deferred delete while one of its handlers is on the
// stack: a modal box opened from a handler runs the event loop, which would
// otherwise free the object under its own feet. The object's event() asks
// holds() first; each handler runs inside a HandlerScope.
class DeleteHold {
public:
    // True (the event is taken) for a deferred delete that must wait.
    bool holds(const QEvent* event) {
        if (event->type() != QEvent::DeferredDelete || mDepth == 0)
            return false;
        mWaiting = true;
        return true;
    }

private:
    friend class HandlerScope;
    int mDepth = 0;
    bool mWaiting = false;
};

class HandlerScope {
public:
    HandlerScope(DeleteHold& hold, QObject* object) : mHold(hold), mObject(object) {
        ++mHold.mDepth;
    }
    ~HandlerScope() {
        if (--mHold.mDepth == 0 && mHold.mWaiting) {
            mHold.mWaiting = false;
            QCoreApplication::postEvent(mObject, new QDeferredDeleteEvent);
        }
    }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

private:
    DeleteHold& mHold;
    QObject* mObject;
};

} // namespace skin
