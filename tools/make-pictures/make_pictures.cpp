// Draws the main window's banner and writes it as JPEG:
//   QT_QPA_PLATFORM=offscreen make-pictures resources/banner.jpg

#include "platform/jpeg_image.h"

#include <QFile>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

QImage drawBanner() {
    QImage image(560, 96, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, image.width(), image.height());
    sky.setColorAt(0.0, QColor(0x1f, 0x5f, 0x8b));
    sky.setColorAt(0.6, QColor(0x2e, 0x86, 0xab));
    sky.setColorAt(1.0, QColor(0x7f, 0xc8, 0xa9));
    p.fillRect(image.rect(), sky);

    // Soft circles for depth.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        p.setBrush(QColor(255, 255, 255, 18 + i * 3));
        const int r = 30 + i * 11;
        p.drawEllipse(QPoint(420 + i * 17, 10 + (i % 3) * 30), r, r);
    }

    // A shop front: awning stripes above a counter.
    const QRect shop(24, 20, 86, 62);
    p.setBrush(QColor(0xff, 0xf6, 0xe5));
    p.drawRoundedRect(shop.adjusted(0, 18, 0, 0), 4, 4);
    for (int i = 0; i < 5; ++i) {
        p.setBrush(i % 2 ? QColor(0xff, 0xff, 0xff) : QColor(0xe8, 0x4a, 0x3c));
        QPainterPath stripe;
        const int x = shop.left() + i * shop.width() / 5;
        const int w = shop.width() / 5;
        stripe.moveTo(x, shop.top());
        stripe.lineTo(x + w, shop.top());
        stripe.lineTo(x + w, shop.top() + 18);
        stripe.arcTo(QRectF(x, shop.top() + 12, w, 12), 0, -180);
        stripe.closeSubpath();
        p.drawPath(stripe);
    }
    p.setBrush(QColor(0x3d, 0x5a, 0x80));
    p.drawRect(QRect(shop.left() + 30, shop.top() + 36, 26, 26));
    p.setBrush(QColor(0xf2, 0xc1, 0x4e));
    p.drawRect(QRect(shop.left() + 8, shop.top() + 34, 16, 12));
    p.drawRect(QRect(shop.left() + 62, shop.top() + 34, 16, 12));

    QFont title(QStringLiteral("WenQuanYi Micro Hei"));
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 60));
    p.drawText(QPoint(133, 53), QStringLiteral("Marvanto 店铺管家"));
    p.setPen(Qt::white);
    p.drawText(QPoint(131, 51), QStringLiteral("Marvanto 店铺管家"));
    QFont line(QStringLiteral("WenQuanYi Micro Hei"));
    line.setPixelSize(15);
    p.setFont(line);
    p.setPen(QColor(0xe8, 0xf4, 0xf8));
    p.drawText(QPoint(133, 78), QStringLiteral("销售 · 进货 · 备忘 · 通讯录 · 报表 —— 小店的账本"));
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-pictures BANNER.jpg\n");
        return 2;
    }
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(platform::encodeJpeg(drawBanner(), 90)) < 0) {
        std::fprintf(stderr, "make-pictures: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
