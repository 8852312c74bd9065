#include "platform/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {

ProgramStarter& programStarter() {
    static ProgramStarter instance;
    return instance;
}

UrlOpener& urlOpener() {
    static UrlOpener instance;
    return instance;
}

} // namespace

QStringList calculatorPrograms() {
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
            QStringLiteral("galculator"),       QStringLiteral("mate-calc"),
            QStringLiteral("qalculate-gtk"),    QStringLiteral("xcalc")};
}

QString findCalculator() {
    for (const QString& name : calculatorPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

void startCalculator() {
    const QString program = findCalculator();
    if (program.isEmpty())
        return;
    if (programStarter())
        programStarter()(program);
    else
        QProcess::startDetached(program, {});
}

void openUrl(const QString& url) {
    if (urlOpener())
        urlOpener()(url);
    else
        QDesktopServices::openUrl(QUrl(url));
}

void setProgramStarter(ProgramStarter starter) {
    programStarter() = std::move(starter);
}

void setUrlOpener(UrlOpener opener) {
    urlOpener() = std::move(opener);
}

} // namespace platform
