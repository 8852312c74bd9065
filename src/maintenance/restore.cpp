#include "maintenance/restore.h"

#include "maintenance/backup.h"
#include "platform/ado.h"
#include "platform/message_box.h"
#include "platform/server_conf.h"
#include "platform/server_link.h"
#include "records/module_storage.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <memory>

namespace maintenance {

namespace {

// Milliseconds the restore waits for another program's lock on a current
// database before it gives up on that database.
constexpr int RestoreBusyMs = 1000;

struct Database {
    sqlite3* db = nullptr;
    Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database() { sqlite3_close(db); }
};

// Read-only and immutable: no lock, no journal, nothing written beside the
// file, which is what a folder on read-only media needs.
bool openBackupFile(Database& database, const QString& path) {
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded() + "?mode=ro&immutable=1";
    return sqlite3_open_v2(uri.constData(), &database.db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                           nullptr) == SQLITE_OK;
}

QStringList columnValues(sqlite3* db, const char* sql, int column) {
    QStringList values;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return {QString()};
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        values << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE)
        values << QString();
    return values;
}

bool nonEmptyFile(const QString& path) {
    const QFileInfo file(path);
    return file.exists() && file.size() > 0;
}

int onlineBackup(sqlite3* from, sqlite3* to) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        return sqlite3_errcode(to);
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    return stepped == SQLITE_DONE ? finished : stepped;
}

QString reasonText(int code) {
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("数据库正被其他程序使用");
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        return QStringLiteral("数据库不能写入");
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满");
    default:
        return QStringLiteral("数据库出错");
    }
}

QString joined(const QStringList& files) {
    return files.join(QStringLiteral("、"));
}

// The backup before a restore. Files the backup could not copy are kept as
// raw bytes beside it, so nothing of the current state is lost; false (and
// nothing may be restored) when even that fails.
bool backUpCurrentDatabases(const QString& clockText) {
    const QString nothingRestored = QStringLiteral("没有恢复任何数据库。");
    BackupResult result;
    try {
        // No second of standing still here: the button's backup waits it, the
        // restore only needs its copies.
        result = backupDatabases(clockText, AutomaticBackupNote, 0);
    } catch (const std::exception& error) {
        platform::showErrorBox(error);
        platform::showMessage(QStringLiteral("恢复前的自动备份失败,") + nothingRestored);
        return false;
    }
    if (result.folder.isEmpty()) {
        platform::showMessage(QStringLiteral("恢复前的自动备份失败,") + nothingRestored);
        return false;
    }
    // On a server every module must be in the backup: there is no file to
    // keep as raw bytes.
    if (!result.failed.isEmpty() && !platform::serverUrl().empty()) {
        platform::showMessage(
            QStringLiteral("恢复前的自动备份没能保存%1,").arg(joined(result.failed)) +
            nothingRestored);
        return false;
    }
    for (const QString& fileName : result.failed) {
        const QString current = records::databasePath(fileName);
        if (!QFileInfo::exists(current))
            continue; // nothing there to keep
        const QString copy = result.folder + QLatin1Char('/') + fileName;
        const QString raw = copy + QStringLiteral(".damaged");
        if (!QFileInfo::exists(copy) && (QFileInfo::exists(raw) || QFile::copy(current, raw)))
            continue;
        platform::showMessage(QStringLiteral("恢复前的自动备份没能保存%1,").arg(fileName) +
                              nothingRestored);
        return false;
    }
    return true;
}

QString summary(const BackupEntry& backup, const QStringList& restored) {
    QString text = QStringLiteral("已恢复 %1 的备份(%2个数据库)。")
                       .arg(backup.label(), QString::number(restored.size()));
    QStringList lacking;
    for (const QString& fileName : backupOrder()) {
        if (!backup.databases.contains(fileName))
            lacking << fileName;
    }
    if (!lacking.isEmpty())
        text += QStringLiteral("备份中没有%1,保持原样。").arg(joined(lacking));
    return text;
}

QString partialSummary(const BackupEntry& backup, const QStringList& restored,
                       const QStringList& left) {
    const QString notRestored = QStringLiteral("%1没有恢复。").arg(joined(left));
    if (restored.isEmpty())
        return QStringLiteral("没有恢复任何数据库。") + notRestored;
    return QStringLiteral("只恢复了 %1 的备份中的%2个数据库:%3。")
               .arg(backup.label(), QString::number(restored.size()), joined(restored)) +
           notRestored;
}

} // namespace

QString backupDatabaseProblem(const QString& path, const QStringList& columns) {
    if (!QFileInfo(path).isFile())
        return QStringLiteral("不存在");
    // A journal or log beside a copy means it was never finished.
    if (nonEmptyFile(path + QStringLiteral("-journal")) ||
        nonEmptyFile(path + QStringLiteral("-wal")))
        return QStringLiteral("没有写完");
    Database backup;
    if (!openBackupFile(backup, path))
        return QStringLiteral("无法打开");
    if (columnValues(backup.db, "pragma integrity_check", 0) != QStringList{QStringLiteral("ok")})
        return QStringLiteral("已损坏");
    const QStringList present = columnValues(backup.db, "pragma table_info(data)", 1);
    if (present.isEmpty())
        return QStringLiteral("没有表data");
    for (const QString& column : columns) {
        if (!present.contains(column))
            return QStringLiteral("缺少列%1").arg(column);
    }
    return {};
}

void restoreDatabase(const QString& backupFile, const QString& currentFile) {
    const QString name = QFileInfo(currentFile).fileName();
    Database from;
    if (!openBackupFile(from, backupFile))
        throw RestoreError(QStringLiteral("无法读取备份中的%1").arg(name).toStdString());
    Database to;
    int rc = sqlite3_open_v2(currentFile.toUtf8().constData(), &to.db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(to.db, RestoreBusyMs);
        // Once the restore says done, a power cut does not take it back.
        sqlite3_exec(to.db, "PRAGMA synchronous=EXTRA", nullptr, nullptr, nullptr);
        rc = onlineBackup(from.db, to.db);
        if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT) {
            // The current file is beyond reading; SQLite empties it in place
            // (its open connections keep the same file) and the copy goes in.
            sqlite3_db_config(to.db, SQLITE_DBCONFIG_RESET_DATABASE, 1, static_cast<int*>(nullptr));
            sqlite3_exec(to.db, "VACUUM", nullptr, nullptr, nullptr);
            sqlite3_db_config(to.db, SQLITE_DBCONFIG_RESET_DATABASE, 0, static_cast<int*>(nullptr));
            rc = onlineBackup(from.db, to.db);
        }
    }
    if (rc != SQLITE_OK)
        throw RestoreError(
            QStringLiteral("无法恢复%1:%2(%3)")
                .arg(name, reasonText(rc),
                     QString::fromUtf8(to.db ? sqlite3_errmsg(to.db) : sqlite3_errstr(rc)))
                .toStdString());
}

void restoreDatabaseToServer(const QString& backupFile, const QString& fileName) {
    const records::ModuleTable* table = records::moduleTable(fileName);
    Database from;
    if (!table || !openBackupFile(from, backupFile))
        throw RestoreError(QStringLiteral("无法读取备份中的%1").arg(fileName).toStdString());
    const QString columns = table->columns.join(QLatin1Char(','));
    const std::string select =
        QStringLiteral("select %1 from data order by 编号").arg(columns).toStdString();
    sqlite3_stmt* rows = nullptr;
    if (sqlite3_prepare_v2(from.db, select.c_str(), -1, &rows, nullptr) != SQLITE_OK) {
        sqlite3_finalize(rows);
        throw RestoreError(QStringLiteral("无法读取备份中的%1").arg(fileName).toStdString());
    }
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> finalize(rows, sqlite3_finalize);
    const int fields = static_cast<int>(table->columns.size());
    // The rows go to the server a chunk at a time in COPY's text form.
    const auto chunk = [&](std::string& data) {
        int rc = SQLITE_ROW;
        while (data.size() < 256 * 1024 && (rc = sqlite3_step(rows)) == SQLITE_ROW) {
            for (int field = 0; field < fields; ++field) {
                if (field > 0)
                    data += '\t';
                platform::appendCopyField(
                    data, reinterpret_cast<const char*>(sqlite3_column_text(rows, field)),
                    static_cast<std::size_t>(sqlite3_column_bytes(rows, field)));
            }
            data += '\n';
        }
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw platform::AdoError(sqlite3_errmsg(from.db));
        return rc == SQLITE_ROW;
    };

    platform::AdoConnection connection;
    records::configureConnection(connection, fileName);
    platform::AdoQuery statement(connection);
    const auto run = [&statement](const std::string& sql) {
        statement.setSql(sql);
        statement.execSql();
    };
    try {
        connection.open();
        // One transaction: the other computers see the old rows until it
        // commits, then the restored ones; their adds wait for it and come
        // after the restored rows.
        run("begin");
        run("lock table data in exclusive mode");
        run("delete from data");
        connection.copyIn(QStringLiteral("copy data (%1) from stdin").arg(columns).toStdString(),
                          chunk);
        // New keys continue above both the restored rows and every key handed
        // out before, so a key another computer still shows never names a
        // different row.
        run("select setval(seq, top) from (select seq, greatest(coalesce("
            "pg_sequence_last_value(seq), 0), coalesce((select max(编号) from data), 0)) as top "
            "from (select pg_get_serial_sequence('data', '编号')::regclass as seq) s) t "
            "where top > 0");
        run("commit");
    } catch (const std::exception& error) {
        try {
            if (connection.connected())
                run("rollback");
        } catch (const std::exception&) {
            // The failed transaction ends with its connection.
        }
        throw RestoreError(QStringLiteral("无法恢复%1:%2")
                               .arg(fileName, QString::fromUtf8(error.what()))
                               .toStdString());
    }
}

bool confirmRestore(const BackupEntry& backup) {
    return platform::confirm(QStringLiteral("您真的要恢复 %1 的备份吗?").arg(backup.label()));
}

void restoreBackup(const BackupEntry& backup, const QString& clockText,
                   const std::function<void()>& afterRestore) {
    for (const QString& fileName : backup.databases) {
        const QString problem = backupDatabaseProblem(backup.folder + QLatin1Char('/') + fileName,
                                                      records::moduleColumns(fileName));
        if (!problem.isEmpty()) {
            platform::showMessage(
                QStringLiteral("备份中的%1%2,没有恢复任何数据库。").arg(fileName, problem));
            return;
        }
    }
    if (!backUpCurrentDatabases(clockText))
        return;
    // The backup's list is in backup order already.
    QStringList restored;
    const bool onServer = !platform::serverUrl().empty();
    for (const QString& fileName : backup.databases) {
        try {
            const QString backupFile = backup.folder + QLatin1Char('/') + fileName;
            if (onServer)
                restoreDatabaseToServer(backupFile, fileName);
            else
                restoreDatabase(backupFile, records::databasePath(fileName));
            restored << fileName;
        } catch (const RestoreError& error) {
            if (!restored.isEmpty())
                afterRestore();
            platform::showErrorBox(error);
            platform::showMessage(
                partialSummary(backup, restored, backup.databases.mid(restored.size())));
            return;
        }
    }
    afterRestore();
    platform::showMessage(summary(backup, restored));
}

} // namespace maintenance
