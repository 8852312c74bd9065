#pragma once

// Reading written .xlsx and .docx files back in tests: zip entries through
// minizip, their XML through QXmlStreamReader. Header-only, so that test
// programs of other folders can include it.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <minizip/unzip.h>

#include <optional>
#include <stdexcept>

namespace officereadback {

// The names of the entries of a zip file; empty when it is no zip.
inline QStringList zipEntryNames(const QString& zipPath) {
    QStringList names;
    unzFile zip = unzOpen(QFile::encodeName(zipPath).constData());
    if (!zip)
        return names;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        char name[1024];
        unz_file_info info{};
        if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) == UNZ_OK)
            names.append(QString::fromUtf8(name));
    }
    unzClose(zip);
    return names;
}

// The content of one entry; nothing when the file or the entry is missing or
// the entry does not inflate to its recorded size.
inline std::optional<QByteArray> readZipEntry(const QString& zipPath, const QString& entryName) {
    unzFile zip = unzOpen(QFile::encodeName(zipPath).constData());
    if (!zip)
        return std::nullopt;
    std::optional<QByteArray> content;
    unz_file_info info{};
    if (unzLocateFile(zip, entryName.toUtf8().constData(), 1) == UNZ_OK &&
        unzGetCurrentFileInfo(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK &&
        unzOpenCurrentFile(zip) == UNZ_OK) {
        QByteArray bytes(static_cast<qsizetype>(info.uncompressed_size), '\0');
        qsizetype got = 0;
        while (got < bytes.size()) {
            const int read = unzReadCurrentFile(zip, bytes.data() + got,
                                                static_cast<unsigned>(bytes.size() - got));
            if (read <= 0)
                break;
            got += read;
        }
        char extra;
        const bool atEnd = unzReadCurrentFile(zip, &extra, 1) == 0;
        // Closing checks the CRC once everything has been read.
        if (unzCloseCurrentFile(zip) == UNZ_OK && got == bytes.size() && atEnd)
            content = bytes;
    }
    unzClose(zip);
    return content;
}

inline QByteArray requireZipEntry(const QString& zipPath, const QString& entryName) {
    auto content = readZipEntry(zipPath, entryName);
    if (!content)
        throw std::runtime_error(
            QStringLiteral("%1 has no entry %2").arg(zipPath, entryName).toStdString());
    return *content;
}

inline void requireWellFormed(const QXmlStreamReader& xml, const QString& what) {
    if (xml.hasError())
        throw std::runtime_error(
            QStringLiteral("%1: %2").arg(what, xml.errorString()).toStdString());
}

// One cell of a worksheet as stored: its type attribute ("" or "n" for numbers,
// "s" shared text, "inlineStr", "b", "str"), its value with texts resolved, and
// the format code of its style ("General" when it has none).
struct SheetCell {
    QString type;
    QString value;
    QString format;
};

// The number format codes by style index of xl/styles.xml.
inline QStringList cellFormats(const QString& path) {
    QXmlStreamReader xml(requireZipEntry(path, QStringLiteral("xl/styles.xml")));
    QMap<int, QString> codes{{0, QStringLiteral("General")}};
    QStringList formats;
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("numFmt")) {
            codes[xml.attributes().value(QLatin1String("numFmtId")).toInt()] =
                xml.attributes().value(QLatin1String("formatCode")).toString();
        } else if (xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = xml.isStartElement();
        } else if (inCellXfs && xml.isStartElement() && xml.name() == QLatin1String("xf")) {
            const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
            formats.append(codes.value(id, QStringLiteral("builtin %1").arg(id)));
        }
    }
    requireWellFormed(xml, QStringLiteral("styles"));
    return formats;
}

inline QStringList sharedStrings(const QString& path) {
    QStringList strings;
    const auto bytes = readZipEntry(path, QStringLiteral("xl/sharedStrings.xml"));
    if (!bytes)
        return strings;
    QXmlStreamReader xml(*bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
            strings.append(QString());
        else if (xml.isStartElement() && xml.name() == QLatin1String("t"))
            strings.back() += xml.readElementText();
    }
    requireWellFormed(xml, QStringLiteral("shared strings"));
    return strings;
}

// The cells of the first worksheet by reference ("A1").
inline QMap<QString, SheetCell> readSheetCells(const QString& path) {
    const QStringList formats = cellFormats(path);
    const QStringList strings = sharedStrings(path);
    QXmlStreamReader xml(requireZipEntry(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    QMap<QString, SheetCell> cells;
    QString reference;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("c")) {
            reference = xml.attributes().value(QLatin1String("r")).toString();
            SheetCell& cell = cells[reference];
            cell.type = xml.attributes().value(QLatin1String("t")).toString();
            cell.format = formats.value(xml.attributes().value(QLatin1String("s")).toInt(),
                                        QStringLiteral("General"));
        } else if (xml.name() == QLatin1String("v")) {
            SheetCell& cell = cells[reference];
            cell.value = xml.readElementText();
            if (cell.type == QLatin1String("s"))
                cell.value = strings.value(cell.value.toInt());
        } else if (xml.name() == QLatin1String("t")) {
            cells[reference].value += xml.readElementText();
        }
    }
    requireWellFormed(xml, QStringLiteral("worksheet"));
    return cells;
}

// The text of the paragraphs inside the current element, joined with "\n",
// tabs as "\t".
inline QString paragraphsText(QXmlStreamReader& xml) {
    const QString element = xml.name().toString();
    QStringList paragraphs;
    if (element == QLatin1String("p"))
        paragraphs.append(QString());
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == element)
            break;
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("p"))
            paragraphs.append(QString());
        else if (xml.name() == QLatin1String("t"))
            paragraphs.back() += xml.readElementText();
        else if (xml.name() == QLatin1String("tab"))
            paragraphs.back() += QLatin1Char('\t');
    }
    return paragraphs.join(QLatin1Char('\n'));
}

// The body of word/document.xml: its top-level elements in order ("p",
// "tbl", "sectPr"), the texts of its paragraphs and the cell texts of its
// tables, row by row.
struct DocumentBody {
    QStringList elements;
    QStringList paragraphs;
    QList<QList<QStringList>> tables;
};

inline DocumentBody readDocumentBody(const QString& path) {
    QXmlStreamReader xml(requireZipEntry(path, QStringLiteral("word/document.xml")));
    DocumentBody body;
    while (!xml.atEnd() && !(xml.isStartElement() && xml.name() == QLatin1String("body")))
        xml.readNext();
    while (xml.readNextStartElement()) {
        body.elements.append(xml.name().toString());
        if (xml.name() == QLatin1String("p")) {
            body.paragraphs.append(paragraphsText(xml));
        } else if (xml.name() == QLatin1String("tbl")) {
            QList<QStringList> rows;
            while (xml.readNextStartElement()) {
                if (xml.name() != QLatin1String("tr")) {
                    xml.skipCurrentElement();
                    continue;
                }
                QStringList cells;
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("tc"))
                        cells.append(paragraphsText(xml));
                    else
                        xml.skipCurrentElement();
                }
                rows.append(cells);
            }
            body.tables.append(rows);
        } else {
            xml.skipCurrentElement();
        }
    }
    requireWellFormed(xml, QStringLiteral("document"));
    return body;
}

} // namespace officereadback
