#pragma once

// The driver's web module, marvanto-drive-web.so beside the driver: reads the
// text a page of the calendar's web view shows. It is loaded only when a
// script asks for a page's text, so that the driver, like the program, has
// nothing of the web engine until the calendar is shown.

class QString;
class QWidget;

namespace drive {

// `done` gets the page's text (what its scripts wrote into it included) later,
// from the event loop, with `context`; an empty text for a widget that is no
// web view.
using PageTextFunction = void (*)(QWidget* view, void (*done)(const QString& text, void* context),
                                  void* context);
inline constexpr const char* kPageTextSymbol = "marvanto_page_text";

} // namespace drive
