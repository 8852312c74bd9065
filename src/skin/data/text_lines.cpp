#include "skin/data/text_lines.h"

namespace skin {

QList<QByteArray> splitLines(const QByteArray& text) {
    const qsizetype nul = text.indexOf('\0');
    const qsizetype end = nul < 0 ? text.size() : nul;
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < end; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < end && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < end)
        lines.append(text.mid(start, end - start));
    return lines;
}

QString asciiLower(QString text) {
    for (QChar& c : text) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return text;
}

QByteArray asciiLower(QByteArray text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    }
    return text;
}

} // namespace skin
