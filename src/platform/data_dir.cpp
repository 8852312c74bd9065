#include "platform/data_dir.h"

#include "platform/app_dir.h"
#include "platform/file_sync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace platform {

namespace {

const QString DatabaseFolderName = QStringLiteral("database");
const QString TemplateFolderName = QStringLiteral("data-template");

struct Decision {
    QString programDir; // the executable's folder it was made for
    QString dataDir;
};

Decision& decision() {
    static Decision instance;
    return instance;
}

bool writableFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

QString withSeparator(QString folder) {
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString folderError(const QString& folder, const QString& reason) {
    return QStringLiteral("数据文件夹\"%1\"无法建立或写入:%2")
        .arg(QDir::toNativeSeparators(QDir::cleanPath(folder)), reason);
}

// The empty databases in a hidden folder beside their place, renamed into
// place only when every copy is on the disk: a start that dies halfway leaves
// no `database` folder that looks complete.
void seedDatabases(const QString& dataFolder, const QString& templates) {
    const QDir source(templates + DatabaseFolderName);
    const QStringList files = source.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    QTemporaryDir building(dataFolder + QStringLiteral(".数据库准备中-XXXXXX"));
    if (!building.isValid())
        throw DataDirError(folderError(dataFolder, building.errorString()).toStdString());
    for (const QString& file : files) {
        if (file.startsWith(QLatin1Char('.')))
            continue;
        const QString target = building.filePath(file);
        if (!QFile::copy(source.filePath(file), target) || !syncFile(target))
            throw DataDirError(
                folderError(dataFolder, QStringLiteral("无法复制%1").arg(file)).toStdString());
        // A template from a read-only program folder is read-only itself.
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                          QFile::ReadOther);
    }
    QFile::setPermissions(building.path(), QFile::permissions(dataFolder));
    syncFolder(building.path());
    // Another start may have put its folder in place meanwhile: that one stays.
    if (!QDir().rename(building.path(), dataFolder + DatabaseFolderName) &&
        !QFileInfo(dataFolder + DatabaseFolderName).isDir())
        throw DataDirError(
            folderError(dataFolder, QStringLiteral("无法建立database文件夹")).toStdString());
    syncFolder(dataFolder);
}

// The word lists of the templates that the data folder lacks.
void seedWordLists(const QString& dataFolder, const QString& templates) {
    const QStringList lists =
        QDir(templates).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString& list : lists) {
        const QString target = dataFolder + list;
        if (QFileInfo::exists(target))
            continue;
        if (QFile::copy(templates + list, target)) {
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther);
            syncFile(target);
        }
    }
}

} // namespace

QString userDataDir() {
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/marvanto"));
}

QString dataDir() {
    Decision& d = decision();
    const QString program = appDir();
    if (d.programDir != program || d.dataDir.isEmpty()) {
        const QString databases = program + DatabaseFolderName;
        d.programDir = program;
        d.dataDir = writableFolder(program) && writableFolder(databases) ? program : userDataDir();
    }
    return d.dataDir;
}

QString dataPath(const QString& relative) {
    return dataDir() + relative;
}

bool dataDirIsProgramFolder() {
    return dataDir() == appDir();
}

QString dataTemplateDir() {
    const QString templates = appPath(TemplateFolderName);
    return withSeparator(QFileInfo(templates).isDir() ? templates : appDir());
}

void requireWritable(const QString& folder) {
    const QFileInfo info(folder);
    if (info.isDir() ? !info.isWritable() : !writableFolder(info.absolutePath()))
        throw DataDirError(
            folderError(info.isDir() ? folder : info.absolutePath(), QStringLiteral("没有写入权限"))
                .toStdString());
}

void prepareDataDir() {
    const QString folder = dataDir();
    if (dataDirIsProgramFolder())
        return;
    if (!QDir().mkpath(folder))
        throw DataDirError(folderError(folder, QStringLiteral("无法建立文件夹")).toStdString());
    if (QFileInfo(folder + DatabaseFolderName).isDir())
        return;
    if (!writableFolder(folder))
        throw DataDirError(folderError(folder, QStringLiteral("没有写入权限")).toStdString());
    const QString templates = dataTemplateDir();
    seedWordLists(folder, templates);
    seedDatabases(folder, templates);
}

} // namespace platform
