#include "platform/web_browser/web_browser_module.h"

#include <QUrl>
#include <QWebEngineView>

extern "C" Q_DECL_EXPORT QWidget* marvanto_make_web_view(QWidget* parent, const QUrl& url) {
    auto* view = new QWebEngineView(parent);
    view->setUrl(url);
    return view;
}

// The loader and the module agree on the function's type.
[[maybe_unused]] static constexpr platform::MakeWebViewFunction kChecked = marvanto_make_web_view;
