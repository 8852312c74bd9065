#include "skin/engine/controls/skin_canvas.h"

#include "skin/engine/controls/skin_control.h"

#include <QWidget>

#include <cmath>

namespace skin {

QImage MakeCanvas(const QWidget* widget, QSize size) {
    const qreal ratio = widget ? widget->devicePixelRatioF() : 1.0;
    const QSize device(static_cast<int>(std::ceil(size.width() * ratio)),
                       static_cast<int>(std::ceil(size.height() * ratio)));
    QImage canvas(device.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::transparent);
    return canvas;
}

QColor SystemColour(int index) {
    return SkinQColor(static_cast<SkinColor>(0xFF000000u | static_cast<quint32>(index)));
}

bool PaintClient(TSkinControl& object, Message& m) {
    if (m.msg == wm::Paint) {
        HandlePaint(object, m);
        return true;
    }
    if (m.msg == wm::EraseBkgnd) {
        answer(m, 1);
        return true;
    }
    return false;
}

} // namespace skin
