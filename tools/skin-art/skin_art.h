#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace skinart {

struct Bitmap {
    QString name; // the file name the description uses
    QImage picture;
};

// Every bitmap of the program's own skin, magenta where transparent.
QList<Bitmap> drawSkinBitmaps();

// One sheet with every element of a packed skin in all its frames, and a
// sample window painted from the skin's borders, caption and controls.
QImage drawSkinSheet(const QByteArray& packedSkin);

} // namespace skinart
