#include "skin/engine/controls/skin_control.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/window_info.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolButton>
#include <QtMath>

namespace skin {

namespace {

bool isInput(int msg) {
    return (msg >= wm::KeyDown && msg <= wm::SysKeyUp) ||
           (msg >= wm::MouseMove && msg <= wm::MouseWheel);
}

// The control's own handler runs inside the filter for these, so that the
// after-step sees its result.
bool runsOriginalInFilter(const Message& m) {
    return m.msg == wm::Paint || m.msg == wm::Size || isSkinMessage(m.event);
}

// A system colour as the skin writes it: the index in the low byte.
SkinColor systemColour(int index) {
    return static_cast<SkinColor>(0xFF000000u | static_cast<quint32>(index));
}

SkinColor fromQColor(const QColor& c) {
    return rgb(c.red(), c.green(), c.blue());
}

Qt::Alignment alignmentOf(int flags) {
    Qt::Alignment a = flags & dt::Center  ? Qt::AlignHCenter
                      : flags & dt::Right ? Qt::AlignRight
                                          : Qt::AlignLeft;
    a |= flags & dt::VCenter  ? Qt::AlignVCenter
         : flags & dt::Bottom ? Qt::AlignBottom
                              : Qt::AlignTop;
    return a;
}

int qtTextFlags(int flags) {
    int f = static_cast<int>(alignmentOf(flags));
    if (flags & dt::WordBreak)
        f |= Qt::TextWordWrap;
    if (flags & dt::SingleLine)
        f |= Qt::TextSingleLine;
    if (flags & dt::ExpandTabs)
        f |= Qt::TextExpandTabs;
    f |= flags & dt::NoPrefix ? Qt::TextHideMnemonic : Qt::TextShowMnemonic;
    return f;
}

QString displayedText(const QPainter& dc, const QString& text, const QRect& rect, int flags) {
    if (!(flags & dt::EndEllipsis) || (flags & dt::WordBreak))
        return text;
    return dc.fontMetrics().elidedText(text, Qt::ElideRight, rect.width());
}

// A value of a property as the helpers see it.
struct PropValue {
    enum Type { Missing, Integer, Enumeration, String, Object } type = Missing;
    qint64 integer = 0;
    QString text;
    QObject* object = nullptr;
};

PropValue integer(qint64 value) {
    return {PropValue::Integer, value, {}, nullptr};
}
PropValue enumeration(const QString& text) {
    return {PropValue::Enumeration, 0, text, nullptr};
}
PropValue enumeration(bool value) {
    return enumeration(value ? QStringLiteral("True") : QStringLiteral("False"));
}
PropValue string(const QString& text) {
    return {PropValue::String, 0, text, nullptr};
}

bool isButton(const QObject* o) {
    return qobject_cast<const QAbstractButton*>(o);
}

QString captionOf(const QObject* o) {
    if (const auto* b = qobject_cast<const QAbstractButton*>(o))
        return b->text();
    if (const auto* g = qobject_cast<const QGroupBox*>(o))
        return g->title();
    if (const auto* l = qobject_cast<const QLabel*>(o))
        return l->text();
    if (const auto* e = qobject_cast<const QLineEdit*>(o))
        return e->text();
    if (const auto* w = qobject_cast<const QWidget*>(o))
        return w->windowTitle();
    return {};
}

QString alignmentName(Qt::Alignment a) {
    if (a & Qt::AlignHCenter)
        return QStringLiteral("taCenter");
    if (a & Qt::AlignRight)
        return QStringLiteral("taRightJustify");
    return QStringLiteral("taLeftJustify");
}

PropValue dynamicOr(const QObject* o, const char* name, const PropValue& fallback) {
    const QVariant v = o->property(name);
    if (!v.isValid())
        return fallback;
    if (v.typeId() == QMetaType::Bool)
        return enumeration(v.toBool());
    if (v.typeId() == QMetaType::QString)
        return fallback.type == PropValue::Enumeration ? enumeration(v.toString())
                                                       : string(v.toString());
    if (v.canConvert<qint64>())
        return integer(v.toLongLong());
    return fallback;
}

PropValue readProperty(const QObject* o, const QString& name) {
    if (!o)
        return {};
    const auto* w = qobject_cast<const QWidget*>(o);
    const QByteArray key = name.toLatin1();
    const QString n = name.toLower();
    if (n == QLatin1String("tag"))
        return integer(tagOf(o));
    if (w && n == QLatin1String("color"))
        return integer(fromQColor(w->palette().color(w->backgroundRole())));
    if (n == QLatin1String("caption"))
        return string(captionOf(o));
    if (w && n == QLatin1String("default")) {
        const auto* push = qobject_cast<const QPushButton*>(o);
        return push ? enumeration(push->isDefault()) : PropValue{};
    }
    if (w && n == QLatin1String("visible"))
        return enumeration(!w->isHidden());
    if (isButton(o) && n == QLatin1String("numglyphs"))
        return dynamicOr(o, "NumGlyphs", integer(1));
    if (isButton(o) && n == QLatin1String("imageindex"))
        return dynamicOr(o, "ImageIndex", integer(-1));
    if (isButton(o) && n == QLatin1String("margin"))
        return dynamicOr(o, "Margin", integer(-1));
    if (isButton(o) && n == QLatin1String("spacing"))
        return dynamicOr(o, "Spacing", integer(4));
    if (isButton(o) && n == QLatin1String("layout")) {
        const auto* tool = qobject_cast<const QToolButton*>(o);
        const bool top = tool && tool->toolButtonStyle() == Qt::ToolButtonTextUnderIcon;
        return dynamicOr(
            o, "Layout",
            enumeration(top ? QStringLiteral("blGlyphTop") : QStringLiteral("blGlyphLeft")));
    }
    if (n == QLatin1String("alignment")) {
        if (const auto* l = qobject_cast<const QLabel*>(o))
            return enumeration(alignmentName(l->alignment()));
        if (const auto* e = qobject_cast<const QLineEdit*>(o))
            return enumeration(alignmentName(e->alignment()));
        return dynamicOr(o, "Alignment", {});
    }
    if (w && n == QLatin1String("parentbackground"))
        return enumeration(!w->autoFillBackground());
    if (n == QLatin1String("transparent"))
        return dynamicOr(o, "Transparent", enumeration(QString()));
    if (n == QLatin1String("kind"))
        return dynamicOr(o, "Kind", enumeration(QString()));
    if (w && w->isWindow() && n == QLatin1String("autoscroll"))
        return dynamicOr(o, "AutoScroll", enumeration(true));
    if (n == QLatin1String("images") || n == QLatin1String("glyph") || n == QLatin1String("font"))
        return {}; // values of their own: PropGlyph, PropFont

    // Any other property of the class, or a dynamic one.
    const QMetaObject* meta = o->metaObject();
    const int index = meta->indexOfProperty(key.constData());
    if (index >= 0) {
        const QMetaProperty p = meta->property(index);
        const QVariant v = p.read(o);
        if (p.isEnumType())
            return enumeration(QString::fromLatin1(p.enumerator().valueToKey(v.toInt())));
        if (v.typeId() == QMetaType::Bool)
            return enumeration(v.toBool());
        if (v.typeId() == QMetaType::QString)
            return string(v.toString());
        if (v.typeId() == QMetaType::QObjectStar)
            return {PropValue::Object, 0, {}, v.value<QObject*>()};
        if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::UInt ||
            v.typeId() == QMetaType::LongLong)
            return integer(v.toLongLong());
        return {};
    }
    const QVariant v = o->property(key.constData());
    if (!v.isValid())
        return {};
    if (v.typeId() == QMetaType::QObjectStar)
        return {PropValue::Object, 0, {}, v.value<QObject*>()};
    return dynamicOr(o, key.constData(), string({}));
}

} // namespace

// ---------------------------------------------------------------- life cycle

TSkinControl::TSkinControl(QObject* owner) : QObject(owner) {
    registerSkinMessages();
}

TSkinControl::~TSkinControl() {
    // The filter leaves the window with this object; only the form's list
    // still holds it.
    if (Form)
        Form->removeSkinObject(this);
}

TSkinControl* TSkinControl::skinObjectOf(const QWidget* widget) {
    if (!widget)
        return nullptr;
    for (QObject* child : widget->children()) {
        auto* object = qobject_cast<TSkinControl*>(child);
        if (object && object->Handle == widget && object->SkinState == 1)
            return object;
    }
    return nullptr;
}

void SavedPalette::save(const QWidget* widget) {
    palette = widget->palette();
    own = widget->testAttribute(Qt::WA_SetPalette);
}

void SavedPalette::giveBack(QWidget* widget) const {
    widget->setPalette(own ? palette : QPalette());
    if (!own)
        widget->setAttribute(Qt::WA_SetPalette, false);
}

void TSkinControl::takeOver(QWidget* handle) {
    Handle = handle;
    UnicodeWindow = true;
    handle->installEventFilter(this);
    connect(handle, &QObject::destroyed, this, &TSkinControl::handleDestroyed);
}

void TSkinControl::Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                          QPaintDevice* formCanvas) {
    if (Attached)
        return;
    AdoptColor = adoptColor;
    SkinData = skinData;
    Form = form;
    FormCanvas = formCanvas;
    Control = qobject_cast<QWidget*>(parent());
    if (!Control)
        return;
    takeOver(Control);
    OldWindowProc = true;
    if (form)
        form->addSkinObject(this);
    takeColour();
    if (ParentBackgroundTaken)
        Mode = 1;
    Control->update();
    Attached = true;
    SkinState = 1;
}

void TSkinControl::AttachHandle(QWidget* handle, TSkinData* skinData, TWinSkinForm* form,
                                QPaintDevice* formCanvas) {
    SkinData = skinData;
    FormCanvas = formCanvas;
    Form = form;
    Enabled = true;
    Mode = 0;
    if (form)
        form->addSkinObject(this);
    if (!handle)
        return;
    Caption = ReadWindowText(handle);
    takeOver(handle);
    ObjectInstance = OldWndProc = true;
    handle->update();
    Attached = true;
    SkinState = 1;
}

void TSkinControl::handleDestroyed() {
    // The window is going: nothing may touch it from here on.
    mHandleDying = true;
    Message destroyed{wm::NcDestroy, 0, 0};
    SkinWndProc(destroyed);
}

void TSkinControl::Unskin() {
    // Whatever is still taken goes back, whether painting was on or not.
    if (SkinState != 6)
        giveColourBack();
    Active = false;
}

void TSkinControl::SkinChanged() {
    if (AdoptColor && Control && mColourTaken && SkinState != 6) {
        QPalette palette = Control->palette();
        palette.setColor(Control->backgroundRole(), SkinQColor(skinColour()));
        Control->setPalette(palette);
    }
    Redraw();
}

void TSkinControl::setActive(bool active) {
    if (active) {
        const bool was = Active;
        Active = true;
        if (!was)
            takeColour();
        Redraw();
    } else if (Active) {
        Active = false;
        giveColourBack();
        if (Handle && !mHandleDying)
            Handle->update();
    }
}

void TSkinControl::takeColour() {
    if (!AdoptColor || !Control || mColourTaken || SkinState == 6 || mHandleDying)
        return;
    SwitchParentBackground(true);
    SavedColor = PropInt(Control, QStringLiteral("Color"));
    mPaletteWasSet = Control->testAttribute(Qt::WA_SetPalette);
    mSavedPalette = Control->palette();
    QPalette palette = Control->palette();
    palette.setColor(Control->backgroundRole(), SkinQColor(skinColour()));
    Control->setPalette(palette);
    mColourTaken = true;
}

void TSkinControl::giveColourBack() {
    if (!mColourTaken || !Control || mHandleDying)
        return;
    SwitchParentBackground(false);
    Control->setPalette(mPaletteWasSet ? mSavedPalette : QPalette());
    if (!mPaletteWasSet)
        Control->setAttribute(Qt::WA_SetPalette, false);
    mColourTaken = false;
}

void TSkinControl::SwitchParentBackground(bool take) {
    if (!Control || (SkinData && SkinData->Options.contains(TSkinOption::xoParentBackGround)))
        return;
    if (take) {
        ParentBackgroundTaken = PropText(Control, QStringLiteral("ParentBackground")).toLower() ==
                                QLatin1String("true");
        if (ParentBackgroundTaken)
            SetPropText(Control, QStringLiteral("ParentBackground"), QStringLiteral("False"));
    } else if (ParentBackgroundTaken) {
        SetPropText(Control, QStringLiteral("ParentBackground"), QStringLiteral("True"));
    }
}

void TSkinControl::TrackMouse(const Message& m) {
    quint8 state = MouseState;
    if (m.msg == wm::MouseMove || m.msg == cm::MouseEnter) {
        if (Handle && Handle->isEnabled())
            state |= 1;
    } else if (m.msg == wm::MouseLeave || m.msg == cm::MouseLeave) {
        state = static_cast<quint8>(state & ~3);
    }
    if (state == MouseState)
        return;
    MouseState = state;
    Redraw();
}

// ---------------------------------------------------------------- dispatch

bool TSkinControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Handle || mHandleDying)
        return false;
    Message* own = skinMessageOf(event);
    Message m = own ? Message{} : messageFromEvent(event);
    if (own)
        own->event = event;
    else if (m.msg == wm::Null)
        return false;
    // The window system gives a disabled window no input.
    else if (isInput(m.msg) && !Handle->isEnabled())
        return false;
    Message& message = own ? *own : m;
    const bool paint = message.msg == wm::Paint;
    if (paint)
        mInPaint = true;
    const HandlerScope scope(mDeleteHold, this);
    const bool stop = SkinWndProc(message);
    if (paint)
        mInPaint = false;
    if (own)
        own->event = nullptr;
    return stop;
}

bool TSkinControl::event(QEvent* e) {
    return mDeleteHold.holds(e) || QObject::event(e);
}

bool TSkinControl::SkinWndProc(Message& m) {
    if (m.msg == SM_SETACTIVE) {
        setActive(static_cast<qint32>(m.wParam) > 0);
        answer(m, 0);
        return true;
    }
    if (!Active)
        return false; // straight on to the control's own handling
    if (!BeforeMessage(m))
        return true;
    // A handler may have given the control back meanwhile: then it gets the
    // message as if it had never been skinned.
    if (!Active)
        return false;
    // Input goes on to the program's own filters and the control once the
    // filter returns; only the handlers whose result the after-step needs
    // run here.
    if (runsOriginalInFilter(m))
        CallOriginal(m);
    if (Active)
        AfterMessage(m);
    return m.originalCalled;
}

void TSkinControl::CallOriginal(Message& m) {
    if (m.originalCalled || mHandleDying || !Handle || !m.event)
        return;
    m.originalCalled = true;
    static_cast<QObject*>(Handle.data())->event(m.event);
}

bool TSkinControl::BeforeMessage(Message& m) {
    if (m.msg == wm::NcDestroy) {
        SkinState = 6;
        CallOriginal(m);
        if (Active)
            Unskin();
        return false;
    }
    if (m.msg == SM_ISSKINNED) {
        answer(m, 1);
        return false;
    }
    return true;
}

void TSkinControl::AfterMessage(Message& m) {
    switch (m.msg) {
    case wm::SetFocus:
    case wm::KillFocus:
    case wm::Enable:
    case wm::SetText:
    case cm::EnabledChanged:
        Redraw();
        break;
    case wm::Paint:
        PaintWindow(painterOf(m));
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- painting

void TSkinControl::PaintWindow(QPainter* dc) {
    if (!Handle || mHandleDying)
        return;
    WindowRect = QRect(Handle->mapToGlobal(QPoint(0, 0)), Handle->size());
    const QRect rect(QPoint(0, 0), Handle->size());
    try {
        if (dc) {
            PaintSkin(*dc, rect);
        } else if (mInPaint) {
            QPainter own(Handle);
            PaintSkin(own, rect);
        } else {
            Handle->update();
        }
    } catch (...) {
        // A failing paint never reaches the event loop.
    }
}

void TSkinControl::PaintSkin(QPainter&, const QRect&) {}

void TSkinControl::Redraw() {
    if (GraphicControl) {
        GraphicControl->update();
    } else if (Handle && !mHandleDying) {
        if (mInPaint || !Handle->isVisible())
            Handle->update();
        else
            Handle->repaint();
    }
}

SkinColor TSkinControl::skinColour() const {
    return SkinData ? ColorToRGB(SkinData->colour(colour::ButtonFace))
                    : ColorToRGB(systemColour(syscolor::ButtonFace));
}

SkinColor TSkinControl::ParentColor(SkinColor defaultColour) const {
    if (Control && Control->parentWidget())
        return PropInt(Control->parentWidget(), QStringLiteral("Color"));
    return defaultColour;
}

void TSkinControl::FillColor(QPainter& dc, const QRect& rect, SkinColor colour) {
    if (rect.width() < 0 || rect.height() < 0)
        return;
    dc.fillRect(rect, SkinQColor(colour));
}

void TSkinControl::FillSkinColor(QPainter& dc, const QRect& rect) const {
    FillColor(dc, rect, skinColour());
}

void TSkinControl::FillParentColor(QPainter& dc, const QRect& rect) const {
    FillColor(dc, rect, ParentColor(skinColour()));
}

quint32 TSkinControl::WindowLong(const QWidget* handle, int index) {
    const WindowFacts facts = windowFacts(handle);
    return index == GWL_EXSTYLE ? facts.exStyle : index == GWL_STYLE ? facts.style : 0;
}

void TSkinControl::DrawCaptionFocus(QPainter& dc, int flags, const QRect& rect) const {
    const QRect measured = MeasureText(dc, Caption, rect, flags | dt::CalcRect | dt::NoClip);
    const QRect focus = CaptionFocusRect(rect, measured, flags);
    if (focus.isEmpty())
        return;
    QStyleOptionFocusRect option;
    QWidget* styled = Handle ? Handle.data() : nullptr;
    if (styled)
        option.initFrom(styled);
    option.rect = focus;
    (styled ? styled->style() : QApplication::style())
        ->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &dc, styled);
}

QPoint TSkinControl::ForwardMouseDown(const Message& m) {
    if (!Control || mHandleDying)
        return {};
    QPoint at(loWordSigned(m.lParam), hiWordSigned(m.lParam));
    if (Control->width() > 0x8000 || Control->height() > 0x8000)
        at = Control->mapFromGlobal(QCursor::pos());
    Qt::KeyboardModifiers modifiers;
    if (m.wParam & mk::Shift)
        modifiers |= Qt::ShiftModifier;
    if (m.wParam & mk::Control)
        modifiers |= Qt::ControlModifier;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), Control->mapToGlobal(QPointF(at)),
                      Qt::LeftButton, Qt::LeftButton, modifiers);
    static_cast<QObject*>(Control.data())->event(&press);
    return at;
}

// ---------------------------------------------------------------- free helpers

QPainter* painterOf(const Message& m) {
    return m.msg == wm::Paint || m.msg == wm::EraseBkgnd || m.msg == SM_PAINTFRAME
               ? reinterpret_cast<QPainter*>(m.wParam)
               : nullptr;
}

qintptr painterParam(QPainter* painter) {
    return reinterpret_cast<qintptr>(painter);
}

void HandlePaint(TSkinControl& object, Message& m) {
    QWidget* handle = object.Handle;
    if (!handle)
        return;
    object.WindowRect = QRect(handle->mapToGlobal(QPoint(0, 0)), handle->size());
    const QRect rect(QPoint(0, 0), handle->size());
    if (QPainter* dc = painterOf(m)) {
        object.PaintSkin(*dc, rect);
        return;
    }
    QPainter own(handle);
    object.PaintSkin(own, rect);
}

void HandleEraseBkgnd(TSkinControl& object, Message& m) {
    if (QPainter* dc = painterOf(m)) {
        if (object.Control)
            PaintParentBackground(object.Control, *dc);
        else if (object.Handle)
            object.FillParentColor(*dc, object.Handle->rect());
    }
    m.result = 1;
    m.handled = true;
}

int TextFlags(const TSkinControl& object, int flags) {
    const QWidget* c = object.Control ? object.Control.data() : object.GraphicControl.data();
    if (c && c->layoutDirection() == Qt::RightToLeft)
        flags |= dt::RtlReading;
    return flags;
}

QString ReadWindowText(const QWidget* handle) {
    // Every window of this platform is a wide window.
    return captionOf(handle);
}

bool IsPopupWindow(const QWidget* handle) {
    if (!handle)
        return false;
    if (windowFacts(handle).popup)
        return true;
    // A drop-down list lies in its combo box's popup, which has no real parent.
    const QWidget* top = handle->window();
    return top && top->inherits("QComboBoxPrivateContainer");
}

void CopyBitmap(const QImage& source, QImage& destination) {
    destination = source.copy();
}

QImage DeviceCanvas(const QWidget* widget, QSize size) {
    const qreal ratio = widget ? widget->devicePixelRatioF() : 1.0;
    QImage canvas(
        QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio)).expandedTo(QSize(1, 1)),
        QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    return canvas;
}

QRect MeasureText(const QPainter& dc, const QString& text, const QRect& rect, int flags) {
    const QString shown = displayedText(dc, text, rect, flags);
    const int wrapWidth = flags & dt::WordBreak ? std::max(rect.width(), 1) : 100000;
    const QRect bounds = dc.fontMetrics().boundingRect(
        QRect(0, 0, wrapWidth, 100000), qtTextFlags(flags & ~(dt::Center | dt::Right)), shown);
    return QRect(rect.topLeft(), bounds.size());
}

void DrawText(QPainter& dc, const QString& text, const QRect& rect, int flags) {
    dc.save();
    if (flags & dt::RtlReading)
        dc.setLayoutDirection(Qt::RightToLeft);
    dc.drawText(rect, qtTextFlags(flags), displayedText(dc, text, rect, flags));
    dc.restore();
}

QRect CaptionFocusRect(const QRect& rect, const QRect& measured, int flags) {
    QRect r = measured;
    if (flags & dt::Center)
        r.translate((rect.width() - measured.width()) / 2,
                    (rect.height() - measured.height()) / 2 - 1);
    else if (flags & dt::Right)
        r.translate(rect.width() - measured.width(), 0);
    r.adjust(-2, -1, 2, 1);
    return r & rect;
}

// Caption text: transparent background, no brush, a plain font style.
static void plainText(QPainter& dc) {
    dc.setBackgroundMode(Qt::TransparentMode);
    dc.setBrush(Qt::NoBrush);
    QFont font = dc.font();
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    dc.setFont(font);
}

void DrawCaption(const TSkinControl& object, QPainter& dc, const QRect& rect, int alignment,
                 bool enabled, const QString& text) {
    dc.save();
    plainText(dc);
    const int flags = alignment | dt::ExpandTabs;
    QRect r = MeasureText(dc, text, rect, flags | dt::CalcRect | dt::NoClip);
    if (alignment == 1) {
        r.translate((rect.width() - r.width()) / 2, (rect.height() - r.height()) / 2 - 1);
    } else {
        r.translate(0, (rect.height() - r.height()) / 2 - 1);
        r.setLeft(rect.left());
        r.setRight(rect.right());
    }
    if (!enabled)
        dc.setPen(SkinQColor(systemColour(syscolor::ButtonShadow)));
    DrawText(dc, text, r, TextFlags(object, flags));
    dc.restore();
}

void DrawIconCaption(const TSkinControl& object, QPainter& dc, const QRect& rect, int alignment,
                     const QString& text, int imageIndex, const TImageList* images) {
    int cx = 0, cy = 0;
    const bool icon = imageIndex != -1 && images && images->size.width() < rect.width() &&
                      imageIndex >= 0 && imageIndex < static_cast<int>(images->images.size());
    if (icon) {
        cx = images->size.width();
        cy = images->size.height();
    }
    Q_UNUSED(cy);
    QRect textRect = rect;
    if (icon)
        textRect.setRight(textRect.right() + cx + 2);
    const int flags = dt::EndEllipsis | dt::WordBreak | dt::ExpandTabs;
    QRect measured(textRect.topLeft(), QSize(0, 0));
    if (!text.isEmpty())
        measured = MeasureText(dc, text, textRect, flags | dt::CalcRect | dt::NoClip);
    int x = alignment == 0   ? 3
            : alignment == 1 ? (rect.width() - cx - measured.width()) / 2
                             : rect.width() - cx - measured.width() - 2;
    if (x < 2)
        x = 1;
    if (icon)
        dc.drawImage(QPoint(rect.left() + x, rect.top() + (rect.height() - cx) / 2),
                     images->images[imageIndex]);
    if (text.isEmpty())
        return;
    QRect place(rect.topLeft() + QPoint(x + cx, (rect.height() - measured.height()) / 2),
                measured.size());
    place.setLeft(std::max(place.left(), rect.left()));
    place.setRight(std::min(place.right(), rect.right()));
    dc.save();
    plainText(dc);
    if (!object.Enabled)
        dc.setPen(SkinQColor(systemColour(syscolor::ButtonShadow)));
    DrawText(dc, text, place, TextFlags(object, flags));
    dc.restore();
}

// ---------------------------------------------------------------- properties

int PropInt(const QObject* object, const QString& name) {
    const PropValue v = readProperty(object, name);
    return v.type == PropValue::Integer ? static_cast<int>(v.integer) : -1;
}

QString PropText(const QObject* object, const QString& name) {
    const PropValue v = readProperty(object, name);
    return v.type == PropValue::Enumeration ? v.text : QString();
}

QString PropWideText(const QObject* object, const QString& name) {
    const PropValue v = readProperty(object, name);
    return v.type == PropValue::String ? v.text : QString();
}

QObject* PropObject(const QObject* object, const QString& name, const QMetaObject* type) {
    const PropValue v = readProperty(object, name);
    if (v.type != PropValue::Object || !v.object)
        return nullptr;
    return !type || v.object->metaObject()->inherits(type) ? v.object : nullptr;
}

void SetPropText(QObject* object, const QString& name, const QString& text) {
    if (!object)
        return;
    const PropValue current = readProperty(object, name);
    if (current.type == PropValue::Missing || current.type == PropValue::Object)
        return;
    auto* w = qobject_cast<QWidget*>(object);
    const QString n = name.toLower();
    const bool truth = text.toLower() == QLatin1String("true");
    if (n == QLatin1String("tag")) {
        setTag(object, text.toInt());
    } else if (w && n == QLatin1String("color")) {
        QPalette palette = w->palette();
        palette.setColor(w->backgroundRole(), SkinQColor(text.toInt()));
        w->setPalette(palette);
    } else if (w && n == QLatin1String("parentbackground")) {
        w->setAutoFillBackground(!truth);
    } else if (w && n == QLatin1String("visible")) {
        w->setVisible(truth);
    } else if (n == QLatin1String("default")) {
        if (auto* push = qobject_cast<QPushButton*>(object))
            push->setDefault(truth);
    } else if (n == QLatin1String("caption")) {
        if (auto* b = qobject_cast<QAbstractButton*>(object))
            b->setText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(object))
            g->setTitle(text);
        else if (auto* l = qobject_cast<QLabel*>(object))
            l->setText(text);
        else if (auto* e = qobject_cast<QLineEdit*>(object))
            e->setText(text);
        else if (w)
            w->setWindowTitle(text);
    } else if (n == QLatin1String("transparent") || n == QLatin1String("autoscroll")) {
        object->setProperty(n == QLatin1String("transparent") ? "Transparent" : "AutoScroll",
                            truth);
    } else {
        const QByteArray key = name.toLatin1();
        const int index = object->metaObject()->indexOfProperty(key.constData());
        const QMetaProperty p =
            index >= 0 ? object->metaObject()->property(index) : QMetaProperty();
        if (current.type == PropValue::Integer)
            object->setProperty(key.constData(), text.toInt());
        else if (current.type == PropValue::String)
            object->setProperty(key.constData(), text);
        else if (p.isValid() && p.isEnumType())
            p.write(object, p.enumerator().keyToValue(text.toLatin1().constData()));
        else if (p.isValid() || object->property(key.constData()).typeId() == QMetaType::Bool)
            object->setProperty(key.constData(), truth);
        else
            object->setProperty(key.constData(), text);
    }
}

QFont PropFont(const QObject* object) {
    const auto* w = qobject_cast<const QWidget*>(object);
    return w ? w->font() : QFont();
}

QImage PropGlyph(const QObject* object) {
    const auto* b = qobject_cast<const QAbstractButton*>(object);
    if (!b || b->icon().isNull())
        return {};
    return b->icon().pixmap(b->iconSize()).toImage();
}

} // namespace skin
