#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

// The skinned frame of a top-level window as plain arithmetic: its sizes from
// the skin's four borders, where client, caption and menu band lie, what the
// mouse is over, the outline cut from transparent border pixels, and the
// non-client objects (caption and menu-bar buttons) with their states.
namespace skin {

class TSkinData;
class TDataSkinBorder;

// Border styles of a skinned window.
enum BorderStyle { BorderSizeable = 0, BorderSingle = 1, BorderNone = 2, BorderDialog = 3 };
// Window states as the frame keeps them.
enum WindowState { WindowNormal = 0, WindowMaximized = 1, WindowMinimized = 2 };
// Frame states of a TWinSkinForm.
enum FrameState {
    FrameNew = 0,
    FrameSkinned = 1,
    FrameReskinning = 3,
    FrameDestroying = 4,
    FrameResizing = 5,
    FrameClosed = 6
};

// What the frame's decisions read from its window. The plumbing fills it from
// the widget when the form is set up and keeps state and active up to date.
struct FrameWindow {
    QSize size;    // the whole window, frame included
    QString title; // the window text
    bool active = true;
    int borderStyle = BorderSizeable;
    int windowState = WindowNormal;
    bool maximizeBox = false;
    bool minimizeBox = false;
    bool contextHelp = false;
    bool systemMenu = false;
    bool rightToLeft = false;
    bool popup = false;        // a pop-up window (clips its caption text at the buttons)
    bool systemDialog = false; // a message box or another of the platform's dialogs
    int menuBarHeight = 0;     // the menu height when the window has a skinned menu bar

    bool maximized() const { return windowState == WindowMaximized; }
    bool minimized() const { return windowState == WindowMinimized; }
};

// The frame's widths and heights around the client area.
struct FrameSizes {
    int left = 0;
    int top = 0; // the caption height
    int right = 0;
    int bottom = 0;
    int menuBar = 0;

    // The client area's distance from the window's edges (the contents margins).
    QMargins margins() const { return {left, top + menuBar, right, bottom}; }
    bool operator==(const FrameSizes&) const = default;
};

// The frame of a window with the given border style: every size from the
// border images (side borders hold their frames side by side, top and bottom
// stacked), the menu band as high as `menuBarHeight`. A window without a
// border (style 2), or a skin that is not loaded, has no frame at all.
FrameSizes FrameGeometry(const TSkinData& data, int borderStyle, int menuBarHeight);

// The window size that keeps a client area of `client` inside the frame.
QSize FramedSize(QSize client, const FrameSizes& frame);

// Rectangles in window coordinates (x, y, width, height).
QRect ClientRect(QSize window, const FrameSizes& frame);
// Where the caption is drawn: between the side borders, or across the whole
// width for a minimized window.
QRect CaptionRect(QSize window, const FrameSizes& frame, bool minimized);
// The menu band under the caption (empty without a menu bar).
QRect MenuBandRect(QSize window, const FrameSizes& frame);
// Where the Left, Right, Top and Bottom borders (TSkinData::BorderSide) are drawn.
QRect BorderRect(int side, QSize window, const FrameSizes& frame);

// The frame of a border to draw: the first when the window is active or the
// border has one frame only, else the second.
int BorderFrame(const TDataSkinBorder& border, bool active);

// Hit-test answers, with the values the window system gives them.
namespace ht {
constexpr int Nowhere = 0, Client = 1, Caption = 2, SysMenu = 3, Menu = 5, Left = 10, Right = 11,
              Top = 12, TopLeft = 13, TopRight = 14, Bottom = 15, BottomLeft = 16, BottomRight = 17,
              Border = 18;
} // namespace ht

// The answer a window without the skin would give at a point (window
// coordinates): the client area; on the side and bottom borders and the top 4
// rows the sizing edges of a sizeable window in its normal state (corners 16
// pixels along each edge), the fixed border of any other; else nowhere.
int DefaultHitTest(QPoint point, QSize window, const FrameSizes& frame, int borderStyle,
                   int windowState);

// The skinned frame's answer: when the first answer is nowhere or the caption,
// a point below the top 4 rows is on the caption, and below the caption, when
// there is a menu band, on the menu. Every other first answer stays.
int FrameHitTest(int firstAnswer, QPoint point, const FrameSizes& frame);

// The window's outline: the whole window when no border is transparent;
// otherwise the client area plus, for each border, its rectangle or (when it
// is transparent) its pixels as painted in the active or inactive frame that
// are not magenta. Null for a window of no area. The outline depends on the
// size and on the active state, so it is rebuilt when either changes.
QRegion WindowRegion(const TSkinData& data, const FrameWindow& window, const FrameSizes& frame);

// The outline to hand to a window system that scales it by `scale` itself,
// rounding each rectangle's corners to the nearest device pixel: a rectangle
// whose right (bottom) edge would so be rounded past the last device pixel
// painted for it (painting takes a device pixel from the logical pixel under
// its centre) loses its last column (row). Edges on the window's own edges
// stay: the window ends there. Without this, at 1.5 a device pixel outside
// the painted outline would show the window's background.
QRegion OutlineForScale(const QRegion& outline, qreal scale, QSize window);

// The window's geometry when the edges of a sizing drag (none: a move) have
// gone `delta` from where they were at `start`: a moved edge stops where the
// size would leave its minimum or maximum, the opposite edge stays.
QRect DraggedGeometry(const QRect& start, Qt::Edges edges, QPoint delta, QSize minimum,
                      QSize maximum);

// Moving or sizing a window by the keyboard, as the system menu's move and
// size commands start it: every arrow key moves the window, or the edge being
// sized, by KeyboardStep pixels; sizing takes the edge of its first arrow key
// (left, right, top or bottom) and keeps it.
struct KeyboardSizing {
    static constexpr int KeyboardStep = 8;
    bool sizing = false;
    Qt::Edges edges;
    QRect start;    // where it began; Escape goes back there
    QRect geometry; // where the window is now
};
// One key of the loop. True for an arrow key, which changes `geometry`.
bool KeyboardSizingStep(KeyboardSizing& sizing, int key, QSize minimum, QSize maximum);

class TNCObject;

// What a non-client object needs of the frame it lives in.
class NCObjectHost {
public:
    virtual ~NCObjectHost() = default;
    // The object under the mouse (at most one), or null.
    TNCObject* hotObject() const { return mHot; }
    void setHotObject(TNCObject* object) { mHot = object; }
    // Paints the object in its current state now.
    virtual void paintObject(TNCObject& object) = 0;
    // Hides the caption-button hint and starts its pause anew.
    virtual void hideCaptionHint() = 0;

private:
    TNCObject* mHot = nullptr;
};

// An object drawn in the non-client area: a caption button or a menu-bar
// button. Pressing, hovering and leaving move it between its states and the
// frame's one hot object.
class TNCObject {
public:
    enum State { Normal = 1, Pressed = 2, MouseOver = 3 };

    explicit TNCObject(NCObjectHost& owner) : mOwner(owner) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    // Another hot object leaves; a visible one becomes hot and pressed.
    virtual void Press();
    // A visible object shows the mouse over it again.
    virtual void Release();
    // Another hot object leaves; a visible object that is not yet hot becomes hot.
    virtual void Hover();
    // A visible object is no longer hot: normal again, and the hint goes.
    virtual void Leave();
    virtual void Paint();

    NCObjectHost& owner() const { return mOwner; }

    QRect rect; // window coordinates
    bool visible = false;
    int state = Normal;
    bool enabled = true;

private:
    NCObjectHost& mOwner;
};

} // namespace skin
