#include "app/desktop_shortcut.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace app {

namespace {

// A value of a desktop entry: backslashes and control characters escaped.
QString escapeValue(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

// One argument of an Exec line: always in double quotes, with the characters
// that stay special inside them escaped, and percent signs doubled so they
// are not taken for field codes.
QString quoteArgument(const QString& argument) {
    QString out = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        if (c == u'%')
            out += u'%';
        out += c;
    }
    return out + u'"';
}

} // namespace

StandardFolder standardFolderOf(int specialFolder) {
    switch (specialFolder) {
    case csidl::Desktop:
    case csidl::DesktopDirectory:
        return StandardFolder::Desktop;
    case csidl::Programs:
    case csidl::StartMenu:
        return StandardFolder::Applications;
    case csidl::Startup:
        return StandardFolder::Autostart;
    case csidl::Personal:
        return StandardFolder::Documents;
    case csidl::MyMusic:
        return StandardFolder::Music;
    case csidl::MyVideo:
        return StandardFolder::Videos;
    case csidl::MyPictures:
        return StandardFolder::Pictures;
    case csidl::Fonts:
        return StandardFolder::Fonts;
    case csidl::AppData:
        return StandardFolder::Config;
    case csidl::LocalAppData:
        return StandardFolder::Data;
    case csidl::Profile:
        return StandardFolder::Home;
    default:
        return StandardFolder::None;
    }
}

QString standardFolderPath(StandardFolder folder) {
    const auto location = [](QStandardPaths::StandardLocation where) {
        return QStandardPaths::writableLocation(where);
    };
    switch (folder) {
    case StandardFolder::None:
        return {};
    case StandardFolder::Desktop:
        return location(QStandardPaths::DesktopLocation);
    case StandardFolder::Applications:
        return location(QStandardPaths::ApplicationsLocation);
    case StandardFolder::Autostart:
        return location(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
    case StandardFolder::Documents:
        return location(QStandardPaths::DocumentsLocation);
    case StandardFolder::Music:
        return location(QStandardPaths::MusicLocation);
    case StandardFolder::Videos:
        return location(QStandardPaths::MoviesLocation);
    case StandardFolder::Pictures:
        return location(QStandardPaths::PicturesLocation);
    case StandardFolder::Fonts:
        return location(QStandardPaths::FontsLocation);
    case StandardFolder::Config:
        return location(QStandardPaths::GenericConfigLocation);
    case StandardFolder::Data:
        return location(QStandardPaths::GenericDataLocation);
    case StandardFolder::Home:
        return location(QStandardPaths::HomeLocation);
    }
    return {};
}

QString desktopEntryText(const QString& target, const QString& name) {
    const QFileInfo info(target);
    const QString program = quoteArgument(info.absoluteFilePath());
    // Launchers check that the command's first word names a program before
    // they expand "%%" to "%", so a program whose path holds a percent sign is
    // started through the shell, which gets the path as an argument.
    const QString command = info.absoluteFilePath().contains(u'%')
                                ? QStringLiteral("sh -c \"exec \\\"\\$0\\\"\" ") + program
                                : program;
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.0\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Path=%3\n"
                          "Icon=marvanto\n"
                          "Terminal=false\n")
        .arg(escapeValue(name), escapeValue(command), escapeValue(info.absolutePath()));
}

bool createShortcut(const QString& target, const QString& name, const QString& folder,
                    int specialFolder) {
    const QFileInfo targetInfo(target);
    if (!targetInfo.isFile())
        return false;
    const QString shortcutName = name.isEmpty() ? targetInfo.completeBaseName() : name;

    if (folder.isEmpty() && specialFolder == csidl::None)
        specialFolder = csidl::Desktop;
    QString directory;
    if (specialFolder >= 0) {
        directory = standardFolderPath(standardFolderOf(specialFolder));
        if (directory.isEmpty())
            return false;
    } else {
        directory = folder;
        if (!QFileInfo(directory).isDir())
            return false;
    }

    const QString path = QDir(directory).filePath(shortcutName + QStringLiteral(".desktop"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(desktopEntryText(targetInfo.absoluteFilePath(), shortcutName).toUtf8());
    if (!file.commit())
        return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                           QFile::ExeOther);
}

} // namespace app
