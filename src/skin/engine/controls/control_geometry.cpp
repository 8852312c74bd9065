#include "skin/engine/controls/control_geometry.h"

#include "skin/data/bitmap_utils.h"

#include <algorithm>

namespace skin {

namespace {

// A rectangle given by its edges, the right and bottom ones outside it.
QRect edges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

int rightOf(const QRect& r) {
    return r.x() + r.width();
}

int bottomOf(const QRect& r) {
    return r.y() + r.height();
}

} // namespace

// ---- push buttons

int ButtonFrame(int mouseState, bool focusedOrDefault, bool enabled) {
    if (!enabled)
        return 3;
    if (mouseState & mousestate::Pressed)
        return 2;
    if (mouseState & mousestate::Over)
        return 4;
    return focusedOrDefault ? 5 : 1;
}

std::optional<SkinColor> ButtonCaptionColour(const TDataSkinButton& element, int frame,
                                             SkinColor disabledColour) {
    if (frame == 3)
        return disabledColour;
    if (frame == 4 && element.MouseOverColour2Given)
        return element.MouseOverColour2;
    if (frame == 2 && element.PressedColour2Given)
        return element.PressedColour2;
    if (element.NormalColour2Given)
        return element.NormalColour2;
    return std::nullopt;
}

QString ButtonCaptionText(const QString& caption) {
    QString text = caption;
    const qsizetype at = text.indexOf(QLatin1String("||"));
    if (at >= 0)
        text.replace(at, 2, QLatin1Char('\n'));
    return text;
}

QRect ButtonTextBounds(QSize button) {
    return QRect(QPoint(0, 0), button).adjusted(2, 2, -2, -2);
}

ButtonCaptionPlace ButtonCaptionGeometry(QSize button, QSize measured) {
    const QRect text(QPoint((button.width() - measured.width()) / 2,
                            (button.height() - measured.height()) / 2 - 1),
                     measured);
    return {text, text.adjusted(-2, -2, 2, 2)};
}

// ---- picture buttons

GlyphLayout GlyphLayoutFromName(const QString& name) {
    const QString lower = name.toLower();
    if (lower == QLatin1String("blglyphright"))
        return GlyphLayout::Right;
    if (lower == QLatin1String("blglyphtop"))
        return GlyphLayout::Top;
    if (lower == QLatin1String("blglyphbottom"))
        return GlyphLayout::Bottom;
    return GlyphLayout::Left;
}

namespace {

bool sideways(GlyphLayout layout) {
    return layout == GlyphLayout::Left || layout == GlyphLayout::Right;
}

// The length along the layout axis, and across it.
int along(QSize size, GlyphLayout layout) {
    return sideways(layout) ? size.width() : size.height();
}
int across(QSize size, GlyphLayout layout) {
    return sideways(layout) ? size.height() : size.width();
}

QPoint place(int alongAt, int acrossAt, GlyphLayout layout) {
    return sideways(layout) ? QPoint(alongAt, acrossAt) : QPoint(acrossAt, alongAt);
}

} // namespace

QSize BitButtonTextBounds(QSize button, QSize glyph, GlyphLayout layout) {
    QSize bounds = button - QSize(4, 4);
    if (sideways(layout))
        bounds.rwidth() -= glyph.width() + 2;
    else
        bounds.rheight() -= glyph.height() + 2;
    return bounds;
}

BitButtonPlace BitButtonGeometry(const BitButtonInput& in) {
    const GlyphLayout layout = in.layout;
    const int c = along(in.button, layout), g = along(in.glyph, layout), t = along(in.text, layout);
    const int crossC = across(in.button, layout);
    const int glyphAcross = (crossC - across(in.glyph, layout) + 1) / 2;
    const int textAcross = (crossC - across(in.text, layout) + 1) / 2;

    int margin = in.margin, spacing = in.spacing;
    if (in.text.width() == 0 || in.glyph.width() == 0)
        spacing = 0;
    if (margin == -1 || in.alignCentre) {
        if (spacing == -1) {
            margin = (c - g - t) / 3;
            spacing = margin;
        } else {
            margin = (c - g - spacing - t) / 2;
        }
    } else if (spacing == -1) {
        spacing = ((c - margin - g) - t) / 2;
    }

    BitButtonPlace out;
    int glyphAt = 0, textAt = 0;
    if (layout == GlyphLayout::Left || layout == GlyphLayout::Top) {
        glyphAt = margin;
        textAt = margin + g + spacing;
    } else {
        glyphAt = c - margin - g;
        textAt = glyphAt - spacing - t;
    }
    out.textAlignment = layout == GlyphLayout::Left    ? TextAlignment::Left
                        : layout == GlyphLayout::Right ? TextAlignment::Right
                                                       : TextAlignment::Center;
    out.glyph = QRect(place(glyphAt, glyphAcross, layout), in.glyph);
    out.text = QRect(place(textAt, textAcross, layout), in.text);
    return out;
}

GlyphChoice BitButtonGlyph(int buttonFrame, int glyphFrames) {
    const int wanted = buttonFrame == 2 ? 3 : buttonFrame == 3 ? 2 : 1;
    GlyphChoice choice;
    choice.frame = glyphFrames < wanted ? 1 : wanted;
    choice.emboss = glyphFrames <= 1 && buttonFrame == 3;
    return choice;
}

// ---- edits, combo boxes, date pickers, up-downs

std::vector<QRect> FlatBorderFrames(QSize window, QSize client, int whiteFrames) {
    std::vector<QRect> frames;
    if (client.width() >= window.width() || client.height() >= window.height())
        return frames;
    for (int i = 0; i <= whiteFrames; ++i)
        frames.push_back(QRect(QPoint(0, 0), window).adjusted(i, i, -i, -i));
    return frames;
}

int ComboFrame(int mouseState, bool focused, bool enabled) {
    if (!enabled)
        return 3;
    if (mouseState & mousestate::Pressed)
        return 2;
    return focused || (mouseState & mousestate::Over) ? 4 : 1;
}

int ComboPlainFrame(int mouseState, bool focused, bool enabled) {
    if (mouseState & mousestate::Pressed)
        return 2;
    if (focused || (mouseState & mousestate::Over))
        return 4;
    return enabled ? 1 : 3;
}

ComboPlace ComboGeometry(int comboButtonStyle, QSize combo, bool buttonAtLeft, int arrowWidth,
                         int thumbLength, QSize cell) {
    const int w = combo.width(), h = combo.height(), a = arrowWidth;
    ComboPlace out;
    if (comboButtonStyle == 1) {
        out.innerFrame = QRect(1, 1, w - 2, h - 2);
        const QRect inner(2, 2, w - 4, h - 4);
        out.buttonArea = buttonAtLeft ? edges(2, 2, 2 + thumbLength, h - 2)
                                      : edges(w - 2 - thumbLength, 2, w - 2, h - 2);
        int buttonHeight = inner.height();
        if (cell.height() < thumbLength)
            buttonHeight = std::min(buttonHeight, cell.height());
        // A button lower than the box sits in its middle.
        const int top = inner.y() + (inner.height() - buttonHeight) / 2;
        out.button = buttonAtLeft ? QRect(2, top, cell.width(), buttonHeight)
                                  : QRect(w - 2 - cell.width(), top, cell.width(), buttonHeight);
        return out;
    }
    out.button = buttonAtLeft ? edges(0, 0, a + 2, h) : edges(w - a - 2, 0, w, h);
    if (comboButtonStyle == 2) {
        out.fullPicture = true;
        out.mirrored = buttonAtLeft;
        return out;
    }
    out.textArea = buttonAtLeft ? edges(a + 4, 2, w - 2, h - 2) : edges(2, 2, w - a - 4, h - 2);
    out.arrowArea =
        buttonAtLeft ? out.button.adjusted(2, 0, 0, 0) : out.button.adjusted(0, 0, -2, 0);
    return out;
}

QRect DateArrowRect(QSize picker, int border, int arrowWidth, bool buttonAtLeft) {
    const int left = buttonAtLeft ? 2 : picker.width() - arrowWidth - 4;
    return QRect(left + border, border, arrowWidth, picker.height() - 4);
}

int DateArrowFrame(bool hot) {
    return hot ? 4 : 1;
}

UpDownPlace UpDownGeometry(QSize upDown, bool horizontal) {
    const int w = upDown.width(), h = upDown.height();
    if (horizontal)
        return {QRect(0, 0, w / 2, h), QRect(w / 2, 0, w - w / 2, h)};
    return {QRect(0, 0, w, h / 2), QRect(0, h / 2, w, h - h / 2)};
}

int UpDownState(bool enabled, bool cursorInButton, int mouseState) {
    if (!enabled)
        return 3;
    if (!cursorInButton)
        return 1;
    if (mouseState & mousestate::Pressed)
        return 2;
    return mouseState & mousestate::Over ? 4 : 1;
}

int UpDownFrame(bool second, int state) {
    return state + (second ? 4 : 0);
}

QRect UpDownInEditRect(const QRect& upDown, QSize edit) {
    QRect r(QPoint(0, 0), upDown.size());
    if (upDown.y() < 3)
        r.setTop(3 - upDown.y());
    const int below = edit.height() - bottomOf(upDown);
    if (below < 3)
        r.setBottom(r.bottom() - (3 - below));
    const int beside = edit.width() - rightOf(upDown);
    if (beside < 3)
        r.setRight(r.right() - (3 - beside));
    return r;
}

// ---- status bars

namespace {

TextAlignment exchanged(TextAlignment alignment, bool rightToLeft) {
    if (!rightToLeft || alignment == TextAlignment::Center)
        return alignment;
    return alignment == TextAlignment::Left ? TextAlignment::Right : TextAlignment::Left;
}

} // namespace

std::vector<StatusPanelPlace> StatusPanelPlaces(QSize bar, const std::vector<StatusPanel>& panels) {
    std::vector<StatusPanelPlace> places;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const StatusPanel& panel = panels[i];
        if (!panel.rect)
            continue;
        StatusPanelPlace out;
        out.index = static_cast<int>(i);
        out.background = panel.rect->adjusted(0, 0, 2, 0);
        if (i + 1 == panels.size())
            out.background.setRight(bar.width() - 1);
        out.frame = panel.bevel;
        out.alignment = exchanged(panel.alignment, panel.rightToLeft);
        if (panel.textStyle)
            out.textArea = out.background.adjusted(2, 0, -2, 0);
        places.push_back(out);
    }
    return places;
}

StatusPanelPlace SimpleStatusPlace(QSize bar, bool rightToLeft) {
    StatusPanelPlace out;
    out.index = -1;
    out.background = QRect(QPoint(0, 0), bar);
    out.frame = Lowered;
    out.textArea = out.background.adjusted(2, 0, -2, 0);
    out.alignment = rightToLeft ? TextAlignment::Right : TextAlignment::Left;
    return out;
}

QRect StatusTextRect(const QRect& area, QSize measured, TextAlignment alignment) {
    const int top = area.y() + (area.height() - measured.height()) / 2 - 1;
    if (alignment == TextAlignment::Center)
        return QRect(area.x() + (area.width() - measured.width()) / 2, top, measured.width(),
                     measured.height());
    return QRect(area.x(), top, area.width(), measured.height());
}

QRect StatusGripRect(QSize bar, QSize cell) {
    return QRect(QPoint(bar.width() - 1 - cell.width(), bar.height() - 1 - cell.height()), cell);
}

// ---- group boxes

GroupBoxPlace GroupBoxGeometry(QSize box, int zeroHeight, QSize caption, bool rightToLeft,
                               QSize check) {
    GroupBoxPlace out;
    const int w = box.width(), h = box.height();
    out.top = zeroHeight / 2 - 1;
    // The rounded frame from (1, top) to (w − 1, h − 1), those edges outside it.
    out.outline = edges(1, out.top, w - 1, h - 1);
    out.cover = edges(0, out.top, w, h);
    if (check.isEmpty()) {
        const int left = rightToLeft ? w - 8 - caption.width() : 8;
        out.caption = out.text = QRect(QPoint(left, 0), caption);
        return out;
    }
    constexpr int gap = 3;
    const QSize block(check.width() + gap + caption.width(),
                      std::max(check.height(), caption.height()));
    const int left = rightToLeft ? w - 8 - block.width() : 8;
    out.caption = QRect(QPoint(left, 0), block);
    const int checkLeft = rightToLeft ? out.caption.right() + 1 - check.width() : left;
    const int textLeft = rightToLeft ? left : left + check.width() + gap;
    out.check = QRect(QPoint(checkLeft, (block.height() - check.height()) / 2), check);
    out.text = QRect(QPoint(textLeft, (block.height() - caption.height()) / 2), caption);
    return out;
}

int GroupCheckFrame(bool checked, bool enabled, bool hot, bool pressed) {
    const int look = !enabled ? 4 : hot && pressed ? 3 : hot ? 2 : 1;
    return (checked ? 4 : 0) + look;
}

// ---- page controls

int TabFrame(bool selected, bool hot, bool enabled) {
    if (!enabled)
        return 4;
    if (selected)
        return 2;
    return hot ? 3 : 1;
}

QRect TabBodyRect(const QRect& displayArea, TabPosition position) {
    QRect b = displayArea.adjusted(-4, -4, 4, 4);
    switch (position) {
    case TabPosition::Top:
        return b.adjusted(0, 1, 0, 0);
    case TabPosition::Bottom:
        return b.adjusted(0, 0, 0, -1);
    case TabPosition::Left:
        return b.adjusted(1, 0, 0, 0);
    case TabPosition::Right:
        return b.adjusted(0, 0, -1, 0);
    }
    return b;
}

QRect TabStripRect(QSize control, const QRect& body, TabPosition position) {
    switch (position) {
    case TabPosition::Top:
        return edges(0, 0, control.width(), body.y());
    case TabPosition::Bottom:
        return edges(0, bottomOf(body), control.width(), control.height());
    case TabPosition::Left:
        return edges(0, 0, body.x(), control.height());
    case TabPosition::Right:
        return edges(rightOf(body), 0, control.width(), control.height());
    }
    return {};
}

QSize TabStripImageSize(const QRect& strip, TabPosition position) {
    if (position == TabPosition::Left || position == TabPosition::Right)
        return strip.size().transposed();
    return strip.size();
}

QRect TabInStrip(const QRect& tab, TabPosition position, const QRect& body, QSize control,
                 QSize stripImage) {
    const int left = tab.x(), top = tab.y(), right = rightOf(tab), bottom = bottomOf(tab);
    switch (position) {
    case TabPosition::Top:
        return tab.translated(0, 1);
    case TabPosition::Bottom:
        return tab.translated(0, -(bottomOf(body) + 1));
    case TabPosition::Left: {
        const int w = stripImage.width();
        return edges(w - bottom, left, w - top, right);
    }
    case TabPosition::Right: {
        const int x = control.width();
        return edges(top - 1, x - right, bottom - 1, x - left);
    }
    }
    return tab;
}

QRect TabCloseBox(const QRect& tabInStrip) {
    const int right = rightOf(tabInStrip), top = tabInStrip.y();
    return edges(right - 8, top + 2, right - 2, top + 8);
}

int TabCloseBoxAt(const std::vector<QRect>& closeBoxes, QPoint point) {
    for (std::size_t i = 0; i < closeBoxes.size(); ++i) {
        if (closeBoxes[i].contains(point))
            return static_cast<int>(i);
    }
    return -1;
}

Margins TabBodyMargins(int tabsStyle, const Margins& paneMargins) {
    if (tabsStyle != 0)
        return paneMargins;
    return {4, 5, 4, 4};
}

TabImages PrepareTabImages(const QImage& tabs, const QImage& body, TabPosition position) {
    TabImages out;
    if (!tabs.isNull())
        out.tabs = tabs.convertToFormat(QImage::Format_RGB888);
    if (!body.isNull())
        out.body = body.convertToFormat(QImage::Format_RGB888);
    switch (position) {
    case TabPosition::Top:
        break;
    case TabPosition::Bottom:
        if (!out.tabs.isNull())
            Flip(out.tabs);
        if (!out.body.isNull())
            Flip(out.body);
        break;
    case TabPosition::Left:
        if (!out.body.isNull())
            RotateLeft(out.body);
        break;
    case TabPosition::Right:
        if (!out.body.isNull())
            RotateRight(out.body);
        break;
    }
    return out;
}

} // namespace skin
