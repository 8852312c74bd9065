#include "program_folder.h"

#include "maintenance/restore.h"

#include <QFile>

using namespace maintenance;

namespace {

void writeBytes(const QString& file, const QByteArray& bytes, qint64 offset = 0) {
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::ReadWrite));
    ASSERT_TRUE(out.seek(offset));
    out.write(bytes);
}

class Restore : public ProgramFolder {
protected:
    // A memo database with two rows, as a backup holds it.
    QString backupCopy(const QString& name) {
        const QString copy = path(name);
        EXPECT_TRUE(QFile::copy(records::databasePath(Memo), copy));
        sqlRun(copy, "insert into data (标题,备注) values ('一','甲'),('二','乙')");
        return copy;
    }
    const QString Memo = QStringLiteral("备忘录.mdb");
    const QStringList MemoColumns = {"编号", "标题", "备注", "时间"};
};

} // namespace

TEST_F(Restore, ABackupDatabaseMustBeSoundAndHoldTheModulesColumns) {
    EXPECT_EQ(backupDatabaseProblem(backupCopy("sound.mdb"), MemoColumns), QString());
    EXPECT_EQ(backupDatabaseProblem(path("none.mdb"), MemoColumns), QStringLiteral("不存在"));

    const QString garbage = path("garbage.mdb");
    writeBytes(garbage, QByteArray(8192, 'x'));
    EXPECT_EQ(backupDatabaseProblem(garbage, MemoColumns), QStringLiteral("已损坏"));

    // The header reads, the table's page does not.
    const QString page = backupCopy("page.mdb");
    writeBytes(page, QByteArray(512, '\x5A'), 4096);
    EXPECT_EQ(backupDatabaseProblem(page, MemoColumns), QStringLiteral("已损坏"));

    // Made by another program: a column missing, or no table data at all.
    const QString foreign = backupCopy("foreign.mdb");
    sqlRun(foreign, "alter table data drop column 备注");
    EXPECT_EQ(backupDatabaseProblem(foreign, MemoColumns), QStringLiteral("缺少列备注"));
    const QString other = backupCopy("other.mdb");
    sqlRun(other, "alter table data rename to notes");
    EXPECT_EQ(backupDatabaseProblem(other, MemoColumns), QStringLiteral("没有表data"));

    // A copy with a journal beside it was cut off while it was written.
    const QString cut = backupCopy("cut.mdb");
    writeBytes(cut + "-journal", QByteArray(512, '\0'));
    EXPECT_EQ(backupDatabaseProblem(cut, MemoColumns), QStringLiteral("没有写完"));
}

TEST_F(Restore, AMissingCurrentFileIsMadeFromTheBackupAndAMissingBackupThrows) {
    const QString backup = backupCopy("backup.mdb");
    const QString missing = records::databasePath(QStringLiteral("记事本.mdb"));
    ASSERT_TRUE(QFile::remove(missing));
    restoreDatabase(backup, missing);
    EXPECT_EQ(sqlValue(missing, "select count(*) from data"), QStringLiteral("2"));

    EXPECT_THROW(restoreDatabase(path("none.mdb"), records::databasePath(Memo)), RestoreError);
}
