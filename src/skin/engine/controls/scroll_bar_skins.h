#pragma once

#include "skin/engine/controls/skin_control.h"
#include "skin/engine/controls/skin_style.h"
#include "skin/engine/manager/control_traversal.h"

#include <QPoint>
#include <QPointer>
#include <QRect>

class QAbstractScrollArea;
class QComboBox;
class QPainter;
class QScrollBar;

// Skinned scroll bars. Qt's scroll bars are widgets of their own, so each bar
// of a skinned scrolled control is painted from the skin by a TWScrollbar
// that sits on the bar as an event filter: the bar keeps all of its scrolling
// (arrows and page with their repeat, thumb drag, keys, wheel); the skin only
// shows what the bar is doing. A style set on the bar gives it the skin's
// thickness, so the scroll area lays itself out for it.
namespace skin {

class TSkinData;

// The skin picture of one bar, with the part under the mouse and the press.
class TWScrollbar : public QObject, public SkinStyleHooks {
    Q_OBJECT
public:
    // `owner` draws from its skin data and owns the object; kind 0 is the horizontal bar of a
    // window, 1 its vertical bar, 2 a stand-alone bar.
    TWScrollbar(QScrollBar* bar, TSkinControl* owner, int kind);
    ~TWScrollbar() override;

    // ---- fields
    int TrackLength = 0;
    int ThumbStart = 0;
    int ThumbEnd = 0;
    QPoint BarOrigin;
    QPoint DownCursor;
    int DownThumbStart = 0;
    bool Pressed = false;
    int Orientation = 0; // 0 horizontal, 1 vertical
    int HotPart = -1;
    int ArrowSize = 17;
    QPointer<QScrollBar> CoveredHandle;
    QPointer<QWidget> CoveredControl;
    QPointer<TSkinControl> Owner;
    quint8 BarKind = 0;
    QRect ClientBarRect; // the bar in the covered control's coordinates
    bool Shown = false;
    // A drop-down list's bar: no mouse-over or pressed part, the thumb
    // always where the bar has it.
    bool ListBar = false;

    void Place();
    void HideBar();
    int HitTest(QPoint point) const;
    void Invalidate();
    // Paints the bar's picture; false when the skin has no Scrollbar picture
    // (the bar then paints itself).
    bool Paint(QPainter& painter);
    // The thickness the skin gives the bar.
    int Thickness() const;
    // Gives the bar back its own look (the destructor leaves the bar alone,
    // which may be going with its control).
    void Release();

    static TWScrollbar* of(const QWidget* bar);

    // The bar measures and hit-tests as the skin draws it.
    std::optional<int> pixelMetric(QStyle::PixelMetric metric) const override;
    std::optional<QRect> subControlRect(const QStyle& base, QStyle::ComplexControl control,
                                        const QStyleOptionComplex* option, QStyle::SubControl sub,
                                        const QWidget* widget) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TSkinData* skinData() const;
    void forget();
    void readBar();

    const QWidget* mKey = nullptr; // the bar under the skin style
    void setHot(int part);
};

// The scroll-bar kind of the scrolled controls (grids, memos, lists): both
// bars skinned, the border of a framed control and the square where the
// bars meet in the skin's colours.
class TSkinScrollbar : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;
    ~TSkinScrollbar() override;

    QPointer<TWScrollbar> HorzBar;
    QPointer<TWScrollbar> VertBar;
    bool Framed = false;

    // Attach of a scrolled control.
    void Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                QPaintDevice* formCanvas) override;
    void Unskin() override;
    void AfterMessage(Message& message) override;
    void PaintSkin(QPainter& dc, const QRect& rect) override;
    void PaintBorder(QPainter& dc, const QRect& rect);

private:
    void freeBars();
    void releaseBars();
    int mSavedFrameStyle = 0;
    int mSavedLineWidth = 1;
    SavedPalette mHeaderPalettes[2]; // a grid's fixed cells, before the skin colour
};

// The vertical bar of a combo box's drop-down list, drawn from the skin in
// its normal frames; the list's own bar does the scrolling and the thumb drag.
class TComboxScrollBar : public QObject {
    Q_OBJECT
public:
    TComboxScrollBar(QComboBox* combo, TSkinControl* owner);
    ~TComboxScrollBar() override;
    QPointer<TWScrollbar> Bar;

    // The hook the combo-box kind calls when it skins a combo box: the list's
    // bar wears the skin until the object goes.
    static TComboxScrollBar* AttachListBar(QComboBox* combo, TSkinControl* owner);
    // Gives the list's bar back its own look; the combo-box kind calls it
    // from its Unskin.
    void Unskin();
};

// The scroll-bar kind's factory.
SkinKindFactories scrollBarKinds();

} // namespace skin
