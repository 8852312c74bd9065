#include "skin/data/quick_ini.h"

#include "skin/data/text_lines.h"

#include <QIODevice>

#include <limits>

namespace {

// Trims spaces and control characters from both ends.
QString trimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ')
        --end;
    return text.mid(begin, end - begin);
}

bool isHeader(const QString& line) {
    return line.startsWith(u'[') && line.endsWith(u']');
}

int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

} // namespace

bool parseSkinInteger(const QString& text, qint32& value) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const bool hex = i < n && text[i] == u'$';
    if (hex)
        ++i;
    if (i == n)
        return false;

    // Hexadecimal takes any 32-bit pattern; decimal must fit the signed range.
    const int base = hex ? 16 : 10;
    const quint64 limit = hex ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    quint64 magnitude = 0;
    for (; i < n; ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0 || digit >= base)
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return false;
    }
    const auto bits = static_cast<quint32>(magnitude);
    value = static_cast<qint32>(negative ? 0u - bits : bits);
    return true;
}

void TQuickIni::load(QIODevice* stream) {
    if (!stream)
        return;
    mLines.clear();
    mSections.clear();
    for (const QByteArray& raw : skin::splitLines(stream->readAll())) {
        Line line;
        line.text = trimmed(QString::fromUtf8(raw));
        if (line.text.isEmpty() || line.text.startsWith(u';'))
            continue;
        line.header = isHeader(line.text);
        if (line.header) {
            mSections.push_back({line.text, static_cast<int>(mLines.size())});
        } else if (const qsizetype eq = line.text.indexOf(u'='); eq >= 0) {
            line.hasKey = true;
            line.key = skin::asciiLower(trimmed(line.text.left(eq)));
            line.value = trimmed(line.text.mid(eq + 1));
        }
        mLines.push_back(std::move(line));
    }
}

int TQuickIni::sectionLine(const QString& name) const {
    const QString header = u'[' + name + u']';
    for (const Section& section : mSections) {
        if (section.header.compare(header, Qt::CaseInsensitive) == 0)
            return section.line;
    }
    return -1;
}

void TQuickIni::sectionNames(QStringList* strings) const {
    if (!strings)
        qFatal("The parameter Strings is unassigned!");
    strings->clear();
    for (const Section& section : mSections)
        strings->append(trimmed(section.header.mid(1, section.header.size() - 2)));
}

QString TQuickIni::readString(const QString& section, const QString& key,
                              const QString& defaultValue) const {
    const int header = sectionLine(section);
    if (header < 0)
        return defaultValue;
    const QString wanted = skin::asciiLower(key);
    for (size_t j = header + 1; j < mLines.size() && !mLines[j].header; ++j) {
        const Line& line = mLines[j];
        if (line.hasKey && line.key == wanted)
            return line.value.isEmpty() ? defaultValue : line.value;
    }
    return defaultValue;
}

qint32 TQuickIni::readInteger(const QString& section, const QString& key,
                              qint32 defaultValue) const {
    QString text = readString(section, key, QString());
    if (text.size() > 2 &&
        (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X"))))
        text.replace(0, 2, u'$');
    qint32 value = 0;
    return parseSkinInteger(text, value) ? value : defaultValue;
}

QStringList TQuickIni::lines() const {
    QStringList result;
    for (const Line& line : mLines)
        result.append(line.text);
    return result;
}
