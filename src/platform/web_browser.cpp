#include "platform/web_browser.h"

#include "platform/web_browser/web_browser_module.h"

#include <QDir>
#include <QLibrary>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform {

QString webBrowserModuleName() {
    return QStringLiteral(MARVANTO_WEB_BROWSER_MODULE);
}

WebBrowser createWebBrowser(const QString& moduleDir, const QUrl& url, QWidget* parent) {
    WebBrowser browser;
    browser.modulePath = QDir::cleanPath(QDir(moduleDir).absoluteFilePath(webBrowserModuleName()));
#ifdef Q_OS_UNIX
    // The web engine's sandbox refuses to run for root; an installed program
    // started by root still shows its calendar.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    // The engine cannot be unloaded; the library object only goes.
    QLibrary module(browser.modulePath);
    const auto make = reinterpret_cast<MakeWebViewFunction>(module.resolve(kMakeWebViewSymbol));
    if (!make) {
        browser.error = module.errorString();
        return browser;
    }
    browser.view = make(parent, url);
    return browser;
}

} // namespace platform
