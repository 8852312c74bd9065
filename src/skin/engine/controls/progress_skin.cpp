#include "skin/engine/controls/progress_skin.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/controls/skin_canvas.h"
#include "skin/engine/manager/control_traversal.h"

#include <QPainter>
#include <QProgressBar>

#include <algorithm>

namespace skin {

ProgressPlace ProgressGeometry(QSize bar, int minimum, int maximum, int value, bool vertical,
                               const Margins& m) {
    ProgressPlace out;
    out.track = QRect(QPoint(0, 0), bar);
    const qint64 range = static_cast<qint64>(maximum) - minimum;
    if (range <= 0 || bar.isEmpty())
        return out;
    const qint64 done = std::clamp<qint64>(static_cast<qint64>(value) - minimum, 0, range);
    const int length = vertical ? bar.height() : bar.width();
    const int filled = static_cast<int>(done * length / range);
    if (filled <= 0)
        return out;
    out.filled = vertical ? QRect(0, bar.height() - filled, bar.width(), filled)
                          : QRect(0, 0, filled, bar.height());
    out.chunks = out.filled.adjusted(m.left, m.top, -m.right, -m.bottom) &
                 out.track.adjusted(m.left, m.top, -m.right, -m.bottom);
    return out;
}

bool TSkinProgress::BeforeMessage(Message& m) {
    return !PaintClient(*this, m) && TSkinControl::BeforeMessage(m);
}

void TSkinProgress::PaintSkin(QPainter& dc, const QRect& rect) {
    const TDataSkinObject* bar = SkinData ? SkinData->element(SkinElement::Progress) : nullptr;
    auto* progress = qobject_cast<QProgressBar*>(Handle.data());
    if (!bar || bar->Image.isNull() || !progress)
        return;
    Enabled = progress->isEnabled();
    const bool vertical = progress->orientation() == Qt::Vertical;
    const QRect r(QPoint(0, 0), rect.size());
    const ProgressPlace place = ProgressGeometry(r.size(), progress->minimum(), progress->maximum(),
                                                 progress->value(), vertical, bar->margins());
    Canvas = MakeCanvas(Handle, r.size());
    QPainter p(&Canvas);
    FillSkinColor(p, r);
    DrawFrame(p, place.track, bar->Image, false, bar->Tile != 0, bar->Trans == 1, ProgressFrames,
              ProgressTrackFrame, bar->margins());
    if (Enabled && !place.filled.isEmpty()) {
        DrawFrame(p, place.filled, bar->Image, false, bar->Tile != 0, bar->Trans == 1,
                  ProgressFrames, ProgressBarFrame, bar->margins());
        const TDataSkinObject* chunk = SkinData->element(SkinElement::ProgressChunk);
        if (chunk && !chunk->Image.isNull() && !place.chunks.isEmpty()) {
            p.save();
            p.setClipRect(place.chunks);
            const QSize size = chunk->Image.size();
            const QRect& c = place.chunks;
            if (vertical) {
                for (int y = c.bottom() + 1 - size.height(); y + size.height() > c.top();
                     y -= size.height())
                    DrawFrameScaled(p, QRect(c.left(), y, c.width(), size.height()), chunk->Image,
                                    true, 1, 1);
            } else {
                for (int x = c.left(); x <= c.right(); x += size.width())
                    DrawFrameScaled(p, QRect(x, c.top(), size.width(), c.height()), chunk->Image,
                                    true, 1, 1);
            }
            p.restore();
        }
    }
    if (progress->isTextVisible()) {
        p.setFont(progress->font());
        p.setPen(SkinQColor(SkinData->colour(colour::WindowText)));
        p.drawText(r, Qt::AlignCenter, progress->text());
    }
    p.end();
    dc.drawImage(rect.topLeft(), Canvas);
}

SkinKindFactories progressKinds() {
    return {{SkinKind::SkinProgress, skinKindOf<TSkinProgress>()}};
}

} // namespace skin
