#include "skin/engine/manager/control_rules.h"

#include <array>

namespace skin {

namespace {

using X = TSkinControlType;

bool isOneOf(const QString& n, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (n == QLatin1String(name))
            return true;
    }
    return false;
}

ControlDecision skinned(RuleSource source, SkinKind kind, int mode = 0, bool flag = false) {
    ControlDecision d;
    d.source = source;
    d.kind = kind;
    d.mode = mode;
    d.flag = flag;
    return d;
}

ControlDecision scrollBar(RuleSource source) {
    ControlDecision d = skinned(source, SkinKind::SkinScrollbar);
    d.attachScrolled = true;
    return d;
}

// The kinds that a Skin3rd line names.
ControlDecision bySkin3rd(const QString& kind, const ControlFacts& c, const QString& n,
                          TSkinControlTypes x, bool tabs) {
    const RuleSource s = RuleSource::Skin3rd;
    ControlDecision none;
    none.source = s;
    auto is = [&](const char* name) { return kind == QLatin1String(name); };
    if (is("combobox") || is("comboboxex")) {
        if (!x.contains(X::xcCombo))
            return none;
        ControlDecision d = skinned(s, SkinKind::SkinComBox);
        d.extended = is("comboboxex");
        return d;
    }
    if (is("edit"))
        return x.contains(X::xcEdit) && c.windowDiffersFromClient ? skinned(s, SkinKind::SkinEdit)
                                                                  : none;
    if (is("radiobutton"))
        return x.contains(X::xcRadioButton) ? skinned(s, SkinKind::SkinRadioButton) : none;
    if (is("panel") || is("trackbar")) {
        const bool panel = is("panel");
        if (!x.contains(panel ? X::xcPanel : X::xcButton))
            return none;
        ControlDecision d =
            panel ? skinned(s, SkinKind::SkinBox, 0, true) : skinned(s, SkinKind::SkinTrackBar);
        d.setTransparent = true;
        return d;
    }
    if (is("button"))
        return x.contains(X::xcButton) ? skinned(s, SkinKind::SkinButton) : none;
    if (is("datetimepicker"))
        return x.contains(X::xcCombo) ? skinned(s, SkinKind::SkinDateTime) : none;
    if (is("mediaplayer"))
        return x.contains(X::xcButton) ? skinned(s, SkinKind::SkinMP) : none;
    if (is("bitbtn")) {
        if (!x.contains(X::xcButton))
            return none;
        const bool dropDown = c.className.toLower() == QLatin1String("tcxbutton") &&
                              c.kindProperty == QLatin1String("cxbkDropDownButton");
        return skinned(s, dropDown ? SkinKind::SkinMenuButton : SkinKind::SkinBitButton);
    }
    if (is("pngbitbtn") || is("pngspeedbutton")) {
        if (!x.contains(X::xcButton))
            return none;
        ControlDecision d =
            skinned(s, is("pngbitbtn") ? SkinKind::SkinBitButton : SkinKind::SkinSpeedButton);
        d.pngImage = true;
        return d;
    }
    if (is("menubtn"))
        return x.contains(X::xcButton) ? skinned(s, SkinKind::SkinMenuButton) : none;
    if (is("speedbutton"))
        return x.contains(X::xcSpeedButton) ? skinned(s, SkinKind::SkinSpeedButton) : none;
    if (is("tab"))
        return x.contains(X::xcTab) && tabs ? skinned(s, SkinKind::SkinTab) : none;
    if (is("progress"))
        return x.contains(X::xcProgress) ? skinned(s, SkinKind::SkinProgress) : none;
    if (is("scrollbar") || is("singlescrollbar")) {
        if (!x.contains(X::xcScrollbar))
            return none;
        ControlDecision d = scrollBar(s);
        if (is("scrollbar"))
            d.children = ChildRule::Rules;
        else
            d.mode = 1; // single-bar mode
        return d;
    }
    if (is("embedscrollbar")) {
        if (!x.contains(X::xcScrollbar))
            return none;
        none.children = ChildRule::OnlyScrolled;
        none.childKind = SkinKind::SkinScrollbar;
        return none;
    }
    if (is("container")) {
        none.children = ChildRule::Rules;
        return none;
    }
    if (is("groupbox"))
        return x.contains(X::xcGroupBox) ? skinned(s, SkinKind::SkinGroupBox, 0, true) : none;
    if (is("advpagecontrol"))
        return x.contains(X::xcTab) ? skinned(s, SkinKind::SkinAdvPage, 4, true) : none;
    if (is("radiogroup") || is("checkgroup")) {
        const bool radio = is("radiogroup");
        if (!x.contains(radio ? X::xcGroupBox : X::xcPanel))
            return none;
        ControlDecision d = none;
        if (x.contains(X::xcRadioButton)) {
            d.children = ChildRule::Fixed;
            d.childrenFirst = true;
            if (n.contains(QLatin1String("TRZ"))) {
                d.childKind = SkinKind::SkinObjImage;
                d.childMode = radio ? 2 : 1;
                d.childFlag = true;
            } else {
                d.childKind = radio ? SkinKind::SkinRadioButton : SkinKind::SkinCheckBox;
            }
        }
        if (x.contains(X::xcGroupBox)) {
            d.kind = SkinKind::SkinGroupBox;
            d.flag = true;
        }
        return d;
    }
    if (is("checkbox"))
        return x.contains(X::xcCheckBox) ? skinned(s, SkinKind::SkinCheckBox) : none;
    return none; // "nil" and kinds nobody knows
}

// The 29 rows of the built-in table.
ControlDecision byBuiltInTable(const ControlFacts& c, const QString& n, TSkinControlTypes x,
                               bool tabs) {
    const RuleSource s = RuleSource::BuiltIn;
    ControlDecision children;
    children.source = s;
    children.children = ChildRule::Rules;
    const bool tab = x.contains(X::xcTab) && tabs;
    const bool scroll = x.contains(X::xcScrollbar);

    if (c.isTabControl && tab) { // 1
        if (!c.isPageControl)
            return skinned(s, SkinKind::SkinTab, 2);
        return skinned(s, c.tabStyleIsTabs ? SkinKind::SkinTab : SkinKind::SkinTabBtn);
    }
    if (n == QLatin1String("TTABSET") && tab) // 2
        return skinned(s, SkinKind::SkinTab31);
    if (c.isTabSheet && tab) // 3
        return skinned(s, SkinKind::SkinTabSheet);
    if (n == QLatin1String("TTABBEDNOTEBOOK") && tab) // 4
        return skinned(s, SkinKind::SkinTab);
    if (n == QLatin1String("TMVCPANEL")) // 5
        return children;
    if (isOneOf(n, {"TUPDOWN", "TSPINBUTTON"}) && x.contains(X::xcSpin)) // 6
        return skinned(s, SkinKind::SkinUpDown);
    if (n == QLatin1String("TMEDIAPLAYER") && x.contains(X::xcButton)) // 7
        return skinned(s, SkinKind::SkinMP);
    if (n == QLatin1String("TDBNAVIGATOR") && x.contains(X::xcPanel)) { // 8
        ControlDecision d = skinned(s, SkinKind::SkinBox, 0, true);
        d.children = ChildRule::Rules;
        return d;
    }
    if (isOneOf(n, {"TRZDBCHECKBOX", "TRZCHECKBOX"}) && x.contains(X::xcCheckBox)) // 9
        return skinned(s, SkinKind::SkinObjImage, 1);
    if (isOneOf(n, {"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}) && x.contains(X::xcRadioButton)) // 10
        return skinned(s, SkinKind::SkinObjImage, 2);
    if (isOneOf(n, {"TCXDBCHECKBOX", "TCXCHECKBOX"}) && x.contains(X::xcCheckBox)) // 11
        return skinned(s, SkinKind::SkinObjImage, 3);
    if (c.isGroupBox && x.contains(X::xcPanel)) { // 12
        ControlDecision d = skinned(s, SkinKind::SkinGroupBox);
        d.children = ChildRule::Rules;
        d.childrenFirst = true;
        return d;
    }
    if (c.isStatusBar && x.contains(X::xcStatusBar)) // 13
        return skinned(s, SkinKind::SkinStatusBar);
    if ((n == QLatin1String("TTNTCOMBOBOX") || c.isComboBox) && x.contains(X::xcCombo)) // 14, 15
        return skinned(s, SkinKind::SkinComBox);
    if (c.isDateTimePicker && x.contains(X::xcEdit)) // 16
        return skinned(s, c.pickerShowsTimeOrUpDown ? SkinKind::SkinEdit : SkinKind::SkinDateTime);
    if (scroll && isOneOf(n, {"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"})) // 17, 18
        return scrollBar(s);
    if (c.isBitmapButton) { // 19: without xcBitBtn the rules end here
        if (x.contains(X::xcBitBtn))
            return skinned(s, SkinKind::SkinBitButton);
        ControlDecision d;
        d.source = s;
        return d;
    }
    if (c.isSpeedButton && x.contains(X::xcSpeedButton)) // 20
        return skinned(s, SkinKind::SkinSpeedButton);
    if (c.isPanel && x.contains(X::xcPanel)) { // 21
        ControlDecision d = skinned(s, SkinKind::SkinBox, 0, true);
        d.children = ChildRule::Rules;
        d.childrenFirst = true;
        return d;
    }
    if (scroll && isOneOf(n, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"})) // 22
        return scrollBar(s);
    if (scroll && (c.isMemo || c.isGrid || c.hasScrollBars || c.isListBox)) // 23, 24, 25
        return scrollBar(s);
    if (c.isPushButton && x.contains(X::xcButton)) // 26
        return skinned(s, SkinKind::SkinButton);
    if (c.isEditControl && x.contains(X::xcEdit)) // 27
        return skinned(s, SkinKind::SkinEdit);
    if (!isOneOf(n, {"TDCEDIT", "TDCDBEDIT"})) { // 28
        ControlDecision d;
        d.source = s;
        if (c.isForm) {
            d.kind = SkinKind::SkinBox;
            d.flag = true;
            d.ownedComponents = true;
        }
        return d;
    }
    // 29
    if (c.numButtons == 1 && x.contains(X::xcCombo))
        return skinned(s, SkinKind::SkinComBox);
    if (c.numButtons == 0 && x.contains(X::xcEdit)) {
        ControlDecision d = skinned(s, SkinKind::SkinEdit);
        d.byHandle = true;
        return d;
    }
    ControlDecision d;
    d.source = s;
    return d;
}

} // namespace

QString skinKindName(SkinKind kind) {
    static const std::array<const char*, 27> names = {
        "",
        "TSkinComBox",
        "TSkinEdit",
        "TSkinRadioButton",
        "TSkinCheckBox",
        "TSkinBox",
        "TSkinBoxH",
        "TSkinTrackBar",
        "TSkinButton",
        "TSkinBitButton",
        "TSkinSpeedButton",
        "TSkinMenuButton",
        "TSkinDateTime",
        "TSkinMP",
        "TSkinTab",
        "TSkinTab31",
        "TSkinTabBtn",
        "TSkinTabSheet",
        "TSkinProgress",
        "TSkinScrollbar",
        "TSkinGroupBox",
        "TSkinAdvPage",
        "TSkinObjImage",
        "TSkinUpDown",
        "TSkinStatusBar",
        "TSkinSizer",
        "TWinSkinPopMenu",
    };
    return QString::fromLatin1(names.at(static_cast<size_t>(kind)));
}

int chooseSkinData(const QString& className, const std::vector<SkinDataFacts>& registered) {
    auto last = [&](auto matches) {
        int found = -1;
        for (int i = 0; i < static_cast<int>(registered.size()); ++i) {
            if (matches(registered[i]))
                found = i;
        }
        return found;
    };
    int chosen = last([](const SkinDataFacts& d) {
        return d.formType == TSkinFormType::sfOnlyThisForm && d.ownerFormIsWindow;
    });
    const QString lower = className.toLower();
    if (chosen < 0 && (lower == QLatin1String("tmessageform") || lower == QLatin1String("#32770")))
        chosen = last([](const SkinDataFacts& d) { return d.formType == TSkinFormType::sfDialog; });
    if (chosen < 0)
        chosen =
            last([](const SkinDataFacts& d) { return d.formType == TSkinFormType::sfMainform; });
    if (chosen < 0 && !registered.empty())
        chosen = 0;
    return chosen;
}

SkinWindowDecision decideSkinWindow(const SkinWindowFacts& f,
                                    const std::vector<SkinDataFacts>& registered,
                                    const std::optional<MainSkinDataVeto>& mainData) {
    auto stop = [](SkinWindowStep step) { return SkinWindowDecision{step, -1}; };
    if (!f.skinningOn)
        return stop(SkinWindowStep::SkinningOff);
    if (f.answersSkinned || f.alreadyListed)
        return stop(SkinWindowStep::AlreadySkinned);
    const QString lower = f.className.toLower();
    if (!f.bulk && f.child && !f.mdiChild && f.parentClass.toLower() != QLatin1String("mdiclient"))
        return stop(SkinWindowStep::PlainChild);
    const bool dialog = f.className == QLatin1String("#32770");
    if (!f.hasFrameworkObject && !f.ownModule && !dialog)
        return stop(SkinWindowStep::NotOurs);
    if (f.zeroArea && !f.mdiChild)
        return stop(SkinWindowStep::ZeroArea);
    if (f.hasFrameworkObject && f.frameworkTag == 99)
        return stop(SkinWindowStep::Tag99);
    if (f.className.contains(QLatin1String("TcxPopupEditPopupWindow")) ||
        f.className.contains(QLatin1String("TTERenderWindow")) ||
        f.className == QLatin1String("TApplication"))
        return stop(SkinWindowStep::ExcludedClass);
    if (mainData) {
        const bool refused = (!mainData->options.contains(TSkinOption::xoPreview) &&
                              lower.contains(QLatin1String("preview"))) ||
                             (dialog && (f.style & 0x200)) ||
                             lower == QLatin1String("tpopupdbtreeview") ||
                             (mainData->formSkin && !mainData->formSkin(f.className));
        if (refused)
            return stop(SkinWindowStep::ClassVeto);
    }
    const int chosen = chooseSkinData(f.className, registered);
    if (chosen < 0)
        return stop(SkinWindowStep::NoSkinData);
    if (!registered[chosen].loaded)
        return {SkinWindowStep::NotLoaded, chosen};
    return {SkinWindowStep::Accepted, chosen};
}

std::optional<QString> lookupSkin3rd(const QStringList& lines, const QString& className) {
    const QString start = className + QLatin1Char('=');
    for (const QString& line : lines) {
        if (line.startsWith(start, Qt::CaseInsensitive))
            return line.mid(line.indexOf(QLatin1Char('=')) + 1).left(50).toLower();
    }
    return std::nullopt;
}

ControlDecision decideControlKind(const ControlFacts& facts, const ControlSettings& settings) {
    const QString n = facts.className.toUpper();
    if (const auto kind = lookupSkin3rd(settings.skin3rd, facts.className))
        return bySkin3rd(*kind, facts, n, settings.controls, settings.hasTabsElement);
    if (isOneOf(n, {"TDBCOMBOBOXEH", "TFRDESIGNERPAGE", "TFRPBOX"})) {
        ControlDecision d;
        d.source = RuleSource::Exclusion;
        return d;
    }
    return byBuiltInTable(facts, n, settings.controls, settings.hasTabsElement);
}

BareWindowDecision decideBareWindow(const QString& className, quint32 style, TSkinControlTypes x) {
    const QString c = className.toLower();
    BareWindowDecision d;
    auto kindIf = [&](bool allowed, SkinKind kind) {
        if (allowed)
            d.kind = kind;
        return d;
    };
    if (c == QLatin1String("button")) {
        const quint32 type = style & 0xF;
        if (type == 0xB || type == 7 || (style & 0x80))
            return d;
        if ((type & 2) || type == 3 || type == 5)
            return kindIf(x.contains(X::xcCheckBox), SkinKind::SkinCheckBox);
        if (type == 4 || type == 9)
            return kindIf(x.contains(X::xcRadioButton), SkinKind::SkinRadioButton);
        return kindIf(x.contains(X::xcButton), SkinKind::SkinButton);
    }
    if (c == QLatin1String("combobox"))
        return kindIf(x.contains(X::xcCombo) && (style & 3) != 1, SkinKind::SkinComBox);
    if (c == QLatin1String("comboboxex32")) {
        d.topChild = true;
        return kindIf(x.contains(X::xcCombo), SkinKind::SkinComBox);
    }
    if (c == QLatin1String("scrollbar"))
        return kindIf(!(style & 0x10000), SkinKind::SkinSizer);
    if (c == QLatin1String("#32770")) {
        if (!(style & 0x10000)) {
            d.children = true;
            d.kind = SkinKind::SkinBoxH;
        }
        return d;
    }
    if (isOneOf(c, {"tpanel", "ttntpanel.unicodeclass", "ttntsilentpaintpanel.unicodeclass"})) {
        d.children = true;
        d.buttonFaceColour = true;
        return d;
    }
    if (c == QLatin1String("tcheckbox"))
        return kindIf(x.contains(X::xcCheckBox), SkinKind::SkinCheckBox);
    if (c == QLatin1String("tcombobox"))
        return kindIf(x.contains(X::xcCombo), SkinKind::SkinComBox);
    if (c == QLatin1String("tbutton"))
        return kindIf(x.contains(X::xcButton), SkinKind::SkinButton);
    if (c == QLatin1String("tprogressbar"))
        return kindIf(true, SkinKind::SkinProgress);
    if (c == QLatin1String("tsilentpaintpanel")) {
        d.buttonFaceColour = true;
        return d;
    }
    if (c == QLatin1String("systabcontrol32"))
        return kindIf(x.contains(X::xcTab) && !(style & 0x2000), SkinKind::SkinTab);
    if (c == QLatin1String("toolbarwindow32"))
        return kindIf(true, SkinKind::SkinBoxH);
    if (c == QLatin1String("edit"))
        return kindIf(x.contains(X::xcEdit), SkinKind::SkinEdit);
    return d; // "systreeview32" and every other class stay plain
}

} // namespace skin
