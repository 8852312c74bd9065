#include "app/desktop_shortcut.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <map>

namespace {

using app::createShortcut;
namespace csidl = app::csidl;

// Every test gets a home of its own: the desktop, menu and autostart folders
// all lie below it.
class DesktopShortcut : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kVariables)
            mSaved[name] = qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray();
        qputenv("HOME", mHome.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (mHome.path() + "/.config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", (mHome.path() + "/.local/share").toLocal8Bit());
        QDir home(mHome.path());
        home.mkpath(QStringLiteral("Desktop"));
        home.mkpath(QStringLiteral("bin"));
        home.mkpath(QStringLiteral("links"));
        mTarget = home.filePath(QStringLiteral("bin/marvanto.exe"));
        writeFile(mTarget, "program");
    }
    void TearDown() override {
        for (const auto& [name, value] : mSaved) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QString readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QString inHome(const QString& relative) const { return QDir(mHome.path()).filePath(relative); }
    QStringList filesIn(const QString& relative) const {
        return QDir(inHome(relative)).entryList(QDir::Files | QDir::Hidden);
    }

    static constexpr const char* kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"};
    std::map<const char*, QByteArray> mSaved;
    QTemporaryDir mHome;
    QString mTarget;
};

TEST_F(DesktopShortcut, DefaultGoesOnTheDesktopAsAnExecutableLauncher) {
    ASSERT_TRUE(createShortcut(mTarget, "Marvanto", "", csidl::None));
    const QString path = inHome("Desktop/Marvanto.desktop");
    const QStringList lines = readFile(path).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), "[Desktop Entry]");
    EXPECT_TRUE(lines.contains("Type=Application"));
    EXPECT_TRUE(lines.contains("Name=Marvanto"));
    EXPECT_TRUE(lines.contains("Exec=\"" + mTarget + "\""));
    EXPECT_TRUE(lines.contains("Path=" + inHome("bin")));
    const auto permissions = QFile::permissions(path);
    EXPECT_TRUE(permissions & QFile::ExeOwner);
    EXPECT_TRUE(permissions & QFile::ReadOther);
    EXPECT_FALSE(permissions & QFile::WriteOther);
}

TEST_F(DesktopShortcut, ReplacesAnEarlierLauncher) {
    const QString path = inHome("Desktop/Marvanto.desktop");
    writeFile(path, "left over by an earlier start, much longer than the new launcher "
                    "so that a write without truncation would leave a tail behind\n" +
                        QByteArray(2000, 'x'));
    ASSERT_TRUE(createShortcut(mTarget, "Marvanto", "", csidl::None));
    EXPECT_EQ(readFile(path), app::desktopEntryText(mTarget, "Marvanto"));
    EXPECT_TRUE(QFile::permissions(path) & QFile::ExeOwner);
}

TEST_F(DesktopShortcut, EmptyNameTakesTheTargetNameWithoutItsLastExtension) {
    const QString target = inHome("bin/shop.tool.bin");
    writeFile(target, "program");
    ASSERT_TRUE(createShortcut(target, "", inHome("links"), csidl::None));
    EXPECT_EQ(filesIn("links"), QStringList{"shop.tool.desktop"});
    EXPECT_TRUE(readFile(inHome("links/shop.tool.desktop")).contains("\nName=shop.tool\n"));
}

TEST_F(DesktopShortcut, GivenFolderWithOrWithoutTrailingSlash) {
    ASSERT_TRUE(createShortcut(mTarget, "A", inHome("links"), csidl::None));
    ASSERT_TRUE(createShortcut(mTarget, "B", inHome("links") + "/", csidl::None));
    EXPECT_EQ(filesIn("links"), (QStringList{"A.desktop", "B.desktop"}));
    EXPECT_EQ(readFile(inHome("links/A.desktop")), app::desktopEntryText(mTarget, "A"));
    // Any negative special folder means the given folder.
    ASSERT_TRUE(createShortcut(mTarget, "C", inHome("links"), -2));
    EXPECT_TRUE(QFile::exists(inHome("links/C.desktop")));
    EXPECT_TRUE(filesIn("Desktop").isEmpty());
}

TEST_F(DesktopShortcut, AMissingTargetOrFolderFailsAndWritesNothing) {
    const struct {
        QString target;
        QString folder;
        int special;
    } refused[] = {
        {inHome("bin/none.exe"), "", -1},
        {inHome("bin"), "", -1}, // a folder is no program
        {mTarget, inHome("no/such"), csidl::None},
        {mTarget, mTarget, csidl::None}, // a file is no folder
        {mTarget, "", -2},               // no folder at all
    };
    for (const auto& call : refused)
        EXPECT_FALSE(createShortcut(call.target, "Marvanto", call.folder, call.special))
            << call.target.toStdString() << " in " << call.folder.toStdString();
    EXPECT_FALSE(QDir(inHome("no")).exists());
    EXPECT_TRUE(filesIn("Desktop").isEmpty());
}

TEST_F(DesktopShortcut, NoDesktopFolderIsSkippedSilently) {
    // A user without a desktop (a server, a window manager without icons):
    // no launcher, no folder made, nothing half-written anywhere.
    ASSERT_TRUE(QDir(inHome("Desktop")).removeRecursively());
    EXPECT_FALSE(createShortcut(mTarget, "Marvanto", "", csidl::None));
    EXPECT_FALSE(QFileInfo::exists(inHome("Desktop")));
    EXPECT_EQ(QDir(mHome.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"bin", "links"}));
}

TEST_F(DesktopShortcut, SpecialFolderWinsOverAGivenFolder) {
    ASSERT_TRUE(createShortcut(mTarget, "Marvanto", inHome("links"), csidl::Desktop));
    EXPECT_TRUE(QFile::exists(inHome("Desktop/Marvanto.desktop")));
    EXPECT_TRUE(filesIn("links").isEmpty());

    QDir(mHome.path()).mkpath(".config/autostart");
    ASSERT_TRUE(createShortcut(mTarget, "Marvanto", inHome("links"), csidl::Startup));
    EXPECT_TRUE(QFile::exists(inHome(".config/autostart/Marvanto.desktop")));

    // A special folder with no counterpart here fails even with a folder given.
    EXPECT_FALSE(createShortcut(mTarget, "Marvanto", inHome("links"), 0x03));
    EXPECT_TRUE(filesIn("links").isEmpty());
}

TEST_F(DesktopShortcut, SpecialFoldersMapToTheDesktopsFolders) {
    using app::StandardFolder;
    EXPECT_EQ(app::standardFolderOf(csidl::Desktop), StandardFolder::Desktop);
    EXPECT_EQ(app::standardFolderOf(csidl::DesktopDirectory), StandardFolder::Desktop);
    EXPECT_EQ(app::standardFolderOf(csidl::Programs), StandardFolder::Applications);
    EXPECT_EQ(app::standardFolderOf(csidl::Startup), StandardFolder::Autostart);
    EXPECT_EQ(app::standardFolderOf(csidl::Personal), StandardFolder::Documents);
    for (int none : {-1, 0x01, 0x03, 0x04, 0x0A, 0x12, 0x8000, 1000})
        EXPECT_EQ(app::standardFolderOf(none), StandardFolder::None) << none;

    EXPECT_EQ(app::standardFolderPath(StandardFolder::Desktop), inHome("Desktop"));
    EXPECT_EQ(app::standardFolderPath(StandardFolder::Applications),
              inHome(".local/share/applications"));
    EXPECT_EQ(app::standardFolderPath(StandardFolder::Autostart), inHome(".config/autostart"));
    EXPECT_TRUE(app::standardFolderPath(StandardFolder::None).isEmpty());
}

TEST(DesktopEntry, QuotesTheCommandAndEscapesValues) {
    const QString text =
        app::desktopEntryText(QStringLiteral("/opt/a b/q\"$`.bin"), QStringLiteral("x\\y\nz"));
    const QStringList lines = text.split(u'\n');
    // Inside the quotes ", `, $ and \ get a backslash; then the value's own
    // escaping doubles every backslash.
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=\"/opt/a b/q\\\\\"\\\\$\\\\`.bin\"")))
        << text.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Name=x\\\\y\\nz"))) << text.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Path=/opt/a b"))) << text.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Icon=marvanto"))) << text.toStdString();
}

// The launcher is opened as a desktop opens it: GLib's launcher reads the
// entry and starts the program, whatever characters its path holds.
TEST_F(DesktopShortcut, StartsTheProgramWhateverItsPathHolds) {
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    ASSERT_FALSE(gio.isEmpty()) << "gio (libglib2.0-bin) is needed to open launchers";
    for (const QString& folder : {QStringLiteral("shop programs"), QStringLiteral("店铺 $HOME"),
                                  QStringLiteral("a \"quoted\" 'name' `x`"),
                                  QStringLiteral("100% sure\\%s%%"), QStringLiteral("a=b%c")}) {
        SCOPED_TRACE(folder.toStdString());
        const QString dir = inHome(QStringLiteral("programs/") + folder);
        ASSERT_TRUE(QDir().mkpath(dir));
        const QString target = dir + QStringLiteral("/marvanto");
        const QString ran = inHome(QStringLiteral("ran"));
        QFile::remove(ran);
        // The mark is written aside and renamed, so it is never seen half-written.
        writeFile(target,
                  "#!/bin/sh\nprintf '%s' \"$0\" > \"$HOME/ran.new\" && mv \"$HOME/ran.new\" "
                  "\"$HOME/ran\"\n");
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_TRUE(createShortcut(target, "Marvanto", "", csidl::None));

        QProcess launch;
        launch.start(gio, {QStringLiteral("launch"), inHome("Desktop/Marvanto.desktop")});
        ASSERT_TRUE(launch.waitForFinished(10000));
        EXPECT_EQ(launch.exitCode(), 0) << launch.readAllStandardError().toStdString();
        QDeadlineTimer deadline(10000);
        while (!QFile::exists(ran) && !deadline.hasExpired())
            QThread::msleep(20);
        EXPECT_EQ(readFile(ran), target);
    }
}

} // namespace
