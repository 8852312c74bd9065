// bench_skin: how fast skin frames are stretched to a full-screen size, against
// one nearest-neighbour drawImage of the same frame in the same run, and how
// long the program's own skin takes to load from its packed bytes.
#include "app/own_skin.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The median of `runs` timings of `work`, in milliseconds.
double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    skin::TSkinData data;
    const QByteArray packed = app::ownSkinPackage();
    const double loadMs = medianMs(31, [&] { data.setSkinStream(packed); });
    std::printf("load own skin (%lld packed bytes): %.2f ms (target < 20 ms)\n",
                static_cast<long long>(packed.size()), loadMs);

    // The push-button element: 5 frames of 30 x 24 with margins of 5.
    const skin::TDataSkinButton& button = *data.buttons();
    const QSize size(1920, 1080);
    const QRect frame = skin::FrameRect(button.Image, false, button.FrameCount, 1);
    QImage target(size, QImage::Format_RGB32);
    int sink = 0;

    const double referenceMs = medianMs(31, [&] {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(QPoint(0, 0), size), button.Image, frame);
    });
    for (bool tile : {false, true}) {
        const double ms = medianMs(31, [&] {
            const QImage out = skin::StretchFrame(size, button.Image, button.margins(), false, tile,
                                                  button.FrameCount, 1);
            sink += out.pixel(960, 540) & 1;
        });
        std::printf("StretchFrame 9-slice to 1920x1080, %s centre: %.2f ms; drawImage whole frame: "
                    "%.2f ms; ratio %.2f (target <= 2)\n",
                    tile ? "tiled" : "stretched", ms, referenceMs, ms / referenceMs);
    }
    return sink < 0;
}
