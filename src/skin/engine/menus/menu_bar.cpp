#include "skin/engine/menus/menu_bar.h"

#include "skin/data/skin_data.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/skin_manager.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>

namespace skin {

namespace {

QAction* firstItem(const QMenu* menu) {
    for (QAction* action : menu->actions()) {
        if (action->isVisible() && action->isEnabled() && !action->isSeparator())
            return action;
    }
    return nullptr;
}

} // namespace

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& form, QMenuBar* bar, TSkinData& data)
    : mForm(form), mData(data), mBar(bar) {
    BuildBar();
    if (bar)
        bar->installEventFilter(this);
}

TWinSkinMenu::~TWinSkinMenu() {
    if (qApp)
        qApp->removeEventFilter(this);
    if (mBar)
        mBar->removeEventFilter(this);
    if (mForm.hotObject() && dynamic_cast<TMenuBtn*>(mForm.hotObject()))
        mForm.setHotObject(nullptr);
}

void TWinSkinMenu::BuildBar() {
    if (dynamic_cast<TMenuBtn*>(mForm.hotObject()))
        mForm.setHotObject(nullptr);
    mButtons.clear();
    if (!mBar)
        return;
    const QList<QAction*> actions = mBar->actions();
    for (int i = 0; i < actions.size(); ++i) {
        QAction* action = actions[i];
        auto button = std::make_unique<TMenuBtn>(mForm);
        button->item = action;
        button->index = i;
        button->caption = action->text().left(80);
        button->enabled = action->isEnabled();
        button->visible = action->isVisible() && !action->isSeparator();
        button->hasDropDown = action->menu() != nullptr;
        button->command = i + 1;
        mButtons.push_back(std::move(button));
    }
}

void TWinSkinMenu::Reapply() {
    if (!tracking())
        BuildBar();
    mBackground = QImage();
}

bool TWinSkinMenu::rightToLeft() const {
    return mForm.window() && mForm.window()->layoutDirection() == Qt::RightToLeft;
}

void TWinSkinMenu::Layout(const QRect& band) {
    mBand = band;
    if (!mBar)
        return;
    LayoutMenuBar(mButtons, band, QFontMetrics(mBar->font()), mData.element(SkinElement::MenuBar),
                  rightToLeft());
}

void TWinSkinMenu::Paint(QPainter& painter, const QRect& band, bool active) {
    if (band.isEmpty() || !mBar)
        return;
    if (mBackground.size() != band.size() || mBackgroundActive != active) {
        mBackground = MenuBarBackground(band.size(), mData, active);
        mBackgroundActive = active;
    }
    PaintMenuBar(painter, band, mBackground, mButtons, mData, mBar->font());
}

TMenuBtn* TWinSkinMenu::ButtonAt(QPoint point) const {
    return MenuButtonAt(mButtons, point);
}

void TWinSkinMenu::OpenBarMenu(int index) {
    if (index < 0 || index >= static_cast<int>(mButtons.size()))
        return;
    TMenuBtn& button = *mButtons[index];
    QWidget* window = mForm.window();
    // A disabled item opens nothing and sends nothing.
    if (!window || !button.visible || !button.enabled || !button.item)
        return;
    if (!button.hasDropDown) {
        button.Leave();
        button.item->trigger();
        return;
    }
    QMenu* menu = button.item->menu();
    if (tracking() && mOpenIndex != index)
        switchAway();
    if (mForm.hotObject() != &button || button.state != TNCObject::Pressed)
        button.Press();
    mOpenIndex = index;
    mOpen = menu;
    if (TSkinManage* manager = TSkinManage::instance()) {
        manager->MenuMode = 1;
        manager->PopupMark = true;
    }
    connect(menu, &QMenu::aboutToHide, this, &TWinSkinMenu::menuHidden, Qt::UniqueConnection);
    // The menu loop watches the open menus while one is open.
    qApp->installEventFilter(this);
    QPoint at = window->mapToGlobal(QPoint(button.rect.left(), button.rect.bottom() + 1));
    if (rightToLeft())
        at = window->mapToGlobal(QPoint(button.rect.right() + 1, button.rect.bottom() + 1)) -
             QPoint(menu->sizeHint().width(), 0);
    menu->popup(at);
    // The first item is selected, as the first key of the menu loop does.
    if (QAction* first = firstItem(menu))
        menu->setActiveAction(first);
}

bool TWinSkinMenu::KeyMenu(QChar key) {
    const int index = MenuButtonForKey(mButtons, key);
    if (index < 0)
        return false;
    OpenBarMenu(index);
    return true;
}

void TWinSkinMenu::menuHidden() {
    if (mOpen)
        disconnect(mOpen, &QMenu::aboutToHide, this, &TWinSkinMenu::menuHidden);
    if (mSwitching)
        return;
    const int index = mOpenIndex;
    mOpenIndex = -1;
    mOpen = nullptr;
    qApp->removeEventFilter(this);
    if (index >= 0 && index < static_cast<int>(mButtons.size())) {
        TMenuBtn& button = *mButtons[index];
        if (mForm.hotObject() == &button)
            button.Leave();
    }
    if (mBarChanged)
        rebuildAndRepaint();
}

void TWinSkinMenu::rebuildAndRepaint() {
    mBarChanged = false;
    BuildBar();
    Layout(mBand);
    if (QWidget* window = mForm.window())
        window->update();
}

void TWinSkinMenu::switchAway() {
    mSwitching = true;
    if (mOpen)
        mOpen->hide();
    const int old = mOpenIndex;
    mSwitching = false;
    if (old >= 0 && old < static_cast<int>(mButtons.size()) &&
        mButtons[old]->state != TNCObject::Normal)
        mButtons[old]->Leave();
    mOpenIndex = -1;
    mOpen = nullptr;
}

void TWinSkinMenu::switchTo(int index) {
    if (index < 0 || index == mOpenIndex)
        return;
    switchAway();
    OpenBarMenu(index);
}

bool TWinSkinMenu::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == mBar) {
        if (type == QEvent::ActionAdded || type == QEvent::ActionRemoved ||
            type == QEvent::ActionChanged) {
            if (tracking())
                mBarChanged = true;
            else
                rebuildAndRepaint();
        }
        return false;
    }
    if (tracking()) {
        if (auto* menu = qobject_cast<QMenu*>(watched))
            return menuLoop(menu, event);
        return false;
    }
    return false;
}

bool TWinSkinMenu::menuLoop(QMenu* menu, QEvent* event) {
    QWidget* window = mForm.window();
    if (!window)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Left && key->key() != Qt::Key_Right)
            return false;
        const QAction* selected = menu->activeAction();
        const int step =
            MenuLoopStep(key->key(), rightToLeft(), menu == mOpen, selected && selected->menu());
        if (step == 0)
            return false;
        switchTo(NextMenuButton(mButtons, mOpenIndex, step));
        return true;
    }
    case QEvent::MouseMove: {
        const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        TMenuBtn* button = ButtonAt(window->mapFromGlobal(global));
        if (button && button->index != mOpenIndex && button->enabled && button->hasDropDown) {
            switchTo(button->index);
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonPress: {
        // A press on the open menu's own button closes it, and only that.
        const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if (menu->rect().contains(menu->mapFromGlobal(global)))
            return false;
        TMenuBtn* button = ButtonAt(window->mapFromGlobal(global));
        if (!button)
            return false;
        if (button->index == mOpenIndex) {
            if (mOpen)
                mOpen->hide();
            return true;
        }
        if (button->enabled && button->hasDropDown) {
            switchTo(button->index);
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

} // namespace skin
