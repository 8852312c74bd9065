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

QByteArray bytesOf(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
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

TEST_F(Restore, TheCopyGoesIntoTheOpenFileAndNeverWritesTheBackup) {
    const QString backup = backupCopy("backup.mdb");
    const QByteArray backupBytes = bytesOf(backup);
    const QString current = records::databasePath(Memo);
    sqlRun(current, "insert into data (标题,备注) values ('新','丙')");

    // A connection that stays open, as a record window's does.
    const auto window = connectTo(current);
    platform::AdoQuery query(*window);
    query.setSql("select group_concat(标题) from data");
    query.open();
    ASSERT_EQ(std::string(query.field(0)), "新");

    restoreDatabase(backup, current);
    query.open();
    EXPECT_EQ(std::string(query.field(0)), "一,二");
    EXPECT_EQ(sqlValue(current, "pragma integrity_check"), QStringLiteral("ok"));
    EXPECT_EQ(bytesOf(backup), backupBytes);
    EXPECT_FALSE(QFile::exists(backup + "-journal"));
}

TEST_F(Restore, ACurrentFileThatIsNoDatabaseOrMissingIsReplaced) {
    const QString backup = backupCopy("backup.mdb");
    const QString current = records::databasePath(Memo);
    ASSERT_TRUE(QFile::remove(current));
    writeBytes(current, QByteArray(5000, 'x'));
    restoreDatabase(backup, current);
    EXPECT_EQ(sqlValue(current, "select group_concat(标题) from data"), QStringLiteral("一,二"));
    EXPECT_EQ(sqlValue(current, "pragma integrity_check"), QStringLiteral("ok"));

    const QString missing = records::databasePath(QStringLiteral("记事本.mdb"));
    ASSERT_TRUE(QFile::remove(missing));
    restoreDatabase(backup, missing);
    EXPECT_EQ(sqlValue(missing, "select count(*) from data"), QStringLiteral("2"));

    EXPECT_THROW(restoreDatabase(path("none.mdb"), current), RestoreError);
}
