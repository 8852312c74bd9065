#include "platform/automation_file.h"

#include "platform/automation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace platform::automation {

QString saveName(const QString& fileName, const QString& extension) {
    const qsizetype slash =
        std::max(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    const QString last = fileName.mid(slash + 1);
    if (last.trimmed().isEmpty())
        throw AutomationError(QStringLiteral("No file name given in \"%1\"").arg(fileName));
    const qsizetype dot = last.lastIndexOf(QLatin1Char('.'));
    if (dot > 0 && dot < last.size() - 1)
        return fileName;
    // "name." takes the extension in place of its bare dot.
    if (dot > 0)
        return fileName.chopped(1) + extension;
    return fileName + extension;
}

namespace {

std::filesystem::path pathOf(const QByteArray& encoded) {
    return std::filesystem::path(encoded.toStdString());
}

[[noreturn]] void cannotWrite(const QString& target, const QString& reason) {
    throw AutomationError(QStringLiteral("Cannot write \"%1\": %2").arg(target, reason));
}

} // namespace

void writeThroughTemporary(const QString& target,
                           const std::function<void(const QByteArray& temporaryPath)>& write) {
    const QFileInfo info(target);
    const QDir folder = info.absoluteDir();
    if (!folder.exists())
        cannotWrite(target, QStringLiteral("the folder does not exist"));
    if (info.isDir())
        cannotWrite(target, QStringLiteral("it is a folder"));
    if (info.exists() && !info.isWritable())
        cannotWrite(target, QStringLiteral("the file is read-only"));

    QString temporary;
    do {
        temporary = folder.filePath(
            QStringLiteral(".%1.%2.tmp")
                .arg(info.fileName())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    } while (QFileInfo::exists(temporary));
    const QByteArray temporaryPath = QFile::encodeName(temporary);

    try {
        write(temporaryPath);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    std::error_code error;
    std::filesystem::rename(pathOf(temporaryPath),
                            pathOf(QFile::encodeName(info.absoluteFilePath())), error);
    if (error) {
        QFile::remove(temporary);
        cannotWrite(target, QString::fromStdString(error.message()));
    }
}

} // namespace platform::automation
