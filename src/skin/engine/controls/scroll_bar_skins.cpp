#include "skin/engine/controls/scroll_bar_skins.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/controls/scroll_bar_geometry.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/control_traversal.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTableView>

namespace skin {

namespace {

// What a bar shows, read from the bar itself.
struct BarValues {
    bool vertical = true;
    int length = 0;
    int minimum = 0;
    int maximum = 0;
    int page = 0;
    int position = 0;
    bool upsideDown = false;
};

BarValues valuesOf(const QScrollBar* bar) {
    BarValues v;
    v.vertical = bar->orientation() == Qt::Vertical;
    v.length = v.vertical ? bar->height() : bar->width();
    v.minimum = bar->minimum();
    v.maximum = bar->maximum();
    v.page = bar->pageStep();
    v.position = bar->sliderPosition();
    v.upsideDown = bar->invertedAppearance();
    return v;
}

ThumbExtent thumbOf(const BarValues& v, int arrow) {
    return ScrollBarThumb(v.length, arrow, v.minimum, v.maximum, v.page, v.position, v.upsideDown);
}

} // namespace

// ---------------------------------------------------------------- TWScrollbar

TWScrollbar::TWScrollbar(QScrollBar* bar, TSkinControl* owner, int kind)
    : QObject(owner), CoveredHandle(bar), Owner(owner), BarKind(quint8(kind)) {
    mKey = bar;
    CoveredControl = owner ? owner->Control.data() : nullptr;
    Orientation = bar->orientation() == Qt::Vertical ? 1 : 0;
    bar->installEventFilter(this);
    bar->setMouseTracking(true);
    setSkinStyle(bar, this);
    Place();
}

TWScrollbar::~TWScrollbar() {
    // The bar may be going with its control: it is left alone. Without this
    // object it measures and paints as the style's own bar.
    forget();
}

void TWScrollbar::forget() {
    forgetSkinStyle(mKey, this);
}

void TWScrollbar::Release() {
    if (!CoveredHandle) {
        forget();
        return;
    }
    QScrollBar* bar = CoveredHandle;
    CoveredHandle = nullptr;
    bar->removeEventFilter(this);
    releaseSkinStyle(bar, this);
    bar->update();
}

TWScrollbar* TWScrollbar::of(const QWidget* bar) {
    return dynamic_cast<TWScrollbar*>(skinStyleHooksOf(bar));
}

std::optional<int> TWScrollbar::pixelMetric(QStyle::PixelMetric metric) const {
    if (metric == QStyle::PM_ScrollBarExtent)
        return Thickness();
    return std::nullopt;
}

// Arrows and thumb where the skin draws them, so that the bar's own
// hit-testing matches the picture.
std::optional<QRect> TWScrollbar::subControlRect(const QStyle&, QStyle::ComplexControl control,
                                                 const QStyleOptionComplex* option,
                                                 QStyle::SubControl sub, const QWidget*) const {
    const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != QStyle::CC_ScrollBar || !slider)
        return std::nullopt;
    BarValues v;
    v.vertical = slider->orientation == Qt::Vertical;
    const QRect r = slider->rect;
    v.length = v.vertical ? r.height() : r.width();
    v.minimum = slider->minimum;
    v.maximum = slider->maximum;
    v.page = slider->pageStep;
    v.position = slider->sliderPosition;
    v.upsideDown = slider->upsideDown;
    const int a = ScrollArrowLength(v.length, ArrowSize);
    const ThumbExtent t = thumbOf(v, ArrowSize);
    auto piece = [&](int start, int size) {
        const QRect p =
            v.vertical ? QRect(0, start, r.width(), size) : QRect(start, 0, size, r.height());
        return QStyle::visualRect(slider->direction, r, p.translated(r.topLeft()));
    };
    switch (sub) {
    case QStyle::SC_ScrollBarSubLine:
        return piece(0, a);
    case QStyle::SC_ScrollBarAddLine:
        return piece(v.length - a, a);
    case QStyle::SC_ScrollBarGroove:
        return piece(a, v.length - 2 * a);
    case QStyle::SC_ScrollBarSlider:
        return piece(t.start, t.end - t.start);
    case QStyle::SC_ScrollBarSubPage:
        return piece(a, t.start - a);
    case QStyle::SC_ScrollBarAddPage:
        return piece(t.end, v.length - a - t.end);
    default:
        return std::nullopt;
    }
}

TSkinData* TWScrollbar::skinData() const {
    return Owner ? Owner->SkinData.data() : nullptr;
}

int TWScrollbar::Thickness() const {
    const TSkinData* data = skinData();
    const TDataSkinObject* pictures = data ? data->element(SkinElement::Scrollbar) : nullptr;
    if (!pictures || pictures->Image.isNull())
        return ArrowSize;
    const int height = pictures->Image.height();
    return ScrollBarThickness(height, ArrowSize, height);
}

void TWScrollbar::Place() {
    QScrollBar* bar = CoveredHandle;
    if (!bar)
        return;
    Shown = bar->isVisible();
    QWidget* covered = CoveredControl ? CoveredControl.data() : bar->parentWidget();
    ClientBarRect = QRect(covered ? bar->mapTo(covered, QPoint(0, 0)) : bar->pos(), bar->size());
    BarOrigin = bar->mapToGlobal(QPoint(0, 0));
    readBar();
}

void TWScrollbar::HideBar() {
    Shown = false;
}

void TWScrollbar::readBar() {
    if (!CoveredHandle)
        return;
    const BarValues v = valuesOf(CoveredHandle);
    TrackLength = v.length;
    const ThumbExtent t = thumbOf(v, ArrowSize);
    ThumbStart = t.start;
    ThumbEnd = t.end;
}

int TWScrollbar::HitTest(QPoint point) const {
    ScrollBarMeasure m;
    m.vertical = Orientation == 1;
    m.length = TrackLength;
    m.arrow = ArrowSize;
    m.thumbStart = ThumbStart;
    m.thumbEnd = ThumbEnd;
    return ScrollHitTest(m, point);
}

void TWScrollbar::Invalidate() {
    if (CoveredHandle)
        CoveredHandle->update();
}

void TWScrollbar::setHot(int part) {
    if (part == HotPart)
        return;
    HotPart = part;
    Invalidate();
}

bool TWScrollbar::Paint(QPainter& painter) {
    QScrollBar* bar = CoveredHandle;
    const TSkinData* data = skinData();
    const TDataSkinObject* pictures = data ? data->element(SkinElement::Scrollbar) : nullptr;
    if (!bar || !pictures || pictures->Image.isNull())
        return false;
    const bool vertical = Orientation == 1;
    const QRect r = bar->rect();
    readBar();
    ScrollBarMeasure m;
    m.vertical = vertical;
    m.length = TrackLength;
    m.arrow = ArrowSize;
    m.thumbStart = ThumbStart;
    m.thumbEnd = ThumbEnd;
    if (Pressed && HotPart == scrollpart::Thumb && !ListBar) {
        const QPoint moved = QCursor::pos() - DownCursor;
        const ThumbExtent t = FollowThumb(m, DownThumbStart, vertical ? moved.y() : moved.x());
        m.thumbStart = ThumbStart = t.start;
        m.thumbEnd = ThumbEnd = t.end;
    }
    ScrollBarState state;
    state.enabled = bar->isEnabled() && bar->maximum() > bar->minimum();
    state.hotPart = ListBar ? scrollpart::None : HotPart;
    state.pressed = Pressed && !ListBar;
    const ScrollBarPicture pic =
        ScrollBarLayout(m, vertical ? r.width() : r.height(), pictures->Image.height(), state);

    // Composed off-screen at the bar's pixel ratio, in the bar's coordinates.
    const qreal ratio = bar->devicePixelRatioF();
    QImage canvas(r.size() * ratio, QImage::Format_RGB32);
    if (canvas.isNull())
        return true;
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(SkinQColor(ColorToRGB(data->colour(colour::ButtonFace))));
    QPainter dc(&canvas);
    const TDataSkinObject* track =
        data->element(vertical ? SkinElement::VertScroll : SkinElement::HorzScroll);
    const TDataSkinObject* horzTrack = data->element(SkinElement::HorzScroll);
    if (pic.track && track && !track->Image.isNull())
        DrawFrame(dc, *pic.track, track->Image, false, horzTrack && horzTrack->Tile != 0,
                  track->Trans == 1, 4, pic.trackFrame, track->margins());
    DrawStripFrame(dc, pic.firstArrow, 23, pic.firstArrowFrame, pictures->Image);
    DrawStripFrame(dc, pic.secondArrow, 23, pic.secondArrowFrame, pictures->Image);
    const TDataSkinObject* thumb =
        data->element(vertical ? SkinElement::VertScrollThumb : SkinElement::HorzScrollThumb);
    const TDataSkinObject* horzThumb = data->element(SkinElement::HorzScrollThumb);
    if (pic.thumb && thumb && !thumb->Image.isNull()) {
        const int frames = horzThumb && horzThumb->FrameCount > 0 ? horzThumb->FrameCount : 3;
        DrawFrame(dc, *pic.thumb, thumb->Image, false, false, horzThumb && horzThumb->Trans == 1,
                  frames, pic.thumbFrame, thumb->margins());
    }
    if (pic.grip)
        DrawStripFrame(dc, *pic.grip, 23, pic.gripFrame, pictures->Image);
    dc.end();
    painter.drawImage(QPoint(0, 0), canvas);
    return true;
}

bool TWScrollbar::eventFilter(QObject* watched, QEvent* event) {
    QScrollBar* bar = CoveredHandle;
    if (watched != bar || !bar)
        return false;
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(bar);
        return Paint(painter);
    }
    case QEvent::MouseMove:
        if (!Pressed && !ListBar) {
            readBar();
            setHot(HitTest(static_cast<QMouseEvent*>(event)->position().toPoint()));
        }
        return false;
    case QEvent::Leave:
        if (!Pressed)
            setHot(scrollpart::None);
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || ListBar || !bar->isEnabled())
            return false;
        DownCursor = mouse->globalPosition().toPoint();
        readBar();
        DownThumbStart = ThumbStart;
        BarOrigin = bar->mapToGlobal(QPoint(0, 0));
        HotPart = HitTest(mouse->position().toPoint());
        Pressed = true;
        Invalidate();
        return false; // the bar itself scrolls, with its own repeat
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && Pressed) {
            Pressed = false;
            readBar();
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            HotPart = bar->rect().contains(at) ? HitTest(at) : scrollpart::None;
            Invalidate();
        }
        return false;
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide:
        Place();
        return false;
    case QEvent::Wheel:
        Invalidate();
        return false;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- TSkinScrollbar

TSkinScrollbar::~TSkinScrollbar() {
    freeBars();
}

void TSkinScrollbar::freeBars() {
    delete HorzBar.data();
    delete VertBar.data();
}

void TSkinScrollbar::releaseBars() {
    for (TWScrollbar* bar : {HorzBar.data(), VertBar.data()})
        if (bar)
            bar->Release();
    freeBars();
}

void TSkinScrollbar::Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                            QPaintDevice* formCanvas) {
    auto* area = qobject_cast<QAbstractScrollArea*>(parent());
    if (Attached || !area)
        return;
    TSkinControl::Attach(form, skinData, adoptColor, formCanvas);
    Framed = area->frameShape() != QFrame::NoFrame && Mode != 1;
    // The skin's border is two pixels wide: the control's frame makes room
    // for both rings while it is skinned.
    if (Framed) {
        mSavedFrameStyle = area->frameStyle();
        mSavedLineWidth = area->lineWidth();
        area->setFrameStyle(QFrame::Box | QFrame::Plain);
        area->setLineWidth(2);
    }
    // The grid's fixed cells (its headers) take the skin colour.
    if (auto* grid = qobject_cast<QTableView*>(area)) {
        QHeaderView* headers[2] = {grid->horizontalHeader(), grid->verticalHeader()};
        for (int i = 0; i < 2; ++i) {
            mHeaderPalettes[i].save(headers[i]);
            QPalette palette = headers[i]->palette();
            palette.setColor(QPalette::Button, SkinQColor(skinColour()));
            headers[i]->setPalette(palette);
        }
    }
    HorzBar = new TWScrollbar(area->horizontalScrollBar(), this, 0);
    VertBar = new TWScrollbar(area->verticalScrollBar(), this, 1);
    // A scroll area given a new bar deletes the old one: the control has
    // made a new window the skin does not draw on yet, and the form makes a
    // new object for it once this message has been handled.
    for (QScrollBar* bar : {area->horizontalScrollBar(), area->verticalScrollBar()})
        connect(bar, &QObject::destroyed, this, [this] {
            if (Active && Control && Form && Form->window())
                postMessage(Form->window(), SM_RESKIN, reinterpret_cast<qintptr>(Control.data()),
                            0);
        });
    area->update();
}

void TSkinScrollbar::Unskin() {
    if (auto* grid = qobject_cast<QTableView*>(Control.data()); grid && SkinState != 6) {
        mHeaderPalettes[0].giveBack(grid->horizontalHeader());
        mHeaderPalettes[1].giveBack(grid->verticalHeader());
    }
    if (auto* area = qobject_cast<QAbstractScrollArea*>(Control.data());
        area && Framed && SkinState != 6) {
        area->setFrameStyle(mSavedFrameStyle);
        area->setLineWidth(mSavedLineWidth);
    }
    TSkinControl::Unskin();
    if (SkinState != 6)
        releaseBars();
}

void TSkinScrollbar::AfterMessage(Message& message) {
    switch (message.msg) {
    case wm::Paint:
        if (Control) {
            QPainter dc(Control);
            PaintSkin(dc, Control->rect());
        }
        break;
    case wm::Size:
        for (TWScrollbar* bar : {HorzBar.data(), VertBar.data()})
            if (bar)
                bar->Place();
        break;
    case wm::MouseWheel:
        for (TWScrollbar* bar : {HorzBar.data(), VertBar.data()})
            if (bar && bar->Shown)
                bar->Invalidate();
        break;
    default:
        TSkinControl::AfterMessage(message);
    }
}

void TSkinScrollbar::PaintSkin(QPainter& dc, const QRect& rect) {
    if (Framed) {
        PaintBorder(dc, rect);
    }
    if (HorzBar && VertBar && HorzBar->Shown && VertBar->Shown) {
        HorzBar->Place();
        VertBar->Place();
        const QRect corner(VertBar->ClientBarRect.left(), HorzBar->ClientBarRect.top(),
                           VertBar->ClientBarRect.width(), HorzBar->ClientBarRect.height());
        FillSkinColor(dc, corner);
    }
}

void TSkinScrollbar::PaintBorder(QPainter& dc, const QRect& rect) {
    if (!SkinData || rect.width() < 2 || rect.height() < 2)
        return;
    dc.setPen(SkinQColor(ColorToRGB(SkinData->colour(colour::ButtonShadow))));
    dc.setBrush(Qt::NoBrush);
    dc.drawRect(rect.adjusted(0, 0, -1, -1));
    dc.setPen(SkinQColor(skinColour()));
    dc.drawRect(rect.adjusted(1, 1, -2, -2));
}

// ---------------------------------------------------------------- TComboxScrollBar

TComboxScrollBar::TComboxScrollBar(QComboBox* combo, TSkinControl* owner) : QObject(combo) {
    QAbstractItemView* list = combo ? combo->view() : nullptr;
    if (!list)
        return;
    // A drop-down list shows its bar, as lists do, rather than the scroll
    // arrows some styles give a combo box's list.
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Bar = new TWScrollbar(list->verticalScrollBar(), owner, 1);
    Bar->ListBar = true;
}

TComboxScrollBar::~TComboxScrollBar() {
    delete Bar.data();
}

void TComboxScrollBar::Unskin() {
    if (Bar)
        Bar->Release();
}

TComboxScrollBar* TComboxScrollBar::AttachListBar(QComboBox* combo, TSkinControl* owner) {
    if (!combo || !owner)
        return nullptr;
    return new TComboxScrollBar(combo, owner);
}

SkinKindFactories scrollBarKinds() {
    return {{SkinKind::SkinScrollbar,
             [](QWidget* control, QObject* owner, const ControlDecision& d) -> TSkinControl* {
                 if (!qobject_cast<QAbstractScrollArea*>(control))
                     return nullptr;
                 auto* object = new TSkinScrollbar(owner);
                 object->Mode = d.mode;
                 return object;
             }}};
}

} // namespace skin
