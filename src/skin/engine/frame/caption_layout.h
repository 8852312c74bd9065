#pragma once

#include "skin/engine/frame/form_frame_geometry.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QFontMetrics;

// The caption of a skinned window: where its text, text back and icon go, and
// the caption buttons with their visibility, places, frames, actions and hints.
namespace skin {

class TDataSkinObject;
class TDataSkinSysButton;
class TDataSkinTitle;

// The caption text and where it goes.
struct CaptionText {
    QString text;     // as drawn: "  " + title + " ", cut with an ellipsis when too long
    QRect block;      // the text block, under the text back (window coordinates)
    QRect textRect;   // the block less the text back's ends: where the text is drawn
    bool rightToLeft; // drawn right-aligned, read right to left
};

// The caption's text as shown before it is fitted: two blanks, the title, one blank.
QString CaptionString(const QString& title);

// Places the caption text in the caption rectangle by the title's alignment
// (0 after TextShift, 1 centred, 2 before TextRightClip; mirrored for
// right-to-left windows), shifted down by half the spare height and half of
// TextShiftVert, its right edge clipped at TextRightClip (a pop-up window at
// its buttons), a dialog's block 16 pixels further left, and the text cut with
// an ellipsis where it does not fit. `reservedRight` is the room the right-
// aligned caption buttons take.
CaptionText LayoutCaptionText(const TDataSkinTitle& title, const FrameWindow& window,
                              const QRect& captionRect, int reservedRight,
                              const QFontMetrics& font);

// The narrowest width, from the window's own up, at which its caption shows
// the whole title (a dialog too narrow for its title is widened to it).
int CaptionFitWidth(const TDataSkinTitle& title, FrameWindow window, const FrameSizes& frame,
                    int reservedRight, const QFontMetrics& font);

// The window icon's place: 8 pixels from the left, centred on the text's height.
QRect IconRect(const QRect& textRect, int iconSize = 16);

// A caption button of the window. It keeps its own picture so that a button
// that shows the window icon does not change the skin.
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(NCObjectHost& owner, const TDataSkinSysButton& button);

    const TDataSkinSysButton& button() const { return mButton; }
    int action() const;
    // The system-menu button, which shows the window icon.
    bool showsIcon() const;
    // One frame of the picture.
    QSize frameSize() const;
    // The frame drawn in a whole frame painting: the first while the window is
    // active and the button enabled (or when there are fewer than 4), else the fourth.
    int paintFrame(bool active) const;
    // The frame for the button's own state (1 normal, 2 pressed, 3 mouse
    // over); a disabled button shows its fourth frame when it has one.
    int stateFrame() const;
    void Paint() override;

    QImage image;
    int frameCount = 1;

private:
    const TDataSkinSysButton& mButton;
};

using CaptionButtons = std::vector<std::unique_ptr<TWinSysButton>>;

// One enabled button per caption button of the skin. A system-menu button
// without a picture gets the window's icon bitmap, in one frame.
CaptionButtons MakeCaptionButtons(NCObjectHost& owner, const TSkinData& data,
                                  const QImage& iconBitmap);

// The answer of a window asked whether a caption button with a code of 1000 to
// 2000 shows (wParam the code, lParam the Action). Nothing in this program
// answers, which hides such buttons.
using CaptionVisibleQuery = std::function<int(int code, int action)>;

// Whether a visibility code lets a button show. `first` is the Visibility
// code, else Visibility1. Codes 100 (maximized child windows) and -1 never do.
bool VisibilityAllows(int code, bool first, int action, const FrameWindow& window,
                      const CaptionVisibleQuery& query = {});

struct CaptionButtonShow {
    bool visible = false;
    bool enabled = true;
};

// Both codes, then the Action: a close button needs a system menu, maximize
// and minimize are enabled only with their box and a system menu, and a
// dialog shows no system-menu button.
CaptionButtonShow CaptionButtonShown(const TDataSkinSysButton& button, const FrameWindow& window,
                                     const CaptionVisibleQuery& query = {});

// The largest Xcoord of the visible right-aligned buttons with a picture.
int ReservedRightWidth(const CaptionButtons& buttons);

// Where a shown button goes by its Align: 0 at its coordinates, 1 from the
// window's right edge, 2 and 8 left of the text block, 3 and 9 right of it.
// Other aligns (100 is the child-window buttons in the menu band) get no place.
QRect CaptionButtonRect(const TWinSysButton& button, int windowWidth, const QRect& textBlock);

// Everything the caption needs for one painting.
struct CaptionLayout {
    QRect caption; // the caption rectangle
    CaptionText text;
    int reservedRight = 0;
    QRect icon;
};

// Settles the buttons' visibility and enabled state, lays the text out and
// places the buttons (a button that is not shown or has no picture gets an
// empty rectangle).
CaptionLayout LayoutCaption(const TSkinData& data, const FrameWindow& window,
                            const FrameSizes& frame, CaptionButtons& buttons,
                            const QFontMetrics& captionFont, const CaptionVisibleQuery& query = {});

// The visible button under a point (only buttons with an Action of 0 or
// more), or null.
TWinSysButton* CaptionButtonAt(const CaptionButtons& buttons, QPoint point);

// What a click on a caption button or a double click in the caption asks for.
enum class CaptionCommand {
    None,
    Close,
    Maximize,
    Restore,
    Minimize,
    SystemMenu,
    ContextHelp,
    CaptionButtonMessage // SM_CAPTIONBUTTON with the Action
};

// The command of a released caption button. Maximize and minimize buttons
// restore a window that is already in their state and do nothing while
// disabled; the child-window actions (7 to 9, 60 to 62) do nothing here.
CaptionCommand ActionCommand(int action, bool enabled, int windowState);

// A double click: on the system-menu button it closes the window; elsewhere a
// window that is not normal is restored and a normal one with a maximize box
// maximized; otherwise nothing (the click goes on to the window).
CaptionCommand DoubleClickCommand(const TWinSysButton* at, const FrameWindow& window);

// The hint of a caption button's Action: "Close", "Maximize", "Minimize",
// "Restore", or empty for actions without one. A maximize or minimize button
// of a window already in that state restores it, and its hint says so.
QString CaptionHintText(int action, int windowState);

// The pause before a caption-button hint and how long it stays. The hover
// timer adds its interval on every tick over a caption button; the hint shows
// from twice the hint pause until twice the pause plus the hide pause.
class HintCounter {
public:
    static constexpr int Tick = 250; // the hover timer's interval, ms
    static constexpr int HintPause = 500;
    static constexpr int HintHidePause = 2500;
    enum Phase { Waiting, Shown, Over };

    Phase tick(int hintPause = HintPause, int hintHidePause = HintHidePause);
    void reset() { mCounter = 0; }
    int counter() const { return mCounter; }

private:
    int mCounter = 0;
};

// Where the hint goes on the screen: at the button's left, 24 pixels under the cursor.
QPoint HintPosition(const QRect& button, QPoint windowTopLeft, int cursorScreenY);

} // namespace skin
