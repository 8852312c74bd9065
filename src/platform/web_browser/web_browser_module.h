#pragma once

// What the web browser module exports: one function that makes a view, a
// child of `parent`, navigated to `url`.

class QString;
class QUrl;
class QWidget;

namespace platform {

using MakeWebViewFunction = QWidget* (*)(QWidget* parent, const QUrl& url);
inline constexpr const char* kMakeWebViewSymbol = "marvanto_make_web_view";

// For the driver: asks a view made by the module for the text its page shows
// (what its scripts wrote into it included); `done` gets it later, from the
// event loop, with `context`.
using PageTextFunction = void (*)(QWidget* view, void (*done)(const QString& text, void* context),
                                  void* context);
inline constexpr const char* kPageTextSymbol = "marvanto_page_text";

} // namespace platform
