#include "platform/app_dir.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

namespace {
QString& overriddenDir() {
    static QString instance;
    return instance;
}
} // namespace

QString appDir() {
    QString folder =
        overriddenDir().isEmpty() ? QCoreApplication::applicationDirPath() : overriddenDir();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

void setAppDir(const QString& folder) {
    overriddenDir() = QDir(folder).absolutePath();
}

QString appPath(const QString& relative) {
    return appDir() + relative;
}

} // namespace platform
