#include "skin/engine/manager/control_rules.h"

#include <gtest/gtest.h>

using namespace skin;
using X = TSkinControlType;

namespace {

// A top-level window of the program's own, ready to be skinned.
SkinWindowFacts form(const char* className = "TForm2") {
    SkinWindowFacts f;
    f.skinningOn = true;
    f.hasFrameworkObject = true;
    f.className = QString::fromLatin1(className);
    return f;
}

SkinDataFacts data(TSkinFormType type, bool ownerIsWindow = false, bool loaded = true) {
    return {type, ownerIsWindow, loaded};
}

const std::vector<SkinDataFacts> mainOnly = {data(TSkinFormType::sfMainform)};

MainSkinDataVeto veto(TSkinOptions options = {TSkinOption::xoPreview}) {
    return {options, [](const QString&) { return true; }};
}

SkinWindowStep stepOf(const SkinWindowFacts& f,
                      const std::optional<MainSkinDataVeto>& main = veto(),
                      const std::vector<SkinDataFacts>& registered = mainOnly) {
    return decideSkinWindow(f, registered, main).step;
}

ControlSettings settings(TSkinControlTypes controls = TSkinData().SkinControls) {
    return {controls, TSkinData::defaultSkin3rd(), true};
}

ControlFacts control(const char* className) {
    ControlFacts c;
    c.className = QString::fromLatin1(className);
    return c;
}

} // namespace

TEST(SkinWindow, EachStepCanLeaveTheWindowAlone) {
    EXPECT_EQ(stepOf(form()), SkinWindowStep::Accepted);

    SkinWindowFacts f = form();
    f.skinningOn = false;
    EXPECT_EQ(stepOf(f), SkinWindowStep::SkinningOff);
    f = form();
    f.answersSkinned = true;
    EXPECT_EQ(stepOf(f), SkinWindowStep::AlreadySkinned);
    f = form();
    f.alreadyListed = true;
    EXPECT_EQ(stepOf(f), SkinWindowStep::AlreadySkinned);

    // A plain child is refused unless a bulk start or an MDI client parent.
    f = form();
    f.child = true;
    f.parentClass = QStringLiteral("TForm1");
    EXPECT_EQ(stepOf(f), SkinWindowStep::PlainChild);
    f.parentClass = QStringLiteral("MDIClient");
    EXPECT_EQ(stepOf(f), SkinWindowStep::Accepted);
    f.parentClass = QStringLiteral("TForm1");
    f.bulk = true;
    EXPECT_EQ(stepOf(f), SkinWindowStep::Accepted);

    // Another module's window only as a dialog.
    f = form("Foreign");
    f.hasFrameworkObject = false;
    f.ownModule = false;
    EXPECT_EQ(stepOf(f), SkinWindowStep::NotOurs);
    f.className = QStringLiteral("#32770");
    EXPECT_EQ(stepOf(f), SkinWindowStep::Accepted);

    f = form();
    f.zeroArea = true;
    EXPECT_EQ(stepOf(f), SkinWindowStep::ZeroArea);
    f.mdiChild = true;
    EXPECT_EQ(stepOf(f), SkinWindowStep::Accepted);

    for (const char* excluded : {"TApplication", "xTcxPopupEditPopupWindow1", "TTERenderWindow"})
        EXPECT_EQ(stepOf(form(excluded)), SkinWindowStep::ExcludedClass) << excluded;

    const std::vector<SkinDataFacts> unloaded = {data(TSkinFormType::sfMainform, false, false)};
    EXPECT_EQ(stepOf(form(), veto(), unloaded), SkinWindowStep::NotLoaded);
    EXPECT_EQ(stepOf(form(), veto(), {}), SkinWindowStep::NoSkinData);
}

TEST(SkinWindow, Tag99RefusesAFormWhateverDisableTagSays) {
    SkinWindowFacts f = form();
    f.frameworkTag = 99;
    EXPECT_EQ(stepOf(f), SkinWindowStep::Tag99);
    f.frameworkTag = 98;
    EXPECT_EQ(stepOf(f), SkinWindowStep::Accepted);
    // Without a framework object there is no Tag to ask.
    f = form("#32770");
    f.hasFrameworkObject = false;
    f.frameworkTag = 99;
    EXPECT_EQ(stepOf(f), SkinWindowStep::Accepted);
}

TEST(SkinWindow, ClassVetoesAskedOnlyWithAMainSkinData) {
    // Preview windows need xoPreview.
    EXPECT_EQ(stepOf(form("TPrintPreviewForm"), veto({})), SkinWindowStep::ClassVeto);
    EXPECT_EQ(stepOf(form("TPrintPreviewForm"), veto({TSkinOption::xoPreview})),
              SkinWindowStep::Accepted);
    EXPECT_EQ(stepOf(form("TPrintPreviewForm"), std::nullopt), SkinWindowStep::Accepted);
    // A dialog with style bit 0x200 is refused, without it accepted.
    SkinWindowFacts dialog = form("#32770");
    dialog.hasFrameworkObject = false;
    EXPECT_EQ(stepOf(dialog), SkinWindowStep::Accepted);
    dialog.style = 0x200;
    EXPECT_EQ(stepOf(dialog), SkinWindowStep::ClassVeto);
    EXPECT_EQ(stepOf(form("TPopupDBTreeView")), SkinWindowStep::ClassVeto);
    // The main skin data's own veto; the date picker's calendar by default.
    TSkinData skinData;
    MainSkinDataVeto own{skinData.Options, [&](const QString& name) {
                             bool doSkin = true;
                             skinData.FormSkin(nullptr, name, doSkin);
                             return doSkin;
                         }};
    EXPECT_EQ(stepOf(form("SysMonthCal32"), own), SkinWindowStep::ClassVeto);
    EXPECT_EQ(stepOf(form("TForm3"), own), SkinWindowStep::Accepted);
}

TEST(SkinWindow, ChoosesTheSkinDataTheLastMatchWinning) {
    using T = TSkinFormType;
    const std::vector<SkinDataFacts> all = {
        data(T::sfMainform),
        data(T::sfDialog),
        data(T::sfOnlyThisForm, true),
        data(T::sfMainform),
        data(T::sfOnlyThisForm, false),
        data(T::sfDialog),
        data(T::sfOnlyThisForm, true),
    };
    EXPECT_EQ(chooseSkinData(QStringLiteral("TForm2"), all), 6) << "the form's own component";
    std::vector<SkinDataFacts> others(all.begin(), all.begin() + 6);
    others[2].ownerFormIsWindow = false;
    EXPECT_EQ(chooseSkinData(QStringLiteral("#32770"), others), 5);
    EXPECT_EQ(chooseSkinData(QStringLiteral("TMessageForm"), others), 5);
    EXPECT_EQ(chooseSkinData(QStringLiteral("TForm2"), others), 3);
    EXPECT_EQ(chooseSkinData(QStringLiteral("TForm2"), {data(T::sfDialog), data(T::sfDLL)}), 0)
        << "else the first registered";
    EXPECT_EQ(chooseSkinData(QStringLiteral("TForm2"), {}), -1);
    EXPECT_EQ(decideSkinWindow(form(), all, veto()).skinData, 6);
}

TEST(Skin3rd, LooksUpTheFirstLineWithoutRegardToCase) {
    const QStringList lines = {QStringLiteral("TFoo=Nil"), QStringLiteral("tfoo=edit"),
                               QStringLiteral("TFooBar=Panel=x")};
    EXPECT_EQ(lookupSkin3rd(lines, QStringLiteral("TFOO")), QStringLiteral("nil"));
    EXPECT_EQ(lookupSkin3rd(lines, QStringLiteral("TFooBar")), QStringLiteral("panel=x"));
    EXPECT_EQ(lookupSkin3rd(lines, QStringLiteral("TFo")), std::nullopt);
    const QStringList longKind = {QStringLiteral("TLong=") + QString(60, QLatin1Char('a'))};
    EXPECT_EQ(lookupSkin3rd(longKind, QStringLiteral("TLong"))->size(), 50);
}

TEST(Skin3rd, DecidesAloneWhenItNamesTheClass) {
    ControlSettings s = settings();
    s.skin3rd = {QStringLiteral("TButton=nil"), QStringLiteral("TEdit=combobox"),
                 QStringLiteral("TPanel=panel"), QStringLiteral("TMyGroup=radiogroup"),
                 QStringLiteral("TRzGroup=radiogroup")};
    // Kind nil: never skinned, not even by the built-in table.
    ControlFacts button = control("TButton");
    button.isPushButton = true;
    ControlDecision d = decideControlKind(button, s);
    EXPECT_EQ(d.source, RuleSource::Skin3rd);
    EXPECT_EQ(d.kind, SkinKind::None);
    // A kind whose flag is off: not skinned and the built-in table not asked.
    ControlFacts edit = control("TEdit");
    edit.isEditControl = true;
    s.controls.exclude(X::xcCombo);
    d = decideControlKind(edit, s);
    EXPECT_EQ(d.kind, SkinKind::None);
    EXPECT_EQ(d.source, RuleSource::Skin3rd);
    s.controls.include(X::xcCombo);
    EXPECT_EQ(decideControlKind(edit, s).kind, SkinKind::SkinComBox);

    d = decideControlKind(control("TPanel"), s);
    EXPECT_EQ(d.kind, SkinKind::SkinBox);
    EXPECT_TRUE(d.flag && d.setTransparent);

    d = decideControlKind(control("TMyGroup"), s);
    EXPECT_EQ(d.kind, SkinKind::SkinGroupBox);
    EXPECT_EQ(d.children, ChildRule::Fixed);
    EXPECT_EQ(d.childKind, SkinKind::SkinRadioButton);
    d = decideControlKind(control("TRzGroup"), s);
    EXPECT_EQ(d.childKind, SkinKind::SkinObjImage);
    EXPECT_EQ(d.childMode, 2);
    s.controls.exclude(X::xcRadioButton);
    EXPECT_EQ(decideControlKind(control("TMyGroup"), s).children, ChildRule::None);

    // The default table: a drop-down cx button is a menu button.
    ControlFacts cx = control("TcxButton");
    EXPECT_EQ(decideControlKind(cx, settings()).kind, SkinKind::SkinBitButton);
    cx.kindProperty = QStringLiteral("cxbkDropDownButton");
    EXPECT_EQ(decideControlKind(cx, settings()).kind, SkinKind::SkinMenuButton);
    // "edit" only for a control whose window and client rectangles differ.
    ControlFacts rz = control("TRzButtonEdit");
    EXPECT_EQ(decideControlKind(rz, settings()).kind, SkinKind::None);
    rz.windowDiffersFromClient = true;
    EXPECT_EQ(decideControlKind(rz, settings()).kind, SkinKind::SkinEdit);
}

TEST(BuiltInTable, PicksTheFirstMatchingRow) {
    const ControlSettings s = settings();
    auto kindOf = [&](ControlFacts c, const ControlSettings& with) {
        return decideControlKind(c, with).kind;
    };
    ControlFacts bit = control("TBitBtn");
    bit.isBitmapButton = bit.isPushButton = true;
    EXPECT_EQ(kindOf(bit, s), SkinKind::SkinBitButton);
    // Without xcBitBtn a bitmap button is not skinned as a plain button.
    ControlSettings noBitBtn = s;
    noBitBtn.controls.exclude(X::xcBitBtn);
    EXPECT_EQ(kindOf(bit, noBitBtn), SkinKind::None);

    ControlFacts memo = control("TMemo");
    memo.isMemo = memo.isEditControl = true;
    EXPECT_EQ(kindOf(memo, s), SkinKind::SkinScrollbar);
    ControlSettings noScroll = s;
    noScroll.controls.exclude(X::xcScrollbar);
    EXPECT_EQ(kindOf(memo, noScroll), SkinKind::SkinEdit) << "then it is an edit";

    ControlFacts pages = control("TPageControl");
    pages.isTabControl = pages.isPageControl = true;
    EXPECT_EQ(kindOf(pages, s), SkinKind::SkinTab);
    pages.tabStyleIsTabs = false;
    EXPECT_EQ(kindOf(pages, s), SkinKind::SkinTabBtn);
    ControlFacts tabs = control("TTabControl");
    tabs.isTabControl = true;
    ControlDecision d = decideControlKind(tabs, s);
    EXPECT_EQ(d.kind, SkinKind::SkinTab);
    EXPECT_EQ(d.mode, 2);
    ControlSettings noTabsElement = s;
    noTabsElement.hasTabsElement = false;
    EXPECT_EQ(kindOf(tabs, noTabsElement), SkinKind::None);

    ControlFacts picker = control("TDateTimePicker");
    picker.isDateTimePicker = true;
    EXPECT_EQ(kindOf(picker, s), SkinKind::SkinDateTime);
    picker.pickerShowsTimeOrUpDown = true;
    EXPECT_EQ(kindOf(picker, s), SkinKind::SkinEdit);

    ControlFacts group = control("TGroupBox");
    group.isGroupBox = true;
    d = decideControlKind(group, s);
    EXPECT_EQ(d.kind, SkinKind::SkinGroupBox);
    EXPECT_TRUE(d.children == ChildRule::Rules && d.childrenFirst);

    ControlFacts grid = control("TDBGrid");
    grid.isGrid = true;
    d = decideControlKind(grid, s);
    EXPECT_EQ(d.kind, SkinKind::SkinScrollbar);
    EXPECT_TRUE(d.attachScrolled);

    ControlFacts spin = control("TSpinEdit");
    spin.isEditControl = true;
    EXPECT_EQ(kindOf(spin, s), SkinKind::SkinEdit);
    ControlFacts status = control("TStatusBar");
    status.isStatusBar = true;
    EXPECT_EQ(kindOf(status, s), SkinKind::SkinStatusBar);

    // Row 28: a form inside a form is a box and its components follow.
    ControlFacts inner = control("TFrame1");
    inner.isForm = true;
    d = decideControlKind(inner, s);
    EXPECT_TRUE(d.kind == SkinKind::SkinBox && d.flag && d.ownedComponents);
    EXPECT_EQ(kindOf(control("TLabel"), s), SkinKind::None);
    // Row 29 by the number of buttons.
    ControlFacts dc = control("TDCEdit");
    dc.numButtons = 1;
    EXPECT_EQ(kindOf(dc, s), SkinKind::SkinComBox);
    dc.numButtons = 0;
    d = decideControlKind(dc, s);
    EXPECT_TRUE(d.kind == SkinKind::SkinEdit && d.byHandle);
    // The exclusions come before the table.
    ControlFacts eh = control("TDBComboBoxEh");
    eh.isComboBox = true;
    EXPECT_EQ(decideControlKind(eh, s).source, RuleSource::Exclusion);
    EXPECT_EQ(kindOf(eh, s), SkinKind::None);
}

TEST(BareWindows, DecidedByClassAndStyle) {
    const TSkinControlTypes all = TSkinData().SkinControls;
    auto kindOf = [&](const char* name, quint32 style) {
        return decideBareWindow(QString::fromLatin1(name), style, all).kind;
    };
    EXPECT_EQ(kindOf("Button", 0), SkinKind::SkinButton);
    EXPECT_EQ(kindOf("button", 1), SkinKind::SkinButton);
    for (quint32 check : {2u, 3u, 5u, 6u, 10u})
        EXPECT_EQ(kindOf("button", check), SkinKind::SkinCheckBox) << check;
    EXPECT_EQ(kindOf("button", 4), SkinKind::SkinRadioButton);
    EXPECT_EQ(kindOf("button", 9), SkinKind::SkinRadioButton);
    EXPECT_EQ(kindOf("button", 7), SkinKind::None);
    EXPECT_EQ(kindOf("button", 0xB), SkinKind::None);
    EXPECT_EQ(kindOf("button", 0x80), SkinKind::None);
    EXPECT_EQ(kindOf("ComboBox", 1), SkinKind::None) << "a simple combo box";
    EXPECT_EQ(kindOf("ComboBox", 2), SkinKind::SkinComBox);
    EXPECT_EQ(kindOf("ScrollBar", 0x10000), SkinKind::None);
    EXPECT_EQ(kindOf("ScrollBar", 0), SkinKind::SkinSizer);
    EXPECT_EQ(kindOf("SysTabControl32", 0x2000), SkinKind::None);
    EXPECT_EQ(kindOf("TButton", 0), SkinKind::SkinButton);
    EXPECT_EQ(kindOf("SysTreeView32", 0), SkinKind::None);
    const BareWindowDecision dialog = decideBareWindow(QStringLiteral("#32770"), 0, all);
    EXPECT_TRUE(dialog.children && dialog.kind == SkinKind::SkinBoxH);
    const BareWindowDecision panel = decideBareWindow(QStringLiteral("TPanel"), 0, all);
    EXPECT_TRUE(panel.children && panel.buttonFaceColour && panel.kind == SkinKind::None);
    TSkinControlTypes noButtons = all;
    noButtons.exclude(X::xcButton);
    EXPECT_EQ(decideBareWindow(QStringLiteral("button"), 0, noButtons).kind, SkinKind::None);
}
