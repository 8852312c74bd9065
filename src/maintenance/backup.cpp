#include "maintenance/backup.h"

#include "platform/app_dir.h"
#include "platform/message_box.h"
#include "records/module_storage.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QThread>

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

BackupResult backupDatabases(const QString& clockText, const QString& noteText, int waitMs) {
    const QString stamp = backupStamp(clockText);
    const QString backupFolder = platform::appPath(BackupFolderName);
    // Neither result matters: an existing folder is fine, and a folder that
    // could not be made shows when the note file cannot be written.
    QDir(platform::appDir()).mkdir(BackupFolderName);
    if (!stamp.isEmpty())
        QDir(backupFolder).mkdir(stamp);
    const QString stampFolder =
        stamp.isEmpty() ? backupFolder : backupFolder + QLatin1Char('/') + stamp;

    // The whole program stands still for this wait, events and clock included.
    QThread::msleep(static_cast<unsigned long>(waitMs));

    const QString notePath = stampFolder + QLatin1Char('/') + NoteFileName;
    QFile noteFile(notePath);
    // The time line is the note's last line, as the note box appends it.
    const QString timeLine = TimeLinePrefix + clockText;
    const QByteArray content =
        noteFileContent(noteText.isEmpty() ? timeLine : noteText + QLatin1Char('\n') + timeLine);
    if (!noteFile.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        noteFile.write(content) != content.size() || !noteFile.flush())
        throw std::runtime_error(
            QStringLiteral("Cannot create file \"%1\". %2")
                .arg(QDir::toNativeSeparators(notePath), noteFile.errorString())
                .toStdString());
    noteFile.close();

    BackupResult result{stampFolder, {}};
    for (const QString& fileName : backupOrder()) {
        if (!copyDatabase(records::databasePath(fileName),
                          stampFolder + QLatin1Char('/') + fileName))
            result.failed << fileName;
    }
    return result;
}

void backupDatabases(const std::function<QString()>& clockText, QPlainTextEdit& note, int waitMs) {
    const QString clock = clockText();
    BackupResult result;
    try {
        result = backupDatabases(clock, note.toPlainText(), waitMs);
    } catch (...) {
        // A backup that stopped early leaves the time line in the box.
        note.appendPlainText(TimeLinePrefix + clock);
        throw;
    }
    for (const QString& fileName : result.failed)
        platform::showMessage(backupFailureMessage(fileName));
    platform::showMessage(Finished);
    note.setPlainText(NoteReset);
}

} // namespace maintenance
