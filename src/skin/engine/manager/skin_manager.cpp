#include "skin/engine/manager/skin_manager.h"

#include "skin/data/skin_data.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/control_kinds.h"
#include "skin/engine/manager/message.h"
#include "skin/engine/manager/window_info.h"
#include "skin/engine/menus/popup_menus.h"

#include <QApplication>
#include <QMenu>
#include <QSizeGrip>
#include <QWidget>

namespace skin {

namespace {

// Set when the program's manager is gone: a late event only passes on.
bool hookOff = false;

// Windows the hook offers: top-levels of the window and dialog kinds; popups,
// tool tips and the caption hint are never forms.
bool isOfferedWindow(const QWidget* w) {
    if (!w->isWindow())
        return false;
    const Qt::WindowType type = w->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet;
}

bool isFrameworkForm(const QWidget* w) {
    const QString name = windowClassName(w);
    return isProgramForm(w) || (name != QLatin1String("#32770") && name != QLatin1String("#32768"));
}

QList<QWidget*> programForms() {
    QList<QWidget*> forms;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (isProgramForm(w))
            forms.append(w);
    }
    return forms;
}

} // namespace

TSkinManage::TSkinManage(bool moduleManager) : applicationForms(programForms) {
    registerSkinMessages();
    // Every built kind, unless a program or test put one of its own in first.
    registerBuiltKinds();
    requestTimer.setInterval(100);
    requestTimer.setSingleShot(true);
    connect(&requestTimer, &QTimer::timeout, this, &TSkinManage::RequestTimer);
    if (moduleManager)
        Module = 1;
    hookOff = false;
}

TSkinManage::~TSkinManage() {
    Started = 4;
    SkinningOn = false;
    requestTimer.stop();
    ExtraHooks.clear();
    for (const QPointer<TWinSkinForm>& form : QList<QPointer<TWinSkinForm>>(SkinForms)) {
        if (form && form->module() == Module) {
            form->Unskin();
            delete form.data();
        }
    }
    SkinForms.clear();
    for (const QPointer<TWinSkinPopMenu>& wrapper : PopupMenus)
        delete wrapper.data();
    PopupMenus.clear();
    ChildManagers.clear();
    if (mHookInstalled && qApp)
        qApp->removeEventFilter(this);
    hookOff = true;
}

TSkinManage* TSkinManage::instance() {
    return dynamic_cast<TSkinManage*>(skinManager());
}

void TSkinManage::installAsFactory() {
    setSkinManagerFactory([] { return std::make_unique<TSkinManage>(); });
}

// ---------------------------------------------------------------- skin data

void TSkinManage::registerSkinData(TSkinData* data) {
    if (!data || SkinDatas.contains(data))
        return;
    SkinDatas.append(data);
    if (!MainSkinData && data->SkinFormtype == TSkinFormType::sfMainform)
        MainSkinData = data;
}

void TSkinManage::unregisterSkinData(TSkinData* data) {
    SkinDatas.removeAll(data);
    SkinDatas.removeAll(nullptr);
    // Nothing may use the component once it is gone.
    if (MainSkinData == data)
        MainSkinData = nullptr;
    if (CurrentSkinData == data) {
        CurrentSkinData = nullptr;
        requestTimer.stop();
        PendingRequest = 0;
    }
}

void TSkinManage::markStarted() {
    if (Started == 0)
        Started = 1;
}

void TSkinManage::startForForm() {
    SkinningOn = true;
    ++Started;
}

void TSkinManage::refreshForms(TSkinData* data) {
    for (const QPointer<TWinSkinForm>& form : QList<QPointer<TWinSkinForm>>(SkinForms)) {
        if (form && form->skinData() == data)
            form->RefreshSkinObjects();
    }
}

// ---------------------------------------------------------------- the hook

void TSkinManage::installHook() {
    if (mHookInstalled || !qApp)
        return;
    qApp->installEventFilter(this);
    mHookInstalled = true;
}

bool TSkinManage::eventFilter(QObject* watched, QEvent* event) {
    if (hookOff || Started == 4)
        return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::WindowActivate &&
        type != QEvent::Polish && type != QEvent::ActionAdded)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        // A menu window is made when the menu is about to show (before it
        // is measured) and destroyed when it hides.
        menuSeen(menu);
        if (type == QEvent::Show && !ParentManager)
            WrapPopupMenu(menu);
        else if (type == QEvent::Hide)
            UnwrapPopupMenu(menu);
        return false;
    }
    if (type == QEvent::Polish) {
        if (auto* grip = qobject_cast<QSizeGrip*>(widget))
            sizeGripMade(grip);
        return false;
    }
    if (!widget->isWindow() || !isOfferedWindow(widget))
        return false;
    // Showing a window activates it on the original platform; a window
    // manager may never activate a window the program shows.
    if (type == QEvent::WindowActivate ||
        (type == QEvent::Show && !widget->property("skinShownOnce").toBool())) {
        if (type == QEvent::Show)
            widget->setProperty("skinShownOnce", true);
        activated(widget);
    }
    return false;
}

void TSkinManage::menuSeen(QMenu* menu) {
    if (menu->property("skinMenuHooked").toBool())
        return;
    menu->setProperty("skinMenuHooked", true);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        if (!hookOff && Started != 4 && !ParentManager)
            WrapPopupMenu(menu);
    });
    connect(menu, &QObject::destroyed, this, [this, menu] { UnwrapPopupMenu(menu, true); });
}

void TSkinManage::sizeGripMade(QSizeGrip* grip) {
    if (TWinSkinForm* form = FindSkinForm(grip->window()))
        form->SizeGrip = grip;
}

void TSkinManage::activated(QWidget* window) {
    if (Started == 0)
        Started = 1;
    SkinWindow(window);
}

// ---------------------------------------------------------------- Skin window

QList<TSkinData*> TSkinManage::registeredSkinData() const {
    QList<TSkinData*> registered;
    for (const QPointer<TSkinData>& data : SkinDatas) {
        if (data)
            registered.append(data);
    }
    return registered;
}

std::vector<SkinDataFacts> TSkinManage::skinDataFacts(const QWidget* p) const {
    std::vector<SkinDataFacts> facts;
    for (const QPointer<TSkinData>& data : SkinDatas) {
        if (data)
            facts.push_back({data->SkinFormtype, data->parent() == p, data->skinLoaded()});
    }
    return facts;
}

bool TSkinManage::SkinWindow(QWidget* p) {
    if (!p)
        return false;
    if (SkinningOn)
        Purge();
    SkinWindowFacts f;
    f.skinningOn = SkinningOn;
    if (f.skinningOn) {
        f.answersSkinned = sendMessage(p, SM_ISSKINNED, 0, 0) == 1;
        f.alreadyListed = FindSkinForm(p) != nullptr;
    }
    const bool framework = isFrameworkForm(p);
    f.hasFrameworkObject = framework;
    f.bulk = Bulk;
    f.child = !p->isWindow();
    f.parentClass = windowClassName(p->parentWidget());
    f.ownModule = true;
    f.className = windowClassName(p);
    f.zeroArea = p->width() <= 0 || p->height() <= 0;
    f.frameworkTag = tagOf(p);
    f.style = windowFacts(p).style;

    std::optional<MainSkinDataVeto> main;
    if (MainSkinData) {
        QPointer<TSkinData> data = MainSkinData;
        main = MainSkinDataVeto{data->Options, [data, p](const QString& name) {
                                    bool doSkin = true;
                                    if (data)
                                        data->FormSkin(p, name, doSkin);
                                    return doSkin;
                                }};
    }
    QList<QPointer<TSkinData>> registered;
    for (TSkinData* data : registeredSkinData())
        registered.append(data);
    QPointer<QWidget> window = p;
    QPointer<TSkinManage> self(this);
    mLastDecision = decideSkinWindow(f, skinDataFacts(p), main);
    // The window-class veto is the program's own handler.
    if (!self || !window || !mLastDecision.accepted())
        return false;
    TSkinData* chosen = registered.at(mLastDecision.skinData);
    if (!chosen)
        return false;

    QPointer<TWinSkinForm> form = new TWinSkinForm(framework ? p : nullptr);
    form->setWindow(p, Module, f.className);
    if (framework)
        form->SetupFrameworkForm(chosen, p);
    else
        form->SetupBareWindow(chosen);
    // The set-up fires the program's OnBeforeSkinForm.
    if (!self || !form || !window) {
        if (form && !form->parent())
            form->deleteLater();
        return false;
    }
    SkinForms.append(form);
    postMessage(p, SM_SKININIT, 0, 1000);
    return true;
}

bool TSkinManage::SkinForm(QWidget* form) {
    if (!form || !form->isVisible() || !form->isWindow())
        return false;
    return SkinWindow(form);
}

TWinSkinForm* TSkinManage::FindSkinForm(const QWidget* window) const {
    for (const QPointer<TWinSkinForm>& form : SkinForms) {
        if (form && form->window() == window && window)
            return form;
    }
    return nullptr;
}

void TSkinManage::ForgetForm(TWinSkinForm* form) {
    if (Started == 4)
        return;
    SkinForms.removeAll(form);
}

void TSkinManage::Purge() {
    purge(false);
}

void TSkinManage::PurgeAll() {
    purge(true);
}

void TSkinManage::purge(bool everyModule) {
    if (Started == 4)
        return;
    for (const QPointer<TWinSkinForm>& form : QList<QPointer<TWinSkinForm>>(SkinForms)) {
        if (!form || !form->window()) {
            SkinForms.removeAll(form);
            if (form && form->parent() == nullptr)
                form->deleteLater();
            continue;
        }
        if (form->FrameState == TWinSkinForm::StateClosed &&
            (everyModule || form->module() == Module)) {
            SkinForms.removeAll(form);
            // The form's own handler may be running: freed once it returns.
            form->deleteLater();
        }
    }
    SkinForms.removeAll(nullptr);
}

// ---------------------------------------------------------------- requests

void TSkinManage::Request(int code, int delayMs) {
    PendingRequest = code;
    requestTimer.setInterval(delayMs);
    if (Started != 0) {
        if (!Module) {
            for (TSkinManage* child : ChildManagers) {
                child->CurrentSkinData = CurrentSkinData;
                if (code == TSkinManagerLink::Start) {
                    child->SkinningOn = true;
                    child->Request(TSkinManagerLink::Start, 300);
                } else if (code == TSkinManagerLink::Stop) {
                    child->SkinningOn = false;
                }
            }
        }
        requestTimer.start();
    } else if (code == TSkinManagerLink::Start) {
        SkinningOn = true;
    } else if (code == TSkinManagerLink::Stop) {
        SkinningOn = false;
    }
}

void TSkinManage::unskinAndFree(TWinSkinForm* form) {
    SkinForms.removeAll(form);
    QPointer<TWinSkinForm> alive = form;
    QPointer<QWidget> window = form->window();
    form->Unskin();
    if (!alive)
        return;
    form->FrameState = TWinSkinForm::StateClosed;
    // Freed once every handler of the form has returned: a modal box opened
    // from one of them runs this very request.
    form->deleteLater();
    if (window) {
        window->update();
        window->repaint();
    }
}

void TSkinManage::RequestTimer() {
    requestTimer.stop();
    QPointer<TSkinData> current = CurrentSkinData;
    if (!current)
        return;
    // Every call below can run the program's handlers, and a modal box in
    // one of them runs the event loop: the manager, the component, the forms
    // and windows are asked again after each call.
    QPointer<TSkinManage> self(this);
    const int code = PendingRequest;
    auto usesCurrent = [&](const TWinSkinForm* form) {
        return form && current && form->skinData() == current;
    };
    const bool onlyThisForm = current->SkinFormtype == TSkinFormType::sfOnlyThisForm;
    switch (code) {
    case TSkinManagerLink::Start: {
        SkinningOn = true;
        Bulk = true;
        if (!onlyThisForm)
            Purge();
        QList<QPointer<QWidget>> forms;
        for (QWidget* w : applicationForms())
            forms.append(w);
        for (qsizetype i = forms.size() - 1; i >= 0 && self && current; --i) {
            if (!forms[i])
                continue;
            if (!onlyThisForm) {
                SkinForm(forms[i]);
            } else if (current->parent() == forms[i]) {
                SkinForm(forms[i]);
                break;
            }
        }
        if (!self)
            return;
        Bulk = false;
        if (!onlyThisForm && !Module) {
            for (TSkinManage* child : ChildManagers) {
                child->CurrentSkinData = current;
                child->SkinningOn = true;
                child->Request(TSkinManagerLink::Start, 300);
            }
        }
        break;
    }
    case TSkinManagerLink::Stop:
        SkinningOn = false;
        Purge();
        if (onlyThisForm) {
            for (qsizetype i = SkinForms.size() - 1; i >= 0; --i) {
                if (usesCurrent(SkinForms[i])) {
                    unskinAndFree(SkinForms[i]);
                    break;
                }
            }
        } else {
            while (self && !SkinForms.isEmpty()) {
                if (TWinSkinForm* form = SkinForms.first())
                    unskinAndFree(form);
                else
                    SkinForms.removeFirst();
            }
            if (self && !Module) {
                for (TSkinManage* child : ChildManagers)
                    child->SkinningOn = false;
            }
        }
        break;
    case TSkinManagerLink::Reskin: {
        Purge();
        QList<QPointer<TWinSkinForm>> using_;
        for (const QPointer<TWinSkinForm>& form : SkinForms) {
            if (usesCurrent(form)) {
                using_.append(form);
                if (onlyThisForm)
                    break;
            }
        }
        // Every form first rebuilds, then every form repaints.
        for (const QPointer<TWinSkinForm>& form : using_) {
            if (form)
                form->RefreshSkinObjects();
        }
        for (const QPointer<TWinSkinForm>& form : using_) {
            if (form)
                form->Repaint();
        }
        break;
    }
    case RequestPurgeAll:
        PurgeAll();
        break;
    case RequestReskinWindow: {
        if (onlyThisForm)
            break;
        QPointer<QWidget> window = Request7Window;
        if (TWinSkinForm* form = FindSkinForm(window)) {
            QPointer<TWinSkinForm> alive = form;
            form->Unskin();
            if (alive)
                form->FrameState = TWinSkinForm::StateClosed;
            if (!self)
                return;
            Purge();
            if (window)
                SkinWindow(window);
        }
        return;
    }
    default:
        break;
    }
    if (!self)
        return;
    if (current)
        current->SkinChanged();
    // The handler may have made a request of its own meanwhile.
    if (self && CurrentSkinData == current && !requestTimer.isActive())
        CurrentSkinData = nullptr;
}

// ---------------------------------------------------------------- popup menus

bool TSkinManage::IsWrapped(const QMenu* menu) const {
    for (const QPointer<TWinSkinPopMenu>& wrapper : PopupMenus) {
        if (wrapper && wrapper->menu() == menu)
            return true;
    }
    return false;
}

QImage TSkinManage::PopupBackground(const QMenu* menu) const {
    for (const QPointer<TWinSkinPopMenu>& wrapper : PopupMenus) {
        if (wrapper && wrapper->menu() == menu)
            return wrapper->Background();
    }
    return {};
}

bool TSkinManage::WrapPopupMenu(QMenu* menu) {
    PopupMenus.removeAll(nullptr);
    if (!SkinningOn || !menu || sendMessage(menu, SM_ISSKINNED, 0, 0) == 1 || IsWrapped(menu))
        return false;
    const int chosen = chooseSkinData(windowClassName(menu), skinDataFacts(menu));
    if (chosen < 0)
        return false;
    TSkinData* data = registeredSkinData().at(chosen);
    if (!data->skinLoaded())
        return false;
    const TSkinControlTypes x = data->SkinControls;
    const bool wanted = MenuMode == 0   ? x.contains(TSkinControlType::xcPopupMenu)
                        : MenuMode == 1 ? x.contains(TSkinControlType::xcMainMenu) ||
                                              x.contains(TSkinControlType::xcMenuItem)
                                        : x.contains(TSkinControlType::xcSystemMenu);
    if (!wanted)
        return false;
    // A bar's drop-downs and their submenus are measured as the bar's items.
    const MenuItemOwner owner =
        MenuMode == 1 ? MenuItemOwner::BarDropDown : MenuItemOwner::PopupMenu;
    auto* wrapper = new TWinSkinPopMenu(menu, data, owner);
    wrapper->Marked = PopupMark;
    PopupMenus.append(wrapper);
    return false;
}

bool TSkinManage::UnwrapPopupMenu(QMenu* menu, bool menuGone) {
    for (qsizetype i = 0; i < PopupMenus.size(); ++i) {
        TWinSkinPopMenu* wrapper = PopupMenus[i];
        // A wrapper whose menu is gone is that menu's.
        if (!wrapper || (wrapper->menu() && wrapper->menu() != menu))
            continue;
        PopupMenus.removeAt(i);
        if (menuGone)
            wrapper->Forget();
        else
            wrapper->Unwrap();
        wrapper->deleteLater();
        if (PopupMenus.isEmpty()) {
            PopupMark = false;
            MenuMode = 0;
        }
        return true;
    }
    return false;
}

} // namespace skin
