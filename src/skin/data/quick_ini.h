#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;

// Read-only parser of the skin description: ini-style text with [section]
// headers, key=value entries and ";" comments. Sections and keys match in any
// case; the first of repeated sections or keys wins.
class TQuickIni {
public:
    // Replaces the content with the text from the stream's position to its
    // end (UTF-8). A null stream leaves the content as it is.
    void load(QIODevice* stream);

    // The line index of the first header "[name]", in any case, or -1.
    int sectionLine(const QString& name) const;

    // Replaces the list's content with the names of all sections in text
    // order. A null list is a programming error and stops the program.
    void sectionNames(QStringList* strings) const;

    // The value of the first entry for `key` in the first section `section`,
    // or `defaultValue` when there is none or its value is empty.
    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;

    // The value read as a signed 32-bit integer: decimal with an optional sign,
    // or hexadecimal after "$" or "0x". Anything else gives `defaultValue`.
    qint32 readInteger(const QString& section, const QString& key, qint32 defaultValue) const;

    // Every kept line, trimmed, in text order.
    QStringList lines() const;

private:
    struct Line {
        QString text;
        bool header = false;
        bool hasKey = false; // an entry with "="
        QString key;         // lowercased
        QString value;
    };
    struct Section {
        QString header; // "[name]" as written
        int line = 0;
    };

    std::vector<Line> mLines;
    std::vector<Section> mSections;
};

// Converts text as the description reader reads integers; false when the
// text is not a number that fits in 32 bits.
bool parseSkinInteger(const QString& text, qint32& value);
