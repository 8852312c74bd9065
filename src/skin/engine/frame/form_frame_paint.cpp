#include "skin/engine/frame/form_frame_paint.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"

#include <QPainter>

namespace skin {

void PaintBorder(QPainter& painter, const TDataSkinBorder& border, int side, const QRect& rect,
                 bool active) {
    const bool stacked = side == TSkinData::Top || side == TSkinData::Bottom;
    DrawFrame(painter, rect, border.Image, stacked, border.Tile != 1, border.Trans != 0,
              border.FrameCount, BorderFrame(border, active), border.margins());
}

void PaintCaptionButton(QPainter& painter, const TWinSysButton& button, int frame,
                        const QIcon& windowIcon, const QRect& iconRect) {
    if (button.showsIcon()) {
        if (!windowIcon.isNull())
            windowIcon.paint(&painter, iconRect);
        else
            DrawMasked(painter, button.rect, button.image);
        return;
    }
    DrawFrameScaled(painter, button.rect, button.image, true, button.frameCount, frame);
}

void PaintCaption(QPainter& painter, const TSkinData& data, const FrameWindow& window,
                  const CaptionLayout& layout, const CaptionButtons& buttons,
                  const QIcon& windowIcon, const QFont& captionFont) {
    PaintBorder(painter, *data.border(TSkinData::Top), TSkinData::Top, layout.caption,
                window.active);

    const TDataSkinTitle& title = *data.title();
    const CaptionText& text = layout.text;
    if (!title.Image.isNull()) {
        const QRect back(text.block.x(), layout.caption.y(), text.block.width(),
                         layout.caption.height());
        DrawHorzBar(painter, back, title.Image, true, true, 2, window.active ? 1 : 2,
                    Margins{title.TXTBackleft, 0, title.TXTBackRight, 0});
    }
    painter.save();
    painter.setFont(captionFont);
    painter.setPen(SkinQColor(
        data.colour(window.active ? colour::TitleTextActive : colour::TitleTextNoActive)));
    int flags = Qt::TextSingleLine | Qt::AlignTop | Qt::TextIncludeTrailingSpaces;
    if (text.rightToLeft) {
        painter.setLayoutDirection(Qt::RightToLeft);
        flags |= Qt::AlignRight;
    } else {
        painter.setLayoutDirection(Qt::LeftToRight);
        flags |= Qt::AlignLeft;
    }
    painter.drawText(text.textRect, flags, text.text);
    painter.restore();

    for (const auto& button : buttons) {
        if (!button->visible || button->rect.isEmpty() || button->button().Visibility == 100)
            continue;
        // A button under the mouse or pressed shows its state.
        const int frame = button->state == TNCObject::Normal ? button->paintFrame(window.active)
                                                             : button->stateFrame();
        PaintCaptionButton(painter, *button, frame, windowIcon, layout.icon);
    }
}

void PaintFrame(QPainter& painter, const TSkinData& data, const FrameWindow& window,
                const FrameSizes& frame, const CaptionLayout& layout, const CaptionButtons& buttons,
                const QIcon& windowIcon, const QFont& captionFont,
                const MenuBandPainter& paintMenuBand) {
    if (window.borderStyle == BorderNone || !data.skinLoaded())
        return;
    const QSize size = window.size;
    if (window.minimized()) {
        painter.fillRect(QRect(QPoint(0, 0), size), data.buttonFaceBrush());
    } else {
        for (int side : {TSkinData::Left, TSkinData::Right, TSkinData::Bottom})
            PaintBorder(painter, *data.border(side), side, BorderRect(side, size, frame),
                        window.active);
    }
    PaintCaption(painter, data, window, layout, buttons, windowIcon, captionFont);
    if (window.minimized() || frame.menuBar <= 0)
        return;
    const QRect band = MenuBandRect(size, frame);
    if (paintMenuBand)
        paintMenuBand(painter, band);
    else
        painter.fillRect(band, data.buttonFaceBrush());
}

QImage FramePicture(const TSkinData& data, const FrameWindow& window, const FrameSizes& frame,
                    const CaptionLayout& layout, const CaptionButtons& buttons,
                    const QIcon& windowIcon, const QFont& captionFont, qreal devicePixelRatio,
                    const MenuBandPainter& paintMenuBand) {
    QImage picture(window.size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    PaintFrame(painter, data, window, frame, layout, buttons, windowIcon, captionFont,
               paintMenuBand);
    return picture;
}

} // namespace skin
