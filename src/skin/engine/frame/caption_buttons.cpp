// The caption buttons of a skinned window at work: what a released button or
// a double click does, the window's state changes, the hover timer with its
// hints, and the skinned system menu.
#include "skin/data/skin_data.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/skin_manager.h"
#include "skin/engine/menus/menu_bar.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWhatsThis>

namespace skin {

namespace {

// Tag of the skinned system menu.
constexpr int SystemMenuTag = 33333;

// One glyph of the menu glyph list (restore, maximize, minimize, close), its
// white background transparent.
QIcon menuGlyph(const TSkinData& data, int index) {
    const QImage& glyphs = data.menuGlyphs();
    if (glyphs.isNull())
        return {};
    QImage glyph = glyphs.copy(index * 16, 0, 16, 16).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < glyph.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(glyph.scanLine(y));
        for (int x = 0; x < glyph.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                line[x] = 0;
        }
    }
    return QIcon(QPixmap::fromImage(glyph));
}

void post(QWidget* window, const char* slot) {
    if (window)
        QMetaObject::invokeMethod(window, slot, Qt::QueuedConnection);
}

} // namespace

void TWinSkinForm::RunAction(TWinSysButton& button, QPoint at) {
    runCommand(ActionCommand(button.action(), button.enabled, mWindowState), &button, at);
}

void TWinSkinForm::runCommand(CaptionCommand command, TWinSysButton* button, QPoint at) {
    switch (command) {
    case CaptionCommand::Close:
        mHoverTimer.stop();
        post(mWindow, "close");
        break;
    case CaptionCommand::Maximize:
        Maximize();
        break;
    case CaptionCommand::Restore:
        Restore();
        break;
    case CaptionCommand::Minimize:
        Minimize();
        break;
    case CaptionCommand::SystemMenu:
        ShowSystemMenu(mWindow->mapToGlobal(at) + QPoint(1, 1));
        break;
    case CaptionCommand::ContextHelp:
        QWhatsThis::enterWhatsThisMode();
        break;
    case CaptionCommand::CaptionButtonMessage:
        if (button)
            postMessage(mWindow, SM_CAPTIONBUTTON, button->action(), 0);
        break;
    case CaptionCommand::None:
        break;
    }
}

// Maximize and minimize restore a window already in their state.
void TWinSkinForm::toggleState(int state) {
    if (mWindowState == state) {
        Restore();
        return;
    }
    mWindowState = state;
    post(mWindow, state == WindowMaximized ? "showMaximized" : "showMinimized");
}

void TWinSkinForm::Maximize() {
    toggleState(WindowMaximized);
    if (mWindowState != WindowMaximized)
        return;
    if (TNCObject* hot = hotObject())
        hot->state = TNCObject::Normal;
    setHotObject(nullptr);
}

void TWinSkinForm::Restore() {
    mWindowState = WindowNormal;
    post(mWindow, "showNormal");
}

void TWinSkinForm::Minimize() {
    toggleState(WindowMinimized);
}

// ---------------------------------------------------------------- hints

void TWinSkinForm::hideCaptionHint() {
    mHint.reset();
    if (mSkinData)
        mSkinData->HideCaptionHint();
}

void TWinSkinForm::HoverTimer() {
    if (!mWindow || !mSkinData || (mMenu && mMenu->tracking()) ||
        (mSystemMenu && mSystemMenu->isVisible()))
        return;
    TNCObject* hot = hotObject();
    if (!hot)
        return;
    const QPoint cursor = QCursor::pos();
    const QPoint at = mWindow->mapFromGlobal(cursor);
    if (!hot->rect.contains(at)) {
        hot->Leave();
        return;
    }
    auto* button = dynamic_cast<TWinSysButton*>(hot);
    if (!button)
        return;
    switch (mHint.tick()) {
    case HintCounter::Waiting:
        break;
    case HintCounter::Shown: {
        const QString text = CaptionHintText(button->action(), mWindowState);
        if (!text.isEmpty()) {
            const QPoint place =
                HintPosition(button->rect, mWindow->mapToGlobal(QPoint(0, 0)), cursor.y());
            mSkinData->ShowCaptionHint(QRect(place, QSize(1, 1)), text);
        }
        break;
    }
    case HintCounter::Over:
        mSkinData->HideCaptionHint();
        break;
    }
}

// ---------------------------------------------------------------- system menu

QMenu* TWinSkinForm::systemMenu() const {
    return mSystemMenu;
}

void TWinSkinForm::ShowSystemMenu(QPoint globalPos) {
    TSkinManage* manager = TSkinManage::instance();
    if (!mWindow || !mSkinData || (manager && manager->Module != mModule))
        return;
    // A second request while the first is still within the double-click time
    // is a double click on the icon: the window closes.
    const int doubleClick = QApplication::styleHints()->mouseDoubleClickInterval();
    if (mLastSystemMenu.isValid() && mLastSystemMenu.elapsed() < doubleClick && hotObject()) {
        mHoverTimer.stop();
        if (mSystemMenu)
            mSystemMenu->hide();
        post(mWindow, "close");
        return;
    }
    mLastSystemMenu.start();
    if (manager)
        manager->MenuMode = 2;
    if (mSystemMenu)
        mSystemMenu->deleteLater();
    auto* menu = new QMenu(mWindow);
    menu->setObjectName(QStringLiteral("SkinSystemMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setProperty("Tag", SystemMenuTag);
    mSystemMenu = menu;
    const bool normal = mWindowState == WindowNormal;
    const bool maximized = mWindowState == WindowMaximized;
    const bool minimized = mWindowState == WindowMinimized;
    QPointer<TWinSkinForm> self(this);
    auto add = [&](const QString& text, int glyph, bool enabled, auto run) {
        QAction* action = glyph >= 0 ? menu->addAction(menuGlyph(*mSkinData, glyph), text)
                                     : menu->addAction(text);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, run, Qt::QueuedConnection);
        return action;
    };
    add(QStringLiteral("还原(&R)"), 0, !normal, [this] { Restore(); });
    add(QStringLiteral("移动(&M)"), -1, !maximized, [this] { startKeyboardSizing(false); });
    add(QStringLiteral("大小(&S)"), -1, !maximized && mBorderStyle == BorderSizeable,
        [this] { startKeyboardSizing(true); });
    add(QStringLiteral("最小化(&N)"), 2, !minimized && mMinimizeBox, [this] { Minimize(); });
    add(QStringLiteral("最大化(&X)"), 1, !maximized && mMaximizeBox, [this] { Maximize(); });
    menu->addSeparator();
    QAction* close = add(QStringLiteral("关闭(&C)"), 3, true, [this] { post(mWindow, "close"); });
    close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    close->setShortcutVisibleInContextMenu(true);
    // The second click of a double click on the icon lands on the open menu.
    menu->installEventFilter(this);
    menu->popup(globalPos);
}

bool TWinSkinForm::systemMenuEvent(QMenu* menu, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return false;
    const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    if (menu->rect().contains(menu->mapFromGlobal(global)) || !mWindow)
        return false;
    TNCObject* hot = hotObject();
    if (!hot || !hot->rect.contains(mWindow->mapFromGlobal(global)))
        return false;
    menu->hide();
    ShowSystemMenu(global);
    return true;
}

} // namespace skin
