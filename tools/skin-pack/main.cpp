// skin-pack: makes skin packages from files and lists what a package holds.
//
//   skin-pack [--version CODE] --output PACKAGE FILE...
//   skin-pack --list PACKAGE
//
// Entries are named by the files' names without their folders, in the order
// given.
#include "platform/message_box.h"
#include "skin-pack/package_writer.h"
#include "skin/data/skin_reader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

int usage() {
    std::fprintf(stderr, "usage: skin-pack [--version CODE] --output PACKAGE FILE...\n"
                         "       skin-pack --list PACKAGE\n");
    return 2;
}

bool readFile(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "skin-pack: cannot read %s\n", qPrintable(path));
        return false;
    }
    bytes = file.readAll();
    return true;
}

int pack(const QString& output, qint32 version, const QStringList& inputs) {
    QList<skinpack::PackageEntry> entries;
    for (const QString& path : inputs) {
        skinpack::PackageEntry entry{QFileInfo(path).fileName(), {}};
        if (!readFile(path, entry.data))
            return 1;
        entries.append(entry);
    }
    QFile file(output);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(skinpack::packPackage(entries, version)) < 0 || !file.flush()) {
        std::fprintf(stderr, "skin-pack: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}

int list(const QString& path) {
    QByteArray packed;
    if (!readFile(path, packed))
        return 1;
    QBuffer buffer(&packed);
    buffer.open(QIODevice::ReadOnly);
    TSkinReader reader;
    if (!reader.load(buffer)) {
        std::fprintf(stderr, "skin-pack: %s is not a skin package this program reads\n",
                     qPrintable(path));
        return 1;
    }
    std::printf("version %d, directory %d bytes, %lld entries, data %lld bytes\n",
                reader.versionCode(), reader.directoryLength(),
                static_cast<long long>(reader.directory().size()),
                static_cast<long long>(reader.dataSize()));
    for (const QString& name : reader.directory())
        std::printf("%10lld  %s\n", static_cast<long long>(reader.extractByName(name).size()),
                    qPrintable(name));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    platform::setMessageBoxAnswerer([](const QString& text, const QString&, unsigned) {
        std::fprintf(stderr, "skin-pack: %s\n", qPrintable(QString(text).replace(u'\r', u' ')));
        return platform::IdOk;
    });

    QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--list"))
        return list(args[1]);

    QString output;
    qint32 version = skinpack::CurrentVersion;
    while (args.size() >= 2 && args[0].startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        const QString value = args.takeFirst();
        if (option == QLatin1String("--output")) {
            output = value;
        } else if (option == QLatin1String("--version")) {
            bool ok = false;
            version = value.toInt(&ok);
            if (!ok)
                return usage();
        } else {
            return usage();
        }
    }
    if (output.isEmpty() || args.isEmpty())
        return usage();
    return pack(output, version, args);
}
