#pragma once

// The backups a restore can choose from: the folders under Backup beside the
// executable that hold a note file and at least one module database.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace maintenance {

struct BackupEntry {
    QString folder;        // the backup's folder, a full path
    QString time;          // the clock text of the note's time line; empty when it has none
    QDateTime moment;      // that time read as yyyy-M-d H:mm:ss; invalid when it is not
    QString note;          // the note without its time line
    QStringList databases; // the module databases the folder holds, in backup order

    // The time, or the folder's name when the note has no time line.
    QString label() const;
};

// The note file's text: UTF-8 when its bytes are valid UTF-8, else GB18030.
// The last line that starts with 数据库备份时间: gives the time; the other
// lines, without trailing empty ones, are the note.
struct BackupNote {
    QString time;
    QString note;
};
BackupNote readBackupNote(const QByteArray& bytes);

// The backups below a backup folder, newest first by the time in their notes
// (folders whose note has no readable time last, by name). The folder itself
// is one when a backup was made before the clock's first tick. Folders
// without a note or without any database file, and hidden folders (names
// starting with ".", such as a backup still being written), are left out.
QList<BackupEntry> listBackups(const QString& backupFolder);

} // namespace maintenance
