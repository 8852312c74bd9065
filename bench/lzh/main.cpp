// bench_lzh: decodes a skin-like corpus of about 4 MB (24-bit bitmaps and
// description text, packed as a skin package) and, in the same run, inflates
// the same bytes deflated by zlib. Prints MB/s of unpacked output and the ratio.
#include "skin-pack/package_writer.h"
#include "skin/data/lzh.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>

namespace {

QByteArray bmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    return bytes;
}

// A frame strip like a skin's: a number of states side by side, each a
// bevelled face with a gradient, a border and magenta corners.
QImage frameStrip(int frameWidth, int height, int frames, QRgb tint) {
    QImage image(frameWidth * frames, height, QImage::Format_RGB32);
    QPainter p(&image);
    for (int f = 0; f < frames; ++f) {
        const QRect face(f * frameWidth, 0, frameWidth, height);
        QLinearGradient gradient(face.topLeft(), face.bottomLeft());
        gradient.setColorAt(0, QColor(tint).lighter(130 + 10 * f));
        gradient.setColorAt(1, QColor(tint).darker(110 + 10 * f));
        p.fillRect(face, gradient);
        p.setPen(QColor(tint).darker(200));
        p.drawRect(face.adjusted(0, 0, -1, -1));
        p.fillRect(QRect(face.topLeft(), QSize(3, 3)), QColor(255, 0, 255));
        p.fillRect(QRect(face.topRight() - QPoint(2, 0), QSize(3, 3)), QColor(255, 0, 255));
    }
    return image;
}

// A background with a soft texture: a gradient with a little noise.
QImage texture(int width, int height, unsigned seed) {
    std::mt19937 generator(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = static_cast<int>(generator() % 3);
            row[x] = qRgb(200 + y * 40 / height + noise, 210 + noise, 230 - x * 30 / width);
        }
    }
    return image;
}

QByteArray description(int sections) {
    QByteArray text;
    for (int s = 0; s < sections; ++s) {
        text += "[Element" + QByteArray::number(s) + "]\r\nPicture=Element" +
                QByteArray::number(s) + ".bmp\r\nFrameCount=" + QByteArray::number(1 + s % 4) +
                "\r\nLeftWidth=" + QByteArray::number(s % 9) +
                "\r\nTopHeight=" + QByteArray::number(s % 5) +
                "\r\nTrans=1\r\nColor=" + QByteArray::number(200 + s % 50) + " 245 245\r\n\r\n";
    }
    return text;
}

QList<skinpack::PackageEntry> corpus() {
    QList<skinpack::PackageEntry> entries;
    entries.append({"background1.bmp", bmp(texture(640, 480, 1))});
    entries.append({"background2.bmp", bmp(texture(512, 384, 2))});
    const QRgb tints[] = {0x3060A0, 0x608030, 0xA05030, 0x707070};
    qsizetype total = 0;
    for (const auto& e : entries)
        total += e.data.size();
    for (int i = 0; total < 3'900'000; ++i) {
        const int frames = 1 + i % 4;
        const QImage strip = frameStrip(40 + (i * 37) % 120, 16 + (i * 13) % 90, frames,
                                        tints[i % std::size(tints)]);
        entries.append({QStringLiteral("element%1.bmp").arg(i), bmp(strip)});
        total += entries.back().data.size();
    }
    entries.append({"skin.ini", description(1500)});
    return entries;
}

double bestSeconds(int rounds, const std::function<void()>& work) {
    double best = 1e9;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QList<skinpack::PackageEntry> entries = corpus();
    const QByteArray plain = skinpack::unpackedPackage(entries);
    QByteArray packed = skinpack::packPackage(entries);

    uLongf deflatedSize = compressBound(plain.size());
    QByteArray deflated(static_cast<qsizetype>(deflatedSize), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef*>(deflated.data()), &deflatedSize,
              reinterpret_cast<const Bytef*>(plain.constData()), plain.size(),
              Z_DEFAULT_COMPRESSION);
    deflated.truncate(static_cast<qsizetype>(deflatedSize));

    constexpr int Rounds = 7;
    QByteArray decoded;
    const double lzhSeconds = bestSeconds(Rounds, [&] {
        decoded.clear();
        QBuffer input(&packed);
        input.open(QIODevice::ReadOnly);
        QBuffer output(&decoded);
        output.open(QIODevice::WriteOnly);
        TLZH lzh;
        lzh.inputStream = &input;
        lzh.outputStream = &output;
        lzh.decompress();
    });
    QByteArray inflated(plain.size(), Qt::Uninitialized);
    const double zlibSeconds = bestSeconds(Rounds, [&] {
        uLongf size = inflated.size();
        uncompress(reinterpret_cast<Bytef*>(inflated.data()), &size,
                   reinterpret_cast<const Bytef*>(deflated.constData()), deflated.size());
    });
    if (decoded != plain || inflated != plain) {
        std::fprintf(stderr, "bench_lzh: a decoder gave back other bytes\n");
        return 1;
    }

    const double megabytes = plain.size() / 1e6;
    const double lzhRate = megabytes / lzhSeconds;
    const double zlibRate = megabytes / zlibSeconds;
    std::printf("corpus   %.2f MB in %lld entries\n", megabytes,
                static_cast<long long>(entries.size()));
    std::printf("LZHUF    packed %8lld bytes (%.1f%%)  decode %7.1f MB/s\n",
                static_cast<long long>(packed.size()), 100.0 * packed.size() / plain.size(),
                lzhRate);
    std::printf("zlib     packed %8lld bytes (%.1f%%)  inflate %6.1f MB/s\n",
                static_cast<long long>(deflated.size()), 100.0 * deflated.size() / plain.size(),
                zlibRate);
    std::printf("ratio    LZHUF decode / zlib inflate = %.3f; target 30 MB/s %s\n",
                lzhRate / zlibRate, lzhRate >= 30 ? "met" : "NOT met");
    return 0;
}
