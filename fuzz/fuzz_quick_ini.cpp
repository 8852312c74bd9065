// The skin description reader on any text: the sections and keys the text
// names (the first 64 of each, to keep a run short) are looked up as strings
// and as integers.
#include "fuzz_targets.h"

#include "skin/data/quick_ini.h"

#include <QBuffer>

int fuzzQuickIni(const std::uint8_t* data, std::size_t size) {
    QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    TQuickIni ini;
    ini.load(&buffer);

    QStringList sections;
    ini.sectionNames(&sections);
    const QStringList lines = ini.lines();
    for (const QString& section : sections.mid(0, 64)) {
        const int line = ini.sectionLine(section);
        FUZZ_CHECK(line >= -1 && line < lines.size());
        for (const QString& entry : lines.mid(0, 64)) {
            const QString key = entry.section(u'=', 0, 0);
            const QString value = ini.readString(section, key, QStringLiteral("\x01"));
            FUZZ_CHECK(!value.isEmpty());
            ini.readInteger(section, key, 0);
        }
    }
    qint32 value = 0;
    parseSkinInteger(QString::fromUtf8(text), value);
    return 0;
}

MARVANTO_FUZZ_ENTRY(fuzzQuickIni)
