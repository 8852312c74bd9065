#pragma once

#include "skin/data/skin_data.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// The skin manager's decisions as plain functions over facts: whether a window
// gets a skinned frame and which skin data it uses, and which skin kind takes
// over a control. No window is needed to ask them.
namespace skin {

// ---------------------------------------------------------------- Skin window

// What Skin window reads about the window p.
struct SkinWindowFacts {
    bool skinningOn = false;
    bool answersSkinned = false; // p answers SM_ISSKINNED with 1
    bool alreadyListed = false;  // p is in the skinned forms
    bool hasFrameworkObject = false;
    bool bulk = false;
    bool child = false;    // WS_CHILD
    bool mdiChild = false; // WS_EX_MDICHILD
    QString parentClass;
    bool ownModule = true; // p belongs to the program's module
    QString className;
    bool zeroArea = false;
    int frameworkTag = 0; // Tag of the framework object
    quint32 style = 0;
};

// What Skin window reads about one registered skin data component.
struct SkinDataFacts {
    TSkinFormType formType = TSkinFormType::sfMainform;
    bool ownerFormIsWindow = false; // its owner form's window is p
    bool loaded = false;
};

// The step at which Skin window leaves the window alone (Accepted when all
// twelve pass).
enum class SkinWindowStep {
    Accepted = 0,
    SkinningOff = 1,
    AlreadySkinned = 2,
    PlainChild = 4,
    NotOurs = 5,
    ZeroArea = 6,
    Tag99 = 7,
    ExcludedClass = 8,
    ClassVeto = 9,
    NoSkinData = 10,
    NotLoaded = 11,
};

struct SkinWindowDecision {
    SkinWindowStep step = SkinWindowStep::Accepted;
    int skinData = -1; // index into the registered components
    bool accepted() const { return step == SkinWindowStep::Accepted; }
};

// The main skin data's part of step 9: its Options and its window-class veto
// (true to skin). Without a main skin data step 9 asks nothing.
struct MainSkinDataVeto {
    TSkinOptions options;
    std::function<bool(const QString& className)> formSkin;
};

// Steps 1 to 11 of Skin window; step 3 (finding the framework object) is the
// caller's and arrives as `hasFrameworkObject`.
SkinWindowDecision decideSkinWindow(const SkinWindowFacts& facts,
                                    const std::vector<SkinDataFacts>& registered,
                                    const std::optional<MainSkinDataVeto>& mainData);

// Step 10 alone: the component for the window, or -1.
int chooseSkinData(const QString& className, const std::vector<SkinDataFacts>& registered);

// ---------------------------------------------------------------- control kinds

// The skin kinds of the decision tables.
enum class SkinKind {
    None,
    SkinComBox,
    SkinEdit,
    SkinRadioButton,
    SkinCheckBox,
    SkinBox,
    SkinBoxH,
    SkinTrackBar,
    SkinButton,
    SkinBitButton,
    SkinSpeedButton,
    SkinMenuButton,
    SkinDateTime,
    SkinMP,
    SkinTab,
    SkinTab31,
    SkinTabBtn,
    SkinTabSheet,
    SkinProgress,
    SkinScrollbar,
    SkinGroupBox,
    SkinAdvPage,
    SkinObjImage,
    SkinUpDown,
    SkinStatusBar,
    SkinSizer,
    PopupMenu, // a popup menu handed to the menu skinning
};

// The class name of a kind ("TSkinButton"), for records and tests.
QString skinKindName(SkinKind kind);

// What the rules read about one control c.
struct ControlFacts {
    QString className; // as the class table gives it; N is its upper case
    bool windowed = true;
    bool isForm = false;
    bool hasScrollBars = false;           // WS_HSCROLL or WS_VSCROLL
    bool windowDiffersFromClient = false; // the window and client rectangles differ in size
    QString kindProperty;                 // the property "Kind"
    int numButtons = -1;                  // the integer property "NumButtons"
    // What c's class is or descends from.
    bool isTabControl = false;
    bool isPageControl = false;
    bool tabStyleIsTabs = true;
    bool isTabSheet = false;
    bool isGroupBox = false;
    bool isStatusBar = false;
    bool isComboBox = false;
    bool isDateTimePicker = false;
    bool pickerShowsTimeOrUpDown = false;
    bool isBitmapButton = false;
    bool isSpeedButton = false;
    bool isPanel = false;
    bool isMemo = false;
    bool isGrid = false;
    bool isListBox = false;
    bool isPushButton = false;
    bool isEditControl = false;
};

// What the skin data offers the rules.
struct ControlSettings {
    TSkinControlTypes controls;
    QStringList skin3rd;
    bool hasTabsElement = false;
};

// Where a decision came from.
enum class RuleSource {
    Skin3rd,
    Exclusion,
    BuiltIn,
    NoRow,
    DisableTag, // rule 1: Tag equals DisableTag
    NoParent,   // rule 2
    Handler,    // rule 4: the OnSkinControl event gave the object
    BareWindow, // the rules for the child windows of a bare window
};

// What to do with each child of c, when the rule says so.
enum class ChildRule {
    None,
    Rules,        // apply all rules to each child with c as container
    Fixed,        // each child becomes `childKind`
    OnlyScrolled, // each child that has scroll bars becomes `childKind`
};

struct ControlDecision {
    RuleSource source = RuleSource::NoRow;
    SkinKind kind = SkinKind::None;
    int mode = 0;
    bool flag = false;           // the adopt-colour flag of Attach
    bool extended = false;       // comboboxex
    bool pngImage = false;       // glyph from the property "PngImage"
    bool setTransparent = false; // set the property "Transparent" to "True" first
    bool byHandle = false;       // attached with AttachHandle
    bool attachScrolled = false;
    ChildRule children = ChildRule::None;
    bool childrenFirst = false; // children before c itself
    SkinKind childKind = SkinKind::None;
    int childMode = 0;
    bool childFlag = false;
    bool ownedComponents = false; // a form: every component it owns, and its popup menus
};

// The kind text of the first Skin3rd line for the class ("class=kind"),
// lowercased and cut at 50 characters; nothing when no line names the class.
std::optional<QString> lookupSkin3rd(const QStringList& lines, const QString& className);

// Rules 5 to 7: Skin3rd, the exclusions and the built-in table.
ControlDecision decideControlKind(const ControlFacts& facts, const ControlSettings& settings);

// ---------------------------------------------------------------- bare windows

struct BareWindowDecision {
    SkinKind kind = SkinKind::None;
    bool children = false;         // decide its child windows by these rules first
    bool buttonFaceColour = false; // its framework control gets the ButtonFace colour
    bool topChild = false;         // the decision is for its topmost child window
};

// The rules for a child window of a skinned bare window, by lowercased class
// name and style.
BareWindowDecision decideBareWindow(const QString& className, quint32 style,
                                    TSkinControlTypes controls);

} // namespace skin
