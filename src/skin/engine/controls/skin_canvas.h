#pragma once

#include "skin/data/bitmap_utils.h"

#include <QColor>
#include <QImage>
#include <QSize>

class QWidget;

namespace skin {
class TSkinControl;
struct Message;
} // namespace skin

// The off-screen canvases of the control kinds and the colours they paint
// with. A canvas has the widget's device pixel ratio and is painted in logical
// coordinates: text is drawn at the device's resolution and skin pictures are
// stretched to whole device pixels (skin_paint).
namespace skin {

// A canvas of `size` logical pixels for painting `widget`, fully transparent.
QImage MakeCanvas(const QWidget* widget, QSize size);

// A system colour by its index.
QColor SystemColour(int index);

// The paint and background messages of a client-painted kind: the whole
// picture is the kind's PaintSkin. True when the message was one of them (it
// then never reaches the control).
bool PaintClient(TSkinControl& object, Message& message);

} // namespace skin
