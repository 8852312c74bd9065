#include "platform/docx_document.h"

#include "platform/automation.h"

#include <minizip/zip.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace platform::docx {

namespace {

// A4 page with the usual margins, in twentieths of a point.
constexpr int PageWidth = 11906;
constexpr int PageHeight = 16838;
constexpr int SideMargin = 1800;
constexpr int TextWidth = PageWidth - 2 * SideMargin;

constexpr char ContentTypes[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)"
    R"(</Types>)";

constexpr char DocumentRelationships[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";

// The document's defaults: the program's font for every script, 10.5 points
// (the usual size of Chinese body text), single spacing.
QByteArray styles() {
    const QByteArray font(FontName);
    return QByteArray(
               R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
               "\n"
               R"(<w:styles xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
               R"(<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=")") +
           font + R"(" w:hAnsi=")" + font + R"(" w:eastAsia=")" + font + R"(" w:cs=")" + font +
           R"("/><w:sz w:val="21"/><w:szCs w:val="21"/><w:lang w:eastAsia="zh-CN"/>)"
           R"(</w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after="0" w:line="240" w:lineRule="auto"/>)"
           R"(</w:pPr></w:pPrDefault></w:docDefaults></w:styles>)";
}

constexpr char PackageRelationships[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

// Collects output and hands it on in large pieces.
class Output {
public:
    explicit Output(std::function<void(const char*, size_t)> sink) : mSink(std::move(sink)) {
        mBuffer.reserve(Capacity + 64);
    }
    void add(const char* text, size_t size) {
        mBuffer.append(text, size);
        if (mBuffer.size() >= Capacity)
            flush();
    }
    template <size_t N> void add(const char (&text)[N]) { add(text, N - 1); }
    void add(const QByteArray& text) { add(text.constData(), text.size()); }
    void add(char c) { mBuffer.push_back(c); }
    void flush() {
        if (!mBuffer.empty())
            mSink(mBuffer.data(), mBuffer.size());
        mBuffer.clear();
    }

private:
    static constexpr size_t Capacity = 1 << 20;
    std::function<void(const char*, size_t)> mSink;
    std::string mBuffer;
};

bool isSpace(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Escaped UTF-8 of a run of text without line breaks or tabs. Characters that
// XML cannot hold are left out.
void addEscaped(Output& out, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(code)) {
            continue;
        }
        if (code < 0x80) {
            switch (code) {
            case '&':
                out.add("&amp;");
                break;
            case '<':
                out.add("&lt;");
                break;
            case '>':
                out.add("&gt;");
                break;
            default:
                if (code >= 0x20)
                    out.add(static_cast<char>(code));
            }
        } else if (code == 0xFFFE || code == 0xFFFF) {
            continue;
        } else if (code < 0x800) {
            const char bytes[] = {char(0xC0 | (code >> 6)), char(0x80 | (code & 0x3F))};
            out.add(bytes, 2);
        } else if (code < 0x10000) {
            const char bytes[] = {char(0xE0 | (code >> 12)), char(0x80 | ((code >> 6) & 0x3F)),
                                  char(0x80 | (code & 0x3F))};
            out.add(bytes, 3);
        } else {
            const char bytes[] = {char(0xF0 | (code >> 18)), char(0x80 | ((code >> 12) & 0x3F)),
                                  char(0x80 | ((code >> 6) & 0x3F)), char(0x80 | (code & 0x3F))};
            out.add(bytes, 4);
        }
    }
}

// One paragraph: runs of text separated by tabs.
void addParagraph(Output& out, QStringView text) {
    if (text.isEmpty()) {
        out.add("<w:p/>");
        return;
    }
    out.add("<w:p><w:r>");
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype tab = text.indexOf(QLatin1Char('\t'), start);
        if (tab < 0)
            tab = text.size();
        const QStringView piece = text.mid(start, tab - start);
        if (!piece.isEmpty()) {
            if (isSpace(piece.front()) || isSpace(piece.back()))
                out.add(R"(<w:t xml:space="preserve">)");
            else
                out.add("<w:t>");
            addEscaped(out, piece);
            out.add("</w:t>");
        }
        if (tab < text.size())
            out.add("<w:tab/>");
        start = tab + 1;
    }
    out.add("</w:r></w:p>");
}

// A text as paragraphs: "\r\n", "\r" and "\n" each end a paragraph.
void addParagraphs(Output& out, const QString& text) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        addParagraph(out, QStringView(text).mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    addParagraph(out, QStringView(text).mid(start));
}

void addTable(Output& out, const Table& table) {
    const std::vector<int> twips = columnTwips(table.widths, TextWidth);
    int tableWidth = 0;
    std::vector<QByteArray> cellStarts;
    for (const int width : twips) {
        tableWidth += width;
        cellStarts.push_back(R"(<w:tc><w:tcPr><w:tcW w:w=")" + QByteArray::number(width) +
                             R"(" w:type="dxa"/></w:tcPr>)");
    }
    out.add(R"(<w:tbl><w:tblPr><w:tblW w:w=")" + QByteArray::number(tableWidth) +
            R"(" w:type="dxa"/><w:tblBorders>)"
            R"(<w:top w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
            R"(<w:left w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
            R"(<w:bottom w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
            R"(<w:right w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
            R"(<w:insideH w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
            R"(<w:insideV w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
            R"(</w:tblBorders><w:tblLayout w:type="fixed"/></w:tblPr><w:tblGrid>)");
    for (const int width : twips) {
        out.add(R"(<w:gridCol w:w=")");
        out.add(QByteArray::number(width));
        out.add(R"("/>)");
    }
    out.add("</w:tblGrid>");
    for (int row = 1; row <= table.rows; ++row) {
        out.add(row <= table.headingRows ? "<w:tr><w:trPr><w:tblHeader/></w:trPr>" : "<w:tr>");
        for (int column = 1; column <= table.columns; ++column) {
            out.add(cellStarts[static_cast<size_t>(column - 1)]);
            addParagraphs(out, table.cell(row, column));
            out.add("</w:tc>");
        }
        out.add("</w:tr>");
    }
    out.add("</w:tbl>");
}

void addDocument(Output& out, const Document& document) {
    out.add(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
            "\n"
            R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
            "<w:body>");
    for (const Block& block : document.blocks) {
        if (block.table)
            addTable(out, *block.table);
        else if (block.paragraph)
            addParagraphs(out, block.paragraph->text);
    }
    // The body ends in a paragraph, as the word processor keeps it.
    if (document.blocks.empty() || document.blocks.back().table)
        out.add("<w:p/>");
    out.add(QByteArray(R"(<w:sectPr><w:pgSz w:w=")") + QByteArray::number(PageWidth) +
            R"(" w:h=")" + QByteArray::number(PageHeight) +
            R"("/><w:pgMar w:top="1440" w:right=")" + QByteArray::number(SideMargin) +
            R"(" w:bottom="1440" w:left=")" + QByteArray::number(SideMargin) +
            R"(" w:header="851" w:footer="992" w:gutter="0"/></w:sectPr>)");
    out.add("</w:body></w:document>");
    out.flush();
}

// A zip package being written with minizip.
class Package {
public:
    explicit Package(const QByteArray& path)
        : mZip(zipOpen(path.constData(), APPEND_STATUS_CREATE)) {
        if (!mZip)
            throw AutomationError(
                QStringLiteral("Cannot create \"%1\"").arg(QString::fromLocal8Bit(path)));
    }
    ~Package() {
        if (mZip)
            zipClose(mZip, nullptr);
    }
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    // Writes one entry whose content `write` produces through the sink it gets.
    void add(const char* name, const std::function<void(Output&)>& write) {
        zip_fileinfo info{};
        info.tmz_date.tm_year = 1980;
        info.tmz_date.tm_mday = 1;
        check(zipOpenNewFileInZip(mZip, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                  Z_DEFAULT_COMPRESSION));
        Output out([this](const char* data, size_t size) {
            check(zipWriteInFileInZip(mZip, data, static_cast<unsigned>(size)));
        });
        write(out);
        out.flush();
        check(zipCloseFileInZip(mZip));
    }

    void close() {
        const int result = zipClose(mZip, nullptr);
        mZip = nullptr;
        check(result);
    }

private:
    static void check(int result) {
        if (result != ZIP_OK)
            throw AutomationError(
                QStringLiteral("Cannot write the document (zip error %1)").arg(result));
    }
    zipFile mZip;
};

} // namespace

std::vector<int> columnTwips(const std::vector<double>& widthsInPoints, int textWidth) {
    double set = 0;
    int unset = 0;
    for (const double points : widthsInPoints) {
        if (points > 0)
            set += points * 20;
        else
            ++unset;
    }
    const double share = unset > 0 ? std::max(0.0, textWidth - set) / unset : 0;
    const double total = set + share * unset;
    const double scale = total > textWidth ? textWidth / total : 1;
    std::vector<int> twips;
    for (const double points : widthsInPoints)
        twips.push_back(static_cast<int>((points > 0 ? points * 20 : share) * scale));
    return twips;
}

void save(const Document& document, const QByteArray& path) {
    Package package(path);
    package.add("[Content_Types].xml", [](Output& out) { out.add(ContentTypes); });
    package.add("_rels/.rels", [](Output& out) { out.add(PackageRelationships); });
    package.add("word/_rels/document.xml.rels",
                [](Output& out) { out.add(DocumentRelationships); });
    package.add("word/styles.xml", [](Output& out) { out.add(styles()); });
    package.add("word/document.xml", [&](Output& out) { addDocument(out, document); });
    package.close();
}

} // namespace platform::docx
