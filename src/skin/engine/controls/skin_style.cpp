#include "skin/engine/controls/skin_style.h"

#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QProxyStyle>
#include <QWidget>

namespace skin {

namespace {

QHash<const QWidget*, SkinStyleHooks*>& hooksTable() {
    static QHash<const QWidget*, SkinStyleHooks*> table;
    return table;
}

class SkinStyle : public QProxyStyle {
public:
    SkinStyle() { setParent(qApp); }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (SkinStyleHooks* hooks = skinStyleHooksOf(widget))
            if (const std::optional<int> value = hooks->pixelMetric(metric))
                return *value;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        if (SkinStyleHooks* hooks = skinStyleHooksOf(widget))
            if (const std::optional<QRect> r =
                    hooks->subControlRect(*baseStyle(), control, option, sub, widget))
                return *r;
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
};

// Made without a base style: QProxyStyle(qApp->style()) would take the
// application's style over.
SkinStyle* skinStyle() {
    static QPointer<SkinStyle> style;
    if (!style)
        style = new SkinStyle;
    return style;
}

} // namespace

SkinStyleHooks::~SkinStyleHooks() {
    for (auto it = hooksTable().begin(); it != hooksTable().end();)
        it = it.value() == this ? hooksTable().erase(it) : std::next(it);
}

void setSkinStyle(QWidget* widget, SkinStyleHooks* hooks) {
    if (!widget || !hooks)
        return;
    if (!hooksTable().contains(widget))
        QObject::connect(widget, &QObject::destroyed, skinStyle(),
                         [widget] { hooksTable().remove(widget); });
    hooksTable().insert(widget, hooks);
    widget->setStyle(skinStyle());
}

void releaseSkinStyle(QWidget* widget, SkinStyleHooks* hooks) {
    if (!widget || hooksTable().value(widget) != hooks)
        return;
    forgetSkinStyle(widget, hooks);
    if (widget->style() == skinStyle())
        widget->setStyle(nullptr);
    widget->update();
}

void forgetSkinStyle(const QWidget* widget, SkinStyleHooks* hooks) {
    if (hooksTable().value(widget) == hooks)
        hooksTable().remove(widget);
}

SkinStyleHooks* skinStyleHooksOf(const QWidget* widget) {
    return widget ? hooksTable().value(widget) : nullptr;
}

} // namespace skin
