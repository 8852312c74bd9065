#include "skin/engine/skin_manager.h"

#include "skin/data/skin_data.h"
#include "skin/engine/form_window.h"
#include "skin/engine/message.h"
#include "skin/engine/window_info.h"

#include <QApplication>
#include <QMenu>
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
    if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::WindowActivate)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !widget->isWindow())
        return false;
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        // A menu window is made when it shows and destroyed when it hides.
        if (type == QEvent::Show && !ParentManager)
            WrapPopupMenu(menu);
        else if (type == QEvent::Hide)
            UnwrapPopupMenu(menu);
        return false;
    }
    if (!isOfferedWindow(widget))
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

void TSkinManage::activated(QWidget* window) {
    if (Started == 0)
        Started = 1;
    SkinWindow(window);
}

// ---------------------------------------------------------------- Skin window

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
    QList<TSkinData*> registered;
    for (const QPointer<TSkinData>& data : SkinDatas) {
        if (data)
            registered.append(data);
    }
    mLastDecision = decideSkinWindow(f, skinDataFacts(p), main);
    if (!mLastDecision.accepted())
        return false;
    TSkinData* chosen = registered.at(mLastDecision.skinData);

    auto* form = new TWinSkinForm(framework ? p : nullptr);
    form->setWindow(p, Module, f.className);
    if (framework)
        form->SetupFrameworkForm(chosen, p);
    else
        form->SetupBareWindow(chosen);
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
    QPointer<QWidget> window = form->window();
    form->Unskin();
    form->FrameState = TWinSkinForm::StateClosed;
    if (window)
        window->repaint();
    form->deleteLater();
}

void TSkinManage::RequestTimer() {
    requestTimer.stop();
    QPointer<TSkinData> current = CurrentSkinData;
    if (!current)
        return;
    const int code = PendingRequest;
    auto usesCurrent = [&](const TWinSkinForm* form) {
        return form && form->skinData() == current;
    };
    if (current->SkinFormtype == TSkinFormType::sfOnlyThisForm) {
        switch (code) {
        case TSkinManagerLink::Start: {
            SkinningOn = true;
            Bulk = true;
            const QList<QWidget*> forms = applicationForms();
            for (qsizetype i = forms.size() - 1; i >= 0; --i) {
                if (current && current->parent() == forms[i]) {
                    SkinForm(forms[i]);
                    break;
                }
            }
            Bulk = false;
            break;
        }
        case TSkinManagerLink::Stop:
            SkinningOn = false;
            Purge();
            for (qsizetype i = SkinForms.size() - 1; i >= 0; --i) {
                if (usesCurrent(SkinForms[i])) {
                    unskinAndFree(SkinForms[i]);
                    break;
                }
            }
            break;
        case TSkinManagerLink::Reskin:
            Purge();
            for (const QPointer<TWinSkinForm>& form : SkinForms) {
                if (usesCurrent(form)) {
                    form->RefreshSkinObjects();
                    form->Repaint();
                    break;
                }
            }
            break;
        case RequestPurgeAll:
            PurgeAll();
            break;
        default:
            break;
        }
    } else {
        switch (code) {
        case TSkinManagerLink::Start: {
            SkinningOn = true;
            Bulk = true;
            Purge();
            const QList<QWidget*> forms = applicationForms();
            for (qsizetype i = forms.size() - 1; i >= 0; --i) {
                if (forms[i])
                    SkinForm(forms[i]);
            }
            Bulk = false;
            if (!Module) {
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
            while (!SkinForms.isEmpty()) {
                if (TWinSkinForm* form = SkinForms.first())
                    unskinAndFree(form);
                else
                    SkinForms.removeFirst();
            }
            if (!Module) {
                for (TSkinManage* child : ChildManagers)
                    child->SkinningOn = false;
            }
            break;
        case TSkinManagerLink::Reskin: {
            Purge();
            QList<QPointer<TWinSkinForm>> using_;
            for (const QPointer<TWinSkinForm>& form : SkinForms) {
                if (usesCurrent(form))
                    using_.append(form);
            }
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
            QPointer<QWidget> window = Request7Window;
            if (TWinSkinForm* form = FindSkinForm(window)) {
                form->Unskin();
                form->FrameState = TWinSkinForm::StateClosed;
                Purge();
                if (window)
                    SkinWindow(window);
            }
            return;
        }
        default:
            break;
        }
    }
    // Handlers may have run meanwhile: the component is asked only if alive.
    if (current)
        current->SkinChanged();
    CurrentSkinData = nullptr;
}

// ---------------------------------------------------------------- popup menus

bool TSkinManage::IsWrapped(const QMenu* menu) const {
    for (const WrappedMenu& wrapped : PopupMenus) {
        if (wrapped.menu == menu)
            return true;
    }
    return false;
}

bool TSkinManage::WrapPopupMenu(QMenu* menu) {
    PopupMenus.removeIf([](const WrappedMenu& wrapped) { return !wrapped.menu; });
    if (!SkinningOn || !menu || sendMessage(menu, SM_ISSKINNED, 0, 0) == 1 || IsWrapped(menu))
        return false;
    std::vector<SkinDataFacts> facts = skinDataFacts(menu);
    const int chosen = chooseSkinData(QStringLiteral("#32768"), facts);
    if (chosen < 0)
        return false;
    QList<TSkinData*> registered;
    for (const QPointer<TSkinData>& data : SkinDatas) {
        if (data)
            registered.append(data);
    }
    TSkinData* data = registered.at(chosen);
    if (!data->skinLoaded())
        return false;
    const TSkinControlTypes x = data->SkinControls;
    const bool wanted = MenuMode == 0   ? x.contains(TSkinControlType::xcPopupMenu)
                        : MenuMode == 1 ? x.contains(TSkinControlType::xcMainMenu) ||
                                              x.contains(TSkinControlType::xcMenuItem)
                                        : x.contains(TSkinControlType::xcSystemMenu);
    if (!wanted)
        return false;
    PopupMenus.append({menu, data, PopupMark});
    return false;
}

bool TSkinManage::UnwrapPopupMenu(QMenu* menu) {
    for (qsizetype i = 0; i < PopupMenus.size(); ++i) {
        if (PopupMenus[i].menu == menu) {
            PopupMenus.removeAt(i);
            if (PopupMenus.isEmpty()) {
                PopupMark = false;
                MenuMode = 0;
            }
            return true;
        }
    }
    return false;
}

} // namespace skin
