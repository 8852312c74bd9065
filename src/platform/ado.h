#pragma once

// Database access in the shape the record windows were designed for: a
// connection opened from a connection string, and a query object that holds
// SQL text, runs statements, and reads a whole result into memory as a static
// client-side result with a cursor. Backed by SQLite files or, for a
// connection string that is a PostgreSQL URI, by a schema on that server;
// free of Qt.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace platform {

// Any failure of the data layer. Failures of a database file say in Chinese
// which file it is and what happened, followed by the database's own text.
// What went wrong with a database file, as the user can act on it.
// Foreign: a file that is not one of the program's databases at all (an
// Access file, no database, an empty file, a database without the table or
// columns of its module); replacing it is the remedy, not a restore.
// Unreachable: the database server is down, cannot be reached or refuses the
// login; the next action tries again.
enum class DatabaseFault { Damaged, Busy, Unwritable, Missing, Foreign, Unreachable, Other };

class AdoError : public std::runtime_error {
public:
    explicit AdoError(const std::string& message, DatabaseFault fault = DatabaseFault::Other)
        : std::runtime_error(message), mFault(fault) {}
    DatabaseFault fault() const { return mFault; }

private:
    DatabaseFault mFault;
};

// The fault a SQLite result code stands for.
DatabaseFault faultOfResultCode(int resultCode);

// The message for a fault of a database file: its name, what happened and,
// after a colon, the database's own text (left out when empty).
// 数据库文件"备忘录.mdb"正被另一个程序使用: database is locked
std::string faultMessage(DatabaseFault fault, std::string_view fileName, std::string_view detail);

// The message that refuses a change to a damaged database that was opened for
// reading only: the file, that it is damaged, and that a backup restores it.
std::string damagedRefusal(std::string_view fileName);

// What a database file is, from its first bytes and its size.
enum class DatabaseFileKind {
    Empty,         // no bytes at all
    Sqlite,        // begins with the SQLite header
    DamagedSqlite, // the header is gone but the pages after it are SQLite's
    Access,        // a Jet or ACE (Microsoft Access) database
    NotADatabase,  // anything else
};
// `head` holds the file's first bytes (up to HeadBytes, fewer for a small
// file); `size` is the whole file's size.
DatabaseFileKind kindOfDatabaseFile(std::string_view head, std::uint64_t size);
inline constexpr std::size_t DatabaseHeadBytes = 65536 + 16;

// What the user reads about a file that is not one of ours, after the file's
// name (for all kinds but Sqlite and DamagedSqlite).
std::string foreignFileText(DatabaseFileKind kind);

// What a table lacks of the columns a module needs: "没有表 data", or
// "表 data 缺少列 金额,备注"; empty when it has them all. `present` holds
// the table's columns, empty when there is no such table.
std::string missingColumnsText(std::string_view table, const std::vector<std::string>& present,
                               const std::vector<std::string>& required);

// The last component of a path, either separator.
std::string fileNameOf(std::string_view path);

// The value of "Data Source" in a connection string such as
// Provider=...;Password="";Data Source=C:\x\database\a.mdb;Persist Security Info=True
// Backslashes become the platform's separator. Empty when there is none.
std::string dataSourceOf(const std::string& connectionString);

// The statement SQLite runs for a statement text the program sends. The
// program's Jet form "delete from (data)" becomes "delete from data", and a
// quoted text holding NUL characters is spelled so that SQLite reads all of
// it (see literalsWithNul); everything else passes unchanged.
//
// For the server (SqlDialect::Postgres) the forms that differ are spelled
// its way: the Jet delete as above; "from (data)" of a select becomes
// "from data"; like becomes ilike with no escape character, since SQLite's
// like ignores the case of ASCII letters and has no escape character unless
// asked. A quoted text holding a NUL is refused: the server stores none.
enum class SqlDialect { Sqlite, Postgres };
std::string translateStatement(const std::string& sql, SqlDialect dialect = SqlDialect::Sqlite);

// True for a connection string that names a PostgreSQL server (a libpq URI,
// postgresql:// or postgres://).
bool isServerConnectionString(std::string_view connectionString);

// The column definitions that differ: a key numbered by the database, and
// the local date and time in the regional form 2026-12-9 4:05:07.
std::string keyColumnDefinition(SqlDialect dialect);
std::string localNowExpression(SqlDialect dialect);

// SQLite's reading of a statement ends at a NUL character, even inside a
// quoted text. Each quoted text that holds one becomes a concatenation that
// spells it with char(0): 'a<NUL>b' becomes ('a'||char(0)||'b'), the same
// text with the same length. Texts without NUL and everything outside quotes
// stay as they are.
std::string literalsWithNul(std::string_view sql);

// Doubles every single quote, so that a text placed between quotes in a
// statement stays one literal.
std::string quoteDoubled(std::string_view text);

class ServerLink;

class AdoConnection {
public:
    AdoConnection();
    ~AdoConnection();
    AdoConnection(const AdoConnection&) = delete;
    AdoConnection& operator=(const AdoConnection&) = delete;

    void setConnectionString(const std::string& connectionString);
    const std::string& connectionString() const { return mConnectionString; }

    // The table and columns the database must have; open() refuses a file
    // without them. None by default.
    void setRequiredColumns(std::string table, std::vector<std::string> columns);

    // On a server: the schema the connection works in, and the statement that
    // makes its table when it is missing (made on the first connection that
    // finds it missing, never again). Without a schema, statements name
    // schemas themselves and nothing is made.
    void setServerSchema(std::string schema, std::string createTable);

    // The connection string names a server rather than a file.
    bool isServer() const { return isServerConnectionString(mConnectionString); }
    SqlDialect dialect() const { return isServer() ? SqlDialect::Postgres : SqlDialect::Sqlite; }

    // Opens the database named by Data Source. Never creates a file and
    // never writes into one that is not ours: a missing, busy, foreign or
    // unreadable database throws AdoError and leaves the connection closed. The file is checked
    // first (quick_check); a damaged file whose schema still reads is opened for reading only and
    // marked damaged(), so what can be read is still shown and nothing is written.
    void open();
    void close();
    // A server connection that broke is no longer connected.
    bool connected() const;

    // Opens the connection when it is closed and a connection string is set,
    // so a database that was busy or missing earlier connects once it is
    // back. Throws as open() does; without a connection string, that the
    // connection is not open.
    void ensureOpen();

    // The open database was found damaged and is read-only. Every change is
    // refused with damageMessage(): damagedRefusal() and the check's finding.
    bool damaged() const { return mDamaged; }
    std::string damageMessage() const;
    // The database's file name, for messages; on a server, the server, its
    // database and the schema.
    std::string fileName() const;

    // Sends rows to a COPY ... FROM STDIN statement on the server (see
    // ServerLink::copyIn).
    void copyIn(const std::string& copyStatement, const std::function<bool(std::string&)>& chunk);

    // Milliseconds opening waits for a file that another program holds: a
    // start-up with every database locked must not stand still.
    static constexpr int OpenBusyTimeoutMs = 100;
    // Milliseconds a statement waits for a lock held by another connection
    // before it fails.
    static constexpr int BusyTimeoutMs = 2000;

    sqlite3* handle() const { return mDb; }
    // The server connection, opened when needed; a broken one is replaced
    // first.
    ServerLink& server();

private:
    friend class AdoQuery;
    void checkRequiredColumns(sqlite3* db) const;
    void openServer();
    // Runs `work` on the server connection. A connection found broken is
    // replaced and `work` tried once more when it only reads, or when nothing
    // of it reached the server (ServerLink::NotSent).
    template <typename Work> auto onServer(Work&& work, bool reads);

    std::string mConnectionString;
    std::string mRequiredTable;
    std::vector<std::string> mRequiredColumns;
    std::string mSchema;
    std::string mCreateTable;
    sqlite3* mDb = nullptr;
    std::unique_ptr<ServerLink> mServer;
    bool mDamaged = false;
    std::string mDamageDetail;
};

// How a column's values are meant, from its declared type.
enum class FieldKind { Integer, Float, Text, DateTime };

// A whole result held in memory: field names and kinds, and every cell as
// UTF-8 text. The texts lie in chunks that are never moved once written: a
// row's cells one after another in one chunk, each chunk twice the size of
// the one before up to a limit. A million rows are read without ever copying
// what was read, and hold little beyond their text. Null cells are empty and
// flagged.
class AdoResult {
public:
    int rowCount() const { return mRows; }
    int fieldCount() const { return static_cast<int>(mNames.size()); }
    const std::vector<std::string>& fieldNames() const { return mNames; }
    FieldKind fieldKind(int field) const { return mKinds[field]; }
    int fieldIndex(std::string_view name) const; // -1 when absent

    std::string_view cell(int row, int field) const;
    bool isNull(int row, int field) const;

    // Bytes the result holds, for measuring.
    std::size_t memoryUsed() const;

private:
    friend class AdoQuery;
    // Adds a row of `fieldCount()` cells; a null text is a null cell.
    void appendRow(const char* const* texts, const std::size_t* sizes);
    void removeRow(int row);
    // The chunk that holds a row.
    std::size_t chunkOf(int row) const;
    // Where a cell's header lies in its row's chunk.
    std::size_t cellHeader(int row, int field) const;

    // Each row is one record in a chunk: for every cell a header (a varint
    // of the text's byte count times two, plus one for a null cell) followed
    // by the text. A million rows of six short cells take the texts and
    // about eleven bytes a row beside them.
    std::vector<std::string> mNames;
    std::vector<FieldKind> mKinds;
    std::vector<std::string> mChunks;      // filled up to their reserved size, never beyond
    std::vector<int> mChunkFirstRow;       // the first row of each chunk
    std::vector<std::uint32_t> mRowOffset; // where each row's record begins in its chunk
    std::string mRowBuffer;                // the row being appended
    std::vector<std::string> mSpareChunks; // memory of a closed result, the last first
    int mRows = 0;
};

class AdoQuery {
public:
    explicit AdoQuery(AdoConnection& connection) : mConnection(connection) {}

    // Replacing the text always closes the open result.
    void setSql(const std::string& sql);
    const std::string& sql() const { return mSql; }

    // Runs the text as a query and reads the whole result; the cursor
    // stands on the first row (or eof when there is none).
    void open();
    void close();
    bool active() const { return mActive; }

    // Runs the text as a statement; no rows come back. Returns the number of
    // rows the statement inserted, changed or deleted.
    int execSql();

    // Runs the text as a query and hands each row's fields (as text, a null
    // one empty) to `row` as it is read, without holding the result: one pass
    // over rows that need not stay. The open result is left as it is.
    void scan(const std::function<void(const std::vector<std::string_view>& fields)>& row);

    const AdoResult& result() const { return mResult; }
    int recordCount() const { return mActive ? mResult.rowCount() : 0; }
    int fieldCount() const { return mActive ? mResult.fieldCount() : 0; }

    // Cursor. recNo() is the 0-based row the cursor stands on; eof() is true
    // past the last row (and on an empty result), bof() before the first.
    int recNo() const { return mRow; }
    bool eof() const { return mEof; }
    bool bof() const { return mBof; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);

    // Fields of the current row, as text. Throws when there is no current row.
    std::string_view field(int index) const;
    std::string_view fieldByName(std::string_view name) const;

    // Removes the current row from its table, by its key 编号, and from the
    // result. Returns the number of rows deleted from the table: 0 when the
    // row was gone already (deleted by another connection). Throws when there
    // is no current row.
    int deleteCurrent();

    // Told whenever the result (opened, closed, a row removed) or the cursor
    // changes, so a grid can follow.
    enum class Change { Result, Cursor };
    void setListener(std::function<void(Change)> listener) { mListener = std::move(listener); }

    // While controls are disabled the listener hears nothing; enabling them
    // again tells it once what changed meanwhile. Long walks over a result
    // use this so the grid does not follow every step.
    void disableControls() { ++mControlsDisabled; }
    void enableControls();

private:
    void requireConnection() const;
    // Makes `result` the open result, the cursor on its first row.
    // A result to read into, with the memory of the last closed one.
    AdoResult newResult();
    void takeResult(AdoResult&& result);
    void requireWritable() const;
    void requireCurrentRow() const;
    void notify(Change change);

    AdoConnection& mConnection;
    std::string mSql;
    AdoResult mResult;
    std::vector<std::string> mSpareChunks; // the rows' memory of the last closed result
    std::vector<std::uint32_t> mSpareOffsets;
    bool mActive = false;
    int mRow = -1;
    bool mEof = true;
    bool mBof = true;
    std::function<void(Change)> mListener;
    int mControlsDisabled = 0;
    bool mPendingResult = false;
    bool mPendingCursor = false;
};

} // namespace platform
