#include "skin/engine/controls/edit_skins.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/controls/control_geometry.h"
#include "skin/engine/controls/skin_canvas.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/control_traversal.h"
#include "skin/engine/manager/window_info.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDateTimeEdit>
#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QToolButton>

namespace skin {

namespace {

constexpr int ButtonFrames = 4; // ComboButton, SunkEdge, the full combo picture
constexpr int UpDownFrames = 8; // UpDown.Vert, UpDown.Horz
constexpr int CbsDropDown = 2, CbsDropDownList = 3;

QPoint positionOf(const Message& m) {
    return QPoint(loWordSigned(m.lParam), hiWordSigned(m.lParam));
}

// The client area as the window system would give it: the control less its
// own border.
QSize clientSizeOf(const QWidget* w) {
    bool framed = true;
    if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        framed = edit->hasFrame();
    else if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(w))
        framed = spin->hasFrame();
    else if (const auto* combo = qobject_cast<const QComboBox*>(w))
        framed = combo->hasFrame();
    else if (const auto* frame = qobject_cast<const QFrame*>(w))
        return frame->contentsRect().size();
    return framed ? w->size() - QSize(4, 4) : w->size();
}

void frameRect(QPainter& dc, const QRect& r, const QColor& colour) {
    dc.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    dc.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    dc.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    dc.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}

QColor skinColourOf(const TSkinControl& object, int index) {
    return object.SkinData ? SkinQColor(object.SkinData->colour(index)) : QColor(Qt::gray);
}

bool buttonAtLeft(const QWidget* w) {
    return TSkinControl::WindowLong(w, GWL_EXSTYLE) & ws::ExLeftScrollBar;
}

// The date picker's arrow button for a picker of `size`.
QRect dateArrowOf(const QWidget* picker, QSize size, int arrowWidth) {
    const int border = (picker->width() - clientSizeOf(picker).width()) / 2;
    return DateArrowRect(size, border, arrowWidth, buttonAtLeft(picker));
}

} // namespace

void DrawFlatBorder(const TSkinControl& object, QPainter& dc, const QWidget* control,
                    int whiteFrames) {
    if (!control)
        return;
    const std::vector<QRect> frames =
        FlatBorderFrames(control->size(), clientSizeOf(control), whiteFrames);
    for (std::size_t i = 0; i < frames.size(); ++i)
        frameRect(dc, frames[i],
                  i == 0 ? skinColourOf(object, colour::ButtonShadow) : QColor(Qt::white));
}

// ---------------------------------------------------------------- edit

bool TSkinEdit::BeforeMessage(Message& m) {
    // Another painter asks for the border.
    if (m.msg == SM_PAINTFRAME && m.lParam == SKINFRAME_MAGIC) {
        if (auto* dc = reinterpret_cast<QPainter*>(m.wParam))
            DrawFlatBorder(*this, *dc, Handle, 2);
        answer(m, SKINFRAME_MAGIC);
        return false;
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinEdit::AfterMessage(Message& m) {
    if (UpDown && UpDown->TrackInEdit(m) && Handle)
        Handle->update();
    TSkinControl::AfterMessage(m);
}

void TSkinEdit::PaintSkin(QPainter& dc, const QRect&) {
    auto* spin = qobject_cast<QAbstractSpinBox*>(Handle.data());
    if (!UpDown && spin && spin->buttonSymbols() != QAbstractSpinBox::NoButtons && SkinData &&
        SkinData->SkinControls.contains(TSkinControlType::xcSpin)) {
        UpDown = new TSkinUpDown(this);
        UpDown->AttachInEdit(spin, SkinData, Form);
    }
    DrawFlatBorder(*this, dc, Handle, 2);
    if (UpDown && UpDown->Active)
        UpDown->PaintInEdit(dc);
}

// ---------------------------------------------------------------- up-down

void TSkinUpDown::AttachInEdit(QAbstractSpinBox* spin, TSkinData* skinData, TWinSkinForm* form) {
    SkinData = skinData;
    Form = form;
    InEdit = true;
    mSpin = spin;
    Enabled = true;
    if (form)
        form->addSkinObject(this);
    Attached = true;
    SkinState = 1;
}

QRect TSkinUpDown::AreaInEdit() const {
    if (!mSpin)
        return {};
    QStyleOptionSpinBox option;
    option.initFrom(mSpin);
    option.frame = mSpin->hasFrame();
    option.buttonSymbols = mSpin->buttonSymbols();
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame |
                         QStyle::SC_SpinBoxEditField;
    QStyle* style = mSpin->style();
    return style->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, mSpin) |
           style->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxDown, mSpin);
}

bool TSkinUpDown::TrackInEdit(const Message& m) {
    const quint8 before = MouseState;
    const bool inside = AreaInEdit().contains(positionOf(m));
    switch (m.msg) {
    case wm::LButtonDown:
    case wm::LButtonDblClk:
        if (inside)
            MouseState |= mousestate::Pressed;
        break;
    case wm::LButtonUp:
        MouseState &= ~mousestate::Pressed;
        break;
    case wm::MouseMove:
        if (inside && mSpin && mSpin->isEnabled())
            MouseState |= mousestate::Over;
        else
            MouseState &= ~mousestate::Over;
        break;
    case wm::MouseLeave:
    case cm::MouseLeave:
        MouseState = 0;
        break;
    case cm::MouseEnter:
        MouseState |= mousestate::Over;
        break;
    default:
        break;
    }
    return before != MouseState;
}

void TSkinUpDown::PaintInEdit(QPainter& dc) {
    if (!mSpin)
        return;
    const QRect area = AreaInEdit();
    if (area.isEmpty())
        return;
    dc.fillRect(area, Qt::white);
    const QRect draw = UpDownInEditRect(area, mSpin->size()).translated(area.topLeft());
    paintButtons(dc, draw, mSpin->mapFromGlobal(QCursor::pos()) - draw.topLeft(),
                 mSpin->isEnabled(), mSpin);
}

bool TSkinUpDown::BeforeMessage(Message& m) {
    switch (m.msg) {
    case wm::Paint:
        HandlePaint(*this, m);
        return false;
    case wm::EraseBkgnd:
        if (QPainter* dc = painterOf(m); dc && Handle && !Control)
            dc->fillRect(Handle->rect(), Qt::white);
        answer(m, 1);
        return false;
    case wm::LButtonDown:
    case wm::LButtonDblClk:
        CallOriginal(m);
        MouseState |= mousestate::Pressed;
        Redraw();
        return false;
    case wm::LButtonUp:
        MouseState &= ~mousestate::Pressed;
        CallOriginal(m);
        Redraw();
        return false;
    default:
        return TSkinControl::BeforeMessage(m);
    }
}

void TSkinUpDown::PaintSkin(QPainter& dc, const QRect& rect) {
    if (!Handle)
        return;
    const bool horizontal = Horizontal || (WindowLong(Handle, GWL_STYLE) & 0x40);
    Horizontal = horizontal;
    paintButtons(dc, rect, Handle->mapFromGlobal(QCursor::pos()) - rect.topLeft(),
                 Handle->isEnabled(), Handle);
}

void TSkinUpDown::paintButtons(QPainter& dc, const QRect& area, QPoint cursor, bool enabled,
                               const QWidget* widget) {
    if (area.isEmpty())
        return;
    QImage canvas = MakeCanvas(widget, area.size());
    QPainter p(&canvas);
    FillSkinColor(p, QRect(QPoint(0, 0), area.size()));
    const UpDownPlace place = UpDownGeometry(area.size(), Horizontal);
    for (int i = 0; i < 2; ++i) {
        const QRect button = i == 0 ? place.first : place.second;
        paintButton(p, button, i == 1, UpDownState(enabled, button.contains(cursor), MouseState));
    }
    p.end();
    dc.drawImage(area.topLeft(), canvas);
}

void TSkinUpDown::paintButton(QPainter& p, const QRect& button, bool second, int state) {
    const TDataSkinBorder* element =
        SkinData ? SkinData->borderElement(Horizontal ? SkinElement::UpDownHorz
                                                      : SkinElement::UpDownVert)
                 : nullptr;
    if (element && !element->Image.isNull()) {
        const int frame = UpDownFrame(second, state);
        DrawFrameScaled(p, button, element->Image, true, UpDownFrames, frame);
        if (!element->Image2.isNull()) {
            const QSize cell(element->Image2.width() / UpDownFrames, element->Image2.height());
            if (cell.width() <= button.width() && cell.height() <= button.height())
                DrawFrameCentered(p, button, element->Image2, true, UpDownFrames, frame);
            else
                DrawFrameScaled(p, button, element->Image2, true, UpDownFrames, frame);
        }
        return;
    }
    // No picture: a box and a small arrow pointing the button's way.
    const bool down = state == 2 || state == 4;
    p.setPen(skinColourOf(*this, colour::ButtonDkShadow));
    p.setBrush(down ? skinColourOf(*this, colour::ButtonShadow) : SkinQColor(skinColour()));
    p.drawRect(button.adjusted(0, 0, -1, -1));
    const QPoint c = button.center() - (Horizontal ? QPoint(0, 0) : QPoint(0, 2));
    for (int k = 0; k < 3; ++k) {
        const int len = k;
        if (Horizontal) {
            const int x = second ? c.x() + 1 - k : c.x() - 1 + k;
            p.drawLine(x, c.y() - len, x, c.y() + len);
        } else {
            const int y = second ? c.y() + 3 - k : c.y() + 1 + k;
            p.drawLine(c.x() - len, y, c.x() + len, y);
        }
    }
}

// ---------------------------------------------------------------- tab strip arrows

void TSkinUpDown::AttachArrows(const QList<QToolButton*>& arrows, TSkinData* skinData,
                               TWinSkinForm* form) {
    SkinData = skinData;
    Form = form;
    Enabled = true;
    mArrows.clear();
    for (QToolButton* arrow : arrows) {
        mArrows.append(arrow);
        // The hot picture follows the mouse.
        arrow->setAttribute(Qt::WA_Hover);
        arrow->update();
    }
    Horizontal = !arrows.isEmpty() && (arrows.front()->arrowType() == Qt::LeftArrow ||
                                       arrows.front()->arrowType() == Qt::RightArrow);
    if (form)
        form->addSkinObject(this);
    Attached = true;
    SkinState = 1;
}

bool TSkinUpDown::IsArrow(const QObject* object) const {
    for (const QPointer<QToolButton>& arrow : mArrows)
        if (arrow && arrow == object)
            return true;
    return false;
}

void TSkinUpDown::PaintArrow(QToolButton* arrow) {
    const QRect area = arrow->rect();
    QImage canvas = MakeCanvas(arrow, area.size());
    QPainter p(&canvas);
    FillSkinColor(p, area);
    const bool second = arrow->arrowType() == Qt::RightArrow || arrow->arrowType() == Qt::DownArrow;
    const int state = UpDownState(arrow->isEnabled(), true,
                                  (arrow->isDown() ? mousestate::Pressed : 0) |
                                      (arrow->underMouse() ? mousestate::Over : 0));
    paintButton(p, area, second, state);
    p.end();
    QPainter(arrow).drawImage(0, 0, canvas);
}

// ---------------------------------------------------------------- combo box

void TSkinComBox::readStyle() {
    const auto* combo = qobject_cast<const QComboBox*>(Handle.data());
    Style = combo && combo->isEditable() ? CbsDropDown : CbsDropDownList;
    ExStyle = Handle ? WindowLong(Handle, GWL_EXSTYLE) : 0;
}

std::optional<QRect> TSkinComBox::subControlRect(const QStyle&, QStyle::ComplexControl control,
                                                 const QStyleOptionComplex*, QStyle::SubControl sub,
                                                 const QWidget*) const {
    if (control != QStyle::CC_ComboBox || sub != QStyle::SC_ComboBoxArrow || !Active ||
        ButtonRect.isEmpty())
        return std::nullopt;
    return ButtonRect;
}

void TSkinComBox::takeParts() {
    auto* combo = qobject_cast<QComboBox*>(Handle.data());
    if (!combo)
        return;
    readStyle();
    setSkinStyle(combo, this);
    EditWindow = combo->lineEdit();
    ListWindow = combo->view();
    mPopup = combo->view() ? combo->view()->window() : nullptr;
    if (mPopup && mPopup != combo->window())
        mPopup->installEventFilter(this);
    // The hot button follows the mouse over the box.
    mTracking = combo->hasMouseTracking();
    combo->setMouseTracking(true);
}

void TSkinComBox::Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                         QPaintDevice* formCanvas) {
    const bool again = Attached;
    TSkinControl::Attach(form, skinData, adoptColor, formCanvas);
    if (again || !Control)
        return;
    takeParts();
    if (ListWindow && (Style == CbsDropDown || Style == CbsDropDownList))
        ListBar = TComboxScrollBar::AttachListBar(qobject_cast<QComboBox*>(Control.data()), this);
}

void TSkinComBox::AttachHandle(QWidget* handle, TSkinData* skinData, TWinSkinForm* form,
                               QPaintDevice* formCanvas) {
    TSkinControl::AttachHandle(handle, skinData, form, formCanvas);
    takeParts();
}

void TSkinComBox::Unskin() {
    TSkinControl::Unskin();
    if (Handle && SkinState != 6)
        releaseSkinStyle(Handle, this);
    if (mPopup)
        mPopup->removeEventFilter(this);
    if (Handle && SkinState != 6)
        Handle->setMouseTracking(mTracking);
    if (ListCover) {
        ListCover->Unskin();
        ListCover->deleteLater();
    }
    ListCover = nullptr;
    if (ListBar) {
        ListBar->Unskin();
        ListBar->deleteLater();
    }
    ListBar = nullptr;
}

bool TSkinComBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mPopup && mPopup &&
        (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        DroppedDown = event->type() == QEvent::Show;
        if (!DroppedDown)
            MouseState &= ~mousestate::Pressed;
        if (Active && Handle)
            Handle->update();
        return false;
    }
    return TSkinControl::eventFilter(watched, event);
}

void TSkinComBox::AfterMessage(Message& m) {
    switch (m.msg) {
    case wm::SetFocus:
    case wm::KillFocus:
        break;
    case wm::MouseMove: {
        const bool over = ButtonRect.contains(positionOf(m));
        const bool enabled = Handle && Handle->isEnabled();
        if (enabled && over && !(MouseState & mousestate::Over)) {
            MouseState |= mousestate::Over;
            Redraw();
        } else if (enabled && !over && (MouseState & mousestate::Over)) {
            MouseState &= ~mousestate::Over;
            Redraw();
        }
        break;
    }
    case wm::LButtonDown:
    case wm::LButtonDblClk:
        MouseState |= mousestate::Pressed;
        Redraw();
        break;
    case wm::LButtonUp:
        MouseState &= ~mousestate::Pressed;
        Redraw();
        break;
    case wm::MouseLeave:
    case cm::MouseLeave:
        if (MouseState & mousestate::Over) {
            MouseState &= ~mousestate::Over;
            Redraw();
        }
        break;
    default:
        TSkinControl::AfterMessage(m);
        break;
    }
}

void TSkinComBox::PaintSkin(QPainter& dc, const QRect& rect) {
    TDataSkinBorder* element =
        SkinData ? SkinData->borderElement(SkinElement::ComboButton) : nullptr;
    if (!element || element->Image.isNull() || !Handle)
        return;
    readStyle();
    const QRect r(QPoint(0, 0), rect.size());
    Focused = Handle->hasFocus();
    Enabled = Handle->isEnabled();
    const int pressed = DroppedDown ? mousestate::Pressed : 0;
    const bool left = ExStyle & ws::ExLeftScrollBar;
    const int arrow = TSkinData::scrollArrowWidth();
    const QSize cell(element->Image.width() / ButtonFrames, element->Image.height());
    const ComboPlace place =
        ComboGeometry(element->Style, r.size(), left, arrow, TSkinData::scrollArrowWidth(), cell);
    ButtonRect = place.button;
    const TDataSkinObject* sunk = SkinData->element(SkinElement::SunkEdge);

    if (element->Style == 1) {
        const int g = ComboPlainFrame(MouseState | pressed, Focused, Enabled);
        const QColor brush = Handle->palette().color(QPalette::Base);
        frameRect(dc, *place.innerFrame, brush);
        dc.fillRect(*place.buttonArea, brush);
        frameRect(dc, r, skinColourOf(*this, colour::ButtonShadow));
        DrawStripFrame(dc, place.button, ButtonFrames, g, element->Image);
        return;
    }
    const int g = ComboFrame(MouseState | pressed, Focused, Enabled);
    if (Extended) {
        DrawFlatBorder(*this, dc, Handle, 1);
        if (EditWindow && SkinData->comboxArrow()) {
            const QRect area = EditWindow->geometry();
            FillSkinColor(dc, area);
            const TDataSkinObject* a = SkinData->comboxArrow();
            DrawFrameScaled(dc, area, a->Image, true, std::max(a->FrameCount, 1), g);
        }
        return;
    }
    if (place.fullPicture) {
        const bool mirrored = place.mirrored && sunk;
        const TDataSkinObject& picture = mirrored ? *sunk : *element;
        // The picture's transparent pixels let the box's own painting
        // through; beside an edit part that is the box's native button, so
        // everything but the edit part is filled first. (The transparent
        // pixels reach into the picture's fixed right edge, a column beside
        // the button.)
        if (EditWindow && EditWindow->isVisible()) {
            const QRegion gap = QRegion(r).subtracted(QRegion(EditWindow->geometry()));
            for (const QRect& piece : gap)
                dc.fillRect(piece, EditWindow->palette().color(QPalette::Base));
        }
        DrawFrame(dc, r, picture.Image, false, false, true, ButtonFrames, g, picture.margins());
        return;
    }
    dc.save();
    if (place.textArea)
        dc.setClipRegion(QRegion(r).subtracted(QRegion(*place.textArea)));
    if (sunk && !sunk->Image.isNull())
        DrawElementFrame(dc, r, ButtonFrames, g, *sunk);
    DrawStripFrame(dc, place.button, ButtonFrames, g,
                   left && !element->Image2.isNull() ? element->Image2 : element->Image);
    const TDataSkinObject* extra = SkinData->element(SkinElement::ExtraImages);
    if (extra && !extra->Image.isNull() && place.arrowArea)
        DrawFrameCentered(dc, *place.arrowArea, extra->Image, true, std::max(extra->FrameCount, 5),
                          g);
    dc.restore();
}

// ---------------------------------------------------------------- date picker

TArrowButton::TArrowButton(TSkinDateTime* skin, QWidget* picker)
    : QWidget(picker), Skin(skin), Picker(picker), ArrowWidth(TSkinData::scrollArrowWidth()) {
    setObjectName(QStringLiteral("ArrowButton"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void TArrowButton::Place() {
    if (!Picker)
        return;
    setGeometry(dateArrowOf(Picker, Picker->size(), ArrowWidth));
}

void TArrowButton::paintEvent(QPaintEvent*) {
    if (!Skin || !Picker)
        return;
    QPainter p(this);
    Skin->FillSkinColor(p, rect());
    const TDataSkinObject* arrow = Skin->SkinData ? Skin->SkinData->comboxArrow() : nullptr;
    if (!arrow || arrow->Image.isNull())
        return;
    const QRect to(0, 0, width(), Picker->height() - 4);
    DrawFrameScaled(p, to, arrow->Image, true, std::max(arrow->FrameCount, 1), DateArrowFrame(Hot));
}

void TArrowButton::enterEvent(QEnterEvent*) {
    if (Picker && Picker->isEnabled()) {
        Hot = true;
        update();
    }
}

void TArrowButton::leaveEvent(QEvent*) {
    if (Picker && Picker->isEnabled()) {
        Hot = false;
        update();
    }
}

void TArrowButton::mousePressEvent(QMouseEvent* event) {
    if (!Picker || event->button() != Qt::LeftButton)
        return;
    // The picker's own button lies under this one: it opens the calendar.
    const QPointF at = event->position() + QPointF(pos());
    const QPointF global = Picker->mapToGlobal(at);
    QCoreApplication::postEvent(Picker,
                                new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(Picker,
                                new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    update();
}

void TArrowButton::mouseReleaseEvent(QMouseEvent*) {
    if (Picker)
        Picker->setFocus(Qt::MouseFocusReason);
}

TSkinDateTime::~TSkinDateTime() {
    delete ArrowButton.data();
}

std::optional<QRect> TSkinDateTime::subControlRect(const QStyle& base,
                                                   QStyle::ComplexControl control,
                                                   const QStyleOptionComplex* option,
                                                   QStyle::SubControl sub,
                                                   const QWidget* widget) const {
    if (control != QStyle::CC_ComboBox || !ArrowButton || ArrowButton->isHidden() || !Control)
        return std::nullopt;
    const QRect arrow = dateArrowOf(Control, option->rect.size(), ArrowButton->ArrowWidth)
                            .translated(option->rect.topLeft());
    switch (sub) {
    case QStyle::SC_ComboBoxArrow:
        return arrow;
    case QStyle::SC_ComboBoxEditField: {
        // Up to the arrow: what the style draws beside its button stays
        // under the text.
        QRect field = base.subControlRect(control, option, sub, widget);
        if (buttonAtLeft(Control))
            field.setLeft(arrow.right() + 1);
        else
            field.setRight(arrow.left() - 1);
        return field;
    }
    default:
        return std::nullopt;
    }
}

void TSkinDateTime::Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                           QPaintDevice* formCanvas) {
    const bool again = Attached;
    TSkinControl::Attach(form, skinData, adoptColor, formCanvas);
    if (again || !Control)
        return;
    ArrowButton = new TArrowButton(this, Control);
    ArrowButton->Place();
    setSkinStyle(Control, this);
    showArrow();
}

void TSkinDateTime::showArrow() {
    if (!ArrowButton)
        return;
    const bool shown = Active && SkinState == 1;
    if (ArrowButton->isVisibleTo(Control) != shown) {
        ArrowButton->setVisible(shown);
        if (shown)
            ArrowButton->raise();
        // The picker lays its text out again for its button.
        QEvent relayout(QEvent::StyleChange);
        QCoreApplication::sendEvent(Control, &relayout);
    }
}

void TSkinDateTime::Unskin() {
    TSkinControl::Unskin();
    if (ArrowButton && SkinState != 6)
        ArrowButton->hide();
    if (Control && SkinState != 6)
        releaseSkinStyle(Control, this);
}

bool TSkinDateTime::eventFilter(QObject* watched, QEvent* event) {
    const bool stop = TSkinControl::eventFilter(watched, event);
    // SM_SETACTIVE switches the arrow with the skin.
    if (isSkinMessage(event))
        showArrow();
    return stop;
}

void TSkinDateTime::AfterMessage(Message& m) {
    if (m.msg == wm::Size && ArrowButton) {
        ArrowButton->Place();
        ArrowButton->update();
    }
    TSkinControl::AfterMessage(m);
}

void TSkinDateTime::PaintSkin(QPainter& dc, const QRect&) {
    if (ArrowButton)
        ArrowButton->Place();
    DrawFlatBorder(*this, dc, Handle, 1);
}

// ---------------------------------------------------------------- registry

SkinKindFactories editKinds() {
    return {{SkinKind::SkinEdit, skinKindOf<TSkinEdit>()},
            {SkinKind::SkinUpDown, skinKindOf<TSkinUpDown>()},
            {SkinKind::SkinComBox,
             [](QWidget*, QObject* owner, const ControlDecision& d) -> TSkinControl* {
                 auto* combo = new TSkinComBox(owner);
                 combo->Extended = d.extended;
                 return combo;
             }},
            {SkinKind::SkinDateTime, skinKindOf<TSkinDateTime>()}};
}

} // namespace skin
