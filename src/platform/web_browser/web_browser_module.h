#pragma once

// What the web browser module exports: one function that makes a view, a
// child of `parent`, navigated to `url`.

class QUrl;
class QWidget;

namespace platform {

using MakeWebViewFunction = QWidget* (*)(QWidget* parent, const QUrl& url);
inline constexpr const char* kMakeWebViewSymbol = "marvanto_make_web_view";

} // namespace platform
