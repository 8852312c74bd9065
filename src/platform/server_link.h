#pragma once

// One connection to the books on a PostgreSQL server, through libpq: the
// part of the data layer that speaks to the server. The connection works in
// one schema (a module's), makes that schema and its table when they are
// missing, and runs single statements with their texts in and out, as the
// SQLite side does. Free of Qt.

#include "platform/ado.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct pg_conn;

namespace platform {

// Where the books are, for messages: host (or socket folder) and database of
// a libpq connection URI, never its password.
// 数据库服务器 192.168.1.10 上的数据库 marvanto
std::string serverDisplayName(const std::string& uri);

// True when the URI (or its query) carries a password.
bool uriHasPassword(const std::string& uri);

// The time zone the server is to use for this computer's local time: TZ
// when it is set, else the zone /etc/localtime names; empty when unknown.
std::string localTimeZoneName();

// The text form COPY reads of one field: backslash, tab, newline and
// carriage return escaped; \N for null. Throws AdoError for a text that
// holds a NUL, which the server cannot store.
void appendCopyField(std::string& line, const char* text, std::size_t size);

class ServerLink {
public:
    // Connects and makes the schema ready: when `schema` is set, the
    // connection's statements see it alone, and `createTable` makes its
    // table when that is missing. `requiredColumns` must then be there.
    // Throws AdoError (Unreachable) naming the server when it cannot connect.
    ServerLink(const std::string& uri, const std::string& schema, const std::string& createTable,
               const std::vector<std::string>& requiredColumns);
    ~ServerLink();
    ServerLink(const ServerLink&) = delete;
    ServerLink& operator=(const ServerLink&) = delete;

    // False once the connection broke; the owner then opens a new one.
    bool alive() const;
    // Whether the last query or statement ran inside a transaction that the
    // caller began: one that broke then cannot be run again elsewhere.
    bool ranInTransaction() const { return mInTransaction; }

    using FieldsHandler =
        std::function<void(const std::vector<std::string>& names, const std::vector<FieldKind>&)>;
    using RowHandler = std::function<void(const char* const* texts, const std::size_t* sizes)>;
    // Runs one query and hands over its fields, then each row.
    void query(const std::string& sql, const FieldsHandler& fields, const RowHandler& row);

    // Runs one statement with its text parameters ($1, ...) and returns the
    // rows it touched. Outside a transaction the statement runs in one of its
    // own, and a connection lost before the reply is checked on a new
    // connection: the statement either took effect once (the count returns)
    // or throws, never runs twice. A connection found broken before anything
    // of the statement was sent throws NotSent, which may be retried.
    int execute(const std::string& sql, const std::vector<std::string>& params = {});

    // Sends the rows `chunk` fills (COPY text lines, a chunk at a time, false
    // when there are no more) to a COPY ... FROM STDIN statement.
    void copyIn(const std::string& copyStatement, const std::function<bool(std::string&)>& chunk);

    // Nothing of the statement reached the server.
    class NotSent : public AdoError {
    public:
        using AdoError::AdoError;
    };

private:
    [[noreturn]] void fail() const;
    void prepareSchema(const std::string& schema, const std::string& createTable,
                       const std::vector<std::string>& requiredColumns);
    // Whether the transaction with this id committed, asked on a new connection.
    bool committedElsewhere(const std::string& transactionId) const;

    std::string mUri;
    pg_conn* mConn = nullptr;
    bool mInTransaction = false;
};

} // namespace platform
