#include "program_folder.h"

#include "maintenance/backup.h"
#include "platform/ado.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QThread>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace maintenance;

namespace {

QByteArray bytesOf(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

const QString Finished = QStringLiteral("已经完成所有数据库备份工作!");

class Backup : public ProgramFolder {
protected:
    // A backup at a fixed clock text, without the wait.
    void backUp(const QString& clock) { backupDatabases(clock, mNote, 0); }
    QPlainTextEdit mNote{QStringLiteral("备份说明")};
};

} // namespace

TEST(BackupPieces, TheStampDropsBlanksDashesAndColonsOnly) {
    EXPECT_EQ(backupStamp(QStringLiteral("2010-3-5 9:05:07")), QStringLiteral("20103590507"));
    EXPECT_EQ(backupStamp(QStringLiteral("2010-12-31 23:59:59")), QStringLiteral("20101231235959"));
    EXPECT_EQ(backupStamp(QString()), QString());
    EXPECT_EQ(backupStamp(QStringLiteral("2010/3/5 上午 9.05.07")),
              QStringLiteral("2010/3/5上午9.05.07"));
}

TEST(BackupPieces, EveryModuleDatabaseIsCopiedOnceInTheFixedOrder) {
    const QStringList order = backupOrder();
    QStringList messages;
    for (const QString& file : order)
        messages << backupFailureMessage(file);
    EXPECT_EQ(messages, QStringList({
                            QStringLiteral("销售记录备份数据库,失败!"),
                            QStringLiteral("汇款记录备份数据库,失败!"),
                            QStringLiteral("记事本备份数据库,失败!"),
                            QStringLiteral("备忘录备份数据库,失败!"),
                            QStringLiteral("进货记录备份数据库,失败!"),
                            QStringLiteral("客户通讯录备份数据库,失败!"),
                            QStringLiteral("员工工资发放记录备份数据库,失败!"),
                            QStringLiteral("员工请假记录备份数据库,失败!"),
                            QStringLiteral("电费记录备份数据库,失败!"),
                        }));
    QStringList modules;
    for (const records::ModuleTable& table : records::moduleTables())
        modules << table.fileName;
    QStringList sorted = order;
    sorted.sort();
    modules.sort();
    EXPECT_EQ(sorted, modules);
}

TEST(BackupPieces, TheNoteFileEndsEveryLineWithCrLf) {
    EXPECT_EQ(noteFileContent(QStringLiteral("备份说明\n\n数据库备份时间:2010-3-5 9:05:07")),
              QStringLiteral("备份说明\r\n\r\n数据库备份时间:2010-3-5 9:05:07\r\n").toUtf8());
    EXPECT_EQ(noteFileContent(QString()), QByteArray("\r\n"));
}

TEST_F(Backup, ACopyHoldsRowsOfOpenConnectionsThatTheFileDoesNotHoldYet) {
    // Rows committed in write-ahead mode lie in the log beside the file until a
    // checkpoint: a byte copy of the file alone would lose them.
    const QString source = records::databasePath(QStringLiteral("销售记录.mdb"));
    platform::AdoConnection open;
    open.setConnectionString("Data Source=" + source.toStdString());
    open.open();
    platform::AdoQuery query(open);
    query.setSql("PRAGMA journal_mode=WAL");
    query.open();
    query.setSql("PRAGMA wal_autocheckpoint=0");
    query.open();
    for (int i = 0; i < 50; ++i) {
        query.setSql("insert into data (商品,金额) values ('米','" + std::to_string(i) + "')");
        query.execSql();
    }
    ASSERT_TRUE(QFile::exists(source + QStringLiteral("-wal")));

    const QString copy = path(QStringLiteral("copy.mdb"));
    ASSERT_TRUE(copyDatabase(source, copy));
    EXPECT_EQ(sqlValue(copy, "select count(*) from data"), QStringLiteral("50"));
    EXPECT_EQ(sqlValue(copy, "pragma integrity_check"), QStringLiteral("ok"));
    EXPECT_EQ(sqlValue(copy, "select max(cast(金额 as integer)) from data"), QStringLiteral("49"));
}

TEST_F(Backup, ACopyNeverReplacesAFileNorInventsOne) {
    const QString source = records::databasePath(QStringLiteral("备忘录.mdb"));
    const QString taken = path(QStringLiteral("taken.mdb"));
    QFile file(taken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the user's own file");
    file.close();
    EXPECT_FALSE(copyDatabase(source, taken));
    EXPECT_EQ(bytesOf(taken), QByteArray("the user's own file"));

    // A missing source makes no file on either side.
    EXPECT_FALSE(
        copyDatabase(path(QStringLiteral("database/none.mdb")), path(QStringLiteral("none.mdb"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("database/none.mdb"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("none.mdb"))));

    // A source that is no database leaves no half copy behind.
    QFile garbage(path(QStringLiteral("garbage.mdb")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    EXPECT_FALSE(copyDatabase(garbage.fileName(), path(QStringLiteral("copy.mdb"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("copy.mdb"))));

    // Nor into a folder that does not exist.
    EXPECT_FALSE(copyDatabase(source, path(QStringLiteral("missing/copy.mdb"))));
}

TEST_F(Backup, ABackupWaitsThenMakesAnOrdinaryFolderOfTheNineCopiesAndTheNote) {
    QElapsedTimer timer;
    timer.start();
    backupDatabases(QStringLiteral("2010-3-5 9:05:07"), mNote);
    EXPECT_GE(timer.elapsed(), BackupWaitMs);
    EXPECT_EQ(boxTexts(), QStringList{Finished});
    EXPECT_EQ(mBoxes.front().caption, platform::applicationTitle());

    // Built in a private temporary folder, named with the Backup folder's rights.
    const QString folder = path(QStringLiteral("Backup/20103590507"));
    QStringList expected = backupOrder();
    expected << QStringLiteral("备份说明.txt");
    expected.sort();
    EXPECT_EQ(filesIn(folder), expected);
    EXPECT_EQ(QFile::permissions(folder), QFile::permissions(path(QStringLiteral("Backup"))));
}

// Without a clock text the first backup goes into the Backup folder itself;
// the next one, made before the clock's first tick as well, gets a folder.
TEST_F(Backup, ASecondBackupWithoutAStampGetsAFolderOfItsOwn) {
    backUp(QString());
    backUp(QString());
    EXPECT_EQ(boxTexts(), QStringList({Finished, Finished}));
    EXPECT_EQ(filesIn(path(QStringLiteral("Backup"))).size(), 10);
    EXPECT_EQ(filesIn(path(QStringLiteral("Backup/-2"))).size(), 10);
}

TEST_F(Backup, BackupsInOneSecondTakeTheNextFreeNameAndLeaveNoBuildingFolder) {
    for (int i = 1; i <= 3; ++i) {
        const BackupResult result =
            backupDatabases(QStringLiteral("2010-3-5 9:05:07"), QStringLiteral("说明"), 0);
        EXPECT_TRUE(result.ok()) << i;
    }
    EXPECT_EQ(boxTexts(), QStringList({Finished, Finished, Finished}));
    EXPECT_EQ(QDir(path(QStringLiteral("Backup")))
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
              QStringList({QStringLiteral("20103590507"), QStringLiteral("20103590507-2"),
                           QStringLiteral("20103590507-3")}));
    EXPECT_EQ(filesIn(path(QStringLiteral("Backup/20103590507-3"))).size(), 10);
}

TEST_F(Backup, AKilledBackupLeavesNoFolderThatLooksFinished) {
    // A sales database large enough that the copy takes a while.
    sqlRun(records::databasePath(QStringLiteral("销售记录.mdb")),
           "insert into data (商品,金额,备注) select 'x' || n, n, printf('%.2000c', 'z') from "
           "(with recursive c(n) as (select 1 union all select n + 1 from c where n < 20000) "
           "select n from c)");
    const QString backup = path(QStringLiteral("Backup"));
    const auto hiddenFolders = [&] {
        return QDir(backup).entryList({QStringLiteral(".备份中-*")},
                                      QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    int killedHalfway = 0;
    for (const int delayMs : {0, 5, 20, 60, 150, 400}) {
        const qsizetype leftBefore = hiddenFolders().size();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            backupDatabases(QStringLiteral("2010-3-5 9:05:07"), QStringLiteral("说明"), 0);
            _exit(0);
        }
        QElapsedTimer started;
        started.start();
        while (hiddenFolders().size() == leftBefore && started.elapsed() < 10000)
            QThread::usleep(200);
        QThread::msleep(static_cast<unsigned long>(delayMs));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (WIFSIGNALED(status) && hiddenFolders().size() > leftBefore)
            ++killedHalfway;
    }
    EXPECT_GE(killedHalfway, 3);
    // One that runs to the end, so there is a finished folder to check too.
    backupDatabases(QStringLiteral("2010-3-5 9:05:07"), QStringLiteral("说明"), 0);

    QStringList expected = backupOrder();
    expected << QStringLiteral("备份说明.txt");
    expected.sort();
    const QStringList named = QDir(backup).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_FALSE(named.isEmpty());
    for (const QString& name : named) {
        const QString folder = backup + QLatin1Char('/') + name;
        EXPECT_EQ(filesIn(folder), expected) << name.toStdString();
        for (const QString& file : backupOrder())
            EXPECT_EQ(sqlValue(folder + QLatin1Char('/') + file, "pragma integrity_check"),
                      QStringLiteral("ok"))
                << (name + QLatin1Char('/') + file).toStdString();
    }
    EXPECT_EQ(sqlValue(backup + QLatin1Char('/') + named.last() + QStringLiteral("/销售记录.mdb"),
                       "select count(*) from data"),
              QStringLiteral("20000"));
}

TEST_F(Backup, ANoteFileThatCannotBeWrittenStopsBeforeAnyCopy) {
    // A date format with slashes names a folder that cannot be made.
    mNote.setPlainText(QStringLiteral("说明"));
    EXPECT_THROW(backUp(QStringLiteral("2010/3/5 9:05:07")), std::runtime_error);
    EXPECT_TRUE(mBoxes.isEmpty());
    EXPECT_EQ(mNote.toPlainText(), QStringLiteral("说明\n数据库备份时间:2010/3/5 9:05:07"));
    EXPECT_EQ(QDir(path(QStringLiteral("Backup")))
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
}
