#include "app/launcher_pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace app {

namespace {

constexpr int Size = 32;

// A rounded tile in the picture's colour, the symbol drawn in white on it.
void tile(QPainter& p, QColor colour) {
    QLinearGradient shade(0, 0, 0, Size);
    shade.setColorAt(0, colour.lighter(125));
    shade.setColorAt(1, colour.darker(115));
    p.setPen(QPen(colour.darker(140), 1));
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(1.5, 1.5, Size - 3, Size - 3), 6, 6);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

void lines(QPainter& p, qreal x, qreal y, qreal w, int count, qreal gap) {
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(x, y + i * gap), QPointF(x + w, y + i * gap));
}

} // namespace

QImage drawLauncherPicture(LauncherPicture picture) {
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (picture) {
    case LauncherPicture::Sales: // a price tag
        tile(p, QColor(0xe7, 0x4c, 0x3c));
        p.drawPolygon(QPolygonF({{9, 9}, {18, 9}, {25, 16}, {16, 25}, {9, 18}}));
        p.drawEllipse(QPointF(13, 13), 1.5, 1.5);
        break;
    case LauncherPicture::Purchases: // a box
        tile(p, QColor(0xe6, 0x7e, 0x22));
        p.drawRect(QRectF(8, 12, 16, 12));
        p.drawPolyline(QPolygonF({{8, 12}, {11, 8}, {21, 8}, {24, 12}}));
        p.drawLine(QPointF(16, 12), QPointF(16, 17));
        break;
    case LauncherPicture::Memo: // a pinned note
        tile(p, QColor(0xf1, 0xc4, 0x0f));
        p.drawRect(QRectF(9, 8, 14, 17));
        lines(p, 12, 13, 8, 3, 4);
        break;
    case LauncherPicture::Diary: // an open book
        tile(p, QColor(0x8e, 0x44, 0xad));
        p.drawPolyline(
            QPolygonF({{16, 11}, {8, 9}, {8, 23}, {16, 25}, {24, 23}, {24, 9}, {16, 11}}));
        p.drawLine(QPointF(16, 11), QPointF(16, 25));
        break;
    case LauncherPicture::Remittances: // an envelope with a coin
        tile(p, QColor(0x27, 0xae, 0x60));
        p.drawRect(QRectF(7, 10, 18, 13));
        p.drawPolyline(QPolygonF({{7, 10}, {16, 18}, {25, 10}}));
        break;
    case LauncherPicture::StaffLeave: // a person and a clock hand
        tile(p, QColor(0x16, 0xa0, 0x85));
        p.drawEllipse(QPointF(13, 11), 3.5, 3.5);
        p.drawArc(QRectF(6, 16, 14, 12), 0, 180 * 16);
        p.drawEllipse(QPointF(22, 20), 4.5, 4.5);
        p.drawPolyline(QPolygonF({{22, 17.5}, {22, 20}, {24, 21}}));
        break;
    case LauncherPicture::Salary: // stacked coins
        tile(p, QColor(0xd3, 0x9c, 0x12));
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QRectF(9, 17 - i * 4, 14, 6));
        break;
    case LauncherPicture::Customers: // an address card
        tile(p, QColor(0x29, 0x80, 0xb9));
        p.drawRoundedRect(QRectF(7, 9, 18, 14), 2, 2);
        p.drawEllipse(QPointF(12.5, 14), 2.2, 2.2);
        lines(p, 17, 13, 5, 3, 3);
        break;
    case LauncherPicture::Electricity: // a lightning bolt
        tile(p, QColor(0x34, 0x49, 0x5e));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({{18, 6}, {10, 18}, {15, 18}, {13, 26}, {22, 13}, {17, 13}}));
        break;
    case LauncherPicture::Calendar: // a calendar leaf
        tile(p, QColor(0xc0, 0x39, 0x2b));
        p.drawRect(QRectF(8, 10, 16, 14));
        p.drawLine(QPointF(8, 14), QPointF(24, 14));
        p.drawLine(QPointF(12, 7), QPointF(12, 11));
        p.drawLine(QPointF(20, 7), QPointF(20, 11));
        p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawPoint(QPointF(16, 19));
        break;
    case LauncherPicture::Calculator: // a calculator
        tile(p, QColor(0x7f, 0x8c, 0x8d));
        p.drawRoundedRect(QRectF(9, 6, 14, 20), 2, 2);
        p.drawRect(QRectF(12, 9, 8, 4));
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawPoint(QPointF(12.5 + c * 3.5, 17 + r * 4));
        break;
    }
    return image;
}

} // namespace app
