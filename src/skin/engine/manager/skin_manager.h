#pragma once

#include "skin/data/skin_manager_link.h"
#include "skin/engine/manager/control_rules.h"
#include "skin/engine/menus/popup_menus.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class QMenu;
class QSizeGrip;

namespace skin {

class TSkinData;
class TWinSkinForm;

// The one skin manager of the process: it watches the windows of the program
// (an application-wide event filter plays the thread's window hook), decides
// which windows get a skinned frame and with which skin data, carries out the
// skin data components' start, stop and re-skin requests after their delay,
// and keeps the list of skinned windows.
class TSkinManage : public QObject, public TSkinManagerLink {
    Q_OBJECT
public:
    // Requests beyond those of the skin data: the second purge and the
    // re-skin of one window.
    enum { RequestPurgeAll = 6, RequestReskinWindow = 7 };

    explicit TSkinManage(bool moduleManager = false);
    ~TSkinManage() override;

    // The program's manager, when the installed one is a TSkinManage.
    static TSkinManage* instance();

    // ---- TSkinManagerLink
    void registerSkinData(TSkinData* data) override;
    void unregisterSkinData(TSkinData* data) override;
    void installHook() override;
    void setCurrentSkinData(TSkinData* data) override { CurrentSkinData = data; }
    void sendRequest(int request, int delayMs) override { Request(request, delayMs); }
    void markStarted() override;
    bool started() const override { return Started != 0; }
    void startForForm() override;
    void skinForm(QWidget* form) override { SkinWindow(form); }
    void refreshForms(TSkinData* data) override;

    // ---- the manager's operations
    void Request(int code, int delayMs);
    bool SkinWindow(QWidget* p);
    bool SkinForm(QWidget* form);
    TWinSkinForm* FindSkinForm(const QWidget* window) const;
    void ForgetForm(TWinSkinForm* form);
    // Drops entries that can no longer be read and frees the closed ones of
    // this manager's module; PurgeAll frees every closed one.
    void Purge();
    void PurgeAll();
    // Popup menus: a menu about to show is wrapped when its skin data wants
    // it (the answer is always false); a menu that hides or goes is unwrapped.
    bool WrapPopupMenu(QMenu* menu);
    // A menu being destroyed (`menuGone`) is not touched.
    bool UnwrapPopupMenu(QMenu* menu, bool menuGone = false);
    bool IsWrapped(const QMenu* menu) const;
    // The cached background of the wrapper that draws the menu.
    QImage PopupBackground(const QMenu* menu) const;
    // The request handler runs in the event loop; tests call it at once.

    void RequestTimer();

    // ---- state
    QTimer requestTimer;
    QList<QPointer<TWinSkinForm>> SkinForms;
    QList<QPointer<TWinSkinPopMenu>> PopupMenus;
    QList<QPointer<TSkinData>> SkinDatas;
    QList<int> ExtraHooks;             // nothing adds one
    QList<TSkinManage*> ChildManagers; // nothing attaches one
    bool SkinningOn = false;
    bool Bulk = false;
    qint32 Started = 0;
    qint32 MenuMode = 0;
    bool PopupMark = false;
    bool MDIMaximized = false;
    qint32 PendingRequest = 0;
    QPointer<TSkinData> CurrentSkinData;
    QPointer<TSkinData> MainSkinData;
    int Module = 0;
    QPointer<QWidget> Request7Window;
    TSkinManage* ParentManager = nullptr;

    bool hookInstalled() const { return mHookInstalled; }
    // Why the last Skin window left its window alone (or Accepted).
    SkinWindowDecision lastDecision() const { return mLastDecision; }
    // The program's forms, last made last; the tests give their own.
    std::function<QList<QWidget*>()> applicationForms;

    // Makes the program start with this manager in place: the skin data's
    // first Loaded creates a TSkinManage.
    static void installAsFactory();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activated(QWidget* window);
    void menuSeen(QMenu* menu);
    void sizeGripMade(QSizeGrip* grip);
    QList<TSkinData*> registeredSkinData() const;
    void unskinAndFree(TWinSkinForm* form);
    void purge(bool everyModule);
    std::vector<SkinDataFacts> skinDataFacts(const QWidget* p) const;

    bool mHookInstalled = false;
    SkinWindowDecision mLastDecision;
};

} // namespace skin
