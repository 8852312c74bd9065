#include "maintenance/backup.h"

#include "platform/ado.h"
#include "platform/data_dir.h"
#include "platform/file_sync.h"
#include "platform/message_box.h"
#include "platform/server_conf.h"
#include "records/module_storage.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QThread>

#include <future>
#include <memory>
#include <stdexcept>

namespace maintenance {

namespace {

const QString BackupFolderName = QStringLiteral("Backup");
const QString NoteFileName = QStringLiteral("备份说明.txt");
const QString NoteReset = QStringLiteral("备份说明");
const QString TimeLinePrefix = QStringLiteral("数据库备份时间:");
const QString Finished = QStringLiteral("已经完成所有数据库备份工作!");

// Opens a database file that exists, without creating it.
sqlite3* openExisting(const QString& path, int flags) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

bool runOnlineBackup(sqlite3* from, sqlite3* to) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        return false;
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    return stepped == SQLITE_DONE && finished == SQLITE_OK;
}

void removeTarget(const QString& target) {
    QFile::remove(target);
    QFile::remove(target + QStringLiteral("-journal"));
}

} // namespace

QString backupStamp(const QString& clockText) {
    QString stamp = clockText;
    stamp.remove(QLatin1Char(' '));
    stamp.remove(QLatin1Char('-'));
    stamp.remove(QLatin1Char(':'));
    return stamp;
}

const QStringList& backupOrder() {
    static const QStringList order = {
        QStringLiteral("销售记录.mdb"),         QStringLiteral("汇款记录.mdb"),
        QStringLiteral("记事本.mdb"),           QStringLiteral("备忘录.mdb"),
        QStringLiteral("进货记录.mdb"),         QStringLiteral("客户通讯录.mdb"),
        QStringLiteral("员工工资发放记录.mdb"), QStringLiteral("员工请假记录.mdb"),
        QStringLiteral("电费记录.mdb"),
    };
    return order;
}

QString backupFailureMessage(const QString& fileName) {
    return QFileInfo(fileName).completeBaseName() + QStringLiteral("备份数据库,失败!");
}

QByteArray noteFileContent(const QString& noteText) {
    QByteArray content;
    for (const QString& line : noteText.split(QLatin1Char('\n')))
        content += line.toUtf8() + "\r\n";
    return content;
}

bool copyDatabase(const QString& source, const QString& target) {
    sqlite3* from = openExisting(source, SQLITE_OPEN_READONLY);
    if (!from)
        return false;
    sqlite3_busy_timeout(from, 2000);

    // Creating the target exclusively is what refuses to replace a file.
    QFile created(target);
    if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        sqlite3_close(from);
        return false;
    }
    created.close();

    bool copied = false;
    if (sqlite3* to = openExisting(target, SQLITE_OPEN_READWRITE)) {
        copied = runOnlineBackup(from, to);
        copied = sqlite3_close(to) == SQLITE_OK && copied;
    }
    sqlite3_close(from);
    if (!copied)
        removeTarget(target);
    return copied;
}

namespace {
QString backupTimeLine(const QString& clockText) {
    return TimeLinePrefix + clockText;
}
} // namespace

namespace {

// Whether a source database can be copied as a database: a file that does
// not read as a sound database is kept as its raw bytes instead.
enum class SourceState { Missing, Sound, Damaged };

SourceState checkSource(const QString& path) {
    if (!QFileInfo(path).isFile())
        return SourceState::Missing;
    platform::AdoConnection connection;
    connection.setConnectionString("Data Source=" + path.toStdString());
    try {
        connection.open();
    } catch (const platform::AdoError& error) {
        // A file that is not ours (an Access file, say) is kept as it is too.
        const bool unreadable = error.fault() == platform::DatabaseFault::Damaged ||
                                error.fault() == platform::DatabaseFault::Foreign;
        return unreadable ? SourceState::Damaged : SourceState::Sound;
    }
    return connection.damaged() ? SourceState::Damaged : SourceState::Sound;
}

// The byte copy of a damaged source, so that nothing of it is lost.
bool copyBytes(const QString& source, const QString& target) {
    return QFile::copy(source, target) && platform::syncFile(target);
}

// Copies one database into the folder; false (and a failure message) when it
// is missing, damaged or could not be copied.
bool backUpOne(const QString& fileName, const QString& folder) {
    const QString source = records::databasePath(fileName);
    const QString target = folder + QLatin1Char('/') + fileName;
    if (!QFileInfo(source).isFile())
        return false;
    // The check reads the whole file as the copy does and takes about as
    // long, so it runs on a connection of its own beside the copy; the backup
    // goes on only when both are done. A copy of a source found damaged is
    // not kept: its raw bytes are.
    std::future<SourceState> checked =
        std::async(std::launch::async, [source] { return checkSource(source); });
    const bool copied = copyDatabase(source, target) && platform::syncFile(target);
    switch (checked.get()) {
    case SourceState::Missing:
        removeTarget(target);
        return false;
    case SourceState::Damaged:
        removeTarget(target);
        copyBytes(source, target + QStringLiteral(".damaged"));
        return false;
    case SourceState::Sound:
        break;
    }
    return copied;
}

// The nine modules on the server read as of one moment: one transaction,
// REPEATABLE READ and READ ONLY, around all nine reads. Repeatable read gives
// every query of the transaction the same snapshot, so the backup holds
// exactly what the books held when it began, across all nine modules, while
// the other computers keep adding; read-only asks for no locks and never
// blocks or fails them. (Serializable adds nothing for a transaction that
// only reads, except waiting for a safe snapshot.)
class ServerSnapshot {
public:
    explicit ServerSnapshot(const std::string& url) {
        platform::requireServerUri(url);
        mConnection.setConnectionString(url);
        mConnection.open();
        run("begin isolation level repeatable read read only");
    }
    ~ServerSnapshot() {
        try {
            run("commit");
        } catch (const std::exception&) {
            // Nothing was written; a connection that broke ends it anyway.
        }
    }
    ServerSnapshot(const ServerSnapshot&) = delete;
    ServerSnapshot& operator=(const ServerSnapshot&) = delete;

    // Writes a module's rows into a new database file in the module's form;
    // false when the file could not be made or the rows not read.
    bool copyModule(const QString& fileName, const QString& target) {
        const records::ModuleTable* table = records::moduleTable(fileName);
        QFile created(target);
        if (!table || !created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return false;
        created.close();
        sqlite3* to = openExisting(target, SQLITE_OPEN_READWRITE);
        const bool copied = to && writeRows(*table, to);
        const bool closed = sqlite3_close(to) == SQLITE_OK;
        if (!(copied && closed && platform::syncFile(target))) {
            removeTarget(target);
            return false;
        }
        return true;
    }

private:
    void run(const std::string& sql) {
        platform::AdoQuery query(mConnection);
        query.setSql(sql);
        query.execSql();
    }

    bool writeRows(const records::ModuleTable& table, sqlite3* to) {
        const QString columns = table.columns.join(QLatin1Char(','));
        QStringList places;
        for (qsizetype i = 1; i <= table.columns.size(); ++i)
            places << QStringLiteral("?%1").arg(i);
        const std::string insert = QStringLiteral("insert into data (%1) values (%2)")
                                       .arg(columns, places.join(QLatin1Char(',')))
                                       .toStdString();
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_exec(to, records::createTableStatement(table).c_str(), nullptr, nullptr,
                         nullptr) != SQLITE_OK ||
            sqlite3_exec(to, "begin", nullptr, nullptr, nullptr) != SQLITE_OK ||
            sqlite3_prepare_v2(to, insert.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            sqlite3_finalize(statement);
            return false;
        }
        bool written = true;
        try {
            platform::AdoQuery query(mConnection);
            query.setSql(
                QStringLiteral("select %1 from \"%2\".data order by 编号")
                    .arg(columns, QString::fromStdString(records::serverSchema(table.fileName)))
                    .toStdString());
            query.scan([&](const std::vector<std::string_view>& fields) {
                for (std::size_t c = 0; c < fields.size(); ++c)
                    sqlite3_bind_text(statement, static_cast<int>(c + 1), fields[c].data(),
                                      static_cast<int>(fields[c].size()), SQLITE_TRANSIENT);
                written = written && sqlite3_step(statement) == SQLITE_DONE;
                sqlite3_reset(statement);
            });
        } catch (const platform::AdoError&) {
            written = false;
        }
        sqlite3_finalize(statement);
        return written && sqlite3_exec(to, "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    platform::AdoConnection mConnection;
};

// Where a finished backup goes: Backup/<stamp> when that folder is free,
// otherwise Backup/<stamp>-2, -3, ... An empty stamp names the Backup folder
// itself, free while it holds none of the backup's files.
QString freeFolder(const QString& backupFolder, const QString& stamp) {
    const QDir backup(backupFolder);
    if (stamp.isEmpty()) {
        bool free = !backup.exists(NoteFileName);
        for (const QString& fileName : backupOrder())
            free = free && !backup.exists(fileName) &&
                   !backup.exists(fileName + QStringLiteral(".damaged"));
        if (free)
            return backupFolder;
    } else if (!backup.exists(stamp)) {
        return backup.filePath(stamp);
    }
    for (int n = 2;; ++n) {
        const QString name = stamp + QStringLiteral("-%1").arg(n);
        if (!backup.exists(name))
            return backup.filePath(name);
    }
}

// Gives the finished files of the hidden folder their place: the folder
// itself is renamed, or, into the Backup folder, each file with the note
// last. False when another backup took the name meanwhile.
bool publish(const QString& building, const QString& target) {
    if (QFileInfo(target).exists() && target != QFileInfo(building).absolutePath())
        return false;
    if (target != QFileInfo(building).absolutePath())
        return QDir().rename(building, target);
    QStringList files = QDir(building).entryList(QDir::Files, QDir::Name);
    files.removeAll(NoteFileName);
    files.append(NoteFileName);
    for (const QString& file : files) {
        if (!QFile::rename(building + QLatin1Char('/') + file, target + QLatin1Char('/') + file))
            return false;
    }
    return platform::syncFolder(target);
}

} // namespace

BackupResult backupDatabases(const QString& clockText, const QString& noteText, int waitMs) {
    const QString stamp = backupStamp(clockText);
    const QString backupFolder = platform::dataPath(BackupFolderName);
    platform::prepareDataDir();
    platform::requireWritable(backupFolder);
    // The result does not matter: an existing folder is fine, and a folder
    // that could not be made shows when the note file cannot be written.
    QDir(platform::dataDir()).mkdir(BackupFolderName);

    // The whole program stands still for this wait, events and clock included.
    QThread::msleep(static_cast<unsigned long>(waitMs));

    // On a server the backup reads the books as of this moment; a server that
    // cannot be reached stops the backup here, naming it.
    std::unique_ptr<ServerSnapshot> snapshot;
    if (const std::string url = platform::serverUrl(); !url.empty())
        snapshot = std::make_unique<ServerSnapshot>(url);

    // The time line goes below the note as a line of its own, as the note box
    // appends it.
    const QString text = noteText.isEmpty()
                             ? backupTimeLine(clockText)
                             : noteText + QLatin1Char('\n') + backupTimeLine(clockText);

    // The backup is built in a hidden folder and only named when it is
    // complete and on the disk: a backup that dies halfway leaves only a
    // hidden folder, never one that looks finished. A build that fails
    // removes its folder.
    const QString notePath =
        (stamp.isEmpty() ? backupFolder : backupFolder + QLatin1Char('/') + stamp) +
        QLatin1Char('/') + NoteFileName;
    QTemporaryDir building(backupFolder + QStringLiteral("/.备份中-XXXXXX"));
    // A temporary folder is private; a backup folder is an ordinary one.
    if (building.isValid())
        QFile::setPermissions(building.path(), QFile::permissions(backupFolder));
    QFile noteFile(building.isValid() ? building.filePath(NoteFileName) : notePath);
    const QByteArray content = noteFileContent(text);
    // A stamp with a separator in it names no folder of Backup: the note has
    // nowhere to go, and the backup stops before any copy.
    if (stamp.contains(QLatin1Char('/')) || stamp.contains(QLatin1Char('\\')) ||
        !building.isValid() || !noteFile.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        noteFile.write(content) != content.size() || !noteFile.flush())
        throw std::runtime_error(QStringLiteral("Cannot create file \"%1\". %2")
                                     .arg(QDir::toNativeSeparators(notePath),
                                          !building.isValid() ? building.errorString()
                                          : noteFile.isOpen()
                                              ? noteFile.errorString()
                                              : QStringLiteral("No such file or directory"))
                                     .toStdString());
    noteFile.close();
    platform::syncFile(noteFile.fileName());

    BackupResult result;
    for (const QString& fileName : backupOrder()) {
        const bool copied =
            snapshot ? snapshot->copyModule(fileName, building.path() + QLatin1Char('/') + fileName)
                     : backUpOne(fileName, building.path());
        if (!copied) {
            result.failed << fileName;
            platform::showMessage(backupFailureMessage(fileName));
        }
    }
    snapshot.reset();
    platform::syncFolder(building.path());

    // Another backup may take the free name first; then the next one is free.
    QString target = freeFolder(backupFolder, stamp);
    while (!publish(building.path(), target)) {
        const QString next = freeFolder(backupFolder, stamp);
        if (next == target)
            throw std::runtime_error(QStringLiteral("Cannot create folder \"%1\".")
                                         .arg(QDir::toNativeSeparators(target))
                                         .toStdString());
        target = next;
    }
    building.setAutoRemove(target == backupFolder);
    platform::syncFolder(backupFolder);
    result.folder = target;
    // Beside the executable the user knows where backups go; in the user's
    // data folder the message says where.
    platform::showMessage(platform::dataDirIsProgramFolder()
                              ? Finished
                              : Finished + QStringLiteral("\n备份保存在:") +
                                    QDir::toNativeSeparators(target));
    return result;
}

void backupDatabases(const QString& clockText, QPlainTextEdit& note, int waitMs) {
    try {
        backupDatabases(clockText, note.toPlainText(), waitMs);
    } catch (...) {
        // A backup that stopped early leaves its time line in the box.
        note.appendPlainText(backupTimeLine(clockText));
        throw;
    }
    note.setPlainText(NoteReset);
}

} // namespace maintenance
