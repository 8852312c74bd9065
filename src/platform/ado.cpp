#include "platform/ado.h"

#include "platform/ascii_text.h"
#include "platform/server_link.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <utility>

namespace platform {

namespace {

// Throws the failure of the last call on an open database, naming its file.
[[noreturn]] void fail(sqlite3* db) {
    const char* file = sqlite3_db_filename(db, "main");
    const int code = sqlite3_extended_errcode(db);
    // The database file itself is open; failing to open a file now means its
    // journal cannot be made beside it.
    const DatabaseFault fault =
        (code & 0xFF) == SQLITE_CANTOPEN ? DatabaseFault::Unwritable : faultOfResultCode(code);
    throw AdoError(faultMessage(fault, fileNameOf(file ? file : ""), sqlite3_errmsg(db)), fault);
}

std::filesystem::path pathOf(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

bool fileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(pathOf(path), error);
}

// Refuses a file that is not a SQLite database before SQLite ever opens it,
// so nothing is written into it. A missing file is left to the opening.
void refuseForeignFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file = pathOf(path);
    if (!std::filesystem::is_regular_file(file, error))
        return;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        return;
    std::string head(std::min<std::uintmax_t>(size, DatabaseHeadBytes), '\0');
    std::ifstream in(file, std::ios::binary);
    if (!in.read(head.data(), static_cast<std::streamsize>(head.size())))
        return; // unreadable: SQLite's own opening says why
    const std::string name = fileNameOf(path);
    switch (const DatabaseFileKind kind = kindOfDatabaseFile(head, size)) {
    case DatabaseFileKind::Sqlite:
        return;
    case DatabaseFileKind::DamagedSqlite:
        throw AdoError(faultMessage(DatabaseFault::Damaged, name, "file is not a database"),
                       DatabaseFault::Damaged);
    default:
        throw AdoError(faultMessage(DatabaseFault::Foreign, name, foreignFileText(kind)),
                       DatabaseFault::Foreign);
    }
}

bool hasAt(std::string_view head, std::size_t offset, std::string_view text) {
    return head.size() >= offset + text.size() && head.substr(offset, text.size()) == text;
}

unsigned byteAt(std::string_view head, std::size_t offset) {
    return static_cast<unsigned char>(head[offset]);
}

// Whether the page at `offset` of a file with pages of `pageSize` bytes
// looks like a b-tree page: a page type SQLite writes and a cell content
// area that lies inside the page.
bool looksLikeBtreePage(std::string_view head, std::size_t offset, std::size_t pageSize) {
    if (head.size() < offset + 8)
        return false;
    const unsigned type = byteAt(head, offset);
    if (type != 2 && type != 5 && type != 10 && type != 13)
        return false;
    std::size_t content = byteAt(head, offset + 5) << 8 | byteAt(head, offset + 6);
    if (content == 0)
        content = 65536;
    const std::size_t headerBytes = type == 2 || type == 5 ? 12 : 8;
    return content >= headerBytes && content <= pageSize && byteAt(head, offset + 7) <= 60;
}

// Opens an existing database file; throws the fault, naming the file.
// A connection is only ever used by the thread that opened it, so it goes
// without SQLite's per-call mutex, which otherwise costs as much as reading
// the fields themselves (two locks for every field of every row).
sqlite3* openFile(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, AdoConnection::OpenBusyTimeoutMs);
        return db;
    }
    const std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    const DatabaseFault fault = !fileExists(path) ? DatabaseFault::Missing : faultOfResultCode(rc);
    throw AdoError(faultMessage(fault, fileNameOf(path), detail), fault);
}

// What the quick check of an open database found: empty when the file is
// sound, otherwise the check's first finding. Throws when the schema itself
// does not read or the file is busy.
std::string quickCheckFinding(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "pragma quick_check", -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        fail(db);
    }
    std::string finding;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        std::string line = text ? text : "";
        // The check heads its findings with the name of the schema.
        static const std::string heading = "*** in database main ***\n";
        if (line.starts_with(heading))
            line.erase(0, heading.size());
        if (line != "ok" && finding.empty())
            finding = line.substr(0, line.find('\n'));
    }
    if (rc != SQLITE_DONE) {
        const int code = sqlite3_errcode(db);
        if (faultOfResultCode(code) != DatabaseFault::Damaged) {
            sqlite3_finalize(stmt);
            fail(db);
        }
        if (finding.empty())
            finding = sqlite3_errmsg(db);
    }
    sqlite3_finalize(stmt);
    return finding;
}

FieldKind kindOfDeclaredType(const char* declared) {
    if (!declared)
        return FieldKind::Text;
    const std::string type = asciiLowered(declared);
    if (type.find("int") != std::string::npos)
        return FieldKind::Integer;
    if (type.find("date") != std::string::npos || type.find("time") != std::string::npos)
        return FieldKind::DateTime;
    if (type.find("real") != std::string::npos || type.find("floa") != std::string::npos ||
        type.find("doub") != std::string::npos)
        return FieldKind::Float;
    return FieldKind::Text;
}

// A prepared statement that finalizes itself.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql, const char** tail = nullptr) {
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &mStmt, tail) !=
            SQLITE_OK)
            fail(db);
    }
    ~Statement() { sqlite3_finalize(mStmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return mStmt; }
    explicit operator bool() const { return mStmt != nullptr; }

private:
    sqlite3_stmt* mStmt = nullptr;
};

// Steps through a prepared query's rows and hands each row's texts (null for
// a null field; valid until the next step) and their byte counts to `row`.
// A damaged database ends the rows quietly at the damage: what still reads
// is listed.
void stepRows(const AdoConnection& connection, sqlite3* db, sqlite3_stmt* stmt,
              const std::function<void(const char* const* texts, const std::size_t* sizes)>& row) {
    const auto columns = static_cast<std::size_t>(sqlite3_column_count(stmt));
    std::vector<const char*> texts(columns);
    std::vector<std::size_t> sizes(columns);
    // Whole numbers are written out here, as SQLite would write them, which
    // spares SQLite a text of its own for each (a key on every row).
    std::vector<std::array<char, 24>> numbers(columns);
    // Only columns declared as whole numbers are asked for their type; other
    // columns nearly always hold text.
    std::vector<bool> integers(columns);
    for (std::size_t c = 0; c < columns; ++c)
        integers[c] = kindOfDeclaredType(sqlite3_column_decltype(stmt, static_cast<int>(c))) ==
                      FieldKind::Integer;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (std::size_t c = 0; c < columns; ++c) {
            const int column = static_cast<int>(c);
            if (integers[c] && sqlite3_column_type(stmt, column) == SQLITE_INTEGER) {
                char* digits = numbers[c].data();
                const auto end = std::to_chars(digits, digits + numbers[c].size(),
                                               sqlite3_column_int64(stmt, column))
                                     .ptr;
                texts[c] = digits;
                sizes[c] = static_cast<std::size_t>(end - digits);
                continue;
            }
            texts[c] = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
            sizes[c] = texts[c] ? static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)) : 0;
        }
        row(texts.data(), sizes.data());
    }
    if (rc != SQLITE_DONE &&
        !(connection.damaged() && faultOfResultCode(rc) == DatabaseFault::Damaged))
        fail(db);
}

} // namespace

std::string dataSourceOf(const std::string& connectionString) {
    std::size_t start = 0;
    while (start <= connectionString.size()) {
        auto end = connectionString.find(';', start);
        if (end == std::string::npos)
            end = connectionString.size();
        const std::string_view part = std::string_view(connectionString).substr(start, end - start);
        const auto equals = part.find('=');
        if (equals != std::string::npos &&
            asciiLowered(trimmedBlanks(part.substr(0, equals))) == "data source") {
            std::string value(trimmedBlanks(part.substr(equals + 1)));
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                value = value.substr(1, value.size() - 2);
#ifndef _WIN32
            std::replace(value.begin(), value.end(), '\\', '/');
#endif
            return value;
        }
        start = end + 1;
    }
    return {};
}

namespace {

bool isWordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// The end of the quoted text that begins at `begin` (the index of its closing
// quote), or npos when it is not closed.
std::size_t closingQuote(std::string_view sql, std::size_t begin) {
    std::size_t end = begin + 1;
    while (end < sql.size()) {
        if (sql[end] == '\'' && (end + 1 >= sql.size() || sql[end + 1] != '\''))
            return end;
        end += sql[end] == '\'' ? 2 : 1;
    }
    return std::string_view::npos;
}

// The server's spelling of like: ilike, and no escape character after the
// pattern that follows it. A select of rows from data without an order
// comes in key order, as SQLite gives a table's rows by their key; the
// server gives them as they lie, an edited row last.
std::string serverForms(std::string_view sql) {
    std::vector<std::string> words; // outside quotes, lowered
    std::string out;
    out.reserve(sql.size() + 16);
    bool escapeAfterText = false;
    std::size_t i = 0;
    while (i < sql.size()) {
        if (sql[i] == '\'') {
            const std::size_t end = closingQuote(sql, i);
            if (end == std::string_view::npos) {
                out.append(sql.substr(i)); // the server reports it as it stands
                break;
            }
            out.append(sql.substr(i, end - i + 1));
            if (escapeAfterText)
                out += " escape ''";
            escapeAfterText = false;
            i = end + 1;
            continue;
        }
        if (isWordCharacter(sql[i])) {
            std::size_t end = i;
            while (end < sql.size() && isWordCharacter(sql[end]))
                ++end;
            const std::string_view word = sql.substr(i, end - i);
            words.push_back(asciiLowered(word));
            if (words.back() == "like") {
                out += "ilike";
                escapeAfterText = true;
            } else {
                out.append(word);
            }
            i = end;
            continue;
        }
        out += sql[i++];
    }
    if (out.find('\0') != std::string::npos)
        throw AdoError("数据库服务器不能保存含有空字符(NUL)的文字");
    const auto has = [&words](std::string_view word) {
        return std::find(words.begin(), words.end(), word) != words.end();
    };
    const auto from = std::find(words.begin(), words.end(), "from");
    const bool rowsOfData = !words.empty() && words.front() == "select" && from != words.end() &&
                            from + 1 != words.end() && from[1] == "data";
    if (!rowsOfData)
        return out;
    for (const std::string_view other :
         {"order", "group", "count", "sum", "max", "min", "avg", "limit", "join", "union"}) {
        if (has(other))
            return out;
    }
    out.erase(out.find_last_not_of(" \t\r\n;") + 1);
    return out + " order by 编号";
}

} // namespace

std::string translateStatement(const std::string& sql, SqlDialect dialect) {
    static const std::regex jetDelete(R"(^\s*delete\s+from\s+\(\s*([^()\s]+)\s*\)\s*;?\s*$)",
                                      std::regex::icase);
    std::smatch match;
    if (std::regex_match(sql, match, jetDelete))
        return "delete from " + match[1].str();
    if (dialect == SqlDialect::Sqlite)
        return sql.find('\0') != std::string::npos ? literalsWithNul(sql) : sql;
    // SQLite reads a parenthesised table name as the table; the server
    // wants the name alone.
    static const std::regex selectFromParenthesised(
        R"(^(\s*select\s+[^']*\s+from\s+)\(\s*([^()\s']+)\s*\)\s*;?\s*$)", std::regex::icase);
    if (std::regex_match(sql, match, selectFromParenthesised))
        return serverForms(match[1].str() + match[2].str());
    return serverForms(sql);
}

bool isServerConnectionString(std::string_view connectionString) {
    return connectionString.starts_with("postgresql://") ||
           connectionString.starts_with("postgres://");
}

std::string keyColumnDefinition(SqlDialect dialect) {
    return dialect == SqlDialect::Sqlite ? "INTEGER PRIMARY KEY AUTOINCREMENT"
                                         : "integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY";
}

std::string localNowExpression(SqlDialect dialect) {
    // Month, day and hour without their leading zeros. SQLite keeps 'now'
    // the same for the whole statement, the server for the whole transaction.
    if (dialect == SqlDialect::Postgres)
        return "(to_char(localtimestamp, 'YYYY-FMMM-FMDD FMHH24:MI:SS'))";
    return "(cast(strftime('%Y','now','localtime') as integer) || '-' || "
           "cast(strftime('%m','now','localtime') as integer) || '-' || "
           "cast(strftime('%d','now','localtime') as integer) || ' ' || "
           "cast(strftime('%H','now','localtime') as integer) || "
           "strftime(':%M:%S','now','localtime'))";
}

std::string literalsWithNul(std::string_view sql) {
    std::string out;
    out.reserve(sql.size() + 16);
    std::size_t i = 0;
    while (i < sql.size()) {
        if (sql[i] != '\'') {
            out += sql[i++];
            continue;
        }
        // A quoted text runs to the quote that is not doubled.
        const std::size_t end = closingQuote(sql, i);
        if (end == std::string_view::npos) {
            // Unterminated: SQLite reports it as it stands.
            out.append(sql.substr(i));
            break;
        }
        const std::string_view body = sql.substr(i + 1, end - i - 1);
        if (body.find('\0') == std::string_view::npos) {
            out.append(sql.substr(i, end - i + 1));
        } else {
            out += "('";
            for (const char c : body)
                out += c == '\0' ? std::string("'||char(0)||'") : std::string(1, c);
            out += "')";
        }
        i = end + 1;
    }
    return out;
}

DatabaseFault faultOfResultCode(int resultCode) {
    if (resultCode == SQLITE_IOERR_READ || resultCode == SQLITE_IOERR_SHORT_READ)
        return DatabaseFault::Damaged;
    switch (resultCode & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return DatabaseFault::Damaged;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DatabaseFault::Busy;
    case SQLITE_READONLY:
    case SQLITE_FULL:
    case SQLITE_PERM:
    case SQLITE_IOERR:
        return DatabaseFault::Unwritable;
    case SQLITE_CANTOPEN:
        return DatabaseFault::Missing;
    default:
        return DatabaseFault::Other;
    }
}

std::string faultMessage(DatabaseFault fault, std::string_view fileName, std::string_view detail) {
    std::string message = "数据库文件\"" + std::string(fileName) + "\"";
    switch (fault) {
    case DatabaseFault::Damaged:
        message += "已损坏,请用备份恢复它";
        break;
    case DatabaseFault::Busy:
        message += "正被另一个程序使用,请稍后再试";
        break;
    case DatabaseFault::Unwritable:
        message += "无法写入(文件只读或磁盘已满)";
        break;
    case DatabaseFault::Missing:
        message += "不存在";
        break;
    case DatabaseFault::Foreign:
        message += "不能使用";
        break;
    case DatabaseFault::Unreachable:
        message += "无法连接";
        break;
    case DatabaseFault::Other:
        message += "无法使用";
        break;
    }
    if (!detail.empty())
        message += ": " + std::string(detail);
    return message;
}

std::string damagedRefusal(std::string_view fileName) {
    return "数据库文件\"" + std::string(fileName) +
           "\"已损坏,只能查看记录,不能添加,编辑,删除或清空;请用备份恢复它";
}

DatabaseFileKind kindOfDatabaseFile(std::string_view head, std::uint64_t size) {
    using namespace std::string_view_literals;
    if (size == 0)
        return DatabaseFileKind::Empty;
    if (hasAt(head, 0, "SQLite format 3\0"sv))
        return DatabaseFileKind::Sqlite;
    if (hasAt(head, 0, "\0\1\0\0"sv) &&
        (hasAt(head, 4, "Standard Jet DB"sv) || hasAt(head, 4, "Standard ACE DB"sv)))
        return DatabaseFileKind::Access;
    // A SQLite file whose first page was overwritten still has its second
    // page, a b-tree page, at one of the page sizes SQLite uses.
    for (std::uint64_t pageSize = 512; pageSize <= 65536; pageSize *= 2) {
        if (size % pageSize == 0 && size >= 2 * pageSize &&
            looksLikeBtreePage(head, pageSize, pageSize))
            return DatabaseFileKind::DamagedSqlite;
    }
    return DatabaseFileKind::NotADatabase;
}

std::string foreignFileText(DatabaseFileKind kind) {
    const std::string replace = "。请用 Marvanto 的数据库文件替换它";
    switch (kind) {
    case DatabaseFileKind::Access:
        return "这是 Access 数据库文件,本程序不能直接打开" + replace;
    case DatabaseFileKind::Empty:
        return "这是一个空文件(0 字节),里面没有数据库" + replace;
    case DatabaseFileKind::NotADatabase:
        return "这不是数据库文件,本程序不能打开它" + replace;
    case DatabaseFileKind::Sqlite:
    case DatabaseFileKind::DamagedSqlite:
        break;
    }
    return {};
}

std::string missingColumnsText(std::string_view table, const std::vector<std::string>& present,
                               const std::vector<std::string>& required) {
    const std::string replace = ",它不是本程序的这个数据库。请用 Marvanto 的数据库文件替换它";
    if (present.empty())
        return "没有表 " + std::string(table) + replace;
    std::string missing;
    for (const std::string& column : required) {
        if (std::find(present.begin(), present.end(), column) == present.end())
            missing += (missing.empty() ? "" : ",") + column;
    }
    if (missing.empty())
        return {};
    return "表 " + std::string(table) + " 缺少列 " + missing + replace;
}

std::string fileNameOf(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string quoteDoubled(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

// ---------------------------------------------------------------- connection

AdoConnection::AdoConnection() = default;

AdoConnection::~AdoConnection() {
    close();
}

void AdoConnection::setConnectionString(const std::string& connectionString) {
    mConnectionString = connectionString;
}

void AdoConnection::setRequiredColumns(std::string table, std::vector<std::string> columns) {
    mRequiredTable = std::move(table);
    mRequiredColumns = std::move(columns);
}

void AdoConnection::checkRequiredColumns(sqlite3* db) const {
    if (mRequiredTable.empty())
        return;
    Statement info(db, "select name from pragma_table_info(?1)");
    sqlite3_bind_text(info.get(), 1, mRequiredTable.c_str(),
                      static_cast<int>(mRequiredTable.size()), SQLITE_TRANSIENT);
    std::vector<std::string> present;
    int rc;
    while ((rc = sqlite3_step(info.get())) == SQLITE_ROW)
        present.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0)));
    if (rc != SQLITE_DONE)
        fail(db);
    const std::string missing = missingColumnsText(mRequiredTable, present, mRequiredColumns);
    if (!missing.empty())
        throw AdoError(faultMessage(DatabaseFault::Foreign,
                                    fileNameOf(sqlite3_db_filename(db, "main")), missing),
                       DatabaseFault::Foreign);
}

void AdoConnection::setServerSchema(std::string schema, std::string createTable) {
    mSchema = std::move(schema);
    mCreateTable = std::move(createTable);
}

void AdoConnection::openServer() {
    mServer =
        std::make_unique<ServerLink>(mConnectionString, mSchema, mCreateTable, mRequiredColumns);
}

bool AdoConnection::connected() const {
    return mDb != nullptr || (mServer && mServer->alive());
}

ServerLink& AdoConnection::server() {
    if (!mServer || !mServer->alive())
        openServer();
    return *mServer;
}

template <typename Work> auto AdoConnection::onServer(Work&& work, bool reads) {
    try {
        return work(server());
    } catch (const ServerLink::NotSent&) {
        return work(server());
    } catch (const AdoError&) {
        // A connection that broke while idle (a server restarted meanwhile)
        // is replaced once for a read, which may safely run again.
        if (!reads || !mServer || mServer->alive() || mServer->ranInTransaction())
            throw;
        return work(server());
    }
}

void AdoConnection::copyIn(const std::string& copyStatement,
                           const std::function<bool(std::string&)>& chunk) {
    server().copyIn(copyStatement, chunk);
}

void AdoConnection::open() {
    close();
    if (isServer()) {
        openServer();
        return;
    }
    const std::string path = dataSourceOf(mConnectionString);
    if (path.empty())
        throw AdoError("连接字符串中没有数据库文件 (Data Source)");
    refuseForeignFile(path);
    sqlite3* db = openFile(path, SQLITE_OPEN_READWRITE);
    std::string finding;
    try {
        finding = quickCheckFinding(db);
        if (finding.empty())
            checkRequiredColumns(db);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    if (!finding.empty()) {
        // Damaged pages: reading what still reads is safe, writing is not.
        sqlite3_close(db);
        db = openFile(path, SQLITE_OPEN_READONLY);
        mDamaged = true;
        mDamageDetail = finding;
    } else {
        // A confirmed change survives a power cut: the folder is synced too
        // once the journal is gone. Write-ahead logging would be faster, but
        // it keeps a log and an index file beside each database that a copy
        // by hand misses, and its files need writing even to be read.
        sqlite3_exec(db, "pragma synchronous=EXTRA", nullptr, nullptr, nullptr);
        sqlite3_busy_timeout(db, BusyTimeoutMs);
    }
    mDb = db;
}

void AdoConnection::ensureOpen() {
    if (connected())
        return;
    if (mConnectionString.empty())
        throw AdoError("数据库没有连接");
    open();
}

std::string AdoConnection::damageMessage() const {
    return damagedRefusal(fileName()) + ": " + mDamageDetail;
}

std::string AdoConnection::fileName() const {
    if (isServer())
        return serverDisplayName(mConnectionString) + (mSchema.empty() ? "" : " 中的 " + mSchema);
    return fileNameOf(dataSourceOf(mConnectionString));
}

void AdoConnection::close() {
    if (mDb) {
        sqlite3_close_v2(mDb);
        mDb = nullptr;
    }
    mServer.reset();
    mDamaged = false;
    mDamageDetail.clear();
}

// ---------------------------------------------------------------- result

int AdoResult::fieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < mNames.size(); ++i) {
        if (mNames[i] == name)
            return static_cast<int>(i);
    }
    return -1;
}

namespace {
// The first chunk of a result and the largest a chunk grows to.
constexpr std::size_t FirstChunkBytes = 64 * 1024;
constexpr std::size_t LargestChunkBytes = 4 * 1024 * 1024;
} // namespace

namespace {

// Cell headers: the byte count times two, plus one for a null cell, as a
// varint of seven bits a byte, low bits first.
std::size_t putHeader(char* out, std::uint64_t value) {
    std::size_t n = 0;
    while (value >= 0x80) {
        out[n++] = static_cast<char>(value | 0x80);
        value >>= 7;
    }
    out[n++] = static_cast<char>(value);
    return n;
}

std::uint64_t getHeader(const char* data, std::size_t& at) {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(data[at++]);
        value |= std::uint64_t{byte & 0x7fu} << shift;
        if (byte < 0x80)
            return value;
    }
}

} // namespace

std::size_t AdoResult::chunkOf(int row) const {
    // The last chunk that begins at or before the row (a chunk emptied by
    // removals begins where the next one does and is passed over).
    const auto after = std::upper_bound(mChunkFirstRow.begin(), mChunkFirstRow.end(), row);
    return static_cast<std::size_t>(after - mChunkFirstRow.begin()) - 1;
}

std::size_t AdoResult::cellHeader(int row, int field) const {
    const char* data = mChunks[chunkOf(row)].data();
    std::size_t at = mRowOffset[static_cast<std::size_t>(row)];
    for (int f = 0; f < field; ++f)
        at += static_cast<std::size_t>(getHeader(data, at) >> 1);
    return at;
}

std::string_view AdoResult::cell(int row, int field) const {
    const std::string& chunk = mChunks[chunkOf(row)];
    std::size_t at = cellHeader(row, field);
    const auto size = static_cast<std::size_t>(getHeader(chunk.data(), at) >> 1);
    return std::string_view(chunk.data() + at, size);
}

bool AdoResult::isNull(int row, int field) const {
    std::size_t at = cellHeader(row, field);
    return getHeader(mChunks[chunkOf(row)].data(), at) & 1;
}

std::size_t AdoResult::memoryUsed() const {
    std::size_t bytes = 0;
    for (const auto& name : mNames)
        bytes += name.capacity() + sizeof(name);
    for (const auto& chunk : mChunks)
        bytes += chunk.capacity() + sizeof(chunk);
    return bytes + mChunkFirstRow.capacity() * sizeof(int) +
           mRowOffset.capacity() * sizeof(std::uint32_t) + mKinds.capacity() * sizeof(FieldKind);
}

void AdoResult::appendRow(const char* const* texts, const std::size_t* sizes) {
    const std::size_t fields = mNames.size();
    // Each header takes at most ten bytes.
    std::size_t rowBytes = 0;
    for (std::size_t c = 0; c < fields; ++c)
        rowBytes += sizes[c] + 10;
    if (rowBytes > UINT32_MAX)
        throw AdoError("the result is too large");
    if (mChunks.empty() || mChunks.back().capacity() - mChunks.back().size() < rowBytes) {
        const std::size_t next = mChunks.empty()
                                     ? FirstChunkBytes
                                     : std::min(mChunks.back().capacity() * 2, LargestChunkBytes);
        const std::size_t size = std::max(next, rowBytes);
        // A chunk of the result this one replaces is used again when it is
        // large enough: its memory is already the program's, where fresh
        // memory would cost a page fault for every page written.
        if (!mSpareChunks.empty() && mSpareChunks.back().capacity() >= size) {
            mChunks.push_back(std::move(mSpareChunks.back()));
            mSpareChunks.pop_back();
            mChunks.back().clear();
        } else {
            mChunks.emplace_back();
            mChunks.back().reserve(size);
        }
        mChunkFirstRow.push_back(mRows);
    }
    // The row is laid out in a buffer of its own and appended whole, within
    // the chunk's reserved size: the chunk's text never moves.
    if (mRowBuffer.size() < rowBytes)
        mRowBuffer.resize(rowBytes);
    char* out = mRowBuffer.data();
    for (std::size_t c = 0; c < fields; ++c) {
        out += putHeader(out, std::uint64_t{sizes[c]} * 2 + (texts[c] ? 0 : 1));
        if (texts[c]) {
            std::memcpy(out, texts[c], sizes[c]);
            out += sizes[c];
        }
    }
    std::string& chunk = mChunks.back();
    const std::size_t begin = chunk.size();
    chunk.append(mRowBuffer.data(), static_cast<std::size_t>(out - mRowBuffer.data()));
    mRowOffset.push_back(static_cast<std::uint32_t>(begin));
    ++mRows;
}

void AdoResult::removeRow(int row) {
    const std::size_t chunkIndex = chunkOf(row);
    std::string& chunk = mChunks[chunkIndex];
    const std::size_t begin = mRowOffset[static_cast<std::size_t>(row)];
    const std::size_t end = row + 1 < mRows && chunkOf(row + 1) == chunkIndex
                                ? mRowOffset[static_cast<std::size_t>(row) + 1]
                                : chunk.size();
    const auto removed = static_cast<std::uint32_t>(end - begin);
    chunk.erase(begin, removed);
    // The rows after it in the same chunk move up by what was removed.
    const int chunkEnd =
        chunkIndex + 1 < mChunkFirstRow.size() ? mChunkFirstRow[chunkIndex + 1] : mRows;
    for (int later = row + 1; later < chunkEnd; ++later)
        mRowOffset[static_cast<std::size_t>(later)] -= removed;
    mRowOffset.erase(mRowOffset.begin() + row);
    for (std::size_t next = chunkIndex + 1; next < mChunkFirstRow.size(); ++next)
        --mChunkFirstRow[next];
    --mRows;
}

// ---------------------------------------------------------------- query

void AdoQuery::requireConnection() const {
    mConnection.ensureOpen();
}

void AdoQuery::requireWritable() const {
    if (mConnection.damaged())
        throw AdoError(mConnection.damageMessage(), DatabaseFault::Damaged);
}

void AdoQuery::requireCurrentRow() const {
    if (!mActive)
        throw AdoError("the query is not open");
    if (mResult.rowCount() == 0 || mRow < 0)
        throw AdoError("there is no current record");
}

void AdoQuery::notify(Change change) {
    if (mControlsDisabled > 0) {
        (change == Change::Result ? mPendingResult : mPendingCursor) = true;
        return;
    }
    if (mListener)
        mListener(change);
}

void AdoQuery::enableControls() {
    if (mControlsDisabled == 0 || --mControlsDisabled > 0)
        return;
    const bool result = mPendingResult;
    const bool cursor = mPendingCursor;
    mPendingResult = mPendingCursor = false;
    if (result)
        notify(Change::Result);
    else if (cursor)
        notify(Change::Cursor);
}

void AdoQuery::setSql(const std::string& sql) {
    close();
    mSql = sql;
}

void AdoQuery::close() {
    const bool wasActive = mActive;
    mActive = false;
    // The rows' memory is kept for the next open of this query: a list that
    // is read again (every refresh) then writes into memory the program
    // already has, where fresh memory costs a page fault for every page,
    // which is as much time again as reading a large list.
    if (!mResult.mChunks.empty()) {
        mSpareChunks = std::move(mResult.mChunks);
        mSpareOffsets = std::move(mResult.mRowOffset);
    }
    mResult = AdoResult();
    mRow = -1;
    mEof = mBof = true;
    if (wasActive)
        notify(Change::Result);
}

void AdoQuery::open() {
    close();
    requireConnection();
    AdoResult result = newResult();
    if (mConnection.isServer()) {
        const std::string sql = translateStatement(mSql, SqlDialect::Postgres);
        bool tried = false;
        mConnection.onServer(
            [&](ServerLink& server) {
                // A read that is tried again starts over; the first reads
                // into the memory of the last result.
                if (std::exchange(tried, true))
                    result = newResult();
                server.query(
                    sql,
                    [&](const std::vector<std::string>& names,
                        const std::vector<FieldKind>& kinds) {
                        result.mNames = names;
                        result.mKinds = kinds;
                    },
                    [&](const char* const* texts, const std::size_t* sizes) {
                        result.appendRow(texts, sizes);
                    });
                return 0;
            },
            true);
        takeResult(std::move(result));
        return;
    }
    sqlite3* db = mConnection.handle();
    Statement statement(db, translateStatement(mSql));
    if (!statement)
        throw AdoError("the query text is empty");
    sqlite3_stmt* stmt = statement.get();

    const int columns = sqlite3_column_count(stmt);
    if (columns == 0)
        throw AdoError("the query returns no fields");
    for (int c = 0; c < columns; ++c) {
        result.mNames.emplace_back(sqlite3_column_name(stmt, c));
        result.mKinds.push_back(kindOfDeclaredType(sqlite3_column_decltype(stmt, c)));
    }
    stepRows(mConnection, db, stmt, [&result](const char* const* texts, const std::size_t* sizes) {
        result.appendRow(texts, sizes);
    });
    takeResult(std::move(result));
}

AdoResult AdoQuery::newResult() {
    AdoResult result;
    // The memory of the last closed result is used again.
    result.mSpareChunks = std::move(mSpareChunks);
    std::reverse(result.mSpareChunks.begin(), result.mSpareChunks.end());
    result.mRowOffset = std::move(mSpareOffsets);
    result.mRowOffset.clear();
    return result;
}

void AdoQuery::takeResult(AdoResult&& result) {
    result.mRowBuffer = std::string();
    result.mSpareChunks.clear();
    mResult = std::move(result);
    mActive = true;
    mRow = mResult.rowCount() > 0 ? 0 : -1;
    mBof = true;
    mEof = mResult.rowCount() == 0;
    notify(Change::Result);
}

void AdoQuery::scan(const std::function<void(const std::vector<std::string_view>& fields)>& row) {
    requireConnection();
    std::vector<std::string_view> fields;
    const auto handRow = [&](const char* const* texts, const std::size_t* sizes) {
        for (std::size_t c = 0; c < fields.size(); ++c)
            fields[c] = texts[c] ? std::string_view(texts[c], sizes[c]) : std::string_view();
        row(fields);
    };
    if (mConnection.isServer()) {
        const std::string sql = translateStatement(mSql, SqlDialect::Postgres);
        mConnection.onServer(
            [&](ServerLink& server) {
                server.query(
                    sql,
                    [&](const std::vector<std::string>& names, const std::vector<FieldKind>&) {
                        fields.assign(names.size(), std::string_view());
                    },
                    handRow);
                return 0;
            },
            true);
        return;
    }
    sqlite3* db = mConnection.handle();
    Statement statement(db, translateStatement(mSql));
    if (!statement)
        throw AdoError("the query text is empty");
    sqlite3_stmt* stmt = statement.get();
    fields.resize(static_cast<std::size_t>(sqlite3_column_count(stmt)));
    stepRows(mConnection, db, stmt, handRow);
}

int AdoQuery::execSql() {
    requireConnection();
    requireWritable();
    if (mConnection.isServer()) {
        const std::string sql = translateStatement(mSql, SqlDialect::Postgres);
        return mConnection.onServer([&](ServerLink& server) { return server.execute(sql); }, false);
    }
    sqlite3* db = mConnection.handle();
    const std::string sql = translateStatement(mSql);
    const char* tail = nullptr;
    Statement statement(db, sql, &tail);
    if (!statement)
        throw AdoError("the statement text is empty");
    // One statement at a time: text after it (other than blanks and a
    // semicolon) is refused rather than run.
    if (tail && std::string_view(tail).find_first_not_of(" \t\r\n;") != std::string_view::npos)
        throw AdoError("only one statement can be executed at a time");
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        fail(db);
    return sqlite3_changes(db);
}

void AdoQuery::first() {
    if (!mActive)
        throw AdoError("the query is not open");
    mRow = mResult.rowCount() > 0 ? 0 : -1;
    mBof = true;
    mEof = mResult.rowCount() == 0;
    notify(Change::Cursor);
}

void AdoQuery::last() {
    if (!mActive)
        throw AdoError("the query is not open");
    mRow = mResult.rowCount() - 1;
    mEof = true;
    mBof = mResult.rowCount() == 0;
    notify(Change::Cursor);
}

void AdoQuery::next() {
    if (!mActive)
        throw AdoError("the query is not open");
    if (mRow + 1 < mResult.rowCount()) {
        ++mRow;
        mBof = false;
        mEof = false;
    } else {
        mEof = true;
    }
    notify(Change::Cursor);
}

void AdoQuery::prior() {
    if (!mActive)
        throw AdoError("the query is not open");
    if (mRow > 0) {
        --mRow;
        mEof = false;
        mBof = false;
    } else {
        mBof = true;
    }
    notify(Change::Cursor);
}

void AdoQuery::moveTo(int row) {
    if (!mActive)
        throw AdoError("the query is not open");
    if (row < 0 || row >= mResult.rowCount())
        throw AdoError("no such record");
    if (row == mRow && !mEof && !mBof)
        return;
    mRow = row;
    mEof = false;
    mBof = false;
    notify(Change::Cursor);
}

std::string_view AdoQuery::field(int index) const {
    requireCurrentRow();
    if (index < 0 || index >= mResult.fieldCount())
        throw AdoError("field index out of range");
    return mResult.cell(mRow, index);
}

std::string_view AdoQuery::fieldByName(std::string_view name) const {
    const int index = mResult.fieldIndex(name);
    if (index < 0)
        throw AdoError("field '" + std::string(name) + "' not found");
    return field(index);
}

int AdoQuery::deleteCurrent() {
    requireCurrentRow();
    requireConnection();
    requireWritable();
    const int keyField = mResult.fieldIndex("编号");
    if (keyField < 0 || mResult.isNull(mRow, keyField))
        throw AdoError("the current record has no key");
    const std::string key(mResult.cell(mRow, keyField));
    int deleted = 0;
    if (mConnection.isServer()) {
        deleted = mConnection.onServer(
            [&](ServerLink& server) {
                return server.execute("delete from data where 编号 = $1::integer", {key});
            },
            false);
    } else {
        sqlite3* db = mConnection.handle();
        Statement statement(db, "delete from data where 编号 = ?1");
        sqlite3_bind_text(statement.get(), 1, key.c_str(), static_cast<int>(key.size()),
                          SQLITE_TRANSIENT);
        if (sqlite3_step(statement.get()) != SQLITE_DONE)
            fail(db);
        deleted = sqlite3_changes(db);
    }
    mResult.removeRow(mRow);
    if (mRow >= mResult.rowCount())
        mRow = mResult.rowCount() - 1;
    mEof = mResult.rowCount() == 0;
    mBof = mResult.rowCount() == 0;
    notify(Change::Result);
    return deleted;
}

} // namespace platform
