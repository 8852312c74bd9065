#pragma once

// Backup of the nine module databases into a folder named after the clock,
// with a note file holding the user's note and the time of the backup.

#include <QString>
#include <QStringList>

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

// The backup with a given note text, exactly as the button runs it: the stamp
// from the clock text (which cannot change during the backup: the clock only
// ticks through the event loop), a blocking wait, the time line appended to
// the note text, the note file, the nine copies (a message for each file that
// could not be copied) and the final message.
// The backup is built in a hidden folder Backup/.备份中-XXXXXX and renamed
// when every file is written and synced: to Backup/<stamp> when that is free,
// else <stamp>-2, -3, ...; an existing folder is never written into. A source
// that is not a sound database gets its failure message and, when damaged, a
// byte copy <name>.damaged. Throws when the note file cannot be written; then
// nothing is copied.
BackupResult backupDatabases(const QString& clockText, const QString& noteText,
                             int waitMs = BackupWaitMs);

// The button 备份数据库: the backup above with the note box's text. The time
// line is appended to the box first, so a backup that throws leaves it there;
// a finished one resets the box to "备份说明".
void backupDatabases(const QString& clockText, QPlainTextEdit& note, int waitMs = BackupWaitMs);

} // namespace maintenance
