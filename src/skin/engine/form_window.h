#pragma once

#include "skin/engine/control_rules.h"
#include "skin/engine/message.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

namespace skin {

class TSkinControl;
class TSkinData;

// One skinned window. This is the part the skin manager and the control
// kinds rely on: the window, its skin data, the frame state, the set-up it was
// given, the list of its skin objects and the control kinds decided for it.
// The frame itself (borders, caption, buttons, menu bar) is drawn by the form
// frame built on top of this.
class TWinSkinForm : public QObject {
    Q_OBJECT
public:
    // Frame states.
    enum {
        StateNew = 0,
        StateSkinned = 1,
        StateReskinning = 3,
        StateDestroying = 4,
        StateResizing = 5,
        StateClosed = 6
    };
    enum class SetupKind { None, FrameworkForm, BareWindow };

    // `owner` is the framework form, or null for a bare window (the manager
    // frees it then).
    explicit TWinSkinForm(QObject* owner);
    ~TWinSkinForm() override;

    // Told by the manager before the set-up.
    void setWindow(QWidget* window, int module, const QString& className);
    void SetupFrameworkForm(TSkinData* skinData, QWidget* form);
    void SetupBareWindow(TSkinData* skinData);

    QWidget* window() const { return mWindow; }
    QWidget* form() const { return mForm; }
    TSkinData* skinData() const { return mSkinData; }
    const QString& className() const { return mClassName; }
    int module() const { return mModule; }
    SetupKind setupKind() const { return mSetup; }
    int FrameState = StateNew;
    // How many times each manager action reached this form (for the record).
    int captionButtonRebuilds = 0;
    int geometryReads = 0;
    // The size grip made on the window while it was skinned; the frame
    // takes it over.
    QPointer<QWidget> SizeGrip;

    // Gives the window back: the skin objects are unskinned and freed, the
    // window answers no more.
    void Unskin();
    // The manager's requests 3: caption buttons and geometry again, repaint.
    void RefreshSkinObjects();
    void Repaint();

    // ---- the skin objects
    const QList<QPointer<TSkinControl>>& skinObjects() const { return mSkinObjects; }
    void addSkinObject(TSkinControl* object);
    void removeSkinObject(TSkinControl* object);
    TSkinControl* skinObjectFor(const QWidget* control) const;
    // Frees the objects whose window was destroyed (SkinState 6).
    void freeReleasedObjects();

    // ---- the control kinds decided for this form
    struct DecidedControl {
        QPointer<QWidget> control;
        ControlDecision decision;
        bool built = false; // a skin object of that kind was made
    };
    const std::vector<DecidedControl>& decided() const { return mDecided; }
    const DecidedControl* decisionFor(const QWidget* control) const;
    void recordDecision(QWidget* control, const ControlDecision& decision, bool built);

    // Finishes the set-up (SM_SKININIT): the controls get their kinds.
    void finishSetup();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> mWindow;
    QPointer<QWidget> mForm;
    QPointer<TSkinData> mSkinData;
    QString mClassName;
    int mModule = 0;
    SetupKind mSetup = SetupKind::None;
    QList<QPointer<TSkinControl>> mSkinObjects;
    std::vector<DecidedControl> mDecided;
};

} // namespace skin
