#include "web_page_text.h"

#include <QWebEnginePage>
#include <QWebEngineView>

extern "C" Q_DECL_EXPORT void
marvanto_page_text(QWidget* view, void (*done)(const QString& text, void* context), void* context) {
    auto* webView = qobject_cast<QWebEngineView*>(view);
    if (!webView) {
        done(QString(), context);
        return;
    }
    webView->page()->runJavaScript(
        QStringLiteral("document.body ? document.body.innerText : ''"),
        [done, context](const QVariant& text) { done(text.toString(), context); });
}

// The driver and the module agree on the function's type.
[[maybe_unused]] static constexpr drive::PageTextFunction kChecked = marvanto_page_text;
