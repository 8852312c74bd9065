#pragma once

#include <QString>

class QUrl;
class QWidget;

namespace platform {

// The web browser control. Its engine is large and slow to load, and only the
// calendar needs it, so it lives in a module of its own beside the executable
// that is loaded the first time a view is made; the program itself does not
// link it.
struct WebBrowser {
    QWidget* view = nullptr; // null when the module could not be loaded
    QString modulePath;      // the module's full path
    QString error;           // why it could not be loaded, the loader's words
};

// The module's file name.
QString webBrowserModuleName();

// Loads the module from `moduleDir` (once; it stays loaded) and makes a view,
// a child of `parent`, navigated to `url`.
WebBrowser createWebBrowser(const QString& moduleDir, const QUrl& url, QWidget* parent);

} // namespace platform
