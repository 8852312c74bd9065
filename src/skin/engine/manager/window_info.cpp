#include "skin/engine/manager/window_info.h"

#include <QAbstractScrollArea>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>

namespace skin {

namespace {

bool scrollBarShown(Qt::ScrollBarPolicy policy, const QScrollBar* bar) {
    if (policy == Qt::ScrollBarAlwaysOn)
        return true;
    if (policy == Qt::ScrollBarAlwaysOff)
        return false;
    return bar && bar->maximum() > bar->minimum();
}

// A page of a tab widget: a widget of the tab widget's stack.
bool isTabPage(const QWidget* widget) {
    const QWidget* stack = widget->parentWidget();
    return stack && qobject_cast<const QStackedWidget*>(stack) &&
           qobject_cast<const QTabWidget*>(stack->parentWidget());
}

} // namespace

WindowFacts windowFacts(const QWidget* widget) {
    WindowFacts f;
    if (!widget)
        return f;
    const Qt::WindowFlags flags = widget->windowFlags();
    const Qt::WindowType type = widget->windowType();
    f.child = !widget->isWindow();
    f.popup = type == Qt::Popup || type == Qt::ToolTip || type == Qt::Tool;
    f.dialog = type == Qt::Dialog || type == Qt::Sheet;
    if (widget->isWindow()) {
        // Without the customize hint a window has every decoration of its type.
        const bool custom = flags & Qt::CustomizeWindowHint;
        const bool framed = !(flags & Qt::FramelessWindowHint) && !f.popup;
        f.caption = framed && (!custom || (flags & Qt::WindowTitleHint));
        f.systemMenu =
            framed && (!custom || (flags & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)));
        f.minimizeBox =
            framed && (custom ? bool(flags & Qt::WindowMinimizeButtonHint) : type == Qt::Window);
        f.maximizeBox =
            framed && (custom ? bool(flags & Qt::WindowMaximizeButtonHint) : type == Qt::Window);
        f.contextHelp = flags & Qt::WindowContextHelpButtonHint;
        f.thickFrame = framed && widget->minimumSize() != widget->maximumSize();
        f.minimized = widget->isMinimized();
        f.maximized = widget->isMaximized();
    }
    f.rightToLeft = widget->layoutDirection() == Qt::RightToLeft;
    f.visible = widget->isVisible();
    f.disabled = !widget->isEnabled();
    if (const auto* area = qobject_cast<const QAbstractScrollArea*>(widget)) {
        f.hScroll = scrollBarShown(area->horizontalScrollBarPolicy(), area->horizontalScrollBar());
        f.vScroll = scrollBarShown(area->verticalScrollBarPolicy(), area->verticalScrollBar());
    }

    quint32 s = 0, x = 0;
    auto set = [](quint32& bits, bool on, quint32 bit) {
        if (on)
            bits |= bit;
    };
    set(s, f.popup, ws::Popup);
    set(s, f.child, ws::Child);
    set(s, f.minimized, ws::Minimize);
    set(s, f.maximized, ws::Maximize);
    set(s, f.visible, ws::Visible);
    set(s, f.disabled, ws::Disabled);
    set(s, f.caption, ws::Caption);
    set(s, f.vScroll, ws::VScroll);
    set(s, f.hScroll, ws::HScroll);
    set(s, f.systemMenu, ws::SysMenu);
    set(s, f.thickFrame, ws::ThickFrame);
    set(s, f.minimizeBox && !f.child, ws::MinimizeBox);
    set(s, f.maximizeBox && !f.child, ws::MaximizeBox);
    set(x, f.contextHelp, ws::ExContextHelp);
    set(x, f.rightToLeft, ws::ExLeftScrollBar);
    set(x, f.dialog, ws::ExDlgModalFrame);
    const QVariant extra = widget->property("skinStyle");
    if (extra.isValid())
        s |= extra.toUInt();
    f.style = s;
    f.exStyle = x;
    return f;
}

bool isProgramForm(const QWidget* widget) {
    static const QRegularExpression formClass(QStringLiteral("^TForm\\d+$"));
    return widget && widget->isWindow() && formClass.match(widget->objectName()).hasMatch();
}

QString windowClassName(const QObject* object) {
    if (!object)
        return {};
    const QVariant own = object->property("skinClass");
    if (own.isValid() && !own.toString().isEmpty())
        return own.toString();
    const auto* widget = qobject_cast<const QWidget*>(object);
    if (!widget)
        return QString::fromLatin1(object->metaObject()->className());
    if (isProgramForm(widget))
        return widget->objectName();
    if (qobject_cast<const QMessageBox*>(widget) || qobject_cast<const QFileDialog*>(widget))
        return QStringLiteral("#32770");
    if (qobject_cast<const QMenu*>(widget))
        return QStringLiteral("#32768");
    if (qobject_cast<const QCalendarWidget*>(widget) || widget->inherits("QCalendarPopup"))
        return QStringLiteral("SysMonthCal32");
    if (const auto* push = qobject_cast<const QPushButton*>(widget))
        return push->icon().isNull() ? QStringLiteral("TButton") : QStringLiteral("TBitBtn");
    if (const auto* tool = qobject_cast<const QToolButton*>(widget))
        return tool->icon().isNull() ? QStringLiteral("TSpeedButton") : QStringLiteral("TBitBtn");
    if (qobject_cast<const QLineEdit*>(widget))
        return QStringLiteral("TEdit");
    if (qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QTextEdit*>(widget))
        return QStringLiteral("TMemo");
    if (qobject_cast<const QComboBox*>(widget))
        return QStringLiteral("TComboBox");
    if (qobject_cast<const QTableView*>(widget))
        return QStringLiteral("TDBGrid");
    if (qobject_cast<const QListView*>(widget))
        return QStringLiteral("TListBox");
    if (qobject_cast<const QStatusBar*>(widget))
        return QStringLiteral("TStatusBar");
    if (qobject_cast<const QGroupBox*>(widget))
        return QStringLiteral("TGroupBox");
    if (qobject_cast<const QTabWidget*>(widget))
        return QStringLiteral("TPageControl");
    if (qobject_cast<const QTabBar*>(widget))
        return QStringLiteral("TTabControl");
    if (qobject_cast<const QDateTimeEdit*>(widget))
        return QStringLiteral("TDateTimePicker");
    if (qobject_cast<const QSpinBox*>(widget))
        return QStringLiteral("TSpinEdit");
    if (qobject_cast<const QScrollBar*>(widget))
        return QStringLiteral("ScrollBar");
    if (qobject_cast<const QMenuBar*>(widget))
        return QStringLiteral("TMainMenuBar");
    if (isTabPage(widget))
        return QStringLiteral("TTabSheet");
    if (qobject_cast<const QLabel*>(widget))
        return QStringLiteral("TLabel");
    if (qobject_cast<const QProgressBar*>(widget))
        return QStringLiteral("TProgressBar");
    if (widget->metaObject() == &QFrame::staticMetaObject) {
        const auto shape = static_cast<const QFrame*>(widget)->frameShape();
        return shape == QFrame::HLine || shape == QFrame::VLine ? QStringLiteral("TBevel")
                                                                : QStringLiteral("TPanel");
    }
    return QString::fromLatin1(widget->metaObject()->className());
}

bool isCompoundWidget(const QWidget* widget) {
    return qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QAbstractScrollArea*>(widget) ||
           qobject_cast<const QTabBar*>(widget) || qobject_cast<const QMenuBar*>(widget) ||
           qobject_cast<const QStatusBar*>(widget) || widget->inherits("QWebEngineView") ||
           qobject_cast<const QScrollBar*>(widget);
}

int tagOf(const QObject* object) {
    return object ? object->property("Tag").toInt() : 0;
}

void setTag(QObject* object, int tag) {
    if (object)
        object->setProperty("Tag", tag);
}

namespace {

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

bool programPlacesWindows() {
    return !onWayland();
}

bool outlineCutsWindows() {
    return !onWayland();
}

} // namespace skin
