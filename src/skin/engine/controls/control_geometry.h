#pragma once

#include "skin/data/skin_elements.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

// How the skinned controls look, worked out without a window: which frame of
// an element a control's state shows, and where the pieces of a control's
// picture go. Rectangles are x, y, width, height in the control's own
// coordinates (its top-left corner is 0, 0); text sizes are measured by the
// caller and passed in, so nothing here needs a font.
namespace skin {

// The bits of a skinned control's mouse state.
namespace mousestate {
constexpr int Over = 1;    // the mouse is over the control (or a combo box's button)
constexpr int Pressed = 2; // the left button or the space key holds it down
} // namespace mousestate

enum class TextAlignment { Left, Center, Right };

// ---- push buttons ("Buttons", 5 frames)

// Pressed 2, mouse over 4, focused or default 5, otherwise 1; 3 whenever the
// button is disabled.
int ButtonFrame(int mouseState, bool focusedOrDefault, bool enabled);

// The caption colour of a button showing `frame`: the element's NormalColour2,
// MouseOverColour2 in frame 4 or PressedColour2 in frame 2 where the skin
// gives them, `disabledColour` in frame 3; none keeps the font's colour.
std::optional<SkinColor> ButtonCaptionColour(const TDataSkinButton& element, int frame,
                                             SkinColor disabledColour);

// The caption as drawn: its first "||" becomes a line break.
QString ButtonCaptionText(const QString& caption);

// The area a plain button's caption is measured in: the button 2 pixels
// smaller on every side.
QRect ButtonTextBounds(QSize button);

// Where a plain button's caption of the measured size goes: centred, one
// pixel above the true centre; and the focus rectangle, 2 pixels around it.
struct ButtonCaptionPlace {
    QRect text;
    QRect focus;
};
ButtonCaptionPlace ButtonCaptionGeometry(QSize button, QSize measured);

// ---- picture buttons

// Where the picture goes relative to the caption.
enum class GlyphLayout { Left = 0, Right = 1, Top = 2, Bottom = 3 };

// "blglyphleft", "blglyphright", "blglyphtop", "blglyphbottom" in any case;
// anything else is Left.
GlyphLayout GlyphLayoutFromName(const QString& name);

// The area a picture button's caption is measured in: the button 2 pixels
// smaller on every side, less the glyph and 2 pixels along the layout.
QSize BitButtonTextBounds(QSize button, QSize glyph, GlyphLayout layout);

struct BitButtonInput {
    QSize button;     // the client size
    QSize glyph;      // 0 × 0 without a picture
    QSize text;       // the measured caption, 0 × 0 without one
    int margin = -1;  // -1: none given
    int spacing = -1; // -1: none given
    GlyphLayout layout = GlyphLayout::Left;
    bool alignCentre = false; // the control's Alignment is "taCenter"
};
struct BitButtonPlace {
    QRect glyph;
    QRect text;
    TextAlignment textAlignment = TextAlignment::Left;
};
// Both parts centred across the layout axis; along it the margin and the
// spacing place them, and a missing margin (or a centred alignment) shares
// the free length out: with no spacing either, in three equal parts before
// the glyph, between the two and after the caption.
BitButtonPlace BitButtonGeometry(const BitButtonInput& input);

// Which frame of a glyph strip a picture button shows in `buttonFrame`
// (pressed 3, disabled 2, else 1; frame 1 when the strip has fewer frames),
// and whether that one-frame picture must be embossed as disabled.
struct GlyphChoice {
    int frame = 1;
    bool emboss = false;
};
GlyphChoice BitButtonGlyph(int buttonFrame, int glyphFrames);

// ---- edits, combo boxes, date pickers, up-downs

// The flat border over a sunken one: a frame in ButtonShadow on the whole
// window, then `whiteFrames` white frames, each one pixel further in (two for
// an edit, one for a combo box and a date picker). Each rectangle is one
// one-pixel frame, the shadow's first. None for a control without a border
// (its client area as wide or as high as the window).
std::vector<QRect> FlatBorderFrames(QSize window, QSize client, int whiteFrames);

// A combo box's or date picker's part: pressed 2, focused or mouse over the
// button 4, otherwise 1; disabled 3 overrides.
int ComboFrame(int mouseState, bool focused, bool enabled);
// The plain painting (ComboButton Style 1): pressed 2, focused or mouse over
// 4, enabled 1, else 3.
int ComboPlainFrame(int mouseState, bool focused, bool enabled);

// Where a combo box's pieces go in each painting of the ComboButton Style.
struct ComboPlace {
    // Style 2: the full picture (drawn over the whole box, its text area
    // transparent); the mirrored picture for a button at the left.
    bool fullPicture = false;
    bool mirrored = false;
    QRect button;                    // the drop-down button, kept as the hover area
    std::optional<QRect> textArea;   // excluded from the painting (other Styles)
    std::optional<QRect> arrowArea;  // where ExtraImages' arrow is centred
    std::optional<QRect> innerFrame; // Style 1: the frame one pixel inside
    std::optional<QRect> buttonArea; // Style 1: the area filled under the button
};
// `arrowWidth` is the scroll bar's arrow width, `thumbLength` the vertical
// thumb's length (Style 1's button area); `cell` one ComboButton frame.
ComboPlace ComboGeometry(int comboButtonStyle, QSize combo, bool buttonAtLeft, int arrowWidth,
                         int thumbLength, QSize cell);

// The date picker's arrow button over its own drop-down button, in the
// picker's coordinates. Its place is reckoned from the client area, which
// starts `border` pixels inside the picker: just inside the border at the
// right, two pixels in from the client's edge at the left.
QRect DateArrowRect(QSize picker, int border, int arrowWidth, bool buttonAtLeft);
// ComboxArrow's frame on it: 4 under the mouse, else 1.
int DateArrowFrame(bool hot);

// The up-down's two buttons: the first (up or left) and the second.
struct UpDownPlace {
    QRect first;
    QRect second;
};
// Side by side for a horizontal one (the first W div 2 pixels), else one over
// the other (the first H div 2 pixels).
UpDownPlace UpDownGeometry(QSize upDown, bool horizontal);
// A button's state: 3 disabled; pressed 2 or mouse over 4 while the cursor is
// in it; else 1.
int UpDownState(bool enabled, bool cursorInButton, int mouseState);
// The frame of UpDown.Vert or UpDown.Horz: 1 to 4 for the first button, 5 to
// 8 for the second.
int UpDownFrame(bool second, int state);
// Where an edit's spin button draws, in its own coordinates: kept 3 pixels
// inside the edit at the top, the bottom and the right. `upDown` is its
// rectangle in the edit's window coordinates.
QRect UpDownInEditRect(const QRect& upDown, QSize edit);

// ---- status bars

// The panel bevels, which are also the frames of StatusBarEdges.
enum StatusBevel { Lowered = 1, Raised = 2, NoBevel = 3 };

struct StatusPanel {
    std::optional<QRect> rect; // as the bar reports it; none: skipped
    TextAlignment alignment = TextAlignment::Left;
    bool rightToLeft = false;
    StatusBevel bevel = Lowered;
    bool textStyle = true; // the panel shows its text
};
struct StatusPanelPlace {
    int index = 0; // the panel's number, or -1 for a simple bar
    QRect background;
    int frame = Lowered;
    std::optional<QRect> textArea;
    TextAlignment alignment = TextAlignment::Left;
};
// Each reported panel grows 2 pixels to the right; the last reaches the bar's
// right edge. The text area is the panel 2 pixels narrower at both sides;
// a right-to-left panel exchanges left and right alignment.
std::vector<StatusPanelPlace> StatusPanelPlaces(QSize bar, const std::vector<StatusPanel>& panels);
// A simple bar (or one without panels): one lowered panel over the whole bar,
// its text left-aligned, right-aligned for a right-to-left bar.
StatusPanelPlace SimpleStatusPlace(QSize bar, bool rightToLeft);
// Where a text of the measured size is drawn in a text area: (free height
// div 2) − 1 below its top; centred text also (free width div 2) from the
// left, left and right text over the full width.
QRect StatusTextRect(const QRect& area, QSize measured, TextAlignment alignment);
// The size grip, one ExtraImages cell, its right and bottom edges one pixel
// inside the bar's.
QRect StatusGripRect(QSize bar, QSize cell);

// ---- group boxes

struct GroupBoxPlace {
    int top = 0;   // the frame's top line
    QRect outline; // the pixels of the rounded frame (corners 5 × 5)
    QRect cover;   // a bare box: the outer of the two frames over the native one
    QRect caption; // the caption's opaque box, check box included
    QRect text;    // the caption's text
    QRect check;   // a checkable box's check box, or empty
};
// `zeroHeight` is the height of "0" in the box's font; `rightToLeft` a box
// with its caption at the right; `caption` the measured caption; `check` the
// size of a checkable box's check box, which leads the caption (3 pixels
// before the text, both centred on the caption's line).
GroupBoxPlace GroupBoxGeometry(QSize box, int zeroHeight, QSize caption, bool rightToLeft,
                               QSize check = {});
// The frame of the Buttons' check box picture (unchecked, checked, mixed,
// each normal, mouse over, pressed, disabled) for a group box's check box.
int GroupCheckFrame(bool checked, bool enabled, bool hot, bool pressed);

// ---- page controls ("Tabs", 5 frames)

enum class TabPosition { Top = 0, Bottom = 1, Left = 2, Right = 3 };

// Selected 2, mouse over 3, otherwise 1; 4 whenever the control is disabled.
int TabFrame(bool selected, bool hot, bool enabled);

// The body: the display area grown by 4 on every side, then one pixel in on
// the side of the tabs.
QRect TabBodyRect(const QRect& displayArea, TabPosition position);
// The strip between the control's edge and the body on the side of the tabs.
QRect TabStripRect(QSize control, const QRect& body, TabPosition position);
// The strip picture's size: the strip, turned a quarter for left and right tabs.
QSize TabStripImageSize(const QRect& strip, TabPosition position);
// A tab's rectangle (control coordinates) in the strip picture as it is drawn
// before the quarter turn of left and right strips.
QRect TabInStrip(const QRect& tab, TabPosition position, const QRect& body, QSize control,
                 QSize stripImage);
// The crossed close box in a tab's top-right corner (strip coordinates).
QRect TabCloseBox(const QRect& tabInStrip);
// The first tab whose close box holds the point, or -1: only that one tab is
// closed by a press.
int TabCloseBoxAt(const std::vector<QRect>& closeBoxes, QPoint point);
// The body's margins: Tab.Pane's for a Tabs Style other than 0, else 4, 5, 4, 4.
Margins TabBodyMargins(int tabsStyle, const Margins& paneMargins);

// The Tabs picture and the body picture turned for the tab position: both
// flipped for bottom tabs, the body turned left for left tabs and right for
// right tabs. Both 24-bit.
struct TabImages {
    QImage tabs;
    QImage body;
};
TabImages PrepareTabImages(const QImage& tabs, const QImage& body, TabPosition position);

} // namespace skin
