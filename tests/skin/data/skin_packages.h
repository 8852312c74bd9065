#pragma once

// Skin packages made for a test: a description and bitmaps packed by the
// program's own packer, loaded through the skin data component.
#include "skin-pack/package_writer.h"
#include "skin/data/skin_data.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>

#include <memory>
#include <utility>

struct SkinBitmap {
    QString name;
    QImage picture;
};

inline QByteArray bmpBytes(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    return bytes;
}

// A plain picture of the given size in one colour.
inline QImage plain(int width, int height, QRgb colour = qRgb(90, 120, 150)) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

inline QByteArray packSkin(const QString& description, const QList<SkinBitmap>& bitmaps = {}) {
    QList<skinpack::PackageEntry> entries;
    for (const SkinBitmap& bitmap : bitmaps)
        entries.append({bitmap.name, bmpBytes(bitmap.picture)});
    entries.append({QStringLiteral("skin.ini"), description.toUtf8()});
    return skinpack::packPackage(entries);
}

// The form's SkinStream: a 32-bit length, then the bytes.
inline QByteArray skinStream(const QByteArray& packed) {
    QByteArray stream(4, '\0');
    qToLittleEndian(static_cast<qint32>(packed.size()), stream.data());
    return stream + packed;
}

// Reads the stream as the form does and loads it.
inline void readStream(skin::TSkinData& data, QByteArray stream) {
    QBuffer buffer(&stream);
    buffer.open(QIODevice::ReadOnly);
    data.readSkinStream(buffer);
}

inline std::unique_ptr<skin::TSkinData> loadSkin(const QString& description,
                                                 const QList<SkinBitmap>& bitmaps = {}) {
    auto data = std::make_unique<skin::TSkinData>();
    readStream(*data, skinStream(packSkin(description, bitmaps)));
    return data;
}
