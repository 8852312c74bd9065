#pragma once

#include "skin/data/skin_elements.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/manager/control_traversal.h"

#include <QImage>
#include <QRect>
#include <QSize>

// The skinned progress bar: the track and the filled part from the skin's
// Progress element (2 frames), the chunks of Progress.Chunk along the filled
// part.
namespace skin {

// Progress: the track 1, the filled part 2; a disabled bar shows its track alone.
constexpr int ProgressTrackFrame = 1, ProgressBarFrame = 2, ProgressFrames = 2;

struct ProgressPlace {
    QRect track;  // the whole bar
    QRect filled; // the part that shows the value (empty at the minimum)
    QRect chunks; // the filled part inside the Progress margins, where chunks go
};
// The filled part grows from the left (from the bottom for a vertical bar)
// in proportion to the value within the range; a value outside the range is
// held to it and an empty range shows nothing filled.
ProgressPlace ProgressGeometry(QSize bar, int minimum, int maximum, int value, bool vertical,
                               const Margins& margins);

class TSkinProgress : public TSkinControl {
    Q_OBJECT
public:
    explicit TSkinProgress(QObject* owner) : TSkinControl(owner) {}

    QImage Canvas;

    bool BeforeMessage(Message& message) override;
    void PaintSkin(QPainter& dc, const QRect& rect) override;
};

// The progress bar kind's factory.
SkinKindFactories progressKinds();

} // namespace skin
