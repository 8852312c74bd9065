#pragma once

#include <QRect>
#include <QStyle>

#include <optional>

class QWidget;

// The engine's style for skinned controls whose Qt parts lie under a skin
// picture: the control measures and hit-tests as the skin draws it (a bar
// of the skin's thickness, a date picker's button of the skin's width). It
// proxies the application's style and asks the control's hooks first.
namespace skin {

// A control's answers for the skin style. Going, the hooks stop answering for
// every widget they answered for, so a kind keeps no record of its widget.
class SkinStyleHooks {
public:
    virtual ~SkinStyleHooks();
    virtual std::optional<int> pixelMetric(QStyle::PixelMetric) const { return std::nullopt; }
    // The first parameter answers as the style would without the hooks.
    virtual std::optional<QRect> subControlRect(const QStyle&, QStyle::ComplexControl,
                                                const QStyleOptionComplex*, QStyle::SubControl,
                                                const QWidget*) const {
        return std::nullopt;
    }
};

// Gives `widget` the skin style with `hooks` answering for it (the hooks
// must outlive the widget or be forgotten first).
void setSkinStyle(QWidget* widget, SkinStyleHooks* hooks);
// Gives the widget its own style back, when `hooks` still answer for it.
void releaseSkinStyle(QWidget* widget, SkinStyleHooks* hooks);
// Drops `hooks` for a widget that may be gone already.
void forgetSkinStyle(const QWidget* widget, SkinStyleHooks* hooks);
// The hooks answering for a widget, or null.
SkinStyleHooks* skinStyleHooksOf(const QWidget* widget);

} // namespace skin
