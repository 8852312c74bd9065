#pragma once

// Bringing a backup back: every database of the chosen backup is checked,
// the current databases are backed up first, then each database is copied
// into the current file by SQLite's online backup, so the program's open
// connections see the restored rows and never a half-written file.

#include "maintenance/backup_list.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

namespace maintenance {

// The note of the backup made before every restore.
inline const QString AutomaticBackupNote = QStringLiteral("恢复前自动备份");

// A database that could not be brought back; the message names it.
class RestoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Why a database file of a backup cannot be restored, or empty when it can:
// it must open, pass integrity_check and hold the table data with every
// column of its module. The file is only ever opened read-only.
QString backupDatabaseProblem(const QString& path, const QStringList& columns);

// Copies a backup database into the current database file in one
// transaction. The backup file is opened read-only and immutable, so a
// backup on read-only media works and is never written. A current file that
// is no database at all is emptied first (its bytes are in the automatic
// backup); a missing one is made. Throws RestoreError naming the database
// when its file is busy with another program or cannot be written.
void restoreDatabase(const QString& backupFile, const QString& currentFile);

// Replaces a module's rows on the server by the rows of a backup database,
// in one transaction, keys included. Throws RestoreError naming the module
// when the server cannot be reached or refuses the rows.
void restoreDatabaseToServer(const QString& backupFile, const QString& fileName);

// The question before a restore, with the flags of every destructive action.
bool confirmRestore(const BackupEntry& backup);

// The restore of a confirmed backup: the checks, the automatic backup (note
// 恢复前自动备份, named by the clock text), then the databases in backup
// order. Any failed check or a failed automatic backup restores nothing and
// says why. A database that cannot be restored gets the standard error box;
// those restored before it stay restored, and the message names them.
// afterRestore runs once something was restored, before the last message.
void restoreBackup(const BackupEntry& backup, const QString& clockText,
                   const std::function<void()>& afterRestore);

} // namespace maintenance
