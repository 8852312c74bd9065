#pragma once

#include "skin/engine/controls/skin_control.h"
#include "skin/engine/frame/caption_layout.h"
#include "skin/engine/frame/form_frame_geometry.h"
#include "skin/engine/manager/control_rules.h"
#include "skin/engine/manager/message.h"

#include <QElapsedTimer>
#include <QList>
#include <QMargins>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QMouseEvent;
class QPainter;

namespace skin {

class TSkinControl;
class TSkinData;
class TWinSkinMenu;

// One skinned window: the window, its skin data, the frame state, the set-up
// it was given, the list of its skin objects and the control kinds decided for
// it, and the skinned frame. The frame replaces the window's native
// decoration: the window becomes frameless, its client area keeps its size
// inside contents margins as wide as the frame, and the frame (borders,
// caption, caption buttons, menu bar) is painted into those margins after the
// window's own paint. Mouse events in the margins are hit-tested here: caption
// buttons, moving and resizing, the system menu.
class TWinSkinForm : public QObject, public NCObjectHost {
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
    // window answers no more; its decoration, margins, colour, native menu bar
    // and outer size come back so that the client area is unchanged.
    void Unskin();
    // The same for a window being destroyed: nothing of it is restored.
    void Release();
    // The manager's requests 3: caption buttons and geometry again, repaint.
    void RefreshSkinObjects();
    // SM_REFRESHFORM: the skin applied to the form afresh: the skin's colour
    // on the form, the forms it owns and its grids' fixed cells, the skin
    // objects told, the menu bar built again, the frame re-measured around
    // the same client area and the form laid out again.
    void RefreshForm();
    // The dialog character of a key with Alt that no widget of the window
    // took: a bar button with that accelerator opens its menu; otherwise a
    // window that is neither the main form nor modal passes it on to the main
    // form, where the form's own controls with that accelerator come before
    // its bar. True when the character was taken.
    bool DialogChar(QChar key, bool passedOn = false);
    void Repaint();

    // ---- the skin objects
    const QList<QPointer<TSkinControl>>& skinObjects() const { return mSkinObjects; }
    void addSkinObject(TSkinControl* object);
    void removeSkinObject(TSkinControl* object);
    TSkinControl* skinObjectFor(const QWidget* control) const;
    // Frees the objects whose window was destroyed (SkinState 6).
    void freeReleasedObjects();
    // SM_RESKIN: a scrolled control replaced a window the skin drew on (one
    // of its scroll bars). The last object on `handle` goes, and a new
    // scroll-bar object is made for the same control and attached.
    void Reskin(const QWidget* handle);

    // ---- the control kinds decided for this form
    struct DecidedControl {
        QPointer<QWidget> control;
        ControlDecision decision;
        bool built = false; // a skin object of that kind was made
    };
    const std::vector<DecidedControl>& decided() const { return mDecided; }
    const DecidedControl* decisionFor(const QWidget* control) const;
    void recordDecision(QWidget* control, const ControlDecision& decision, bool built);

    // Finishes the set-up (SM_SKININIT): the controls get their kinds and the
    // window gets its frame.
    void finishSetup();

    // ---- the frame
    // The frame is on the window: set up, resized and not being re-made.
    bool frameShown() const;
    // Frame skinning is on (the skin data skins main menus and is loaded).
    bool frameSkinning() const { return mFrameSkinning; }
    const FrameSizes& frameSizes() const { return mFrame; }
    // The window as the frame's decisions see it now.
    FrameWindow frameWindow() const;
    int windowState() const { return mWindowState; }
    bool active() const { return mActive; }
    int borderStyle() const { return mBorderStyle; }
    const CaptionButtons& captionButtons() const { return mButtons; }
    const CaptionLayout& captionLayout() const { return mLayout; }
    TWinSkinMenu* skinMenu() const { return mMenu.get(); }
    // The window's outline as last set (empty when none is set).
    const QRegion& region() const { return mRegion; }
    // Hit-test answer at a point in window coordinates.
    int HitTest(QPoint point) const;
    // The visible caption button (Action 0 or more) or menu-bar button at a
    // point in window coordinates, or null.
    TNCObject* ObjectAt(QPoint point) const;
    // Window state changes asked by the caption buttons and double clicks.
    void Maximize();
    void Restore();
    void Minimize();
    // Runs what a released caption button asks for; `at` is the click point
    // in window coordinates.
    void RunAction(TWinSysButton& button, QPoint at);
    // The skinned system menu at a screen point (a second request within the
    // double-click time over a hot object closes the window instead).
    void ShowSystemMenu(QPoint globalPos);
    QMenu* systemMenu() const;
    // Recomputes the window region from the frame as painted now.
    void UpdateRegion();
    // Paints the frame into the window's margins (the painter is on the window).
    void PaintFrame(QPainter& painter);
    // The keyboard menu command: Alt alone, F10 (a null character) and Alt
    // with a caption's accelerator open a bar menu, Alt with a space the
    // system menu at the client area's top-left corner. True when it did.
    bool KeyMenu(QChar key);
    // The hover timer's tick: leaves, hint pause, hint.
    void HoverTimer();
    bool hoverTimerRunning() const { return mHoverTimer.isActive(); }
    HintCounter& hintCounter() { return mHint; }

    // ---- NCObjectHost
    void paintObject(TNCObject& object) override;
    void hideCaptionHint() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void commonSetup();
    void readWindowFacts();
    void rebuildCaptionButtons();
    void relayoutCaption();
    void stripDecoration();
    void restoreDecoration();
    void resizeForFrame();
    void restoreFrameSize();
    void followWindowState();
    void setActive(bool active);
    bool frameEvent(QEvent* event);
    bool paintEvent(QEvent* event);
    bool mousePress(QMouseEvent* event);
    bool mouseMove(QMouseEvent* event);
    bool mouseRelease(QMouseEvent* event);
    bool mouseDoubleClick(QMouseEvent* event);
    void moveOrResizeFromMouse(QPoint globalPos);
    void runCommand(CaptionCommand command, TWinSysButton* button, QPoint at);
    bool systemMenuEvent(QMenu* menu, QEvent* event);
    // A system dialog is widened until its caption fits its title, once its
    // own layout has fixed its size.
    void widenForCaption();
    void toggleState(int state);
    bool mWidenPending = false;
    int mCaptionExtra = 0; // the width added for the caption
    void releaseFrame();
    void fireAfterSkinForm();
    void setFormColour();
    // The outer size; a fixed size is fixed again at it.
    void sizeWindow(QSize size);
    // The skin's button face as the background colour of a window the
    // refresh reaches; lent, and given back on unskin, unless the window's
    // own skinned frame keeps its colour.
    void lendColour(QWidget* widget, const QColor& colour, bool fixedCells);
    // Hands over what a refresh lent this window before it was skinned itself.
    bool takeLentPalette(const QWidget* widget, SavedPalette& saved);

    // Saved at set-up and given back on unskin.
    struct Saved {
        Qt::WindowFlags flags;
        QMargins margins;
        bool autoFill = false;
        bool mouseTracking = false;
        bool fixedSize = false;
        bool menuBarShown = false;
        int nativeMenuHeight = 0;     // the native menu bar's share of the window's height
        std::optional<QPoint> centre; // of a window skinned on the screen, with its decoration
    } mSaved;
    SavedPalette mSavedPalette;
    bool mPaletteSet = false;
    struct Lent {
        QPointer<QWidget> widget;
        SavedPalette saved;
    };
    std::vector<Lent> mLent;
    bool mFrameSkinning = false;
    bool mSetupDone = false; // SM_SKININIT has run
    bool mDecorationStripped = false;
    bool mResized = false;
    int mBorderStyle = BorderSizeable;
    int mWindowState = WindowNormal;
    bool mActive = false;
    bool mMaximizeBox = false, mMinimizeBox = false, mContextHelp = false, mSystemMenuBox = false;
    bool mRightToLeft = false, mPopup = false, mSystemDialog = false;
    FrameSizes mFrame;
    CaptionButtons mButtons;
    CaptionLayout mLayout;
    QImage mIconBitmap;
    QTimer mHoverTimer;
    HintCounter mHint;
    QRegion mRegion;
    QSize mLastRegionSize;
    bool mLastRegionActive = false;
    QPointer<QMenuBar> mMenuBar;
    std::unique_ptr<TWinSkinMenu> mMenu;
    std::unique_ptr<QObject> mKeyWatch; // the keyboard menu command's key filter
    QPointer<QMenu> mSystemMenu;
    QElapsedTimer mLastSystemMenu;
    bool mCursorSet = false;
    // A press in the caption or on a sizing edge, waiting for the first move.
    struct Drag {
        int hit = ht::Nowhere;
        bool started = false;
        bool byFrame = false; // the window system would not do it
        QPoint pressGlobal;
        QRect startGeometry;
        QPoint startPosition;
    } mDrag;
    // The system menu's move and size by the keyboard, while it runs.
    std::optional<KeyboardSizing> mKeySizing;
    void startKeyboardSizing(bool size);
    bool keyboardSizingEvent(QEvent* event);
    void endKeyboardSizing(bool keep);

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
