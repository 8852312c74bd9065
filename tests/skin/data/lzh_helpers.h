#pragma once

#include "skin/data/lzh.h"

#include <QBuffer>
#include <QByteArray>

#include <initializer_list>
#include <random>

// Decodes a packed stream with the stream form of the decoder.
inline QByteArray lzhDecode(QByteArray packed, qint64* inputPositionAfter = nullptr) {
    QBuffer input(&packed);
    input.open(QIODevice::ReadOnly);
    QByteArray unpacked;
    QBuffer output(&unpacked);
    output.open(QIODevice::WriteOnly);
    TLZH lzh;
    lzh.inputStream = &input;
    lzh.outputStream = &output;
    lzh.decompress();
    if (inputPositionAfter)
        *inputPositionAfter = input.pos();
    return unpacked;
}

// A stream made by hand: the stated size, then the given bytes.
inline QByteArray handStream(qint32 size, std::initializer_list<quint8> bits) {
    QByteArray stream(4, '\0');
    for (int i = 0; i < 4; ++i)
        stream[i] = static_cast<char>((static_cast<quint32>(size) >> (8 * i)) & 0xFF);
    for (quint8 b : bits)
        stream.append(static_cast<char>(b));
    return stream;
}

inline QByteArray randomBytes(qsizetype size, unsigned seed) {
    std::mt19937 generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = static_cast<char>(generator() & 0xFF);
    return bytes;
}
