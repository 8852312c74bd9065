#include "skin/engine/controls/bar_box_skins.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/controls/control_geometry.h"
#include "skin/engine/manager/control_traversal.h"

#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QSizeGrip>
#include <QStatusBar>

#include <algorithm>

namespace skin {

namespace {

// One-pixel lines along a rectangle's edges: top and left in one colour,
// bottom and right in the other.
void frame3D(QPainter& dc, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    dc.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    dc.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    dc.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    dc.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

int drawFlag(TextAlignment alignment) {
    return alignment == TextAlignment::Left    ? dt::Left
           : alignment == TextAlignment::Right ? dt::Right
                                               : dt::Center;
}

TextAlignment alignmentOf(Qt::Alignment a) {
    if (a & Qt::AlignRight)
        return TextAlignment::Right;
    if (a & Qt::AlignHCenter)
        return TextAlignment::Center;
    return TextAlignment::Left;
}

StatusBevel bevelOf(const QLabel* label) {
    if (label->frameShape() == QFrame::NoFrame || label->frameShadow() == QFrame::Plain)
        return NoBevel;
    return label->frameShadow() == QFrame::Raised ? Raised : Lowered;
}

// The text panels of a status bar: its visible labels, left to right.
std::vector<QLabel*> panelsOf(const QStatusBar* bar) {
    std::vector<QLabel*> panels;
    for (QObject* child : bar->children()) {
        auto* label = qobject_cast<QLabel*>(child);
        if (label && label->parentWidget() == bar && label->isVisibleTo(bar))
            panels.push_back(label);
    }
    std::stable_sort(panels.begin(), panels.end(),
                     [](const QLabel* a, const QLabel* b) { return a->x() < b->x(); });
    return panels;
}

// The one canvas every status bar is composed in.
QImage& statusCanvas(const QWidget* bar, QSize size) {
    static QImage canvas;
    if (canvas.isNull() || canvas.devicePixelRatio() != bar->devicePixelRatioF() ||
        canvas.deviceIndependentSize().toSize() != size)
        canvas = DeviceCanvas(bar, size);
    return canvas;
}

void plainStyle(QFont& font) {
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
}

} // namespace

// ---------------------------------------------------------------- status bar

QStatusBar* TSkinStatusBar::bar() const {
    return qobject_cast<QStatusBar*>(Handle.data());
}

bool TSkinStatusBar::BeforeMessage(Message& m) {
    if (m.msg == wm::Paint) {
        // The panels and the grip are drawn with the bar.
        if (QStatusBar* sb = bar()) {
            for (QObject* child : sb->children()) {
                if (qobject_cast<QLabel*>(child) || qobject_cast<QSizeGrip*>(child))
                    child->installEventFilter(this);
            }
        }
        HandlePaint(*this, m);
        return false;
    }
    if (m.msg == wm::EraseBkgnd) {
        answer(m, 1);
        return false;
    }
    return TSkinControl::BeforeMessage(m);
}

bool TSkinStatusBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Handle)
        return event->type() == QEvent::Paint && Active && SkinState == 1 &&
               watched->parent() == Handle;
    return TSkinControl::eventFilter(watched, event);
}

void TSkinStatusBar::drawPanelBackground(QPainter& dc, const QRect& rect, int bevel) const {
    const TDataSkinObject* edges = SkinData->element(SkinElement::StatusBarEdges);
    if (edges && !edges->Image.isNull()) {
        DrawFrame(dc, rect, edges->Image, false, edges->Tile != 0, false, 3, bevel,
                  edges->margins());
        return;
    }
    const QColor shadow = SkinQColor(SkinData->colour(colour::ButtonShadow));
    const QColor light =
        SkinQColor(static_cast<SkinColor>(0xFF000000u | syscolor::ButtonHighlight));
    if (bevel == Lowered)
        frame3D(dc, rect, shadow, light);
    else if (bevel == Raised)
        frame3D(dc, rect, light, shadow);
}

void TSkinStatusBar::PaintSkin(QPainter& dc, const QRect& rect) {
    QStatusBar* sb = bar();
    if (!sb || !SkinData || rect.isEmpty())
        return;
    const QSize size = rect.size();
    QImage& canvas = statusCanvas(sb, size);
    QPainter p(&canvas);
    FillSkinColor(p, QRect(QPoint(0, 0), size));
    QFont font = sb->font();
    plainStyle(font);
    p.setFont(font);
    const TDataSkinObject* edges = SkinData->element(SkinElement::StatusBarEdges);
    p.setPen(edges ? SkinQColor(edges->NormalColour2) : sb->palette().color(QPalette::WindowText));
    p.setBackgroundMode(Qt::TransparentMode);
    p.setBrush(Qt::NoBrush);

    auto drawText = [&](const QRect& area, TextAlignment alignment, QString text) {
        if (text.isEmpty())
            text = QStringLiteral(" ");
        const int flags = drawFlag(alignment) | dt::ExpandTabs;
        const QRect measured = MeasureText(p, text, area, flags | dt::CalcRect | dt::NoClip);
        DrawText(p, text, StatusTextRect(area, measured.size(), alignment),
                 TextFlags(*this, flags));
    };

    const std::vector<QLabel*> labels = panelsOf(sb);
    if (labels.empty()) {
        const StatusPanelPlace place =
            SimpleStatusPlace(size, sb->layoutDirection() == Qt::RightToLeft);
        drawPanelBackground(p, place.background, place.frame);
        drawText(*place.textArea, place.alignment, sb->currentMessage());
    } else {
        std::vector<StatusPanel> panels;
        for (const QLabel* label : labels) {
            StatusPanel panel;
            panel.rect = label->geometry();
            panel.alignment = alignmentOf(label->alignment());
            panel.rightToLeft = label->layoutDirection() == Qt::RightToLeft;
            panel.bevel = bevelOf(label);
            panels.push_back(panel);
        }
        for (const StatusPanelPlace& place : StatusPanelPlaces(size, panels)) {
            drawPanelBackground(p, place.background, place.frame);
            if (place.textArea)
                drawText(*place.textArea, place.alignment, labels[place.index]->text());
        }
    }

    const TDataSkinObject* extra = SkinData->element(SkinElement::ExtraImages);
    if (sb->isSizeGripEnabled() && extra && !extra->Image.isNull()) {
        const int count = std::max(extra->FrameCount, 1);
        const QSize cell(extra->Image.width() / count, extra->Image.height());
        DrawMasked(p, StatusGripRect(size, cell),
                   StretchFrame(cell, extra->Image, {}, false, false, count, 5));
    }
    p.end();
    dc.drawImage(rect.topLeft(), canvas);
}

// ---------------------------------------------------------------- group box

void TSkinGroupBox::Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                           QPaintDevice* formCanvas) {
    TSkinControl::Attach(form, skinData, adoptColor, formCanvas);
    if (Control)
        Mode = 1;
    if (auto* box = qobject_cast<QGroupBox*>(Control.data()); box && box->isCheckable()) {
        // Its hot picture follows the mouse.
        box->setAttribute(Qt::WA_Hover);
        setSkinStyle(box, this);
    }
}

void TSkinGroupBox::Unskin() {
    TSkinControl::Unskin();
    if (Control && SkinState != 6)
        releaseSkinStyle(Control, this);
}

std::optional<QRect> TSkinGroupBox::subControlRect(const QStyle&, QStyle::ComplexControl control,
                                                   const QStyleOptionComplex*,
                                                   QStyle::SubControl sub, const QWidget*) const {
    if (control != QStyle::CC_GroupBox || !Active || CheckRect.isEmpty())
        return std::nullopt;
    if (sub == QStyle::SC_GroupBoxCheckBox)
        return CheckRect;
    if (sub == QStyle::SC_GroupBoxLabel)
        return TextRect;
    return std::nullopt;
}

bool TSkinGroupBox::BeforeMessage(Message& m) {
    if (Mode == 1 && m.msg == wm::Paint) {
        HandlePaint(*this, m);
        return false;
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinGroupBox::PaintSkin(QPainter& dc, const QRect& rect) {
    QWidget* box = Handle;
    if (!box || !SkinData)
        return;
    Caption = ReadWindowText(box);
    if (Caption.isEmpty())
        Caption = PropWideText(Control, QStringLiteral("Caption"));
    if (Control)
        FillSkinColor(dc, rect);
    dc.save();
    dc.setFont(box->font());
    dc.setPen(box->palette().color(QPalette::WindowText));

    const bool rightToLeft = box->layoutDirection() == Qt::RightToLeft;
    const int flags = rightToLeft ? dt::Right | dt::ExpandTabs : dt::ExpandTabs;
    const QRect textBox = rightToLeft ? rect.adjusted(0, 0, -8, 0) : rect.adjusted(8, 0, 0, 0);
    const QRect measured =
        Caption.isEmpty() ? QRect()
                          : MeasureText(dc, Caption, textBox, flags | dt::CalcRect | dt::NoClip);
    const auto* checkable = qobject_cast<const QGroupBox*>(box);
    if (checkable && !checkable->isCheckable())
        checkable = nullptr;
    const TDataSkinButton* buttons = SkinData->buttons();
    const bool drawsCheck =
        checkable && buttons && !buttons->CheckImage.isNull() && buttons->CheckButtonFrame > 0;
    const QSize check = drawsCheck ? QSize(buttons->CheckImage.width() / buttons->CheckButtonFrame,
                                           buttons->CheckImage.height())
                                   : QSize();
    const GroupBoxPlace place = GroupBoxGeometry(rect.size(), dc.fontMetrics().height(),
                                                 measured.size(), rightToLeft, check);
    CheckRect = place.check;
    TextRect = place.text;

    const QColor face = SkinQColor(skinColour());
    if (Mode == 0) {
        frame3D(dc, place.cover, face, face);
        frame3D(dc, place.cover.adjusted(1, 1, -1, -1), face, face);
    }
    dc.setRenderHint(QPainter::Antialiasing, false);
    dc.setPen(QPen(SkinQColor(SkinData->colour(colour::ButtonShadow)), 1));
    dc.setBrush(Qt::NoBrush);
    dc.drawRoundedRect(QRectF(place.outline).adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
    if (!Caption.isEmpty() || drawsCheck) {
        dc.fillRect(place.caption, face);
        dc.setPen(box->palette().color(QPalette::WindowText));
        DrawText(dc, Caption, place.text, TextFlags(*this, flags & ~dt::Right));
    }
    if (drawsCheck) {
        const bool hot = box->underMouse() &&
                         (place.check | place.text).contains(box->mapFromGlobal(QCursor::pos()));
        const int frame = GroupCheckFrame(checkable->isChecked(), box->isEnabled(), hot,
                                          QGuiApplication::mouseButtons() & Qt::LeftButton);
        DrawFrameScaled(dc, place.check, buttons->CheckImage, true, buttons->CheckButtonFrame,
                        frame);
    }
    dc.restore();
}

// ---------------------------------------------------------------- registry

SkinKindFactories barBoxKinds() {
    return {{SkinKind::SkinStatusBar, skinKindOf<TSkinStatusBar>()},
            {SkinKind::SkinGroupBox, skinKindOf<TSkinGroupBox>()},
            {SkinKind::SkinBox, skinKindOf<TSkinBox>()}};
}

} // namespace skin
