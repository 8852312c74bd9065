#pragma once

#include "skin/data/skin_elements.h"

#include <QBrush>
#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class QIODevice;
class QLabel;
class QWidget;
class TQuickIni;
class TSkinReader;

namespace skin {

// A set of the members of an enumeration numbered from 0 (bit n is member n).
template <typename E> class EnumSet {
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> members) {
        for (E member : members)
            include(member);
    }
    static constexpr EnumSet fromBits(quint32 bits) {
        EnumSet set;
        set.mBits = bits;
        return set;
    }
    constexpr bool contains(E member) const { return mBits & bit(member); }
    constexpr void include(E member) { mBits |= bit(member); }
    constexpr void exclude(E member) { mBits &= ~bit(member); }
    constexpr quint32 bits() const { return mBits; }
    constexpr bool operator==(const EnumSet&) const = default;

private:
    static constexpr quint32 bit(E member) { return 1u << static_cast<int>(member); }
    quint32 mBits = 0;
};

enum class TSkinControlType {
    xcMainMenu,
    xcPopupMenu,
    xcMenuItem,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcSpin,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcTrackBar,
    xcSystemMenu,
    xcFastReport
};
using TSkinControlTypes = EnumSet<TSkinControlType>;

enum class TSkinOption {
    xoMDIScrollbar,
    xoMenuMerge,
    xoTransparent,
    xoPreview,
    xoParentBackGround,
    xoNoFocusRect,
    xoToolbarBK,
    xoToolbarButton,
    xoMDIChildBorder,
    xoMenuBG,
    xoCaptionButtonHint,
    xoFormScrollbar
};
using TSkinOptions = EnumSet<TSkinOption>;

enum class TSkinFormType { sfMainform = 0, sfOnlyThisForm = 1, sfDialog = 2, sfDLL = 3 };

// The skin elements that exist only when the description names their picture.
enum class SkinElement {
    Progress,
    ProgressChunk,
    MenuBar,
    GroupBoxEdge,
    GroupBox,
    Tabs,
    StatusBarEdges,
    TabPane,
    ToolBars,
    ComboButton,
    SunkEdge,
    ExtraImages,
    Headerbar,
    MenuItem,
    MenuBackground,
    Scrollbar,
    HorzScroll,
    VertScroll,
    HorzScrollThumb,
    VertScrollThumb,
    TrackbarThumbHorz,
    TrackbarThumbVert,
    TrackbarThumbLeft,
    TrackbarThumbRight,
    TrackbarThumbUp,
    TrackbarThumbDown,
    UpDownHorz,
    UpDownVert,
    Track,
    TrackVert,
    Count
};

// The colour table.
namespace colour {
constexpr int WindowText = 0, TitleTextActive = 1, TitleTextNoActive = 2, ButtonFace = 3,
              ButtonText = 4, ButtonHilight = 5, Buttonlight = 6, ButtonShadow = 7,
              ButtonDkShadow = 8, HilightText = 11, Hilight = 12, Menubar = 13, MenuBarText = 14,
              MenuText = 15, Menu = 16, Frame = 17, Scrollbar = 18, Count = 19;
}

// The skin data component: holds the packed skin a form carries, loads it into
// skin elements, colours and caption buttons, and tells the skin manager when
// skinning starts, stops or must be redone.
class TSkinData : public QObject {
    Q_OBJECT
public:
    using TOnFormSkin = std::function<void(TSkinData* sender, const QString& name, bool& doSkin)>;
    using TNotifyEvent = std::function<void(TSkinData* sender)>;

    explicit TSkinData(QObject* owner = nullptr,
                       TSkinFormType formType = TSkinFormType::sfMainform);
    ~TSkinData() override;

    // ---- published properties
    bool Active() const { return mActive; }
    void SetActive(bool value);
    qint32 DisableTag = 99;
    TSkinControlTypes SkinControls;
    TSkinOptions Options{TSkinOption::xoPreview, TSkinOption::xoToolbarBK,
                         TSkinOption::xoCaptionButtonHint};
    QStringList Skin3rd;
    QString SkinFile() const { return mSkinFile; }
    void SetSkinFile(const QString& name);
    QString SkinStore() const;
    void SetSkinStore(const QString&) {} // read-only indicator
    TSkinFormType SkinFormtype = TSkinFormType::sfMainform;
    QString Version() const { return QStringLiteral("5.40.07.15"); }
    void SetVersion(const QString&) {} // the version is fixed
    bool MenuUpdate = true;
    bool MenuMerge = false;
    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    // Asked for each control of a skinned form before the decision tables;
    // a skin object left in `skinnedControl` takes the control over.
    using TOnSkinControl =
        std::function<void(QObject* sender, TSkinData* skinData, QWidget* form, QWidget* control,
                           const QString& controlClass, QObject*& skinnedControl)>;
    TOnSkinControl OnSkinControl;
    // (Sender: the framework form, or null for a bare window; the window; its
    // class name). Before: a framework form is about to be set up. After: a
    // skinned window has finished its set-up, or a form was skinned afresh.
    using TOnSkinForm =
        std::function<void(QObject* sender, QWidget* window, const QString& className)>;
    TOnSkinForm OnBeforeSkinForm;
    TOnSkinForm OnAfterSkinForm;

    // The default class-to-kind lines of Skin3rd.
    static QStringList defaultSkin3rd();

    // ---- the form's reading and writing
    // While the form is read, setting Active only stores it and reading
    // SkinStream loads the package; Loaded ends the reading.
    void beginReading() { mReading = true; }
    void Loaded();
    bool reading() const { return mReading; }
    // At design time nothing is loaded and SkinStore reports the package.
    void setDesigning(bool designing) { mDesigning = designing; }

    // SkinStream: a signed 32-bit little-endian length and that many bytes.
    void readSkinStream(QIODevice& stream);
    // The stored package as read: kept and, unless designing, loaded.
    void setSkinStream(const QByteArray& packed);
    void writeSkinStream(QIODevice& stream) const;
    // The packed package as the form holds it.
    const QByteArray& packedPackage() const { return mPacked; }

    // Loads the packed package into elements; false when it is not a skin
    // package this program reads (the previous elements stay).
    bool LoadPackage();
    bool skinLoaded() const { return !mNotLoaded; }

    // ---- what the skin manager asks
    // The veto per window class: true to skin the window.
    void FormSkin(QWidget* window, const QString& className, bool& doSkin);
    QWidget* lastVetoWindow() const { return mLastVetoWindow; }
    void SkinChanged();
    // Caption-button hint: shown at the rectangle's top-left (screen position).
    void ShowCaptionHint(const QRect& rect, const QString& text);
    void HideCaptionHint();
    bool captionHintShown() const { return mHintShown; }
    QWidget* captionHintWindow() const;

    // ---- the loaded skin
    QString skinName() const { return mSkinName; }
    SkinColor colour(int index) const { return mColours[index]; }
    bool colourGiven(int index) const { return mColourGiven[index]; }
    const std::vector<SkinColor>& extraColours() const { return mExtraColours; }
    const std::array<SkinColor, 10>& customColours() const { return mCustomColours; }
    const QBrush& buttonFaceBrush() const { return mButtonFaceBrush; }
    const QFont& captionFont() const { return mCaptionFont; }
    const QImage& applicationIcon() const { return mApplicationIcon; }
    // The four 16 × 16 menu glyphs (restore, maximize, minimize, close) side by
    // side, black on white.
    const QImage& menuGlyphs() const { return mMenuGlyphs; }
    static QImage drawMenuGlyphs();

    TDataSkinBorder* border(int side) const {
        return mBorders[side].get();
    } // Left, Right, Top, Bottom
    enum BorderSide { Left = 0, Right = 1, Top = 2, Bottom = 3 };
    TDataSkinButton* buttons() const { return mButtons.get(); }
    TDataSkinTitle* title() const { return mTitle.get(); }
    const std::vector<std::unique_ptr<TDataSkinSysButton>>& captionButtons() const {
        return mCaptionButtons;
    }
    // An element, or null when the skin has none.
    TDataSkinObject* element(SkinElement which) const {
        return mElements[static_cast<int>(which)].get();
    }
    TDataSkinBorder* borderElement(SkinElement which) const;
    TDataSkinBoxLabel* groupBox() const;
    TDataSkinObject* comboxArrow() const { return mComboxArrow.get(); }
    TDataSkinObject* toolbar() const { return mToolbar.get(); }

    // The horizontal scroll bar's arrow width: the 17 pixels skins are drawn
    // for, not the style's own (Fusion's bars are 14 wide).
    static int scrollArrowWidth();

private:
    void readElements(const TSkinReader& reader, const TQuickIni& ini);
    void readColours(const TQuickIni& ini, const QStringList& sections);
    void readCaptionButtons(const TSkinReader& reader, const TQuickIni& ini,
                            const QStringList& sections);
    void readButtons(const TSkinReader& reader, const TQuickIni& ini);
    void readTitle(const TSkinReader& reader, const TQuickIni& ini);
    void makeCombo();
    void makeComboxArrow();
    void makeToolbar();
    SkinColor frameColour() const;
    void makeApplicationIcon();
    void makeCaptionFont();

    bool mActive = false;
    QString mSkinFile;
    bool mReading = false;
    bool mDesigning = false;
    bool mNotLoaded = true;
    QByteArray mPacked;

    QString mSkinName;
    std::array<SkinColor, colour::Count> mColours{};
    std::array<bool, colour::Count> mColourGiven{};
    std::vector<SkinColor> mExtraColours;
    std::array<SkinColor, 10> mCustomColours{};
    QBrush mButtonFaceBrush;
    QFont mCaptionFont;
    QImage mApplicationIcon;
    QImage mMenuGlyphs;
    QPointer<QLabel> mHint;
    bool mHintShown = false;
    QWidget* mLastVetoWindow = nullptr;

    std::array<std::unique_ptr<TDataSkinBorder>, 4> mBorders;
    std::unique_ptr<TDataSkinButton> mButtons;
    std::unique_ptr<TDataSkinTitle> mTitle;
    std::vector<std::unique_ptr<TDataSkinSysButton>> mCaptionButtons;
    std::array<std::unique_ptr<TDataSkinObject>, static_cast<int>(SkinElement::Count)> mElements;
    std::unique_ptr<TDataSkinObject> mComboxArrow;
    std::unique_ptr<TDataSkinObject> mToolbar;
};

// Loads a bitmap of the package by name: only the name after the last path
// separator counts, and only names ending in ".bmp" (lowercase) are read. A
// missing entry or another name gives an empty picture. The result is 32-bit.
QImage LoadSkinBitmap(const TSkinReader& reader, const QString& name);

// The two pictures the program has for a skin without a track element.
QImage TrackBitmap();
QImage TrackVertBitmap();

// Optional functions of the platform the skin engine asks about. On this
// platform every one is there.
namespace optional {
bool hasGetScrollBarInfo();
bool hasTrackMouseEvent();
bool hasGetComboBoxInfo();
bool hasDisableProcessWindowsGhosting();

// Which scroll bar of a window is asked about.
constexpr int ObjIdHScroll = -6, ObjIdVScroll = -5, ObjIdClient = -4;

// Where a scroll bar and its parts are: the bar in screen coordinates, the
// length of one arrow button and the thumb's ends along the bar (from the
// bar's start).
struct ScrollBarInfo {
    QRect bar;
    int lineButton = 0;
    int thumbTop = 0;
    int thumbBottom = 0;
    bool visible = false;
    bool enabled = false;
};

// The horizontal or vertical bar of a scrolled widget, or (ObjIdClient) the
// scroll bar widget itself. False when the window has no such bar.
bool GetScrollBarInfo(QWidget* window, int objectId, ScrollBarInfo& info);
} // namespace optional

} // namespace skin
