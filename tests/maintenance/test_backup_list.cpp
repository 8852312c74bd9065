#include "maintenance/backup.h"
#include "maintenance/backup_list.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace maintenance;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A folder as the backup leaves it: the note and some database files (the
// listing only looks at which files are there).
void makeBackup(const QString& folder, const QByteArray& note, const QStringList& databases) {
    writeFile(folder + QStringLiteral("/备份说明.txt"), note);
    for (const QString& file : databases)
        writeFile(folder + QLatin1Char('/') + file, "SQLite format 3");
}

QByteArray utf8Note(const QString& note, const QString& time) {
    return (note + QStringLiteral("\r\n数据库备份时间:") + time + QStringLiteral("\r\n")).toUtf8();
}

const QStringList& AllNine = backupOrder();

} // namespace

TEST(BackupNote, TheLastTimeLineIsTheTimeAndTheRestTheNote) {
    const BackupNote plain = readBackupNote(
        QStringLiteral(
            "月底备份\r\n数据库备份时间:是我写的\r\n\r\n数据库备份时间:2011-1-11 1:05:07\r\n")
            .toUtf8());
    EXPECT_EQ(plain.time, QStringLiteral("2011-1-11 1:05:07"));
    EXPECT_EQ(plain.note, QStringLiteral("月底备份\n数据库备份时间:是我写的"));

    // A note kept from a Chinese system is GB18030, and not valid UTF-8.
    QStringEncoder gb18030("GB18030");
    ASSERT_TRUE(gb18030.isValid());
    const QByteArray ansi =
        gb18030.encode(QStringLiteral("进货前\r\n数据库备份时间:2010-3-5 9:05:07\r\n"));
    ASSERT_NE(QString::fromUtf8(ansi),
              QStringLiteral("进货前\r\n数据库备份时间:2010-3-5 9:05:07\r\n"));
    const BackupNote old = readBackupNote(ansi);
    EXPECT_EQ(old.time, QStringLiteral("2010-3-5 9:05:07"));
    EXPECT_EQ(old.note, QStringLiteral("进货前"));

    const BackupNote none = readBackupNote("\xEF\xBB\xBFonly a note\n");
    EXPECT_EQ(none.time, QString());
    EXPECT_EQ(none.note, QStringLiteral("only a note"));
}

TEST(BackupList, OnlyFinishedBackupsNewestFirstByTheirNotes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString backup = dir.filePath(QStringLiteral("Backup"));
    // The same folder digits for two different times: the note decides.
    makeBackup(backup + QStringLiteral("/201111110507"), utf8Note("一月", "2011-1-11 1:05:07"),
               AllNine);
    makeBackup(backup + QStringLiteral("/201111110507-2"), utf8Note("十一月", "2011-11-1 1:05:07"),
               AllNine.mid(0, 8));
    // Three in one second: the later suffix is the newer one.
    for (const char* suffix : {"", "-2", "-10"})
        makeBackup(backup + QStringLiteral("/20103590507") + QLatin1String(suffix),
                   utf8Note(QLatin1String(suffix), "2010-3-5 9:05:07"), {AllNine[3]});
    // Made before the clock's first tick: straight into Backup.
    makeBackup(backup, utf8Note("无时钟", ""), {AllNine[0]});
    // Not backups: no database, no note, still being written, other files only.
    makeBackup(backup + QStringLiteral("/20120101"), utf8Note("空", "2012-1-1 0:00:00"), {});
    writeFile(backup + QStringLiteral("/20120102/销售记录.mdb"), "SQLite format 3");
    makeBackup(backup + QStringLiteral("/.备份中-Ab12Cd"), utf8Note("半截", "2013-1-1 0:00:00"),
               AllNine);
    makeBackup(backup + QStringLiteral("/20120103"), utf8Note("别的", "2012-1-3 0:00:00"),
               {QStringLiteral("销售记录.mdb.damaged"), QStringLiteral("readme.txt")});

    QStringList seen;
    for (const BackupEntry& entry : listBackups(backup))
        seen << QStringLiteral("%1|%2|%3|%4")
                    .arg(QFileInfo(entry.folder).fileName(), entry.label(), entry.note)
                    .arg(entry.databases.size());
    EXPECT_EQ(seen, QStringList({
                        "201111110507-2|2011-11-1 1:05:07|十一月|8",
                        "201111110507|2011-1-11 1:05:07|一月|9",
                        "20103590507-10|2010-3-5 9:05:07|-10|1",
                        "20103590507-2|2010-3-5 9:05:07|-2|1",
                        "20103590507|2010-3-5 9:05:07||1",
                        "Backup|Backup|无时钟|1",
                    }));
    const QList<BackupEntry> entries = listBackups(backup);
    EXPECT_EQ(entries.at(1).databases, AllNine);
    EXPECT_EQ(entries.at(1).folder, QDir::cleanPath(backup + QStringLiteral("/201111110507")));

    EXPECT_TRUE(listBackups(dir.filePath(QStringLiteral("nowhere"))).isEmpty());
}
