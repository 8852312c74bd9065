#pragma once

#include "skin/data/bitmap_utils.h"
#include "skin/engine/manager/handler_scope.h"
#include "skin/engine/manager/message.h"

#include <QImage>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

class QPaintDevice;
class QPainter;

namespace skin {

class TSkinData;
class TWinSkinForm;

// DrawText flags the helpers take.
namespace dt {
constexpr int Left = 0x0, Center = 0x1, Right = 0x2, VCenter = 0x4, Bottom = 0x8, WordBreak = 0x10,
              SingleLine = 0x20, ExpandTabs = 0x40, NoClip = 0x100, CalcRect = 0x400,
              NoPrefix = 0x800, EndEllipsis = 0x8000, RtlReading = 0x20000;
}

// Indexes of WindowLong.
constexpr int GWL_STYLE = -16, GWL_EXSTYLE = -20;

// Pictures of equal size, as an image list holds them.
struct TImageList {
    QSize size;
    std::vector<QImage> images;
};

// The base of every skin object: it sits on one control as an event filter,
// looks at each message before (BeforeMessage) and after (AfterMessage) the
// control's own handling, and draws the control from the skin. It is a child
// of the control it skins (a bare window's object is a child of the form
// frame) and its destructor never touches the control.
//
// The control's own handler: for paint, resize and private messages the
// filter runs the control's event() itself, so that AfterMessage sees its
// result; every other event goes on after AfterMessage to the program's own
// event filters and the control, exactly as without the skin.
class TSkinControl : public QObject {
    Q_OBJECT
public:
    explicit TSkinControl(QObject* owner);
    ~TSkinControl() override;

    // ---- fields, in their order
    quint8 MouseState = 0; // bit 0 mouse over, bit 1 pressed
    QPaintDevice* FormCanvas = nullptr;
    bool Enabled = false;
    bool Focused = false;
    QString Caption;
    bool ObjectInstance = false; // the filter sits on a bare window
    bool OldWndProc = false;     // the bare window's own handling is kept behind the filter
    bool Active = true;
    bool UnicodeWindow = false;
    QPointer<TSkinData> SkinData;
    QPointer<QWidget> Handle;
    bool OldWindowProc = false; // the framework control's own handling is kept behind the filter
    QPointer<QWidget> Control;
    QRect WindowRect; // screen rectangle, stored by PaintWindow and HandlePaint
    QPointer<QWidget> GraphicControl;
    bool AdoptColor = false;
    SkinColor SavedColor = 0;
    bool Attached = false;
    qint32 SkinState = 0; // 0 created, 1 attached, 6 window destroyed
    QPointer<TWinSkinForm> Form;
    qint32 Mode = 0;
    bool ParentBackgroundTaken = false;

    // ---- virtual operations
    virtual void Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                        QPaintDevice* formCanvas);
    virtual void AttachHandle(QWidget* handle, TSkinData* skinData, TWinSkinForm* form,
                              QPaintDevice* formCanvas);
    virtual void Unskin();
    virtual bool BeforeMessage(Message& message);
    virtual void AfterMessage(Message& message);
    // Paints the whole window; a null painter paints the window itself (only
    // during its paint; otherwise the window is scheduled for a repaint).
    virtual void PaintWindow(QPainter* dc);
    virtual void PaintSkin(QPainter& dc, const QRect& rect);
    virtual void SkinChanged();
    virtual bool IsSkinnable() { return true; }

    // ---- helpers for the kinds
    // Hands the message to the control's own handler (once per message).
    void CallOriginal(Message& message);
    void Redraw();
    SkinColor ParentColor(SkinColor defaultColour) const;
    static void FillColor(QPainter& dc, const QRect& rect, SkinColor colour);
    void FillSkinColor(QPainter& dc, const QRect& rect) const;
    void FillParentColor(QPainter& dc, const QRect& rect) const;
    // GWL_STYLE or GWL_EXSTYLE of the window, from its window facts.
    static quint32 WindowLong(const QWidget* handle, int index);
    void DrawCaptionFocus(QPainter& dc, int flags, const QRect& rect) const;
    // Runs the control's mouse-down with the left button; answers the position
    // used (from the cursor for controls wider or higher than 32768 pixels).
    QPoint ForwardMouseDown(const Message& message);
    void SwitchParentBackground(bool take);
    // Mouse tracking for kinds with a mouse-over state: the mouse entering
    // or moving over the enabled window sets MouseState bit 0, leaving it
    // (WM_MOUSELEAVE, or CM_MOUSELEAVE from the form) clears bits 0 and 1;
    // each change redraws once. Qt tells every widget when the mouse leaves.
    void TrackMouse(const Message& message);
    // The skin colour: the skin's ButtonFace.
    SkinColor skinColour() const;
    // True while the control's palette and ParentBackground are the skin's.
    bool colourTaken() const { return mColourTaken; }

    // The skin object that sits on a widget, or null.
    static TSkinControl* skinObjectOf(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A deferred delete that arrives while one of this object's handlers is
    // on the stack (a modal box opened from a click runs the event loop) is
    // kept until the outermost handler has returned.
    bool event(QEvent* event) override;
    // The message dispatch: SM_SETACTIVE, then BeforeMessage, the control's
    // own handling and AfterMessage. True when the event must not go on.
    bool SkinWndProc(Message& message);
    bool inPaint() const { return mInPaint; }

private:
    void takeOver(QWidget* handle);
    void handleDestroyed();
    void setActive(bool active);
    void takeColour();
    void giveColourBack();

    bool mColourTaken = false;
    bool mInPaint = false;
    DeleteHold mDeleteHold;
    bool mHandleDying = false;
    QPalette mSavedPalette;
    bool mPaletteWasSet = false;
};

// ---- free helpers of the kinds

// A widget's palette as the program set it, given back later.
struct SavedPalette {
    QPalette palette;
    bool own = false; // set on the widget itself, not inherited
    void save(const QWidget* widget);
    void giveBack(QWidget* widget) const;
};

// WM_PAINT in place of the control's painting: PaintSkin over the whole
// window, on the painter the message carries or on the window itself.
void HandlePaint(TSkinControl& object, Message& message);
// The background in place of the control's: what the parent shows behind it.
void HandleEraseBkgnd(TSkinControl& object, Message& message);
// Adds DT_RTLREADING for a right-to-left control.
int TextFlags(const TSkinControl& object, int flags);
// The window's text as the framework shows it.
QString ReadWindowText(const QWidget* handle);
// A popup window, or the drop-down list of a combo box.
bool IsPopupWindow(const QWidget* handle);
void CopyBitmap(const QImage& source, QImage& destination);
// An off-screen canvas of the logical size at the widget's device pixel
// ratio: painted in logical coordinates, copied 1:1 to the widget, so text
// stays sharp and skin pictures land on whole device pixels.
QImage DeviceCanvas(const QWidget* widget, QSize size);

// The painter a WM_PAINT message carries in its wParam, or null.
QPainter* painterOf(const Message& message);
qintptr painterParam(QPainter* painter);

// The rectangle DrawText fills with the text, from the top-left corner of
// `rect` (DT_CALCRECT).
QRect MeasureText(const QPainter& dc, const QString& text, const QRect& rect, int flags);
void DrawText(QPainter& dc, const QString& text, const QRect& rect, int flags);
// The rectangle DrawCaptionFocus outlines for text of the measured size.
QRect CaptionFocusRect(const QRect& rect, const QRect& measured, int flags);

void DrawCaption(const TSkinControl& object, QPainter& dc, const QRect& rect, int alignment,
                 bool enabled, const QString& text);
void DrawIconCaption(const TSkinControl& object, QPainter& dc, const QRect& rect, int alignment,
                     const QString& text, int imageIndex, const TImageList* images);

// ---- properties by name, over Qt's properties and one alias table (Tag,
// Color, Caption, Font, Default, Visible, Glyph, Images, NumGlyphs, ImageIndex,
// Layout, Margin, Spacing, Alignment, ParentBackground, Transparent, Kind,
// AutoScroll).
int PropInt(const QObject* object, const QString& name);
QString PropText(const QObject* object, const QString& name);
QString PropWideText(const QObject* object, const QString& name);
QObject* PropObject(const QObject* object, const QString& name, const QMetaObject* type);
void SetPropText(QObject* object, const QString& name, const QString& text);
// The values Qt keeps outside QObject: the Font and the Glyph.
QFont PropFont(const QObject* object);
QImage PropGlyph(const QObject* object);

} // namespace skin
