#include "skin/engine/form_window.h"

#include "skin/data/skin_data.h"
#include "skin/engine/control_traversal.h"
#include "skin/engine/skin_control.h"
#include "skin/engine/skin_manager.h"

#include <QWidget>

namespace skin {

TWinSkinForm::TWinSkinForm(QObject* owner) : QObject(owner) {
    registerSkinMessages();
}

TWinSkinForm::~TWinSkinForm() {
    if (mWindow)
        mWindow->removeEventFilter(this);
    if (TSkinManage* manager = TSkinManage::instance())
        manager->ForgetForm(this);
}

void TWinSkinForm::setWindow(QWidget* window, int module, const QString& className) {
    mWindow = window;
    mModule = module;
    mClassName = className;
    if (!window)
        return;
    window->installEventFilter(this);
    connect(window, &QObject::destroyed, this, [this] {
        // The window is gone: release, then closed; the manager frees us.
        FrameState = StateDestroying;
        for (const QPointer<TSkinControl>& object : mSkinObjects) {
            if (object)
                object->SkinState = 6;
        }
        FrameState = StateClosed;
    });
}

void TWinSkinForm::SetupFrameworkForm(TSkinData* skinData, QWidget* form) {
    mSkinData = skinData;
    mForm = form;
    mSetup = SetupKind::FrameworkForm;
    if (TSkinManage* manager = TSkinManage::instance())
        manager->markStarted();
}

void TWinSkinForm::SetupBareWindow(TSkinData* skinData) {
    mSkinData = skinData;
    mSetup = SetupKind::BareWindow;
    if (TSkinManage* manager = TSkinManage::instance())
        manager->markStarted();
}

bool TWinSkinForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != mWindow || FrameState == StateClosed)
        return false;
    Message* m = skinMessageOf(event);
    if (!m)
        return false;
    switch (m->msg) {
    case SM_ISSKINNED:
        answer(*m, 1);
        return true;
    case SM_SKININIT: {
        QPointer<TWinSkinForm> self(this);
        finishSetup();
        if (self)
            answer(*m, 0);
        return true;
    }
    default:
        return false;
    }
}

void TWinSkinForm::finishSetup() {
    freeReleasedObjects();
    // The program's OnSkinControl may run a request that frees this form.
    QPointer<TWinSkinForm> self(this);
    if (mSetup == SetupKind::FrameworkForm)
        SkinFormControls(*this);
    else if (mSetup == SetupKind::BareWindow)
        SkinBareWindowControls(*this);
    if (!self)
        return;
    if (FrameState == StateNew)
        FrameState = StateSkinned;
}

void TWinSkinForm::Unskin() {
    for (const QPointer<TSkinControl>& object : QList<QPointer<TSkinControl>>(mSkinObjects)) {
        if (!object)
            continue;
        if (object->SkinState != 6)
            object->Unskin();
        object->deleteLater();
    }
    mSkinObjects.clear();
    mDecided.clear();
    if (mWindow)
        mWindow->removeEventFilter(this);
}

void TWinSkinForm::RefreshSkinObjects() {
    ++captionButtonRebuilds;
    ++geometryReads;
}

void TWinSkinForm::Repaint() {
    if (mWindow)
        mWindow->update();
}

void TWinSkinForm::addSkinObject(TSkinControl* object) {
    if (object && !mSkinObjects.contains(object))
        mSkinObjects.append(object);
}

void TWinSkinForm::removeSkinObject(TSkinControl* object) {
    for (qsizetype i = mSkinObjects.size() - 1; i >= 0; --i) {
        if (mSkinObjects[i] == object) {
            mSkinObjects.removeAt(i);
            return;
        }
    }
}

TSkinControl* TWinSkinForm::skinObjectFor(const QWidget* control) const {
    for (const QPointer<TSkinControl>& object : mSkinObjects) {
        if (object && object->Handle == control)
            return object;
    }
    return nullptr;
}

void TWinSkinForm::freeReleasedObjects() {
    for (const QPointer<TSkinControl>& object : QList<QPointer<TSkinControl>>(mSkinObjects)) {
        if (object && object->SkinState == 6) {
            removeSkinObject(object);
            object->deleteLater();
        }
    }
    mSkinObjects.removeAll(nullptr);
}

const TWinSkinForm::DecidedControl* TWinSkinForm::decisionFor(const QWidget* control) const {
    for (const DecidedControl& d : mDecided) {
        if (d.control == control)
            return &d;
    }
    return nullptr;
}

void TWinSkinForm::recordDecision(QWidget* control, const ControlDecision& decision, bool built) {
    mDecided.push_back({control, decision, built});
}

} // namespace skin
