// bench_paint: the purchase window (a grid, entry boxes, combo boxes, buttons
// and a status bar) repainted whole, once with every control given its skin
// kind and once plain, the two windows side by side in the same run. Reports
// the medians of many repaints and their ratio (target: at most 2).
//
//   QT_QPA_PLATFORM=offscreen bench_paint [repaints]

#include "app/own_skin.h"
#include "common/app_folder.h"
#include "platform/app_dir.h"
#include "records/module_descriptor.h"
#include "records/module_storage.h"
#include "records/record_window.h"
#include "skin/data/skin_data.h"
#include "skin/engine/controls/bar_box_skins.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/controls/tab_skins.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/control_kinds.h"

#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QImage picture(QWidget& window, QPixmap& target) {
    target.fill(Qt::black);
    window.render(&target);
    return target.toImage();
}

int colourCount(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    }
    return static_cast<int>(colours.size());
}

double repaintMs(QWidget& window, QPixmap& target) {
    QElapsedTimer timer;
    timer.start();
    window.render(&target);
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int repaints = argc > 1 ? std::max(1, atoi(argv[1])) : 201;

    QTemporaryDir dir;
    bench::prepareAppFolder(dir.path(), "大米\n食用油\n");
    const records::ModuleDescriptor& module = records::purchaseDescriptor();
    for (const records::ModuleTable& table : records::moduleTables()) {
        if (table.fileName != module.databaseFile)
            continue;
        sqlite3* db = nullptr;
        sqlite3_open(records::databasePath(table.fileName).toUtf8().constData(), &db);
        std::string sql = records::createTableStatement(table);
        for (int i = 0; i < 30; ++i)
            sql += ";insert into data (商品,数量,进价,总价,备注) values "
                   "('大米','20','95','1900','十袋装')";
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

    skin::TSkinData data;
    data.setSkinStream(app::ownSkinPackage());
    data.SkinControls = skin::TSkinControlTypes::fromBits(0xFFFFFFFF);
    skin::registerBuiltKinds();

    records::RecordWindow plain(module), skinned(module);
    for (records::RecordWindow* w : {&plain, &skinned}) {
        w->create();
        w->resize(760, 520);
        w->show();
    }
    skin::TWinSkinForm form(nullptr);
    form.setWindow(&skinned, 0, skinned.objectName());
    form.SetupFrameworkForm(&data, &skinned);
    form.finishSetup();
    int objects = 0;
    for (const auto& object : form.skinObjects())
        objects += object ? 1 : 0;
    QApplication::processEvents();

    std::printf("purchase window %dx%d, %d skin objects, %d repaints each\n", skinned.width(),
                skinned.height(), objects, repaints);
    bool allDrawn = true;
    for (const qreal ratio : {1.0, 2.0}) {
        // A picture at the screen's pixel ratio, as a window at that scale
        // paints: the skin's bitmaps are stretched and the text drawn sharp.
        QPixmap target(skinned.size() * ratio);
        target.setDevicePixelRatio(ratio);
        std::vector<double> plainMs, skinnedMs;
        for (int i = 0; i < 5; ++i) { // warm both up
            repaintMs(plain, target);
            repaintMs(skinned, target);
        }
        for (int i = 0; i < repaints; ++i) {
            plainMs.push_back(repaintMs(plain, target));
            skinnedMs.push_back(repaintMs(skinned, target));
        }
        // What was timed must be a picture: many colours, and the skinned one
        // another than the plain one.
        const QImage plainPicture = picture(plain, target);
        const QImage skinnedPicture = picture(skinned, target);
        const int plainColours = colourCount(plainPicture);
        const int skinnedColours = colourCount(skinnedPicture);
        const bool drawn =
            plainColours >= 16 && skinnedColours >= 16 && plainPicture != skinnedPicture;
        allDrawn = allDrawn && drawn;
        const double p = median(plainMs), s = median(skinnedMs);
        std::printf("device pixel ratio %.0f (%dx%d pixels):\n", ratio, target.width(),
                    target.height());
        std::printf("  plain   %.3f ms (median), %d colours\n", p, plainColours);
        std::printf("  skinned %.3f ms (median), %d colours\n", s, skinnedColours);
        std::printf("  ratio   %.2f (target <= 2)%s\n", s / p,
                    drawn ? "" : "  -- NOT DRAWN: the pictures are empty or the same");
    }
    return allDrawn ? 0 : 1;
}
