#include "platform/server_link.h"

#include "platform/ascii_text.h"

#include <libpq-fe.h>

#include <cctype>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

namespace platform {

namespace {

// Seconds a connection attempt waits for a server that does not answer, so
// a window never stands still for the network's own timeout.
constexpr const char* ConnectTimeoutSeconds = "5";

struct ResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

struct ConninfoDeleter {
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

std::string optionOf(const PQconninfoOption* options, std::string_view keyword) {
    for (const PQconninfoOption* option = options; option && option->keyword; ++option) {
        if (keyword == option->keyword)
            return option->val ? option->val : "";
    }
    return {};
}

// The error text of libpq as one line: its hint lines ("\n\tIs the server
// running ...") and its trailing newline fold into single spaces, so that a
// message box shows it as one paragraph.
std::string errorText(const char* text) {
    std::string message;
    bool space = false;
    for (const char* c = text ? text : ""; *c; ++c) {
        if (*c == '\n' || *c == '\t' || *c == '\r' || *c == ' ') {
            space = !message.empty();
            continue;
        }
        if (space)
            message += ' ';
        space = false;
        message += *c;
    }
    return message;
}

// The error text with every spelling of the URI's password blanked out: a
// URI libpq cannot read is quoted in part in its message.
std::string withoutPassword(std::string detail, const std::string& uri) {
    std::vector<std::string> secrets;
    const auto scheme = uri.find("://");
    const auto at = uri.find('@');
    if (scheme != std::string::npos && at != std::string::npos && at > scheme) {
        const auto colon = uri.find(':', scheme + 3);
        if (colon != std::string::npos && colon < at)
            secrets.push_back(uri.substr(colon + 1, at - colon - 1));
    }
    for (auto key = uri.find("password="); key != std::string::npos;
         key = uri.find("password=", key + 1)) {
        const auto begin = key + 9;
        secrets.push_back(uri.substr(begin, uri.find('&', begin) - begin));
    }
    for (const std::string& secret : secrets) {
        if (secret.empty())
            continue;
        for (auto found = detail.find(secret); found != std::string::npos;
             found = detail.find(secret, found + 6))
            detail.replace(found, secret.size(), "******");
    }
    return detail;
}

FieldKind kindOfType(Oid type) {
    switch (type) {
    case 20: // int8
    case 21: // int2
    case 23: // int4
        return FieldKind::Integer;
    case 700:  // float4
    case 701:  // float8
    case 1700: // numeric
        return FieldKind::Float;
    case 1082: // date
    case 1083: // time
    case 1114: // timestamp
    case 1184: // timestamptz
        return FieldKind::DateTime;
    default:
        return FieldKind::Text;
    }
}

std::string quotedIdentifier(const std::string& name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

std::string quotedLiteral(const std::string& text) {
    return "'" + quoteDoubled(text) + "'";
}

// Whether a statement begins or ends a transaction itself, and so runs as
// it is rather than in a transaction of its own.
bool controlsTransaction(const std::string& sql) {
    const auto begin = sql.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return false;
    auto end = begin;
    while (end < sql.size() && std::isalpha(static_cast<unsigned char>(sql[end])))
        ++end;
    const std::string word = asciiLowered(std::string_view(sql).substr(begin, end - begin));
    return word == "begin" || word == "start" || word == "commit" || word == "rollback" ||
           word == "end" || word == "abort";
}

pg_conn* connectTo(const std::string& uri) {
    // Earlier keywords are defaults that the URI's own settings override.
    const char* keywords[] = {"connect_timeout", "client_encoding", "application_name", "dbname",
                              nullptr};
    const char* values[] = {ConnectTimeoutSeconds, "UTF8", "marvanto", uri.c_str(), nullptr};
    return PQconnectdbParams(keywords, values, 1);
}

} // namespace

std::string serverDisplayName(const std::string& uri) {
    char* error = nullptr;
    std::unique_ptr<PQconninfoOption, ConninfoDeleter> options(
        PQconninfoParse(uri.c_str(), &error));
    PQfreemem(error);
    std::string host = optionOf(options.get(), "host");
    if (host.empty())
        host = optionOf(options.get(), "hostaddr");
    if (host.empty())
        host = "localhost";
    std::string database = optionOf(options.get(), "dbname");
    if (database.empty())
        database = optionOf(options.get(), "user");
    if (database.empty())
        return "数据库服务器 " + host;
    return "数据库服务器 " + host + " 上的数据库 " + database;
}

bool uriHasPassword(const std::string& uri) {
    char* error = nullptr;
    std::unique_ptr<PQconninfoOption, ConninfoDeleter> options(
        PQconninfoParse(uri.c_str(), &error));
    PQfreemem(error);
    return !optionOf(options.get(), "password").empty();
}

std::string localTimeZoneName() {
    if (const char* tz = std::getenv("TZ"); tz && *tz)
        return tz[0] == ':' ? tz + 1 : tz;
    std::error_code error;
    const std::string path =
        std::filesystem::read_symlink("/etc/localtime", error).generic_string();
    if (error)
        return {};
    const std::string marker = "zoneinfo/";
    const auto at = path.find(marker);
    return at == std::string::npos ? std::string() : path.substr(at + marker.size());
}

void appendCopyField(std::string& line, const char* text, std::size_t size) {
    if (!text) {
        line += "\\N";
        return;
    }
    for (std::size_t i = 0; i < size; ++i) {
        switch (const char c = text[i]) {
        case '\0':
            throw AdoError("数据库服务器不能保存含有空字符(NUL)的文字");
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        default:
            line += c;
        }
    }
}

ServerLink::ServerLink(const std::string& uri, const std::string& schema,
                       const std::string& createTable,
                       const std::vector<std::string>& requiredColumns)
    : mUri(uri), mConn(connectTo(uri)) {
    if (PQstatus(mConn) != CONNECTION_OK) {
        const std::string detail = withoutPassword(errorText(PQerrorMessage(mConn)), uri);
        PQfinish(mConn);
        mConn = nullptr;
        throw AdoError("无法连接" + serverDisplayName(uri) +
                           ",请检查服务器是否开着,网络和登录设置是否正确: " + detail,
                       DatabaseFault::Unreachable);
    }
    try {
        // Backslashes in quoted texts are plain characters, as in SQLite;
        // the server's default time is this computer's local time.
        std::string setup = "set standard_conforming_strings = on";
        if (const std::string zone = localTimeZoneName(); !zone.empty())
            setup += "; set timezone = " + quotedLiteral(zone);
        Result result(PQexec(mConn, setup.c_str()));
        if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
            // An unknown zone name leaves the server's own zone.
            Result plain(PQexec(mConn, "set standard_conforming_strings = on"));
            if (PQresultStatus(plain.get()) != PGRES_COMMAND_OK)
                fail();
        }
        if (!schema.empty())
            prepareSchema(schema, createTable, requiredColumns);
    } catch (...) {
        PQfinish(mConn);
        mConn = nullptr;
        throw;
    }
}

ServerLink::~ServerLink() {
    if (mConn)
        PQfinish(mConn);
}

bool ServerLink::alive() const {
    return mConn && PQstatus(mConn) == CONNECTION_OK;
}

void ServerLink::fail() const {
    const std::string detail = errorText(PQerrorMessage(mConn));
    if (!alive())
        throw AdoError("与" + serverDisplayName(mUri) + "的连接中断了: " + detail,
                       DatabaseFault::Unreachable);
    throw AdoError(serverDisplayName(mUri) + "执行出错: " + detail, DatabaseFault::Other);
}

void ServerLink::prepareSchema(const std::string& schema, const std::string& createTable,
                               const std::vector<std::string>& requiredColumns) {
    const std::string path = "set search_path to " + quotedIdentifier(schema);
    Result set(PQexec(mConn, path.c_str()));
    if (PQresultStatus(set.get()) != PGRES_COMMAND_OK)
        fail();
    const auto columnsOfData = [this, &schema] {
        const char* params[] = {schema.c_str()};
        Result result(PQexecParams(mConn,
                                   "select column_name from information_schema.columns "
                                   "where table_schema = $1 and table_name = 'data'",
                                   1, nullptr, params, nullptr, nullptr, 0));
        if (PQresultStatus(result.get()) != PGRES_TUPLES_OK)
            fail();
        std::vector<std::string> present;
        for (int row = 0; row < PQntuples(result.get()); ++row)
            present.emplace_back(PQgetvalue(result.get(), row, 0));
        return present;
    };
    std::vector<std::string> present = columnsOfData();
    if (present.empty()) {
        // Two programs starting at once make the schema once: the second
        // waits for the first's lock and then finds the table there.
        const std::string make =
            "begin; select pg_advisory_xact_lock(hashtext('marvanto schema')); "
            "create schema if not exists " +
            quotedIdentifier(schema) + "; set local search_path to " + quotedIdentifier(schema) +
            "; select count(*) from information_schema.tables where table_schema = " +
            quotedLiteral(schema) + " and table_name = 'data'";
        Result locked(PQexec(mConn, make.c_str()));
        if (PQresultStatus(locked.get()) != PGRES_TUPLES_OK) {
            Result rollback(PQexec(mConn, "rollback"));
            fail();
        }
        const bool made = std::string(PQgetvalue(locked.get(), 0, 0)) != "0";
        const std::string finish = made ? "commit" : createTable + "; commit";
        Result done(PQexec(mConn, finish.c_str()));
        if (PQresultStatus(done.get()) != PGRES_COMMAND_OK) {
            Result rollback(PQexec(mConn, "rollback"));
            fail();
        }
        present = columnsOfData();
    }
    const std::string missing = missingColumnsText("data", present, requiredColumns);
    if (!missing.empty())
        throw AdoError(serverDisplayName(mUri) + "中的" + schema + "不能使用: " + missing,
                       DatabaseFault::Foreign);
}

void ServerLink::query(const std::string& sql, const FieldsHandler& fields, const RowHandler& row) {
    mInTransaction = PQtransactionStatus(mConn) != PQTRANS_IDLE;
    Result result(PQexecParams(mConn, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0));
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK)
        fail();
    const int columns = PQnfields(result.get());
    if (columns == 0)
        throw AdoError("the query returns no fields");
    std::vector<std::string> names;
    std::vector<FieldKind> kinds;
    for (int c = 0; c < columns; ++c) {
        names.emplace_back(PQfname(result.get(), c));
        kinds.push_back(kindOfType(PQftype(result.get(), c)));
    }
    fields(names, kinds);
    std::vector<const char*> texts(static_cast<std::size_t>(columns));
    std::vector<std::size_t> sizes(static_cast<std::size_t>(columns));
    const int rows = PQntuples(result.get());
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const bool null = PQgetisnull(result.get(), r, c);
            texts[c] = null ? nullptr : PQgetvalue(result.get(), r, c);
            sizes[c] = null ? 0 : static_cast<std::size_t>(PQgetlength(result.get(), r, c));
        }
        row(texts.data(), sizes.data());
    }
}

bool ServerLink::committedElsewhere(const std::string& transactionId) const {
    // A transaction whose connection just broke may still be finishing on
    // the server; its outcome is asked a few times.
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::unique_ptr<pg_conn, void (*)(pg_conn*)> other(connectTo(mUri), PQfinish);
        if (PQstatus(other.get()) == CONNECTION_OK) {
            const char* params[] = {transactionId.c_str()};
            Result result(PQexecParams(other.get(), "select txid_status($1::bigint)", 1, nullptr,
                                       params, nullptr, nullptr, 0));
            if (PQresultStatus(result.get()) == PGRES_TUPLES_OK &&
                !PQgetisnull(result.get(), 0, 0)) {
                const std::string status = PQgetvalue(result.get(), 0, 0);
                if (status != "in progress")
                    return status == "committed";
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    throw AdoError("与" + serverDisplayName(mUri) +
                       "的连接中断了,不能确定这次的修改是否已保存;请在连接恢复后刷新查看",
                   DatabaseFault::Unreachable);
}

int ServerLink::execute(const std::string& sql, const std::vector<std::string>& params) {
    std::vector<const char*> values;
    for (const std::string& param : params)
        values.push_back(param.c_str());
    const auto run = [&] {
        return Result(PQexecParams(mConn, sql.c_str(), static_cast<int>(values.size()), nullptr,
                                   values.data(), nullptr, nullptr, 0));
    };
    const auto changed = [](const PGresult* result) {
        const char* count = PQcmdTuples(const_cast<PGresult*>(result));
        return count && *count ? std::atoi(count) : 0;
    };
    mInTransaction = PQtransactionStatus(mConn) != PQTRANS_IDLE;
    if (mInTransaction || controlsTransaction(sql)) {
        // Inside the caller's own transaction, which decides.
        Result result = run();
        const ExecStatusType status = PQresultStatus(result.get());
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            fail();
        return changed(result.get());
    }
    Result begun(PQexec(mConn, "begin; select txid_current()"));
    if (PQresultStatus(begun.get()) != PGRES_TUPLES_OK) {
        if (!alive())
            throw NotSent("与" + serverDisplayName(mUri) +
                              "的连接中断了: " + errorText(PQerrorMessage(mConn)),
                          DatabaseFault::Unreachable);
        Result rollback(PQexec(mConn, "rollback"));
        fail();
    }
    const std::string transactionId = PQgetvalue(begun.get(), 0, 0);
    Result result = run();
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        // A broken connection takes its open transaction with it: nothing
        // of the statement stays.
        const std::string detail = errorText(PQerrorMessage(mConn));
        if (alive()) {
            Result rollback(PQexec(mConn, "rollback"));
            throw AdoError(serverDisplayName(mUri) + "执行出错: " + detail, DatabaseFault::Other);
        }
        throw AdoError("与" + serverDisplayName(mUri) +
                           "的连接中断了,这次的修改没有保存: " + detail,
                       DatabaseFault::Unreachable);
    }
    const int count = changed(result.get());
    Result committed(PQexec(mConn, "commit"));
    if (PQresultStatus(committed.get()) == PGRES_COMMAND_OK)
        return count;
    if (alive())
        fail();
    // The commit was sent, its answer lost: the server knows what became of it.
    if (committedElsewhere(transactionId))
        return count;
    throw AdoError("与" + serverDisplayName(mUri) + "的连接中断了,这次的修改没有保存",
                   DatabaseFault::Unreachable);
}

void ServerLink::copyIn(const std::string& copyStatement,
                        const std::function<bool(std::string&)>& chunk) {
    Result started(PQexec(mConn, copyStatement.c_str()));
    if (PQresultStatus(started.get()) != PGRES_COPY_IN)
        fail();
    std::string data;
    try {
        while (true) {
            data.clear();
            const bool more = chunk(data);
            if (!data.empty() &&
                PQputCopyData(mConn, data.data(), static_cast<int>(data.size())) != 1)
                fail();
            if (!more)
                break;
        }
    } catch (const std::exception& error) {
        PQputCopyEnd(mConn, error.what());
        Result ended(PQgetResult(mConn));
        while (Result rest{PQgetResult(mConn)}) {
        }
        throw;
    }
    if (PQputCopyEnd(mConn, nullptr) != 1)
        fail();
    Result ended(PQgetResult(mConn));
    const bool ok = PQresultStatus(ended.get()) == PGRES_COMMAND_OK;
    while (Result rest{PQgetResult(mConn)}) {
    }
    if (!ok)
        fail();
}

} // namespace platform
