#include "platform/xlsx_sheet.h"

#include "platform/automation.h"

#include "platform/clock.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QLibrary>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace platform::xlsx {

namespace {

// Width, in characters, of a column that shows dates: the spreadsheet
// application widens a column of default width when a date is entered.
constexpr double DateColumnWidth = 18;

// The writer library is loaded the first time a cell is typed rather than with
// the program: it brings a cryptography library along, and the two would cost
// every start a few milliseconds for an export most starts never make.
#define MARVANTO_XLSX_FUNCTIONS(X)                                                                 \
    X(lxw_datetime_to_excel_datetime)                                                              \
    X(lxw_strerror)                                                                                \
    X(workbook_new_opt)                                                                            \
    X(workbook_add_worksheet)                                                                      \
    X(workbook_add_format)                                                                         \
    X(format_set_num_format)                                                                       \
    X(format_set_text_wrap)                                                                        \
    X(lxw_workbook_free)                                                                           \
    X(worksheet_set_column)                                                                        \
    X(worksheet_write_number)                                                                      \
    X(worksheet_write_boolean)                                                                     \
    X(worksheet_write_string)                                                                      \
    X(workbook_close)

struct Writer {
#define MARVANTO_XLSX_POINTER(name) decltype(&::name) name = nullptr;
    MARVANTO_XLSX_FUNCTIONS(MARVANTO_XLSX_POINTER)
#undef MARVANTO_XLSX_POINTER
};

// The library's functions; throws AutomationError when it cannot be loaded.
const Writer& writer() {
    static Writer functions;
    static bool loaded = false;
    if (loaded)
        return functions;
    QLibrary library(QStringLiteral("xlsxwriter"), QStringLiteral(LXW_SOVERSION));
    Writer found;
    bool complete = library.load();
#define MARVANTO_XLSX_RESOLVE(name)                                                                \
    found.name = reinterpret_cast<decltype(&::name)>(library.resolve(#name));                      \
    complete = complete && found.name;
    MARVANTO_XLSX_FUNCTIONS(MARVANTO_XLSX_RESOLVE)
#undef MARVANTO_XLSX_RESOLVE
    if (!complete)
        throw AutomationError(QStringLiteral("Cannot load the spreadsheet writer %1: %2")
                                  .arg(library.fileName(), library.errorString()));
    functions = found;
    loaded = true;
    return functions;
}

std::optional<double> serialOf(const QDate& date, const QTime& time) {
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day); // one conversion of the day number, not three
    if (!date.isValid() || year < 1900 || year > 9999)
        return std::nullopt;
    lxw_datetime value{year,        month,         day,
                       time.hour(), time.minute(), time.second() + time.msec() / 1000.0};
    return writer().lxw_datetime_to_excel_datetime(&value);
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool hasLineBreak(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

bool isNumber(int typeId) {
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void failed(const char* what, lxw_error error) {
    throw AutomationError(QStringLiteral("%1: %2").arg(
        QLatin1String(what), QString::fromUtf8(writer().lxw_strerror(error))));
}

enum class Kind : std::uint8_t { Empty, Number, Boolean, DateTime, Date, Text };

// A value as a cell takes it: the number is the number, 0/1 or the serial day
// number of a date; the text is set for Kind::Text only.
struct Typed {
    Kind kind = Kind::Empty;
    double number = 0;
    QString text;
};

Typed typed(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    const int type = value.typeId();
    if (type == QMetaType::QString) {
        // The common case first, without a conversion.
        const QString& text = *static_cast<const QString*>(value.constData());
        if (text.isEmpty())
            return {};
        if (text.size() > Sheet::MaxTextLength)
            throw AutomationError(
                QStringLiteral("A text of %1 characters does not fit in a cell").arg(text.size()));
        if (const auto moment = regional::readDateTime(text)) {
            if (const auto serial = serialOf(moment->date, moment->time))
                return {Kind::DateTime, *serial, {}};
        }
        if (const auto number = numberText(text))
            return {Kind::Number, *number, {}};
        return {Kind::Text, 0, text};
    }
    if (type == QMetaType::Bool)
        return {Kind::Boolean, value.toBool() ? 1.0 : 0.0, {}};
    if (isNumber(type)) {
        const double number = value.toDouble();
        if (!std::isfinite(number))
            throw AutomationError(QStringLiteral("A cell cannot hold %1").arg(number));
        return {Kind::Number, number, {}};
    }
    if (type == QMetaType::QDateTime) {
        const QDateTime dateTime = value.toDateTime();
        if (const auto serial = serialOf(dateTime.date(), dateTime.time()))
            return {Kind::DateTime, *serial, {}};
        throw AutomationError(QStringLiteral("Date-time out of range for a cell"));
    }
    if (type == QMetaType::QDate) {
        if (const auto serial = serialOf(value.toDate(), QTime(0, 0)))
            return {Kind::Date, *serial, {}};
        throw AutomationError(QStringLiteral("Date out of range for a cell"));
    }
    if (!value.canConvert<QString>())
        throw AutomationError(QStringLiteral("Type mismatch: a cell cannot hold %1")
                                  .arg(QLatin1String(value.typeName())));
    return typed(QVariant(value.toString()));
}

// A cell read back from the log. Its text, if any, is NUL-terminated in the
// text buffer that came with it.
struct LoggedCell {
    std::int32_t row = 0;
    std::uint16_t column = 0; // from 0
    Kind kind = Kind::Empty;
    bool wraps = false;
    double number = 0;
    std::size_t textAt = 0;
};

// Each record: the head (row, column from 0, kind, wraps), then a double for
// a number, a boolean or a date, or a 32-bit length and the UTF-8 bytes for a
// text; nothing for an empty cell.
struct RecordHead {
    std::int32_t row;
    std::uint16_t column;
    Kind kind;
    bool wraps;
};

[[noreturn]] void brokenLog() {
    throw AutomationError(QStringLiteral("The temporary file of the cells cannot be read"));
}

constexpr std::size_t ChunkBytes = 1 << 18;

// Reads records back in order: from a file a chunk at a time, or from one
// chunk of whole records.
class Reader {
public:
    Reader(QFile& file, qint64 size) : mFile(&file), mLeft(size) {
        if (!mFile->seek(0))
            brokenLog();
    }
    explicit Reader(std::string chunk) : mChunk(std::move(chunk)) {}

    bool head(LoggedCell& cell) {
        if (mLeft == 0 && mAt == mChunk.size())
            return false;
        RecordHead head;
        take(&head, sizeof head);
        cell = {head.row, head.column, head.kind, head.wraps, 0, 0};
        return true;
    }
    // The text goes to the end of `texts`, NUL-terminated.
    void payload(LoggedCell& cell, std::string& texts) {
        if (cell.kind == Kind::Text) {
            std::uint32_t length = 0;
            take(&length, sizeof length);
            cell.textAt = texts.size();
            texts.resize(cell.textAt + length + 1);
            take(texts.data() + cell.textAt, length);
        } else if (cell.kind != Kind::Empty) {
            take(&cell.number, sizeof cell.number);
        }
    }

private:
    void take(void* out, std::size_t size) {
        auto* to = static_cast<char*>(out);
        while (size > 0) {
            if (mAt == mChunk.size())
                refill();
            const std::size_t part = std::min(size, mChunk.size() - mAt);
            std::memcpy(to, mChunk.data() + mAt, part);
            mAt += part;
            to += part;
            size -= part;
        }
    }
    void refill() {
        const qint64 part = std::min<qint64>(mLeft, 4 * ChunkBytes);
        mChunk.resize(static_cast<std::size_t>(part));
        if (part == 0 || !mFile || mFile->read(mChunk.data(), part) != part)
            brokenLog();
        mLeft -= part;
        mAt = 0;
    }

    QFile* mFile = nullptr;
    qint64 mLeft = 0;
    std::string mChunk;
    std::size_t mAt = 0;
};

// Passes `row(cells, texts)` one cell per column, left to right: the value
// set last.
template <typename RowFunction>
void resolveRow(std::vector<LoggedCell>& cells, const std::string& texts, RowFunction& row) {
    const auto byColumn = [](const LoggedCell& a, const LoggedCell& b) {
        return a.column < b.column;
    };
    if (!std::is_sorted(cells.begin(), cells.end(), byColumn))
        std::stable_sort(cells.begin(), cells.end(), byColumn);
    std::size_t kept = 0;
    for (std::size_t each = 0; each < cells.size(); ++each) {
        if (each + 1 < cells.size() && cells[each + 1].column == cells[each].column)
            continue;
        cells[kept++] = cells[each];
    }
    cells.resize(kept);
    row(std::as_const(cells), texts);
}

// Gathers the records of rows set one after another into rows.
class RowGatherer {
public:
    template <typename RowFunction> void read(Reader& reader, RowFunction& row) {
        LoggedCell cell;
        while (reader.head(cell)) {
            if (!mCells.empty() && cell.row != mCells.front().row)
                finish(row);
            reader.payload(cell, mTexts);
            mCells.push_back(cell);
        }
    }
    template <typename RowFunction> void finish(RowFunction& row) {
        if (!mCells.empty())
            resolveRow(mCells, mTexts, row);
        mCells.clear();
        mTexts.clear();
    }

private:
    std::vector<LoggedCell> mCells;
    std::string mTexts;
};

// A workbook of the writer library in constant_memory mode: its rows go to a
// temporary file of the library's as they are written, and the column widths,
// which come before them in the file, may be set until it is closed.
class Book {
public:
    explicit Book(const QByteArray& path) : mLxw(writer()) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        mBook = mLxw.workbook_new_opt(path.constData(), &options);
        if (!mBook)
            throw AutomationError(QStringLiteral("Cannot start a workbook"));
        mSheet = mLxw.workbook_add_worksheet(mBook, nullptr);
        if (!mSheet) {
            mLxw.lxw_workbook_free(mBook);
            throw AutomationError(QStringLiteral("Cannot add a worksheet"));
        }
        mDateTime = mLxw.workbook_add_format(mBook);
        mLxw.format_set_num_format(mDateTime, "yyyy-m-d h:mm:ss");
        mDate = mLxw.workbook_add_format(mBook);
        mLxw.format_set_num_format(mDate, "yyyy-m-d");
        mWrap = mLxw.workbook_add_format(mBook);
        mLxw.format_set_text_wrap(mWrap);
    }
    ~Book() {
        if (mBook)
            mLxw.lxw_workbook_free(mBook);
    }
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    // A column that shows dates is never narrower than DateColumnWidth.
    void setWidths(const std::vector<double>& widths, const std::vector<bool>& dateColumns) {
        const size_t columns = std::max(dateColumns.size(), widths.size());
        for (size_t column = 0; column < columns; ++column) {
            const bool dates = column < dateColumns.size() && dateColumns[column];
            const double set = column < widths.size() ? widths[column] : 0;
            if (!dates && set <= 0)
                continue;
            if (const lxw_error error = mLxw.worksheet_set_column(
                    mSheet, column, column, dates ? std::max(set, DateColumnWidth) : set, nullptr))
                failed("Cannot set the column widths", error);
        }
    }

    // Rows must come top to bottom.
    lxw_error writeRow(const std::vector<LoggedCell>& cells, const std::string& texts) {
        lxw_error error = LXW_NO_ERROR;
        for (const LoggedCell& cell : cells) {
            const lxw_row_t row = cell.row - 1;
            switch (cell.kind) {
            case Kind::Empty:
                break;
            case Kind::Number:
                error = mLxw.worksheet_write_number(mSheet, row, cell.column, cell.number, nullptr);
                break;
            case Kind::Boolean:
                error = mLxw.worksheet_write_boolean(mSheet, row, cell.column, cell.number != 0,
                                                     nullptr);
                break;
            case Kind::DateTime:
                error =
                    mLxw.worksheet_write_number(mSheet, row, cell.column, cell.number, mDateTime);
                break;
            case Kind::Date:
                error = mLxw.worksheet_write_number(mSheet, row, cell.column, cell.number, mDate);
                break;
            case Kind::Text:
                error = mLxw.worksheet_write_string(mSheet, row, cell.column,
                                                    texts.data() + cell.textAt,
                                                    cell.wraps ? mWrap : nullptr);
                break;
            }
            if (error)
                break;
        }
        return error;
    }

    // Writes the file.
    void close() {
        lxw_workbook* book = std::exchange(mBook, nullptr); // freed by the close
        if (const lxw_error error = mLxw.workbook_close(book))
            failed("Cannot write the workbook", error);
    }

private:
    const Writer& mLxw;
    lxw_workbook* mBook = nullptr;
    lxw_worksheet* mSheet = nullptr;
    lxw_format* mDateTime = nullptr;
    lxw_format* mDate = nullptr;
    lxw_format* mWrap = nullptr;
};

// Writes the rows to a workbook of its own on a thread of its own while the
// cells are still being set, chunk by chunk of the log, so that a save of
// rows set in order has only the closing of the workbook left to wait for.
// The workbook is saved in the temporary folder and then moved or copied to
// the path asked for: that path is known only on saving.
class Streamer {
public:
    Streamer()
        : mPath(QDir(QDir::tempPath())
                    .filePath(QStringLiteral("marvanto-sheet-%1.xlsx")
                                  .arg(QRandomGenerator::global()->generate64(), 16, 16,
                                       QLatin1Char('0')))),
          mBook(QFile::encodeName(mPath)), mThread([this] { run(); }) {}
    // Drops what is still waiting: a streamer that is not saved is given up.
    ~Streamer() {
        {
            std::lock_guard lock(mMutex);
            mChunks.clear();
            mFailed = true;
            mRoom.notify_all();
        }
        end();
        QFile::remove(mPath);
    }
    Streamer(const Streamer&) = delete;
    Streamer& operator=(const Streamer&) = delete;

    // A chunk of whole records; waits while the thread is several behind.
    void push(std::string chunk) {
        std::unique_lock lock(mMutex);
        mRoom.wait(lock, [this] { return mChunks.size() < MaxWaiting || mFailed; });
        if (mFailed)
            return;
        mChunks.push_back(std::move(chunk));
        mArrived.notify_one();
    }

    // Once every chunk has been pushed: the rows are finished and the
    // workbook is written to `path`. False, with nothing written, when the
    // thread could not write the rows.
    bool save(const QByteArray& path, const std::vector<double>& widths,
              const std::vector<bool>& dateColumns) {
        end();
        if (mFailed)
            return false;
        mBook.setWidths(widths, dateColumns);
        mBook.close();
        std::error_code error;
        const std::filesystem::path from(QFile::encodeName(mPath).toStdString());
        const std::filesystem::path to(path.toStdString());
        std::filesystem::rename(from, to, error);
        if (error) {
            // Another file system: a copy.
            error.clear();
            std::filesystem::copy_file(from, to, error);
            if (error)
                throw AutomationError(QStringLiteral("Cannot write the workbook: %1")
                                          .arg(QString::fromStdString(error.message())));
        }
        return true;
    }

private:
    static constexpr std::size_t MaxWaiting = 8;

    void run() {
        try {
            writeRows();
        } catch (const std::exception&) {
            fail(); // out of memory: the log is still there
        }
    }

    void writeRows() {
        RowGatherer gatherer;
        auto write = [this](const std::vector<LoggedCell>& cells, const std::string& texts) {
            if (!mFailed && mBook.writeRow(cells, texts) != LXW_NO_ERROR)
                fail();
        };
        for (;;) {
            std::string chunk;
            {
                std::unique_lock lock(mMutex);
                mArrived.wait(lock, [this] { return !mChunks.empty() || mEnding; });
                if (mChunks.empty())
                    break;
                chunk = std::move(mChunks.front());
                mChunks.pop_front();
                mRoom.notify_one();
            }
            Reader reader(std::move(chunk));
            gatherer.read(reader, write);
        }
        gatherer.finish(write);
    }

    void fail() {
        std::lock_guard lock(mMutex);
        mFailed = true;
        mRoom.notify_one();
    }

    void end() {
        {
            std::lock_guard lock(mMutex);
            mEnding = true;
            mArrived.notify_one();
        }
        if (mThread.joinable())
            mThread.join();
    }

    QString mPath;
    Book mBook;
    std::mutex mMutex;
    std::condition_variable mArrived;
    std::condition_variable mRoom;
    std::deque<std::string> mChunks;
    bool mEnding = false;
    std::atomic<bool> mFailed = false;
    std::thread mThread; // last: it starts when everything else is ready
};

} // namespace

// The cells as they were set, one record each, in an unnamed temporary file
// behind a buffer; while they come row after row, a streamer writes them too.
class Sheet::CellLog {
public:
    CellLog() {
        // Unnamed where the system allows it: nothing is left behind.
        if (!mFile.open())
            throw AutomationError(QStringLiteral("Cannot make a temporary file for the cells: %1")
                                      .arg(mFile.errorString()));
        mBuffer.reserve(ChunkBytes + RecordBytes + 4 * MaxTextLength);
        try {
            mStreamer = std::make_unique<Streamer>();
        } catch (const std::exception&) {
            // Saving writes the rows from the log alone.
        }
    }

    void append(int row, int column, const Typed& cell) {
        if (mBroken)
            throw AutomationError(QStringLiteral("The cells could not be kept"));
        if (row < mLastRow) {
            mInRowOrder = false;
            mStreamer.reset();
        }
        mLastRow = row;
        const bool wraps = cell.kind == Kind::Text && hasLineBreak(cell.text);
        const RecordHead head{row, static_cast<std::uint16_t>(column - 1), cell.kind, wraps};
        put(&head, sizeof head);
        if (cell.kind == Kind::Text) {
            // The length goes before the bytes, which are encoded in place.
            const std::size_t lengthAt = mBuffer.size();
            mBuffer.resize(lengthAt + sizeof(std::uint32_t) + 3 * cell.text.size());
            char* bytes = mBuffer.data() + lengthAt + sizeof(std::uint32_t);
            const char* end = mEncoder.appendToBuffer(bytes, cell.text);
            const auto length = static_cast<std::uint32_t>(end - bytes);
            std::memcpy(mBuffer.data() + lengthAt, &length, sizeof length);
            mBuffer.resize(lengthAt + sizeof(std::uint32_t) + length);
        } else if (cell.kind != Kind::Empty) {
            put(&cell.number, sizeof cell.number);
        }
        if (mBuffer.size() >= ChunkBytes)
            flush();
    }

    // Writes the workbook the streamer has filled to `path`; false when there
    // is none to write, no streamer or one that failed, and the rows must be
    // written from the log. A workbook is written this way once: the
    // streamer ends with it.
    bool saveStreamed(const QByteArray& path, const std::vector<double>& widths,
                      const std::vector<bool>& dateColumns) {
        if (!mStreamer)
            return false;
        flush();
        const std::unique_ptr<Streamer> streamer = std::move(mStreamer);
        return streamer->save(path, widths, dateColumns);
    }

    // Calls `row(cells, texts)` for every row that has cells, top to bottom,
    // with one cell per column, left to right: the value set last.
    template <typename RowFunction> void forEachRow(RowFunction&& row) {
        flush();
        // Appending goes on at the end, however the reading ends.
        struct BackToTheEnd {
            CellLog& log;
            ~BackToTheEnd() {
                if (!log.mFile.seek(log.mWritten))
                    log.mBroken = true;
            }
        } backToTheEnd{*this};
        Reader reader(mFile, mWritten);
        if (mInRowOrder) {
            RowGatherer gatherer;
            gatherer.read(reader, row);
            gatherer.finish(row);
            return;
        }
        // Everything, sorted; the stable sort keeps the order of setting.
        std::vector<LoggedCell> cells;
        std::string texts;
        LoggedCell cell;
        while (reader.head(cell)) {
            reader.payload(cell, texts);
            cells.push_back(cell);
        }
        std::stable_sort(cells.begin(), cells.end(),
                         [](const LoggedCell& a, const LoggedCell& b) { return a.row < b.row; });
        for (auto first = cells.begin(); first != cells.end();) {
            const auto last = std::find_if(
                first, cells.end(), [&](const LoggedCell& each) { return each.row != first->row; });
            std::vector<LoggedCell> one(first, last);
            resolveRow(one, texts, row);
            first = last;
        }
    }

private:
    static constexpr std::size_t RecordBytes = sizeof(RecordHead) + sizeof(double);

    void put(const void* bytes, std::size_t size) {
        mBuffer.append(static_cast<const char*>(bytes), size);
    }

    // The buffer holds whole records only: the streamer may take it as it is.
    void flush() {
        if (mBuffer.empty())
            return;
        if (mStreamer)
            mStreamer->push(mBuffer);
        const auto size = static_cast<qint64>(mBuffer.size());
        const bool written = mFile.write(mBuffer.data(), size) == size;
        mBuffer.clear();
        if (!written) {
            mBroken = true;
            throw AutomationError(QStringLiteral("Cannot keep the cells in a temporary file: %1")
                                      .arg(mFile.errorString()));
        }
        mWritten += size;
    }

    QTemporaryFile mFile;
    std::string mBuffer;
    QStringEncoder mEncoder{QStringEncoder::Utf8};
    std::unique_ptr<Streamer> mStreamer;
    qint64 mWritten = 0;
    int mLastRow = 0;
    bool mInRowOrder = true;
    bool mBroken = false;
};

std::optional<double> numberText(QStringView text) {
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    QStringView body = text;
    if (!body.isEmpty() && (body.front() == u'-' || body.front() == u'+'))
        body = body.mid(1);
    int digitCount = 0;
    bool point = false;
    for (const QChar c : body) {
        if (c == u'.' && !point)
            point = true;
        else if (c >= u'0' && c <= u'9')
            ++digitCount;
        else
            return std::nullopt;
    }
    if (digitCount == 0 || digitCount > 15)
        return std::nullopt;
    if (body.size() > 1 && body[0] == u'0' && body[1] != u'.')
        return std::nullopt;
    // Plain ASCII by now, at most 15 digits and a point: read as such, which
    // is several times quicker than a conversion that knows locales.
    char ascii[20];
    char* end = ascii;
    if (text.front() == u'-')
        *end++ = '-';
    for (const QChar c : body)
        *end++ = static_cast<char>(c.unicode());
    double number = 0;
    const auto [stop, error] = std::from_chars(ascii, end, number);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return number;
}

Sheet::Sheet() = default;
Sheet::~Sheet() = default;
Sheet::Sheet(Sheet&&) noexcept = default;
Sheet& Sheet::operator=(Sheet&&) noexcept = default;

void Sheet::setCell(int row, int column, const QVariant& value) {
    if (row < 1 || row > MaxRows || column < 1 || column > MaxColumns)
        throw AutomationError(QStringLiteral("No cell at row %1, column %2").arg(row).arg(column));
    const Typed cell = typed(value);
    if (!mLog)
        mLog = std::make_unique<CellLog>();
    mLog->append(row, column, cell);
    if (cell.kind == Kind::DateTime || cell.kind == Kind::Date) {
        if (static_cast<size_t>(column) > mDateColumns.size())
            mDateColumns.resize(column);
        mDateColumns[column - 1] = true;
    }
}

void Sheet::setColumnWidth(int column, double characters) {
    if (column < 1 || column > MaxColumns)
        throw AutomationError(QStringLiteral("No column %1").arg(column));
    if (!std::isfinite(characters) || characters < 0 || characters > 255)
        throw AutomationError(
            QStringLiteral("A column cannot be %1 characters wide").arg(characters));
    if (static_cast<size_t>(column) > mColumnWidths.size())
        mColumnWidths.resize(column);
    mColumnWidths[column - 1] = characters;
}

void Sheet::save(const QByteArray& path) {
    if (mLog && mLog->saveStreamed(path, mColumnWidths, mDateColumns))
        return;
    Book book(path);
    book.setWidths(mColumnWidths, mDateColumns);
    if (mLog) {
        mLog->forEachRow([&](const std::vector<LoggedCell>& cells, const std::string& texts) {
            if (const lxw_error error = book.writeRow(cells, texts))
                failed("Cannot fill the worksheet", error);
        });
    }
    book.close();
}

} // namespace platform::xlsx
