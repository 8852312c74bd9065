#pragma once

#include "skin/engine/controls/skin_control.h"
#include "skin/engine/controls/skin_style.h"
#include "skin/engine/manager/control_traversal.h"

class QStatusBar;

// The skin kinds of the surfaces around a window's controls: the status bar
// with its panels and size grip, the group box's rounded frame with the
// caption set in, and panels that take the skin colour.
namespace skin {

// Paints the whole status bar: every text panel (the bar's QLabel children)
// from StatusBarEdges by its bevel, the panel texts in their alignment, the
// size grip from ExtraImages. The panels' own painting is left out while the
// bar is skinned.
class TSkinStatusBar : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(Message& message) override;
    void PaintSkin(QPainter& dc, const QRect& rect) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStatusBar* bar() const;
    void drawPanelBackground(QPainter& dc, const QRect& rect, int bevel) const;
};

// A group box as a rounded frame in ButtonShadow with its caption on the
// skin colour, set into the frame's top line.
class TSkinGroupBox : public TSkinControl, public SkinStyleHooks {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

    // A checkable box's check box and caption text as last painted.
    QRect CheckRect;
    QRect TextRect;

    void Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                QPaintDevice* formCanvas) override;
    void Unskin() override;
    bool BeforeMessage(Message& message) override;
    void PaintSkin(QPainter& dc, const QRect& rect) override;

    // A checkable box's mouse hits its check box and caption where they are
    // drawn.
    std::optional<QRect> subControlRect(const QStyle& base, QStyle::ComplexControl control,
                                        const QStyleOptionComplex* option, QStyle::SubControl sub,
                                        const QWidget* widget) const override;
};

// A panel: while skinned it shows the skin colour (with the adopt-colour
// flag), and gives its own colour back when unskinned. It paints nothing.
class TSkinBox : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

    void AfterMessage(Message&) override {}
};

// The three kinds' factories.
SkinKindFactories barBoxKinds();

} // namespace skin
