#include "platform/web_browser/web_browser_module.h"

#include <QUrl>
#include <QWebEngineView>

// The engine's own start: it makes the OpenGL context its pages share with
// the windows. A program linked with the engine has it run as the application
// object is made, which costs every start its OpenGL set-up (a third of the
// start and three times the memory of a small window) for a calendar the
// user may never open. The program sets nothing up for it and loads this
// module when the calendar is first shown; the module starts the engine
// here, before its first view. The function is exported by the engine
// library but not declared in its public headers, so the package depends on
// the exact engine version it was built with.
namespace QtWebEngineCore {
Q_DECL_IMPORT void initialize();
}

extern "C" Q_DECL_EXPORT QWidget* marvanto_make_web_view(QWidget* parent, const QUrl& url) {
    static const bool started = [] {
        QtWebEngineCore::initialize();
        return true;
    }();
    (void)started;
    auto* view = new QWebEngineView(parent);
    view->setUrl(url);
    return view;
}

// The loader and the module agree on the function's type.
[[maybe_unused]] static constexpr platform::MakeWebViewFunction kChecked = marvanto_make_web_view;
