#include "skin/engine/controls/tab_skins.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/controls/edit_skins.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/control_traversal.h"
#include "skin/engine/manager/window_info.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

namespace skin {

namespace {

// The tag of a page control whose tabs carry close boxes.
constexpr int CloseBoxTag = 7777;

TabPosition positionOf(const QWidget* control) {
    if (const auto* pages = qobject_cast<const QTabWidget*>(control)) {
        switch (pages->tabPosition()) {
        case QTabWidget::South:
            return TabPosition::Bottom;
        case QTabWidget::West:
            return TabPosition::Left;
        case QTabWidget::East:
            return TabPosition::Right;
        default:
            return TabPosition::Top;
        }
    }
    if (const auto* bar = qobject_cast<const QTabBar*>(control)) {
        switch (bar->shape()) {
        case QTabBar::RoundedSouth:
        case QTabBar::TriangularSouth:
            return TabPosition::Bottom;
        case QTabBar::RoundedWest:
        case QTabBar::TriangularWest:
            return TabPosition::Left;
        case QTabBar::RoundedEast:
        case QTabBar::TriangularEast:
            return TabPosition::Right;
        default:
            return TabPosition::Top;
        }
    }
    return TabPosition::Top;
}

// The body of a bare tab bar lies beyond the bar, on the side of its pages.
QRect bareBody(QSize bar, TabPosition position) {
    switch (position) {
    case TabPosition::Top:
        return QRect(0, bar.height(), bar.width(), 0);
    case TabPosition::Left:
        return QRect(bar.width(), 0, 0, bar.height());
    default:
        return QRect(0, 0, 0, 0);
    }
}

} // namespace

// ---------------------------------------------------------------- page control

QTabWidget* TSkinTab::pageControl() const {
    return qobject_cast<QTabWidget*>(Handle.data());
}

QTabBar* TSkinTab::tabBar() const {
    if (QTabWidget* pages = pageControl())
        return pages->tabBar();
    return qobject_cast<QTabBar*>(Handle.data());
}

void TSkinTab::prepareImages() {
    TabPosition = positionOf(Handle);
    TabImage = BodyImage = QImage();
    if (!SkinData)
        return;
    const auto* tabs = dynamic_cast<const TDataSkinBorder*>(SkinData->element(SkinElement::Tabs));
    if (!tabs)
        return;
    QImage body;
    const TDataSkinObject* pane = SkinData->element(SkinElement::TabPane);
    if (tabs->Style == 0 && !tabs->Image2.isNull())
        body = tabs->Image2;
    else if (tabs->Style == 1 && pane && !pane->Image.isNull())
        body = pane->Image;
    TabImages prepared = PrepareTabImages(tabs->Image, body, TabPosition);
    TabImage = prepared.tabs;
    BodyImage = prepared.body;
}

void TSkinTab::takeTabBar() {
    QTabBar* bar = tabBar();
    if (!bar)
        return;
    bar->setMouseTracking(true);
    if (bar != Handle) {
        mTabBar = bar;
        bar->installEventFilter(this);
    }
    takeArrows(bar);
}

void TSkinTab::takeArrows(QTabBar* bar) {
    if (UpDown)
        return;
    QList<QToolButton*> arrows;
    for (QToolButton* button : bar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        if (button->arrowType() != Qt::NoArrow)
            arrows.append(button);
    if (arrows.isEmpty())
        return;
    UpDown = new TSkinUpDown(this);
    UpDown->AttachArrows(arrows, SkinData, Form);
    for (QToolButton* arrow : arrows)
        arrow->installEventFilter(this);
}

void TSkinTab::Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                      QPaintDevice* formCanvas) {
    TSkinControl::Attach(form, skinData, adoptColor, formCanvas);
    if (!Handle)
        return;
    Enabled = Handle->isEnabled();
    prepareImages();
    WithCloseBoxes =
        pageControl() && tagOf(Handle) == CloseBoxTag && TabPosition == TabPosition::Top;
    takeTabBar();
    UnicodeWindow = true;
}

void TSkinTab::AttachHandle(QWidget* handle, TSkinData* skinData, TWinSkinForm* form,
                            QPaintDevice* formCanvas) {
    TSkinControl::AttachHandle(handle, skinData, form, formCanvas);
    if (!Handle)
        return;
    Enabled = Handle->isEnabled();
    Focused = Handle->hasFocus();
    prepareImages();
    takeTabBar();
}

void TSkinTab::SkinChanged() {
    prepareImages();
    TSkinControl::SkinChanged();
}

bool TSkinTab::pressCloseBox(QPoint point) {
    if (!WithCloseBoxes)
        return false;
    const int index = TabCloseBoxAt(CloseBoxes, point);
    if (index < 0)
        return false;
    // Only this one tab: once a page is gone the other boxes and indexes
    // are stale until the next paint.
    CloseBoxes.clear();
    const QPointer<TSkinTab> self = this;
    const QPointer<QTabWidget> pages = pageControl();
    QWidget* formWindow = Form ? Form->window() : nullptr;
    const qintptr refused = formWindow ? sendMessage(formWindow, SM_CLOSETAB,
                                                     reinterpret_cast<qintptr>(pages.data()), index)
                                       : 0;
    if (!self || !pages)
        return true;
    if (refused == 0 && index < pages->count()) {
        QWidget* page = pages->widget(index);
        pages->removeTab(index);
        if (page)
            page->deleteLater();
    }
    return true;
}

// The tab bar's input, with positions in the bar's own coordinates: the hot
// tab follows the mouse, a press on a close box ends there.
bool TSkinTab::tabBarMessage(QEvent* event) {
    QTabBar* bar = tabBar();
    if (!bar || !Handle)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Leave: {
        const int hot = event->type() == QEvent::Leave || !bar->isEnabled()
                            ? -1
                            : bar->tabAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (hot != mHot) {
            mHot = hot;
            bar->update();
        }
        return false;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        return pressCloseBox(bar->mapTo(Handle, mouse->position().toPoint()));
    }
    default:
        return false;
    }
}

bool TSkinTab::eventFilter(QObject* watched, QEvent* event) {
    if (UpDown && UpDown->IsArrow(watched)) {
        if (!Active || SkinState != 1 || !Handle)
            return false;
        auto* arrow = static_cast<QToolButton*>(watched);
        if (event->type() == QEvent::Paint) {
            UpDown->PaintArrow(arrow);
            return true;
        }
        if (event->type() == QEvent::HoverEnter || event->type() == QEvent::HoverLeave)
            arrow->update();
        return false;
    }
    if (watched != mTabBar || watched == Handle)
        return TSkinControl::eventFilter(watched, event);
    if (!Active || SkinState != 1 || !Handle)
        return false;
    if (event->type() == QEvent::Paint) {
        // The bar shows its part of the control's strip.
        QPainter painter(mTabBar);
        painter.translate(-mTabBar->pos());
        PaintSkin(painter, QRect(QPoint(0, 0), Handle->size()));
        return true;
    }
    return tabBarMessage(event);
}

bool TSkinTab::BeforeMessage(Message& m) {
    if (m.msg == wm::Paint) {
        HandlePaint(*this, m);
        return false;
    }
    // A bare tab bar's own input.
    if (!pageControl() && m.event &&
        (m.msg == wm::MouseMove || m.msg == wm::MouseLeave || m.msg == wm::LButtonDown)) {
        if (tabBarMessage(m.event))
            return false;
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinTab::PaintSkin(QPainter& dc, const QRect& rect) {
    QTabBar* bar = tabBar();
    if (!bar || !SkinData || !Handle)
        return;
    takeArrows(bar);
    Enabled = Handle->isEnabled();
    const TDataSkinObject* tabs = SkinData->element(SkinElement::Tabs);
    const bool drawTabs = tabs && !TabImage.isNull();

    QRect body = bareBody(rect.size(), TabPosition);
    if (QTabWidget* pages = pageControl()) {
        const auto* stack =
            pages->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
        // The style's pane frame is thinner than the skin's border: the body
        // stays inside the control, its inner edge under the page.
        body = TabBodyRect(stack ? stack->geometry() : rect, TabPosition) & rect;
    }
    if (drawTabs) {
        const QRect strip = TabStripRect(rect.size(), body, TabPosition);
        const QSize stripSize = TabStripImageSize(strip, TabPosition);
        Strip = DeviceCanvas(Handle, stripSize);
        QPainter p(&Strip);
        FillParentColor(p, QRect(QPoint(0, 0), stripSize));
        p.setFont(Handle->font());
        const QPoint barAt = bar == Handle ? QPoint(0, 0) : bar->geometry().topLeft();
        const int count = bar->count();
        CloseBoxes.assign(static_cast<std::size_t>(std::max(count, 0)), QRect());
        const int frames = std::max(tabs->FrameCount, 1);
        for (int i = 0; i < count; ++i) {
            const QRect tab = bar->tabRect(i);
            if (!bar->isTabVisible(i) || tab.isEmpty())
                continue;
            const QRect place =
                TabInStrip(tab.translated(barAt), TabPosition, body, rect.size(), stripSize);
            const bool selected = i == bar->currentIndex();
            DrawFrame(p, place, TabImage, false, tabs->Tile != 0, tabs->Trans == 1, frames,
                      TabFrame(selected, i == mHot, Enabled && bar->isTabEnabled(i)),
                      tabs->margins());
            if (WithCloseBoxes) {
                const QRect box = TabCloseBox(place);
                p.drawRect(box.adjusted(0, 0, -1, -1));
                p.drawLine(box.topLeft(), box.bottomRight());
                p.drawLine(box.topRight(), box.bottomLeft());
                CloseBoxes[static_cast<std::size_t>(i)] = box;
            }
            p.setPen(SkinQColor(selected ? tabs->MouseOverColour2 : tabs->NormalColour2));
            TImageList icon;
            const QIcon tabIcon = bar->tabIcon(i);
            if (!tabIcon.isNull()) {
                icon.size = bar->iconSize();
                icon.images.push_back(tabIcon.pixmap(icon.size).toImage());
            }
            DrawIconCaption(*this, p, place, 1, bar->tabText(i), tabIcon.isNull() ? -1 : 0,
                            tabIcon.isNull() ? nullptr : &icon);
            p.setPen(QColor(Qt::black));
        }
        p.end();
        const qreal ratio = Strip.devicePixelRatio();
        if (TabPosition == TabPosition::Right)
            RotateRight(Strip);
        else if (TabPosition == TabPosition::Left)
            RotateLeft(Strip);
        Strip.setDevicePixelRatio(ratio);
        // The scroll arrows are the bar's own children: they stay over the
        // strip, drawn by UpDown.
        dc.drawImage(strip.topLeft(), Strip);
    }
    if (!BodyImage.isNull() && !body.isEmpty()) {
        const TDataSkinObject* pane = SkinData->element(SkinElement::TabPane);
        const Margins margins =
            TabBodyMargins(tabs ? tabs->Style : 0, pane ? pane->margins() : Margins{});
        DrawFrame(dc, body, BodyImage, false, false, false, 1, 1, margins);
    }
}

// ---------------------------------------------------------------- pages

bool TSkinTabSheet::BeforeMessage(Message& m) {
    if (Mode == 0) {
        if (m.msg == wm::Paint) {
            HandlePaint(*this, m);
            return false;
        }
        if (m.msg == wm::EraseBkgnd) {
            if (QPainter* dc = painterOf(m); dc && Handle)
                FillSkinColor(*dc, Handle->rect());
            answer(m, 1);
            return false;
        }
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinTabSheet::PaintSkin(QPainter& dc, const QRect& rect) {
    FillSkinColor(dc, rect);
}

SkinKindFactories tabKinds() {
    return {{SkinKind::SkinTab, skinKindOf<TSkinTab>()},
            {SkinKind::SkinTabSheet, skinKindOf<TSkinTabSheet>()}};
}

} // namespace skin
