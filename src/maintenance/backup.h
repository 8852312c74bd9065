#pragma once

// Backup of the nine module databases into a folder named after the clock,
// with a note file holding the user's note and the time of the backup.

#include <QString>
#include <QStringList>

#include <functional>

class QPlainTextEdit;

namespace maintenance {

// The folder name for a clock text: the text without its blanks, "-" and
// ":". "2010-3-5 9:05:07" gives "20103590507"; other characters stay.
QString backupStamp(const QString& clockText);

// The database files in the order the backup copies them.
const QStringList& backupOrder();

// What the backup says when a file could not be copied: its base name and
// "备份数据库,失败!".
QString backupFailureMessage(const QString& fileName);

// The note file's content: every line of the note ended by CR LF, in UTF-8.
QByteArray noteFileContent(const QString& noteText);

// Copies a database as one consistent snapshot (the database's own online
// backup), so rows written through open connections are all in the copy.
// Never replaces an existing target and never creates a missing source. False
// when nothing usable was written; a half-written target is removed.
bool copyDatabase(const QString& source, const QString& target);

inline constexpr int BackupWaitMs = 1000;

struct BackupResult {
    QString folder;     // the finished backup folder, empty when none was made
    QStringList failed; // database file names that could not be copied
    bool ok() const { return !folder.isEmpty() && failed.isEmpty(); }
};

// The backup itself, without the note box and without messages: the stamp
// from the clock text, Backup/<stamp>/ beside the executable, a blocking
// wait, the note file (the note and the time line), the nine copies. Throws
// when the note file cannot be written; then nothing is copied.
BackupResult backupDatabases(const QString& clockText, const QString& noteText,
                             int waitMs = BackupWaitMs);

// The whole backup, as the button 备份数据库 runs it: the stamp from the clock
// text, Backup/<stamp>/ beside the executable, a blocking wait, the time line
// appended to the note, the note file, the nine copies (a message for each
// file that could not be copied), the final message and the note reset.
// Throws when the note file cannot be written; then nothing is copied and the
// note keeps its added line.
void backupDatabases(const std::function<QString()>& clockText, QPlainTextEdit& note,
                     int waitMs = BackupWaitMs);

} // namespace maintenance
