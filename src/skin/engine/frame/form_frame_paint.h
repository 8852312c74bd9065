#pragma once

#include "skin/data/bitmap_utils.h"
#include "skin/engine/frame/caption_layout.h"

#include <QColor>
#include <QIcon>
#include <QImage>

#include <functional>

class QFont;
class QPainter;

// The picture of a skinned window's frame: borders, caption with text back,
// text, icon and buttons, and the menu band. Everything is drawn in the
// window's logical coordinates, so a painter on a picture with a device pixel
// ratio gives sharp text.
namespace skin {

class TDataSkinBorder;

// One border stretched over its rectangle: side borders from a strip, top and
// bottom from a stack, the centre stretched when Tile is 1 and tiled
// otherwise, frame 1 or 2 by the active state. A transparent border's magenta
// pixels are left out: the window's outline cuts them off, and where a window
// system cuts it coarser (fractional scales) or not at all, the window's own
// background shows there rather than magenta.
void PaintBorder(QPainter& painter, const TDataSkinBorder& border, int side, const QRect& rect,
                 bool active);

// A caption button in `frame` of its strip, magenta transparent. The system-
// menu button shows the window's icon (the application's unless the window
// has its own) at the icon place, or its own picture when there is no icon.
void PaintCaptionButton(QPainter& painter, const TWinSysButton& button, int frame,
                        const QIcon& windowIcon, const QRect& iconRect);

// The caption: the Top border, the text back under the text block, the text
// in the title colour of the active state, and the shown caption buttons.
void PaintCaption(QPainter& painter, const TSkinData& data, const FrameWindow& window,
                  const CaptionLayout& layout, const CaptionButtons& buttons,
                  const QIcon& windowIcon, const QFont& captionFont);

// Draws the menu bar into the menu band.
using MenuBandPainter = std::function<void(QPainter& painter, const QRect& band)>;

// The whole frame: the Left, Right and Bottom borders, the caption and the
// menu band (by `paintMenuBand`, else filled with the button face). A
// minimized window shows only its caption over the button face; a window
// without a border has no frame.
void PaintFrame(QPainter& painter, const TSkinData& data, const FrameWindow& window,
                const FrameSizes& frame, const CaptionLayout& layout, const CaptionButtons& buttons,
                const QIcon& windowIcon, const QFont& captionFont,
                const MenuBandPainter& paintMenuBand = {});

// PaintFrame into a new picture of the window's size at the device pixel
// ratio; the client area stays transparent.
QImage FramePicture(const TSkinData& data, const FrameWindow& window, const FrameSizes& frame,
                    const CaptionLayout& layout, const CaptionButtons& buttons,
                    const QIcon& windowIcon, const QFont& captionFont, qreal devicePixelRatio = 1.0,
                    const MenuBandPainter& paintMenuBand = {});

} // namespace skin
