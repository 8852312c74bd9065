#include "skin/engine/controls/button_skins.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/controls/control_geometry.h"
#include "skin/engine/controls/skin_canvas.h"
#include "skin/engine/manager/control_traversal.h"
#include "skin/engine/manager/window_info.h"

#include <QAbstractButton>
#include <QPainter>

#include <cmath>

namespace skin {

namespace {

constexpr int TransparentTag = 5555;
constexpr int SpaceKey = 0x20; // VK_SPACE, Qt::Key_Space alike

// The dotted focus rectangle, in the caption's colour.
void drawFocusRect(QPainter& dc, const QRect& rect) {
    if (rect.isEmpty())
        return;
    dc.save();
    QPen pen(dc.pen().color(), 1, Qt::DotLine);
    dc.setPen(pen);
    dc.setBrush(Qt::NoBrush);
    dc.drawRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5));
    dc.restore();
}

bool outside(const QWidget* w, const Message& m) {
    return w && !w->rect().contains(QPoint(loWordSigned(m.lParam), hiWordSigned(m.lParam)));
}

} // namespace

// ---------------------------------------------------------------- push button

void TSkinButton::Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                         QPaintDevice* formCanvas) {
    TSkinControl::Attach(form, skinData, adoptColor, formCanvas);
    if (!Control)
        return;
    const QString lower = windowClassName(Control).toLower();
    Mode = lower.startsWith(QLatin1String("trz")) || lower.startsWith(QLatin1String("tel")) ? 1 : 0;
    Transparent = tagOf(Control) == TransparentTag ||
                  (SkinData && SkinData->Options.contains(TSkinOption::xoTransparent));
}

void TSkinButton::AttachHandle(QWidget* handle, TSkinData* skinData, TWinSkinForm* form,
                               QPaintDevice* formCanvas) {
    TSkinControl::AttachHandle(handle, skinData, form, formCanvas);
    Transparent = skinData && skinData->Options.contains(TSkinOption::xoTransparent);
}

bool TSkinButton::BeforeMessage(Message& m) {
    if (PaintClient(*this, m))
        return false;
    switch (m.msg) {
    case wm::LButtonDown:
    case wm::LButtonDblClk:
        // The button never sees the press: the skin shows it and clicks on
        // the release. (The control's mouse-down is not replayed: on this
        // framework that would press the native button a second time.)
        if (Handle && !Handle->hasFocus() && Handle->focusPolicy() != Qt::NoFocus)
            Handle->setFocus(Qt::MouseFocusReason);
        MouseState |= mousestate::Pressed;
        Redraw();
        return false;
    default:
        return TSkinControl::BeforeMessage(m);
    }
}

void TSkinButton::AfterMessage(Message& m) {
    switch (m.msg) {
    case wm::KeyDown:
    case wm::KeyUp:
        if (m.wParam == SpaceKey) {
            if (m.msg == wm::KeyDown)
                MouseState |= mousestate::Pressed;
            else
                MouseState &= ~mousestate::Pressed;
            Redraw();
        }
        break;
    case wm::MouseMove:
        // The press holds the mouse: leaving the button is seen as a move
        // outside it, and ends the press like leaving does.
        if (outside(Handle, m)) {
            if (MouseState) {
                MouseState = 0;
                Redraw();
            }
        } else if (Handle && Handle->isEnabled() && !(MouseState & mousestate::Over)) {
            MouseState |= mousestate::Over;
            Redraw();
        }
        break;
    case cm::MouseEnter:
    case wm::MouseLeave:
    case cm::MouseLeave:
        TrackMouse(m);
        break;
    case wm::LButtonUp:
        if (MouseState & mousestate::Pressed) {
            MouseState &= ~mousestate::Pressed;
            Redraw();
            // Released outside with no move in between: no click either.
            if (!outside(Handle, m))
                click();
        }
        break;
    default:
        TSkinControl::AfterMessage(m);
        break;
    }
}

void TSkinButton::click() {
    auto* button = qobject_cast<QAbstractButton*>(Handle.data());
    if (!button)
        return;
    if (Control) {
        button->click();
    } else {
        // A bare window's click is posted: it runs once this message is done.
        QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
    }
}

const TDataSkinButton* TSkinButton::paintFrame(const QRect& rect, int& frame) {
    const TDataSkinButton* element = SkinData ? SkinData->buttons() : nullptr;
    if (!element || element->Image.isNull() || !Handle)
        return nullptr;
    Focused = Handle->hasFocus();
    Enabled = Handle->isEnabled();
    const bool isDefault =
        PropText(Handle, QStringLiteral("Default")).toLower() == QLatin1String("true");
    Caption = Control ? PropWideText(Control, QStringLiteral("Caption")) : ReadWindowText(Handle);
    frame = ButtonFrame(MouseState, Focused || isDefault, Enabled);

    const QRect r(QPoint(0, 0), rect.size());
    Canvas = MakeCanvas(Handle, r.size());
    QPainter canvas(&Canvas);
    if (Transparent)
        PaintParentBackground(Handle, canvas);
    else
        FillSkinColor(canvas, r);
    DrawElementFrame(canvas, r, 5, frame, *element);
    return element;
}

QColor TSkinButton::captionColour(const TDataSkinButton& element, int frame) const {
    const QColor shadow = SystemColour(syscolor::ButtonShadow);
    const std::optional<SkinColor> given =
        ButtonCaptionColour(element, frame, rgb(shadow.red(), shadow.green(), shadow.blue()));
    if (given)
        return SkinQColor(*given);
    if (!Control && SkinData)
        return SkinQColor(SkinData->colour(colour::ButtonText));
    return Handle ? Handle->palette().color(QPalette::ButtonText) : QColor(Qt::black);
}

bool TSkinButton::showsFocusRect() const {
    return Focused && !(SkinData && SkinData->Options.contains(TSkinOption::xoNoFocusRect));
}

void TSkinButton::PaintSkin(QPainter& dc, const QRect& rect) {
    int frame = 1;
    const TDataSkinButton* element = paintFrame(rect, frame);
    if (!element)
        return;
    {
        QPainter canvas(&Canvas);
        canvas.setFont(PropFont(Handle));
        canvas.setPen(captionColour(*element, frame));
        const QString text = ButtonCaptionText(Caption);
        const int flags = dt::Center | dt::WordBreak | dt::ExpandTabs;
        const QRect measured = MeasureText(canvas, text, ButtonTextBounds(rect.size()),
                                           flags | dt::NoClip | dt::CalcRect);
        const ButtonCaptionPlace place = ButtonCaptionGeometry(rect.size(), measured.size());
        DrawText(canvas, text, place.text, TextFlags(*this, flags));
        if (showsFocusRect())
            drawFocusRect(canvas, place.focus);
    }
    dc.drawImage(rect.topLeft(), Canvas);
}

// ---------------------------------------------------------------- picture button

QImage EmbossedGlyph(const QImage& glyph, const QColor& highlight, const QColor& shadow) {
    const QImage source = glyph.convertToFormat(QImage::Format_ARGB32);
    QImage out(source.size(), QImage::Format_ARGB32_Premultiplied);
    out.setDevicePixelRatio(glyph.devicePixelRatio());
    out.fill(Qt::transparent);
    const int step = std::max(1, static_cast<int>(std::lround(glyph.devicePixelRatio())));
    // The picture's shape: its opaque pixels that are not light.
    auto set = [&](int x, int y) {
        const QRgb p = source.pixel(x, y);
        return qAlpha(p) >= 128 && qGray(p) < 192;
    };
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            if (!set(x, y))
                continue;
            if (x + step < out.width() && y + step < out.height())
                out.setPixel(x + step, y + step, highlight.rgb());
        }
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            if (set(x, y))
                out.setPixel(x, y, shadow.rgb());
    return out;
}

namespace {

// The glyph as drawn: a frame of the strip, its bottom-left pixel's colour
// transparent when the picture has no transparency of its own.
QImage glyphFrame(const QImage& strip, int frames, int frame) {
    const int width = strip.width() / std::max(frames, 1);
    QImage cell = strip.copy((frame - 1) * width, 0, width, strip.height());
    cell.setDevicePixelRatio(strip.devicePixelRatio());
    if (cell.hasAlphaChannel() || cell.isNull())
        return cell;
    QImage keyed = cell.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyed.pixel(0, keyed.height() - 1);
    for (int y = 0; y < keyed.height(); ++y)
        for (int x = 0; x < keyed.width(); ++x)
            if (keyed.pixel(x, y) == key)
                keyed.setPixel(x, y, 0);
    return keyed;
}

// The glyph strip at the widget's resolution, and its logical size.
QImage glyphStrip(const QWidget* control, QSize& logical) {
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    if (!button || button->icon().isNull()) {
        logical = {};
        return {};
    }
    logical = button->iconSize();
    return button->icon().pixmap(logical, button->devicePixelRatioF()).toImage();
}

} // namespace

void TSkinBitButton::PaintSkin(QPainter& dc, const QRect& rect) {
    if (PropText(Handle, QStringLiteral("Visible")).toLower() == QLatin1String("false"))
        return;
    int frame = 1;
    const TDataSkinButton* element = paintFrame(rect, frame);
    if (!element)
        return;
    QObject* props = Control ? Control.data() : Handle.data();
    int numGlyphs = PropInt(props, QStringLiteral("NumGlyphs"));
    if (numGlyphs < 1)
        numGlyphs = 1;
    BitButtonInput in;
    in.button = rect.size();
    in.margin = PropInt(props, QStringLiteral("Margin"));
    in.spacing = PropInt(props, QStringLiteral("Spacing"));
    in.layout = GlyphLayoutFromName(PropText(props, QStringLiteral("Layout")));
    in.alignCentre =
        PropText(props, QStringLiteral("Alignment")).toLower() == QLatin1String("tacenter");
    // The picture-button variant takes its picture from the named property;
    // this framework keeps both in the icon, so both read it there.
    QSize iconSize;
    const QImage strip = glyphStrip(Handle, iconSize);
    if (!strip.isNull())
        in.glyph = QSize(iconSize.width() / numGlyphs, iconSize.height());

    QPainter canvas(&Canvas);
    canvas.setFont(PropFont(Handle));
    const QString text = ButtonCaptionText(Caption);
    if (!text.isEmpty()) {
        const QSize bounds = BitButtonTextBounds(rect.size(), in.glyph, in.layout);
        in.text =
            MeasureText(canvas, text, QRect(QPoint(2, 2), bounds), dt::CalcRect | dt::WordBreak)
                .size();
    }
    const BitButtonPlace place = BitButtonGeometry(in);

    if (!strip.isNull()) {
        const GlyphChoice choice = BitButtonGlyph(frame, numGlyphs);
        QImage glyph = glyphFrame(strip, numGlyphs, choice.frame);
        if (choice.emboss)
            glyph = EmbossedGlyph(glyph, SystemColour(syscolor::ButtonHighlight),
                                  SystemColour(syscolor::ButtonShadow));
        canvas.drawImage(place.glyph, glyph);
    }
    if (!text.isEmpty()) {
        int flags = dt::WordBreak;
        if (place.textAlignment == TextAlignment::Right)
            flags |= dt::Right;
        else if (place.textAlignment == TextAlignment::Center)
            flags |= dt::Center;
        canvas.setPen(captionColour(*element, frame));
        DrawText(canvas, text, place.text, TextFlags(*this, flags));
        if (showsFocusRect())
            drawFocusRect(canvas, place.text.adjusted(-2, -2, 2, 2));
    }
    canvas.end();
    dc.drawImage(rect.topLeft(), Canvas);
}

// ---------------------------------------------------------------- registry

SkinKindFactories buttonKinds() {
    return {{SkinKind::SkinButton, skinKindOf<TSkinButton>()},
            {SkinKind::SkinBitButton,
             [](QWidget*, QObject* owner, const ControlDecision& d) -> TSkinControl* {
                 auto* button = new TSkinBitButton(owner);
                 if (d.pngImage)
                     button->GraphicProperty = QStringLiteral("PngImage");
                 return button;
             }}};
}

} // namespace skin
