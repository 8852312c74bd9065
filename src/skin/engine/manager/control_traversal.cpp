#include "skin/engine/manager/control_traversal.h"

#include "skin/data/skin_data.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/window_info.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>

#include <map>

namespace skin {

namespace {

std::map<SkinKind, SkinKindFactory>& factories() {
    static std::map<SkinKind, SkinKindFactory> registry;
    return registry;
}

bool isOneOf(const QString& n, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (n == QLatin1String(name))
            return true;
    }
    return false;
}

// A tab widget's own tab bar is part of its page control.
bool isPageControlTabs(const QWidget* w) {
    return qobject_cast<const QTabBar*>(w) && qobject_cast<const QTabWidget*>(w->parentWidget());
}

// The widgets the traversal reaches below `top`: its children in order, not
// into compound widgets, other windows or a tab widget's own tab bar (it is
// part of the page control).
void collectControls(QWidget* top, QList<QPointer<QWidget>>& out) {
    for (QObject* child : top->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow())
            continue;
        if (isPageControlTabs(w))
            continue;
        out.append(w);
        if (!isCompoundWidget(w))
            collectControls(w, out);
    }
}

QList<QWidget*> childWidgets(QWidget* parent) {
    QList<QWidget*> out;
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isWindow())
            out.append(w);
    }
    return out;
}

bool reachable(QWidget* top, QWidget* w) {
    if (isPageControlTabs(w))
        return false;
    for (QWidget* p = w->parentWidget(); p && p != top; p = p->parentWidget()) {
        if (isCompoundWidget(p) || p->isWindow())
            return false;
    }
    return top->isAncestorOf(w) && !w->isWindow();
}

class Traversal {
public:
    explicit Traversal(TWinSkinForm& form)
        : mForm(form), mData(form.skinData()), mFormAlive(&form) {}

    void run() {
        QPointer<QWidget> top = mForm.form();
        if (!top || !mData)
            return;
        QList<QPointer<QWidget>> controls;
        collectControls(top, controls);
        for (const QPointer<QWidget>& c : controls) {
            if (!alive() || !top)
                return;
            if (c)
                apply(c, top);
        }
        if (!alive() || !top)
            return;
        if (mData->SkinControls.contains(TSkinControlType::xcPopupMenu))
            popupMenus(top);
        QList<QPointer<QWidget>> tabOrder;
        for (QWidget* w = top->nextInFocusChain(); w && w != top; w = w->nextInFocusChain())
            tabOrder.append(w);
        for (const QPointer<QWidget>& w : tabOrder) {
            if (!alive() || !top)
                return;
            if (!w || !reachable(top, w) || tagOf(w) == mData->DisableTag)
                continue;
            apply(w, top);
        }
    }

private:
    // The program's handler may have unskinned the form or freed the skin
    // data meanwhile (it can open a modal box, which runs the request timer).
    bool alive() const { return mFormAlive && mData; }

    bool taken(QWidget* c) const {
        return mForm.decisionFor(c) || mForm.skinObjectFor(c) ||
               sendMessage(c, SM_ISSKINNED, 0, 0) == 1;
    }

    void record(QWidget* c, RuleSource source) {
        ControlDecision d;
        d.source = source;
        mForm.recordDecision(c, d, false);
    }

    void popupMenus(QWidget* top) {
        for (QMenu* menu : top->findChildren<QMenu*>()) {
            QWidget* owner = menu->parentWidget();
            if (qobject_cast<QMenuBar*>(owner) || qobject_cast<QMenu*>(owner) || taken(menu))
                continue;
            ControlDecision d;
            d.source = RuleSource::BuiltIn;
            d.kind = SkinKind::PopupMenu;
            mForm.recordDecision(menu, d, false);
        }
    }

    // Makes and attaches the object of a kind; false when the kind has no
    // factory yet.
    bool make(QWidget* c, const ControlDecision& d) {
        TSkinControl* object = makeSkinObject(d.kind, c, d);
        if (!object)
            return false;
        if (d.byHandle)
            object->AttachHandle(c, mData, &mForm, nullptr);
        else
            object->Attach(&mForm, mData, d.flag, nullptr);
        return true;
    }

    void fixed(QWidget* c, SkinKind kind, int mode, bool flag) {
        if (taken(c))
            return;
        ControlDecision d;
        d.source = RuleSource::Skin3rd;
        d.kind = kind;
        d.mode = mode;
        d.flag = flag;
        mForm.recordDecision(c, d, make(c, d));
    }

    void children(QWidget* c, const ControlDecision& d) {
        if (d.children == ChildRule::None)
            return;
        const QPointer<QWidget> parent = c;
        QList<QPointer<QWidget>> kids;
        for (QWidget* kid : childWidgets(c))
            kids.append(kid);
        for (const QPointer<QWidget>& kid : kids) {
            if (!alive() || !parent)
                return;
            if (!kid)
                continue;
            if (d.children == ChildRule::Rules)
                apply(kid, c);
            else if (d.children == ChildRule::Fixed)
                fixed(kid, d.childKind, d.childMode, d.childFlag);
            else if (controlFactsOf(kid).hasScrollBars)
                fixed(kid, d.childKind, 0, false);
        }
    }

    void apply(QWidget* c, QWidget* container) {
        if (taken(c))
            return;
        // 1. Tag equal to DisableTag: the control keeps its own look, and so
        // do the buttons of such a radio or check group.
        if (tagOf(c) == mData->DisableTag) {
            const QString lower = windowClassName(c).toLower();
            if (lower.contains(QLatin1String("radiogroup")) ||
                lower.contains(QLatin1String("checkgroup"))) {
                for (QWidget* kid : childWidgets(c))
                    setTag(kid, mData->DisableTag);
            }
            record(c, RuleSource::DisableTag);
            return;
        }
        // 2. Without a parent the control is left alone.
        if (!c->parentWidget()) {
            record(c, RuleSource::NoParent);
            return;
        }
        // 3. Every widget has its window here; N is its class.
        const QString n = windowClassName(c).toUpper();
        // 4. The program's own choice.
        if (mData->OnSkinControl) {
            QObject* given = nullptr;
            QPointer<QWidget> control = c;
            mData->OnSkinControl(&mForm, mData, container, c, n, given);
            if (!alive() || !control)
                return;
            if (given) {
                ControlDecision d;
                d.source = RuleSource::Handler;
                if (auto* object = qobject_cast<TSkinControl*>(given)) {
                    if (!mForm.skinObjects().contains(object))
                        object->Attach(&mForm, mData, object->AdoptColor, nullptr);
                }
                mForm.recordDecision(c, d, qobject_cast<TSkinControl*>(given));
                if (n == QLatin1String("TPANEL")) {
                    d.children = ChildRule::Rules;
                    children(c, d);
                }
                return;
            }
        }
        // 5 to 7.
        const ControlSettings settings{mData->SkinControls, mData->Skin3rd,
                                       mData->element(SkinElement::Tabs) != nullptr};
        const ControlDecision d = decideControlKind(controlFactsOf(c), settings);
        if (d.setTransparent)
            SetPropText(c, QStringLiteral("Transparent"), QStringLiteral("True"));
        // Recorded first, so that the children never take their container.
        mForm.recordDecision(c, d, false);
        if (d.childrenFirst)
            children(c, d);
        if (d.kind != SkinKind::None && make(c, d))
            markBuilt(c);
        if (!d.childrenFirst)
            children(c, d);
        if (d.ownedComponents) {
            QList<QPointer<QWidget>> owned;
            collectControls(c, owned);
            for (const QPointer<QWidget>& w : owned) {
                if (!alive())
                    return;
                if (w)
                    apply(w, c);
            }
            if (mData->SkinControls.contains(TSkinControlType::xcPopupMenu))
                popupMenus(c);
        }
    }

    void markBuilt(QWidget* c) {
        auto* decided = const_cast<TWinSkinForm::DecidedControl*>(mForm.decisionFor(c));
        if (decided)
            decided->built = true;
    }

    TWinSkinForm& mForm;
    QPointer<TSkinData> mData;
    QPointer<TWinSkinForm> mFormAlive;
};

// The child windows of a bare window; containers that no rule names are looked
// through, as their controls are the window's own on the original platform.
void bareChildren(TWinSkinForm& form, QWidget* parent) {
    TSkinData* data = form.skinData();
    const QList<QWidget*> kids = childWidgets(parent);
    for (qsizetype i = kids.size() - 1; i >= 0; --i) { // the topmost first
        QWidget* c = kids[i];
        if (form.skinObjectFor(c) || form.decisionFor(c))
            continue;
        const QString name = windowClassName(c);
        const BareWindowDecision rule =
            decideBareWindow(name, TSkinControl::WindowLong(c, GWL_STYLE), data->SkinControls);
        if (rule.children)
            bareChildren(form, c);
        if (rule.buttonFaceColour)
            SetPropText(c, QStringLiteral("Color"),
                        QString::number(ColorToRGB(data->colour(colour::ButtonFace))));
        ControlDecision d;
        d.source = RuleSource::BareWindow;
        d.kind = rule.kind;
        d.byHandle = true;
        bool built = false;
        if (rule.kind != SkinKind::None) {
            // A child of the window it skins, like every skin object: it
            // goes with the window, never while the frame's handler runs.
            if (TSkinControl* object = makeSkinObject(rule.kind, c, d)) {
                object->AttachHandle(c, data, &form, nullptr);
                built = true;
            }
        }
        form.recordDecision(c, d, built);
        const bool container = qobject_cast<QDialogButtonBox*>(c) ||
                               c->metaObject() == &QWidget::staticMetaObject ||
                               c->metaObject() == &QFrame::staticMetaObject;
        if (rule.kind == SkinKind::None && !rule.children && container)
            bareChildren(form, c);
    }
}

} // namespace

TSkinControl* makeSkinObject(SkinKind kind, QWidget* control, const ControlDecision& decision) {
    const auto it = factories().find(kind);
    if (it == factories().end() || !it->second || !control)
        return nullptr;
    return it->second(control, control, decision);
}

void registerSkinKind(SkinKind kind, SkinKindFactory factory) {
    if (factory)
        factories()[kind] = std::move(factory);
    else
        factories().erase(kind);
}

void registerSkinKindDefault(SkinKind kind, SkinKindFactory factory) {
    if (!factories().count(kind))
        registerSkinKind(kind, std::move(factory));
}

ControlFacts controlFactsOf(const QWidget* c) {
    ControlFacts f;
    f.className = windowClassName(c);
    const QString n = f.className.toUpper();
    const WindowFacts w = windowFacts(c);
    f.isForm = isProgramForm(c);
    f.hasScrollBars = w.hScroll || w.vScroll;
    if (const auto* frame = qobject_cast<const QFrame*>(c))
        f.windowDiffersFromClient = frame->frameWidth() > 0;
    f.kindProperty = PropText(c, QStringLiteral("Kind"));
    f.numButtons = PropInt(c, QStringLiteral("NumButtons"));
    // What the class is or descends from, by the class table's names.
    f.isPageControl = n == QLatin1String("TPAGECONTROL");
    f.isTabControl = f.isPageControl || n == QLatin1String("TTABCONTROL");
    f.isTabSheet = n == QLatin1String("TTABSHEET");
    f.isGroupBox = isOneOf(n, {"TGROUPBOX", "TRADIOGROUP"});
    f.isStatusBar = n == QLatin1String("TSTATUSBAR");
    f.isComboBox = isOneOf(n, {"TCOMBOBOX", "TDBCOMBOBOX"});
    f.isDateTimePicker = n == QLatin1String("TDATETIMEPICKER");
    if (const auto* picker = qobject_cast<const QDateTimeEdit*>(c))
        f.pickerShowsTimeOrUpDown = !picker->calendarPopup() || (picker->displayedSections() &
                                                                 QDateTimeEdit::TimeSections_Mask);
    f.isBitmapButton = n == QLatin1String("TBITBTN");
    f.isPushButton = f.isBitmapButton || n == QLatin1String("TBUTTON");
    f.isSpeedButton = n == QLatin1String("TSPEEDBUTTON");
    f.isPanel = n == QLatin1String("TPANEL");
    f.isMemo = isOneOf(n, {"TMEMO", "TDBMEMO"});
    f.isGrid = isOneOf(n, {"TDBGRID", "TSTRINGGRID", "TDRAWGRID"});
    f.isListBox = isOneOf(n, {"TLISTBOX", "TDBLISTBOX"});
    f.isEditControl =
        f.isMemo || isOneOf(n, {"TEDIT", "TDBEDIT", "TSPINEDIT", "TMASKEDIT", "TRICHEDIT"});
    return f;
}

void SkinFormControls(TWinSkinForm& form) {
    Traversal(form).run();
}

void SkinBareWindowControls(TWinSkinForm& form) {
    if (form.window() && form.skinData())
        bareChildren(form, form.window());
}

} // namespace skin
