#include "platform/app_dir.h"
#include "platform/data_dir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A program folder and a home of its own for every test; the user's data
// folder lies in that home.
class DataDir : public ::testing::Test {
protected:
    void SetUp() override {
        mSavedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", mHome.filePath(QStringLiteral("share")).toLocal8Bit());
        platform::setAppDir(mProgram.path());
    }
    void TearDown() override {
        if (mImmutable)
            setImmutable(false);
        qputenv("XDG_DATA_HOME", mSavedDataHome);
    }

    static void write(const QString& path, const QByteArray& bytes) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QString program(const QString& relative) const { return mProgram.filePath(relative); }
    QString userData() const { return mHome.filePath(QStringLiteral("share/marvanto/")); }

    // No one, root included, may write a folder with the immutable attribute:
    // the program folder of an installed program as the tests can make it.
    bool setImmutable(bool on) {
        const int code =
            QProcess::execute(QStringLiteral("chattr"),
                              {on ? QStringLiteral("+i") : QStringLiteral("-i"), mProgram.path()});
        mImmutable = on && code == 0;
        return code == 0;
    }

    QTemporaryDir mProgram;
    QTemporaryDir mHome;
    QByteArray mSavedDataHome;
    bool mImmutable = false;
};

TEST_F(DataDir, PortableProgramFolderKeepsItsOwnData) {
    write(program("database/销售记录.mdb"), "sales");
    EXPECT_EQ(platform::dataDir(), platform::appDir());
    EXPECT_TRUE(platform::dataDirIsProgramFolder());
    EXPECT_EQ(platform::dataPath("Backup"), program("Backup"));
    platform::prepareDataDir();
    EXPECT_FALSE(QFileInfo::exists(userData()));
}

TEST_F(DataDir, InstalledProgramSeedsTheUserDataFolderOnceAndNeverReplacesIt) {
    write(program("data-template/database/销售记录.mdb"), "empty sales");
    write(program("data-template/database/备忘录.mdb"), "empty memos");
    write(program("data-template/商品名称列表.txt"), "米\n面\n");
    EXPECT_EQ(platform::dataDir(), userData());
    EXPECT_FALSE(platform::dataDirIsProgramFolder());

    platform::prepareDataDir();
    EXPECT_EQ(read(userData() + "database/销售记录.mdb"), "empty sales");
    EXPECT_EQ(read(userData() + "database/备忘录.mdb"), "empty memos");
    EXPECT_EQ(read(userData() + "商品名称列表.txt"), "米\n面\n");
    // Nothing of the building is left beside the data.
    EXPECT_EQ(QDir(userData()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"database", "商品名称列表.txt"}));
    EXPECT_TRUE(QFile::permissions(userData() + "database/销售记录.mdb") & QFile::WriteOwner);

    // The shop's records and its edited list stay through later starts, a
    // newer template included.
    write(userData() + "database/销售记录.mdb", "the shop's sales");
    write(userData() + "商品名称列表.txt", "油\n");
    write(program("data-template/database/销售记录.mdb"), "newer empty sales");
    platform::prepareDataDir();
    EXPECT_EQ(read(userData() + "database/销售记录.mdb"), "the shop's sales");
    EXPECT_EQ(read(userData() + "商品名称列表.txt"), "油\n");
    // A database the user removed is not silently replaced by an empty one.
    QFile::remove(userData() + "database/备忘录.mdb");
    platform::prepareDataDir();
    EXPECT_FALSE(QFileInfo::exists(userData() + "database/备忘录.mdb"));
}

TEST_F(DataDir, ProgramFolderNobodyMayWriteKeepsItsDataInTheUserFolder) {
    write(program("database/销售记录.mdb"), "empty sales");
    write(program("员工姓名列表.txt"), "张伟\n");
    if (!setImmutable(true))
        GTEST_SKIP() << "chattr +i needs root and a file system that has the attribute";
    platform::setAppDir(mProgram.path());
    EXPECT_EQ(platform::dataDir(), userData());
    platform::prepareDataDir();
    EXPECT_EQ(read(userData() + "database/销售记录.mdb"), "empty sales");
    EXPECT_EQ(read(userData() + "员工姓名列表.txt"), "张伟\n");
    EXPECT_NO_THROW(platform::requireWritable(userData() + "Backup"));
    try {
        platform::requireWritable(program("Backup"));
        ADD_FAILURE() << "a folder in an immutable folder was taken as writable";
    } catch (const platform::DataDirError& error) {
        EXPECT_EQ(QString::fromStdString(error.what()),
                  QStringLiteral("数据文件夹\"%1\"无法建立或写入:没有写入权限")
                      .arg(QDir::toNativeSeparators(mProgram.path())));
    }
}

TEST_F(DataDir, FolderThatCannotBeMadeIsNamedInChineseAndTriedAgain) {
    write(program("data-template/database/销售记录.mdb"), "empty sales");
    // A file stands where the user's data folder would go.
    write(mHome.filePath("share"), "not a folder");
    try {
        platform::prepareDataDir();
        ADD_FAILURE() << "no error for a data folder that cannot be made";
    } catch (const platform::DataDirError& error) {
        const QString message = QString::fromStdString(error.what());
        EXPECT_TRUE(
            message.startsWith(QStringLiteral("数据文件夹\"%1")
                                   .arg(QDir::toNativeSeparators(QDir::cleanPath(userData())))))
            << error.what();
    }
    // Once the obstacle is gone, the next action makes the folder.
    QFile::remove(mHome.filePath("share"));
    platform::prepareDataDir();
    EXPECT_EQ(read(userData() + "database/销售记录.mdb"), "empty sales");
}

} // namespace
