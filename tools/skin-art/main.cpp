// skin-art: draws the bitmaps of the program's own skin, and renders the sheet
// that shows a packed skin's elements.
//
//   skin-art --draw FOLDER              writes every bitmap of the skin into FOLDER
//   skin-art --sheet PACKAGE PICTURE    renders the sheet of a packed skin as PNG
#include "skin-art/skin_art.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

int usage() {
    std::fprintf(stderr, "usage: skin-art --draw FOLDER\n"
                         "       skin-art --sheet PACKAGE PICTURE\n");
    return 2;
}

int draw(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "skin-art: cannot make %s\n", qPrintable(folder));
        return 1;
    }
    for (const skinart::Bitmap& bitmap : skinart::drawSkinBitmaps()) {
        const QString path = QDir(folder).filePath(bitmap.name);
        if (!bitmap.picture.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) {
            std::fprintf(stderr, "skin-art: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

int sheet(const QString& package, const QString& picture) {
    QFile file(package);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "skin-art: cannot read %s\n", qPrintable(package));
        return 1;
    }
    if (!skinart::drawSkinSheet(file.readAll()).save(picture, "PNG")) {
        std::fprintf(stderr, "skin-art: cannot write %s\n", qPrintable(picture));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--draw"))
        return draw(args[1]);
    if (args.size() == 3 && args[0] == QLatin1String("--sheet"))
        return sheet(args[1], args[2]);
    return usage();
}
