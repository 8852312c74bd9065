#include "platform/ado.h"

#include <algorithm>
#include <sqlite3.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using platform::AdoConnection;
using platform::AdoError;
using platform::AdoQuery;

namespace {

class AdoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mDir.isValid());
        mPath = mDir.filePath(QStringLiteral("test.mdb")).toStdString();
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(mPath.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db,
                               "create table data (编号 integer primary key autoincrement, "
                               "标题 text, 时间 text)",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
        mConnection.setConnectionString(
            "Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=" + mPath +
            ";Persist Security Info=True");
        mConnection.open();
    }

    void exec(const std::string& sql) {
        AdoQuery query(mConnection);
        query.setSql(sql);
        query.execSql();
    }

    QTemporaryDir mDir;
    std::string mPath;
    AdoConnection mConnection;
};

// Opening refuses the file as one that is not the program's, with this message.
void expectForeign(AdoConnection& connection, const std::string& message) {
    try {
        connection.open();
        ADD_FAILURE() << "a foreign file opened";
    } catch (const AdoError& error) {
        EXPECT_EQ(error.fault(), platform::DatabaseFault::Foreign);
        EXPECT_EQ(std::string(error.what()), message);
    }
}

} // namespace

TEST(AdoConnectionString, DataSourceIsFoundWhateverItsCaseAndPlace) {
    EXPECT_EQ(platform::dataSourceOf("Provider=X;Password=\"\";Data Source=/a/b.mdb;Persist "
                                     "Security Info=True"),
              "/a/b.mdb");
    EXPECT_EQ(platform::dataSourceOf("data source = /x y/z.mdb "), "/x y/z.mdb");
    EXPECT_EQ(platform::dataSourceOf("Provider=X"), "");
#ifndef _WIN32
    EXPECT_EQ(platform::dataSourceOf("Data Source=/app/database\\销售记录.mdb"),
              "/app/database/销售记录.mdb");
#endif
}

TEST(AdoStatements, JetDeleteFormIsTranslatedAndNothingElse) {
    EXPECT_EQ(platform::translateStatement("delete from (data)"), "delete from data");
    EXPECT_EQ(platform::translateStatement("  DELETE  FROM ( data ) ;"), "delete from data");
    EXPECT_EQ(platform::translateStatement("select * from (data)"), "select * from (data)");
    EXPECT_EQ(platform::translateStatement("delete from data where 编号=1"),
              "delete from data where 编号=1");
    EXPECT_EQ(platform::quoteDoubled("it's ''x"), "it''s ''''x");
}

TEST(AdoFaults, EachResultCodeSaysWhatHappenedToWhichFile) {
    using platform::DatabaseFault;
    using platform::faultOfResultCode;
    EXPECT_EQ(faultOfResultCode(SQLITE_CORRUPT), DatabaseFault::Damaged);
    EXPECT_EQ(faultOfResultCode(SQLITE_NOTADB), DatabaseFault::Damaged);
    EXPECT_EQ(faultOfResultCode(SQLITE_IOERR_SHORT_READ), DatabaseFault::Damaged);
    EXPECT_EQ(faultOfResultCode(SQLITE_BUSY_SNAPSHOT), DatabaseFault::Busy);
    EXPECT_EQ(faultOfResultCode(SQLITE_LOCKED), DatabaseFault::Busy);
    EXPECT_EQ(faultOfResultCode(SQLITE_READONLY_DBMOVED), DatabaseFault::Unwritable);
    EXPECT_EQ(faultOfResultCode(SQLITE_FULL), DatabaseFault::Unwritable);
    EXPECT_EQ(faultOfResultCode(SQLITE_IOERR_FSYNC), DatabaseFault::Unwritable);
    EXPECT_EQ(faultOfResultCode(SQLITE_CANTOPEN), DatabaseFault::Missing);
    EXPECT_EQ(faultOfResultCode(SQLITE_MISUSE), DatabaseFault::Other);
    EXPECT_EQ(
        platform::faultMessage(DatabaseFault::Unwritable, "备忘录.mdb", "database or disk is full"),
        "数据库文件\"备忘录.mdb\"无法写入(文件只读或磁盘已满): database or disk is full");
    EXPECT_EQ(platform::faultMessage(DatabaseFault::Missing, "a.mdb", ""),
              "数据库文件\"a.mdb\"不存在");
    EXPECT_EQ(platform::fileNameOf("C:\\x\\database\\a.mdb"), "a.mdb");
    EXPECT_EQ(platform::fileNameOf("/x/database/b.mdb"), "b.mdb");
}

TEST(AdoConnectionOpen, MissingOrDamagedDatabaseThrowsAndCreatesNothing) {
    QTemporaryDir dir;
    const std::string missing = dir.filePath(QStringLiteral("none.mdb")).toStdString();
    AdoConnection connection;
    connection.setConnectionString("Data Source=" + missing);
    EXPECT_THROW(connection.open(), AdoError);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(missing)));
    EXPECT_FALSE(connection.connected());

    const QString damaged = dir.filePath(QStringLiteral("damaged.mdb"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    connection.setConnectionString("Data Source=" + damaged.toStdString());
    expectForeign(connection,
                  "数据库文件\"damaged.mdb\"不能使用: 这不是数据库文件,本程序不能打开它。"
                  "请用 Marvanto 的数据库文件替换它");
}

TEST(AdoDatabaseFiles, KindFromTheFirstBytes) {
    using platform::DatabaseFileKind;
    using platform::kindOfDatabaseFile;
    using namespace std::string_literals;
    EXPECT_EQ(kindOfDatabaseFile("", 0), DatabaseFileKind::Empty);
    EXPECT_EQ(kindOfDatabaseFile("SQLite format 3\0"s + std::string(84, '\0'), 4096),
              DatabaseFileKind::Sqlite);
    EXPECT_EQ(kindOfDatabaseFile("\0\1\0\0Standard Jet DB\0"s + std::string(4000, 'j'), 1 << 20),
              DatabaseFileKind::Access);
    EXPECT_EQ(kindOfDatabaseFile("\0\1\0\0Standard ACE DB\0"s, 4096), DatabaseFileKind::Access);
    // Zeros, text, and a header-like start that is neither.
    EXPECT_EQ(kindOfDatabaseFile(std::string(platform::DatabaseHeadBytes, '\0'), 1u << 30),
              DatabaseFileKind::NotADatabase);
    EXPECT_EQ(kindOfDatabaseFile(std::string(8192, 'x'), 8192), DatabaseFileKind::NotADatabase);
    EXPECT_EQ(kindOfDatabaseFile("\0\1\0\0Standard Jot DB"s, 20), DatabaseFileKind::NotADatabase);

    // A first page overwritten, the second a table leaf of 4096 bytes.
    std::string pages(3 * 4096, '\0');
    std::fill(pages.begin(), pages.begin() + 4096, 'Z');
    pages[4096] = 13;
    pages[4096 + 5] = 0x0F; // cell content from 0x0FC0
    pages[4096 + 6] = static_cast<char>(0xC0);
    EXPECT_EQ(kindOfDatabaseFile(pages, pages.size()), DatabaseFileKind::DamagedSqlite);
    // The same bytes in a file that cannot hold whole pages of that size.
    EXPECT_EQ(kindOfDatabaseFile(pages, pages.size() + 100), DatabaseFileKind::NotADatabase);
    // A content area outside the page is no b-tree page.
    pages[4096 + 5] = 0x7F;
    EXPECT_EQ(kindOfDatabaseFile(pages, pages.size()), DatabaseFileKind::NotADatabase);
}

TEST(AdoDatabaseFiles, TableWithoutTheModulesColumnsIsRefusedUnchanged) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("销售记录.mdb"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "create table data (编号 integer primary key, 商品 text)", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    AdoConnection connection;
    connection.setConnectionString("Data Source=" + path.toStdString());
    connection.setRequiredColumns("data", {"编号", "商品", "金额", "出货人"});
    expectForeign(connection, "数据库文件\"销售记录.mdb\"不能使用: 表 data 缺少列 金额,出货人,"
                              "它不是本程序的这个数据库。请用 Marvanto 的数据库文件替换它");
    EXPECT_FALSE(connection.connected());
    connection.setRequiredColumns("sales", {"编号"});
    EXPECT_THROW(connection.open(), AdoError);
    connection.setRequiredColumns("data", {"编号", "商品"});
    connection.open();
    EXPECT_TRUE(connection.connected());
    connection.close();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
}

TEST(AdoStatements, QuotedTextsWithNulAreSpelledWithChar0) {
    using namespace std::string_literals;
    using platform::literalsWithNul;
    EXPECT_EQ(literalsWithNul("values ('a\0b','c')"s), "values (('a'||char(0)||'b'),'c')");
    EXPECT_EQ(literalsWithNul("set x='\0it''s\0' where k=1"s),
              "set x=(''||char(0)||'it''s'||char(0)||'') where k=1");
    EXPECT_EQ(literalsWithNul("values ('it''s','\0')"s), "values ('it''s',(''||char(0)||''))");
    // Outside quotes, and in an unterminated text, nothing changes.
    EXPECT_EQ(literalsWithNul("select 1\0"s), "select 1\0"s);
    EXPECT_EQ(literalsWithNul("values ('a\0"s), "values ('a\0"s);
}

TEST_F(AdoTest, ResultIsHeldWithCursorEofAndBof) {
    exec("insert into data (标题) values ('a')");
    exec("insert into data (标题) values ('b')");
    exec("insert into data (标题) values (null)");
    AdoQuery query(mConnection);
    query.setSql("select 编号, 标题 from data order by 编号");
    query.open();
    ASSERT_EQ(query.recordCount(), 3);
    EXPECT_EQ(query.result().fieldNames(), (std::vector<std::string>{"编号", "标题"}));
    EXPECT_FALSE(query.eof());
    EXPECT_EQ(query.fieldByName("标题"), "a");
    query.next();
    query.next();
    EXPECT_EQ(query.field(1), "");
    EXPECT_TRUE(query.result().isNull(2, 1));
    EXPECT_FALSE(query.eof());
    query.next(); // past the last row: eof, still on the last row
    EXPECT_TRUE(query.eof());
    EXPECT_EQ(query.recNo(), 2);
    query.first();
    query.prior();
    EXPECT_TRUE(query.bof());
    EXPECT_EQ(query.recNo(), 0);
    query.last();
    EXPECT_EQ(query.field(0), "3");

    // Replacing the text closes the result.
    query.setSql("select 1");
    EXPECT_FALSE(query.active());
    EXPECT_EQ(query.recordCount(), 0);
    EXPECT_THROW(query.field(0), AdoError);
}

TEST_F(AdoTest, EmptyResultHasNoCurrentRow) {
    AdoQuery query(mConnection);
    query.setSql("select * from data");
    query.open();
    EXPECT_TRUE(query.eof());
    EXPECT_THROW(query.field(0), AdoError);
    EXPECT_THROW(query.deleteCurrent(), AdoError);
}

TEST_F(AdoTest, DeleteCurrentRemovesOnlyThatRowByItsKey) {
    for (const char* title : {"a", "b", "c"})
        exec(std::string("insert into data (标题) values ('") + title + "')");
    AdoQuery query(mConnection);
    query.setSql("select 编号, 标题 from data order by 编号 desc");
    query.open();
    query.moveTo(1); // b
    query.deleteCurrent();
    EXPECT_EQ(query.recordCount(), 2);
    EXPECT_EQ(query.field(1), "a"); // the cursor moves on to the next row
    query.setSql("select 标题 from data order by 编号");
    query.open();
    ASSERT_EQ(query.recordCount(), 2);
    EXPECT_EQ(query.field(0), "a");
    query.next();
    EXPECT_EQ(query.field(0), "c");
}

// Enough rows to fill several chunks of the result, one row larger than any
// chunk, null cells; every cell reads back after rows are removed at the
// start, inside and at the end of a chunk.
TEST_F(AdoTest, LargeResultsReadBackCellByCellAfterRemovals) {
    exec("begin");
    for (int i = 0; i < 20000; ++i) {
        const std::string title =
            i == 7000 ? std::string(3 * 1024 * 1024, 'x') : "标题" + std::to_string(i);
        exec("insert into data (标题, 时间) values ('" + title + "', " +
             (i % 5 ? "'t" + std::to_string(i) + "'" : "null") + ")");
    }
    exec("commit");
    AdoQuery query(mConnection);
    query.setSql("select 编号, 标题, 时间 from data order by 编号");
    query.open();
    std::vector<int> keys(20000);
    for (int i = 0; i < 20000; ++i)
        keys[i] = i + 1;
    const auto expectRows = [&] {
        const platform::AdoResult& result = query.result();
        ASSERT_EQ(result.rowCount(), static_cast<int>(keys.size()));
        for (int row = 0; row < result.rowCount(); ++row) {
            const int i = keys[row] - 1;
            ASSERT_EQ(result.cell(row, 0), std::to_string(keys[row])) << row;
            ASSERT_EQ(result.cell(row, 1),
                      i == 7000 ? std::string(3 * 1024 * 1024, 'x') : "标题" + std::to_string(i))
                << row;
            ASSERT_EQ(result.isNull(row, 2), i % 5 == 0) << row;
            ASSERT_EQ(result.cell(row, 2), i % 5 ? "t" + std::to_string(i) : "") << row;
        }
    };
    expectRows();
    EXPECT_LT(query.result().memoryUsed(), 2 * 3 * 1024 * 1024 + 4 * 1024 * 1024);
    // The first row, the huge one, its neighbours, one in the middle, the last.
    for (const int row : {0, 6999, 6998, 6998, 12345, 19994}) {
        query.moveTo(row);
        query.deleteCurrent();
        keys.erase(keys.begin() + row);
        expectRows();
    }
    // A query opened again writes its rows into the memory of the rows it
    // held: a smaller result and then the whole list again read back whole.
    query.setSql("select 编号, 标题 from data where 编号 > 19990 order by 编号");
    query.open();
    const std::vector<int> last(std::upper_bound(keys.begin(), keys.end(), 19990), keys.end());
    ASSERT_EQ(query.recordCount(), static_cast<int>(last.size()));
    for (std::size_t row = 0; row < last.size(); ++row) {
        const int at = static_cast<int>(row);
        EXPECT_EQ(query.result().cell(at, 0), std::to_string(last[row]));
        EXPECT_EQ(query.result().cell(at, 1), "标题" + std::to_string(last[row] - 1));
    }
    query.close();
    query.setSql("select 编号, 标题, 时间 from data order by 编号");
    query.open();
    expectRows();
}

TEST_F(AdoTest, StatementsAndDeleteCountTheRowsTheyChanged) {
    AdoQuery statement(mConnection);
    for (const char* title : {"a", "b", "c"}) {
        statement.setSql(std::string("insert into data (标题) values ('") + title + "')");
        EXPECT_EQ(statement.execSql(), 1);
    }
    statement.setSql("update data set 标题='x' where 编号=2");
    EXPECT_EQ(statement.execSql(), 1);
    statement.setSql("update data set 标题='x' where 编号=99");
    EXPECT_EQ(statement.execSql(), 0);

    // A row deleted by another connection after the list was read: the
    // delete changes nothing in the table and says so.
    AdoQuery list(mConnection);
    list.setSql("select 编号, 标题 from data order by 编号");
    list.open();
    statement.setSql("delete from data where 编号=1");
    EXPECT_EQ(statement.execSql(), 1);
    EXPECT_EQ(list.deleteCurrent(), 0);
    EXPECT_EQ(list.recordCount(), 2);
    EXPECT_EQ(list.deleteCurrent(), 1);
    statement.setSql("delete from (data)");
    EXPECT_EQ(statement.execSql(), 1);
}

TEST_F(AdoTest, OneStatementAtATimeAndClearAllForm) {
    exec("insert into data (标题) values ('a')");
    AdoQuery query(mConnection);
    query.setSql("insert into data (标题) values ('b'); delete from data");
    EXPECT_THROW(query.execSql(), AdoError);
    query.setSql("select * from data");
    query.open();
    EXPECT_EQ(query.recordCount(), 1);
    query.setSql("delete from (data)");
    query.execSql();
    query.setSql("select * from (data)");
    query.open();
    EXPECT_EQ(query.recordCount(), 0);
    query.setSql("");
    EXPECT_THROW(query.execSql(), AdoError);
}

TEST_F(AdoTest, AFullDiskIsNamedAsAFileThatCannotBeWritten) {
    // The database may not grow: as a full disk looks to it.
    AdoQuery query(mConnection);
    query.setSql("pragma max_page_count=" +
                 std::to_string(QFileInfo(QString::fromStdString(mPath)).size() / 4096));
    query.open();
    query.setSql("insert into data (标题) values ('" + std::string(20000, 'x') + "')");
    try {
        query.execSql();
        FAIL() << "the database grew";
    } catch (const AdoError& error) {
        EXPECT_EQ(error.fault(), platform::DatabaseFault::Unwritable);
        EXPECT_EQ(std::string(error.what()),
                  "数据库文件\"test.mdb\"无法写入(文件只读或磁盘已满): database or disk is full");
    }
}

TEST_F(AdoTest, LockedDatabaseFailsAfterAShortWaitWithoutLosingData) {
    exec("insert into data (标题) values ('kept')");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(mPath.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    AdoQuery query(mConnection);
    query.setSql("insert into data (标题) values ('new')");
    const auto start = std::chrono::steady_clock::now();
    try {
        query.execSql();
        FAIL() << "wrote through an exclusive lock";
    } catch (const AdoError& error) {
        EXPECT_NE(std::string(error.what()).find("locked"), std::string::npos) << error.what();
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, std::chrono::seconds(5));
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    query.setSql("select 标题 from data");
    query.open();
    ASSERT_EQ(query.recordCount(), 1);
    EXPECT_EQ(query.field(0), "kept");
}

TEST_F(AdoTest, ListenerHearsOnceWhileControlsAreDisabled) {
    for (int i = 0; i < 5; ++i)
        exec("insert into data (标题) values ('x')");
    AdoQuery query(mConnection);
    int results = 0;
    int cursors = 0;
    query.setListener([&](AdoQuery::Change change) {
        (change == AdoQuery::Change::Result ? results : cursors)++;
    });
    query.setSql("select * from data");
    query.open();
    EXPECT_EQ(results, 1);
    query.disableControls();
    while (!query.eof())
        query.next();
    EXPECT_EQ(cursors, 0);
    query.enableControls();
    EXPECT_EQ(cursors, 1);
    EXPECT_TRUE(query.eof());
}
