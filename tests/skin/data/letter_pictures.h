#pragma once

// Small pictures written as rows of letters, one colour per letter, so that a
// test shows the pixels it expects. '.' is dark grey, 'M' is magenta; every
// other letter has a colour of its own.
#include <QImage>
#include <QStringList>

#include <initializer_list>

inline QRgb letterColour(char letter) {
    if (letter == '.')
        return qRgb(40, 40, 40);
    if (letter == 'M')
        return qRgb(255, 0, 255);
    const int n = letter;
    return qRgb((n * 37) & 0xFF, (n * 91) & 0xFF, (n * 13 + 7) & 0xFF);
}

inline QImage letters(std::initializer_list<const char*> rows) {
    const int width = static_cast<int>(std::strlen(*rows.begin()));
    QImage image(width, static_cast<int>(rows.size()), QImage::Format_RGB32);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, letterColour(row[x]));
        ++y;
    }
    return image;
}

// The picture read back as letters ('?' for a colour no letter has).
inline QStringList lettersOf(const QImage& image) {
    static const char alphabet[] =
        ".MABCDEFGHIJKLNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
            char found = '?';
            for (const char* c = alphabet; *c; ++c) {
                if ((letterColour(*c) & 0xFFFFFF) == pixel) {
                    found = *c;
                    break;
                }
            }
            row += QLatin1Char(found);
        }
        rows << row;
    }
    return rows;
}
